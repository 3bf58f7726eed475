#include "ui/startup_exit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_services.h"
#include "handler_fixture.h"

namespace {

const char* const kSupportPrompt =
    "来自开发者的一段话：\r\n\r\n尊敬的用户您好，非常开心您可以看到这段话。因为检测到您是Tapvane2的常用用户，"
    "所以把这段话推送给您，多有打扰十分抱歉！相信Tapvane2可以在一定程度上帮助到您解决一些问题。"
    "如果Tapvane2是一款令您满意的产品，您可以选择支持我。\r\n"
    "我是一位正在攒钱买车的奋斗小青年，您的支持是对我莫大的帮助，在此真诚地谢谢您，谢谢！\r\n\r\n\r\n"
    "您要对这位语无伦次的可怜开发者进行赞助吗？点击确定进入赞助界面，点击取消关闭程序";

bool contains(const std::vector<std::string>& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

// One closing of the main window in a fresh process.
struct Closing {
  std::int32_t exitCode = -99;
  std::int32_t draw = 0;
  std::vector<FakeServices::Box> boxes;
  std::vector<std::string> log;
};

Closing closeMainWindow(std::int32_t ticks, std::uint32_t tickCount,
                        std::int32_t answer) {
  resetProcessState();
  LoggingPlatform platform;
  FakeServices backend{platform};
  loadFirstWindow(WindowId::MainWindow);
  usageTicks = ticks;
  backend.tick = tickCount;
  backend.boxAnswers = {answer};
  Closing result;
  try {
    backend.userClose(WindowId::MainWindow);
    ADD_FAILURE() << "closing the main window did not end the process";
  } catch (const TestExit& exit) {
    result.exitCode = exit.code;
  }
  result.draw = exitDraw;
  result.boxes = backend.boxes;
  result.log = backend.log;
  resetProcessState();
  return result;
}

TEST(StartupExit, MainRoutineShowsTheMainWindowCountsSecondsAndEndsWithZero) {
  resetProcessState();
  usageTicks = 42;
  LoggingPlatform platform;
  FakeServices backend{platform};
  int ticksAtClose = -1;
  platform.postAt(platform.nowMs() + 3500, [&] {
    ticksAtClose = usageTicks;
    backend.tick = 1;  // a draw that matters only after 600 seconds
    backend.userClose(WindowId::MainWindow);
  });

  std::int32_t exitCode = -99;
  try {
    mainRoutine();
    ADD_FAILURE() << "the main routine returned";
  } catch (const TestExit& exit) {
    exitCode = exit.code;
  }

  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(backend.initialised);
  ASSERT_FALSE(backend.log.empty());
  EXPECT_EQ(backend.log.front(), "load MainWindow");
  EXPECT_EQ(ticksAtClose, 3) << "counted from 0 at creation, one per second";
  EXPECT_TRUE(backend.boxes.empty());
  resetProcessState();
}

TEST(StartupExit, SupportPromptOnlyAfterTenMinutesAndOnADrawOfSeven) {
  for (std::int32_t ticks : {0, 599, 600, 100000}) {
    SCOPED_TRACE(ticks);
    bool sawSeven = false;
    bool sawOther = false;
    for (std::uint32_t tick = 0; tick < 200 && !(sawSeven && sawOther); ++tick) {
      const Closing closing = closeMainWindow(ticks, tick * 7919u, kAnswerCancel);
      EXPECT_EQ(closing.exitCode, 0);
      ASSERT_GE(closing.draw, 1);
      ASSERT_LE(closing.draw, 7);
      (closing.draw == 7 ? sawSeven : sawOther) = true;
      const bool prompted = ticks >= 600 && closing.draw == 7;
      ASSERT_EQ(closing.boxes.size(), prompted ? 1u : 0u) << "draw " << closing.draw;
      if (prompted) {
        EXPECT_EQ(closing.boxes[0].text, kSupportPrompt);
        EXPECT_EQ(closing.boxes[0].style, BoxStyle::question);
        EXPECT_EQ(closing.boxes[0].caption, "您的意愿");
      }
      EXPECT_FALSE(contains(closing.log, "load SupportWindow")) << "Cancel ends at once";
    }
    EXPECT_TRUE(sawSeven && sawOther) << "both kinds of draw were tried";
  }
}

TEST(StartupExit, OkShowsTheSupportWindowWhoseClosingEndsTheProgram) {
  for (std::uint32_t tick = 0; tick < 200; ++tick) {
    const Closing closing = closeMainWindow(600, tick * 104729u, kAnswerOk);
    if (closing.draw != 7) continue;
    EXPECT_EQ(closing.exitCode, 0);
    ASSERT_EQ(closing.boxes.size(), 1u);
    // The support window is shown modally and ends the program when closed.
    const auto load = std::find(closing.log.begin(), closing.log.end(), "load SupportWindow");
    ASSERT_NE(load, closing.log.end());
    EXPECT_NE(std::find(load, closing.log.end(), "user closes SupportWindow"), closing.log.end());
    return;
  }
  FAIL() << "no draw of 7 in 200 seeds";
}

}  // namespace
