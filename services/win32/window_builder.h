// Turns a window definition into a live window with its controls.
#pragma once

#include <windows.h>

#include "services/win32/live_windows.h"

extern const wchar_t kTopLevelClass[];

// The class of the top-level windows, with the program icon, and the picture boxes' class.
void registerWindowClasses(WNDPROC topLevelProcedure);
// Creates the window hidden at its centred start position and its controls
// hidden, stacked in table order, then shows the controls. On failure
// everything created is destroyed again.
bool buildWindow(LiveWindow& window, HWND owner);
