// Random numbers: our own generator, so the range of a draw is the same on
// every platform.
#include <cstdint>

#include "services/dialogs.h"
#include "services/service_backend.h"

namespace {

std::uint32_t seedAccumulator = 0;
std::uint32_t generatorState = 1;

// 0..32767.
std::int32_t draw() {
  generatorState = generatorState * 214013u + 2531011u;
  return static_cast<std::int32_t>((generatorState >> 16) & 0x7FFFu);
}

}  // namespace

void seedRandom() {
  // The accumulator makes two seedings within one millisecond differ.
  const std::uint32_t seed = serviceBackend().tickCount() + seedAccumulator;
  seedAccumulator += (seed & 0xFFu) + 100u;
  generatorState = seed;
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
  return static_cast<std::int32_t>(low + draw() % span);
}
