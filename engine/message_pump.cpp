#include "engine/message_pump.h"

#include "engine/platform_port.h"

namespace {

// Keeps the fine timer resolution on while any wait, however nested, runs.
class PreciseTimingScope {
 public:
  PreciseTimingScope() {
    if (depth_++ == 0) platformPort().setPreciseTiming(true);
  }
  ~PreciseTimingScope() {
    if (--depth_ == 0) platformPort().setPreciseTiming(false);
  }
  PreciseTimingScope(const PreciseTimingScope&) = delete;
  PreciseTimingScope& operator=(const PreciseTimingScope&) = delete;

 private:
  static inline int depth_ = 0;
};

// Dispatches until the queue is empty or a quit request heads it; says which.
NextMessage pumpUntilIdle(PlatformPort& port) {
  for (;;) {
    const NextMessage next = port.peekNextMessage();
    if (next != NextMessage::other) return next;
    port.dispatchNextMessage();
  }
}

}  // namespace

bool pumpOneMessage() { return platformPort().dispatchNextMessage(); }

void pumpPendingMessages() { pumpUntilIdle(platformPort()); }

void waitPumping(std::int32_t ms) {
  if (ms <= 0) return;
  PlatformPort& port = platformPort();
  PreciseTimingScope precise;
  // Microseconds in 64 bits from the start: no wrap in the life of any process.
  const std::int64_t deadline = port.monotonicMicroseconds() + std::int64_t{ms} * 1000;
  for (;;) {
    const NextMessage next = pumpUntilIdle(port);
    const std::int64_t now = port.monotonicMicroseconds();
    if (now >= deadline) return;
    // A quit request at the head stays there for the outer loop; sleep past it
    // and wake only for messages that arrive after it.
    port.sleepUntilMessage(deadline - now, next == NextMessage::quit);
  }
}
