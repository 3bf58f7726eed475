#include "fake_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/message_pump.h"

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
  static const char* const kNames[] = {
      "self", "usageTimer", "runTimer", "statusLabel", "tutorialButton", "startButton",
      "endlessModeBox", "timeModeBox", "countModeBox", "clearAllButton", "deleteLastButton",
      "recordKeyButton", "recordClickButton", "delayEdit", "rightDoubleRadio", "rightClickRadio",
      "leftDoubleRadio", "leftClickRadio", "delayLabel", "stopButton", "noteLabel",
      "keyOpAddButton", "keyOpCombo", "loopCountEdit", "runTimeEdit", "supportLabel",
      "leftPicture", "rightPicture",
  };
  const auto index = static_cast<std::size_t>(control);
  return index < std::size(kNames) ? kNames[index] : "?";
}

FakeServices::FakeServices(LoggingPlatform& platform) : platform_(platform) {
  installServiceBackend(this);
  platform_.onInput = [this](const InputEvent* events, std::size_t count) {
    logInput(events, count);
    if (afterInput) afterInput();
  };
}

FakeServices::~FakeServices() {
  platform_.onInput = nullptr;
  installServiceBackend(nullptr);
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
  raise(id, control, Event::clicked);
  return true;
}

void FakeServices::pressKey(WindowId id, ControlId control, std::int32_t keyCode,
                            std::int32_t shiftState) {
  if (loadedControl(id, control, "key press") == nullptr) return;
  if (window(id).controls.at(ControlId::self).disabled || exiting_) return;
  if (KeyHandler handler = findKeyHandler(windowDefinition(id), control)) {
    handler(keyCode, shiftState);
  }
}

void FakeServices::userClose(WindowId id) {
  log.push_back(std::string("user closes ") + windowName(id));
  destroy(id);
}

bool FakeServices::isLoaded(WindowId id) const { return window(id).loaded; }

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
  if (!target.loaded) {
    ADD_FAILURE() << what << " on " << windowName(id) << "." << controlName(control)
                  << " while the window is not loaded";
    return nullptr;
  }
  auto found = target.controls.find(control);
  if (found == target.controls.end()) {
    ADD_FAILURE() << what << ": " << windowName(id) << " has no " << controlName(control);
    return nullptr;
  }
  return &found->second;
}

void FakeServices::create(WindowId id) {
  const WindowDefinition& definition = windowDefinition(id);
  WindowState& created = window(id);
  created = WindowState{};
  created.loaded = true;
  created.alwaysOnTop = definition.alwaysOnTop;
  created.showing = ++lastShowing_;
  ControlState self;
  self.left = (kScreenWidth - definition.width) / 2;
  self.top = (kScreenHeight - definition.height) / 2;
  self.width = definition.width;
  self.height = definition.height;
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
}

void FakeServices::destroy(WindowId id) {
  WindowState& target = window(id);
  if (!target.loaded) return;
  if (target.modal) {
    for (const auto& [other, wasDisabled] : target.disabledByModal) {
      if (isLoaded(other)) window(other).controls.at(ControlId::self).disabled = wasDisabled;
    }
    target.disabledByModal.clear();
    target.modal = false;
  }
  // Still loaded while its handler runs: it may read and write properties.
  raise(id, ControlId::self, Event::willBeDestroyed);
  target.loaded = false;
  target.closePending = false;
  log.push_back(std::string("gone ") + windowName(id));
  const bool anyLoaded =
      std::any_of(std::begin(windows_), std::end(windows_), [](const WindowState& w) { return w.loaded; });
  if (!anyLoaded && loopEntered_) platform_.postQuit();
}

void FakeServices::raise(WindowId id, ControlId control, Event event) {
  if (exiting_) return;
  if (EventHandler handler = findHandler(windowDefinition(id), control, event)) handler();
}

void FakeServices::scheduleTick(WindowId id, ControlId control, std::uint64_t generation,
                                std::int32_t period) {
  const std::uint64_t showing = window(id).showing;
  platform_.postAfter(period, [this, id, control, generation, period, showing] {
    if (!isLoaded(id) || window(id).showing != showing) return;
    if (state(id, control).timerGeneration != generation) return;
    raise(id, control, Event::periodic);
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
    } else if (!window(id).closePending) {
      userClose(id);
    }
  });
}

void FakeServices::loadFirstWindow(WindowId id) { loadWindow(id, false); }

void FakeServices::runMessageLoop() {
  loopEntered_ = true;
  if (std::none_of(std::begin(windows_), std::end(windows_),
                   [](const WindowState& w) { return w.loaded; })) {
    return;
  }
  while (pumpOneMessage()) {
  }
}

bool FakeServices::loadWindow(WindowId id, bool modal) {
  if (isLoaded(id)) {
    if (!window(id).closePending) return true;
    destroy(id);
  }
  pumpPendingMessages();
  create(id);
  log.push_back(std::string("load ") + windowName(id));
  raise(id, ControlId::self, Event::created);
  if (!isLoaded(id) || !modal) return true;

  WindowState& shown = window(id);
  const std::uint64_t showing = shown.showing;
  shown.modal = true;
  for (int i = 0; i < kWindowCount; ++i) {
    const auto other = static_cast<WindowId>(i);
    if (other == id || !isLoaded(other)) continue;
    bool& disabled = window(other).controls.at(ControlId::self).disabled;
    shown.disabledByModal.emplace_back(other, disabled);
    disabled = true;
  }
  std::vector<Action> actions;
  auto script = scripts_.find(id);
  if (script != scripts_.end() && !script->second.empty()) {
    actions = std::move(script->second.front());
    script->second.pop_front();
  }
  playScriptStep(id, std::make_shared<std::vector<Action>>(std::move(actions)), 0, showing);
  // The modal loop: ends when the window is gone, or leaves a quit request
  // for the outer loop.
  while (isLoaded(id) && window(id).showing == showing) {
    if (platform_.peekNextMessage() == NextMessage::quit) break;
    if (!pumpOneMessage()) break;
  }
  return true;
}

void FakeServices::closeWindow(WindowId id) {
  if (loadedControl(id, ControlId::self, "closeWindow") == nullptr) return;
  window(id).closePending = true;
  const std::uint64_t showing = window(id).showing;
  platform_.post([this, id, showing] {
    if (isLoaded(id) && window(id).showing == showing && window(id).closePending) destroy(id);
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

void FakeServices::setZOrder(WindowId id, ControlId control, std::int32_t position) {
  if (loadedControl(id, control, "setZOrder") == nullptr) return;
  log.push_back(std::string("z ") + controlName(control) + " " + std::to_string(position));
}

std::int32_t FakeServices::showMessageBox(std::string_view text, std::int32_t style,
                                          std::string_view caption) {
  boxes.push_back(Box{std::string(text), style, std::string(caption)});
  log.push_back("box " + std::string(caption) + " " + std::to_string(style));
  if (boxAnswers.empty()) return 0;
  const std::int32_t answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

void FakeServices::endProcess(std::int32_t code) {
  exiting_ = true;
  throw TestExit{code};
}

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
      entry += std::to_string(events[i].virtualKey);
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
