// libFuzzer target: both conversions take any bytes without a fault, and
// agree with each other where they must.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"

namespace {

// A point or an exponent letter, ASCII or full-width: atoi stops there, atof
// does not.
bool mayHaveFraction(std::string_view text) {
  for (std::string_view mark : {".", "e", "E", "\xEF\xBC\x8E", "\xEF\xBD\x85", "\xEF\xBC\xA5"}) {
    if (text.find(mark) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double number = textToNumber(text);
  const std::int32_t integer = textToInteger(text);

  // atof never gives not-a-number for a decimal text.
  if (std::isnan(number)) std::abort();
  // Where the number is a small whole value, the integer reading must match,
  // unless the text carried an exponent or a point that atoi stops at.
  if (std::fabs(number) < 1e9 && number == std::trunc(number) &&
      !mayHaveFraction(text) &&
      static_cast<double>(integer) != number) {
    std::abort();
  }
  return 0;
}
