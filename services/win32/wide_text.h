// Texts travel as UTF-8 through the program and become UTF-16 only where they
// meet the wide Win32 calls.
#pragma once

#include <string>
#include <string_view>

std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);
