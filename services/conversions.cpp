// Locale-independent, so a typed number reads the same on every system.
#include "services/conversions.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

// Full-width "!" to "~" (U+FF01..U+FF5E) become their ASCII forms and the
// ideographic space (U+3000) a space. Every other byte is kept as it is: a
// byte of 0x80 or above can never be part of a number, so other characters
// and broken sequences simply end the number where they stand.
std::string foldFullWidth(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 == 0xEF && i + 2 < text.size()) {
      const auto b1 = static_cast<unsigned char>(text[i + 1]);
      const auto b2 = static_cast<unsigned char>(text[i + 2]);
      // U+FF01..U+FF3F is EF BC 81..BF, U+FF40..U+FF5E is EF BD 80..9E.
      if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) {
        folded.push_back(static_cast<char>(b2 - 0x81 + 0x21));
        i += 3;
        continue;
      }
      if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) {
        folded.push_back(static_cast<char>(b2 - 0x80 + 0x60));
        i += 3;
        continue;
      }
    }
    if (b0 == 0xE3 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
        static_cast<unsigned char>(text[i + 2]) == 0x80) {
      folded.push_back(' ');
      i += 3;
      continue;
    }
    folded.push_back(text[i]);
    ++i;
  }
  return folded;
}

// Far beyond any exponent a double can use, and beyond any text's length.
constexpr long long kExponentCap = 1000000000000000LL;

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipSpace(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  return i;
}

// Steps over one '+' or '-'; true for '-'.
bool takeSign(const std::string& text, std::size_t& i) {
  if (i >= text.size() || (text[i] != '+' && text[i] != '-')) return false;
  return text[i++] == '-';
}

}  // namespace

double textToNumber(std::string_view text) {
  const std::string folded = foldFullWidth(text);
  std::size_t i = skipSpace(folded);
  const bool negative = takeSign(folded, i);

  // The longest decimal prefix: digits, an optional point and digits (at
  // least one digit in all), then an exponent only if it has digits.
  const std::size_t start = i;
  std::size_t digits = 0;
  // Decimal exponent of the first significant digit, to tell an overflow
  // from an underflow when the value is out of range.
  long long magnitude = 0;
  bool significant = false;
  while (i < folded.size() && isDigit(folded[i])) {
    if (folded[i] != '0') significant = true;
    if (significant) ++magnitude;
    ++digits;
    ++i;
  }
  if (i < folded.size() && folded[i] == '.') {
    ++i;
    while (i < folded.size() && isDigit(folded[i])) {
      if (!significant) {
        if (folded[i] != '0') significant = true;
        else --magnitude;
      }
      ++digits;
      ++i;
    }
  }
  if (digits == 0) return 0.0;
  if (i < folded.size() && (folded[i] == 'e' || folded[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < folded.size() && (folded[j] == '+' || folded[j] == '-')) {
      negativeExponent = folded[j] == '-';
      ++j;
    }
    if (j < folded.size() && isDigit(folded[j])) {
      long long exponent = 0;
      while (j < folded.size() && isDigit(folded[j])) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (folded[j] - '0');
        ++j;
      }
      magnitude += negativeExponent ? -exponent : exponent;
      i = j;
    }
  }

  double value = 0.0;
  const char* first = folded.data() + start;
  const char* last = folded.data() + i;
  const std::from_chars_result result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // As atof: an overflow gives infinity, an underflow zero.
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc() || result.ptr != last) {
    value = 0.0;  // cannot happen for the prefix taken above
  }
  return negative ? -value : value;
}

namespace {

// What atoi reads: the sign and the digits' value, kept exactly while it fits
// in 64 bits and marked when it does not.
struct IntegerRead {
  bool negative = false;
  std::uint32_t low32 = 0;     // the value modulo 2^32, as atoi's wrapping sees it
  std::uint64_t magnitude = 0;  // the value itself, up to 2^32 and beyond
  bool huge = false;           // above what magnitude holds
};

IntegerRead readInteger(std::string_view text) {
  const std::string folded = foldFullWidth(text);
  std::size_t i = skipSpace(folded);
  IntegerRead read;
  read.negative = takeSign(folded, i);
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 40;  // far above any 32-bit value
  while (i < folded.size() && isDigit(folded[i])) {
    const auto digit = static_cast<std::uint32_t>(folded[i] - '0');
    read.low32 = read.low32 * 10u + digit;
    if (!read.huge) {
      read.magnitude = read.magnitude * 10u + digit;
      if (read.magnitude > kLimit) read.huge = true;
    }
    ++i;
  }
  return read;
}

}  // namespace

std::int32_t textToInteger(std::string_view text) {
  const IntegerRead read = readInteger(text);
  // 32-bit arithmetic that wraps, without an overflow check.
  const std::uint32_t value = read.negative ? 0u - read.low32 : read.low32;
  if (value <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    return static_cast<std::int32_t>(value);
  }
  return -static_cast<std::int32_t>(~value) - 1;
}

std::optional<std::int32_t> textToIntegerInRange(std::string_view text) {
  const IntegerRead read = readInteger(text);
  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
  const std::uint64_t limit = read.negative ? kMaxPositive + 1 : kMaxPositive;
  if (read.huge || read.magnitude > limit) return std::nullopt;
  const auto magnitude = static_cast<std::int64_t>(read.magnitude);
  return static_cast<std::int32_t>(read.negative ? -magnitude : magnitude);
}
