// The program's message boxes and the box that reports a fatal fault.
#pragma once

#include <cstdint>
#include <string_view>

// Shows a box of the given MB_* style; the answer is one of the kAnswer* codes.
std::int32_t askInMessageBox(std::string_view text, std::int32_t style, std::string_view caption);
void showFatalFaultBox(std::string_view what);
