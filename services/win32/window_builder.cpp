#include "services/win32/window_builder.h"

#include <cstddef>
#include <string>

#include "resources/resource_ids.h"
#include "services/win32/control_factory.h"
#include "services/win32/picture_box.h"
#include "services/win32/wide_text.h"
#include "services/win32/window_commands.h"

const wchar_t kTopLevelClass[] = L"Tapvane2Window";

namespace {

HINSTANCE moduleHandle() { return GetModuleHandleW(nullptr); }

HICON programIcon(int sizeMetric) {
  const int side = GetSystemMetrics(sizeMetric);
  return static_cast<HICON>(LoadImageW(moduleHandle(), MAKEINTRESOURCEW(IDI_TAPVANE2), IMAGE_ICON,
                                       side, side, LR_DEFAULTCOLOR));
}

}  // namespace

void registerWindowClasses(WNDPROC topLevelProcedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = topLevelProcedure;
  windowClass.hInstance = moduleHandle();
  windowClass.hIcon = programIcon(SM_CXICON);
  windowClass.hIconSm = programIcon(SM_CXSMICON);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kTopLevelClass;
  RegisterClassExW(&windowClass);
  registerPictureClass();
}

bool buildWindow(LiveWindow& window, HWND owner) {
  const WindowDefinition& definition = *window.definition;
  const DWORD style = definition.frame == Frame::fixedWithCaption
                          ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN
                          : WS_POPUP | WS_CLIPCHILDREN;
  const DWORD extendedStyle = (window.alwaysOnTop ? WS_EX_TOPMOST : 0) |
                              (definition.filesDropped != nullptr ? WS_EX_ACCEPTFILES : 0);
  // Centred on the whole primary screen; the stored left and top are not used.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - definition.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - definition.height) / 2;
  const std::wstring caption = definition.caption != nullptr ? widen(definition.caption) : L"";
  HWND handle = CreateWindowExW(extendedStyle, kTopLevelClass, caption.c_str(), style, left, top,
                                definition.width, definition.height, owner, nullptr,
                                moduleHandle(), &window);
  if (handle == nullptr) return false;
  window.handle = handle;
  addWindowCommands(window);

  window.controls.clear();
  window.controls.reserve(definition.controlCount);
  HWND above = HWND_TOP;
  for (std::size_t index = 0; index < definition.controlCount; ++index) {
    const ControlDefinition& control = definition.controls[index];
    LiveControl live;
    live.definition = &control;
    if (control.kind != ControlKind::timer) {
      live.handle = createControl(handle, control, index);
      if (live.handle == nullptr) {
        DestroyWindow(handle);
        return false;
      }
      // Table order is stacking order: each control directly below the one before.
      SetWindowPos(live.handle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      above = live.handle;
    }
    window.controls.push_back(live);
  }
  for (const LiveControl& live : window.controls) {
    if (live.handle != nullptr) ShowWindow(live.handle, SW_SHOWNA);
  }
  return true;
}
