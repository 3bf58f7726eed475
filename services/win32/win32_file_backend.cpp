#include "services/win32/win32_file_backend.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "engine/win32/system_library.h"
#include "services/win32/file_io.h"
#include "services/win32/live_windows.h"
#include "services/win32/wide_text.h"

namespace {

// Both lists end in an empty string: a name, its pattern, ... and then nothing.
constexpr wchar_t kFilters[] =
    L"Tapvane2 步骤文件 (*.tvsteps)\0*.tvsteps\0所有文件 (*.*)\0*.*\0";
constexpr wchar_t kDefaultExtension[] = L"tvsteps";
// Room for the longest path the \\?\ form allows.
constexpr DWORD kPathRoom = 32768;

using DialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

class Win32FileBackend final : public FileBackend {
 public:
  std::optional<std::string> chooseFileToOpen(WindowId owner) override {
    return choose(owner, "GetOpenFileNameW", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  }

  std::optional<std::string> chooseFileToSave(WindowId owner) override {
    return choose(owner, "GetSaveFileNameW", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
  }

  FileContent readWholeFile(std::string_view path, std::size_t maxBytes) override {
    return ::readWholeFile(path, maxBytes);
  }

  FileSaveResult saveFileAtomically(std::string_view path, std::string_view bytes) override {
    return ::saveFileAtomically(path, bytes);
  }

 private:
  std::optional<std::string> choose(WindowId owner, const char* function, DWORD flags) {
    // comdlg32 is loaded when a dialog is first needed, not at every start.
    const auto dialog = systemFunction<DialogFunction>(L"comdlg32.dll", function);
    if (dialog == nullptr) return std::nullopt;
    std::wstring path(kPathRoom, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    const LiveWindow* window = liveWindow(owner);
    request.hwndOwner = window != nullptr ? window->handle : nullptr;
    request.lpstrFilter = kFilters;
    request.nFilterIndex = 1;
    request.lpstrFile = path.data();
    request.nMaxFile = kPathRoom;
    request.lpstrInitialDir = lastFolder_.empty() ? nullptr : lastFolder_.c_str();
    request.lpstrDefExt = kDefaultExtension;
    // The program's working folder stays as it was; the file goes to no
    // recent-documents list.
    request.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!dialog(&request)) return std::nullopt;
    path.resize(wcsnlen(path.c_str(), path.size()));
    lastFolder_ = folderOf(path);
    return narrow(path);
  }

  std::wstring lastFolder_;
};

}  // namespace

FileBackend& win32FileBackend() {
  static Win32FileBackend backend;
  return backend;
}
