#include "engine/message_pump.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_platform.h"

namespace {

class MessagePump : public ::testing::Test {
 protected:
  FakePlatform platform;
  std::vector<std::int64_t> ranAt;  // virtual ms at which posted actions ran
  void record() { ranAt.push_back(platform.nowMs()); }
};

TEST_F(MessagePump, ZeroOrNegativeWaitReturnsAtOnceWithoutDispatching) {
  for (std::int32_t ms : {0, -5, INT32_MIN}) {
    platform.post([this] { record(); });
    const std::int64_t start = platform.nowUs();
    waitPumping(ms);
    EXPECT_EQ(platform.nowUs(), start) << ms;
    EXPECT_TRUE(ranAt.empty()) << ms;
    EXPECT_EQ(platform.sleeps, 0) << ms;
    pumpPendingMessages();
    ranAt.clear();
  }
}

TEST_F(MessagePump, PositiveWaitDispatchesEverythingUntilItsDeadline) {
  const std::int64_t start = platform.nowMs();
  platform.post([this] { record(); });
  platform.postAfter(100, [this] { record(); });
  platform.postAfter(999, [this] { record(); });
  platform.postAfter(1000, [this] { record(); });
  platform.postAfter(1500, [this] { record(); });

  waitPumping(1000);

  EXPECT_EQ(platform.nowMs(), start + 1000);
  EXPECT_EQ(ranAt, (std::vector<std::int64_t>{start, start + 100, start + 999, start + 1000}));
  EXPECT_LE(platform.sleeps, 5) << "the wait sleeps between messages";
}

TEST_F(MessagePump, WaitNeverEndsBeforeItsDeadlineWhateverTheClockReads) {
  // Where the old 32-bit millisecond tick wrapped (49.7 days) or was reset
  // (0x9FFFFFF0 in 32-bit processes), a wait must last exactly as long.
  const std::int64_t wrapPointsMs[] = {0xFFFFFFFFLL - 500, 0xFFFFFFFFLL, 0x9FFFFFF0LL - 10,
                                       0x9FFFFFF0LL, INT32_MAX - 1LL};
  for (std::int64_t pointMs : wrapPointsMs) {
    platform.setNowUs(pointMs * 1000);
    waitPumping(1000);
    EXPECT_EQ(platform.nowMs(), pointMs + 1000) << std::hex << pointMs;
  }
}

TEST_F(MessagePump, QuitRequestStaysQueuedAndTheWaitStillLasts) {
  const std::int64_t start = platform.nowMs();
  platform.postQuit();
  platform.postAfter(100, [this] { record(); });

  waitPumping(300);

  EXPECT_EQ(platform.nowMs(), start + 300);
  EXPECT_TRUE(platform.quitPending());
  EXPECT_EQ(ranAt, (std::vector<std::int64_t>{start + 100}))
      << "messages posted meanwhile are still dispatched";
  EXPECT_LE(platform.sleeps, 4) << "sleeps on the quit request instead of spinning";
  EXPECT_FALSE(pumpOneMessage()) << "the outer loop then receives the quit request";
}

TEST_F(MessagePump, FlagSetByANestedHandlerIsSeenWhenTheWaitReturns) {
  int stopFlag = 1;
  const std::int64_t start = platform.nowMs();
  platform.postAfter(300, [&] { stopFlag = 0; });
  waitPumping(1000);
  EXPECT_EQ(stopFlag, 0);
  EXPECT_EQ(platform.nowMs(), start + 1000) << "the wait runs to its end";
}

TEST_F(MessagePump, NestedWaitsRunToTheirOwnDeadlines) {
  const std::int64_t start = platform.nowMs();
  platform.postAfter(100, [this] {
    waitPumping(2000);
    record();
  });
  waitPumping(500);
  EXPECT_EQ(ranAt, (std::vector<std::int64_t>{start + 2100}));
  EXPECT_EQ(platform.nowMs(), start + 2100);
  EXPECT_EQ(platform.preciseOnCalls, 1) << "fine timing stays on across nesting";
  EXPECT_FALSE(platform.preciseOn) << "and is given back afterwards";
}

bool takeEverything(const Message&) { return true; }

TEST_F(MessagePump, MessageTakenByThePreTranslateHookIsNotDispatched) {
  platform.post([this] { record(); });
  setPreTranslateHook(takeEverything);
  EXPECT_TRUE(pumpOneMessage());
  EXPECT_TRUE(ranAt.empty());
  EXPECT_EQ(platform.dispatched, 0);
  setPreTranslateHook(nullptr);
}

TEST_F(MessagePump, PumpPendingStopsAtTheQuitRequest) {
  platform.post([this] { record(); });
  platform.post([this] { record(); });
  platform.postQuit();
  pumpPendingMessages();
  EXPECT_EQ(ranAt.size(), 2u);
  EXPECT_TRUE(platform.quitPending());
  EXPECT_FALSE(pumpOneMessage());
  EXPECT_FALSE(platform.quitPending());
}

}  // namespace
