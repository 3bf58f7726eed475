#include "services/win32/live_windows.h"

#include <cstddef>

#include "engine/fatal_fault.h"

std::array<std::unique_ptr<LiveWindow>, kWindowCount> liveWindows;

LiveWindow* liveWindow(WindowId window) {
  const auto index = static_cast<std::size_t>(window);
  return index < liveWindows.size() ? liveWindows[index].get() : nullptr;
}

LiveWindow* liveWindowOfHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  for (auto& window : liveWindows) {
    if (window && window->handle == handle) return window.get();
  }
  return nullptr;
}

LiveControl* liveControl(LiveWindow& window, ControlId control) {
  for (LiveControl& live : window.controls) {
    if (live.definition->role == control) return &live;
  }
  return nullptr;
}

LiveControl* controlByHandle(LiveWindow& window, HWND handle) {
  if (handle == nullptr) return nullptr;
  for (LiveControl& control : window.controls) {
    if (control.handle == handle) return &control;
  }
  return nullptr;
}

LiveWindow& requireLive(WindowId window) {
  LiveWindow* live = liveWindow(window);
  if (live == nullptr) fatalFault("a property was addressed to a window that is not loaded");
  return *live;
}

HWND requireHandle(LiveWindow& window, ControlId control, LiveControl** live) {
  if (control == ControlId::self) return window.handle;
  LiveControl* found = liveControl(window, control);
  if (found == nullptr) fatalFault("a property was addressed to a control the window does not have");
  if (live != nullptr) *live = found;
  return found->handle;
}
