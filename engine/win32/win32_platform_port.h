// The engine's platform port on real Win32.
#pragma once

#include "engine/platform_port.h"

PlatformPort& win32PlatformPort();
