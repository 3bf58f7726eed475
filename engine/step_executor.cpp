#include "engine/step_executor.h"

#include <array>

#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "engine/step_list.h"

std::int32_t currentStep = 0;

namespace {

constexpr std::uint8_t kVkBack = 8;
constexpr std::uint8_t kVkReturn = 13;
constexpr std::uint8_t kVkSpace = 32;
constexpr std::uint8_t kVkControl = 17;
constexpr std::uint8_t kVkC = 67;
constexpr std::uint8_t kVkV = 86;
constexpr std::uint8_t kVkF5 = 116;

constexpr InputEvent kLeftDown{InputAction::leftDown, 0};
constexpr InputEvent kLeftUp{InputAction::leftUp, 0};
constexpr InputEvent kRightDown{InputAction::rightDown, 0};
constexpr InputEvent kRightUp{InputAction::rightUp, 0};

}  // namespace

void clickAt(std::int32_t x, std::int32_t y, std::int32_t kind) {
  PlatformPort& port = platformPort();
  port.setCursorPosition(ScreenPoint{x, y});
  // Each click goes out in one batch so real input cannot land in between.
  switch (kind) {
    case kLeftDoubleClick: {
      const std::array<InputEvent, 4> events{kLeftDown, kLeftUp, kLeftDown, kLeftUp};
      port.sendInput(events.data(), events.size());
      break;
    }
    case kRightClick: {
      const std::array<InputEvent, 2> events{kRightDown, kRightUp};
      port.sendInput(events.data(), events.size());
      break;
    }
    case kRightDoubleClick: {
      const std::array<InputEvent, 4> events{kRightDown, kRightUp, kRightDown, kRightUp};
      port.sendInput(events.data(), events.size());
      break;
    }
    default: {
      const std::array<InputEvent, 2> events{kLeftDown, kLeftUp};
      port.sendInput(events.data(), events.size());
      break;
    }
  }
}

void pressKeys(std::uint8_t key1) {
  const std::array<InputEvent, 2> events{InputEvent{InputAction::keyDown, key1},
                                         InputEvent{InputAction::keyUp, key1}};
  platformPort().sendInput(events.data(), events.size());
}

void pressKeys(std::uint8_t key1, std::uint8_t key2) {
  // The first key is released before the second: Ctrl up, then C up.
  const std::array<InputEvent, 4> events{
      InputEvent{InputAction::keyDown, key1}, InputEvent{InputAction::keyDown, key2},
      InputEvent{InputAction::keyUp, key1}, InputEvent{InputAction::keyUp, key2}};
  platformPort().sendInput(events.data(), events.size());
}

void performStep() {
  const std::int32_t index = currentStep;
  // A step removed since the run looked at the list is not performed.
  if (index < 1 || index > stepList.stepCount()) return;
  const Step step = stepList.step(index);
  if (step.isKey == 0) {
    clickAt(step.x, step.y, step.kind);
  } else {
    switch (step.kind) {
      case kBackspaceKey: pressKeys(kVkBack); break;
      case kEnterKey: pressKeys(kVkReturn); break;
      case kSpaceKey: pressKeys(kVkSpace); break;
      case kCopyKeys: pressKeys(kVkControl, kVkC); break;
      case kPasteKeys: pressKeys(kVkControl, kVkV); break;
      default: pressKeys(kVkF5); break;
    }
  }
  waitPumping(step.delay);
}
