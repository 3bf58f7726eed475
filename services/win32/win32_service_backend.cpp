// The services' backend on the Win32 user interface: setting up, the message
// loop and the end of the process, with the rest handed to the parts below.
#include "services/win32/win32_service_backend.h"

#include <commctrl.h>

#include "engine/fatal_fault.h"
#include "engine/message_pump.h"
#include "services/win32/keyboard.h"
#include "services/win32/message_boxes.h"
#include "services/win32/properties.h"
#include "services/win32/service_state.h"
#include "services/win32/window_loading.h"
#include "services/win32/window_procedure.h"

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

class Win32ServiceBackend final : public ServiceBackend {
 public:
  void initServices() override {
    if (services.initialised) return;
    services.initialised = true;
    services.userInterfaceThread = GetCurrentThreadId();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    registerWindowClasses(&windowProcedure);
    services.owner = createOwnerWindow();
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
  void closeWindow(WindowId window) override { requestClose(window); }

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
  void setZOrder(WindowId window, ControlId control, std::int32_t position) override {
    writeZOrder(window, control, position);
  }

  std::int32_t showMessageBox(std::string_view text, std::int32_t style,
                              std::string_view caption) override {
    return askInMessageBox(text, style, caption);
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
    showFatalFaultBox(what);
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
