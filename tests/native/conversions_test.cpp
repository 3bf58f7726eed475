#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ConversionCase {
  const char* text;
  double number;
  std::int32_t integer;
};

// Both conversions of each text. Full-width forms are written as UTF-8 bytes.
const ConversionCase kCases[] = {
    // Plain texts as typed into the boxes.
    {"1700", 1700.0, 1700},
    {"", 0.0, 0},
    {"abc", 0.0, 0},
    {"-", 0.0, 0},
    {"12abc", 12.0, 12},
    {" 5", 5.0, 5},
    {"-3", -3.0, -3},
    {"+7", 7.0, 7},
    {"1.9", 1.9, 1},
    {"1e3", 1000.0, 1},
    {"\t\n\v\f\r 42", 42.0, 42},
    {"--5", 0.0, 0},
    {"+-5", 0.0, 0},
    {"- 5", 0.0, 0},
    {"5 6", 5.0, 5},
    // Only the decimal form: no hex, infinity or not-a-number words.
    {"0x10", 0.0, 0},
    {"inf", 0.0, 0},
    {"nan", 0.0, 0},
    // A number needs a digit; an exponent without digits is not taken.
    {".", 0.0, 0},
    {"-.5", -0.5, 0},
    {"3.", 3.0, 3},
    {"1e", 1.0, 1},
    {"1e+", 1.0, 1},
    {"2E-2x", 0.02, 2},
    {"0.1", 0.1, 0},
    {"123456789012345678901234567890", 123456789012345678901234567890.0, 1312754386},
    // Out of the double's range, as atof: infinity or zero.
    {"1e400", kInf, 1},
    {"-1e400", -kInf, -1},
    {"1e-400", 0.0, 1},
    {"4e-324", 4.9406564584124654e-324, 4},
    {"1e99999999999999999999999", kInf, 1},
    {"0e99999999999999999999999", 0.0, 0},
    // The integer wraps around in 32 bits without complaint.
    {"2147483647", 2147483647.0, 2147483647},
    {"2147483648", 2147483648.0, std::numeric_limits<std::int32_t>::min()},
    {"-2147483648", -2147483648.0, std::numeric_limits<std::int32_t>::min()},
    {"-2147483649", -2147483649.0, 2147483647},
    {"4294967297", 4294967297.0, 1},
    {"99999999999", 99999999999.0, 1215752191},
    // Full-width digits, signs, point, exponent letter and the ideographic space.
    {"\xEF\xBC\x91\xEF\xBC\x92", 12.0, 12},                         // "１２"
    {"\xEF\xBC\x8D\xEF\xBC\x98", -8.0, -8},                         // "－８"
    {"\xEF\xBC\x8B\xEF\xBC\x99", 9.0, 9},                           // "＋９"
    {"\xEF\xBC\x91\xEF\xBC\x8E\xEF\xBC\x95", 1.5, 1},               // "１．５"
    {"\xEF\xBC\x91\xEF\xBD\x85\xEF\xBC\x92", 100.0, 1},             // "１ｅ２"
    {"\xE3\x80\x80\xEF\xBC\x97", 7.0, 7},                           // "　７"
    {"1\xEF\xBC\x92" "3", 123.0, 123},                              // "1２3"
    {"\xEF\xBC\x90\xEF\xBD\x98\xEF\xBC\x91", 0.0, 0},               // "０ｘ１"
    // Any other character ends the number where it stands.
    {"5\xE4\xBD\xA0", 5.0, 5},                                      // "5你"
    {"\xE4\xBD\xA0" "5", 0.0, 0},                                   // "你5"
    {"\xEF\xBC\x81" "5", 0.0, 0},                                   // "！5"
    {"\xEF\xBD\x9F" "5", 0.0, 0},                                   // U+FF5F, past the folded range
    {"\xEF\xBC\x80" "5", 0.0, 0},                                   // below it
    // Broken UTF-8 is read safely and never yields a digit or a space.
    {"\xEF\xBC", 0.0, 0},
    {"7\xEF\xBC", 7.0, 7},
    {"\xEF" "5", 0.0, 0},
    {"\xE3\x80" "5", 0.0, 0},
    {"\x80 5", 0.0, 0},
    {"\xBC\x91", 0.0, 0},
    {"6\xFF\xFE", 6.0, 6},
};

TEST(Conversions, TextToNumberAndTextToInteger) {
  for (const ConversionCase& c : kCases) {
    SCOPED_TRACE(std::string("text: \"") + c.text + "\"");
    EXPECT_EQ(textToNumber(c.text), c.number);
    EXPECT_EQ(textToInteger(c.text), c.integer);
  }
}

TEST(Conversions, ReadOnlyTheGivenLengthNotUpToANul) {
  const std::string text("12\0" "34", 5);
  EXPECT_EQ(textToNumber(text), 12.0);
  EXPECT_EQ(textToInteger(text), 12);
  const std::string_view prefix("98765", 3);
  EXPECT_EQ(textToNumber(prefix), 987.0);
  EXPECT_EQ(textToInteger(prefix), 987);
}

TEST(Conversions, NegativeZeroKeepsItsSign) {
  EXPECT_TRUE(std::signbit(textToNumber("-0")));
  EXPECT_FALSE(std::signbit(textToNumber("abc")));
  EXPECT_EQ(textToInteger("-0"), 0);
}

}  // namespace
