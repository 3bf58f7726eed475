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
  std::int32_t kind;
  std::vector<InputEvent> expected;
};

TEST_F(StepExecutor, ClickStepsPlaceThePointerThenSendTheirButtonsInOneBatch) {
  const ClickCase cases[] = {
      {kLeftClick, {{A::leftDown, 0}, {A::leftUp, 0}}},
      {kLeftDoubleClick, {{A::leftDown, 0}, {A::leftUp, 0}, {A::leftDown, 0}, {A::leftUp, 0}}},
      {kRightClick, {{A::rightDown, 0}, {A::rightUp, 0}}},
      {kRightDoubleClick,
       {{A::rightDown, 0}, {A::rightUp, 0}, {A::rightDown, 0}, {A::rightUp, 0}}},
      // The key flag decides: a mouse step with a key's kind is a left click.
      {kCopyKeys, {{A::leftDown, 0}, {A::leftUp, 0}}},
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
    EXPECT_EQ(events(), c.expected) << "kind " << c.kind;
    EXPECT_EQ(platform.inputBatches, 1) << "kind " << c.kind;
    for (const auto& injected : platform.injected) {
      EXPECT_EQ(injected.cursor.x, 500);
      EXPECT_EQ(injected.cursor.y, 300);
    }
  }
}

struct KeyCase {
  std::int32_t kind;
  std::vector<InputEvent> expected;
};

TEST_F(StepExecutor, KeyStepsTapTheirKeysAndChordsReleaseCtrlFirst) {
  const KeyCase cases[] = {
      {kBackspaceKey, {{A::keyDown, 8}, {A::keyUp, 8}}},
      {kEnterKey, {{A::keyDown, 13}, {A::keyUp, 13}}},
      {kSpaceKey, {{A::keyDown, 32}, {A::keyUp, 32}}},
      {kCopyKeys, {{A::keyDown, 17}, {A::keyDown, 67}, {A::keyUp, 17}, {A::keyUp, 67}}},
      {kPasteKeys, {{A::keyDown, 17}, {A::keyDown, 86}, {A::keyUp, 17}, {A::keyUp, 86}}},
      {kRefreshKey, {{A::keyDown, 116}, {A::keyUp, 116}}},
      {kLeftClick, {{A::keyDown, 116}, {A::keyUp, 116}}},  // any other kind: F5
  };
  for (const KeyCase& c : cases) {
    stepList.clearSteps();
    platform.injected.clear();
    platform.inputBatches = 0;
    platform.cursor = {42, 43};
    stepList.appendKeyStep(c.kind, 0);
    currentStep = 1;
    performStep();
    EXPECT_EQ(events(), c.expected) << "kind " << c.kind;
    EXPECT_EQ(platform.inputBatches, 1) << "kind " << c.kind;
    EXPECT_EQ(platform.cursor.x, 42) << "a key step leaves the pointer alone";
  }
}

TEST_F(StepExecutor, StepWaitsItsDelayWhileDispatching) {
  stepList.beginClickStep(kLeftClick);
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
  stepList.appendKeyStep(kEnterKey, 0);
  stepList.appendKeyStep(kEnterKey, -5);
  int dispatched = 0;
  platform.post([&] { ++dispatched; });
  const std::int64_t start = platform.nowUs();
  for (currentStep = 1; currentStep <= 2; ++currentStep) performStep();
  EXPECT_EQ(platform.nowUs(), start);
  EXPECT_EQ(dispatched, 0);
  EXPECT_EQ(platform.injected.size(), 4u);
}

TEST_F(StepExecutor, IndexOutsideTheListPerformsNothing) {
  stepList.appendKeyStep(kEnterKey, 0);
  for (std::int32_t index : {0, 2, -1, INT32_MAX}) {
    currentStep = index;
    performStep();
  }
  EXPECT_TRUE(platform.injected.empty());
}

}  // namespace
