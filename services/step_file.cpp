#include "services/step_file.h"

#include <array>
#include <charconv>
#include <limits>
#include <utility>

#include "engine/fatal_fault.h"

namespace {

constexpr std::string_view kHeaderKeyword = "tapvane2-steps";
constexpr std::string_view kProgramName = "Tapvane2";
constexpr std::string_view kKeyKeyword = "key";

struct KindWord {
  StepKind kind;
  std::string_view word;
};

// In StepKind order, so the writer can index them by kind.
constexpr std::array<KindWord, 4> kClickWords = {{
    {StepKind::leftClick, "left-click"},
    {StepKind::leftDoubleClick, "left-double-click"},
    {StepKind::rightClick, "right-click"},
    {StepKind::rightDoubleClick, "right-double-click"},
}};
constexpr std::array<KindWord, 6> kKeyWords = {{
    {StepKind::backspace, "backspace"},
    {StepKind::enter, "enter"},
    {StepKind::space, "space"},
    {StepKind::copy, "copy"},
    {StepKind::paste, "paste"},
    {StepKind::refresh, "f5"},
}};

constexpr bool inKindOrder() {
  for (std::size_t i = 0; i < kClickWords.size(); ++i) {
    if (static_cast<std::size_t>(kClickWords[i].kind) != i) return false;
  }
  for (std::size_t i = 0; i < kKeyWords.size(); ++i) {
    if (static_cast<std::size_t>(kKeyWords[i].kind) != kClickWords.size() + i) return false;
  }
  return true;
}
static_assert(inKindOrder(), "the keyword tables follow StepKind");

// --- Text helpers -----------------------------------------------------------

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lowerAscii(text[i]) != lowerWord[i]) return false;
  }
  return true;
}

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool isValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    std::uint32_t codePoint;
    std::uint32_t smallest;  // below it the form is overlong
    if ((lead & 0xE0) == 0xC0) {
      length = 2, codePoint = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, codePoint = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, codePoint = lead & 0x07u, smallest = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF) return false;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
    i += length;
  }
  return true;
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// A field as the messages quote it: short, and without control characters
// that a message box would show as boxes or line breaks. Fields come from lines
// already checked to be valid UTF-8, so cutting at a lead byte keeps them valid.
std::string quoted(std::string_view field) {
  constexpr std::size_t kLongest = 40;
  std::string_view shown = field;
  const bool cut = shown.size() > kLongest;
  if (cut) {
    std::size_t end = kLongest;
    while (end > 0 && (static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80) --end;
    shown = shown.substr(0, end);
  }
  std::string text = "“";
  for (char c : shown) text += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
  if (cut) text += "…";
  text += "”";
  return text;
}

// Line breaks before the end of text, as the line reader counts them.
std::int32_t lineNumberAtEnd(std::string_view text) {
  std::int32_t line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++line;
    }
  }
  return line;
}

// --- Problems -----------------------------------------------------------------

ParsedStepFile failure(std::int32_t line, StepFileError error, std::string description) {
  ParsedStepFile result;
  result.problem = StepFileProblem{line, error, std::move(description)};
  return result;
}

// --- Decoding -----------------------------------------------------------------

bool startsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// UTF-16 LE (after its byte-order mark) to UTF-8; a problem when it is broken.
std::optional<StepFileProblem> utf16LeToUtf8(std::string_view bytes, std::string& out) {
  out.clear();
  out.reserve(bytes.size() + bytes.size() / 2);
  const auto unitAt = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  const auto broken = [&](const char* what) {
    return StepFileProblem{lineNumberAtEnd(out), StepFileError::brokenUtf16,
                           std::string("UTF-16 文本有误：") + what +
                               "。请用记事本把文件另存为 UTF-8 后再打开。"};
  };
  std::size_t i = 0;
  while (bytes.size() - i >= 2) {
    std::uint32_t codePoint = unitAt(i);
    i += 2;
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
      if (bytes.size() - i < 2) return broken("代理项不成对");
      const std::uint32_t low = unitAt(i);
      if (low < 0xDC00 || low > 0xDFFF) return broken("代理项不成对");
      i += 2;
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
    } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
      return broken("代理项不成对");
    }
    appendUtf8(out, codePoint);
  }
  if (i != bytes.size()) return broken("文件末尾多出半个字符");
  return std::nullopt;
}

// --- Lines and fields ---------------------------------------------------------

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool next(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    // A plain loop: find_first_of looks each character up in the set with a call.
    std::size_t end = position_;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
    line = text_.substr(position_, end - position_);
    position_ = end + 1;
    if (end < text_.size() && text_[end] == '\r' && position_ < text_.size() &&
        text_[position_] == '\n') {
      ++position_;
    }
    ++number_;
    return true;
  }
  std::int32_t number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  std::int32_t number_ = 0;
};

// The first fields of a line, and how many there are in all.
struct Fields {
  static constexpr std::size_t kKept = 5;  // a click step and one field too many
  std::array<std::string_view, kKept> field;
  std::size_t count = 0;
};

