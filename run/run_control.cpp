#include "run/run_control.h"

#include <cstdint>
#include <optional>

#include "engine/key_codes.h"
#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "engine/step_executor.h"
#include "engine/step_list.h"
#include "run/compact_layout.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/scoped_count.h"
#include "services/window_service.h"

bool runFlag = false;
std::int32_t loopCount = 0;

namespace {

// Lets the compact layout settle and the pointer leave the start button.
constexpr std::int32_t kSettleMs = 200;

constexpr const char* kCountPrompt =
    "请在出现的编辑框中输入您需要循环执行的次数，并按回车提交";
constexpr const char* kTimePrompt =
    "请在出现的编辑框中输入您需要循环执行的时间，并按回车提交\r\n\r\n请您注意：设置值 1000 = 1 秒";
constexpr const char* kEndlessWarning =
    "在无限循环模式中，如果您设置的间隔时间太短，可能会导致执行操作无法停止，确定要继续执行吗？"
    "\r\n\r\n您也可以通过强制关机来强制停止，但此方法可能对您的系统有害";
constexpr const char* kNoticeCaption = "提示";
constexpr const char* kWarningCaption = "警告";

constexpr WindowId kMain = WindowId::MainWindow;

int runsInProgress = 0;

void uncheck(ControlId box) { setChecked(kMain, box, false); }

void setStartEnabled(bool enabled) { setEnabled(kMain, ControlId::startButton, enabled); }

void requestStop() {
  setProperty(kMain, ControlId::runTimer, Property::period, 0);
  runFlag = false;
}

enum class PassResult { finished, runEnded };

// Esc is the way out of a run whose waits are all zero, where no click on the
// stop button can ever be dispatched.
bool escapePressed() { return platformPort().keyPressedSinceLastCheck(kKeyEscape); }

PassResult onePass() {
  const std::int32_t passLength = stepList.stepCount();
  // Nothing left to play (cleared during the run): a pass of no steps never
  // pumps, so a run of such passes could never see the stop button or the run
  // timer. End it as a stop would, so an armed run timer cannot outlive it.
  if (passLength == 0) {
    requestStop();
    return PassResult::runEnded;
  }
  for (std::int32_t index = 1;; ++index) {
    currentStep = index;
    if (index > passLength) return PassResult::finished;
    // A handler nested in the previous wait may have deleted or cleared steps.
    if (index > stepList.stepCount()) return PassResult::finished;
    if (escapePressed()) requestStop();
    if (!runFlag) return PassResult::runEnded;
    performStep();
  }
}

void endOfRun() {
  restoreLayout();
  setStartEnabled(true);
}

// Forgets an Esc pressed before the passes begin (in the entry window, say).
void armEscape() { static_cast<void>(escapePressed()); }

// Lets the layout settle; an Esc counts only from here on.
void settle() {
  waitPumping(kSettleMs);
  armEscape();
}

void passesUntilStopped() {
  while (runFlag) {
    if (onePass() == PassResult::runEnded) break;
  }
}

void enterRunLayout() {
  runFlag = true;
  compactRunLayout();
  setStartEnabled(false);
}

// The count and time modes ask for their number in an entry window once the
// bar is up; its Enter handler stores the number and closes it.
void enterRunLayoutAndAsk(const char* prompt, WindowId entryWindow) {
  enterRunLayout();
  setAlwaysOnTop(kMain, false);
  showMessageBox(prompt, BoxStyle::information, kNoticeCaption);
  loadWindow(entryWindow, true);
  settle();
}

void runCountMode() {
  if (stepList.stepCount() == 0) return;
  enterRunLayoutAndAsk(kCountPrompt, WindowId::LoopCountWindow);
  const std::int32_t passes = loopCount;
  for (std::int32_t pass = 1; pass <= passes; ++pass) {
    if (onePass() == PassResult::runEnded) break;
  }
  endOfRun();
}

void runTimeMode() {
  if (stepList.stepCount() == 0) return;
  enterRunLayoutAndAsk(kTimePrompt, WindowId::RunTimeWindow);
  passesUntilStopped();
  endOfRun();
}

void runEndlessMode() {
  if (stepList.stepCount() == 0) return;
  setAlwaysOnTop(kMain, false);
  dialogAnswer = showMessageBox(kEndlessWarning, BoxStyle::exclamation, kWarningCaption);
  setAlwaysOnTop(kMain, true);
  if (dialogAnswer != kAnswerOk) return;
  enterRunLayout();
  settle();
  passesUntilStopped();
  endOfRun();
}

void runSinglePass() {
  if (stepList.stepCount() == 0) return;
  enterRunLayout();
  settle();
  onePass();
  endOfRun();
}

}  // namespace

void onCountModeBoxClicked() {
  uncheck(ControlId::timeModeBox);
  uncheck(ControlId::endlessModeBox);
}

void onTimeModeBoxClicked() {
  uncheck(ControlId::countModeBox);
  uncheck(ControlId::endlessModeBox);
}

void onEndlessModeBoxClicked() {
  uncheck(ControlId::countModeBox);
  uncheck(ControlId::timeModeBox);
}

bool runInProgress() { return runsInProgress > 0; }

void onStartButtonClicked() {
  const ScopedCount running(runsInProgress);
  if (isChecked(kMain, ControlId::countModeBox)) {
    runCountMode();
  } else if (isChecked(kMain, ControlId::timeModeBox)) {
    runTimeMode();
  } else if (isChecked(kMain, ControlId::endlessModeBox)) {
    runEndlessMode();
  } else {
    runSinglePass();
  }
}

void onStopButtonClicked() { requestStop(); }

void onRunTimerPeriodic() { requestStop(); }

void onLoopCountEditKeyPressed(std::int32_t keyCode, std::int32_t /*shiftState*/) {
  if (keyCode != kKeyEnter) return;
  // A number beyond 32 bits is refused like a negative one, not wrapped into another.
  const std::optional<std::int32_t> entered = textToIntegerInRange(
      getTextProperty(WindowId::LoopCountWindow, ControlId::loopCountEdit, Property::text));
  if (!entered || *entered < 0) return;
  loopCount = *entered;
  setAlwaysOnTop(kMain, true);
  closeWindow(WindowId::LoopCountWindow);
}

void onRunTimeEditKeyPressed(std::int32_t keyCode, std::int32_t /*shiftState*/) {
  if (keyCode != kKeyEnter) return;
  const std::optional<std::int32_t> entered = textToIntegerInRange(
      getTextProperty(WindowId::RunTimeWindow, ControlId::runTimeEdit, Property::text));
  if (!entered || *entered <= 0) return;
  // The time counts from this key press.
  setProperty(kMain, ControlId::runTimer, Property::period, *entered);
  setAlwaysOnTop(kMain, true);
  closeWindow(WindowId::RunTimeWindow);
}
