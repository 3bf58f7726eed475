// Random numbers for the exit draw.
#pragma once

#include <cstdint>

// Seeds from the millisecond tick; two seedings in one millisecond still differ.
void seedRandom();
// A number from low to high, both included; reversed bounds are swapped.
std::int32_t randomBetween(std::int32_t low, std::int32_t high);

// The generator behind both, with the same range (0..32767) on every platform.
class RandomGenerator {
 public:
  static constexpr std::int32_t kMax = 32767;
  void seed(std::uint32_t seed) { state_ = seed; }
  std::int32_t next();

 private:
  std::uint32_t state_ = 1;
};

RandomGenerator& processRandom();
