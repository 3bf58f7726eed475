// Loading a window, the loop that runs while a modal one is up, and closing it
// again.
#pragma once

#include <windows.h>

#include "services/ids.h"

// Carries a pending close to the window; destroyed when it is dispatched.
constexpr UINT kCloseMessage = WM_APP + 1;

// Builds and shows the window, or brings it forward when it is already up. A
// modal window returns once it has gone. False when it cannot be built.
bool loadWindowNow(WindowId window, bool modal);
// The window closes once the message queue gets to it.
void requestClose(WindowId window);
void destroyNow(WindowId window);
// Forgets the window whose handle is going away.
void unloadWindow(HWND handle);
