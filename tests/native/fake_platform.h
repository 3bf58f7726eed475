// A platform for native tests: a virtual microsecond clock that moves only
// while the engine sleeps, a message queue of scripted actions, and a record
// of injected input with the pointer position at each event.
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
  ~FakePlatform() override {
    installPlatformPort(nullptr);
    setPreTranslateHook(nullptr);
  }
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
  void pressKey(std::uint8_t vk) { pressedKeys_[vk] = true; }

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
    if (++peeksWithoutSleep_ > kSpinLimit) {
      ADD_FAILURE() << "the engine polls the queue without ever sleeping";
      throw SpinDetected{};
    }
    if (!queue_.empty()) return NextMessage::other;
    return quitPending_ ? NextMessage::quit : NextMessage::none;
  }

  bool getMessage(Message& message) override {
    release();
    while (queue_.empty() && !quitPending_) {
      if (scheduled_.empty()) {
        ADD_FAILURE() << "getMessage would block for ever on an empty queue";
        return false;
      }
      nowUs_ = std::max(nowUs_, scheduled_.begin()->first);
      release();
    }
    if (queue_.empty()) {
      quitPending_ = false;
      return false;
    }
    message = Message{};
    message.id = kActionMessage;
    message.wParam = queue_.front();
    queue_.pop_front();
    return true;
  }

  void translateAndDispatch(const Message& message) override {
    ++dispatched;
    auto found = actions_.find(message.wParam);
    if (found == actions_.end()) return;
    std::function<void()> action = std::move(found->second);
    actions_.erase(found);
    action();
  }

  void sleepUntilMessage(std::int64_t timeoutMicroseconds, bool onlyNew) override {
    ++sleeps;
    peeksWithoutSleep_ = 0;
    release();
    if (!onlyNew && !queue_.empty()) return;
    std::int64_t wakeUs = nowUs_ + timeoutMicroseconds;
    if (!scheduled_.empty()) wakeUs = std::min(wakeUs, scheduled_.begin()->first);
    nowUs_ = std::max(nowUs_, wakeUs);
    release();
  }

  void setPreciseTiming(bool on) override {
    if (on) ++preciseOnCalls;
    preciseOn = on;
  }

  void setCursorPosition(ScreenPoint point) override { cursor = point; }
  ScreenPoint cursorPosition() override { return cursor; }

  void sendInput(const InputEvent* events, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) injected.push_back({events[i], cursor, nowMs()});
    ++inputBatches;
  }
  int inputBatches = 0;

  bool keyPressedSinceLastCheck(std::uint8_t virtualKey) override {
    const bool pressed = pressedKeys_[virtualKey];
    pressedKeys_[virtualKey] = false;
    return pressed;
  }

  static constexpr std::uint32_t kActionMessage = 0x8001;

 private:
  struct SpinDetected {};
  static constexpr int kSpinLimit = 1000000;

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
  int peeksWithoutSleep_ = 0;
  std::map<std::uint8_t, bool> pressedKeys_;
};
