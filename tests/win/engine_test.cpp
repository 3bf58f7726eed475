// The engine against real user32 under Wine: injected input reaches a window
// of the test's own, and the wait dispatches real messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "engine/step_executor.h"
#include "engine/step_list.h"
#include "engine/win32/win32_platform_port.h"
#include "services/win32/keyboard.h"

namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  POINT client;
};

std::vector<Seen> seen;
bool seeCharsAndApp = false;  // also record WM_CHAR and WM_APP

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
      seen.push_back({message, 0, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}});
      return 0;
    case WM_KEYDOWN: case WM_KEYUP:
      seen.push_back({message, wParam, {}});
      return 0;
    case WM_CHAR: case WM_APP:
      if (!seeCharsAndApp) return DefWindowProcW(window, message, wParam, lParam);
      seen.push_back({message, wParam, {}});
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

class EngineOnWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    stepList.clearSteps();
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = recordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"EngineTestTarget";
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&windowClass);
    target = CreateWindowExW(WS_EX_TOPMOST, L"EngineTestTarget", L"target", WS_POPUP | WS_VISIBLE,
                             100, 100, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    SetFocus(target);
    settle();
  }
  void TearDown() override {
    DestroyWindow(target);
    stepList.clearSteps();
  }
  // Lets Wine deliver what is in flight.
  static void settle() { waitPumping(150); }

  std::vector<UINT> messages() const {
    std::vector<UINT> result;
    for (const Seen& s : seen) result.push_back(s.message);
    return result;
  }

  HWND target = nullptr;
};

TEST_F(EngineOnWin32, ClickStepsArriveAtTheRecordedPositionInOrder) {
  stepList.beginClickStep(StepKind::leftClick);
  stepList.finishClickStep(150, 120, 0);
  stepList.beginClickStep(StepKind::leftDoubleClick);
  stepList.finishClickStep(300, 250, 0);
  stepList.beginClickStep(StepKind::rightClick);
  stepList.finishClickStep(450, 350, 0);
  for (currentStep = 1; currentStep <= stepList.stepCount(); ++currentStep) {
    performStep();
    settle();
  }

  const std::vector<UINT> expected{WM_LBUTTONDOWN, WM_LBUTTONUP,                       // click
                                   WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,     // double
                                   WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};        // right
  ASSERT_EQ(messages(), expected);
  const POINT expectedAt[] = {{50, 20}, {50, 20}, {200, 150}, {200, 150},
                              {200, 150}, {200, 150}, {350, 250}, {350, 250}};
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].client.x, expectedAt[i].x) << i;
    EXPECT_EQ(seen[i].client.y, expectedAt[i].y) << i;
  }
  POINT pointer;
  GetCursorPos(&pointer);
  EXPECT_EQ(pointer.x, 450) << "the pointer stays where the last click put it";
  EXPECT_EQ(pointer.y, 350);
}

TEST_F(EngineOnWin32, KeyStepsArriveAsTapsAndChords) {
  stepList.appendKeyStep(StepKind::copy, 0);
  stepList.appendKeyStep(StepKind::enter, 0);
  stepList.appendKeyStep(StepKind::refresh, 0);
  for (currentStep = 1; currentStep <= stepList.stepCount(); ++currentStep) performStep();
  settle();

  const std::vector<std::pair<UINT, WPARAM>> expected{
      {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'C'}, {WM_KEYUP, VK_CONTROL}, {WM_KEYUP, 'C'},
      {WM_KEYDOWN, VK_RETURN},  {WM_KEYUP, VK_RETURN},
      {WM_KEYDOWN, VK_F5},      {WM_KEYUP, VK_F5}};
  std::vector<std::pair<UINT, WPARAM>> actual;
  for (const Seen& s : seen) actual.emplace_back(s.message, s.wParam);
  EXPECT_EQ(actual, expected);
}

std::int64_t nowMicros() { return platformPort().monotonicMicroseconds(); }

int timerTicks = 0;
void CALLBACK countTick(HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; }

TEST_F(EngineOnWin32, WaitDispatchesTimerTicksAndNeverReturnsEarly) {
  timerTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, countTick);
  for (std::int32_t ms : {1, 10, 300}) {
    const std::int64_t start = nowMicros();
    waitPumping(ms);
    EXPECT_GE(nowMicros() - start, std::int64_t{ms} * 1000) << ms;
  }
  KillTimer(nullptr, timer);
  EXPECT_GE(timerTicks, 2) << "ticks were dispatched during the waits";
}

int runFlagForTest = 1;
void CALLBACK clearFlag(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  runFlagForTest = 0;
}

TEST_F(EngineOnWin32, HandlerRunDuringTheWaitClearsAFlagTheCallerSeesAfterwards) {
  runFlagForTest = 1;
  SetTimer(nullptr, 0, 100, clearFlag);
  const std::int64_t start = nowMicros();
  waitPumping(400);
  EXPECT_EQ(runFlagForTest, 0);
  EXPECT_GE(nowMicros() - start, 400'000) << "the wait still runs to its deadline";
}

TEST_F(EngineOnWin32, ZeroWaitDispatchesNothingAndQuitStaysQueued) {
  bool dispatched = false;
  PostMessageW(target, WM_KEYDOWN, 'Z', 0);
  waitPumping(0);
  for (const Seen& s : seen) dispatched |= s.wParam == 'Z';
  EXPECT_FALSE(dispatched);

  PostQuitMessage(7);
  const std::int64_t start = nowMicros();
  waitPumping(200);
  EXPECT_GE(nowMicros() - start, 200'000);
  for (const Seen& s : seen) dispatched |= s.wParam == 'Z';
  EXPECT_TRUE(dispatched) << "messages before the quit request are dispatched";
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_FALSE(pumpOneMessage()) << "the outer loop receives the quit request";
}

// Takes WM_APP 1 and the B key.
bool takeMarked(const MSG& message) {
  return (message.message == WM_APP && message.wParam == 1) ||
         (message.message == WM_KEYDOWN && message.wParam == 'B');
}

TEST_F(EngineOnWin32, MessageTakenByThePreTranslationIsNeitherTranslatedNorDispatched) {
  const LPARAM aKey = 0x1E << 16 | 1;  // scan code and repeat count
  const LPARAM bKey = 0x30 << 16 | 1;
  seeCharsAndApp = true;
  setPreTranslation(takeMarked);
  PostMessageW(target, WM_APP, 1, 0);
  PostMessageW(target, WM_KEYDOWN, 'B', bKey);
  PostMessageW(target, WM_APP, 2, 0);
  PostMessageW(target, WM_KEYDOWN, 'A', aKey);
  pumpPendingMessages();
  setPreTranslation(&preTranslate);
  seeCharsAndApp = false;

  const std::vector<std::pair<UINT, WPARAM>> expected{
      {WM_APP, 2}, {WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}};
  std::vector<std::pair<UINT, WPARAM>> actual;
  for (const Seen& s : seen) actual.emplace_back(s.message, s.wParam);
  EXPECT_EQ(actual, expected) << "the hook runs first; what it leaves is translated and dispatched";
}

}  // namespace
