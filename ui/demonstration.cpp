#include "ui/demonstration.h"

#include <cstdint>
#include <string_view>

#include "engine/message_pump.h"
#include "services/message_box.h"
#include "services/scoped_count.h"
#include "services/window_service.h"

namespace {

constexpr WindowId kMain = WindowId::MainWindow;
constexpr std::int32_t kBeatMs = 1000;
constexpr const char* kCaption = "提示";
constexpr const char* kLookHere = "看这里";

// clang-format off
constexpr const char* kOpeningQuestion =
    "进行操作演示可能需要花费几分钟的时间，在演示过程中无法停止，确认要进行操作演示吗？";
constexpr const char* kAboutClickTypes =
    "在录入普通点击操作时，首先需要在这里选择您要点击的类型";
constexpr const char* kAboutDelay =
    "在这里输入时间间隔，时间间隔指的是：在点击操作完成后，到下一次点击期间的间隔时间（默认是 1.7 秒）"
    "\r\n\r\n请注意：输入内容为整数本文输入，1000 = 1秒";
constexpr const char* kAboutRecordClick =
    "前面的操作完成后，点击<录入点击>按钮后，请您在 2 秒钟的时间内，将鼠标停留在需要记录的位置上"
    "（不需要做出任何点击动作）以完成位置录入";
constexpr const char* kAboutRecordKey =
    "如果您在接下来的步骤中需要使用退格等键盘操作的功能，请点击<录入可选的操作>按钮，"
    "在显示的窗口中插入您需要进行的操作即可。\r\n\r\n请注意：录入操作与录入点击不同，但均会按照您的录入顺序来执行";
constexpr const char* kAboutDeleteLast =
    "如果您刚刚录入的信息有误，可以点击<删除录入>按钮以删除刚刚录入的信息，即最后录入的信息";
constexpr const char* kAboutClearAll =
    "点击<清空录入>按钮可以快速地清空所有已经录入的信息，即初始化";
constexpr const char* kAboutModes =
    "在开始执行之前，可以选择这三类其中之一的循环执行模式：次数循环模式需要先设置一个整数作为循环次数"
    "（在显示的编辑框内输入，回车提交），在循环达到指定的次数后结束；时间循环模式需要先设置一个运行时间"
    "（在显示的编辑框内输入，回车提交），1000 = 1秒，在循环达到指定的时间后结束；"
    "无限循环模式无需设置任何参数，可以点击<结束执行>按钮结束";
constexpr const char* kAboutStopping =
    "以上三种循环模式均可点击<结束执行>按钮结束。如果三种循环模式均未选择，则执行操作仅运行 1 次";
constexpr const char* kAboutStart = "<开始执行>按钮进行开始执行操作";
constexpr const char* kFarewell = "本次演示已结束，祝您使用愉快";

constexpr ControlId kRadios[] = {
    ControlId::leftClickRadio, ControlId::leftDoubleRadio,
    ControlId::rightClickRadio, ControlId::rightDoubleRadio,
};
constexpr ControlId kModeBoxes[] = {
    ControlId::countModeBox, ControlId::timeModeBox, ControlId::endlessModeBox,
};
// Relative moves of the delay box; they add up to nothing.
constexpr std::int32_t kShake[] = {-10, +20, -10, -10, +20, -10};
// clang-format on

int toursInProgress = 0;

void beat() { waitPumping(kBeatMs); }

void inform(std::string_view text) { showMessageBox(text, BoxStyle::information, kCaption); }

void setCaption(ControlId button, std::string_view text) {
  setProperty(kMain, button, Property::caption, text);
}

// Points at a button by showing "看这里" in its place twice.
void flashCaption(ControlId button, std::string_view usual) {
  for (int i = 0; i < 2; ++i) {
    setCaption(button, kLookHere);
    beat();
    setCaption(button, usual);
    beat();
  }
}

void shakeDelayEdit() {
  for (std::int32_t move : kShake) {
    const std::int32_t left = getProperty(kMain, ControlId::delayEdit, Property::left);
    setProperty(kMain, ControlId::delayEdit, Property::left, left + move);
    beat();
  }
}

}  // namespace

bool tourInProgress() { return toursInProgress > 0; }

void onTutorialButtonClicked() {
  const ScopedCount touring(toursInProgress);
  setAlwaysOnTop(kMain, false);
  dialogAnswer = showMessageBox(kOpeningQuestion, BoxStyle::question, kCaption);
  if (dialogAnswer != kAnswerOk) {
    setAlwaysOnTop(kMain, true);
    return;
  }
  // Only the message boxes can be answered until the tour ends.
  setEnabled(kMain, ControlId::self, false);

  for (ControlId radio : kRadios) {
    setChecked(kMain, radio, true);
    beat();
    setChecked(kMain, radio, false);
  }
  beat();
  inform(kAboutClickTypes);

  beat();
  shakeDelayEdit();
  inform(kAboutDelay);
  beat();

  flashCaption(ControlId::recordClickButton, "录入点击");
  inform(kAboutRecordClick);
  beat();

  flashCaption(ControlId::recordKeyButton, "录入可选的操作");
  inform(kAboutRecordKey);
  beat();

  flashCaption(ControlId::deleteLastButton, "删除录入");
  inform(kAboutDeleteLast);
  beat();

  flashCaption(ControlId::clearAllButton, "清空录入");
  inform(kAboutClearAll);
  beat();

  for (int i = 0; i < 2; ++i) {
    for (ControlId box : kModeBoxes) setChecked(kMain, box, true);
    beat();
    for (ControlId box : kModeBoxes) setChecked(kMain, box, false);
    beat();
  }
  inform(kAboutModes);
  inform(kAboutStopping);
  beat();

  flashCaption(ControlId::startButton, "开始执行");
  inform(kAboutStart);
  inform(kFarewell);

  setEnabled(kMain, ControlId::self, true);
  setAlwaysOnTop(kMain, true);
}
