// The end of the process, seen from outside: exit codes, clean-up routines run
// once in order, no events once exit has begun, and the fatal path.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

void noteA() { note("a"); }
void noteB() { note("b"); }

// Never returns while a check inside it holds; the parent sees the exit code.
void pumpForever() {
  pumpUntil([] { return false; }, 20000);
}

LRESULT CALLBACK refuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return FALSE;
  return DefWindowProcW(window, message, wParam, lParam);
}

// Takes the owner window's class name first, with a procedure that refuses
// every window: the services cannot create their owner window.
void spoilTheOwnerWindowClass() {
  WNDCLASSEXW taken{};
  taken.cbSize = sizeof(taken);
  taken.lpfnWndProc = refuseCreation;
  taken.hInstance = GetModuleHandleW(nullptr);
  taken.lpszClassName = L"Tapvane2Owner";
  RegisterClassExW(&taken);
}

}  // namespace

int runChildScenario(const std::string& scenario, const std::string& noteFile) {
  probe = Probe{};
  probe.noteFile = noteFile;
  installWindowDefinitions(&testWindowDefinition);
  if (scenario == "no-owner-window") {
    spoilTheOwnerWindowClass();
    registerCleanup(noteA);
    BoxAnswerer answerer(GetCurrentThreadId(), IDOK, 0, nullptr, true);
    initServices();
    return 96;
  }
  initServices();
  if (scenario == "cleanup") {
    registerCleanup(noteA);
    registerCleanup(noteB);
    registerCleanup(noteA);
    loadWindow(WindowId::MainWindow, false);
    loadWindow(WindowId::KeyOperationWindow, false);
    exitProcess(7);
  }
  if (scenario == "exit-in-destroy") {
    registerCleanup(noteA);
    loadWindow(WindowId::MainWindow, false);
    loadWindow(WindowId::KeyOperationWindow, false);
    probe.mainDestroyEndsProcess = true;
    closeWindow(WindowId::MainWindow);
    pumpForever();
    return 99;
  }
  if (scenario == "fatal") {
    registerCleanup(noteA);
    BoxAnswerer answerer(GetCurrentThreadId(), IDOK, 0, nullptr, true);
    getProperty(WindowId::KeyOperationWindow, ControlId::self, Property::left);
    return 98;
  }
  if (scenario == "loop") {
    loadWindow(WindowId::MainWindow, false);
    setProperty(WindowId::MainWindow, ControlId::runTimer, Property::period, 100);
    probe.runTimerClosesMain = true;
    runMessageLoop();
    note("R");
    return 5;
  }
  return 97;
}

namespace {

struct ChildCase {
  const char* scenario;
  DWORD exitCode;
  const char* notes;
};

// clang-format off
const ChildCase kChildCases[] = {
  // exitProcess runs each routine once, in order, and no willBeDestroyed on the way out.
  {"cleanup",         7,           "ab"},
  // Ending from inside willBeDestroyed: the routines run, no other window raises an event.
  {"exit-in-destroy", 3,           "WMa"},
  // A property of a window that is not loaded: an error box, no clean-up, exit code -1.
  {"fatal",           0xFFFFFFFFu, "B"},
  // Destroying the last window ends the main loop, which returns normally.
  {"loop",            5,           "WR"},
  // The services cannot be prepared: the error box, then -1, as for any fault of theirs.
  {"no-owner-window", 0xFFFFFFFFu, "B"},
};
// clang-format on

TEST(ProcessEnd, ChildScenariosEndWithTheirCodeAndNotes) {
  for (const ChildCase& child : kChildCases) {
    const std::wstring file = temporaryNoteFile(child.scenario);
    const DWORD code = runChild(child.scenario, file);
    EXPECT_EQ(code, child.exitCode) << child.scenario;
    EXPECT_EQ(readNotes(file), child.notes) << child.scenario;
    DeleteFileW(file.c_str());
  }
}

}  // namespace
