// What the Win32 services share: the loaded windows, the hold on events while
// a window is built, and the lookups from ids and handles to loaded windows.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "services/win32/win32_service_backend.h"
#include "services/win32/window_records.h"

struct ModalWindow {
  int index = -1;
  std::uint32_t generation = 0;
};

struct Services {
  WindowDefinitionLookup lookup = &windowDefinition;
  std::array<std::unique_ptr<LoadedWindow>, kWindowCount> loaded;
  ModalWindow currentModal;
  int holdCount = 0;
  bool exiting = false;
  bool loopEntered = false;
  bool initialised = false;
  HWND owner = nullptr;
  DWORD userInterfaceThread = 0;
  std::uint32_t nextGeneration = 0;
};

extern Services services;

int indexOf(WindowId window);
LoadedWindow* loadedWindow(WindowId window);
// The same showing of a window, or nullptr once it has gone (or been loaded afresh).
LoadedWindow* sameShowing(WindowId window, std::uint32_t generation);
LoadedWindow* windowOfHandle(HWND handle);
bool anyWindowLoaded();

// Both do nothing while events are held or the program is exiting.
void raiseEvent(WindowId window, ControlId control, Event event);
void raiseKeyPressed(WindowId window, ControlId control, std::int32_t keyCode,
                     std::int32_t shiftState);

LoadedWindow& requireLoaded(WindowId window);
LiveControl* liveControl(LoadedWindow& window, ControlId control);
// The control or the window itself; a role the window does not have is a fault of the tables.
HWND requireHandle(LoadedWindow& window, ControlId control, LiveControl** live = nullptr);
