// The program's message boxes and the box that reports a fatal fault.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "services/message_box.h"

// The answer is one of the kAnswer* codes.
std::int32_t askInMessageBox(std::string_view text, BoxStyle style, std::string_view caption);
// The same for any MB_* buttons and icon.
std::int32_t askInMessageBox(std::string_view text, UINT platformStyle, std::string_view caption);
void showFatalFaultBox(std::string_view what);
