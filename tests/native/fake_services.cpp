#include "fake_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/message_pump.h"
#include "services/window_lifecycle.h"
#include "ui/window_definitions.h"

namespace {

const char* propertyName(Property property) {
  switch (property) {
    case Property::left: return "left";
    case Property::top: return "top";
    case Property::width: return "width";
    case Property::height: return "height";
    case Property::visible: return "visible";
    case Property::disabled: return "disabled";
    case Property::text: return "text";
    case Property::caption: return "caption";
    case Property::checked: return "checked";
    case Property::selectedIndex: return "selectedIndex";
    case Property::alwaysOnTop: return "alwaysOnTop";
    case Property::period: return "period";
  }
  return "?";
}

bool isGeometry(Property property) {
  return property == Property::left || property == Property::top ||
         property == Property::width || property == Property::height;
}

std::string writeEntry(WindowId window, ControlId control, Property property,
                       const std::string& value) {
  return std::string(windowName(window)) + "." + controlName(control) + "." +
         propertyName(property) + "=" + value;
}

}  // namespace

const char* windowName(WindowId window) {
  switch (window) {
    case WindowId::MainWindow: return "MainWindow";
    case WindowId::KeyOperationWindow: return "KeyOperationWindow";
    case WindowId::LoopCountWindow: return "LoopCountWindow";
    case WindowId::RunTimeWindow: return "RunTimeWindow";
    case WindowId::SupportWindow: return "SupportWindow";
  }
  return "?";
}

const char* controlName(ControlId control) {
  // Indexed by ControlId.
  static constexpr const char* kNames[] = {
      "self", "usageTimer", "runTimer", "statusLabel", "tutorialButton", "startButton",
      "endlessModeBox", "timeModeBox", "countModeBox", "clearAllButton", "deleteLastButton",
      "recordKeyButton", "recordClickButton", "delayEdit", "rightDoubleRadio", "rightClickRadio",
      "leftDoubleRadio", "leftClickRadio", "delayLabel", "stopButton", "noteLabel",
      "keyOpAddButton", "keyOpCombo", "loopCountEdit", "runTimeEdit", "supportLabel",
      "leftPicture", "rightPicture",
  };
  static_assert(std::size(kNames) == kControlIdCount, "a name for every control id");
  const auto index = static_cast<std::size_t>(control);
  return index < std::size(kNames) ? kNames[index] : "?";
}

FakeServices::FakeServices(LoggingPlatform& platform) : platform_(platform) {
  forgetAllWindows();
  installServiceBackend(this);
  installWindowDefinitions(&programWindowDefinition);
  platform_.onInput = [this](const InputEvent* events, std::size_t count) {
    logInput(events, count);
    if (afterInput) afterInput();
  };
}

FakeServices::~FakeServices() {
  platform_.onInput = nullptr;
  forgetAllWindows();
  installServiceBackend(nullptr);
  installWindowDefinitions(nullptr);
}

void FakeServices::scriptModal(WindowId id, std::vector<Action> actions) {
  scripts_[id].push_back(std::move(actions));
}

void FakeServices::scriptEntries(WindowId id, const std::vector<std::string>& texts) {
  const ControlId edit =
      id == WindowId::LoopCountWindow ? ControlId::loopCountEdit : ControlId::runTimeEdit;
  std::vector<Action> actions;
  for (const std::string& text : texts) {
    actions.push_back([this, id, edit, text] {
      state(id, edit).text = text;
      pressKey(id, edit, 13, 0);
    });
  }
  scriptModal(id, std::move(actions));
}

bool FakeServices::click(WindowId id, ControlId control) {
  ControlState* target = loadedControl(id, control, "click");
  if (target == nullptr) return false;
  const ControlState& self = window(id).controls.at(ControlId::self);
  if (self.disabled || target->disabled || !target->visible || !self.visible) return false;
  if (target->kind == ControlKind::checkBox) {
    target->checked = !target->checked;
  } else if (target->kind == ControlKind::radioButton) {
    for (auto& [role, other] : window(id).controls) {
      if (other.kind == ControlKind::radioButton) other.checked = role == control;
    }
  }
  raiseEvent(id, control, Event::clicked);
  return true;
}

void FakeServices::pressKey(WindowId id, ControlId control, std::int32_t keyCode,
                            std::int32_t shiftState) {
  if (loadedControl(id, control, "key press") == nullptr) return;
  if (window(id).controls.at(ControlId::self).disabled) return;
  raiseKeyPressed(id, control, keyCode, shiftState);
}

void FakeServices::userClose(WindowId id) {
  log.push_back(std::string("user closes ") + windowName(id));
  userClosedWindow(id);
}

bool FakeServices::isLoaded(WindowId id) const { return isWindowLoaded(id) && window(id).exists; }

