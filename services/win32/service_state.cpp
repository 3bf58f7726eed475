// The loaded windows and the lookups over them.
#include "services/win32/service_state.h"

#include <algorithm>
#include <cstddef>

#include "engine/fatal_fault.h"

Services services;

namespace {

bool eventsHeld() { return services.holdCount > 0 || services.exiting; }

}  // namespace

int indexOf(WindowId window) { return static_cast<int>(window); }

LoadedWindow* loadedWindow(WindowId window) {
  const int index = indexOf(window);
  if (index < 0 || index >= kWindowCount) return nullptr;
  return services.loaded[static_cast<std::size_t>(index)].get();
}

LoadedWindow* sameShowing(WindowId window, std::uint32_t generation) {
  LoadedWindow* record = loadedWindow(window);
  return record != nullptr && record->generation == generation ? record : nullptr;
}

LoadedWindow* windowOfHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  for (auto& record : services.loaded) {
    if (record && record->handle == handle) return record.get();
  }
  return nullptr;
}

bool anyWindowLoaded() {
  return std::any_of(services.loaded.begin(), services.loaded.end(),
                     [](const auto& record) { return record != nullptr; });
}

void raiseEvent(WindowId window, ControlId control, Event event) {
  if (eventsHeld()) return;
  if (EventHandler handler = findHandler(services.lookup(window), control, event)) handler();
}

void raiseKeyPressed(WindowId window, ControlId control, std::int32_t keyCode,
                     std::int32_t shiftState) {
  if (eventsHeld()) return;
  if (KeyHandler handler = findKeyHandler(services.lookup(window), control)) {
    handler(keyCode, shiftState);
  }
}

LoadedWindow& requireLoaded(WindowId window) {
  LoadedWindow* record = loadedWindow(window);
  if (record == nullptr) fatalFault("a property was addressed to a window that is not loaded");
  return *record;
}

LiveControl* liveControl(LoadedWindow& window, ControlId control) {
  for (LiveControl& live : window.controls) {
    if (live.definition->role == control) return &live;
  }
  return nullptr;
}

HWND requireHandle(LoadedWindow& window, ControlId control, LiveControl** live) {
  if (control == ControlId::self) return window.handle;
  LiveControl* found = liveControl(window, control);
  if (found == nullptr) fatalFault("a property was addressed to a control the window does not have");
  if (live != nullptr) *live = found;
  return found->handle;
}
