// The engine's narrow view of the platform: a monotonic clock, the thread's
// message queue and synthetic input. The Win32 build installs the real port;
// native tests install a fake with a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/key_codes.h"

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

enum class NextMessage { none, quit, other };

enum class InputAction : std::uint8_t { leftDown, leftUp, rightDown, rightUp, keyDown, keyUp };

struct InputEvent {
  InputAction action;
  KeyCode key;  // key events only
  bool operator==(const InputEvent& other) const {
    return action == other.action && key == other.key;
  }
};

class PlatformPort {
 public:
  virtual ~PlatformPort() = default;

  // Monotonic, never wraps in the life of a process.
  virtual std::int64_t monotonicMicroseconds() = 0;

  // Looks at the head of the queue without removing it.
  virtual NextMessage peekNextMessage() = 0;
  // Takes one message, blocking until there is one, and hands it on: first to
  // the platform's pre-translation, then, unless that took it, to translation
  // and dispatch. False when the message taken was the quit request.
  virtual bool dispatchNextMessage() = 0;
  // Sleeps until a message arrives or the timeout passes. With onlyNew, messages
  // already in the queue do not end the sleep (used while a quit request heads it).
  virtual void sleepUntilMessage(std::int64_t timeoutMicroseconds, bool onlyNew) = 0;
  // Fine-grained timer resolution while at least one wait is in progress.
  virtual void setPreciseTiming(bool on) = 0;

  virtual void setCursorPosition(ScreenPoint point) = 0;
  // Empty when the pointer cannot be read (a secure desktop, a locked workstation).
  virtual std::optional<ScreenPoint> cursorPosition() = 0;
  // All events of one click or chord in one call, so no real input interleaves.
  virtual void sendInput(const InputEvent* events, std::size_t count) = 0;
  // True when the key went down since the previous call for it; a caller that
  // starts watching calls it once and ignores the answer.
  virtual bool keyPressedSinceLastCheck(KeyCode key) = 0;
};

void installPlatformPort(PlatformPort* port);
PlatformPort& platformPort();
