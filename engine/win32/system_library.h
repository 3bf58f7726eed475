// Functions of system DLLs looked up at run time: those the program needs only
// now and then, loaded on first use instead of at start-up (under Wine each DLL
// imported at start-up is loaded and initialised before the first window can
// show, some with DLLs of their own), and those that only newer Windows
// versions have, so that the program still starts on Windows 7.
#pragma once

#include <windows.h>

// The address of function in the system DLL dll (a file name such as
// L"winmm.dll"), loaded by its full path in the system folder, so never from
// beside the program or from the current folder. Null when either is missing.
FARPROC systemFunctionAddress(const wchar_t* dll, const char* function);

template <typename Function>
Function systemFunction(const wchar_t* dll, const char* function) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(systemFunctionAddress(dll, function)));
}
