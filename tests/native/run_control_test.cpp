#include "run/run_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "handler_fixture.h"

namespace {

using Log = std::vector<std::string>;

const char* const kCountPrompt = "请在出现的编辑框中输入您需要循环执行的次数，并按回车提交";
const char* const kTimePrompt =
    "请在出现的编辑框中输入您需要循环执行的时间，并按回车提交\r\n\r\n请您注意：设置值 1000 = 1 秒";

const std::string kCompact = "z stopButton 1";
const std::string kRestore = "z stopButton 2";
const std::string kStartOff = "MainWindow.startButton.disabled=1";
const std::string kStartOn = "MainWindow.startButton.disabled=0";
const std::string kTopOff = "MainWindow.self.alwaysOnTop=0";
const std::string kTopOn = "MainWindow.self.alwaysOnTop=1";
const std::string kTimerStopped = "MainWindow.runTimer.period=0";

Log joined(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Log repeated(const Log& pass, int times) {
  Log all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), pass.begin(), pass.end());
  return all;
}

class RunControl : public HandlerTest {
 protected:
  void check(ControlId box) { inMain(box).checked = true; }
  std::int64_t clickStart() {
    const std::int64_t began = platform.nowMs();
    clickMain(ControlId::startButton);
    return platform.nowMs() - began;
  }
  void expectIdleLayout() {
    EXPECT_EQ(inMain(ControlId::self).height, 266);
    EXPECT_EQ(inMain(ControlId::stopButton).left, 240);
    EXPECT_EQ(inMain(ControlId::stopButton).top, 105);
    EXPECT_FALSE(inMain(ControlId::startButton).disabled);
  }
};

TEST_F(RunControl, SinglePassPlaysEveryStepOnceInOrder) {
  addClick(StepKind::leftClick, 10, 20, 500);
  stepList.appendKeyStep(StepKind::paste, 300);
  addClick(StepKind::rightDoubleClick, 30, 40, 0);
  platform.postAt(platform.nowMs() + 300, [this] {
    EXPECT_TRUE(inMain(ControlId::startButton).disabled) << "start stays disabled while running";
    EXPECT_EQ(inMain(ControlId::self).height, 131) << "compact layout while running";
  });

  const std::int64_t took = clickStart();

  EXPECT_EQ(backend.log, (Log{kCompact, kStartOff, "left@10,20", "key 17+86", "right2@30,40",
                               kRestore, kStartOn}));
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(platform.injected.front().atMs, platform.nowMs() - took + 200) << "settling wait";
  EXPECT_EQ(took, 200 + 500 + 300);
  EXPECT_EQ(runFlag, 1) << "a run that finished leaves the flag set";
  expectIdleLayout();
}

TEST_F(RunControl, EmptyListStartsNothingInAnyMode) {
  for (ControlId box : {ControlId::countModeBox, ControlId::timeModeBox,
                        ControlId::endlessModeBox, ControlId::self}) {
    SCOPED_TRACE(controlName(box));
    for (ControlId mode : {ControlId::countModeBox, ControlId::timeModeBox, ControlId::endlessModeBox}) {
      inMain(mode).checked = mode == box;
    }
    backend.log.clear();
    EXPECT_EQ(clickStart(), 0);
    EXPECT_EQ(backend.log, Log{});
    EXPECT_EQ(runFlag, 0);
  }
}

struct CountCase {
  const char* name;
  std::vector<std::string> entries;
  std::int32_t loopCountBefore;
  int passes;
  bool accepted;
};

TEST_F(RunControl, CountModeAsksForPassesAndPlaysThem) {
  const CountCase cases[] = {
      {"three", {"3"}, 0, 3, true},
      {"zero", {"0"}, 5, 0, true},
      {"empty", {""}, 5, 0, true},
      {"negative stays open", {"-1", "2"}, 5, 2, true},
      {"closed without a value", {"-1"}, 2, 2, false},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    resetProcessState();
    addClick(StepKind::leftClick, 10, 20, 100);
    stepList.appendKeyStep(StepKind::enter, 100);
    loopCount = c.loopCountBefore;
    check(ControlId::countModeBox);
    backend.log.clear();
    backend.boxes.clear();
    backend.scriptEntries(WindowId::LoopCountWindow, c.entries);

    clickStart();

    const Log entry = c.accepted ? Log{kTopOn, "gone LoopCountWindow"}
                                 : Log{"user closes LoopCountWindow", "gone LoopCountWindow"};
    EXPECT_EQ(backend.log,
              joined({{kCompact, kStartOff, kTopOff, "box 提示 64", "load LoopCountWindow"},
                      entry,
                      repeated({"left@10,20", "key 13"}, c.passes),
                      {kRestore, kStartOn}}));
    ASSERT_EQ(backend.boxes.size(), 1u);
    EXPECT_EQ(backend.boxes[0].text, kCountPrompt);
    EXPECT_EQ(loopCount, c.passes);
    EXPECT_FALSE(backend.isLoaded(WindowId::LoopCountWindow));
    expectIdleLayout();
  }
}

