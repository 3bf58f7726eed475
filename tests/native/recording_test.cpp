#include "ui/recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "handler_fixture.h"

namespace {

using Log = std::vector<std::string>;

const std::string kCapturePrompt = "MainWindow.statusLabel.caption=请将鼠标悬浮在要记录的位置上";
const std::string kStatusCleared = "MainWindow.statusLabel.caption=";

bool sameStep(const Step& a, const Step& b) {
  return a.kind == b.kind && a.x == b.x && a.y == b.y && a.delay == b.delay && a.isKey == b.isKey;
}

std::vector<Step> allSteps() {
  std::vector<Step> steps;
  for (std::int32_t i = 1; i <= stepList.stepCount(); ++i) steps.push_back(stepList.step(i));
  return steps;
}

class Recording : public HandlerTest {
 protected:
  std::int64_t clickTimed(ControlId control) {
    const std::int64_t began = platform.nowMs();
    EXPECT_TRUE(clickMain(control));
    return platform.nowMs() - began;
  }
};

TEST(DelayValue, TruncatesTowardZeroAndKeepsTheLow32Bits) {
  struct Case {
    const char* text;
    std::int32_t delay;
  };
  const Case cases[] = {
      {"1700", 1700},
      {"1700.9", 1700},
      {"-5", -5},
      {"-5.9", -5},
      {"0.99", 0},
      {"", 0},
      {"abc", 0},
      {"12abc", 12},
      {"4294967297", 1},
      {"2147483648", -2147483647 - 1},
      {"-4294967297", -1},
      {"8589934594.7", 2},
      {"1e3", 1000},
      {"9223372036854774784", -1024},  // 2^63 - 1024, the largest double below 2^63
      {"9223372036854775808", 0},  // 2^63, outside the 64-bit range
      {"-9223372036854775808", 0},  // -2^63, inside, low 32 bits 0
      {"-9223372036854777856", 0},  // below -2^63
      {"1e19", 0},
      {"1e999", 0},
      {"-1e999", 0},
      {"4294971391.5", 4095},  // 2^32 + 4095
  };
  for (const Case& c : cases) {
    EXPECT_EQ(delayValueOf(c.text), c.delay) << '"' << c.text << '"';
  }
}

TEST_F(Recording, RecordClickReadsKindPointerAndDelayAfterTheWait) {
  using C = ControlId;
  struct Case {
    const char* name;
    std::vector<C> radios;
    const char* delayText;
    std::function<void(Recording&)> duringWait;  // runs 1 s into the capture
    std::optional<Step> recorded;
  };
  const Case cases[] = {
      {"no click type", {}, "1700", nullptr, std::nullopt},
      {"left double", {C::leftDoubleRadio}, "1700", nullptr, Step{StepKind::leftDoubleClick, 500, 300, 1700, 0}},
      {"pasted fraction", {C::rightClickRadio}, "1700.9", nullptr, Step{StepKind::rightClick, 500, 300, 1700, 0}},
      {"not a number", {C::leftClickRadio}, "abc", nullptr, Step{StepKind::leftClick, 500, 300, 0, 0}},
      {"first checked radio wins", {C::rightDoubleRadio, C::leftClickRadio}, "10", nullptr,
       Step{StepKind::leftClick, 500, 300, 10, 0}},
      {"edits during the wait count", {C::rightDoubleRadio}, "1700",
       [](Recording& t) {
         t.inMain(C::delayEdit).text = "-5";
         t.platform.cursor = ScreenPoint{7, 8};
       },
       Step{StepKind::rightDoubleClick, 7, 8, -5, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stepList.release();
    for (C radio : {C::leftClickRadio, C::leftDoubleRadio, C::rightClickRadio, C::rightDoubleRadio}) {
      inMain(radio).checked = false;
    }
    for (C radio : c.radios) inMain(radio).checked = true;
    inMain(C::delayEdit).text = c.delayText;
    platform.cursor = ScreenPoint{500, 300};
    if (c.duringWait) platform.postAfter(1000, [this, &c] { c.duringWait(*this); });
    backend.log.clear();

    const std::int64_t took = clickTimed(C::recordClickButton);

    const std::string outcome = c.recorded ? "鼠标点击事件录入成功" : "请先选择点击类型";
    EXPECT_EQ(backend.log, (Log{"MainWindow.recordClickButton.disabled=1", kCapturePrompt,
                                 "MainWindow.statusLabel.caption=" + outcome, kStatusCleared,
                                 "MainWindow.recordClickButton.disabled=0"}));
    EXPECT_EQ(took, c.recorded ? 3000 : 1000);
    ASSERT_EQ(stepList.stepCount(), c.recorded ? 1 : 0);
    if (c.recorded) {
      EXPECT_TRUE(sameStep(stepList.step(1), *c.recorded));
    }
    EXPECT_FALSE(stepList.captureInProgress());
  }
}

TEST_F(Recording, EditsDuringACaptureLeaveAConsistentList) {
  using C = ControlId;
  struct Case {
    const char* name;
    C pressed;
    int before;
    int after;
  };
  const Case cases[] = {
      {"clear", C::clearAllButton, 2, 1},
      {"delete last", C::deleteLastButton, 2, 2},
      {"a run of the list", C::startButton, 2, 3},
      {"a second capture", C::recordClickButton, 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stepList.release();
    for (int i = 0; i < c.before; ++i) addClick(StepKind::leftClick, i, i, 0);
    inMain(C::rightClickRadio).checked = true;
    platform.cursor = ScreenPoint{900, 800};
    bool accepted = false;
    platform.postAfter(500, [&] { accepted = clickMain(c.pressed); });
    // A run moves the pointer; the user brings it back to the target.
    platform.postAfter(1500, [this] { platform.cursor = ScreenPoint{900, 800}; });

    clickTimed(C::recordClickButton);

    EXPECT_EQ(accepted, c.pressed != C::recordClickButton) << "the capture guards itself";
    ASSERT_EQ(stepList.stepCount(), c.after);
    EXPECT_TRUE(sameStep(stepList.step(c.after), Step{StepKind::rightClick, 900, 800, 1700, 0}));
    EXPECT_FALSE(inMain(C::recordClickButton).disabled);
  }
}

TEST_F(Recording, DeleteAndClearFlashTheirMessage) {
  struct Case {
    ControlId button;
    int before;
    int after;
    const char* message;
  };
  const Case cases[] = {
      {ControlId::deleteLastButton, 3, 2, "删除成功"},
      {ControlId::deleteLastButton, 0, 0, "删除成功"},
      {ControlId::clearAllButton, 3, 0, "清空成功"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(controlName(c.button));
    stepList.release();
    for (int i = 1; i <= c.before; ++i) addClick(StepKind::leftClick, i, i, i);
    backend.log.clear();

    EXPECT_EQ(clickTimed(c.button), 1000);

    EXPECT_EQ(backend.log,
              (Log{std::string("MainWindow.statusLabel.caption=") + c.message, kStatusCleared}));
    ASSERT_EQ(stepList.stepCount(), c.after);
    for (int i = 1; i <= c.after; ++i) {
      EXPECT_TRUE(sameStep(stepList.step(i), Step{StepKind::leftClick, i, i, i, 0}));
    }
  }
}

class KeyOperations : public HandlerTest {
 protected:
  FakeServices::Action choose(std::int32_t item) {
    return [this, item] {
      backend.state(WindowId::KeyOperationWindow, ControlId::keyOpCombo).selectedIndex = item;
      EXPECT_TRUE(backend.click(WindowId::KeyOperationWindow, ControlId::keyOpAddButton));
    };
  }
};

TEST_F(KeyOperations, EachItemAddsItsKindOrIsRefused) {
  struct Case {
    std::int32_t item;
    std::optional<StepKind> kind;  // empty: refused
  };
  const Case cases[] = {{-1, std::nullopt},       {0, std::nullopt},        {1, StepKind::backspace},
                        {2, StepKind::enter},     {3, StepKind::space},     {4, StepKind::copy},
                        {5, StepKind::paste},     {6, StepKind::refresh},   {7, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    stepList.release();
    backend.boxes.clear();
    inMain(ControlId::delayEdit).text = "250";
    backend.scriptModal(WindowId::KeyOperationWindow, {choose(c.item)});

    clickMain(ControlId::recordKeyButton);

    ASSERT_EQ(backend.boxes.size(), 1u);
    EXPECT_EQ(backend.boxes[0].caption, "提示");
    if (!c.kind) {
      EXPECT_EQ(backend.boxes[0].text, "请选择正确的键盘操作类型");
      EXPECT_EQ(backend.boxes[0].style, BoxStyle::stop);
      EXPECT_EQ(stepList.stepCount(), 0);
    } else {
      EXPECT_EQ(backend.boxes[0].text, "录入成功");
      EXPECT_EQ(backend.boxes[0].style, BoxStyle::information);
      ASSERT_EQ(stepList.stepCount(), 1);
      EXPECT_TRUE(sameStep(stepList.step(1), Step{*c.kind, 0, 0, 250, 1}));
    }
  }
}

TEST_F(KeyOperations, TheWindowTakesTheMainWindowsPlaceAndGivesItBack) {
  ASSERT_EQ(inMain(ControlId::self).left, 801);
  ASSERT_EQ(inMain(ControlId::self).top, 407);
  backend.scriptModal(
      WindowId::KeyOperationWindow,
      {[this] {
         auto& window = backend.state(WindowId::KeyOperationWindow, ControlId::self);
         EXPECT_EQ(window.left, 801);
         EXPECT_EQ(window.top, 407);
         EXPECT_FALSE(inMain(ControlId::self).visible);
         // The user drags it elsewhere.
         window.left = 100;
         window.top = 50;
       },
       choose(2), choose(5)});

  clickMain(ControlId::recordKeyButton);

  EXPECT_FALSE(backend.isLoaded(WindowId::KeyOperationWindow));
  EXPECT_TRUE(inMain(ControlId::self).visible);
  EXPECT_FALSE(inMain(ControlId::self).disabled);
  EXPECT_EQ(inMain(ControlId::self).left, 100);
  EXPECT_EQ(inMain(ControlId::self).top, 50);
  EXPECT_EQ(allSteps().size(), 2u) << "the window stays open for several key steps";
  EXPECT_TRUE(sameStep(stepList.step(1), Step{StepKind::enter, 0, 0, 1700, 1}));
  EXPECT_TRUE(sameStep(stepList.step(2), Step{StepKind::paste, 0, 0, 1700, 1}));
}

TEST_F(Recording, APointerThatCannotBeReadRecordsNothing) {
  inMain(ControlId::leftClickRadio).checked = true;
  platform.cursorReadFails = true;
  backend.log.clear();

  clickMain(ControlId::recordClickButton);

  EXPECT_EQ(stepList.stepCount(), 0);
  EXPECT_FALSE(stepList.captureInProgress()) << "the pending click kind is dropped";
  EXPECT_EQ(backend.log, (Log{"MainWindow.recordClickButton.disabled=1", kCapturePrompt,
                               "MainWindow.statusLabel.caption=无法读取鼠标位置，未录入",
                               kStatusCleared, "MainWindow.recordClickButton.disabled=0"}));

  // The next capture that can read the pointer records as usual.
  platform.cursorReadFails = false;
  platform.cursor = ScreenPoint{12, 34};
  clickMain(ControlId::recordClickButton);
  ASSERT_EQ(stepList.stepCount(), 1);
  EXPECT_TRUE(sameStep(stepList.step(1), Step{StepKind::leftClick, 12, 34, 1700, 0}));
}

TEST_F(Recording, ASecondQuickClickOnRecordKeyShowsTheKeyWindowOnce) {
  // The second click is already queued when the first one's handler starts
  // loading the window.
  platform.post([this] { clickMain(ControlId::recordKeyButton); });
  backend.log.clear();

  clickMain(ControlId::recordKeyButton);

  EXPECT_EQ(std::count(backend.log.begin(), backend.log.end(), "load KeyOperationWindow"), 1);
  EXPECT_EQ(std::count(backend.log.begin(), backend.log.end(), "MainWindow.self.visible=0"), 1)
      << "created ran once";
  EXPECT_FALSE(backend.isLoaded(WindowId::KeyOperationWindow));
  EXPECT_TRUE(inMain(ControlId::self).visible);
}

}  // namespace
