#include "services/window_lifecycle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/fatal_fault.h"
#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "services/service_backend.h"
#include "services/window_definition.h"

namespace {

struct Showing {
  WindowId window = WindowId::MainWindow;
  std::uint32_t number = 0;  // tells one showing of a window from the next
};

struct WindowLife {
  bool loaded = false;
  std::uint32_t showing = 0;
  bool building = false;  // created, but not yet through its first pumping
  bool created = false;   // the backend's window exists
  bool modal = false;
  bool closePending = false;
  // The windows a modal one disabled, each with whether it was enabled before.
  std::vector<std::pair<Showing, bool>> disabled;
};

std::array<WindowLife, kWindowCount> lives;
std::uint32_t lastShowing = 0;
bool hasModal = false;
Showing currentModal;
int holdCount = 0;
bool exiting = false;
bool loopEntered = false;

WindowLife& lifeOf(WindowId window) { return lives[static_cast<std::size_t>(window)]; }

bool isShowing(Showing showing) {
  const WindowLife& life = lifeOf(showing.window);
  return life.loaded && life.showing == showing.number;
}

bool anyWindowLoaded() {
  for (const WindowLife& life : lives) {
    if (life.loaded) return true;
  }
  return false;
}

bool eventsHeld() { return holdCount > 0 || exiting; }

void destroyNow(WindowId window) {
  WindowLife& life = lifeOf(window);
  if (!life.loaded) return;
  life.closePending = false;
  if (life.modal) {
    // Give the disabled windows back first, so activation passes to one that takes input.
    std::vector<std::pair<Showing, bool>> disabled = std::move(life.disabled);
    life.disabled.clear();
    life.modal = false;
    for (const auto& [other, wasEnabled] : disabled) {
      if (isShowing(other)) serviceBackend().enableWindow(other.window, wasEnabled);
    }
  }
  serviceBackend().destroyWindow(window);
}

// True when the window is up already: a minimised one is restored, any other
// activated. One with a close pending is closed first, so it can load afresh.
bool bringForward(WindowId window) {
  WindowLife& life = lifeOf(window);
  if (!life.loaded) return false;
  if (!life.closePending) {
    // One still being loaded further out is shown by that load.
    if (life.created) serviceBackend().bringForward(window);
    return true;
  }
  destroyNow(window);
  return life.loaded;
}

void runModalLoop(Showing showing) {
  for (;;) {
    if (!isShowing(showing) || !hasModal) return;
    // A quit request stays in the queue for the loop further out.
    if (platformPort().peekNextMessage() == NextMessage::quit) return;
    if (!pumpOneMessage()) {
      serviceBackend().postQuit();
      return;
    }
  }
}

void runModal(Showing showing) {
  WindowLife& shown = lifeOf(showing.window);
  for (int index = 0; index < kWindowCount; ++index) {
    const auto other = static_cast<WindowId>(index);
    const WindowLife& life = lifeOf(other);
    if (other == showing.window || !life.loaded || !life.created) continue;
    ServiceBackend& backend = serviceBackend();
    shown.disabled.emplace_back(Showing{other, life.showing}, backend.isWindowEnabled(other));
    backend.enableWindow(other, false);
  }
  shown.modal = true;
  const bool hadModal = hasModal;
  const Showing previous = currentModal;
  hasModal = true;
  currentModal = showing;
  runModalLoop(showing);
  hasModal = hadModal;
  currentModal = previous;
}

}  // namespace

bool isWindowLoaded(WindowId window) {
  const WindowLife& life = lifeOf(window);
  return !exiting && life.loaded && life.created;
}

bool modalWindowUp() { return hasModal; }

bool loadWindow(WindowId window, bool modal) {
  if (exiting) return false;
  if (bringForward(window)) return true;

  // Loading from here on: a second load of this window, say by a second
  // click already queued, finds it and does not build it twice.
  WindowLife& life = lifeOf(window);
  life = WindowLife{};
  life.loaded = true;
  life.building = true;
  life.showing = ++lastShowing;
  const Showing showing{window, life.showing};
  // Deliver what is queued while events still flow: from here until the
  // window is built they are dropped, and a click already waiting would be lost.
  pumpPendingMessages();
  if (!isShowing(showing)) return false;
  ++holdCount;
  ServiceBackend& backend = serviceBackend();
  if (!backend.createWindow(window, modal)) {
    if (isShowing(showing)) life = WindowLife{};
    --holdCount;
    return false;
  }
  if (isShowing(showing)) life.created = true;
  // Events these messages would raise are dropped: the window is still being built.
  pumpPendingMessages();
  --holdCount;
  if (!isShowing(showing)) return true;
  life.building = false;

  raiseEvent(window, ControlId::self, Event::created);
  if (!isShowing(showing)) return true;
  backend.showWindow(window);
  if (modal) runModal(showing);
  return true;
}

void loadFirstWindow(WindowId window) {
  if (!loadWindow(window, false)) fatalFault("the first window cannot be created");
}

void runMessageLoop() {
  loopEntered = true;
  if (!anyWindowLoaded()) return;
  while (pumpOneMessage()) {
  }
}

void closeWindow(WindowId window) {
  WindowLife& life = lifeOf(window);
  if (exiting || !life.loaded || !life.created) return;
  life.closePending = true;
  serviceBackend().postClose(window);
}

void raiseEvent(WindowId window, ControlId control, Event event) {
  if (eventsHeld()) return;
  if (EventHandler handler = findHandler(windowDefinition(window), control, event)) handler();
}

void raiseKeyPressed(WindowId window, ControlId control, std::int32_t keyCode,
                     std::int32_t shiftState) {
  if (eventsHeld()) return;
  if (KeyHandler handler = findKeyHandler(windowDefinition(window), control)) {
    handler(keyCode, shiftState);
  }
}

void raiseCommand(WindowId window, CommandId command) {
  if (eventsHeld()) return;
  const CommandDefinition* found = findCommand(windowDefinition(window), command);
  if (found != nullptr && found->handler != nullptr) found->handler();
}

void raiseFilesDropped(WindowId window, const std::vector<std::string>& paths) {
  if (eventsHeld()) return;
  if (FilesDroppedHandler handler = windowDefinition(window).filesDropped) handler(paths);
}

bool commandsAvailable(WindowId window) {
  if (eventsHeld() || !isWindowLoaded(window)) return false;
  const AvailabilityQuery query = windowDefinition(window).commandsAvailable;
  return query == nullptr || query();
}

void userClosedWindow(WindowId window) { destroyNow(window); }

void pendingCloseDue(WindowId window) {
  if (lifeOf(window).closePending) destroyNow(window);
}

void windowGone(WindowId window) {
  WindowLife& life = lifeOf(window);
  if (!life.loaded) return;
  const bool wasShown = !life.building;
  if (hasModal && currentModal.window == window && currentModal.number == life.showing) {
    hasModal = false;
  }
  life = WindowLife{};
  if (wasShown && loopEntered && !anyWindowLoaded()) serviceBackend().postQuit();
}

void holdEventsForGood() {
  exiting = true;
  hasModal = false;
  for (WindowLife& life : lives) life = WindowLife{};
}

void forgetAllWindows() {
  for (WindowLife& life : lives) life = WindowLife{};
  hasModal = false;
  holdCount = 0;
  exiting = false;
  loopEntered = false;
}
