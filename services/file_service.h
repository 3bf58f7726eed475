// Files the user chooses, read and saved whole. The Win32 backend uses the
// common file dialogs and services/win32/file_io; native tests install an
// in-memory one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "services/ids.h"

enum class FileReadResult {
  ok,
  notFound,      // no such file, or its folder is gone
  accessDenied,  // no permission, a folder, or another program holds it
  tooLarge,      // over the limit asked for; refused before reading it
  other,
};

// Whatever the result other than ok, the file that was there is unchanged and
// no temporary file is left.
enum class FileSaveResult {
  ok,
  readOnly,       // the file to replace is marked read-only
  folderMissing,  // the folder to save into does not exist
  accessDenied,   // no permission in the folder, or another program holds the file
  diskFull,
  pathTooLong,
  other,
};

// Chinese, UTF-8; empty for ok.
std::string fileReadFailureText(FileReadResult result);
std::string fileSaveFailureText(FileSaveResult result);

struct FileContent {
  FileReadResult result = FileReadResult::other;
  std::string bytes;  // empty unless ok
};

// Paths are UTF-8.
class FileBackend {
 public:
  virtual ~FileBackend() = default;
  // The file picked in the system's open dialog over the window, starting in
  // the folder used last; empty when the user cancels.
  virtual std::optional<std::string> chooseFileToOpen(WindowId owner) = 0;
  // Likewise for saving; the dialog asks before an existing file is replaced.
  virtual std::optional<std::string> chooseFileToSave(WindowId owner) = 0;
  // A file over maxBytes is refused without being read.
  virtual FileContent readWholeFile(std::string_view path, std::size_t maxBytes) = 0;
  // Never leaves the file half written: on any failure the old one is unchanged.
  virtual FileSaveResult saveFileAtomically(std::string_view path, std::string_view bytes) = 0;
};

void installFileBackend(FileBackend* backend);
FileBackend& fileBackend();
