// Timer controls run as window timers of their window, one id per control.
#pragma once

#include <cstddef>
#include <cstdint>

#include "services/win32/window_records.h"

// Gives the timer control at index a new period; 0 or less stops it.
void writePeriod(LoadedWindow& window, std::size_t index, std::int32_t period);
void stopTimers(LoadedWindow& window);
