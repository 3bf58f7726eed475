#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "services/dialogs.h"
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

// The generator's step: rand()'s classic linear congruence, 15 bits out.
std::uint32_t nextState(std::uint32_t state) { return state * 214013u + 2531011u; }
std::int32_t outputOf(std::uint32_t state) { return static_cast<std::int32_t>((state >> 16) & 0x7FFF); }

TEST_F(RandomTest, EqualBoundsGiveThatBoundWithoutDrawing) {
  // Three full-range draws pin the generator's state down (only its low 16
  // bits are unknown after the first); equal bounds after them must not move it.
  std::int32_t drawn[3];
  for (std::int32_t& value : drawn) value = randomBetween(0, 32767);
  EXPECT_EQ(randomBetween(4, 4), 4);
  EXPECT_EQ(randomBetween(-9, -9), -9);
  const std::int32_t next = randomBetween(0, 32767);

  int consistent = 0;
  for (std::uint32_t low = 0; low < 0x10000; ++low) {
    std::uint32_t state = (static_cast<std::uint32_t>(drawn[0]) << 16) | low;
    state = nextState(state);
    if (outputOf(state) != drawn[1]) continue;
    state = nextState(state);
    if (outputOf(state) != drawn[2]) continue;
    ++consistent;
    EXPECT_EQ(outputOf(nextState(state)), next);
  }
  EXPECT_GE(consistent, 1);
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
