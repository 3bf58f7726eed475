#include "services/win32/timers.h"

#include <algorithm>

void writePeriod(LiveWindow& window, std::size_t index, std::int32_t period) {
  LiveControl& timer = window.controls[index];
  period = std::max(period, 0);
  if (period == timer.period) return;  // a running timer is not restarted
  timer.period = period;
  if (timer.timerRunning) {
    KillTimer(window.handle, timerIdOf(index));
    timer.timerRunning = false;
  }
  if (period > 0 && SetTimer(window.handle, timerIdOf(index), static_cast<UINT>(period), nullptr)) {
    timer.timerRunning = true;
  }
}

void startTimers(LiveWindow& window) {
  for (std::size_t index = 0; index < window.controls.size(); ++index) {
    const ControlDefinition& control = *window.controls[index].definition;
    if (control.kind == ControlKind::timer && control.period > 0) {
      writePeriod(window, index, control.period);
    }
  }
}

void stopTimers(LiveWindow& window) {
  for (std::size_t index = 0; index < window.controls.size(); ++index) {
    if (window.controls[index].timerRunning) {
      KillTimer(window.handle, timerIdOf(index));
      window.controls[index].timerRunning = false;
    }
  }
}
