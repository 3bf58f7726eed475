#include "engine/win32/system_library.h"

#include <string>

FARPROC systemFunctionAddress(const wchar_t* dll, const char* function) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + dll;
  // Stays loaded for the life of the process, like an imported DLL.
  HMODULE module = LoadLibraryW(path.c_str());
  return module != nullptr ? GetProcAddress(module, function) : nullptr;
}
