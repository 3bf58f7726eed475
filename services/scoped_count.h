// Counts the scopes of something that is going on, for the handlers that run
// nested inside it and must know (a run, a tour, a message box).
#pragma once

class ScopedCount {
 public:
  explicit ScopedCount(int& count) : count_(count) { ++count_; }
  ~ScopedCount() { --count_; }
  ScopedCount(const ScopedCount&) = delete;
  ScopedCount& operator=(const ScopedCount&) = delete;

 private:
  int& count_;
};
