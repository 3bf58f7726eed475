#include "engine/fatal_fault.h"

#include <cstdlib>

namespace {
FatalFaultHandler installedHandler = nullptr;
}

void setFatalFaultHandler(FatalFaultHandler handler) { installedHandler = handler; }

void fatalFault(const char* what) {
  if (installedHandler != nullptr) installedHandler(what);
  // The handler ends the process; without one there is nobody to tell.
  std::abort();
}
