// Keyboard focus and keys: the focus a window gets back on activation, Tab
// order, and the key events raised before a key reaches its control.
#pragma once

#include <windows.h>

#include "services/win32/live_windows.h"

// Keeps the control that has the focus as the window is left.
void rememberFocus(LiveWindow& window);
// Gives the focus to that control again, else to the first tab stop;
// false when no control takes it.
bool restoreFocus(LiveWindow& window);

// The pre-translation hook of the message pump: raises key events and moves
// the focus on Tab. True when it has taken the message.
bool preTranslate(const MSG& message);
