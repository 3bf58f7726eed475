#include "services/window_service.h"

#include <algorithm>

#include "engine/fatal_fault.h"
#include "services/service_backend.h"
#include "services/window_lifecycle.h"

namespace {

ServiceBackend& backendOfLoaded(WindowId window) {
  if (!isWindowLoaded(window)) fatalFault("a property was addressed to a window that is not loaded");
  return serviceBackend();
}

}  // namespace

std::int32_t getProperty(WindowId window, ControlId control, Property property) {
  return backendOfLoaded(window).getProperty(window, control, property);
}

std::string getTextProperty(WindowId window, ControlId control, Property property) {
  return backendOfLoaded(window).getTextProperty(window, control, property);
}

void setProperty(WindowId window, ControlId control, Property property, std::int32_t value) {
  backendOfLoaded(window).setProperty(window, control, property, value);
}

void setProperty(WindowId window, ControlId control, Property property, std::string_view text) {
  backendOfLoaded(window).setTextProperty(window, control, property, text);
}

void setZOrder(WindowId window, ControlId control, std::int32_t position) {
  // Out-of-range positions count as the nearest one.
  const std::int32_t clamped = std::clamp(position, kZTop, kZNotTopmost);
  backendOfLoaded(window).setZOrder(window, control, static_cast<ZOrder>(clamped - kZTop));
}
static_assert(static_cast<int>(ZOrder::top) == kZTop - kZTop &&
                  static_cast<int>(ZOrder::bottom) == kZBottom - kZTop &&
                  static_cast<int>(ZOrder::topmost) == kZTopmost - kZTop &&
                  static_cast<int>(ZOrder::notTopmost) == kZNotTopmost - kZTop,
              "ZOrder follows the positions 1..4");

void setEnabled(WindowId window, ControlId control, bool enabled) {
  setProperty(window, control, Property::disabled, enabled ? 0 : 1);
}

void setChecked(WindowId window, ControlId control, bool checked) {
  setProperty(window, control, Property::checked, checked ? 1 : 0);
}

bool isChecked(WindowId window, ControlId control) {
  return getProperty(window, control, Property::checked) != 0;
}

void setAlwaysOnTop(WindowId window, bool on) {
  setProperty(window, ControlId::self, Property::alwaysOnTop, on ? 1 : 0);
}
