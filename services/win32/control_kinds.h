// What each kind of control is on Win32: its window class and style, whether
// it is a tab stop, shows the hand pointer or reports clicks, and the colours
// it asks its window for.
#pragma once

#include <windows.h>

#include "services/window_definition.h"

struct ControlClass {
  const wchar_t* className;  // nullptr for timers, which have no window
  DWORD style;
};

ControlClass classOf(const ControlDefinition& control);
bool isTabStop(ControlKind kind);
bool showsHandPointer(ControlKind kind);
bool raisesClicked(ControlKind kind);

struct ControlColours {
  Colour text;
  Colour back;  // may be kDefaultColour
};
// False for the kinds that paint with the system's colours (push buttons, pictures).
bool coloursOf(const ControlDefinition& control, ControlColours& colours);
