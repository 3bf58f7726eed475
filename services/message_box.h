// Message boxes: the styles the handlers use, the answer codes, and where the
// answer of the last confirmation box is kept.
#pragma once

#include <cstdint>
#include <string_view>

// The handlers' own numbers; each backend turns them into its platform's styles.
enum class BoxStyle : std::int32_t {
  stop = 16,         // stop icon, OK
  question = 33,     // question icon, OK and Cancel
  exclamation = 49,  // exclamation icon, OK and Cancel
  information = 64,  // information icon, OK
};

// Answer codes.
constexpr std::int32_t kAnswerOk = 0;
constexpr std::int32_t kAnswerCancel = 1;
constexpr std::int32_t kAnswerAbort = 2;
constexpr std::int32_t kAnswerRetry = 3;
constexpr std::int32_t kAnswerIgnore = 4;
constexpr std::int32_t kAnswerYes = 5;
constexpr std::int32_t kAnswerNo = 6;

// The answer code of the last confirmation box a handler asked.
extern std::int32_t dialogAnswer;

// Texts are UTF-8; an empty caption gets the default one. A box that cannot be
// shown answers 0.
std::int32_t showMessageBox(std::string_view text, BoxStyle style, std::string_view caption);
// True while a box of the program is up (handlers run in its loop meanwhile).
bool messageBoxUp();
