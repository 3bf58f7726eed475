// The services' backend on the Win32 user interface: setting up, the live
// windows, and the end of the process, with the rest handed to the parts below.
#include "services/win32/win32_service_backend.h"

#include <commctrl.h>

#include <cstddef>
#include <memory>

#include "engine/fatal_fault.h"
#include "engine/win32/win32_platform_port.h"
#include "services/win32/drawing_resources.h"
#include "services/win32/keyboard.h"
#include "services/win32/live_windows.h"
#include "services/win32/message_boxes.h"
#include "services/win32/properties.h"
#include "services/win32/timers.h"
#include "services/win32/window_builder.h"
#include "services/win32/window_procedure.h"
#include "services/window_definition.h"

namespace {

const wchar_t kOwnerClass[] = L"Tapvane2Owner";

// Never shown: the windows it owns get no taskbar button.
HWND createOwnerWindow() {
  WNDCLASSEXW ownerClass{};
  ownerClass.cbSize = sizeof(ownerClass);
  ownerClass.lpfnWndProc = DefWindowProcW;
  ownerClass.hInstance = GetModuleHandleW(nullptr);
  ownerClass.lpszClassName = kOwnerClass;
  RegisterClassExW(&ownerClass);
  return CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"Tapvane2", WS_POPUP, 0, 0, 0, 0,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND handleOf(WindowId window) {
  LiveWindow* live = liveWindow(window);
  return live != nullptr ? live->handle : nullptr;
}

class Win32ServiceBackend final : public ServiceBackend {
 public:
  void initServices() override {
    if (initialised_) return;
    initialised_ = true;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    registerWindowClasses(&windowProcedure);
    owner_ = createOwnerWindow();
    setPreTranslation(&preTranslate);
    if (owner_ == nullptr) fatalFault("the owner window cannot be created");
  }

  bool createWindow(WindowId window, bool modal) override {
    const auto index = static_cast<std::size_t>(window);
    auto record = std::make_unique<LiveWindow>();
    record->id = window;
    record->definition = &windowDefinition(window);
    record->alwaysOnTop = record->definition->alwaysOnTop;
    LiveWindow* building = record.get();
    // In place before the first message of the new window arrives.
    liveWindows[index] = std::move(record);
    const bool owned = modal || !building->definition->taskbarButton;
    if (!buildWindow(*building, owned ? owner_ : nullptr)) {
      if (liveWindows[index].get() == building) liveWindows[index].reset();
      return false;
    }
    startTimers(*building);
    return true;
  }

  void showWindow(WindowId window) override {
    if (HWND handle = handleOf(window)) ShowWindow(handle, SW_SHOW);
  }

  void bringForward(WindowId window) override {
    HWND handle = handleOf(window);
    if (handle == nullptr) return;
    if (IsIconic(handle)) {
      ShowWindow(handle, SW_RESTORE);
    } else {
      SetActiveWindow(handle);
    }
  }

  bool isWindowEnabled(WindowId window) override {
    HWND handle = handleOf(window);
    return handle != nullptr && IsWindowEnabled(handle) != FALSE;
  }

  void enableWindow(WindowId window, bool enabled) override {
    if (HWND handle = handleOf(window)) EnableWindow(handle, enabled ? TRUE : FALSE);
  }

  void destroyWindow(WindowId window) override {
    if (HWND handle = handleOf(window)) DestroyWindow(handle);
  }

  void postClose(WindowId window) override {
    if (HWND handle = handleOf(window)) PostMessageW(handle, kCloseMessage, 0, 0);
  }

  void postQuit() override { PostQuitMessage(0); }

  std::int32_t getProperty(WindowId window, ControlId control, Property property) override {
    return readProperty(window, control, property);
  }
  std::string getTextProperty(WindowId window, ControlId control, Property property) override {
    return readTextProperty(window, control, property);
  }
  void setProperty(WindowId window, ControlId control, Property property,
                   std::int32_t value) override {
    writeProperty(window, control, property, value);
  }
  void setTextProperty(WindowId window, ControlId control, Property property,
                       std::string_view text) override {
    writeTextProperty(window, control, property, text);
  }
  void setZOrder(WindowId window, ControlId control, ZOrder position) override {
    writeZOrder(window, control, position);
  }

  std::int32_t showMessageBox(std::string_view text, BoxStyle style,
                              std::string_view caption) override {
    return askInMessageBox(text, style, caption);
  }

  std::uint32_t tickCount() override { return GetTickCount(); }

  void beginExit() override {
    for (auto& window : liveWindows) window.reset();
  }

  [[noreturn]] void endProcess(std::int32_t code) override {
    // Takes every owned window with it; no event runs any more.
    if (owner_ != nullptr) DestroyWindow(owner_);
    owner_ = nullptr;
    releaseDrawingResources();
    ExitProcess(static_cast<UINT>(code));
  }

  void reportFatalFault(std::string_view what) override { showFatalFaultBox(what); }

 private:
  bool initialised_ = false;
  HWND owner_ = nullptr;
};

}  // namespace

ServiceBackend& win32ServiceBackend() {
  static Win32ServiceBackend backend;
  return backend;
}

HWND windowHandle(WindowId window) { return handleOf(window); }

HWND controlHandle(WindowId window, ControlId control) {
  LiveWindow* live = liveWindow(window);
  if (live == nullptr) return nullptr;
  if (control == ControlId::self) return live->handle;
  LiveControl* found = liveControl(*live, control);
  return found != nullptr ? found->handle : nullptr;
}
