// Timer controls run as window timers of their window, one id per control.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "services/win32/live_windows.h"

// Timer id 0 means "no timer" to the platform, so ids start at 1.
constexpr UINT_PTR timerIdOf(std::size_t controlIndex) { return controlIndex + 1; }
constexpr std::size_t controlIndexOfTimer(UINT_PTR timerId) {
  return static_cast<std::size_t>(timerId) - 1;
}
static_assert(controlIndexOfTimer(timerIdOf(0)) == 0 && controlIndexOfTimer(timerIdOf(18)) == 18,
              "a timer id leads back to its control");

// Gives the timer control at index a new period; 0 or less stops it.
void writePeriod(LiveWindow& window, std::size_t index, std::int32_t period);
// The timers whose period in the data is above 0 run from the window's creation.
void startTimers(LiveWindow& window);
void stopTimers(LiveWindow& window);
