// The recorded macro. One record per step keeps kind, position, delay and key
// flag together, so the lists can never differ in length; a click capture holds
// its kind aside until the position is known.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The numbers are the order of the click-type radio buttons (0-3) and 3 plus
// the item of the key-operation list (4-9).
enum class StepKind : std::int32_t {
  leftClick = 0,
  leftDoubleClick = 1,
  rightClick = 2,
  rightDoubleClick = 3,
  backspace = 4,
  enter = 5,
  space = 6,
  copy = 7,
  paste = 8,
  refresh = 9,
};

struct Step {
  StepKind kind = StepKind::leftClick;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t delay = 0;
  bool isKey = false;
};

inline bool operator==(const Step& a, const Step& b) {
  return a.kind == b.kind && a.x == b.x && a.y == b.y && a.delay == b.delay && a.isKey == b.isKey;
}
inline bool operator!=(const Step& a, const Step& b) { return !(a == b); }

class StepList {
 public:
  std::int32_t stepCount() const { return static_cast<std::int32_t>(steps_.size()); }

  void beginClickStep(StepKind kind);
  void finishClickStep(std::int32_t x, std::int32_t y, std::int32_t delay);
  // Drops the kind held aside; nothing is appended.
  void cancelClickStep() { pendingClickKind_.reset(); }
  void appendKeyStep(StepKind kind, std::int32_t delay);
  void removeLastStep();
  void clearSteps();
  // Puts a whole list (an opened file) in place of the current one. Like
  // clearSteps, it leaves a capture in progress alone: its step is appended to
  // the new list when the position arrives.
  void replaceSteps(std::vector<Step> steps);
  // Gives the memory back; the list is empty afterwards.
  void release();

  // 1-based; an index outside the list is a fatal fault.
  const Step& step(std::int32_t index) const;
  // Every step in order, for saving.
  const std::vector<Step>& steps() const { return steps_; }

  // The list as it is now is kept (opened from or saved to a file).
  void markKept() { kept_ = steps_; }
  // Steps that would be lost: the list differs from the one last kept, and
  // is not empty.
  bool hasUnkeptChanges() const { return !steps_.empty() && steps_ != kept_; }

  bool captureInProgress() const { return pendingClickKind_.has_value(); }

 private:
  std::vector<Step> steps_;
  std::vector<Step> kept_;
  std::optional<StepKind> pendingClickKind_;
};

// The process-wide list that recording fills and runs play.
extern StepList stepList;
