// The window procedure of the services' top-level windows.
#pragma once

#include <windows.h>

// Carries a pending close to the window; it is destroyed when this is dispatched.
constexpr UINT kCloseMessage = WM_APP + 1;

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
