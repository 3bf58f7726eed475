// The program's own window data built into real windows: every control where
// its row says, with its text, font and stacking place; windows centred, with
// their frame, owner and always-on-top as listed. Handlers are left unbound so
// the windows can come and go without ending the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/win32/wide_text.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_definition.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"
#include "ui/window_definitions.h"

namespace {

// The real data without its event bindings.
const WindowDefinition& unboundDefinition(WindowId window) {
  static std::vector<WindowDefinition> copies = [] {
    std::vector<WindowDefinition> all;
    for (int i = 0; i < kWindowCount; ++i) {
      WindowDefinition copy = programWindowDefinition(static_cast<WindowId>(i));
      copy.bindings = nullptr;
      copy.bindingCount = 0;
      all.push_back(copy);
    }
    return all;
  }();
  return copies[static_cast<std::size_t>(window)];
}

std::string textOf(HWND handle) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
  return narrow(text);
}

class RealWindows : public ServiceTest, public ::testing::WithParamInterface<WindowId> {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    installWindowDefinitions(&unboundDefinition);
  }
};

TEST_P(RealWindows, BuiltAsTheirDataSays) {
  const WindowId id = GetParam();
  const WindowDefinition& definition = windowDefinition(id);
  ASSERT_TRUE(loadWindow(id, false));
  const HWND window = windowHandle(id);
  ASSERT_NE(window, nullptr);

  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, definition.width);
  EXPECT_EQ(frame.bottom - frame.top, definition.height);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - definition.width) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - definition.height) / 2);
  EXPECT_EQ(textOf(window), definition.caption != nullptr ? definition.caption : "");
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, definition.frame == Frame::fixedWithCaption);
  EXPECT_EQ((style & WS_THICKFRAME) != 0, false) << "never resizable";
  EXPECT_EQ((style & WS_MAXIMIZEBOX) != 0, false);
  EXPECT_EQ((exStyle & WS_EX_TOPMOST) != 0, definition.alwaysOnTop);
  EXPECT_EQ(GetWindow(window, GW_OWNER) == nullptr, definition.taskbarButton)
      << "only a window with a taskbar button is unowned";

  // Children in stacking order, top first, must follow the table's rows.
  std::vector<HWND> stacked;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    stacked.push_back(child);
  }
  std::vector<HWND> expectedOrder;
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    const ControlDefinition& row = definition.controls[i];
    if (row.kind == ControlKind::timer) continue;
    const HWND control = controlHandle(id, row.role);
    ASSERT_NE(control, nullptr) << row.nameInData;
    expectedOrder.push_back(control);
    SCOPED_TRACE(row.nameInData);

    EXPECT_EQ(getProperty(id, row.role, Property::left), row.left);
    EXPECT_EQ(getProperty(id, row.role, Property::top), row.top);
    EXPECT_EQ(getProperty(id, row.role, Property::width), row.width);
    if (row.kind != ControlKind::comboBox) {
      EXPECT_EQ(getProperty(id, row.role, Property::height), row.height);
    }
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));

    if (row.kind == ControlKind::comboBox) {
      const auto count = SendMessageW(control, CB_GETCOUNT, 0, 0);
      std::string items;
      for (LRESULT item = 0; item < count; ++item) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()))));
        items += (item == 0 ? "" : "\n") + narrow(text);
      }
      EXPECT_EQ(items, row.text);
      EXPECT_EQ(getProperty(id, row.role, Property::selectedIndex), 0);
    } else if (row.kind != ControlKind::pictureBox) {
      EXPECT_EQ(textOf(control), row.text);
    }

    if (row.fontPixels > 0) {
      const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
      ASSERT_NE(font, nullptr);
      LOGFONTW logFont{};
      GetObjectW(font, sizeof logFont, &logFont);
      EXPECT_EQ(logFont.lfHeight, -row.fontPixels);
      EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
      EXPECT_EQ(narrow(logFont.lfFaceName), "微软雅黑");
    }
  }
  EXPECT_EQ(stacked, expectedOrder);
}

std::string nameOf(const ::testing::TestParamInfo<WindowId>& param) {
  static const char* const kNames[] = {"Main", "KeyOperation", "LoopCount", "RunTime", "Support"};
  return kNames[static_cast<int>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(EachWindow, RealWindows,
                         ::testing::Values(WindowId::MainWindow, WindowId::KeyOperationWindow,
                                           WindowId::LoopCountWindow, WindowId::RunTimeWindow,
                                           WindowId::SupportWindow),
                         nameOf);

TEST_F(RealWindows, StopButtonLiesCoveredUnderTheStartButton) {
  installWindowDefinitions(&unboundDefinition);
  ASSERT_TRUE(loadWindow(WindowId::MainWindow, false));
  const HWND stop = controlHandle(WindowId::MainWindow, ControlId::stopButton);
  const HWND start = controlHandle(WindowId::MainWindow, ControlId::startButton);
  EXPECT_EQ(GetWindow(stop, GW_HWNDNEXT), nullptr) << "lowest in the stacking order";
  RECT stopRect{}, startRect{}, both{};
  GetWindowRect(stop, &stopRect);
  GetWindowRect(start, &startRect);
  UnionRect(&both, &stopRect, &startRect);
  EXPECT_TRUE(EqualRect(&both, &startRect)) << "entirely inside the start button";
  const HWND main = windowHandle(WindowId::MainWindow);
  POINT centre{(stopRect.left + stopRect.right) / 2, (stopRect.top + stopRect.bottom) / 2};
  ScreenToClient(main, &centre);
  EXPECT_EQ(ChildWindowFromPointEx(main, centre, CWP_SKIPINVISIBLE), start)
      << "a click there reaches the start button";
}

}  // namespace
