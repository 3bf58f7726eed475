// Events reaching their handlers: clicks, timers, creation, closing and the
// modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/message_pump.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

constexpr WindowId kMain = WindowId::MainWindow;
constexpr WindowId kKeyOp = WindowId::KeyOperationWindow;
constexpr WindowId kEntry = WindowId::LoopCountWindow;
using C = ControlId;
using P = Property;

std::string states() {
  std::string text = "radios ";
  for (C radio : {C::leftClickRadio, C::leftDoubleRadio, C::rightClickRadio}) {
    text += getProperty(kMain, radio, P::checked) != 0 ? '1' : '0';
  }
  text += " boxes ";
  for (C box : {C::countModeBox, C::timeModeBox}) {
    text += getProperty(kMain, box, P::checked) != 0 ? '1' : '0';
  }
  return text;
}

class Events : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    bringToFront(main);
  }
  void clickControl(ControlId control) {
    const std::size_t before = probe.clicks.size();
    clickScreen(centreOf(controlHandle(kMain, control)));
    ASSERT_TRUE(pumpUntil([before] { return probe.clicks.size() == before + 1; }));
  }
};

TEST_F(Events, WritingCheckedRaisesNoClickAndChangesThatButtonAlone) {
  setProperty(kMain, C::leftClickRadio, P::checked, 1);
  setProperty(kMain, C::leftDoubleRadio, P::checked, 1);
  setProperty(kMain, C::countModeBox, P::checked, 1);
  setProperty(kMain, C::timeModeBox, P::checked, 5);
  settle();
  EXPECT_EQ(states(), "radios 110 boxes 11");
  setProperty(kMain, C::leftClickRadio, P::checked, 0);
  settle();
  EXPECT_EQ(states(), "radios 010 boxes 11");
  EXPECT_TRUE(probe.clicks.empty());
}

TEST_F(Events, AUserClickOnARadioUnchecksTheOthersBeforeClicked) {
  setProperty(kMain, C::leftDoubleRadio, P::checked, 1);
  setProperty(kMain, C::rightClickRadio, P::checked, 1);
  clickControl(C::leftClickRadio);
  clickControl(C::rightClickRadio);
  EXPECT_EQ(probe.clicks, (std::vector<std::string>{"leftClickRadio", "rightClickRadio"}));
  EXPECT_EQ(probe.snapshots,
            (std::vector<std::string>{"radios 100 boxes 00", "radios 001 boxes 00"}));
}

TEST_F(Events, ACheckBoxIsToggledWhenItsClickedHandlerRuns) {
  clickControl(C::countModeBox);
  clickControl(C::countModeBox);
  SetFocus(controlHandle(kMain, C::timeModeBox));
  pressKeys({{VK_SPACE, 0}});
  ASSERT_TRUE(pumpUntil([] { return probe.clicks.size() == 3; }));
  EXPECT_EQ(probe.clicks,
            (std::vector<std::string>{"countModeBox", "countModeBox", "timeModeBox"}));
  EXPECT_EQ(probe.snapshots, (std::vector<std::string>{"radios 000 boxes 10",
                                                       "radios 000 boxes 00",
                                                       "radios 000 boxes 01"}));
}

TEST_F(Events, ATimerFirstTicksAboutOnePeriodAfterAWrite) {
  EXPECT_EQ(getProperty(kMain, C::runTimer, P::period), 0);
  settle(300);
  EXPECT_EQ(probe.runTicks, 0);  // stopped in the data: nothing until a period is written
  const DWORD writtenAt = GetTickCount();
  setProperty(kMain, C::runTimer, P::period, 600);
  EXPECT_EQ(getProperty(kMain, C::runTimer, P::period), 600);
  ASSERT_TRUE(pumpUntil([] { return probe.runTicks > 0; }));
  const DWORD elapsed = probe.firstRunTickAt - writtenAt;
  EXPECT_GE(elapsed, 500u);
  EXPECT_LT(elapsed, 3000u);
}

TEST_F(Events, WritingTheSamePeriodAgainDoesNotRestartTheTimer) {
  const DWORD writtenAt = GetTickCount();
  setProperty(kMain, C::runTimer, P::period, 1600);
  settle(800);
  setProperty(kMain, C::runTimer, P::period, 1600);
  ASSERT_TRUE(pumpUntil([] { return probe.runTicks > 0; }));
  // Not restarted: about 1600 ms after the first write; restarted it would be about 2400.
  EXPECT_LT(probe.firstRunTickAt - writtenAt, 2000u);
}

TEST_F(Events, ZeroOrNegativePeriodsStopTheTimer) {
  for (std::int32_t stop : {0, -50}) {
    setProperty(kMain, C::runTimer, P::period, 100);
    ASSERT_TRUE(pumpUntil([] { return probe.runTicks > 0; }));
    setProperty(kMain, C::runTimer, P::period, stop);
    EXPECT_EQ(getProperty(kMain, C::runTimer, P::period), 0);
    const int ticks = probe.runTicks;
    settle(500);
    EXPECT_EQ(probe.runTicks, ticks) << stop;
    probe.runTicks = 0;
  }
}

