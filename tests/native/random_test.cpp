#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "stub_backend.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class RandomTest : public testing::Test {
 protected:
  void SetUp() override {
    backend.tick = 123456;
    installServiceBackend(&backend);
    seedRandom();
  }
  void TearDown() override { installServiceBackend(nullptr); }

  std::set<std::int32_t> drawMany(std::int32_t low, std::int32_t high, int draws = 2000) {
    std::set<std::int32_t> seen;
    for (int i = 0; i < draws; ++i) seen.insert(randomBetween(low, high));
    return seen;
  }

  StubBackend backend;
};

TEST_F(RandomTest, EveryValueOfASmallRangeAppearsAndNothingElse) {
  EXPECT_EQ(drawMany(1, 7), (std::set<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(drawMany(-3, 1), (std::set<std::int32_t>{-3, -2, -1, 0, 1}));
}

TEST_F(RandomTest, ReversedBoundsDrawBetweenTheTwo) {
  EXPECT_EQ(drawMany(7, 1), (std::set<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(RandomTest, ExtremeBoundsStayInRange) {
  for (const auto& [low, high] : std::vector<std::pair<std::int32_t, std::int32_t>>{
           {kMin, kMax}, {kMax, kMin}, {kMax - 1, kMax}, {kMin, kMin + 1}, {0, kMax}}) {
    const std::int32_t lo = low < high ? low : high;
    const std::int32_t hi = low < high ? high : low;
    for (std::int32_t value : drawMany(low, high, 200)) {
      EXPECT_GE(value, lo);
      EXPECT_LE(value, hi);
    }
  }
  EXPECT_EQ(drawMany(kMax - 1, kMax), (std::set<std::int32_t>{kMax - 1, kMax}));
}

TEST_F(RandomTest, EqualBoundsGiveThatBoundWithoutDrawing) {
  processRandom().seed(2024);
  const std::int32_t first = randomBetween(0, 32767);
  const std::int32_t second = randomBetween(0, 32767);

  processRandom().seed(2024);
  EXPECT_EQ(randomBetween(0, 32767), first);
  EXPECT_EQ(randomBetween(4, 4), 4);
  EXPECT_EQ(randomBetween(-9, -9), -9);
  EXPECT_EQ(randomBetween(0, 32767), second) << "the equal bounds drew a number";
}

TEST_F(RandomTest, TheSameSeedGivesTheSameSequenceAndOthersDiffer) {
  auto sequenceOf = [](std::uint32_t seed) {
    processRandom().seed(seed);
    std::vector<std::int32_t> drawn;
    for (int i = 0; i < 16; ++i) drawn.push_back(processRandom().next());
    return drawn;
  };
  EXPECT_EQ(sequenceOf(7), sequenceOf(7));
  EXPECT_EQ(sequenceOf(0xFFFFFFFFu), sequenceOf(0xFFFFFFFFu));
  EXPECT_NE(sequenceOf(7), sequenceOf(8));
  EXPECT_NE(sequenceOf(0), sequenceOf(0x10000));  // seeds that differ only in high bits
}

TEST_F(RandomTest, DrawsSpreadEvenlyOverTheRangeAndDoNotRepeatInPairs) {
  // Chi-square against the uniform distribution, with fixed seeds so the
  // figures are the same on every run; the limits are the 0.1 % points.
  for (std::uint32_t seed : {1u, 123456u, 0xDEADBEEFu}) {
    processRandom().seed(seed);
    constexpr int kDraws = 70000;
    std::vector<int> counts(7, 0);
    std::vector<int> pairs(16, 0);
    std::int32_t previous = randomBetween(0, 3);
    for (int i = 0; i < kDraws; ++i) {
      ++counts[static_cast<std::size_t>(randomBetween(1, 7) - 1)];
      const std::int32_t next = randomBetween(0, 3);
      ++pairs[static_cast<std::size_t>(previous * 4 + next)];
      previous = next;
    }
    auto chiSquare = [](const std::vector<int>& observed, double expected) {
      double sum = 0;
      for (int count : observed) sum += (count - expected) * (count - expected) / expected;
      return sum;
    };
    EXPECT_LT(chiSquare(counts, kDraws / 7.0), 22.46) << "seed " << seed;  // 6 degrees of freedom
    EXPECT_LT(chiSquare(pairs, kDraws / 16.0), 37.70) << "seed " << seed;  // 15 degrees of freedom
  }
}

TEST_F(RandomTest, SeedingTwiceInOneMillisecondGivesADifferentSequence) {
  std::vector<std::int32_t> before;
  for (int i = 0; i < 4; ++i) before.push_back(randomBetween(0, 32767));
  seedRandom();  // the same tick as in SetUp
  std::vector<std::int32_t> after;
  for (int i = 0; i < 4; ++i) after.push_back(randomBetween(0, 32767));
  EXPECT_NE(before, after);
}

}  // namespace
