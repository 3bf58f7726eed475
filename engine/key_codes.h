// Key codes shared by the step executor, the run loop and the key handlers.
// They are the platform's virtual-key numbers, which is also what keyPressed
// reports; the Win32 adapters check them against the platform's own names.
#pragma once

#include <cstdint>

using KeyCode = std::uint8_t;

constexpr KeyCode kKeyBackspace = 8;
constexpr KeyCode kKeyEnter = 13;
constexpr KeyCode kKeyControl = 17;
constexpr KeyCode kKeyEscape = 27;
constexpr KeyCode kKeySpace = 32;
constexpr KeyCode kKeyZero = 48;  // the main keyboard's digits are 48..57
constexpr KeyCode kKeyC = 67;
constexpr KeyCode kKeyO = 79;
constexpr KeyCode kKeyS = 83;
constexpr KeyCode kKeyV = 86;
constexpr KeyCode kKeyF5 = 116;
// The main keyboard's minus, point and slash: the keypad's report these too.
constexpr KeyCode kKeyMinus = 189;
constexpr KeyCode kKeyPoint = 190;
constexpr KeyCode kKeySlash = 191;
