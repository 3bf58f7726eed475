// Whole files by UTF-8 path, widened at the Win32 calls, so Chinese folder and
// file names work. Paths of MAX_PATH characters or more get the \\?\ form, so
// they work without the system's long-path setting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "services/file_service.h"

// Looks at the size first: a file over maxBytes is refused without being read.
FileContent readWholeFile(std::string_view path, std::size_t maxBytes);

// Never leaves the target half written: the bytes go to a new temporary file in
// the target's folder, are flushed to the disk, and the temporary file then
// replaces the target in one step. On failure the temporary file is removed and
// the target is left as it was.
FileSaveResult saveFileAtomically(std::string_view path, std::string_view bytes);
