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

TEST_F(MessagePump, DeadlineKeepsEveryBitOfTheClockAndTheWait) {
  // Clock readings and waits whose microseconds need more than 32 bits: a
  // deadline computed in anything narrower ends such a wait early or late.
  const std::int64_t clocksUs[] = {0, (std::int64_t{1} << 32) - 1, (std::int64_t{1} << 40) + 7,
                                   std::int64_t{1} << 62};
  const std::int32_t waitsMs[] = {1, 4295, INT32_MAX};  // 4295 ms is just over 2^32 us
  for (std::int64_t clockUs : clocksUs) {
    for (std::int32_t waitMs : waitsMs) {
      platform.setNowUs(clockUs);
      waitPumping(waitMs);
      EXPECT_EQ(platform.nowUs(), clockUs + std::int64_t{waitMs} * 1000)
          << "clock " << clockUs << " us, wait " << waitMs << " ms";
    }
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
