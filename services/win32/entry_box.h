// The digit-entry edit boxes: only digits and "-" may be typed, and the text
// sits in the middle of the box.
#pragma once

#include <windows.h>

void setUpEntryBox(HWND edit, HFONT font);
