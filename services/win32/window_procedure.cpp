// The window procedure: one line per message, each handed to a small handler
// that answers it or passes it on to the default procedure.
#include "services/win32/window_procedure.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/fatal_fault.h"
#include "services/win32/control_kinds.h"
#include "services/win32/drawing_resources.h"
#include "services/win32/keyboard.h"
#include "services/win32/live_windows.h"
#include "services/win32/timers.h"
#include "services/win32/window_commands.h"
#include "services/window_lifecycle.h"

namespace {

struct WindowMessage {
  HWND handle;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;

  LRESULT passOn() const { return DefWindowProcW(handle, id, wParam, lParam); }
};

// The window's record is not found by its handle yet: it comes in the create parameters.
LRESULT onNcCreate(const WindowMessage& message) {
  auto* record = static_cast<LiveWindow*>(
      reinterpret_cast<const CREATESTRUCTW*>(message.lParam)->lpCreateParams);
  if (record != nullptr) record->handle = message.handle;
  return message.passOn();
}

// A handler may unload the window: nothing here touches it after raising an event.

LRESULT onCommand(LiveWindow& window, const WindowMessage& message) {
  // An accelerator that is not in the system menu (the menu gives WM_SYSCOMMAND).
  if (message.lParam == 0 && HIWORD(message.wParam) == 1) {
    if (const std::optional<CommandId> command = commandOfMenuId(window, LOWORD(message.wParam))) {
      raiseCommand(window.id, *command);
      return 0;
    }
  }
  if (message.lParam != 0 && HIWORD(message.wParam) == BN_CLICKED) {
    LiveControl* live = controlByHandle(window, reinterpret_cast<HWND>(message.lParam));
    if (live != nullptr && raisesClicked(live->definition->kind)) {
      raiseEvent(window.id, live->definition->role, Event::clicked);
      return 0;
    }
  }
  return message.passOn();
}

LRESULT onTimer(LiveWindow& window, const WindowMessage& message) {
  const std::size_t index = controlIndexOfTimer(message.wParam);
  if (index < window.controls.size() && window.controls[index].timerRunning) {
    raiseEvent(window.id, window.controls[index].definition->role, Event::periodic);
    return 0;
  }
  return message.passOn();
}

LRESULT onControlColour(LiveWindow& window, const WindowMessage& message) {
  auto dc = reinterpret_cast<HDC>(message.wParam);
  const LiveControl* live = controlByHandle(window, reinterpret_cast<HWND>(message.lParam));
  ControlColours colours{};
  if (live != nullptr) {
    if (!coloursOf(*live->definition, colours)) return message.passOn();
  } else if (message.id == WM_CTLCOLORLISTBOX) {
    colours = ControlColours{kBlack, kWhite};  // a combo box's dropped list, like its field
  } else {
    return message.passOn();
  }
  SetTextColor(dc, colourRef(colours.text));
  SetBkColor(dc, colours.back == kDefaultColour ? GetSysColor(COLOR_BTNFACE)
                                                : colourRef(colours.back));
  return reinterpret_cast<LRESULT>(brushOf(colours.back));
}

LRESULT onSetCursor(LiveWindow& window, const WindowMessage& message) {
  LiveControl* live = controlByHandle(window, reinterpret_cast<HWND>(message.wParam));
  if (live != nullptr && LOWORD(message.lParam) == HTCLIENT &&
      showsHandPointer(live->definition->kind) && handPointer() != nullptr) {
    SetCursor(handPointer());
    return TRUE;
  }
  return message.passOn();
}

LRESULT onSysCommand(LiveWindow& window, const WindowMessage& message) {
  if (const std::optional<CommandId> command = commandOfMenuId(window, message.wParam)) {
    raiseCommand(window.id, *command);
    return 0;
  }
  return message.passOn();
}

// Before the system menu opens, and before an accelerator picks one of its items.
LRESULT onInitMenu(LiveWindow& window, const WindowMessage& message) {
  updateCommandStates(window);
  return message.passOn();
}

LRESULT onDropFiles(LiveWindow& window, const WindowMessage& message) {
  const std::vector<std::string> paths = takeDroppedFiles(reinterpret_cast<HDROP>(message.wParam));
  raiseFilesDropped(window.id, paths);
  return 0;
}

LRESULT onActivate(LiveWindow& window, const WindowMessage& message) {
  if (LOWORD(message.wParam) == WA_INACTIVE) rememberFocus(window);
  return message.passOn();
}

LRESULT onSetFocus(LiveWindow& window, const WindowMessage& message) {
  return restoreFocus(window) ? 0 : message.passOn();
}

LRESULT onClose(LiveWindow& window) {
  userClosedWindow(window.id);
  return 0;
}

LRESULT onPendingClose(LiveWindow& window) {
  pendingCloseDue(window.id);
  return 0;
}

LRESULT onDestroy(LiveWindow& window) {
  stopTimers(window);
  raiseEvent(window.id, ControlId::self, Event::willBeDestroyed);
  return 0;
}

LRESULT onNcDestroy(LiveWindow& window, const WindowMessage& message) {
  const WindowId id = window.id;
  if (window.accelerators != nullptr) DestroyAcceleratorTable(window.accelerators);
  liveWindows[static_cast<std::size_t>(id)].reset();
  windowGone(id);
  return message.passOn();
}

LRESULT handleWindowMessage(const WindowMessage& message) {
  if (message.id == WM_NCCREATE) return onNcCreate(message);
  LiveWindow* window = liveWindowOfHandle(message.handle);
  if (window == nullptr) return message.passOn();

  // clang-format off
  switch (message.id) {
    case WM_COMMAND:          return onCommand(*window, message);
    case WM_TIMER:            return onTimer(*window, message);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:  return onControlColour(*window, message);
    case WM_SETCURSOR:        return onSetCursor(*window, message);
    case WM_SYSCOMMAND:       return onSysCommand(*window, message);
    case WM_INITMENU:
    case WM_INITMENUPOPUP:    return onInitMenu(*window, message);
    case WM_DROPFILES:        return onDropFiles(*window, message);
    case WM_ACTIVATE:         return onActivate(*window, message);
    case WM_SETFOCUS:         return onSetFocus(*window, message);
    case WM_CLOSE:            return onClose(*window);
    case kCloseMessage:       return onPendingClose(*window);
    case WM_DESTROY:          return onDestroy(*window);
    case WM_NCDESTROY:        return onNcDestroy(*window, message);
    default:                  return message.passOn();
  }
  // clang-format on
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handleWindowMessage(WindowMessage{handle, message, wParam, lParam});
  } catch (...) {
    fatalFault("unexpected exception in a window procedure");
  }
}
