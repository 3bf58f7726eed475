// Files on Windows: the common open and save dialogs, and whole-file reading
// and atomic saving (file_io).
#pragma once

#include "services/file_service.h"

FileBackend& win32FileBackend();
