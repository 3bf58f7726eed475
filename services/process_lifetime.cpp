#include "services/process_lifetime.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

#include "engine/fatal_fault.h"
#include "services/service_backend.h"
#include "services/window_lifecycle.h"

namespace {

std::vector<CleanupRoutine>& cleanupRoutines() {
  static std::vector<CleanupRoutine> routines;
  return routines;
}

// Shared by nested exitProcess calls, so a clean-up routine that ends the
// process itself neither repeats the routines before it nor skips those after.
bool exitBegun = false;
std::size_t nextCleanup = 0;

bool reportingFault = false;

void endAfterFatalFault(const char* what) {
  // A fault while the first one is being reported (the backend itself may be
  // what is broken): leave the ending to fatalFault's own fallback.
  if (reportingFault) return;
  struct Reporting {
    Reporting() { reportingFault = true; }
    ~Reporting() { reportingFault = false; }
  } reporting;
  // The state the routines would release may be what failed: drop them unrun.
  cleanupRoutines().clear();
  nextCleanup = 0;
  // Nothing of the program runs while the box is up.
  holdEventsForGood();
  ServiceBackend& backend = serviceBackend();
  backend.reportFatalFault(what != nullptr ? what : "");
  backend.endProcess(-1);
}

}  // namespace

void initServices() {
  // First: preparing the backend may itself fail, and that must be reported too.
  setFatalFaultHandler(endAfterFatalFault);
  serviceBackend().initServices();
}

void registerCleanup(CleanupRoutine routine) {
  if (routine == nullptr) return;
  std::vector<CleanupRoutine>& routines = cleanupRoutines();
  for (CleanupRoutine registered : routines) {
    if (registered == routine) return;
  }
  routines.push_back(routine);
}

void exitProcess(std::int32_t code) {
  ServiceBackend& backend = serviceBackend();
  // A handler that runs under the fatal error box cannot turn the fault into
  // an ordinary ending; the routines are gone already.
  if (reportingFault) code = -1;
  holdEventsForGood();
  if (!exitBegun) {
    exitBegun = true;
    backend.beginExit();
  }
  std::vector<CleanupRoutine>& routines = cleanupRoutines();
  while (nextCleanup < routines.size()) {
    CleanupRoutine routine = routines[nextCleanup++];
    routine();
  }
  backend.endProcess(code);
  std::abort();  // not reached: endProcess does not return
}
