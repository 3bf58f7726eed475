// A platform for native tests: a virtual microsecond clock that moves only
// while the engine sleeps, a message queue of scripted actions that behaves
// like the thread's real queue, and a record of injected input with the
// pointer position at each event.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "engine/message_pump.h"
#include "engine/platform_port.h"

class FakePlatform : public PlatformPort {
 public:
  struct Injected {
    InputEvent event;
    ScreenPoint cursor;
    std::int64_t atMs;
  };

  FakePlatform() { installPlatformPort(this); }
  ~FakePlatform() override { installPlatformPort(nullptr); }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  std::int64_t nowMs() const { return nowUs_ / 1000; }
  std::int64_t nowUs() const { return nowUs_; }
  void setNowUs(std::int64_t us) { nowUs_ = us; }

  // An action that runs when its message is dispatched, queued now.
  void post(std::function<void()> action) { queue_.push_back(store(std::move(action))); }
  // Queued when the virtual clock reaches atMs (absolute).
  void postAt(std::int64_t atMs, std::function<void()> action) {
    scheduled_.emplace(atMs * 1000, store(std::move(action)));
  }
  void postAfter(std::int64_t ms, std::function<void()> action) {
    postAt(nowMs() + ms, std::move(action));
  }
  // Like a posted quit request: taken only when nothing else is queued.
  void postQuit() { quitPending_ = true; }
  bool quitPending() const { return quitPending_; }
  std::size_t queuedCount() const { return queue_.size(); }

  // Makes the next keyPressedSinceLastCheck for vk answer true.
  void pressKey(KeyCode key) { pressedKeys_[key] = true; }

  std::vector<Injected> injected;
  ScreenPoint cursor;
  int dispatched = 0;
  int sleeps = 0;
  int preciseOnCalls = 0;
  bool preciseOn = false;

  // PlatformPort
  std::int64_t monotonicMicroseconds() override { return nowUs_; }

  NextMessage peekNextMessage() override {
    release();
    noteIdleLook();
    if (!queue_.empty()) return NextMessage::other;
    return quitPending_ ? NextMessage::quit : NextMessage::none;
  }

  bool dispatchNextMessage() override {
    release();
    while (queue_.empty() && !quitPending_) {
      if (scheduled_.empty()) {
        ADD_FAILURE() << "the message pump would block for ever on an empty queue";
        return false;
      }
      advanceTo(scheduled_.begin()->first);
    }
    // As on the platform, the quit request comes only after every other message.
    if (queue_.empty()) {
      quitPending_ = false;
      return false;
    }
    const std::uintptr_t id = queue_.front();
    queue_.pop_front();
    ++dispatched;
    idleLooks_ = 0;
    auto found = actions_.find(id);
    if (found == actions_.end()) return true;
    std::function<void()> action = std::move(found->second);
    actions_.erase(found);
    action();
    return true;
  }

  // Like MsgWaitForMultipleObjectsEx: without onlyNew, anything already queued
  // (a quit request too) ends the sleep at once; with onlyNew, only messages
  // that arrive while it sleeps do. The clock moves only while it sleeps.
  void sleepUntilMessage(std::int64_t timeoutMicroseconds, bool onlyNew) override {
    ++sleeps;
    release();
    if (!onlyNew && (!queue_.empty() || quitPending_)) return;
    std::int64_t wakeUs = nowUs_ + timeoutMicroseconds;
    if (!scheduled_.empty()) wakeUs = std::min(wakeUs, scheduled_.begin()->first);
    advanceTo(wakeUs);
  }

  void setPreciseTiming(bool on) override {
    if (on) ++preciseOnCalls;
    preciseOn = on;
  }

  void setCursorPosition(ScreenPoint point) override { cursor = point; }
  std::optional<ScreenPoint> cursorPosition() override {
    if (cursorReadFails) return std::nullopt;
    return cursor;
  }
  bool cursorReadFails = false;

  void sendInput(const InputEvent* events, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) injected.push_back({events[i], cursor, nowMs()});
    ++inputBatches;
  }
  int inputBatches = 0;

  bool keyPressedSinceLastCheck(KeyCode key) override {
    const bool pressed = pressedKeys_[key];
    pressedKeys_[key] = false;
    return pressed;
  }

 private:
  struct SpinDetected {};
  // Looks at the queue that find nothing new while the clock stands still:
  // on a real system such a loop burns a processor.
  static constexpr int kSpinLimit = 100000;

  void noteIdleLook() {
    if (++idleLooks_ > kSpinLimit) {
      ADD_FAILURE() << "the engine polls the queue without ever sleeping";
      throw SpinDetected{};
    }
  }
  void advanceTo(std::int64_t us) {
    if (us > nowUs_) {
      nowUs_ = us;
      idleLooks_ = 0;
    }
    release();
  }

  std::uintptr_t store(std::function<void()> action) {
    actions_.emplace(++lastAction_, std::move(action));
    return lastAction_;
  }
  void release() {
    while (!scheduled_.empty() && scheduled_.begin()->first <= nowUs_) {
      queue_.push_back(scheduled_.begin()->second);
      scheduled_.erase(scheduled_.begin());
    }
  }

  std::int64_t nowUs_ = 1'000'000;
  std::deque<std::uintptr_t> queue_;
  std::multimap<std::int64_t, std::uintptr_t> scheduled_;
  std::map<std::uintptr_t, std::function<void()>> actions_;
  std::uintptr_t lastAction_ = 0;
  bool quitPending_ = false;
  int idleLooks_ = 0;
  std::map<KeyCode, bool> pressedKeys_;
};
