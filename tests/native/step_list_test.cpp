#include "engine/step_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/fatal_fault.h"

namespace {

struct FaultRaised {};
void throwFault(const char*) { throw FaultRaised{}; }

void expectStep(const StepList& list, std::int32_t index, const Step& expected) {
  const Step& actual = list.step(index);
  EXPECT_EQ(actual.kind, expected.kind) << "step " << index;
  EXPECT_EQ(actual.x, expected.x) << "step " << index;
  EXPECT_EQ(actual.y, expected.y) << "step " << index;
  EXPECT_EQ(actual.delay, expected.delay) << "step " << index;
  EXPECT_EQ(actual.isKey, expected.isKey) << "step " << index;
}

TEST(StepList, ClickStepCountsOnlyOnceItsPositionIsKnown) {
  StepList list;
  EXPECT_EQ(list.stepCount(), 0);
  list.beginClickStep(StepKind::leftDoubleClick);
  EXPECT_EQ(list.stepCount(), 0);
  list.finishClickStep(500, 300, 1700);
  ASSERT_EQ(list.stepCount(), 1);
  expectStep(list, 1, {StepKind::leftDoubleClick, 500, 300, 1700, 0});
}

TEST(StepList, KeyStepStoresOriginAndKeyFlag) {
  StepList list;
  list.appendKeyStep(StepKind::paste, -5);
  ASSERT_EQ(list.stepCount(), 1);
  expectStep(list, 1, {StepKind::paste, 0, 0, -5, 1});
}

TEST(StepList, RemoveLastStepLeavesEarlierStepsUntouched) {
  StepList list;
  list.beginClickStep(StepKind::rightClick);
  list.finishClickStep(10, 20, 30);
  list.beginClickStep(StepKind::leftClick);
  list.finishClickStep(-40, 50, 0);
  list.appendKeyStep(StepKind::enter, 100);

  list.removeLastStep();
  ASSERT_EQ(list.stepCount(), 2);
  expectStep(list, 1, {StepKind::rightClick, 10, 20, 30, 0});
  expectStep(list, 2, {StepKind::leftClick, -40, 50, 0, 0});

  list.removeLastStep();
  list.removeLastStep();
  EXPECT_EQ(list.stepCount(), 0);
  list.removeLastStep();  // on an empty list: nothing happens
  EXPECT_EQ(list.stepCount(), 0);
}

// The capture's kind waits aside during the two-second wait; whatever the
// user does to the list meanwhile cannot pair it with another position.
TEST(StepList, ClearDuringCaptureKeepsTheCapturedKindWithItsPosition) {
  StepList list;
  list.appendKeyStep(StepKind::space, 1);
  list.beginClickStep(StepKind::rightDoubleClick);
  list.clearSteps();
  EXPECT_EQ(list.stepCount(), 0);
  list.finishClickStep(7, 8, 9);
  ASSERT_EQ(list.stepCount(), 1);
  expectStep(list, 1, {StepKind::rightDoubleClick, 7, 8, 9, 0});
}

TEST(StepList, DeleteDuringCaptureRemovesTheOlderStepNotTheCapture) {
  StepList list;
  list.beginClickStep(StepKind::leftClick);
  list.finishClickStep(1, 1, 1);
  list.beginClickStep(StepKind::rightClick);
  list.finishClickStep(2, 2, 2);

  list.beginClickStep(StepKind::leftDoubleClick);
  list.removeLastStep();
  list.finishClickStep(3, 3, 3);

  ASSERT_EQ(list.stepCount(), 2);
  expectStep(list, 1, {StepKind::leftClick, 1, 1, 1, 0});
  expectStep(list, 2, {StepKind::leftDoubleClick, 3, 3, 3, 0});
}

TEST(StepList, KeyStepAddedDuringCaptureKeepsBothKinds) {
  StepList list;
  list.beginClickStep(StepKind::rightClick);
  list.appendKeyStep(StepKind::copy, 5);
  list.finishClickStep(4, 4, 4);
  ASSERT_EQ(list.stepCount(), 2);
  expectStep(list, 1, {StepKind::copy, 0, 0, 5, 1});
  expectStep(list, 2, {StepKind::rightClick, 4, 4, 4, 0});
}

TEST(StepList, ReplaceStepsPutsTheWholeListInPlace) {
  StepList list;
  list.appendKeyStep(StepKind::enter, 1);
  list.appendKeyStep(StepKind::space, 2);
  const std::vector<Step> opened = {{StepKind::rightClick, -1920, 5, 300, false},
                                    {StepKind::refresh, 0, 0, -7, true}};
  list.replaceSteps(opened);
  ASSERT_EQ(list.stepCount(), 2);
  EXPECT_EQ(list.steps(), opened);
  expectStep(list, 1, opened[0]);
  expectStep(list, 2, opened[1]);

  list.replaceSteps({});
  EXPECT_EQ(list.stepCount(), 0);
  EXPECT_TRUE(list.steps().empty());
}

// As with clearing, a capture under way ends up in the list that is current
// when its position arrives.
TEST(StepList, ReplaceDuringCaptureAppendsTheCaptureToTheNewList) {
  StepList list;
  list.appendKeyStep(StepKind::copy, 1);
  list.beginClickStep(StepKind::leftDoubleClick);
  list.replaceSteps({{StepKind::paste, 0, 0, 2, true}});
  EXPECT_TRUE(list.captureInProgress());
  list.finishClickStep(3, 4, 5);
  ASSERT_EQ(list.stepCount(), 2);
  expectStep(list, 1, {StepKind::paste, 0, 0, 2, true});
  expectStep(list, 2, {StepKind::leftDoubleClick, 3, 4, 5, false});
}

TEST(StepList, FinishWithoutBeginAppendsNothing) {
  StepList list;
  list.finishClickStep(1, 2, 3);
  EXPECT_EQ(list.stepCount(), 0);
}

TEST(StepList, ReadingOutsideTheListIsAFatalFault) {
  setFatalFaultHandler(throwFault);
  StepList list;
  list.appendKeyStep(StepKind::enter, 0);
  EXPECT_THROW(list.step(0), FaultRaised);
  EXPECT_THROW(list.step(2), FaultRaised);
  EXPECT_NO_THROW(list.step(1));
  setFatalFaultHandler(nullptr);
}

}  // namespace
