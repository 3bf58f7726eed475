// What reading or saving a whole file came to, in words the handlers and any
// backend share; services/win32/file_io does the work on Windows.
#pragma once

#include <string>

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