TEST_F(Events, ATimerWithAPeriodInTheDataRunsFromCreation) {
  EXPECT_EQ(getProperty(kMain, C::usageTimer, P::period), 100);
  EXPECT_TRUE(pumpUntil([] { return probe.usageTicks >= 2; }));
}

TEST_F(Events, CreatedRunsOnceBeforeTheWindowIsShown) {
  EXPECT_EQ(probe.mainCreated, 1);
  EXPECT_EQ(probe.mainVisibleInCreated, 0);

  ASSERT_TRUE(loadWindow(kKeyOp, false));
  EXPECT_EQ(probe.keyOpCreated, 1);
  EXPECT_EQ(probe.keyOpVisibleInCreated, 0);
  EXPECT_EQ(probe.keyOpComboInCreated, 0);  // controls exist already
  // The move made in created is where the window first shows.
  EXPECT_EQ(getProperty(kKeyOp, C::self, P::left), 40);
  EXPECT_EQ(getProperty(kKeyOp, C::self, P::top), 50);
  EXPECT_EQ(getProperty(kKeyOp, C::self, P::visible), 1);
}

TEST_F(Events, LoadingALoadedWindowOnlyRestoresOrActivatesIt) {
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  HWND keyOp = windowHandle(kKeyOp);
  ShowWindow(keyOp, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(keyOp));
  EXPECT_TRUE(loadWindow(kKeyOp, false));
  EXPECT_FALSE(IsIconic(keyOp));

  bringToFront(main);
  // Would end a modal loop if one were (wrongly) entered; left waiting otherwise.
  PostMessageW(keyOp, WM_CLOSE, 0, 0);
  EXPECT_TRUE(loadWindow(kKeyOp, true));
  EXPECT_EQ(windowHandle(kKeyOp), keyOp);
  EXPECT_EQ(GetActiveWindow(), keyOp);
  EXPECT_EQ(probe.keyOpCreated, 1);
}

TEST_F(Events, CloseWindowDestroysOnlyOnceMessagesAreDispatched) {
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  SendMessageW(controlHandle(kKeyOp, C::keyOpCombo), CB_SETCURSEL, 2, 0);
  closeWindow(kKeyOp);
  EXPECT_NE(windowHandle(kKeyOp), nullptr);
  EXPECT_EQ(probe.keyOpDestroyed, 0);
  pumpPendingMessages();
  EXPECT_EQ(windowHandle(kKeyOp), nullptr);
  EXPECT_EQ(probe.keyOpDestroyed, 1);
  EXPECT_EQ(probe.keyOpComboInDestroy, 2);  // still readable in willBeDestroyed

  // Every showing starts again from the definition.
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  EXPECT_EQ(probe.keyOpCreated, 2);
  EXPECT_EQ(getProperty(kKeyOp, C::keyOpCombo, P::selectedIndex), 0);
}

TEST_F(Events, TheUsersCloseDestroysTheWindowAndRaisesWillBeDestroyed) {
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  SendMessageW(windowHandle(kKeyOp), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(windowHandle(kKeyOp), nullptr);
  EXPECT_EQ(probe.keyOpDestroyed, 1);
}

TEST_F(Events, LoadingAWindowWhoseCloseIsPendingDestroysItAndLoadsItAfresh) {
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  closeWindow(kKeyOp);
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  EXPECT_EQ(probe.keyOpDestroyed, 1);
  EXPECT_EQ(probe.keyOpCreated, 2);
  pumpPendingMessages();  // the old close request finds nothing to close
  EXPECT_NE(windowHandle(kKeyOp), nullptr);
}

TEST_F(Events, AModalWindowClosedFromItsOwnKeyHandlerEndsTheLoadAfterItIsGone) {
  for (int disabledBefore : {0, 1}) {
    setProperty(kMain, C::self, P::disabled, disabledBefore);
    probe.entryKeys.clear();
    probe.entryTicks = 0;
    probe.entryDestroyed = 0;
    probe.entryKeyHandlerReturned = false;
    probe.entryClosesOnEnter = true;
    probe.entrySendsEnter = true;

    EXPECT_TRUE(loadWindow(kEntry, true));
    EXPECT_EQ(windowHandle(kEntry), nullptr);
    EXPECT_FALSE(probe.entryGaveUp) << "the injected Enter never arrived";
    EXPECT_EQ(probe.entryKeys, (std::vector<KeyEvent>{{13, 0}}));
    EXPECT_EQ(probe.mainDisabledSeenByEntry, 1);
    EXPECT_TRUE(probe.entryStillLoadedAfterClose);
    EXPECT_TRUE(probe.keyHandlerHadReturnedAtDestroy);
    EXPECT_EQ(probe.entryDestroyed, 1);
    EXPECT_EQ(getProperty(kMain, C::self, P::disabled), disabledBefore);
  }
}

TEST_F(Events, AQuitRequestEndsTheModalLoopAndStaysQueuedForTheLoopOutside) {
  probe.entryPostsQuit = true;
  EXPECT_TRUE(loadWindow(kEntry, true));
  EXPECT_FALSE(probe.entryGaveUp);
  EXPECT_NE(windowHandle(kEntry), nullptr);  // still up: only the loop has ended
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

}  // namespace
