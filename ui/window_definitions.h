// The program's five windows as static data; the entry point hands them to
// the window services.
#pragma once

#include "services/window_definition.h"

// A window that is not one of the five is a fatal fault.
const WindowDefinition& programWindowDefinition(WindowId window);
