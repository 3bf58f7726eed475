// The shape of a window's static data: what it looks like, what it holds and
// which handler each event reaches. One routine per backend turns it into
// windows and controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/key_codes.h"
#include "services/ids.h"

enum class ControlKind : std::uint8_t {
  timer,
  label,
  pushButton,
  checkBox,
  radioButton,
  editBox,
  comboBox,
  pictureBox,
};

// 0xRRGGBB, or the platform's face colour for dialogs and buttons.
using Colour = std::int32_t;
constexpr Colour kDefaultColour = -1;
constexpr Colour kRed = 0xFF0000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

// Look and initial-state flags of a control.
enum ControlFlag : std::uint32_t {
  kNoFlags = 0,
  kCentred = 1u << 0,     // text centred horizontally and vertically, one line
  kWrapTop = 1u << 1,     // words wrap, lines centred, text from the top
  kDigitEntry = 1u << 2,  // only 0-9 and '-' may be typed
  kChecked = 1u << 3,
};

enum class PictureId : std::uint8_t { none, thanksCard, supportCard };

struct ControlDefinition {
  ControlId role;
  const char* nameInData;  // the name the control carries in the window data
  ControlKind kind;
  std::int32_t left, top, width, height;
  const char* text;  // UTF-8; a combo's items are separated by '\n'
  std::int32_t fontPixels;  // 0 for timers and pictures
  Colour textColour;
  Colour backColour;
  std::uint32_t flags;
  std::int32_t period;  // timers: milliseconds, 0 stopped
  PictureId picture;
};

enum class Frame : std::uint8_t {
  fixedWithCaption,  // fixed-size border, caption, system menu, close and minimise
  none,              // frameless pop-up
};

struct EventBinding {
  ControlId control;
  Event event;
  EventHandler handler;        // every event but keyPressed
  KeyHandler keyHandler;       // keyPressed
};

enum class CommandId : std::uint8_t { openStepFile, saveStepFile };

// A command added to a window's system menu, also given by Ctrl and a key
// while the window is active.
struct CommandDefinition {
  CommandId id;
  const char* menuText;  // UTF-8; the key is shown after a tab
  KeyCode ctrlKey;
  EventHandler handler;
};

// Whether the window's commands may run now; greys them in the menu.
using AvailabilityQuery = bool (*)();
// UTF-8 paths of the files dropped on the window.
using FilesDroppedHandler = void (*)(const std::vector<std::string>& paths);

struct WindowDefinition {
  WindowId id;
  const char* caption;  // UTF-8, nullptr for none
  std::int32_t width, height;  // outer size
  Frame frame;
  bool alwaysOnTop;
  bool taskbarButton;
  const ControlDefinition* controls;  // stacking order, top first
  std::size_t controlCount;
  const EventBinding* bindings;
  std::size_t bindingCount;
  const CommandDefinition* commands = nullptr;
  std::size_t commandCount = 0;
  AvailabilityQuery commandsAvailable = nullptr;  // none: always available
  FilesDroppedHandler filesDropped = nullptr;     // none: files are not taken
};

// Where the definitions come from: the program's own tables, handed in by the
// entry point, or a test's windows.
using WindowDefinitionTable = const WindowDefinition& (*)(WindowId window);
void installWindowDefinitions(WindowDefinitionTable table);
// Without a table this is a fatal fault: the definitions cannot be read.
const WindowDefinition& windowDefinition(WindowId window);

const ControlDefinition* findControl(const WindowDefinition& window, ControlId control);
EventHandler findHandler(const WindowDefinition& window, ControlId control, Event event);
KeyHandler findKeyHandler(const WindowDefinition& window, ControlId control);
const CommandDefinition* findCommand(const WindowDefinition& window, CommandId command);
