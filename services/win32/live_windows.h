// The Win32 side of the windows that exist now: their handles and their
// controls' handles, by window id and by handle.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "services/window_definition.h"

struct LiveControl {
  const ControlDefinition* definition = nullptr;
  HWND handle = nullptr;  // none for timers
  std::int32_t period = 0;
  bool timerRunning = false;
};

struct LiveWindow {
  WindowId id = WindowId::MainWindow;
  const WindowDefinition* definition = nullptr;
  HWND handle = nullptr;
  std::vector<LiveControl> controls;  // in definition order
  bool alwaysOnTop = false;
  HWND lastFocus = nullptr;
  HACCEL accelerators = nullptr;  // the Ctrl+key of its commands; destroyed with it
};

// Indexed by WindowId; a window's entry exists from just before it is created
// until its destruction is complete.
extern std::array<std::unique_ptr<LiveWindow>, kWindowCount> liveWindows;

LiveWindow* liveWindow(WindowId window);
LiveWindow* liveWindowOfHandle(HWND handle);
LiveControl* liveControl(LiveWindow& window, ControlId control);
LiveControl* controlByHandle(LiveWindow& window, HWND handle);

// The service layer has checked that the window is loaded; a window without
// its entry, or a role the window does not have, is a fault of the program.
LiveWindow& requireLive(WindowId window);
HWND requireHandle(LiveWindow& window, ControlId control, LiveControl** live = nullptr);
