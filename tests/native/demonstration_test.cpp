#include "ui/demonstration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handler_fixture.h"

namespace {

using Log = std::vector<std::string>;
using C = ControlId;

const char* const kOpeningQuestion =
    "进行操作演示可能需要花费几分钟的时间，在演示过程中无法停止，确认要进行操作演示吗？";

class Demonstration : public HandlerTest {
 protected:
  std::int64_t clickTutorial() {
    const std::int64_t began = platform.nowMs();
    EXPECT_TRUE(clickMain(C::tutorialButton));
    return platform.nowMs() - began;
  }
};

TEST_F(Demonstration, CancelOnlyLeavesAlwaysOnTopOn) {
  backend.boxAnswers = {kAnswerCancel};

  EXPECT_EQ(clickTutorial(), 0);

  EXPECT_EQ(backend.log, (Log{"MainWindow.self.alwaysOnTop=0", "box 提示 33",
                               "MainWindow.self.alwaysOnTop=1"}));
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, kOpeningQuestion);
  EXPECT_EQ(dialogAnswer, kAnswerCancel);
}

TEST_F(Demonstration, TheTourTakes42BeatsAndLeavesEverythingAsFoundButTheChecks) {
  addClick(StepKind::leftDoubleClick, 5, 6, 70);
  stepList.appendKeyStep(StepKind::copy, 80);
  for (C checked : {C::rightClickRadio, C::timeModeBox}) inMain(checked).checked = true;
  std::vector<int> disabledDuringTour;
  for (int second = 1; second < 42; second += 10) {
    platform.postAfter(second * 1000 + 500,
                       [this, &disabledDuringTour] { disabledDuringTour.push_back(inMain(C::self).disabled); });
  }
  const int waitsBefore = platform.preciseOnCalls;

  EXPECT_EQ(clickTutorial(), 42 * 1000);

  EXPECT_EQ(platform.preciseOnCalls - waitsBefore, 42) << "one-second waits";
  EXPECT_EQ(disabledDuringTour, (std::vector<int>{1, 1, 1, 1, 1}));
  ASSERT_EQ(backend.boxes.size(), 11u) << "the question and ten information boxes";
  EXPECT_EQ(backend.boxes[0].style, BoxStyle::question);
  for (std::size_t i = 1; i < backend.boxes.size(); ++i) {
    EXPECT_EQ(backend.boxes[i].style, BoxStyle::information) << i;
    EXPECT_EQ(backend.boxes[i].caption, "提示") << i;
  }
  EXPECT_EQ(backend.boxes.back().text, "本次演示已结束，祝您使用愉快");

  // Each button is pointed at twice and ends with its usual caption.
  const std::pair<C, const char*> buttons[] = {
      {C::recordClickButton, "录入点击"}, {C::recordKeyButton, "录入可选的操作"},
      {C::deleteLastButton, "删除录入"},   {C::clearAllButton, "清空录入"},
      {C::startButton, "开始执行"}};
  for (const auto& [button, caption] : buttons) {
    const std::string prefix = std::string("MainWindow.") + controlName(button) + ".caption=";
    EXPECT_EQ(logWithPrefix(prefix), (Log{prefix + "看这里", prefix + caption, prefix + "看这里",
                                         prefix + caption}));
    EXPECT_EQ(inMain(button).text, caption);
  }
  EXPECT_EQ(inMain(C::delayEdit).left, 88) << "the shake ends where it began";

  for (C box : {C::leftClickRadio, C::leftDoubleRadio, C::rightClickRadio, C::rightDoubleRadio,
                C::countModeBox, C::timeModeBox, C::endlessModeBox}) {
    EXPECT_FALSE(inMain(box).checked) << controlName(box);
  }
  EXPECT_EQ(logWithPrefix("MainWindow.countModeBox.checked"),
            (Log{"MainWindow.countModeBox.checked=1", "MainWindow.countModeBox.checked=0",
                 "MainWindow.countModeBox.checked=1", "MainWindow.countModeBox.checked=0"}));
  EXPECT_FALSE(inMain(C::self).disabled);
  EXPECT_EQ(backend.log.back(), "MainWindow.self.alwaysOnTop=1");
  ASSERT_EQ(stepList.stepCount(), 2);
  EXPECT_EQ(stepList.step(1).x, 5);
  EXPECT_EQ(stepList.step(2).kind, StepKind::copy);
  EXPECT_EQ(logWithPrefix("left"), Log{}) << "the tour plays nothing";
}

TEST_F(Demonstration, TheDelayBoxShakesByRelativeMoves) {
  std::vector<std::int32_t> lefts;
  // The six moves come at 6 s ... 11 s into the tour; sample after each.
  for (int beat = 6; beat <= 11; ++beat) {
    platform.postAfter(beat * 1000 + 500, [this, &lefts] { lefts.push_back(inMain(C::delayEdit).left); });
  }
  inMain(C::delayEdit).left = 90;  // wherever it stands

  clickTutorial();

  EXPECT_EQ(lefts, (std::vector<std::int32_t>{80, 100, 90, 80, 100, 90}));
  EXPECT_EQ(inMain(C::delayEdit).left, 90);
}

}  // namespace
