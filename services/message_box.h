// Message boxes (their styles and answer codes are in ids.h), and where the
// answer of the last confirmation box is kept.
#pragma once

#include <cstdint>
#include <string_view>

#include "services/ids.h"

// The answer code of the last confirmation box a handler asked.
extern std::int32_t dialogAnswer;

// Texts are UTF-8; an empty caption gets the default one. A box that cannot be
// shown answers 0.
std::int32_t showMessageBox(std::string_view text, BoxStyle style, std::string_view caption);
// True while a box of the program is up (handlers run in its loop meanwhile).
bool messageBoxUp();
