#include "ui/recording.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "engine/step_list.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/window_service.h"
#include "ui/status_band.h"

namespace {

constexpr std::int32_t kCaptureMs = 2000;
// Key kinds follow the combo's items: item 1 is Backspace (kind 4) ... item 6 F5 (kind 9).
constexpr std::int32_t kFirstKeyItem = 1;
constexpr std::int32_t kLastKeyItem = 6;
constexpr std::int32_t kKindOfItemOffset = static_cast<std::int32_t>(StepKind::backspace) - kFirstKeyItem;
static_assert(kLastKeyItem + kKindOfItemOffset == static_cast<std::int32_t>(StepKind::refresh),
              "the last key item is F5");

constexpr WindowId kMain = WindowId::MainWindow;

void setRecordClickEnabled(bool enabled) {
  setEnabled(kMain, ControlId::recordClickButton, enabled);
}

// Empty when no click type is chosen.
std::optional<StepKind> chosenClickKind() {
  struct Choice {
    ControlId radio;
    StepKind kind;
  };
  static constexpr Choice kChoices[] = {
      {ControlId::leftClickRadio, StepKind::leftClick},
      {ControlId::leftDoubleRadio, StepKind::leftDoubleClick},
      {ControlId::rightClickRadio, StepKind::rightClick},
      {ControlId::rightDoubleRadio, StepKind::rightDoubleClick},
  };
  for (const Choice& choice : kChoices) {
    if (isChecked(kMain, choice.radio)) return choice.kind;
  }
  return std::nullopt;
}

std::int32_t currentDelay() {
  return delayValueOf(getTextProperty(WindowId::MainWindow, ControlId::delayEdit, Property::text));
}

}  // namespace

std::int32_t delayValueOf(std::string_view text) {
  const double number = std::trunc(textToNumber(text));
  // -2^63 and 2^63 are exact doubles; NaN fails both comparisons.
  constexpr double kLowest = -9223372036854775808.0;
  constexpr double kBeyondHighest = 9223372036854775808.0;
  if (!(number >= kLowest && number < kBeyondHighest)) return 0;
  const auto wide = static_cast<std::int64_t>(number);
  // The low 32 bits, read as a signed value.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

void onRecordClickButtonClicked() {
  // Disabled until the end, so one capture cannot start inside another.
  setRecordClickEnabled(false);
  setStatus("请将鼠标悬浮在要记录的位置上");
  const std::optional<StepKind> kind = chosenClickKind();
  if (!kind) {
    flashStatus("请先选择点击类型");
    setRecordClickEnabled(true);
    return;
  }
  stepList.beginClickStep(*kind);
  waitPumping(kCaptureMs);
  // One read gives x and y of the same moment.
  const std::optional<ScreenPoint> pointer = platformPort().cursorPosition();
  if (pointer) {
    // Read after the wait: an edit made meanwhile counts.
    stepList.finishClickStep(pointer->x, pointer->y, currentDelay());
    flashStatus("鼠标点击事件录入成功");
  } else {
    // A locked workstation or a secure desktop hides the pointer; a step at
    // (0, 0) would be one nobody chose.
    stepList.cancelClickStep();
    flashStatus("无法读取鼠标位置，未录入");
  }
  setRecordClickEnabled(true);
}

void onRecordKeyButtonClicked() { loadWindow(WindowId::KeyOperationWindow, true); }

void onDeleteLastButtonClicked() {
  stepList.removeLastStep();
  flashStatus("删除成功");
}

void onClearAllButtonClicked() {
  stepList.clearSteps();
  flashStatus("清空成功");
}

void onKeyOperationWindowCreated() {
  // Take the main window's place on the screen while it is hidden.
  const std::int32_t left = getProperty(WindowId::MainWindow, ControlId::self, Property::left);
  const std::int32_t top = getProperty(WindowId::MainWindow, ControlId::self, Property::top);
  setProperty(WindowId::KeyOperationWindow, ControlId::self, Property::left, left);
  setProperty(WindowId::KeyOperationWindow, ControlId::self, Property::top, top);
  setProperty(WindowId::MainWindow, ControlId::self, Property::visible, 0);
}

void onKeyOperationWindowWillBeDestroyed() {
  // The main window comes back wherever the user left this one.
  const std::int32_t top = getProperty(WindowId::KeyOperationWindow, ControlId::self, Property::top);
  const std::int32_t left =
      getProperty(WindowId::KeyOperationWindow, ControlId::self, Property::left);
  setProperty(WindowId::MainWindow, ControlId::self, Property::top, top);
  setProperty(WindowId::MainWindow, ControlId::self, Property::left, left);
  setProperty(WindowId::MainWindow, ControlId::self, Property::visible, 1);
}

void onKeyOpAddButtonClicked() {
  const std::int32_t item =
      getProperty(WindowId::KeyOperationWindow, ControlId::keyOpCombo, Property::selectedIndex);
  if (item < kFirstKeyItem || item > kLastKeyItem) {
    showMessageBox("请选择正确的键盘操作类型", BoxStyle::stop, "提示");
    return;
  }
  // The delay box is hidden now but keeps its text.
  stepList.appendKeyStep(static_cast<StepKind>(item + kKindOfItemOffset), currentDelay());
  showMessageBox("录入成功", BoxStyle::information, "提示");
}
