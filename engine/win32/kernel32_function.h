// Kernel32 functions that only newer Windows versions have, looked up at run
// time so that the program still starts on Windows 7.
#pragma once

#include <windows.h>

// nullptr where this Windows lacks the function.
template <typename Function>
Function kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}
