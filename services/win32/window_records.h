// What the Win32 services keep per loaded window, shared by the service
// routines and the routine that builds windows from their definitions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "services/window_definition.h"

struct LiveControl {
  const ControlDefinition* definition = nullptr;
  HWND handle = nullptr;  // none for timers
  std::int32_t period = 0;
  bool timerRunning = false;
};

struct LoadedWindow {
  WindowId id = WindowId::MainWindow;
  std::uint32_t generation = 0;  // tells one showing of a window from the next
  const WindowDefinition* definition = nullptr;
  HWND handle = nullptr;
  std::vector<LiveControl> controls;  // in definition order
  bool building = true;
  bool modal = false;
  std::vector<std::pair<HWND, bool>> disabledWindows;  // with their enabled state before
  bool closePending = false;
  bool alwaysOnTop = false;
  HWND lastFocus = nullptr;
};

// Window classes of the services, registered by registerWindowClasses.
extern const wchar_t kTopLevelClass[];

void registerWindowClasses(WNDPROC topLevelProcedure);
// Creates the window and its controls hidden, stacked in table order, then
// shows the controls. On failure everything created is destroyed again.
bool buildWindow(LoadedWindow& window, HWND owner);
void releaseBuildResources();

LiveControl* controlByHandle(LoadedWindow& window, HWND handle);
bool isTabStop(ControlKind kind);
bool showsHandPointer(ControlKind kind);
// Answers a WM_CTLCOLOR* message for one of the window's controls.
bool controlColours(LoadedWindow& window, UINT message, HDC dc, HWND control, LRESULT& brush);
HCURSOR handPointer();
UINT_PTR timerIdOf(std::size_t controlIndex);
