#include "services/window_service.h"

#include <algorithm>

#include "engine/fatal_fault.h"
#include "services/service_backend.h"

namespace {
ServiceBackend* installedBackend = nullptr;
}  // namespace

void installServiceBackend(ServiceBackend* backend) { installedBackend = backend; }

ServiceBackend& serviceBackend() {
  if (installedBackend == nullptr) fatalFault("The window services were used before they were set up.");
  return *installedBackend;
}

void loadFirstWindow(WindowId window) { serviceBackend().loadFirstWindow(window); }

void runMessageLoop() { serviceBackend().runMessageLoop(); }

bool loadWindow(WindowId window, bool modal) { return serviceBackend().loadWindow(window, modal); }

void closeWindow(WindowId window) { serviceBackend().closeWindow(window); }

std::int32_t getProperty(WindowId window, ControlId control, Property property) {
  return serviceBackend().getProperty(window, control, property);
}

std::string getTextProperty(WindowId window, ControlId control, Property property) {
  return serviceBackend().getTextProperty(window, control, property);
}

void setProperty(WindowId window, ControlId control, Property property, std::int32_t value) {
  serviceBackend().setProperty(window, control, property, value);
}

void setProperty(WindowId window, ControlId control, Property property, std::string_view text) {
  serviceBackend().setTextProperty(window, control, property, text);
}

void setZOrder(WindowId window, ControlId control, std::int32_t position) {
  // Out-of-range positions count as the nearest one; backends see only 1..4.
  serviceBackend().setZOrder(window, control, std::clamp(position, kZTop, kZNotTopmost));
}
