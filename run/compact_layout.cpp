#include "run/compact_layout.h"

#include <cstdint>

#include "services/window_service.h"

namespace {

constexpr int kAnimationSteps = 30;

// Adds delta to whatever the property holds now, so the two directions undo
// each other on any geometry.
void shift(ControlId control, Property property, std::int32_t delta) {
  const std::int32_t value = getProperty(WindowId::MainWindow, control, property);
  setProperty(WindowId::MainWindow, control, property, value + delta);
}

// One animation frame; sign +1 shrinks the window, -1 grows it back.
void layoutFrame(std::int32_t sign) {
  shift(ControlId::self, Property::height, -4 * sign);
  shift(ControlId::stopButton, Property::top, -3 * sign);
  shift(ControlId::stopButton, Property::left, -8 * sign);
  shift(ControlId::stopButton, Property::width, 8 * sign);
  shift(ControlId::stopButton, Property::height, 2 * sign);
}

void lastFrame(std::int32_t sign) {
  shift(ControlId::self, Property::height, -15 * sign);
  shift(ControlId::stopButton, Property::top, -15 * sign);
  shift(ControlId::stopButton, Property::width, 8 * sign);
  shift(ControlId::stopButton, Property::height, 3 * sign);
}

}  // namespace

void compactRunLayout() {
  for (int i = 0; i < kAnimationSteps; ++i) layoutFrame(1);
  lastFrame(1);
  // In front of every other control, so a click anywhere in the bar stops.
  setZOrder(WindowId::MainWindow, ControlId::stopButton, kZTop);
}

void restoreLayout() {
  for (int i = 0; i < kAnimationSteps; ++i) layoutFrame(-1);
  lastFrame(-1);
  // Back under the start button, where it can be neither seen nor clicked.
  setZOrder(WindowId::MainWindow, ControlId::stopButton, kZBottom);
}
