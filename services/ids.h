// The names the handlers and the services share: windows and controls by role
// (handlers never see a window handle), properties, events, and portable
// names for the platform's numbers.
#pragma once

#include <cstdint>

enum class WindowId : std::uint8_t {
  MainWindow,
  KeyOperationWindow,
  LoopCountWindow,
  RunTimeWindow,
  SupportWindow,
};
constexpr int kWindowCount = static_cast<int>(WindowId::SupportWindow) + 1;

enum class ControlId : std::uint8_t {
  self,  // the window itself
  // MainWindow
  usageTimer,
  runTimer,
  statusLabel,
  tutorialButton,
  startButton,
  endlessModeBox,
  timeModeBox,
  countModeBox,
  clearAllButton,
  deleteLastButton,
  recordKeyButton,
  recordClickButton,
  delayEdit,
  rightDoubleRadio,
  rightClickRadio,
  leftDoubleRadio,
  leftClickRadio,
  delayLabel,
  stopButton,
  // KeyOperationWindow
  noteLabel,
  keyOpAddButton,
  keyOpCombo,
  // LoopCountWindow, RunTimeWindow
  loopCountEdit,
  runTimeEdit,
  // SupportWindow
  supportLabel,
  leftPicture,
  rightPicture,
};
constexpr int kControlIdCount = static_cast<int>(ControlId::rightPicture) + 1;

enum class Property : std::uint8_t {
  left,
  top,
  width,
  height,
  visible,
  disabled,
  text,           // edit box
  caption,        // label, button
  checked,        // check box, radio button
  selectedIndex,  // combo box, read only
  alwaysOnTop,    // window
  period,         // timer, milliseconds
};

enum class Event : std::uint8_t { clicked, keyPressed, periodic, created, willBeDestroyed };

// Shift-state bits of keyPressed.
constexpr std::int32_t kShiftCtrl = 1;
constexpr std::int32_t kShiftShift = 2;
constexpr std::int32_t kShiftAlt = 4;

// setZOrder positions.
constexpr std::int32_t kZTop = 1;
constexpr std::int32_t kZBottom = 2;
constexpr std::int32_t kZTopmost = 3;
constexpr std::int32_t kZNotTopmost = 4;

// The same positions as the backends see them, once clamped to 1..4.
enum class ZOrder : std::uint8_t { top, bottom, topmost, notTopmost };

using EventHandler = void (*)();
using KeyHandler = void (*)(std::int32_t keyCode, std::int32_t shiftState);

// Message-box styles, by the handlers' own numbers; each backend turns them
// into its platform's styles.
enum class BoxStyle : std::int32_t {
  stop = 16,         // stop icon, OK
  question = 33,     // question icon, OK and Cancel
  exclamation = 49,  // exclamation icon, OK and Cancel
  information = 64,  // information icon, OK
};

// Message-box answer codes.
constexpr std::int32_t kAnswerOk = 0;
constexpr std::int32_t kAnswerCancel = 1;
constexpr std::int32_t kAnswerAbort = 2;
constexpr std::int32_t kAnswerRetry = 3;
constexpr std::int32_t kAnswerIgnore = 4;
constexpr std::int32_t kAnswerYes = 5;
constexpr std::int32_t kAnswerNo = 6;