Fields splitFields(std::string_view line) {
  Fields fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t begin = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (fields.count < Fields::kKept) fields.field[fields.count] = line.substr(begin, i - begin);
    ++fields.count;
  }
  return fields;
}

enum class NumberReading { ok, notANumber, outOfRange };

NumberReading readInt32(std::string_view text, std::int32_t& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i == text.size()) return NumberReading::notANumber;
  // One past the largest magnitude: enough to tell in range from out of it
  // while every digit is still checked.
  constexpr std::int64_t kCap = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return NumberReading::notANumber;
    if (magnitude <= kCap) magnitude = magnitude * 10 + (c - '0');
  }
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue < std::numeric_limits<std::int32_t>::min() ||
      signedValue > std::numeric_limits<std::int32_t>::max()) {
    return NumberReading::outOfRange;
  }
  value = static_cast<std::int32_t>(signedValue);
  return NumberReading::ok;
}

// --- Line grammar -------------------------------------------------------------

// Parses one line that is neither blank nor a comment; the problem's line is
// filled in by the caller.
class LineParser {
 public:
  explicit LineParser(const Fields& fields) : fields_(fields) {}

  std::optional<StepFileProblem> header() {
    const std::string_view keyword = fields_.field[0];
    if (!equalsIgnoringCase(keyword, kHeaderKeyword) || fields_.count < 2) return notStepFile();
    std::string_view version = fields_.field[1];
    if (version.empty() || version.find_first_not_of("0123456789") != std::string_view::npos) {
      return notStepFile();
    }
    const std::size_t significant = version.find_first_not_of('0');
    if (significant == std::string_view::npos) return notStepFile();  // version 0 never existed
    version.remove_prefix(significant);
    if (version != "1") {
      // A later format may well add fields to its header, so they are not looked at.
      return problem(StepFileError::newerVersion,
                     "这是更新版本的 Tapvane2 保存的步骤文件（格式版本 " +
                         std::string(version.substr(0, 20)) + (version.size() > 20 ? "…" : "") +
                         "），本版本无法读取。请升级 Tapvane2 后再打开。");
    }
    return noExtraFieldsAfter(2);
  }

  std::optional<StepFileProblem> step(Step& step) {
    const std::string_view keyword = fields_.field[0];
    for (const KindWord& click : kClickWords) {
      if (!equalsIgnoringCase(keyword, click.word)) continue;
      step = Step{click.kind, 0, 0, 0, false};
      if (auto bad = number(1, "x 坐标", step.x)) return bad;
      if (auto bad = number(2, "y 坐标", step.y)) return bad;
      if (auto bad = number(3, "延迟", step.delay)) return bad;
      return noExtraFieldsAfter(4);
    }
    if (equalsIgnoringCase(keyword, kKeyKeyword)) {
      if (fields_.count < 2) {
        return problem(StepFileError::missingField,
                       "key 后面缺少按键名称（backspace、enter、space、copy、paste 或 f5）。");
      }
      const KindWord* key = nullptr;
      for (const KindWord& candidate : kKeyWords) {
        if (equalsIgnoringCase(fields_.field[1], candidate.word)) {
          key = &candidate;
          break;
        }
      }
      if (key == nullptr) {
        return problem(StepFileError::unknownKey,
                       "未知的按键" + quoted(fields_.field[1]) +
                           "，应为 backspace、enter、space、copy、paste 或 f5。");
      }
      step = Step{key->kind, 0, 0, 0, true};
      if (auto bad = number(2, "延迟", step.delay)) return bad;
      return noExtraFieldsAfter(3);
    }
    return problem(StepFileError::unknownStep,
                   "未知的步骤" + quoted(keyword) +
                       "，应为 left-click、left-double-click、right-click、right-double-click 或 key。");
  }

 private:
  static std::optional<StepFileProblem> problem(StepFileError error, std::string description) {
    return StepFileProblem{0, error, std::move(description)};
  }

  static std::optional<StepFileProblem> notStepFile() {
    return problem(StepFileError::notStepFile,
                   "这不是 Tapvane2 的步骤文件：文件应以“" + std::string(kStepFileHeader) + "”开头。");
  }

  std::optional<StepFileProblem> number(std::size_t index, const char* name, std::int32_t& value) {
    if (index >= fields_.count) {
      return problem(StepFileError::missingField, std::string("缺少字段：") + name + "。");
    }
    const std::string_view text = fields_.field[index];
    switch (readInt32(text, value)) {
      case NumberReading::ok:
        return std::nullopt;
      case NumberReading::notANumber:
        return problem(StepFileError::badNumber, std::string(name) + quoted(text) +
                                                     "不是有效的整数：只能由数字组成，负数前加减号。");
      case NumberReading::outOfRange:
        break;
    }
    return problem(StepFileError::numberOutOfRange,
                   std::string(name) + quoted(text) + "超出范围，应在 -2147483648 到 2147483647 之间。");
  }

  std::optional<StepFileProblem> noExtraFieldsAfter(std::size_t expected) const {
    if (fields_.count <= expected) return std::nullopt;
    return problem(StepFileError::extraField,
                   "行末有多余的内容" + quoted(fields_.field[expected]) + "。");
  }

