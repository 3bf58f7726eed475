#include "services/step_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Kinds and steps readably in failure messages.
void PrintTo(StepFileError error, std::ostream* out) {
  static const char* const names[] = {
      "fileTooLarge", "unsupportedEncoding", "brokenUtf16", "nulCharacter", "invalidUtf8",
      "missingHeader", "notStepFile", "newerVersion", "unknownStep", "unknownKey",
      "missingField", "extraField", "badNumber", "numberOutOfRange", "tooManySteps"};
  *out << names[static_cast<int>(error)];
}
void PrintTo(const Step& step, std::ostream* out) {
  *out << "{kind " << static_cast<int>(step.kind) << ", " << step.x << ", " << step.y << ", "
       << step.delay << (step.isKey ? ", key}" : "}");
}

namespace {

using namespace std::string_literals;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

Step click(StepKind kind, std::int32_t x, std::int32_t y, std::int32_t delay) {
  return {kind, x, y, delay, false};
}
Step key(StepKind kind, std::int32_t delay) { return {kind, 0, 0, delay, true}; }

std::string utf16le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The header followed by `steps` as the writer would write them, with LF.
std::string fileOf(std::size_t steps, std::string_view line) {
  std::string text = "tapvane2-steps 1\n";
  text.reserve(text.size() + steps * (line.size() + 1));
  for (std::size_t i = 0; i < steps; ++i) (text += line) += '\n';
  return text;
}

struct ParseCase {
  std::string name;
  std::string bytes;
  // Accepted: the steps. Refused: the line and the kind of problem, and a text
  // the description must contain (the field it complains about).
  bool accepted = true;
  std::vector<Step> steps;
  std::int32_t line = 0;
  StepFileError error = StepFileError::notStepFile;
  std::string mentions;
};

ParseCase accepts(std::string name, std::string bytes, std::vector<Step> steps) {
  return {std::move(name), std::move(bytes), true, std::move(steps), 0, {}, {}};
}
ParseCase refuses(std::string name, std::string bytes, std::int32_t line, StepFileError error,
                  std::string mentions = {}) {
  return {std::move(name), std::move(bytes), false, {}, line, error, std::move(mentions)};
}

std::vector<ParseCase> parseCases() {
  using E = StepFileError;
  using K = StepKind;
  const std::string header = "tapvane2-steps 1\n";
  std::vector<ParseCase> cases = {
      // Every keyword, in the example's layout.
      accepts("the example",
              "tapvane2-steps 1\r\n"
              "# A line whose first non-blank character is # is a comment.\r\n"
              "left-click 1400 200 300\r\n"
              "left-double-click 1400 400 300\r\n"
              "right-click 1600 200 300\r\n"
              "right-double-click 1600 400 300\r\n"
              "key enter 500\r\n"
              "key backspace 0\r\n",
              {click(K::leftClick, 1400, 200, 300), click(K::leftDoubleClick, 1400, 400, 300),
               click(K::rightClick, 1600, 200, 300), click(K::rightDoubleClick, 1600, 400, 300),
               key(K::enter, 500), key(K::backspace, 0)}),
      accepts("every key",
              header + "key backspace 1\nkey enter 2\nkey space 3\nkey copy 4\nkey paste 5\nkey f5 6\n",
              {key(K::backspace, 1), key(K::enter, 2), key(K::space, 3), key(K::copy, 4),
               key(K::paste, 5), key(K::refresh, 6)}),
      accepts("keywords in any case",
              "TAPVANE2-Steps 1\nLEFT-CLICK 1 2 3\nLeft-Double-Click 4 5 6\nRIGHT-click 7 8 9\n"
              "right-DOUBLE-click 1 1 1\nKEY F5 0\nKey BackSpace 1\nkEy PaStE 2\n",
              {click(K::leftClick, 1, 2, 3), click(K::leftDoubleClick, 4, 5, 6),
               click(K::rightClick, 7, 8, 9), click(K::rightDoubleClick, 1, 1, 1),
               key(K::refresh, 0), key(K::backspace, 1), key(K::paste, 2)}),
      accepts("header only is an empty list", "tapvane2-steps 1", {}),
      accepts("blank and comment lines anywhere, tabs and runs of blanks",
              "\n  \t\n# before the header\n\t  tapvane2-steps \t 1  \n\n   # indented\n#\n"
              "\tleft-click\t 10 \t20\t\t30  \t\n \t \n  key   space\t\t7\t\n#end",
              {click(K::leftClick, 10, 20, 30), key(K::space, 7)}),
      accepts("numbers: extremes, negatives, -0 and leading zeros",
              header + "left-click -2147483648 2147483647 -2147483648\n"
                       "right-click -0 007 -0042\nkey copy 2147483647\n",
              {click(K::leftClick, kMin, kMax, kMin), click(K::rightClick, 0, 7, -42),
               key(K::copy, kMax)}),
      accepts("a comment may hold anything (GBK text, NUL, broken UTF-8)",
              header + "# \xB2\xBD\xD6\xE8\n  #a\0b\n#\xC0\xAF\xFF\nkey enter 1\n"s,
              {key(K::enter, 1)}),

      // Line endings.
      accepts("LF", header + "key enter 1\nkey space 2\n", {key(K::enter, 1), key(K::space, 2)}),
      accepts("no line end after the last step", header + "key enter 1\nkey space 2",
              {key(K::enter, 1), key(K::space, 2)}),
      accepts("mixed CRLF, LF and a lone CR", "tapvane2-steps 1\r\nkey enter 1\nkey space 2\rkey f5 3\r\n",
              {key(K::enter, 1), key(K::space, 2), key(K::refresh, 3)}),
      refuses("CRLF counts as one line break", "tapvane2-steps 1\r\n\r\nkey enter 1\r\nbad\r\n", 4,
              E::unknownStep, "bad"),
      refuses("a lone CR counts as a line break", "tapvane2-steps 1\r\rkey enter 1\rbad", 4,
              E::unknownStep, "bad"),
      refuses("LF then CRLF are two line breaks", "tapvane2-steps 1\n\r\nbad", 3, E::unknownStep),

      // Encodings.
      accepts("UTF-8 with a byte-order mark", "\xEF\xBB\xBFtapvane2-steps 1\r\nkey enter 1\r\n",
              {key(K::enter, 1)}),
      accepts("UTF-16 LE with a byte-order mark, Chinese comment and a surrogate pair",
              utf16le(u"tapvane2-steps 1\r\n# 我的步骤 \U0001F600\r\nleft-click -5 6 7\r\nkey paste 8"),
              {click(K::leftClick, -5, 6, 7), key(K::paste, 8)}),
      refuses("UTF-16 LE: an unpaired high surrogate",
              utf16le(u"tapvane2-steps 1\r\n# x\r\n# "s + char16_t{0xD800} + u"a\r\n"), 3,
              E::brokenUtf16),
      refuses("UTF-16 LE: a high surrogate at the very end",
              utf16le(u"tapvane2-steps 1\r\n"s + char16_t{0xDBFF}), 2, E::brokenUtf16),
      refuses("UTF-16 LE: an unpaired low surrogate",
              utf16le(u"tapvane2-steps 1\n"s + char16_t{0xDC00} + u"\n"), 2, E::brokenUtf16),
      refuses("UTF-16 LE: an odd byte at the end", utf16le(u"tapvane2-steps 1\n") + "k", 2,
              E::brokenUtf16),
      refuses("UTF-16 LE: a step line that is wrong after decoding",
              utf16le(u"tapvane2-steps 1\r\n# 注释\r\nkey 回车 5\r\n"), 3, E::unknownKey, "回车"),
      refuses("UTF-16 LE: a surrogate pair decodes to its one character",
              utf16le(u"tapvane2-steps 1\r\nkey \U0001F600 5\r\n"), 2, E::unknownKey,
              "“\xF0\x9F\x98\x80”"),
      refuses("UTF-16 BE", "\xFE\xFF\0t\0a"s, 0, E::unsupportedEncoding, "UTF-16 BE"),
      refuses("UTF-32 LE", "\xFF\xFE\0\0t\0\0\0"s, 0, E::unsupportedEncoding, "UTF-32"),
      refuses("UTF-32 BE", "\0\0\xFE\xFF\0\0\0t"s, 0, E::unsupportedEncoding, "UTF-32"),
      refuses("UTF-16 LE without a byte-order mark", "t\0a\0p\0\n\0"s, 1, E::nulCharacter),
      refuses("NUL in a step line", header + "key enter 1\0\n"s, 2, E::nulCharacter),
      refuses("invalid UTF-8 in a step line (GBK)", header + "key enter 1\n\xBB\xD8\xB3\xB5 1\n", 3,
              E::invalidUtf8),
      refuses("overlong UTF-8", header + "key \xC0\xAF 1\n", 2, E::invalidUtf8),
      refuses("UTF-8 of a surrogate", header + "key \xED\xA0\x80 1\n", 2, E::invalidUtf8),
      refuses("UTF-8 cut short at the end of the line", header + "key enter 1 \xE4\xBD\n", 2,
              E::invalidUtf8),
      refuses("invalid UTF-8 in the header line", "tapvane2-steps 1\xFF\n", 1, E::invalidUtf8),

      // The header.
      refuses("empty file", "", 0, E::missingHeader),
      refuses("only blank lines, comments and a byte-order mark", "\xEF\xBB\xBF\r\n# a\r\n  \r\n", 0,
              E::missingHeader),
      refuses("another text file", "hello world\n", 1, E::notStepFile),
      refuses("steps without a header", "\n# x\nleft-click 1 2 3\n", 3, E::notStepFile),
      refuses("header keyword without version", "tapvane2-steps\n", 1, E::notStepFile),
      refuses("version 0", "tapvane2-steps 0\n", 1, E::notStepFile),
      refuses("version with a point", "tapvane2-steps 1.0\n", 1, E::notStepFile),
      refuses("version with a sign", "tapvane2-steps +1\n", 1, E::notStepFile),
      refuses("negative version", "tapvane2-steps -1\n", 1, E::notStepFile),
      refuses("a lookalike keyword", "tapvane-steps 1\n", 1, E::notStepFile),
      accepts("version with leading zeros", "tapvane2-steps 001\nkey f5 1\n", {key(K::refresh, 1)}),
      refuses("version 2", "# from later\ntapvane2-steps 2\nkey f5 1\n", 2, E::newerVersion, "2"),
      refuses("newer version with more header fields", "tapvane2-steps 10 utf8\n", 1, E::newerVersion,
              "10"),
      refuses("a version beyond 32 bits is still newer", "tapvane2-steps 99999999999999999999\n", 1,
              E::newerVersion),
      refuses("header with something after it", "tapvane2-steps 1 x\n", 1, E::extraField, "x"),
      refuses("a second header", header + "tapvane2-steps 1\n", 2, E::unknownStep, "tapvane2-steps"),

      // Step lines.
      refuses("unknown step", header + "key enter 1\nmiddle-click 1 2 3\n", 3, E::unknownStep,
              "middle-click"),
      refuses("keyword without its hyphens", header + "leftclick 1 2 3\n", 2, E::unknownStep,
              "leftclick"),
      refuses("full-width keyword", header + "ｋｅｙ enter 1\n", 2, E::unknownStep, "ｋｅｙ"),
      refuses("unknown key", header + "key esc 5\n", 2, E::unknownKey, "esc"),
      refuses("key as a combination", header + "key ctrl+c 5\n", 2, E::unknownKey, "ctrl+c"),
      refuses("click without x", header + "left-click\n", 2, E::missingField, "x"),
      refuses("click without y", header + "right-click 5\n", 2, E::missingField, "y"),
      refuses("click without wait", header + "left-double-click 5 6\n", 2, E::missingField, "延迟"),
      refuses("key without name", header + "key\n", 2, E::missingField, "按键"),
      refuses("key without wait", header + "key enter\n", 2, E::missingField, "延迟"),
      refuses("click with a fourth number", header + "left-click 1 2 3 4\n", 2, E::extraField, "4"),
      refuses("key with x and y", header + "key enter 1 2 3\n", 2, E::extraField, "2"),
      refuses("a comment after a step", header + "key enter 1 # note\n", 2, E::extraField, "#"),
      refuses("plus sign", header + "left-click +5 1 1\n", 2, E::badNumber, "+5"),
      refuses("minus alone", header + "left-click - 5 1 1\n", 2, E::badNumber, "x"),
      refuses("two minus signs", header + "left-click --5 1 1\n", 2, E::badNumber, "--5"),
      refuses("decimal point", header + "left-click 1 5.0 1\n", 2, E::badNumber, "y"),
      refuses("exponent", header + "key enter 1e3\n", 2, E::badNumber, "1e3"),
      refuses("hexadecimal", header + "key enter 0x10\n", 2, E::badNumber, "0x10"),
      refuses("digits then letters", header + "right-click 12abc 1 1\n", 2, E::badNumber, "12abc"),
      refuses("full-width digits", header + "left-click １ 2 3\n", 2, E::badNumber, "１"),
      refuses("a control character in a number", header + "key enter 1\v2\n", 2, E::badNumber),
      refuses("x just past 32 bits", header + "left-click 2147483648 1 1\n", 2, E::numberOutOfRange, "x"),
      refuses("y just below 32 bits", header + "left-click 1 -2147483649 1\n", 2, E::numberOutOfRange,
              "y"),
      refuses("wait far beyond 64 bits", header + "key enter 99999999999999999999999999\n", 2,
              E::numberOutOfRange, "延迟"),
      refuses("the first problem on a line wins", header + "left-click abc\n", 2, E::badNumber, "abc"),
      refuses("the first bad line wins", header + "key enter 1\nbad\nalso bad 1\n", 3, E::unknownStep),
  };

  // The limits. The step line is the longest one the writer can produce.
  const std::string longestLine = "right-double-click -2147483648 -2147483648 -2147483648";
  const Step longestStep = click(K::rightDoubleClick, kMin, kMin, kMin);
  cases.push_back(accepts("100,000 steps", fileOf(kMaxStepFileSteps, longestLine),
                          std::vector<Step>(kMaxStepFileSteps, longestStep)));
  cases.push_back(refuses("100,001 steps", fileOf(kMaxStepFileSteps + 1, "key enter 1"),
                          static_cast<std::int32_t>(kMaxStepFileSteps) + 2, E::tooManySteps));
  // One long comment line fills the file up to the limit exactly.
  const std::string tail = "\nkey enter 1";
  const std::string exactly =
      header + std::string(kMaxStepFileBytes - header.size() - tail.size(), '#') + tail;
  cases.push_back(accepts("exactly 8 MiB", exactly, {key(K::enter, 1)}));
  cases.push_back(refuses("8 MiB and one byte", exactly + " ", 0, E::fileTooLarge, "8 MiB"));
  return cases;
}

TEST(StepFile, ParseCases) {
  for (const ParseCase& c : parseCases()) {
    SCOPED_TRACE(c.name);
    const ParsedStepFile parsed = parseStepFile(c.bytes);
    if (c.accepted) {
      EXPECT_FALSE(parsed.problem.has_value())
          << "line " << parsed.problem->line << ": " << parsed.problem->description;
      EXPECT_EQ(parsed.steps, c.steps);
      continue;
    }
    if (!parsed.problem) {
      ADD_FAILURE() << "accepted a file that should be refused";
      continue;
    }
    EXPECT_TRUE(parsed.steps.empty()) << "a refused file gives no steps";
    EXPECT_EQ(parsed.problem->line, c.line) << parsed.problem->description;
    EXPECT_EQ(parsed.problem->error, c.error) << parsed.problem->description;
    EXPECT_FALSE(parsed.problem->description.empty());
    EXPECT_NE(parsed.problem->description.find(c.mentions), std::string::npos)
        << parsed.problem->description << " should mention " << c.mentions;
  }
}

TEST(StepFile, ProblemSentenceNamesTheLine) {
  const ParsedStepFile parsed = parseStepFile("tapvane2-steps 1\nkey enter\n");
  ASSERT_TRUE(parsed.problem.has_value());
  EXPECT_EQ(describeStepFileProblem(*parsed.problem), "第 2 行：" + parsed.problem->description);
  const ParsedStepFile whole = parseStepFile("");
  ASSERT_TRUE(whole.problem.has_value());
  EXPECT_EQ(describeStepFileProblem(*whole.problem), whole.problem->description);
}

TEST(StepFile, WritesTheExactLayout) {
  const std::vector<Step> steps = {
      click(StepKind::leftClick, 1400, 200, 300),  click(StepKind::leftDoubleClick, -1920, 0, 0),
      click(StepKind::rightClick, kMin, kMax, -5), click(StepKind::rightDoubleClick, 7, 8, 9),
      key(StepKind::backspace, 0),                 key(StepKind::enter, 500),
      key(StepKind::space, -1),                    key(StepKind::copy, 1),
      key(StepKind::paste, 2),                     key(StepKind::refresh, kMax),
  };
  EXPECT_EQ(writeStepFile(steps, "1.0.0.0"),
            "tapvane2-steps 1\r\n"
            "# Tapvane2 1.0.0.0\r\n"
            "left-click 1400 200 300\r\n"
            "left-double-click -1920 0 0\r\n"
            "right-click -2147483648 2147483647 -5\r\n"
            "right-double-click 7 8 9\r\n"
            "key backspace 0\r\n"
            "key enter 500\r\n"
            "key space -1\r\n"
            "key copy 1\r\n"
            "key paste 2\r\n"
            "key f5 2147483647\r\n");
  EXPECT_EQ(writeStepFile({}, "2.5"), "tapvane2-steps 1\r\n# Tapvane2 2.5\r\n");
  // Whatever the version text holds, the comment stays one line.
  EXPECT_EQ(writeStepFile({}, "1\r\n2\n"), "tapvane2-steps 1\r\n# Tapvane2 1  2 \r\n");
}

TEST(StepFile, RandomListsComeBackStepForStep) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    // Mostly small screen positions and waits, sometimes any 32-bit value.
    const auto number = [&random]() -> std::int32_t {
      switch (random() % 4) {
        case 0: return static_cast<std::int32_t>(random());
        case 1: return static_cast<std::int32_t>(random() % 5) - 2;
        default: return static_cast<std::int32_t>(random() % 8000) - 2000;
      }
    };
    std::vector<Step> steps(random() % 300);
    for (Step& step : steps) {
      const auto kind = static_cast<StepKind>(random() % 10);
      step = static_cast<std::int32_t>(kind) >= 4 ? key(kind, number())
                                                  : click(kind, number(), number(), number());
    }
    const std::string bytes = writeStepFile(steps, "1.0.0.0");
    const ParsedStepFile parsed = parseStepFile(bytes);
    ASSERT_FALSE(parsed.problem.has_value()) << parsed.problem->description;
    EXPECT_EQ(parsed.steps, steps);
  }
}

// Every list the program can hold can be saved and opened again: the longest
// lines at the step limit stay under the byte limit.
TEST(StepFile, TheLargestListFitsAndComesBack) {
  const std::vector<Step> steps(kMaxStepFileSteps,
                                click(StepKind::rightDoubleClick, kMin, kMin, kMin));
  const std::string bytes = writeStepFile(steps, "1.0.0.0");
  EXPECT_LE(bytes.size(), kMaxStepFileBytes);
  const ParsedStepFile parsed = parseStepFile(bytes);
  ASSERT_FALSE(parsed.problem.has_value()) << parsed.problem->description;
  EXPECT_EQ(parsed.steps, steps);
}

}  // namespace
