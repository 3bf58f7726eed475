// The window procedure of the services' top-level windows.
#pragma once

#include <windows.h>

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
