// Fonts, brushes and the hand pointer, made once and shared by every window.
#pragma once

#include <windows.h>

#include "services/window_definition.h"

COLORREF colourRef(Colour colour);
// "微软雅黑" at that character height in pixels, whatever the screen's DPI.
HFONT fontOfPixels(int pixels);
// kDefaultColour gives the dialog face colour.
HBRUSH brushOf(Colour colour);
// The height of one text line of the font in the control.
int lineHeightOf(HWND control, HFONT font);

// The program's own hand pointer, else the system's; loaded on first use.
HCURSOR handPointer();

void releaseDrawingResources();
