#include "engine/platform_port.h"

#include "engine/fatal_fault.h"

namespace {
PlatformPort* installedPort = nullptr;
}

void installPlatformPort(PlatformPort* port) { installedPort = port; }

PlatformPort& platformPort() {
  if (installedPort == nullptr) fatalFault("no platform port installed");
  return *installedPort;
}
