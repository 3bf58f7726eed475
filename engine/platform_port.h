// The engine's narrow view of the platform: a monotonic clock, the thread's
// message queue and synthetic input. The Win32 build installs the real port;
// native tests install a fake with a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// A queued window message, carried unchanged between the port and the
// pre-translation hook; the engine itself looks at nothing inside it.
struct Message {
  std::uintptr_t target = 0;  // the platform's window handle
  std::uint32_t id = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::uint32_t time = 0;
  ScreenPoint point;
};

enum class NextMessage { none, quit, other };

enum class InputAction : std::uint8_t { leftDown, leftUp, rightDown, rightUp, keyDown, keyUp };

struct InputEvent {
  InputAction action;
  std::uint8_t virtualKey;  // key events only
  bool operator==(const InputEvent& other) const {
    return action == other.action && virtualKey == other.virtualKey;
  }
};

class PlatformPort {
 public:
  virtual ~PlatformPort() = default;

  // Monotonic, never wraps in the life of a process.
  virtual std::int64_t monotonicMicroseconds() = 0;

  // Looks at the head of the queue without removing it.
  virtual NextMessage peekNextMessage() = 0;
  // Takes one message, blocking until there is one; false when it was the quit request.
  virtual bool getMessage(Message& message) = 0;
  virtual void translateAndDispatch(const Message& message) = 0;
  // Sleeps until a message arrives or the timeout passes. With onlyNew, messages
  // already in the queue do not end the sleep (used while a quit request heads it).
  virtual void sleepUntilMessage(std::int64_t timeoutMicroseconds, bool onlyNew) = 0;
  // Fine-grained timer resolution while at least one wait is in progress.
  virtual void setPreciseTiming(bool on) = 0;

  virtual void setCursorPosition(ScreenPoint point) = 0;
  virtual ScreenPoint cursorPosition() = 0;
  // All events of one click or chord in one call, so no real input interleaves.
  virtual void sendInput(const InputEvent* events, std::size_t count) = 0;
  // True when the key went down since the previous call for it; a caller that
  // starts watching calls it once and ignores the answer.
  virtual bool keyPressedSinceLastCheck(std::uint8_t virtualKey) = 0;
};

void installPlatformPort(PlatformPort* port);
PlatformPort& platformPort();
