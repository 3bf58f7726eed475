// Shows one of the program's windows as a user would meet it, for the
// screenshot script:  show_window NAME GEOMETRY_FILE [SECONDS]
// NAME: main, key_operation, loop_count, run_time, support, compact_run or
// system_menu (the main window with its system menu open).
// Writes "left top width height" of the window to GEOMETRY_FILE once it is up,
// then ends after SECONDS (default 8).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/platform_port.h"
#include "engine/win32/win32_platform_port.h"
#include "run/compact_layout.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/service_backend.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_definition.h"
#include "services/window_service.h"
#include "ui/window_definitions.h"

namespace {

WindowId shown = WindowId::MainWindow;
const char* geometryFile = nullptr;

struct Choice {
  const char* name;
  WindowId window;
};

const Choice kChoices[] = {
    {"main", WindowId::MainWindow},        {"compact_run", WindowId::MainWindow},
    {"key_operation", WindowId::KeyOperationWindow}, {"loop_count", WindowId::LoopCountWindow},
    {"run_time", WindowId::RunTimeWindow}, {"support", WindowId::SupportWindow},
    {"system_menu", WindowId::MainWindow},
};

// The rectangle of an open popup menu, if one is up.
bool openMenuRect(RECT& rect) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu != nullptr && IsWindowVisible(menu) && GetWindowRect(menu, &rect);
}

void CALLBACK openSystemMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  // As Alt+Space would.
  PostMessageW(windowHandle(WindowId::MainWindow), WM_SYSCOMMAND, SC_KEYMENU, ' ');
}

void CALLBACK writeGeometry(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  RECT frame{};
  GetWindowRect(windowHandle(shown), &frame);
  RECT menu{};
  if (openMenuRect(menu)) UnionRect(&frame, &frame, &menu);
  if (FILE* out = std::fopen(geometryFile, "w")) {
    std::fprintf(out, "%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top);
    std::fclose(out);
  }
}

void CALLBACK endNow(HWND, UINT, UINT_PTR, DWORD) { ExitProcess(0); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: show_window NAME GEOMETRY_FILE [SECONDS]\n");
    return 2;
  }
  const Choice* choice = nullptr;
  for (const Choice& candidate : kChoices) {
    if (std::strcmp(candidate.name, argv[1]) == 0) choice = &candidate;
  }
  if (choice == nullptr) {
    std::fprintf(stderr, "unknown window %s\n", argv[1]);
    return 2;
  }
  shown = choice->window;
  geometryFile = argv[2];
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 8;

  installPlatformPort(&win32PlatformPort());
  installServiceBackend(&win32ServiceBackend());
  installWindowDefinitions(&programWindowDefinition);
  initServices();
  SetTimer(nullptr, 0, 1500, writeGeometry);
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, endNow);

  // The other windows are shown from the main window, as the program does.
  loadFirstWindow(WindowId::MainWindow);
  if (std::strcmp(choice->name, "compact_run") == 0) compactRunLayout();
  if (std::strcmp(choice->name, "system_menu") == 0) SetTimer(nullptr, 0, 500, openSystemMenu);
  if (shown != WindowId::MainWindow) loadWindow(shown, true);
  runMessageLoop();
  return 0;
}
