// The recorded macro. One record per step keeps kind, position, delay and key
// flag together, so the lists can never differ in length; a click capture holds
// its kind aside until the position is known.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

enum StepKind : std::int32_t {
  kLeftClick = 0,
  kLeftDoubleClick = 1,
  kRightClick = 2,
  kRightDoubleClick = 3,
  kBackspaceKey = 4,
  kEnterKey = 5,
  kSpaceKey = 6,
  kCopyKeys = 7,
  kPasteKeys = 8,
  kRefreshKey = 9,
};

struct Step {
  std::int32_t kind = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t delay = 0;
  std::int32_t isKey = 0;
};

class StepList {
 public:
  std::int32_t stepCount() const { return static_cast<std::int32_t>(steps_.size()); }

  void beginClickStep(std::int32_t kind);
  void finishClickStep(std::int32_t x, std::int32_t y, std::int32_t delay);
  void appendKeyStep(std::int32_t kind, std::int32_t delay);
  void removeLastStep();
  void clearSteps();
  // Gives the memory back; the list is empty afterwards.
  void release();

  // 1-based; an index outside the list is a fatal fault.
  const Step& step(std::int32_t index) const;

  bool captureInProgress() const { return pendingClickKind_.has_value(); }

 private:
  std::vector<Step> steps_;
  std::optional<std::int32_t> pendingClickKind_;
};

// The process-wide list that recording fills and runs play.
extern StepList stepList;
