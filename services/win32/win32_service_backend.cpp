// Windows, controls, events, message and modal loops, timers, message boxes
// and the end of the process on the Win32 user interface.
#include "services/win32/win32_service_backend.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "engine/fatal_fault.h"
#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "services/dialogs.h"
#include "services/win32/wide_text.h"
#include "services/win32/window_records.h"

namespace {

// Carries a pending close to the window; destroyed when it is dispatched.
constexpr UINT kCloseMessage = WM_APP + 1;
const wchar_t kOwnerClass[] = L"Tapvane2Owner";

struct ModalWindow {
  int index = -1;
  std::uint32_t generation = 0;
};

struct Services {
  WindowDefinitionLookup lookup = &windowDefinition;
  std::array<std::unique_ptr<LoadedWindow>, kWindowCount> loaded;
  ModalWindow currentModal;
  int holdCount = 0;
  bool exiting = false;
  bool loopEntered = false;
  bool initialised = false;
  HWND owner = nullptr;
  DWORD userInterfaceThread = 0;
  std::uint32_t nextGeneration = 0;
};

Services services;

int indexOf(WindowId window) { return static_cast<int>(window); }

LoadedWindow* loadedWindow(WindowId window) {
  const int index = indexOf(window);
  if (index < 0 || index >= kWindowCount) return nullptr;
  return services.loaded[static_cast<std::size_t>(index)].get();
}

// The same showing of a window, or nullptr once it has gone (or been loaded afresh).
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

bool eventsHeld() { return services.holdCount > 0 || services.exiting; }

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

// The control or the window itself; a role the window does not have is a fault of the tables.
HWND requireHandle(LoadedWindow& window, ControlId control, LiveControl** live = nullptr) {
  if (control == ControlId::self) return window.handle;
  LiveControl* found = liveControl(window, control);
  if (found == nullptr) fatalFault("a property was addressed to a control the window does not have");
  if (live != nullptr) *live = found;
  return found->handle;
}

// --- Timers --------------------------------------------------------------------

void writePeriod(LoadedWindow& window, std::size_t index, std::int32_t period) {
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

void stopTimers(LoadedWindow& window) {
  for (std::size_t index = 0; index < window.controls.size(); ++index) {
    if (window.controls[index].timerRunning) {
      KillTimer(window.handle, timerIdOf(index));
      window.controls[index].timerRunning = false;
    }
  }
}

// --- Closing -------------------------------------------------------------------

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

// --- Keyboard focus ------------------------------------------------------------

bool takesFocus(HWND handle) {
  return handle != nullptr && IsWindowVisible(handle) && IsWindowEnabled(handle);
}

// The control that had the focus when the window was last left, else the
// lowest tab stop of the table.
HWND focusOnActivation(LoadedWindow& window) {
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
void moveFocus(LoadedWindow& window, HWND from, bool backwards) {
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

// --- Keyboard pre-translation --------------------------------------------------

bool isModifier(std::uint32_t key, int generic, int left, int right) {
  return key == static_cast<std::uint32_t>(generic) || key == static_cast<std::uint32_t>(left) ||
         key == static_cast<std::uint32_t>(right);
}

std::int32_t keyCodeOf(std::uint32_t virtualKey) {
  const std::uint32_t key = virtualKey & 0xFF;
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<std::int32_t>('0' + key - VK_NUMPAD0);
  switch (key) {
    case VK_SUBTRACT:
      return 189;
    case VK_DECIMAL:
      return 190;
    case VK_DIVIDE:
      return 191;
    case VK_RETURN:
      return 13;
    default:
      return static_cast<std::int32_t>(key);
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

ControlId roleOfTarget(LoadedWindow& window, HWND target) {
  for (HWND handle = target; handle != nullptr && handle != window.handle;
       handle = GetParent(handle)) {
    if (LiveControl* live = controlByHandle(window, handle)) return live->definition->role;
  }
  return ControlId::self;
}

bool translateKeyboard(const Message& message) {
  if (message.id < WM_KEYFIRST || message.id > WM_KEYLAST) return false;
  HWND target = reinterpret_cast<HWND>(message.target);
  if (target == nullptr) return false;
  LoadedWindow* window = windowOfHandle(GetAncestor(target, GA_ROOT));
  if (window == nullptr) return false;
  if (!IsWindowEnabled(target) || !IsWindowEnabled(window->handle)) return false;

  const bool keyDown = message.id == WM_KEYDOWN || message.id == WM_SYSKEYDOWN;
  if (message.id == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
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

bool preTranslate(const Message& message) {
  try {
    return translateKeyboard(message);
  } catch (...) {
    fatalFault("unexpected exception in the keyboard handling");
  }
}

// --- The window procedure ------------------------------------------------------

bool isButtonKind(ControlKind kind) {
  return kind == ControlKind::pushButton || kind == ControlKind::checkBox ||
         kind == ControlKind::radioButton;
}

LRESULT handleWindowMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* record = static_cast<LoadedWindow*>(
        reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (record != nullptr) record->handle = handle;
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  LoadedWindow* window = windowOfHandle(handle);
  if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
  const WindowId id = window->id;

  switch (message) {
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        LiveControl* live = controlByHandle(*window, reinterpret_cast<HWND>(lParam));
        if (live != nullptr && isButtonKind(live->definition->kind)) {
          raiseEvent(id, live->definition->role, Event::clicked);
          return 0;
        }
      }
      break;
    case WM_TIMER: {
      const std::size_t index = static_cast<std::size_t>(wParam) - 1;
      if (index < window->controls.size() && window->controls[index].timerRunning) {
        raiseEvent(id, window->controls[index].definition->role, Event::periodic);
        return 0;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      LRESULT brush = 0;
      if (controlColours(*window, message, reinterpret_cast<HDC>(wParam),
                         reinterpret_cast<HWND>(lParam), brush)) {
        return brush;
      }
      break;
    }
    case WM_SETCURSOR: {
      LiveControl* live = controlByHandle(*window, reinterpret_cast<HWND>(wParam));
      if (live != nullptr && LOWORD(lParam) == HTCLIENT &&
          showsHandPointer(live->definition->kind) && handPointer() != nullptr) {
        SetCursor(handPointer());
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle, focus)) window->lastFocus = focus;
      }
      break;
    case WM_SETFOCUS:
      if (HWND target = focusOnActivation(*window)) {
        SetFocus(target);
        return 0;
      }
      break;
    case WM_CLOSE:
      destroyNow(id);
      return 0;
    case kCloseMessage:
      if (window->closePending) destroyNow(id);
      return 0;
    case WM_DESTROY:
      stopTimers(*window);
      raiseEvent(id, ControlId::self, Event::willBeDestroyed);
      return 0;
    case WM_NCDESTROY:
      unloadWindow(handle);
      break;
    default:
      break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handleWindowMessage(handle, message, wParam, lParam);
  } catch (...) {
    fatalFault("unexpected exception in a window procedure");
  }
}

// --- Loading -------------------------------------------------------------------

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

bool loadWindowNow(WindowId window, bool modal) {
  if (LoadedWindow* record = loadedWindow(window)) {
    if (!record->closePending) {
      if (IsIconic(record->handle)) {
        ShowWindow(record->handle, SW_RESTORE);
      } else {
        SetActiveWindow(record->handle);
      }
      return true;
    }
    destroyNow(window);
    if (loadedWindow(window) != nullptr) return true;
  }

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
  for (std::size_t index = 0; index < building->controls.size(); ++index) {
    const ControlDefinition& control = *building->controls[index].definition;
    if (control.kind == ControlKind::timer && control.period > 0) {
      writePeriod(*building, index, control.period);
    }
  }
  // Events these messages would raise are dropped: the window is still being built.
  pumpPendingMessages();
  --services.holdCount;
  if (LoadedWindow* built = sameShowing(window, generation)) built->building = false;

  raiseEvent(window, ControlId::self, Event::created);
  LoadedWindow* shown = sameShowing(window, generation);
  if (shown == nullptr) return true;
  ShowWindow(shown->handle, SW_SHOW);

  if (modal) {
    shown = sameShowing(window, generation);
    if (shown == nullptr) return true;
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
  return true;
}

// --- Properties ----------------------------------------------------------------

RECT placeOf(LoadedWindow& window, ControlId control, HWND handle) {
  RECT rect{};
  GetWindowRect(handle, &rect);
  if (control != ControlId::self) {
    MapWindowPoints(HWND_DESKTOP, window.handle, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

class Win32ServiceBackend final : public ServiceBackend {
 public:
  void initServices() override {
    if (services.initialised) return;
    services.initialised = true;
    services.userInterfaceThread = GetCurrentThreadId();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    registerWindowClasses(&windowProcedure);

    WNDCLASSEXW ownerClass{};
    ownerClass.cbSize = sizeof(ownerClass);
    ownerClass.lpfnWndProc = DefWindowProcW;
    ownerClass.hInstance = GetModuleHandleW(nullptr);
    ownerClass.lpszClassName = kOwnerClass;
    RegisterClassExW(&ownerClass);
    // Never shown: the windows it owns get no taskbar button.
    services.owner = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"Tapvane2", WS_POPUP, 0, 0,
                                     0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    setPreTranslateHook(&preTranslate);
    if (services.owner == nullptr) fatalFault("the owner window cannot be created");
  }

  void loadFirstWindow(WindowId window) override {
    if (!loadWindowNow(window, false)) fatalFault("the first window cannot be created");
  }

  void runMessageLoop() override {
    services.loopEntered = true;
    if (!anyWindowLoaded()) return;
    while (pumpOneMessage()) {
    }
  }

  bool loadWindow(WindowId window, bool modal) override { return loadWindowNow(window, modal); }

  void closeWindow(WindowId window) override {
    LoadedWindow* record = loadedWindow(window);
    if (record == nullptr) return;
    record->closePending = true;
    PostMessageW(record->handle, kCloseMessage, 0, 0);
  }

  std::int32_t getProperty(WindowId window, ControlId control, Property property) override {
    LoadedWindow& record = requireLoaded(window);
    LiveControl* live = nullptr;
    HWND handle = requireHandle(record, control, &live);
    if (property == Property::period) return live != nullptr ? live->period : 0;
    if (property == Property::alwaysOnTop) return record.alwaysOnTop ? 1 : 0;
    if (handle == nullptr) return timerPlace(*live, property);
    switch (property) {
      case Property::left:
        return placeOf(record, control, handle).left;
      case Property::top:
        return placeOf(record, control, handle).top;
      case Property::width: {
        const RECT rect = placeOf(record, control, handle);
        return rect.right - rect.left;
      }
      case Property::height: {
        const RECT rect = placeOf(record, control, handle);
        return rect.bottom - rect.top;
      }
      case Property::visible:
        return IsWindowVisible(handle) ? 1 : 0;
      case Property::disabled:
        return IsWindowEnabled(handle) ? 0 : 1;
      case Property::checked:
        return SendMessageW(handle, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
      case Property::selectedIndex:
        return static_cast<std::int32_t>(SendMessageW(handle, CB_GETCURSEL, 0, 0));
      case Property::text:
      case Property::caption:
        return textToInteger(getTextProperty(window, control, property));
      default:
        return 0;
    }
  }

  std::string getTextProperty(WindowId window, ControlId control, Property property) override {
    if (property != Property::text && property != Property::caption) {
      return std::to_string(getProperty(window, control, property));
    }
    LoadedWindow& record = requireLoaded(window);
    HWND handle = requireHandle(record, control);
    if (handle == nullptr) return {};
    const int length = GetWindowTextLengthW(handle);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(handle, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return narrow(text);
  }

  void setProperty(WindowId window, ControlId control, Property property,
                   std::int32_t value) override {
    LoadedWindow& record = requireLoaded(window);
    LiveControl* live = nullptr;
    HWND handle = requireHandle(record, control, &live);
    if (property == Property::period) {
      if (live != nullptr && live->definition->kind == ControlKind::timer) {
        writePeriod(record, static_cast<std::size_t>(live - record.controls.data()), value);
      }
      return;
    }
    if (property == Property::alwaysOnTop) {
      if (control != ControlId::self) return;
      record.alwaysOnTop = value != 0;
      SetWindowPos(handle, value != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
    if (handle == nullptr) return;
    const RECT place = placeOf(record, control, handle);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    switch (property) {
      case Property::left:
        MoveWindow(handle, value, place.top, width, height, TRUE);
        break;
      case Property::top:
        MoveWindow(handle, place.left, value, width, height, TRUE);
        break;
      case Property::width:
        SetWindowPos(handle, nullptr, 0, 0, std::max(value, 0), height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      case Property::height:
        SetWindowPos(handle, nullptr, 0, 0, width, std::max(value, 0),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      case Property::visible:
        ShowWindow(handle, value != 0 ? SW_SHOW : SW_HIDE);
        break;
      case Property::disabled:
        EnableWindow(handle, value != 0 ? FALSE : TRUE);
        break;
      case Property::checked:
        SendMessageW(handle, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case Property::text:
      case Property::caption:
        setTextProperty(window, control, property, std::to_string(value));
        break;
      default:
        break;
    }
  }

  void setTextProperty(WindowId window, ControlId control, Property property,
                       std::string_view text) override {
    if (property != Property::text && property != Property::caption) {
      setProperty(window, control, property, textToInteger(text));
      return;
    }
    LoadedWindow& record = requireLoaded(window);
    LiveControl* live = nullptr;
    HWND handle = requireHandle(record, control, &live);
    if (handle == nullptr) return;
    SetWindowTextW(handle, widen(text).c_str());
    // A label shows its new caption at the next repaint.
    if (live != nullptr && live->definition->kind == ControlKind::label) {
      InvalidateRect(handle, nullptr, TRUE);
    }
  }

  void setZOrder(WindowId window, ControlId control, std::int32_t position) override {
    LoadedWindow& record = requireLoaded(window);
    HWND handle = requireHandle(record, control);
    if (handle == nullptr) return;
    static const std::array<HWND, 4> kInsertAfter{HWND_TOP, HWND_BOTTOM, HWND_TOPMOST,
                                                  HWND_NOTOPMOST};
    const std::int32_t clamped = std::clamp(position, kZTop, kZNotTopmost);
    SetWindowPos(handle, kInsertAfter[static_cast<std::size_t>(clamped - 1)], 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }

  std::int32_t showMessageBox(std::string_view text, std::int32_t style,
                              std::string_view caption) override {
    auto type = static_cast<UINT>(style);
    if ((type & MB_SYSTEMMODAL) == 0) type |= MB_TASKMODAL;
    const std::wstring wideText = widen(text);
    const std::wstring wideCaption = widen(caption.empty() ? std::string_view("信息：") : caption);
    switch (MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), type)) {
      case IDCANCEL:
        return kAnswerCancel;
      case IDABORT:
        return kAnswerAbort;
      case IDRETRY:
        return kAnswerRetry;
      case IDIGNORE:
        return kAnswerIgnore;
      case IDYES:
        return kAnswerYes;
      case IDNO:
        return kAnswerNo;
      default:
        return kAnswerOk;  // IDOK, and a box that could not be shown
    }
  }

  std::uint32_t tickCount() override { return GetTickCount(); }

  void beginExit() override {
    services.exiting = true;
    services.currentModal = ModalWindow{};
    for (auto& record : services.loaded) record.reset();
  }

  [[noreturn]] void endProcess(std::int32_t code) override {
    services.exiting = true;
    // Takes every owned window with it; no event runs any more.
    if (services.owner != nullptr) DestroyWindow(services.owner);
    services.owner = nullptr;
    releaseBuildResources();
    ExitProcess(static_cast<UINT>(code));
  }

  void reportFatalFault(std::string_view what) override {
    services.exiting = true;  // nothing of the program runs while the box is up
    const std::string text =
        std::string("程序内部出现错误，即将退出。\r\n\r\n") + std::string(what);
    MessageBoxW(nullptr, widen(text).c_str(), L"Tapvane2", MB_OK | MB_ICONHAND | MB_TASKMODAL);
  }

 private:
  static std::int32_t timerPlace(const LiveControl& timer, Property property) {
    switch (property) {
      case Property::left:
        return timer.definition->left;
      case Property::top:
        return timer.definition->top;
      case Property::width:
        return timer.definition->width;
      case Property::height:
        return timer.definition->height;
      default:
        return 0;
    }
  }
};

}  // namespace

ServiceBackend& win32ServiceBackend() {
  static Win32ServiceBackend backend;
  return backend;
}

void useWindowDefinitions(WindowDefinitionLookup lookup) {
  services.lookup = lookup != nullptr ? lookup : &windowDefinition;
}

HWND windowHandle(WindowId window) {
  LoadedWindow* record = loadedWindow(window);
  return record != nullptr ? record->handle : nullptr;
}

HWND controlHandle(WindowId window, ControlId control) {
  LoadedWindow* record = loadedWindow(window);
  if (record == nullptr) return nullptr;
  if (control == ControlId::self) return record->handle;
  LiveControl* live = liveControl(*record, control);
  return live != nullptr ? live->handle : nullptr;
}