FakeServices::ControlState& FakeServices::state(WindowId id, ControlId control) {
  auto found = window(id).controls.find(control);
  if (found == window(id).controls.end()) {
    ADD_FAILURE() << windowName(id) << " has no " << controlName(control);
    static ControlState nothing;
    return nothing;
  }
  return found->second;
}

FakeServices::ControlState* FakeServices::loadedControl(WindowId id, ControlId control,
                                                        const char* what) {
  WindowState& target = window(id);
  if (!target.exists) {
    ADD_FAILURE() << what << " on " << windowName(id) << "." << controlName(control)
                  << " while the window does not exist";
    return nullptr;
  }
  auto found = target.controls.find(control);
  if (found == target.controls.end()) {
    ADD_FAILURE() << what << ": " << windowName(id) << " has no " << controlName(control);
    return nullptr;
  }
  return &found->second;
}

bool FakeServices::createWindow(WindowId id, bool modal) {
  const WindowDefinition& definition = windowDefinition(id);
  WindowState& created = window(id);
  created = WindowState{};
  created.exists = true;
  created.modal = modal;
  created.alwaysOnTop = definition.alwaysOnTop;
  created.showing = ++lastShowing_;
  ControlState self;
  self.left = (kScreenWidth - definition.width) / 2;
  self.top = (kScreenHeight - definition.height) / 2;
  self.width = definition.width;
  self.height = definition.height;
  self.visible = false;
  self.text = definition.caption != nullptr ? definition.caption : "";
  created.controls[ControlId::self] = self;
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    const ControlDefinition& row = definition.controls[i];
    ControlState control;
    control.kind = row.kind;
    control.left = row.left;
    control.top = row.top;
    control.width = row.width;
    control.height = row.height;
    control.text = row.text != nullptr ? row.text : "";
    control.checked = (row.flags & kChecked) != 0;
    control.selectedIndex = row.kind == ControlKind::comboBox ? 0 : -1;
    created.controls[row.role] = control;
  }
  // Timers with a period in the data run from creation.
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    const ControlDefinition& row = definition.controls[i];
    if (row.kind == ControlKind::timer && row.period > 0) {
      ControlState& timer = created.controls[row.role];
      timer.period = row.period;
      timer.timerGeneration = ++lastGeneration_;
      scheduleTick(id, row.role, timer.timerGeneration, row.period);
    }
  }
  log.push_back(std::string("load ") + windowName(id));
  return true;
}

void FakeServices::showWindow(WindowId id) {
  WindowState& shown = window(id);
  if (!shown.exists) return;
  shown.controls.at(ControlId::self).visible = true;
  if (!shown.modal) return;
  // The user's part in a modal window: its script, then the close box.
  std::vector<Action> actions;
  auto script = scripts_.find(id);
  if (script != scripts_.end() && !script->second.empty()) {
    actions = std::move(script->second.front());
    script->second.pop_front();
  }
  playScriptStep(id, std::make_shared<std::vector<Action>>(std::move(actions)), 0, shown.showing);
}

bool FakeServices::isWindowEnabled(WindowId id) {
  return window(id).exists && !window(id).controls.at(ControlId::self).disabled;
}

void FakeServices::enableWindow(WindowId id, bool enabled) {
  if (window(id).exists) window(id).controls.at(ControlId::self).disabled = !enabled;
}

void FakeServices::destroyWindow(WindowId id) {
  if (!window(id).exists) return;
  // Still there while its handler runs: it may read and write properties.
  raiseEvent(id, ControlId::self, Event::willBeDestroyed);
  window(id).exists = false;
  log.push_back(std::string("gone ") + windowName(id));
  windowGone(id);
}

void FakeServices::postClose(WindowId id) {
  const std::uint64_t showing = window(id).showing;
  platform_.post([this, id, showing] {
    if (window(id).exists && window(id).showing == showing) pendingCloseDue(id);
  });
}

void FakeServices::scheduleTick(WindowId id, ControlId control, std::uint64_t generation,
                                std::int32_t period) {
  const std::uint64_t showing = window(id).showing;
  platform_.postAfter(period, [this, id, control, generation, period, showing] {
    if (!isLoaded(id) || window(id).showing != showing) return;
    if (state(id, control).timerGeneration != generation) return;
    raiseEvent(id, control, Event::periodic);
    if (isLoaded(id) && window(id).showing == showing &&
        state(id, control).timerGeneration == generation) {
      scheduleTick(id, control, generation, period);
    }
  });
}

void FakeServices::playScriptStep(WindowId id, std::shared_ptr<std::vector<Action>> actions,
                                  std::size_t next, std::uint64_t showing) {
  platform_.post([this, id, actions, next, showing] {
    if (!isLoaded(id) || window(id).showing != showing) return;
    if (next < actions->size()) {
      (*actions)[next]();
      playScriptStep(id, actions, next + 1, showing);
    } else {
      userClose(id);
    }
  });
}

