#include "services/service_backend.h"

#include "engine/fatal_fault.h"

namespace {
ServiceBackend* installedBackend = nullptr;
}  // namespace

void installServiceBackend(ServiceBackend* backend) { installedBackend = backend; }

ServiceBackend& serviceBackend() {
  if (installedBackend == nullptr) fatalFault("The window services were used before they were set up.");
  return *installedBackend;
}
