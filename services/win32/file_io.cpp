#include "services/win32/file_io.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <new>

#include "services/win32/wide_text.h"

namespace {

// NTFS's longest name, and the longest path the \\?\ form takes.
constexpr std::size_t kLongestName = 255;
constexpr std::size_t kLongestPath = 32767;
// What the temporary file's name may add to its folder's path.
constexpr std::size_t kTemporaryNameRoom = 40;

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

struct FullPath {
  std::wstring path;  // absolute, with backslashes; empty when there is none
  bool tooLong = false;
};

// Windows reports an overlong name in several ways (and Wine as "not found"),
// so the lengths are checked here, where the answer is clear.
FullPath fullPath(std::string_view path) {
  FullPath full;
  const std::wstring wide = widen(path);
  if (wide.empty()) return full;
  if (wide.size() > kLongestPath) {
    full.tooLong = true;
    return full;
  }
  if (wide.compare(0, kExtendedPrefix.size(), kExtendedPrefix) == 0) {
    full.path = wide.substr(kExtendedPrefix.size());
  } else {
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return full;
    full.path.resize(needed);
    const DWORD written = GetFullPathNameW(wide.c_str(), needed, full.path.data(), nullptr);
    if (written == 0 || written >= needed) return {};
    full.path.resize(written);
  }
  std::size_t nameLength = 0;
  for (wchar_t c : full.path) {
    nameLength = isSeparator(c) ? 0 : nameLength + 1;
    if (nameLength > kLongestName) full.tooLong = true;
  }
  if (full.path.size() + kTemporaryNameRoom > kLongestPath) full.tooLong = true;
  if (full.tooLong) full.path.clear();
  return full;
}

// What the Win32 calls take: the \\?\ form once the path reaches MAX_PATH.
std::wstring forWin32(const std::wstring& full) {
  if (full.size() < MAX_PATH) return full;
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return std::wstring(kExtendedPrefix) + full;
}

bool isReadOnlyFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

FileReadResult readFailure(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
      return FileReadResult::notFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileReadResult::accessDenied;
    default:
      return FileReadResult::other;
  }
}

FileSaveResult saveFailure(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return FileSaveResult::folderMissing;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FileSaveResult::accessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileSaveResult::diskFull;
    case ERROR_FILENAME_EXCED_RANGE:
      return FileSaveResult::pathTooLong;
    default:
      return FileSaveResult::other;
  }
}

// The temporary file beside the target: closed and removed on every way out
// unless it has been moved into place.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    close();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }

  // A name no other save uses, in the folder of the target's full path.
  DWORD create(const std::wstring& fullTarget) {
    static std::atomic<std::uint32_t> serial{0};
    const std::wstring folder = fullTarget.substr(0, fullTarget.find_last_of(L"\\/") + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
      wchar_t name[40];
      wsprintfW(name, L"~tapvane2-%lx-%lx.tmp", GetCurrentProcessId(),
                static_cast<unsigned long>(++serial));
      const std::wstring path = forWin32(folder + name);
      handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE) {
        path_ = path;
        return ERROR_SUCCESS;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
    }
    return ERROR_FILE_EXISTS;
  }

  DWORD write(std::string_view bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr)) return GetLastError();
      if (written == 0) return ERROR_WRITE_FAULT;
      bytes.remove_prefix(written);
    }
    // Only data on the disk may replace the old file.
    if (!FlushFileBuffers(handle_)) return GetLastError();
    return close() ? ERROR_SUCCESS : GetLastError();
  }

  DWORD replace(const std::wstring& target) {
    if (!MoveFileExW(path_.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return GetLastError();
    }
    path_.clear();
    return ERROR_SUCCESS;
  }

 private:
  bool close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::wstring path_;
};

FileSaveResult save(std::string_view path, std::string_view bytes) {
  const FullPath full = fullPath(path);
  if (full.tooLong) return FileSaveResult::pathTooLong;
  if (full.path.empty()) return FileSaveResult::other;
  const std::wstring target = forWin32(full.path);

  // Checked first because rename() under Wine replaces a read-only file; on
  // Windows the move would fail with access denied after all the writing.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileSaveResult::accessDenied;
    if (attributes & FILE_ATTRIBUTE_READONLY) return FileSaveResult::readOnly;
  }

  TemporaryFile temporary;
  DWORD error = temporary.create(full.path);
  if (error == ERROR_SUCCESS) error = temporary.write(bytes);
  if (error == ERROR_SUCCESS) error = temporary.replace(target);
  if (error == ERROR_SUCCESS) return FileSaveResult::ok;
  // The target may have turned read-only while the bytes were written.
  if (error == ERROR_ACCESS_DENIED && isReadOnlyFile(target)) return FileSaveResult::readOnly;
  return saveFailure(error);
}

FileContent read(std::string_view path, std::size_t maxBytes) {
  FileContent content;
  const FullPath full = fullPath(path);
  if (full.path.empty()) {
    // A name too long for Windows cannot be there.
    content.result = full.tooLong ? FileReadResult::notFound : FileReadResult::other;
    return content;
  }
  const HANDLE file = CreateFileW(forWin32(full.path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    content.result = readFailure(GetLastError());
    return content;
  }
  LARGE_INTEGER size{};
  DWORD error = ERROR_SUCCESS;
  if (!GetFileSizeEx(file, &size)) {
    error = GetLastError();
  } else if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    CloseHandle(file);
    content.result = FileReadResult::tooLarge;
    return content;
  } else {
    content.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t filled = 0;
    while (filled < content.bytes.size()) {
      const DWORD chunk =
          static_cast<DWORD>(std::min<std::size_t>(content.bytes.size() - filled, 1u << 24));
      DWORD got = 0;
      if (!ReadFile(file, content.bytes.data() + filled, chunk, &got, nullptr)) {
        error = GetLastError();
        break;
      }
      if (got == 0) break;  // the file shrank meanwhile
      filled += got;
    }
    content.bytes.resize(filled);
  }
  CloseHandle(file);
  if (error != ERROR_SUCCESS) {
    content.bytes.clear();
    content.result = readFailure(error);
    return content;
  }
  content.result = FileReadResult::ok;
  return content;
}

}  // namespace

// Running out of memory is one more failure to report: these are called from
// handlers, and no exception may reach a window procedure.
FileContent readWholeFile(std::string_view path, std::size_t maxBytes) {
  try {
    return read(path, maxBytes);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

FileSaveResult saveFileAtomically(std::string_view path, std::string_view bytes) {
  try {
    return save(path, bytes);
  } catch (const std::bad_alloc&) {
    return FileSaveResult::other;
  }
}
