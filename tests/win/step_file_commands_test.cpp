// The step-file commands on real windows: the main window's system menu holds
// them, greyed while a run or a capture is going on, and a file dropped on the
// window is opened. The program's own tables and handlers, but for the main
// window's closing, which would end the test program.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/message_pump.h"
#include "engine/step_list.h"
#include "services/file_service.h"
#include "services/win32/wide_text.h"
#include "services/win32/win32_file_backend.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"
#include "ui/window_definitions.h"

namespace {

constexpr WindowId kMain = WindowId::MainWindow;

// The program's windows; the main window without its willBeDestroyed handler.
const WindowDefinition& programWithoutExit(WindowId window) {
  static const std::vector<EventBinding> mainBindings = [] {
    std::vector<EventBinding> kept;
    const WindowDefinition& main = programWindowDefinition(kMain);
    for (std::size_t i = 0; i < main.bindingCount; ++i) {
      if (main.bindings[i].event != Event::willBeDestroyed) kept.push_back(main.bindings[i]);
    }
    return kept;
  }();
  static const WindowDefinition main = [] {
    WindowDefinition copy = programWindowDefinition(kMain);
    copy.bindings = mainBindings.data();
    copy.bindingCount = mainBindings.size();
    return copy;
  }();
  return window == kMain ? main : programWindowDefinition(window);
}

// The two commands are the system menu's last items: whether each is greyed,
// as the menu shows them when it opens.
std::vector<bool> greyed(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
  const int count = GetMenuItemCount(menu);
  std::vector<bool> states;
  for (int position = count - 2; position < count; ++position) {
    states.push_back((GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0);
  }
  return states;
}

class StepFileCommands : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    installWindowDefinitions(&programWithoutExit);
    installFileBackend(&win32FileBackend());
    stepList.release();
    ASSERT_TRUE(loadWindow(kMain, false));
    main = windowHandle(kMain);
    menu = GetSystemMenu(main, FALSE);
    ASSERT_NE(menu, nullptr);
  }
  void TearDown() override {
    stepList.release();
    installFileBackend(nullptr);
    ServiceTest::TearDown();
  }

  HWND main = nullptr;
  HMENU menu = nullptr;
};

std::wstring temporaryFolder(const wchar_t* name) {
  wchar_t base[MAX_PATH]{};
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// As Explorer hands dropped files over: a DROPFILES block of wide paths.
void dropFiles(HWND window, const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L'\0';
  list += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
              list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

TEST_F(StepFileCommands, TheSystemMenuHoldsBothCommandsAfterASeparator) {
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 3);
  EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 3), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
  wchar_t text[64]{};
  GetMenuStringW(menu, static_cast<UINT>(count - 2), text, 64, MF_BYPOSITION);
  EXPECT_EQ(narrow(text), "打开步骤文件…\tCtrl+O");
  GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 64, MF_BYPOSITION);
  EXPECT_EQ(narrow(text), "保存步骤文件…\tCtrl+S");
  EXPECT_EQ(greyed(main), (std::vector<bool>{false, false}));
}

TEST_F(StepFileCommands, AFileDroppedOnTheMainWindowOpensAndTwoAreRefused) {
  const std::wstring folder = temporaryFolder(L"步骤拖放");
  const std::wstring path = folder + L"\\演示.tvsteps";
  // Notepad's "Unicode": UTF-16 LE with its byte-order mark.
  const std::wstring text = L"tapvane2-steps 1\r\n# 中文注释\r\nleft-click 12 34 56\r\nkey enter 0\r\n";
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  writeFile(path, bytes);

  dropFiles(main, {path});
  ASSERT_TRUE(pumpUntil([] { return stepList.stepCount() == 2; }));
  EXPECT_EQ(stepList.step(1), (Step{StepKind::leftClick, 12, 34, 56, false}));

  {
    BoxAnswerer answerer(GetCurrentThreadId(), IDOK);
    dropFiles(main, {path, path});
    ASSERT_TRUE(pumpUntil([&answerer] { return answerer.found(); }));
    settle();
  }
  EXPECT_EQ(stepList.stepCount(), 2);

  DeleteFileW(path.c_str());
  RemoveDirectoryW(folder.c_str());
}

std::vector<std::vector<bool>> seenWhileBusy;

void CALLBACK lookAtTheMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  seenWhileBusy.push_back(greyed(windowHandle(kMain)));
}

TEST_F(StepFileCommands, TheItemsAreGreyedDuringARunAndDuringACapture) {
  struct Case {
    const char* name;
    ControlId button;
    UINT lookAfterMs;
  };
  // A single pass of one F5 step with a wait; a capture's two seconds.
  const Case cases[] = {{"run", ControlId::startButton, 400},
                        {"capture", ControlId::recordClickButton, 800}};
  stepList.appendKeyStep(StepKind::refresh, 600);
  setChecked(kMain, ControlId::leftClickRadio, true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seenWhileBusy.clear();
    SetTimer(nullptr, 0, c.lookAfterMs, lookAtTheMenu);
    PostMessageW(controlHandle(kMain, c.button), BM_CLICK, 0, 0);
    ASSERT_TRUE(pumpUntil([] { return !seenWhileBusy.empty(); }));
    EXPECT_EQ(seenWhileBusy[0], (std::vector<bool>{true, true}));
    // Back once it is over (the capture's status flash included).
    ASSERT_TRUE(pumpUntil([this] { return greyed(main) == std::vector<bool>{false, false}; }, 8000));
  }
}

}  // namespace
