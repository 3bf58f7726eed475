// Typed text to numbers, as atof and atoi read it after full-width forms are
// folded to ASCII. Both are total: every text gives a number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Texts are UTF-8.
double textToNumber(std::string_view text);
// Accumulates in 32 bits that wrap, without an overflow check.
std::int32_t textToInteger(std::string_view text);
// Reads the same number, but empty when it does not fit in 32 bits, where
// textToInteger would wrap it into some other number.
std::optional<std::int32_t> textToIntegerInRange(std::string_view text);