std::int32_t FakeServices::getProperty(WindowId id, ControlId control, Property property) {
  const ControlState* read = loadedControl(id, control, "getProperty");
  if (read == nullptr) return 0;
  switch (property) {
    case Property::left: return read->left;
    case Property::top: return read->top;
    case Property::width: return read->width;
    case Property::height: return read->height;
    case Property::visible: return read->visible ? 1 : 0;
    case Property::disabled: return read->disabled ? 1 : 0;
    case Property::checked: return read->checked ? 1 : 0;
    case Property::selectedIndex: return read->selectedIndex;
    case Property::alwaysOnTop: return window(id).alwaysOnTop ? 1 : 0;
    case Property::period: return read->period;
    case Property::text:
    case Property::caption: break;
  }
  ADD_FAILURE() << "integer read of a text property";
  return 0;
}

std::string FakeServices::getTextProperty(WindowId id, ControlId control, Property property) {
  const ControlState* read = loadedControl(id, control, "getTextProperty");
  if (read == nullptr) return {};
  if (property != Property::text && property != Property::caption) {
    ADD_FAILURE() << "text read of " << propertyName(property);
    return {};
  }
  return read->text;
}

void FakeServices::setProperty(WindowId id, ControlId control, Property property,
                               std::int32_t value) {
  ControlState* written = loadedControl(id, control, "setProperty");
  if (written == nullptr) return;
  if (!isGeometry(property)) {
    log.push_back(writeEntry(id, control, property, std::to_string(value)));
  }
  switch (property) {
    case Property::left: written->left = value; break;
    case Property::top: written->top = value; break;
    case Property::width: written->width = std::max(value, 0); break;
    case Property::height: written->height = std::max(value, 0); break;
    case Property::visible: written->visible = value != 0; break;
    case Property::disabled: written->disabled = value != 0; break;
    case Property::checked: written->checked = value != 0; break;
    case Property::alwaysOnTop: window(id).alwaysOnTop = value != 0; break;
    case Property::period: {
      const std::int32_t period = std::max(value, 0);
      if (period == written->period) break;  // a running timer is not restarted
      written->period = period;
      written->timerGeneration = ++lastGeneration_;
      if (period > 0) scheduleTick(id, control, written->timerGeneration, period);
      break;
    }
    case Property::selectedIndex:
    case Property::text:
    case Property::caption:
      ADD_FAILURE() << "integer write of " << propertyName(property);
      break;
  }
}

void FakeServices::setTextProperty(WindowId id, ControlId control, Property property,
                                   std::string_view text) {
  ControlState* written = loadedControl(id, control, "setTextProperty");
  if (written == nullptr) return;
  if (property != Property::text && property != Property::caption) {
    ADD_FAILURE() << "text write of " << propertyName(property);
    return;
  }
  log.push_back(writeEntry(id, control, property, std::string(text)));
  written->text = std::string(text);
}

void FakeServices::setZOrder(WindowId id, ControlId control, ZOrder position) {
  if (loadedControl(id, control, "setZOrder") == nullptr) return;
  const int number = static_cast<int>(position) + kZTop;  // back to the handlers' 1..4
  log.push_back(std::string("z ") + controlName(control) + " " + std::to_string(number));
}

std::int32_t FakeServices::showMessageBox(std::string_view text, BoxStyle style,
                                          std::string_view caption) {
  boxes.push_back(Box{std::string(text), style, std::string(caption)});
  log.push_back("box " + std::string(caption) + " " + std::to_string(static_cast<int>(style)));
  if (whileNextBoxIsUp) std::exchange(whileNextBoxIsUp, nullptr)();
  if (boxAnswers.empty()) return 0;
  const std::int32_t answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

void FakeServices::endProcess(std::int32_t code) { throw TestExit{code}; }

void FakeServices::reportFatalFault(std::string_view what) {
  ADD_FAILURE() << "fatal fault: " << what;
}

void FakeServices::logInput(const InputEvent* events, std::size_t count) {
  if (count == 0) return;
  const InputAction first = events[0].action;
  if (first == InputAction::keyDown || first == InputAction::keyUp) {
    std::string entry = "key ";
    bool firstKey = true;
    for (std::size_t i = 0; i < count; ++i) {
      if (events[i].action != InputAction::keyDown) continue;
      if (!firstKey) entry += "+";
      entry += std::to_string(events[i].key);
      firstKey = false;
    }
    log.push_back(entry);
    return;
  }
  std::string entry = first == InputAction::rightDown ? "right" : "left";
  if (count == 4) entry += "2";
  const ScreenPoint at = platform_.cursor;
  log.push_back(entry + "@" + std::to_string(at.x) + "," + std::to_string(at.y));
}
