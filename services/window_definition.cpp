#include "services/window_definition.h"

#include "engine/fatal_fault.h"

namespace {
WindowDefinitionTable installedTable = nullptr;
}  // namespace

void installWindowDefinitions(WindowDefinitionTable table) { installedTable = table; }

const WindowDefinition& windowDefinition(WindowId window) {
  if (installedTable == nullptr) fatalFault("The window definitions cannot be read.");
  return installedTable(window);
}

const ControlDefinition* findControl(const WindowDefinition& window, ControlId control) {
  for (std::size_t i = 0; i < window.controlCount; ++i) {
    if (window.controls[i].role == control) return &window.controls[i];
  }
  return nullptr;
}

EventHandler findHandler(const WindowDefinition& window, ControlId control, Event event) {
  for (std::size_t i = 0; i < window.bindingCount; ++i) {
    const EventBinding& binding = window.bindings[i];
    if (binding.control == control && binding.event == event) return binding.handler;
  }
  return nullptr;
}

KeyHandler findKeyHandler(const WindowDefinition& window, ControlId control) {
  for (std::size_t i = 0; i < window.bindingCount; ++i) {
    const EventBinding& binding = window.bindings[i];
    if (binding.control == control && binding.event == Event::keyPressed) return binding.keyHandler;
  }
  return nullptr;
}

const CommandDefinition* findCommand(const WindowDefinition& window, CommandId command) {
  for (std::size_t i = 0; i < window.commandCount; ++i) {
    if (window.commands[i].id == command) return &window.commands[i];
  }
  return nullptr;
}
