#include "engine/step_list.h"

#include <utility>

#include "engine/fatal_fault.h"

StepList stepList;

void StepList::beginClickStep(StepKind kind) { pendingClickKind_ = kind; }

void StepList::finishClickStep(std::int32_t x, std::int32_t y, std::int32_t delay) {
  // Without a capture in progress there is no kind to pair the position with.
  if (!pendingClickKind_) return;
  steps_.push_back(Step{*pendingClickKind_, x, y, delay, false});
  pendingClickKind_.reset();
}

void StepList::appendKeyStep(StepKind kind, std::int32_t delay) {
  steps_.push_back(Step{kind, 0, 0, delay, true});
}

void StepList::removeLastStep() {
  if (!steps_.empty()) steps_.pop_back();
}

void StepList::clearSteps() { steps_.clear(); }

void StepList::replaceSteps(std::vector<Step> steps) { steps_ = std::move(steps); }

void StepList::release() {
  std::vector<Step>().swap(steps_);
  std::vector<Step>().swap(kept_);
  pendingClickKind_.reset();
}

const Step& StepList::step(std::int32_t index) const {
  if (index < 1 || index > stepCount()) fatalFault("step index outside the step list");
  return steps_[static_cast<std::size_t>(index - 1)];
}
