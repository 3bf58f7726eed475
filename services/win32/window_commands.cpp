#include "services/win32/window_commands.h"

#include <cstddef>

#include "engine/win32/system_library.h"
#include "services/win32/wide_text.h"
#include "services/window_lifecycle.h"

namespace {

// System menu ids are below 0xF000, where the system's own commands start, and
// multiples of 16: the system uses the low four bits of WM_SYSCOMMAND's id.
constexpr UINT kFirstCommandMenuId = 0x1000;
constexpr UINT kCommandMenuIdStep = 0x10;

UINT menuIdOf(std::size_t commandIndex) {
  return kFirstCommandMenuId + static_cast<UINT>(commandIndex) * kCommandMenuIdStep;
}

}  // namespace

void addWindowCommands(LiveWindow& window) {
  const WindowDefinition& definition = *window.definition;
  if (definition.commandCount == 0) return;
  HMENU menu = GetSystemMenu(window.handle, FALSE);
  std::vector<ACCEL> keys;
  if (menu != nullptr) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (std::size_t index = 0; index < definition.commandCount; ++index) {
    const CommandDefinition& command = definition.commands[index];
    if (menu != nullptr) {
      AppendMenuW(menu, MF_STRING, menuIdOf(index), widen(command.menuText).c_str());
    }
    if (command.ctrlKey != 0) {
      keys.push_back(ACCEL{FVIRTKEY | FCONTROL, command.ctrlKey, static_cast<WORD>(menuIdOf(index))});
    }
  }
  if (!keys.empty()) {
    window.accelerators = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
  }
}

void updateCommandStates(LiveWindow& window) {
  const WindowDefinition& definition = *window.definition;
  if (definition.commandCount == 0) return;
  HMENU menu = GetSystemMenu(window.handle, FALSE);
  if (menu == nullptr) return;
  const UINT state = commandsAvailable(window.id) ? MF_ENABLED : MF_GRAYED;
  for (std::size_t index = 0; index < definition.commandCount; ++index) {
    EnableMenuItem(menu, menuIdOf(index), MF_BYCOMMAND | state);
  }
}

std::optional<CommandId> commandOfMenuId(const LiveWindow& window, UINT_PTR id) {
  const WindowDefinition& definition = *window.definition;
  for (std::size_t index = 0; index < definition.commandCount; ++index) {
    if ((id & ~UINT_PTR{0xF}) == menuIdOf(index)) return definition.commands[index].id;
  }
  return std::nullopt;
}

std::vector<std::string> takeDroppedFiles(HDROP drop) {
  // From shell32, loaded on the first drop rather than at every start.
  using QueryFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
  using FinishFunction = void(WINAPI*)(HDROP);
  static const auto query = systemFunction<QueryFunction>(L"shell32.dll", "DragQueryFileW");
  static const auto finish = systemFunction<FinishFunction>(L"shell32.dll", "DragFinish");
  std::vector<std::string> paths;
  if (query != nullptr) {
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
      std::wstring path(query(drop, index, nullptr, 0) + 1, L'\0');
      path.resize(query(drop, index, path.data(), static_cast<UINT>(path.size())));
      paths.push_back(narrow(path));
    }
  }
  if (finish != nullptr) finish(drop);
  return paths;
}
