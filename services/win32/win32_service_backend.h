// The window and dialog services on real Win32 windows.
#pragma once

#include <windows.h>

#include "services/service_backend.h"
#include "services/window_definition.h"

ServiceBackend& win32ServiceBackend();

// Where window definitions come from: the program's own tables unless a test
// builds windows of its own.
using WindowDefinitionLookup = const WindowDefinition& (*)(WindowId window);
void useWindowDefinitions(WindowDefinitionLookup lookup);

// The live handles, for tests and the screenshot tool; nullptr when the window
// is not loaded or the control has no window (timers).
HWND windowHandle(WindowId window);
HWND controlHandle(WindowId window, ControlId control);
