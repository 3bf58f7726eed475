// The window procedure: one line per message, each handed to a small handler
// that answers it or passes it on to the default procedure.
#include "services/win32/window_procedure.h"

#include <cstddef>

#include "engine/fatal_fault.h"
#include "services/win32/keyboard.h"
#include "services/win32/service_state.h"
#include "services/win32/timers.h"
#include "services/win32/window_loading.h"

namespace {

struct WindowMessage {
  HWND handle;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;

  LRESULT passOn() const { return DefWindowProcW(handle, id, wParam, lParam); }
};

bool isButtonKind(ControlKind kind) {
  return kind == ControlKind::pushButton || kind == ControlKind::checkBox ||
         kind == ControlKind::radioButton;
}

// The window's record is not loaded yet: it comes in the create parameters.
LRESULT onNcCreate(const WindowMessage& message) {
  auto* record = static_cast<LoadedWindow*>(
      reinterpret_cast<const CREATESTRUCTW*>(message.lParam)->lpCreateParams);
  if (record != nullptr) record->handle = message.handle;
  return message.passOn();
}

// A handler may unload the window: nothing here touches it after raising an event.

LRESULT onCommand(LoadedWindow& window, const WindowMessage& message) {
  if (message.lParam != 0 && HIWORD(message.wParam) == BN_CLICKED) {
    LiveControl* live = controlByHandle(window, reinterpret_cast<HWND>(message.lParam));
    if (live != nullptr && isButtonKind(live->definition->kind)) {
      raiseEvent(window.id, live->definition->role, Event::clicked);
      return 0;
    }
  }
  return message.passOn();
}

LRESULT onTimer(LoadedWindow& window, const WindowMessage& message) {
  const std::size_t index = static_cast<std::size_t>(message.wParam) - 1;
  if (index < window.controls.size() && window.controls[index].timerRunning) {
    raiseEvent(window.id, window.controls[index].definition->role, Event::periodic);
    return 0;
  }
  return message.passOn();
}

LRESULT onControlColour(LoadedWindow& window, const WindowMessage& message) {
  LRESULT brush = 0;
  if (controlColours(window, message.id, reinterpret_cast<HDC>(message.wParam),
                     reinterpret_cast<HWND>(message.lParam), brush)) {
    return brush;
  }
  return message.passOn();
}

LRESULT onSetCursor(LoadedWindow& window, const WindowMessage& message) {
  LiveControl* live = controlByHandle(window, reinterpret_cast<HWND>(message.wParam));
  if (live != nullptr && LOWORD(message.lParam) == HTCLIENT &&
      showsHandPointer(live->definition->kind) && handPointer() != nullptr) {
    SetCursor(handPointer());
    return TRUE;
  }
  return message.passOn();
}

LRESULT onActivate(LoadedWindow& window, const WindowMessage& message) {
  if (LOWORD(message.wParam) == WA_INACTIVE) rememberFocus(window);
  return message.passOn();
}

LRESULT onSetFocus(LoadedWindow& window, const WindowMessage& message) {
  return restoreFocus(window) ? 0 : message.passOn();
}

LRESULT onClose(LoadedWindow& window) {
  destroyNow(window.id);
  return 0;
}

LRESULT onPendingClose(LoadedWindow& window) {
  if (window.closePending) destroyNow(window.id);
  return 0;
}

LRESULT onDestroy(LoadedWindow& window) {
  stopTimers(window);
  raiseEvent(window.id, ControlId::self, Event::willBeDestroyed);
  return 0;
}

LRESULT onNcDestroy(const WindowMessage& message) {
  unloadWindow(message.handle);
  return message.passOn();
}

LRESULT handleWindowMessage(const WindowMessage& message) {
  if (message.id == WM_NCCREATE) return onNcCreate(message);
  LoadedWindow* window = windowOfHandle(message.handle);
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
    case WM_ACTIVATE:         return onActivate(*window, message);
    case WM_SETFOCUS:         return onSetFocus(*window, message);
    case WM_CLOSE:            return onClose(*window);
    case kCloseMessage:       return onPendingClose(*window);
    case WM_DESTROY:          return onDestroy(*window);
    case WM_NCDESTROY:        return onNcDestroy(message);
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