TEST_F(RunControl, EntryWindowsRefuseNumbersBeyond32Bits) {
  struct Case {
    const char* typed;
    std::optional<std::int32_t> passes;  // empty: the window stays open
    std::optional<std::int32_t> runMs;
  };
  const Case cases[] = {
      {"2147483647", 2147483647, 2147483647},
      {"2147483648", std::nullopt, std::nullopt},
      {"4294967296", std::nullopt, std::nullopt},
      {"4294967297", std::nullopt, std::nullopt},
      {"99999999999999999999", std::nullopt, std::nullopt},
      {"-2147483648", std::nullopt, std::nullopt},
      {"\xEF\xBC\x91\xEF\xBC\x92", 12, 12},  // full-width 1 and 2
      {"0000000000000000000042", 42, 42},
      {"0", 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    loopCount = 5;
    backend.scriptEntries(WindowId::LoopCountWindow, {c.typed});
    backend.log.clear();
    loadWindow(WindowId::LoopCountWindow, true);
    EXPECT_EQ(loopCount, c.passes.value_or(5));
    EXPECT_EQ(backend.log.front(), "load LoopCountWindow");
    EXPECT_EQ(backend.log.back(), "gone LoopCountWindow");
    EXPECT_EQ(std::count(backend.log.begin(), backend.log.end(), "user closes LoopCountWindow"),
              c.passes ? 0 : 1)
        << "a refused number leaves the window open";

    setProperty(WindowId::MainWindow, ControlId::runTimer, Property::period, 0);
    backend.scriptEntries(WindowId::RunTimeWindow, {c.typed});
    backend.log.clear();
    loadWindow(WindowId::RunTimeWindow, true);
    EXPECT_EQ(inMain(ControlId::runTimer).period, c.runMs.value_or(0));
    EXPECT_EQ(std::count(backend.log.begin(), backend.log.end(), "user closes RunTimeWindow"),
              c.runMs ? 0 : 1);
  }
  setProperty(WindowId::MainWindow, ControlId::runTimer, Property::period, 0);
}

TEST_F(RunControl, TimeModeEndsAtTheFirstStepBoundaryAfterTheTimer) {
  addClick(StepKind::leftClick, 1, 2, 700);
  check(ControlId::timeModeBox);
  backend.scriptEntries(WindowId::RunTimeWindow, {"0", "-3", "5000"});

  const std::int64_t took = clickStart();

  // Enter at 0, passes from 200, the timer at 5000 falls in the wait of the
  // seventh click (4400..5100), which is completed.
  EXPECT_EQ(took, 5100);
  EXPECT_EQ(backend.log,
            joined({{kCompact, kStartOff, kTopOff, "box 提示 64", "load RunTimeWindow",
                     "MainWindow.runTimer.period=5000", kTopOn, "gone RunTimeWindow"},
                    repeated({"left@1,2"}, 7),
                    {kTimerStopped, kRestore, kStartOn}}));
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, kTimePrompt);
  EXPECT_EQ(runFlag, 0);
  EXPECT_EQ(inMain(ControlId::runTimer).period, 0);
}

TEST_F(RunControl, EndlessModeCancelledChangesNothingButAlwaysOnTop) {
  addClick(StepKind::leftClick, 1, 2, 700);
  check(ControlId::endlessModeBox);
  backend.boxAnswers = {kAnswerCancel};

  EXPECT_EQ(clickStart(), 0);

  EXPECT_EQ(backend.log, (Log{kTopOff, "box 警告 49", kTopOn}));
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text,
            "在无限循环模式中，如果您设置的间隔时间太短，可能会导致执行操作无法停止，确定要继续执行吗？"
            "\r\n\r\n您也可以通过强制关机来强制停止，但此方法可能对您的系统有害");
  EXPECT_EQ(dialogAnswer, kAnswerCancel);
  EXPECT_EQ(runFlag, 0);
}

TEST_F(RunControl, StopDuringAWaitLetsThatWaitFinish) {
  addClick(StepKind::leftClick, 1, 1, 1000);
  addClick(StepKind::leftClick, 2, 2, 1000);
  check(ControlId::endlessModeBox);
  // The second click's wait runs from 1200 to 2200.
  clickMainAt(platform.nowMs() + 1700, ControlId::stopButton);

  const std::int64_t took = clickStart();

  EXPECT_EQ(took, 2200);
  EXPECT_EQ(backend.log, (Log{kTopOff, "box 警告 49", kTopOn, kCompact, kStartOff, "left@1,1",
                               "left@2,2", kTimerStopped, kRestore, kStartOn}));
  EXPECT_EQ(runFlag, 0);
  expectIdleLayout();
}

