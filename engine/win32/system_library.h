// Functions of system DLLs the program needs only now and then, loaded on first
// use instead of at start-up. Under Wine each DLL imported at start-up is loaded
// and initialised before the first window can show, some with DLLs of their own.
#pragma once

#include <windows.h>

// The address of function in the system DLL dll (a file name such as
// L"winmm.dll"), loaded by its full path in the system folder, so never from
// beside the program or from the current folder. Null when either is missing.
FARPROC systemFunction(const wchar_t* dll, const char* function);
