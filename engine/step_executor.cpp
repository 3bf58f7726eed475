#include "engine/step_executor.h"

#include <array>

#include "engine/message_pump.h"
#include "engine/platform_port.h"

std::int32_t currentStep = 0;

namespace {

constexpr InputEvent kLeftDown{InputAction::leftDown, 0};
constexpr InputEvent kLeftUp{InputAction::leftUp, 0};
constexpr InputEvent kRightDown{InputAction::rightDown, 0};
constexpr InputEvent kRightUp{InputAction::rightUp, 0};

template <std::size_t n>
void send(const std::array<InputEvent, n>& events) {
  platformPort().sendInput(events.data(), events.size());
}

}  // namespace

void clickAt(std::int32_t x, std::int32_t y, StepKind kind) {
  platformPort().setCursorPosition(ScreenPoint{x, y});
  // Each click goes out in one batch so real input cannot land in between.
  switch (kind) {
    case StepKind::leftDoubleClick:
      send(std::array{kLeftDown, kLeftUp, kLeftDown, kLeftUp});
      break;
    case StepKind::rightClick:
      send(std::array{kRightDown, kRightUp});
      break;
    case StepKind::rightDoubleClick:
      send(std::array{kRightDown, kRightUp, kRightDown, kRightUp});
      break;
    default:
      send(std::array{kLeftDown, kLeftUp});
      break;
  }
}

void pressKeys(KeyCode key1) {
  send(std::array{InputEvent{InputAction::keyDown, key1}, InputEvent{InputAction::keyUp, key1}});
}

void pressKeys(KeyCode key1, KeyCode key2) {
  // The first key is released before the second: Ctrl up, then C up.
  send(std::array{InputEvent{InputAction::keyDown, key1}, InputEvent{InputAction::keyDown, key2},
                  InputEvent{InputAction::keyUp, key1}, InputEvent{InputAction::keyUp, key2}});
}

void performStep() {
  const std::int32_t index = currentStep;
  // A step removed since the run looked at the list is not performed.
  if (index < 1 || index > stepList.stepCount()) return;
  const Step step = stepList.step(index);
  if (!step.isKey) {
    clickAt(step.x, step.y, step.kind);
  } else {
    switch (step.kind) {
      case StepKind::backspace: pressKeys(kKeyBackspace); break;
      case StepKind::enter: pressKeys(kKeyEnter); break;
      case StepKind::space: pressKeys(kKeySpace); break;
      case StepKind::copy: pressKeys(kKeyControl, kKeyC); break;
      case StepKind::paste: pressKeys(kKeyControl, kKeyV); break;
      default: pressKeys(kKeyF5); break;
    }
  }
  waitPumping(step.delay);
}
