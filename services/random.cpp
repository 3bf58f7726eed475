#include "services/random.h"

#include "services/service_backend.h"

namespace {
std::uint32_t seedAccumulator = 0;
}  // namespace

std::int32_t RandomGenerator::next() {
  // rand()'s classic linear congruence; the high bits are the good ones.
  state_ = state_ * 214013u + 2531011u;
  return static_cast<std::int32_t>((state_ >> 16) & static_cast<std::uint32_t>(kMax));
}

RandomGenerator& processRandom() {
  static RandomGenerator generator;
  return generator;
}

void seedRandom() {
  const std::uint32_t seed = serviceBackend().tickCount() + seedAccumulator;
  seedAccumulator += (seed & 0xFFu) + 100u;
  processRandom().seed(seed);
}

std::int32_t randomBetween(std::int32_t low, std::int32_t high) {
  if (low == high) return low;
  if (high < low) {
    const std::int32_t swap = low;
    low = high;
    high = swap;
  }
  // In 64 bits, the span of any two 32-bit bounds fits and so does the sum.
  const std::int64_t span = static_cast<std::int64_t>(high) - low + 1;
  return static_cast<std::int32_t>(low + processRandom().next() % span);
}
