// The place a minimised window gets back when it is restored. Its left, top,
// width and height mean that place while it is minimised, so that geometry
// written then (a run ending, a window closing) still lands where the user
// will see it.
#pragma once

#include <windows.h>

// The restored frame in screen coordinates.
RECT restoredFrame(HWND window);
// Sets it; the window stays minimised and is not activated.
void setRestoredFrame(HWND window, RECT frame);
