// Creates one control from its row of the window data: class, style, place,
// text, font and the set-up its kind needs.
#pragma once

#include <windows.h>

#include <cstddef>

#include "services/window_definition.h"

// Hidden; index is the control's row. nullptr for timers and on failure.
HWND createControl(HWND parent, const ControlDefinition& control, std::size_t index);
