#include "engine/step_executor.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/step_list.h"
#include "fake_platform.h"

namespace {

using A = InputAction;

class StepExecutor : public ::testing::Test {
 protected:
  void SetUp() override { stepList.clearSteps(); }
  void TearDown() override { stepList.clearSteps(); }

  std::vector<InputEvent> events() const {
    std::vector<InputEvent> result;
    for (const auto& injected : platform.injected) result.push_back(injected.event);
    return result;
  }

  FakePlatform platform;
};

struct ClickCase {
  StepKind kind;
  std::vector<InputEvent> expected;
};

TEST_F(StepExecutor, ClickStepsPlaceThePointerThenSendTheirButtonsInOneBatch) {
  const ClickCase cases[] = {
      {StepKind::leftClick, {{A::leftDown, 0}, {A::leftUp, 0}}},
      {StepKind::leftDoubleClick, {{A::leftDown, 0}, {A::leftUp, 0}, {A::leftDown, 0}, {A::leftUp, 0}}},
      {StepKind::rightClick, {{A::rightDown, 0}, {A::rightUp, 0}}},
      {StepKind::rightDoubleClick,
       {{A::rightDown, 0}, {A::rightUp, 0}, {A::rightDown, 0}, {A::rightUp, 0}}},
      // The key flag decides: a mouse step with a key's kind is a left click.
      {StepKind::copy, {{A::leftDown, 0}, {A::leftUp, 0}}},
  };
  for (const ClickCase& c : cases) {
    stepList.clearSteps();
    platform.injected.clear();
    platform.inputBatches = 0;
    platform.cursor = {1, 1};
    stepList.beginClickStep(c.kind);
    stepList.finishClickStep(500, 300, 0);
    currentStep = 1;
    performStep();
    EXPECT_EQ(events(), c.expected) << "kind " << static_cast<int>(c.kind);
    EXPECT_EQ(platform.inputBatches, 1) << "kind " << static_cast<int>(c.kind);
    for (const auto& injected : platform.injected) {
      EXPECT_EQ(injected.cursor.x, 500);
      EXPECT_EQ(injected.cursor.y, 300);
    }
  }
}

struct KeyCase {
  StepKind kind;
  std::vector<InputEvent> expected;
};

TEST_F(StepExecutor, KeyStepsTapTheirKeysAndChordsReleaseCtrlFirst) {
  const KeyCase cases[] = {
      {StepKind::backspace, {{A::keyDown, 8}, {A::keyUp, 8}}},
      {StepKind::enter, {{A::keyDown, 13}, {A::keyUp, 13}}},
      {StepKind::space, {{A::keyDown, 32}, {A::keyUp, 32}}},
      {StepKind::copy, {{A::keyDown, 17}, {A::keyDown, 67}, {A::keyUp, 17}, {A::keyUp, 67}}},
      {StepKind::paste, {{A::keyDown, 17}, {A::keyDown, 86}, {A::keyUp, 17}, {A::keyUp, 86}}},
      {StepKind::refresh, {{A::keyDown, 116}, {A::keyUp, 116}}},
      {StepKind::leftClick, {{A::keyDown, 116}, {A::keyUp, 116}}},  // any other kind: F5
  };
  for (const KeyCase& c : cases) {
    stepList.clearSteps();
    platform.injected.clear();
    platform.inputBatches = 0;
    platform.cursor = {42, 43};
    stepList.appendKeyStep(c.kind, 0);
    currentStep = 1;
    performStep();
    EXPECT_EQ(events(), c.expected) << "kind " << static_cast<int>(c.kind);
    EXPECT_EQ(platform.inputBatches, 1) << "kind " << static_cast<int>(c.kind);
    EXPECT_EQ(platform.cursor.x, 42) << "a key step leaves the pointer alone";
  }
}

TEST_F(StepExecutor, StepWaitsItsDelayWhileDispatching) {
  stepList.beginClickStep(StepKind::leftClick);
  stepList.finishClickStep(0, 0, 250);
  int dispatchedDuringWait = 0;
  platform.postAfter(100, [&] { ++dispatchedDuringWait; });
  const std::int64_t start = platform.nowMs();
  currentStep = 1;
  performStep();
  EXPECT_EQ(platform.nowMs(), start + 250);
  EXPECT_EQ(dispatchedDuringWait, 1);
  EXPECT_EQ(platform.injected.front().atMs, start) << "input goes out before the wait";
}

TEST_F(StepExecutor, StepWithoutPositiveDelayReturnsAtOnceWithoutDispatching) {
  stepList.appendKeyStep(StepKind::enter, 0);
  stepList.appendKeyStep(StepKind::enter, -5);
  int dispatched = 0;
  platform.post([&] { ++dispatched; });
  const std::int64_t start = platform.nowUs();
  for (currentStep = 1; currentStep <= 2; ++currentStep) performStep();
  EXPECT_EQ(platform.nowUs(), start);
  EXPECT_EQ(dispatched, 0);
  EXPECT_EQ(platform.injected.size(), 4u);
}

TEST_F(StepExecutor, IndexOutsideTheListPerformsNothing) {
  stepList.appendKeyStep(StepKind::enter, 0);
  for (std::int32_t index : {0, 2, -1, INT32_MAX}) {
    currentStep = index;
    performStep();
  }
  EXPECT_TRUE(platform.injected.empty());
}

}  // namespace
