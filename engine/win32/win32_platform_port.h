// The engine's platform port on real Win32.
#pragma once

#include <windows.h>

#include "engine/platform_port.h"

PlatformPort& win32PlatformPort();

// Sees every message the pump takes before it is translated and dispatched;
// true when it has taken the message. The window services install their
// keyboard handling here.
using PreTranslation = bool (*)(const MSG& message);
void setPreTranslation(PreTranslation preTranslation);
