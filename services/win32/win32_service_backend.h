// The window and dialog services on real Win32 windows.
#pragma once

#include <windows.h>

#include "services/service_backend.h"

ServiceBackend& win32ServiceBackend();

// The live handles, for tests and the screenshot tool; nullptr when the window
// is not loaded or the control has no window (timers).
HWND windowHandle(WindowId window);
HWND controlHandle(WindowId window, ControlId control);
