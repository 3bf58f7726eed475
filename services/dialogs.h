// Message boxes, text conversions, random numbers, clean-up and exit.
#pragma once

#include <cstdint>
#include <string_view>

// Message-box styles used by the handlers.
constexpr std::int32_t kStyleStop = 16;         // stop icon, OK
constexpr std::int32_t kStyleQuestion = 33;     // question icon, OK and Cancel
constexpr std::int32_t kStyleExclamation = 49;  // exclamation icon, OK and Cancel
constexpr std::int32_t kStyleInformation = 64;  // information icon, OK

// Answer codes.
constexpr std::int32_t kAnswerOk = 0;
constexpr std::int32_t kAnswerCancel = 1;
constexpr std::int32_t kAnswerAbort = 2;
constexpr std::int32_t kAnswerRetry = 3;
constexpr std::int32_t kAnswerIgnore = 4;
constexpr std::int32_t kAnswerYes = 5;
constexpr std::int32_t kAnswerNo = 6;

using CleanupRoutine = void (*)();

void initServices();
void registerCleanup(CleanupRoutine routine);
// Texts are UTF-8. A box that cannot be shown answers 0.
std::int32_t showMessageBox(std::string_view text, std::int32_t style, std::string_view caption);

double textToNumber(std::string_view text);
std::int32_t textToInteger(std::string_view text);

void seedRandom();
std::int32_t randomBetween(std::int32_t low, std::int32_t high);

[[noreturn]] void exitProcess(std::int32_t code);
