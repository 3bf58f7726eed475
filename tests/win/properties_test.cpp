// Reading and writing properties of live windows and controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>

#include "run/compact_layout.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

constexpr WindowId kMain = WindowId::MainWindow;
using C = ControlId;
using P = Property;

class Properties : public MainWindowTest {};

TEST_F(Properties, WindowGeometryIsItsOuterFrameInScreenCoordinatesStartingCentred) {
  RECT frame{};
  GetWindowRect(main, &frame);
  EXPECT_EQ(getProperty(kMain, C::self, P::left), frame.left);
  EXPECT_EQ(getProperty(kMain, C::self, P::top), frame.top);
  EXPECT_EQ(getProperty(kMain, C::self, P::width), 318);
  EXPECT_EQ(getProperty(kMain, C::self, P::height), 266);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 318) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 266) / 2);

  setProperty(kMain, C::self, P::left, 10);
  setProperty(kMain, C::self, P::top, 20);
  GetWindowRect(main, &frame);
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.top, 20);
  EXPECT_EQ(frame.right - frame.left, 318);  // size kept
  EXPECT_EQ(getProperty(kMain, C::self, P::height), 266);
}

TEST_F(Properties, ControlGeometryIsInItsWindowsClientArea) {
  EXPECT_EQ(getProperty(kMain, C::delayEdit, P::left), 88);
  EXPECT_EQ(getProperty(kMain, C::delayEdit, P::top), 32);
  EXPECT_EQ(getProperty(kMain, C::delayEdit, P::width), 72);
  EXPECT_EQ(getProperty(kMain, C::delayEdit, P::height), 24);

  // Moving the window leaves the control's place in the client area unchanged.
  setProperty(kMain, C::self, P::left, 300);
  EXPECT_EQ(getProperty(kMain, C::delayEdit, P::left), 88);

  setProperty(kMain, C::delayEdit, P::left, 100);
  setProperty(kMain, C::delayEdit, P::top, 140);
  RECT rect{};
  GetWindowRect(controlHandle(kMain, C::delayEdit), &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(main, &corner);
  EXPECT_EQ(corner.x, 100);
  EXPECT_EQ(corner.y, 140);
  EXPECT_EQ(rect.right - rect.left, 72);
}

TEST_F(Properties, NegativeSizesBecomeZeroAndSizesKeepThePlace) {
  struct Case {
    ControlId control;
    Property property;
    std::int32_t written;
    std::int32_t expected;
  };
  // clang-format off
  const Case cases[] = {
    {C::stopButton, P::width,  -5, 0},
    {C::stopButton, P::height, -1, 0},
    {C::stopButton, P::width,  50, 50},
    {C::stopButton, P::height, 30, 30},
    {C::self,       P::height, 60, 60},
  };
  // clang-format on
  for (const Case& c : cases) {
    const std::int32_t left = getProperty(kMain, c.control, P::left);
    const std::int32_t top = getProperty(kMain, c.control, P::top);
    setProperty(kMain, c.control, c.property, c.written);
    EXPECT_EQ(getProperty(kMain, c.control, c.property), c.expected) << c.written;
    EXPECT_EQ(getProperty(kMain, c.control, P::left), left);
    EXPECT_EQ(getProperty(kMain, c.control, P::top), top);
  }
}

TEST_F(Properties, VisibleAndDisabled) {
  EXPECT_EQ(getProperty(kMain, C::self, P::visible), 1);
  EXPECT_EQ(getProperty(kMain, C::startButton, P::visible), 1);
  setProperty(kMain, C::startButton, P::visible, 0);
  EXPECT_FALSE(IsWindowVisible(controlHandle(kMain, C::startButton)));
  EXPECT_EQ(getProperty(kMain, C::startButton, P::visible), 0);
  setProperty(kMain, C::startButton, P::visible, 7);  // any non-zero is true
  EXPECT_EQ(getProperty(kMain, C::startButton, P::visible), 1);

  setProperty(kMain, C::startButton, P::disabled, 1);
  EXPECT_FALSE(IsWindowEnabled(controlHandle(kMain, C::startButton)));
  EXPECT_EQ(getProperty(kMain, C::startButton, P::disabled), 1);

  // A disabled window does not grey its controls: they keep their own state.
  setProperty(kMain, C::startButton, P::disabled, 0);
  setProperty(kMain, C::self, P::disabled, 1);
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_EQ(getProperty(kMain, C::self, P::disabled), 1);
  EXPECT_EQ(getProperty(kMain, C::startButton, P::disabled), 0);
  setProperty(kMain, C::self, P::disabled, 0);
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(Properties, AlwaysOnTopKeepsTheFlagAndTheStacking) {
  auto topmost = [this] { return (GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_EQ(getProperty(kMain, C::self, P::alwaysOnTop), 1);
  EXPECT_TRUE(topmost());
  setProperty(kMain, C::self, P::alwaysOnTop, 0);
  EXPECT_EQ(getProperty(kMain, C::self, P::alwaysOnTop), 0);
  EXPECT_FALSE(topmost());
  setProperty(kMain, C::self, P::alwaysOnTop, 1);
  EXPECT_EQ(getProperty(kMain, C::self, P::alwaysOnTop), 1);
  EXPECT_TRUE(topmost());
}

TEST_F(Properties, TextsRoundTripAsUtf8) {
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "1700");
  EXPECT_EQ(getTextProperty(kMain, C::startButton, P::caption), "开始执行");
  EXPECT_EQ(getTextProperty(kMain, C::statusLabel, P::caption), "");

  setProperty(kMain, C::statusLabel, P::caption, "请先选择点击类型");
  EXPECT_EQ(getTextProperty(kMain, C::statusLabel, P::caption), "请先选择点击类型");
  wchar_t shown[64]{};
  GetWindowTextW(controlHandle(kMain, C::statusLabel), shown, 64);
  EXPECT_EQ(std::wstring(shown), L"请先选择点击类型");

  setProperty(kMain, C::startButton, P::caption, "删除录入");
  EXPECT_EQ(getTextProperty(kMain, C::startButton, P::caption), "删除录入");
  setProperty(kMain, C::delayEdit, P::text, "");
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "");
}

TEST_F(Properties, TheComboStartsAtItsFirstItem) {
  ASSERT_TRUE(loadWindow(WindowId::KeyOperationWindow, false));
  EXPECT_EQ(getProperty(WindowId::KeyOperationWindow, C::keyOpCombo, P::selectedIndex), 0);
  SendMessageW(controlHandle(WindowId::KeyOperationWindow, C::keyOpCombo), CB_SETCURSEL, 2, 0);
  EXPECT_EQ(getProperty(WindowId::KeyOperationWindow, C::keyOpCombo, P::selectedIndex), 2);
  SendMessageW(controlHandle(WindowId::KeyOperationWindow, C::keyOpCombo), CB_SETCURSEL,
               static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(getProperty(WindowId::KeyOperationWindow, C::keyOpCombo, P::selectedIndex), -1);
}

TEST_F(Properties, SetZOrderClampsItsPosition) {
  HWND stop = controlHandle(kMain, C::stopButton);
  HWND start = controlHandle(kMain, C::startButton);
  // Table order is stacking order: the stop button starts at the bottom, under the start button.
  EXPECT_EQ(GetWindow(stop, GW_HWNDNEXT), nullptr);
  // Out-of-range positions count as the nearest one.
  setZOrder(kMain, C::stopButton, 0);  // as 1: in front of all
  EXPECT_EQ(GetWindow(main, GW_CHILD), stop);
  setZOrder(kMain, C::stopButton, 2);
  EXPECT_EQ(GetWindow(stop, GW_HWNDNEXT), nullptr);
  setZOrder(kMain, C::startButton, -40);
  EXPECT_EQ(GetWindow(main, GW_CHILD), start);

  auto topmost = [this] { return (GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(topmost());
  setZOrder(kMain, C::self, 9);  // as 4: no longer topmost
  EXPECT_FALSE(topmost());
  setZOrder(kMain, C::self, 3);
  EXPECT_TRUE(topmost());
}

TEST_F(Properties, TheCoveredStopButtonTakesClicksOnlyWhenRaised) {
  bringToFront(main);
  const POINT stopCentre = centreOf(controlHandle(kMain, C::stopButton));
  clickScreen(stopCentre);
  ASSERT_TRUE(pumpUntil([] { return probe.clicks.size() == 1; }));
  EXPECT_EQ(probe.clicks[0], "startButton");

  setZOrder(kMain, C::stopButton, 1);
  clickScreen(stopCentre);
  ASSERT_TRUE(pumpUntil([] { return probe.clicks.size() == 2; }));
  EXPECT_EQ(probe.clicks[1], "stopButton");
}

struct Geometry {
  int left, top, width, height;
  bool operator==(const Geometry& other) const {
    return left == other.left && top == other.top && width == other.width && height == other.height;
  }
};

void PrintTo(const Geometry& g, std::ostream* out) {
  *out << g.left << "," << g.top << " " << g.width << "x" << g.height;
}

Geometry screenGeometryOf(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

Geometry propertyGeometry(WindowId window, ControlId control) {
  return {getProperty(window, control, P::left), getProperty(window, control, P::top),
          getProperty(window, control, P::width), getProperty(window, control, P::height)};
}

TEST_F(Properties, AMinimisedWindowReadsAndWritesItsRestoredGeometry) {
  setProperty(kMain, C::self, P::left, 300);
  setProperty(kMain, C::self, P::top, 200);
  const Geometry normal = screenGeometryOf(main);
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(main));
  EXPECT_EQ(propertyGeometry(kMain, C::self), normal);

  setProperty(kMain, C::self, P::left, 310);
  setProperty(kMain, C::self, P::top, 220);
  setProperty(kMain, C::self, P::height, 131);
  setProperty(kMain, C::self, P::width, 330);
  EXPECT_TRUE(IsIconic(main)) << "writing the geometry leaves the window minimised";
  ShowWindow(main, SW_RESTORE);
  EXPECT_EQ(screenGeometryOf(main), (Geometry{310, 220, 330, 131}));
}

TEST_F(Properties, TheCompactLayoutStaysItsOwnInverseAcrossAMinimise) {
  const Geometry window = screenGeometryOf(main);
  const Geometry stop = propertyGeometry(kMain, C::stopButton);
  // Shrunk while shown, restored while minimised (a run that ends then), and the
  // other way round.
  for (bool minimisedWhileRestoring : {true, false}) {
    SCOPED_TRACE(minimisedWhileRestoring);
    if (!minimisedWhileRestoring) ShowWindow(main, SW_MINIMIZE);
    compactRunLayout();
    if (minimisedWhileRestoring) ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));
    ShowWindow(main, SW_RESTORE);
    EXPECT_EQ(screenGeometryOf(main).height, window.height - 135);
    if (minimisedWhileRestoring) SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    restoreLayout();
    SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(screenGeometryOf(main), window);
    EXPECT_EQ(propertyGeometry(kMain, C::stopButton), stop);
  }
}

}  // namespace
