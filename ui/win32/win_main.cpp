// The program's entry point: hardens DLL loading, plugs the Win32 platform
// and the program's window tables into the engine and the services, then
// hands over to the main routine.
#include <windows.h>

#include <float.h>

#include "engine/platform_port.h"
#include "engine/win32/system_library.h"
#include "engine/win32/win32_platform_port.h"
#include "services/service_backend.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  loadDllsFromSystemOnly();
  _fpreset();
  installPlatformPort(&win32PlatformPort());
  installServiceBackend(&win32ServiceBackend());
  installWindowDefinitions(&programWindowDefinition);
  return mainRoutine();
}
