// Focus restore, Tab order, key codes and shift state, and the hook that sees
// every key message before it is dispatched.
#include "services/win32/keyboard.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/fatal_fault.h"
#include "engine/key_codes.h"
#include "services/win32/control_kinds.h"
#include "services/window_lifecycle.h"

namespace {

// --- Focus -----------------------------------------------------------------------

bool takesFocus(HWND handle) {
  return handle != nullptr && IsWindowVisible(handle) && IsWindowEnabled(handle);
}

// The control that had the focus when the window was last left, else the
// lowest tab stop of the table.
HWND focusOnActivation(LiveWindow& window) {
  if (window.lastFocus != nullptr && IsWindow(window.lastFocus) &&
      IsChild(window.handle, window.lastFocus) && takesFocus(window.lastFocus)) {
    return window.lastFocus;
  }
  for (auto live = window.controls.rbegin(); live != window.controls.rend(); ++live) {
    if (isTabStop(live->definition->kind) && takesFocus(live->handle)) return live->handle;
  }
  return nullptr;
}

// Tab walks the tab stops in reverse table order and wraps; Shift+Tab goes back.
void moveFocus(LiveWindow& window, HWND from, bool backwards) {
  std::vector<HWND> stops;
  for (auto live = window.controls.rbegin(); live != window.controls.rend(); ++live) {
    if (isTabStop(live->definition->kind) && live->handle != nullptr) stops.push_back(live->handle);
  }
  if (stops.empty()) return;
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t current = -1;
  for (std::ptrdiff_t index = 0; index < count; ++index) {
    HWND stop = stops[static_cast<std::size_t>(index)];
    if (stop == from || IsChild(stop, from)) current = index;
  }
  if (current < 0) current = backwards ? 0 : count - 1;
  for (std::ptrdiff_t step = 1; step <= count; ++step) {
    const std::ptrdiff_t next = ((current + (backwards ? -step : step)) % count + count) % count;
    HWND candidate = stops[static_cast<std::size_t>(next)];
    if (takesFocus(candidate)) {
      SetFocus(candidate);
      return;
    }
  }
}

// --- Key codes and shift state ---------------------------------------------------

bool isModifier(std::uint32_t key, int generic, int left, int right) {
  return key == static_cast<std::uint32_t>(generic) || key == static_cast<std::uint32_t>(left) ||
         key == static_cast<std::uint32_t>(right);
}

// The keypad reports its digits, minus, point and slash as the main keyboard's
// keys: a handler that reads typed numbers need not know which block was used.
std::int32_t keyCodeOf(std::uint32_t virtualKey) {
  const std::uint32_t key = virtualKey & 0xFF;
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return kKeyZero + static_cast<std::int32_t>(key - VK_NUMPAD0);
  switch (key) {
    case VK_SUBTRACT:
      return kKeyMinus;
    case VK_DECIMAL:
      return kKeyPoint;
    case VK_DIVIDE:
      return kKeySlash;
    default:
      return static_cast<std::int32_t>(key);  // the keypad's Enter is VK_RETURN already
  }
}

std::int32_t shiftStateOf(std::uint32_t virtualKey) {
  const std::uint32_t key = virtualKey & 0xFF;
  std::int32_t state = 0;
  if (GetKeyState(VK_CONTROL) < 0 && !isModifier(key, VK_CONTROL, VK_LCONTROL, VK_RCONTROL)) {
    state |= kShiftCtrl;
  }
  if (GetKeyState(VK_SHIFT) < 0 && !isModifier(key, VK_SHIFT, VK_LSHIFT, VK_RSHIFT)) {
    state |= kShiftShift;
  }
  if (GetKeyState(VK_MENU) < 0 && !isModifier(key, VK_MENU, VK_LMENU, VK_RMENU)) {
    state |= kShiftAlt;
  }
  return state;
}

// --- Pre-translation -------------------------------------------------------------

ControlId roleOfTarget(LiveWindow& window, HWND target) {
  for (HWND handle = target; handle != nullptr && handle != window.handle;
       handle = GetParent(handle)) {
    if (LiveControl* live = controlByHandle(window, handle)) return live->definition->role;
  }
  return ControlId::self;
}

bool translateKeyboard(const MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  HWND target = message.hwnd;
  if (target == nullptr) return false;
  LiveWindow* window = liveWindowOfHandle(GetAncestor(target, GA_ROOT));
  if (window == nullptr) return false;
  if (!IsWindowEnabled(target) || !IsWindowEnabled(window->handle)) return false;
  if (window->accelerators != nullptr) {
    MSG copy = message;
    if (TranslateAcceleratorW(window->handle, window->accelerators, &copy)) return true;
  }

  const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
      GetKeyState(VK_MENU) >= 0) {
    moveFocus(*window, target, GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  if (keyDown) {
    const auto virtualKey = static_cast<std::uint32_t>(message.wParam);
    raiseKeyPressed(window->id, roleOfTarget(*window, target), keyCodeOf(virtualKey),
                    shiftStateOf(virtualKey));
  }
  return false;  // Enter, Esc and every other key go on to the control
}

}  // namespace

void rememberFocus(LiveWindow& window) {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(window.handle, focus)) window.lastFocus = focus;
}

bool restoreFocus(LiveWindow& window) {
  HWND target = focusOnActivation(window);
  if (target == nullptr) return false;
  SetFocus(target);
  return true;
}

bool preTranslate(const MSG& message) {
  try {
    return translateKeyboard(message);
  } catch (...) {
    fatalFault("unexpected exception in the keyboard handling");
  }
}
