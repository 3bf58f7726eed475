// Building and showing windows, modal loops, and closing and unloading.
#include "services/win32/window_loading.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "services/win32/service_state.h"
#include "services/win32/timers.h"

namespace {

void runModalLoop(WindowId window, std::uint32_t generation) {
  for (;;) {
    if (sameShowing(window, generation) == nullptr || services.currentModal.index < 0) return;
    // A quit request stays in the queue for the loop further out.
    if (platformPort().peekNextMessage() == NextMessage::quit) return;
    if (!pumpOneMessage()) {
      PostQuitMessage(0);
      return;
    }
  }
}

// True when the window is up already: a minimised one is restored, any other
// activated. One with a close pending is closed first, so it can load afresh.
bool bringForward(WindowId window) {
  LoadedWindow* record = loadedWindow(window);
  if (record == nullptr) return false;
  if (!record->closePending) {
    if (IsIconic(record->handle)) {
      ShowWindow(record->handle, SW_RESTORE);
    } else {
      SetActiveWindow(record->handle);
    }
    return true;
  }
  destroyNow(window);
  return loadedWindow(window) != nullptr;
}

void startTimers(LoadedWindow& window) {
  for (std::size_t index = 0; index < window.controls.size(); ++index) {
    const ControlDefinition& control = *window.controls[index].definition;
    if (control.kind == ControlKind::timer && control.period > 0) {
      writePeriod(window, index, control.period);
    }
  }
}

void runModal(WindowId window, std::uint32_t generation) {
  LoadedWindow* shown = sameShowing(window, generation);
  if (shown == nullptr) return;
  for (auto& other : services.loaded) {
    if (!other || other.get() == shown) continue;
    shown->disabledWindows.emplace_back(other->handle, IsWindowEnabled(other->handle) != FALSE);
    EnableWindow(other->handle, FALSE);
  }
  shown->modal = true;
  const ModalWindow previous = services.currentModal;
  services.currentModal = ModalWindow{indexOf(window), generation};
  runModalLoop(window, generation);
  services.currentModal = previous;
}

}  // namespace

bool loadWindowNow(WindowId window, bool modal) {
  if (bringForward(window)) return true;

  pumpPendingMessages();
  ++services.holdCount;
  const WindowDefinition& definition = services.lookup(window);
  auto record = std::make_unique<LoadedWindow>();
  record->id = window;
  record->generation = ++services.nextGeneration;
  record->definition = &definition;
  record->alwaysOnTop = definition.alwaysOnTop;
  const std::uint32_t generation = record->generation;
  LoadedWindow* building = record.get();
  services.loaded[static_cast<std::size_t>(indexOf(window))] = std::move(record);

  HWND owner = modal || !definition.taskbarButton ? services.owner : nullptr;
  if (!buildWindow(*building, owner)) {
    if (sameShowing(window, generation) != nullptr) {
      services.loaded[static_cast<std::size_t>(indexOf(window))].reset();
    }
    --services.holdCount;
    return false;
  }
  startTimers(*building);
  // Events these messages would raise are dropped: the window is still being built.
  pumpPendingMessages();
  --services.holdCount;
  if (LoadedWindow* built = sameShowing(window, generation)) built->building = false;

  raiseEvent(window, ControlId::self, Event::created);
  LoadedWindow* shown = sameShowing(window, generation);
  if (shown == nullptr) return true;
  ShowWindow(shown->handle, SW_SHOW);

  if (modal) runModal(window, generation);
  return true;
}

void requestClose(WindowId window) {
  LoadedWindow* record = loadedWindow(window);
  if (record == nullptr) return;
  record->closePending = true;
  PostMessageW(record->handle, kCloseMessage, 0, 0);
}

void destroyNow(WindowId window) {
  LoadedWindow* record = loadedWindow(window);
  if (record == nullptr) return;
  record->closePending = false;
  if (record->modal) {
    // Give the disabled windows back first, so activation passes to one that takes input.
    auto disabled = std::move(record->disabledWindows);
    record->disabledWindows.clear();
    record->modal = false;
    for (const auto& [handle, wasEnabled] : disabled) {
      if (IsWindow(handle)) EnableWindow(handle, wasEnabled ? TRUE : FALSE);
    }
  }
  DestroyWindow(record->handle);
}

void unloadWindow(HWND handle) {
  for (std::size_t index = 0; index < services.loaded.size(); ++index) {
    auto& record = services.loaded[index];
    if (!record || record->handle != handle) continue;
    const bool wasShown = !record->building;
    if (services.currentModal.index == static_cast<int>(index) &&
        services.currentModal.generation == record->generation) {
      services.currentModal = ModalWindow{};
    }
    record.reset();
    if (wasShown && services.loopEntered && !anyWindowLoaded()) PostQuitMessage(0);
    return;
  }
}
