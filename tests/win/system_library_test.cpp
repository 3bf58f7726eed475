// System DLLs loaded on first use: found in the system folder and nowhere else,
// and a missing DLL or function is answered with null, not a crash.
#include "engine/win32/system_library.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace {

std::wstring lowered(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring folderOf(FARPROC function) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(function)), &module);
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring file(path, length);
  return lowered(file.substr(0, file.find_last_of(L'\\')));
}

TEST(SystemLibrary, FunctionsComeFromTheSystemFolder) {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring systemFolder = lowered(std::wstring(system, length));
  struct Wanted {
    const wchar_t* dll;
    const char* function;
  };
  for (const Wanted& wanted : {Wanted{L"winmm.dll", "timeBeginPeriod"},
                               Wanted{L"winmm.dll", "timeEndPeriod"},
                               Wanted{L"ole32.dll", "CoInitializeEx"},
                               Wanted{L"ole32.dll", "CoCreateInstance"}}) {
    const FARPROC function = systemFunctionAddress(wanted.dll, wanted.function);
    ASSERT_NE(function, nullptr) << wanted.function;
    EXPECT_EQ(folderOf(function), systemFolder) << wanted.function;
  }
}

TEST(SystemLibrary, AMissingDllOrFunctionGivesNull) {
  EXPECT_EQ(systemFunctionAddress(L"winmm.dll", "noSuchFunction"), nullptr);
  EXPECT_EQ(systemFunctionAddress(L"tapvane2_no_such.dll", "timeBeginPeriod"), nullptr);
}

}  // namespace
