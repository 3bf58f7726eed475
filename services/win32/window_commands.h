// A window's commands on Win32: items appended to its system menu, Ctrl+key
// accelerators for them, their greyed state, and files dropped on the window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "services/win32/live_windows.h"

// Appends the commands of the window's definition to its system menu, after a
// separator, and makes their accelerator table (kept in the record).
void addWindowCommands(LiveWindow& window);
// Greys the menu items while the commands are not available.
void updateCommandStates(LiveWindow& window);
// The command a WM_SYSCOMMAND or accelerator WM_COMMAND id stands for.
std::optional<CommandId> commandOfMenuId(const LiveWindow& window, UINT_PTR id);
// The paths in a WM_DROPFILES handle, which is released.
std::vector<std::string> takeDroppedFiles(HDROP drop);
