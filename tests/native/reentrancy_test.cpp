// Every main-window control a user can reach (by mouse, or by Tab and Space
// when the stop button covers it) pressed while another handler is waiting:
// during the two-second capture, a status flash, a run and the tour. Nothing
// may crash, no input may go to a position that was never recorded, and the
// list and the window must come back consistent and idle.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "handler_fixture.h"

namespace {

struct Phase {
  const char* name;
  std::function<void(HandlerTest&)> prepare;
  ControlId begin;
  std::int64_t pressAfterMs;  // inside the phase's first long wait
};

const Phase kPhases[] = {
    {"capture",
     [](HandlerTest& t) { t.backend.state(WindowId::MainWindow, ControlId::leftClickRadio).checked = true; },
     ControlId::recordClickButton, 500},
    {"flash", [](HandlerTest&) {}, ControlId::deleteLastButton, 500},
    {"singleRun", [](HandlerTest&) {}, ControlId::startButton, 350},
    {"countRun",
     [](HandlerTest& t) {
       t.backend.state(WindowId::MainWindow, ControlId::countModeBox).checked = true;
       t.backend.scriptEntries(WindowId::LoopCountWindow, {"2"});
     },
     ControlId::startButton, 650},
    {"tour", [](HandlerTest&) {}, ControlId::tutorialButton, 5000},
};

const ControlId kReachable[] = {
    ControlId::stopButton,       ControlId::leftClickRadio,  ControlId::leftDoubleRadio,
    ControlId::rightClickRadio,  ControlId::rightDoubleRadio, ControlId::recordClickButton,
    ControlId::recordKeyButton,  ControlId::deleteLastButton, ControlId::clearAllButton,
    ControlId::countModeBox,     ControlId::timeModeBox,     ControlId::endlessModeBox,
    ControlId::startButton,      ControlId::tutorialButton,
};

using Case = std::pair<std::size_t, ControlId>;

class Reentrancy : public HandlerTest, public ::testing::WithParamInterface<Case> {};

TEST_P(Reentrancy, NestedPressLeavesTheProgramConsistentAndIdle) {
  const Phase& phase = kPhases[GetParam().first];
  const ControlId pressed = GetParam().second;

  addClick(StepKind::leftClick, 100, 100, 300);
  stepList.appendKeyStep(StepKind::enter, 300);
  addClick(StepKind::rightDoubleClick, 200, 200, 300);
  platform.cursor = {300, 300};
  const std::set<std::pair<std::int32_t, std::int32_t>> recordedAt{{100, 100}, {200, 200}, {300, 300}};
  // A nested endless run would never end on its own: stop it from the
  // keyboard a while later, as a user would.
  platform.postAfter(60'000, [this] { platform.pressKey(27); });

  phase.prepare(*this);
  bool pressHappened = false;
  platform.postAfter(phase.pressAfterMs, [&] {
    pressHappened = true;
    clickMain(pressed);
  });
  clickMain(phase.begin);

  EXPECT_TRUE(pressHappened) << "the press came while " << phase.name << " was waiting";
  for (const auto& injected : platform.injected) {
    if (injected.event.action == InputAction::keyDown || injected.event.action == InputAction::keyUp) continue;
    EXPECT_EQ(recordedAt.count({injected.cursor.x, injected.cursor.y}), 1u)
        << "click at " << injected.cursor.x << "," << injected.cursor.y;
  }
  for (std::int32_t i = 1; i <= stepList.stepCount(); ++i) {
    const Step& step = stepList.step(i);
    if (step.isKey == 1) {
      EXPECT_TRUE(step.kind >= StepKind::backspace && step.kind <= StepKind::refresh) << i;
      EXPECT_EQ(step.x, 0);
      EXPECT_EQ(step.y, 0);
    } else {
      EXPECT_EQ(step.isKey, 0) << i;
      EXPECT_TRUE(step.kind >= StepKind::leftClick && step.kind <= StepKind::rightDoubleClick) << i;
      EXPECT_EQ(recordedAt.count({step.x, step.y}), 1u) << i;
    }
  }
  EXPECT_FALSE(stepList.captureInProgress());
  EXPECT_FALSE(inMain(ControlId::self).disabled);
  EXPECT_FALSE(inMain(ControlId::recordClickButton).disabled);
  EXPECT_FALSE(inMain(ControlId::startButton).disabled);
  EXPECT_EQ(inMain(ControlId::self).height, 266);
  EXPECT_EQ(inMain(ControlId::stopButton).left, 240);
  EXPECT_EQ(inMain(ControlId::stopButton).top, 105);
  EXPECT_EQ(inMain(ControlId::stopButton).width, 64);
  EXPECT_EQ(inMain(ControlId::stopButton).height, 40);
  EXPECT_EQ(inMain(ControlId::statusLabel).text, "");
  for (WindowId other : {WindowId::KeyOperationWindow, WindowId::LoopCountWindow,
                         WindowId::RunTimeWindow, WindowId::SupportWindow}) {
    EXPECT_FALSE(backend.isLoaded(other)) << windowName(other);
  }
}

std::vector<Case> allCases() {
  std::vector<Case> cases;
  for (std::size_t phase = 0; phase < std::size(kPhases); ++phase) {
    for (ControlId control : kReachable) cases.emplace_back(phase, control);
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryPhaseAndControl, Reentrancy, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           return std::string(kPhases[param.param.first].name) + "_" +
                                  controlName(param.param.second);
                         });

}  // namespace
