// The program's entry point: hardens DLL loading, plugs the Win32 platform
// into the engine and the services, then hands over to the main routine.
#include <windows.h>

#include <float.h>

#include "engine/platform_port.h"
#include "engine/win32/win32_platform_port.h"
#include "services/service_backend.h"
#include "services/win32/win32_service_backend.h"
#include "ui/startup_exit.h"

namespace {

// Only system DLLs, never one planted beside the program. Looked up at run
// time: Windows 7 has it only with KB2533623.
void loadDllsFromSystemOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  loadDllsFromSystemOnly();
  _fpreset();
  installPlatformPort(&win32PlatformPort());
  installServiceBackend(&win32ServiceBackend());
  return mainRoutine();
}