TEST_F(RunControl, ClearingTheListMidRunEndsTheRun) {
  addClick(StepKind::leftClick, 1, 1, 1000);
  addClick(StepKind::leftClick, 2, 2, 1000);
  check(ControlId::endlessModeBox);
  // During the first wait; an endless run of empty passes could never be stopped.
  clickMainAt(platform.nowMs() + 700, ControlId::clearAllButton);

  clickStart();

  EXPECT_EQ(logWithPrefix("left"), Log{"left@1,1"});
  EXPECT_EQ(stepList.stepCount(), 0);
  EXPECT_EQ(runFlag, 0);
  EXPECT_EQ(backend.log.back(), kStartOn);
  expectIdleLayout();
}

TEST_F(RunControl, DeletingMidPassShortensThatPassAndTheNext) {
  addClick(StepKind::leftClick, 1, 1, 500);
  addClick(StepKind::leftClick, 2, 2, 500);
  addClick(StepKind::leftClick, 3, 3, 500);
  check(ControlId::countModeBox);
  backend.scriptEntries(WindowId::LoopCountWindow, {"2"});
  clickMainAt(platform.nowMs() + 500, ControlId::deleteLastButton);

  clickStart();

  EXPECT_EQ(logWithPrefix("left"), (Log{"left@1,1", "left@2,2", "left@1,1", "left@2,2"}));
  expectIdleLayout();
}

TEST_F(RunControl, EscStopsARunWhoseWaitsAreAllZero) {
  addClick(StepKind::leftClick, 1, 1, 0);
  stepList.appendKeyStep(StepKind::space, 0);
  addClick(StepKind::rightClick, 3, 3, 0);
  check(ControlId::endlessModeBox);
  int batches = 0;
  backend.afterInput = [&] {
    if (++batches == 7) platform.pressKey(27);
  };

  EXPECT_EQ(clickStart(), 200);

  EXPECT_EQ(batches, 7) << "the step after the Esc press is not performed";
  EXPECT_EQ(runFlag, 0);
  EXPECT_EQ(logWithPrefix(kTimerStopped), Log{kTimerStopped});
  expectIdleLayout();
}

TEST_F(RunControl, EscBeforeThePassesDoesNotCount) {
  struct Case {
    const char* name;
    ControlId box;
    bool escInEntryWindow;
  };
  const Case cases[] = {
      {"pressed before a single pass", ControlId::self, false},
      {"typed into the entry window", ControlId::countModeBox, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    resetProcessState();
    addClick(StepKind::leftClick, 1, 1, 0);
    addClick(StepKind::leftClick, 2, 2, 0);
    for (ControlId mode : {ControlId::countModeBox, ControlId::timeModeBox, ControlId::endlessModeBox}) {
      inMain(mode).checked = mode == c.box;
    }
    backend.log.clear();
    if (c.escInEntryWindow) {
      backend.scriptModal(WindowId::LoopCountWindow, {[this] {
                             platform.pressKey(27);
                             backend.state(WindowId::LoopCountWindow, ControlId::loopCountEdit).text = "1";
                             backend.pressKey(WindowId::LoopCountWindow, ControlId::loopCountEdit, 13, 0);
                           }});
    } else {
      platform.pressKey(27);
    }

    clickStart();

    EXPECT_EQ(logWithPrefix("left"), (Log{"left@1,1", "left@2,2"}));
    EXPECT_EQ(runFlag, 1);
  }
}

TEST_F(RunControl, ModeBoxesAreExclusiveButMayAllBeOff) {
  struct Case {
    std::vector<ControlId> clicks;
    bool count, time, endless;
  };
  using C = ControlId;
  const Case cases[] = {
      {{C::countModeBox}, true, false, false},
      {{C::countModeBox, C::timeModeBox}, false, true, false},
      {{C::endlessModeBox, C::countModeBox}, true, false, false},
      {{C::timeModeBox, C::endlessModeBox}, false, false, true},
      {{C::timeModeBox, C::timeModeBox}, false, false, false},
  };
  for (const Case& c : cases) {
    for (C box : {C::countModeBox, C::timeModeBox, C::endlessModeBox}) inMain(box).checked = false;
    std::string trace;
    for (C box : c.clicks) {
      trace += std::string(controlName(box)) + " ";
      ASSERT_TRUE(clickMain(box));
    }
    SCOPED_TRACE(trace);
    EXPECT_EQ(inMain(C::countModeBox).checked, c.count);
    EXPECT_EQ(inMain(C::timeModeBox).checked, c.time);
    EXPECT_EQ(inMain(C::endlessModeBox).checked, c.endless);
  }
}

}  // namespace
