// The program's entry point: hardens DLL loading, plugs the Win32 platform
// and the program's window tables into the engine and the services, then
// hands over to the main routine.
#include <windows.h>

#include <float.h>

#include <string>
#include <vector>

#include "engine/platform_port.h"
#include "engine/win32/system_library.h"
#include "engine/win32/win32_platform_port.h"
#include "services/file_service.h"
#include "services/service_backend.h"
#include "services/win32/wide_text.h"
#include "services/win32/win32_file_backend.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_definition.h"
#include "ui/startup_exit.h"
#include "ui/window_definitions.h"

namespace {

// Only system DLLs, never one planted beside the program. Windows 7 has this
// only with KB2533623.
void loadDllsFromSystemOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (auto setDirectories =
          systemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories")) {
    setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

// True when anything follows the program's own name, which comes first and in
// quotes when it holds a space.
bool hasArguments(const wchar_t* commandLine) {
  const wchar_t* rest = commandLine;
  if (*rest == L'"') {
    ++rest;
    while (*rest != L'\0' && *rest != L'"') ++rest;
    if (*rest == L'"') ++rest;
  } else {
    while (*rest != L'\0' && *rest != L' ' && *rest != L'\t') ++rest;
  }
  while (*rest == L' ' || *rest == L'\t') ++rest;
  return *rest != L'\0';
}

// The arguments after the program's name, in UTF-8, read from the UTF-16
// command line whatever the system's code page.
std::vector<std::string> programArguments() {
  std::vector<std::string> arguments;
  const wchar_t* commandLine = GetCommandLineW();
  // shell32 is loaded only when there is something to split.
  if (!hasArguments(commandLine)) return arguments;
  using SplitFunction = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  const auto split = systemFunction<SplitFunction>(L"shell32.dll", "CommandLineToArgvW");
  if (split == nullptr) return arguments;
  int count = 0;
  LPWSTR* words = split(commandLine, &count);
  if (words == nullptr) return arguments;
  for (int index = 1; index < count; ++index) arguments.push_back(narrow(words[index]));
  LocalFree(words);
  return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  loadDllsFromSystemOnly();
  _fpreset();
  installPlatformPort(&win32PlatformPort());
  installServiceBackend(&win32ServiceBackend());
  installFileBackend(&win32FileBackend());
  installWindowDefinitions(&programWindowDefinition);
  return mainRoutine(programArguments());
}