  const Fields& fields_;
};

ParsedStepFile parseLines(std::string_view text) {
  ParsedStepFile result;
  bool headerSeen = false;
  LineReader reader(text);
  std::string_view line;
  while (reader.next(line)) {
    line = trimBlanks(line);
    if (line.empty() || line.front() == '#') continue;
    const std::int32_t number = reader.number();
    if (line.find('\0') != std::string_view::npos) {
      return failure(number, StepFileError::nulCharacter,
                     "含有空字符（NUL）。这可能不是文本文件，或是不带字节顺序标记的 UTF-16 文件。");
    }
    if (!isValidUtf8(line)) {
      return failure(number, StepFileError::invalidUtf8,
                     "含有无效的 UTF-8 字节。请把文件另存为 UTF-8 编码后再打开。");
    }
    const Fields fields = splitFields(line);
    LineParser parser(fields);
    std::optional<StepFileProblem> problem;
    if (!headerSeen) {
      problem = parser.header();
      headerSeen = true;
    } else {
      Step step;
      problem = parser.step(step);
      if (!problem && result.steps.size() == kMaxStepFileSteps) {
        return failure(number, StepFileError::tooManySteps,
                       "步骤数超过上限（最多 " + std::to_string(kMaxStepFileSteps) + " 个）。");
      }
      if (!problem) result.steps.push_back(step);
    }
    if (problem) return failure(number, problem->error, std::move(problem->description));
  }
  if (!headerSeen) {
    return failure(0, StepFileError::missingHeader,
                   "文件是空的或只有注释，缺少开头的“" + std::string(kStepFileHeader) +
                       "”，不是 Tapvane2 的步骤文件。");
  }
  return result;
}

void appendNumber(std::string& out, std::int32_t value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

std::string_view kindWord(StepKind kind) {
  const auto index = static_cast<std::int32_t>(kind);
  if (index >= 0 && index < static_cast<std::int32_t>(kClickWords.size())) {
    return kClickWords[static_cast<std::size_t>(index)].word;
  }
  const std::int32_t keyIndex = index - static_cast<std::int32_t>(kClickWords.size());
  if (keyIndex >= 0 && keyIndex < static_cast<std::int32_t>(kKeyWords.size())) {
    return kKeyWords[static_cast<std::size_t>(keyIndex)].word;
  }
  fatalFault("a step of unknown kind cannot be saved");
}

bool isKeyKind(StepKind kind) {
  return static_cast<std::int32_t>(kind) >= static_cast<std::int32_t>(kClickWords.size());
}

}  // namespace

std::string stepFileTooLargeText() {
  return "文件大于 " + std::to_string(kMaxStepFileBytes / (1024 * 1024)) +
         " MiB，超过了步骤文件的大小上限。";
}

ParsedStepFile parseStepFile(std::string_view fileBytes) {
  if (fileBytes.size() > kMaxStepFileBytes) {
    return failure(0, StepFileError::fileTooLarge, stepFileTooLargeText());
  }
  const auto unsupported = [](const char* encoding) {
    return failure(0, StepFileError::unsupportedEncoding,
                   std::string("文件是 ") + encoding +
                       " 编码，无法读取。请用记事本把它另存为 UTF-8 后再打开。");
  };
  // UTF-32 LE's mark starts like UTF-16 LE's, so it is looked at first.
  if (startsWith(fileBytes, std::string_view("\xFF\xFE\0\0", 4)) ||
      startsWith(fileBytes, std::string_view("\0\0\xFE\xFF", 4))) {
    return unsupported("UTF-32");
  }
  if (startsWith(fileBytes, "\xFE\xFF")) return unsupported("UTF-16 BE");
  if (startsWith(fileBytes, "\xFF\xFE")) {
    std::string converted;
    if (auto problem = utf16LeToUtf8(fileBytes.substr(2), converted)) {
      ParsedStepFile result;
      result.problem = std::move(problem);
      return result;
    }
    return parseLines(converted);
  }
  if (startsWith(fileBytes, "\xEF\xBB\xBF")) fileBytes.remove_prefix(3);
  return parseLines(fileBytes);
}

std::string describeStepFileProblem(const StepFileProblem& problem) {
  if (problem.line <= 0) return problem.description;
  return "第 " + std::to_string(problem.line) + " 行：" + problem.description;
}

std::string writeStepFile(const std::vector<Step>& steps, std::string_view version) {
  std::string out;
  out.reserve(64 + version.size() + steps.size() * 32);
  out += kStepFileHeader;
  out += "\r\n# ";
  out += kProgramName;
  out += ' ';
  // The comment must stay one line whatever the version text holds.
  for (char c : version) out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
  out += "\r\n";
  for (const Step& step : steps) {
    if (isKeyKind(step.kind)) {
      out += kKeyKeyword;
      out += ' ';
    }
    out += kindWord(step.kind);
    out += ' ';
    if (!isKeyKind(step.kind)) {
      appendNumber(out, step.x);
      out += ' ';
      appendNumber(out, step.y);
      out += ' ';
    }
    appendNumber(out, step.delay);
    out += "\r\n";
  }
  return out;
}
