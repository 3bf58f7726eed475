// Step files: the recorded steps as text that a user can read, mail and edit.
//
//   tapvane2-steps 1
//   # Tapvane2 1.0.0.0
//   left-click 1400 200 300
//   left-double-click 1400 400 300
//   right-click 1600 200 300
//   right-double-click 1600 400 300
//   key enter 500
//   key backspace 0
//
// Lines
// - A line ends with CRLF, LF or a lone CR (what an editor shows as a line
//   break is one); the last line may have no ending. Lines are numbered from 1
//   as an editor numbers them.
// - Blank lines (spaces and tabs only) are ignored, and so is a line whose first
//   non-blank character is #, whatever else it holds (a comment saved in another
//   encoding does no harm).
// - Fields are separated by runs of spaces and tabs; leading and trailing ones
//   are ignored. Keywords are case-insensitive (ASCII letters).
//
// Header: the first line that is neither blank nor a comment is
// `tapvane2-steps 1`. The same keyword with a higher version is a file from a
// newer Tapvane2 and has its own message; any other first line means the file
// is not a step file.
//
// Steps, one a line:
//   left-click | left-double-click | right-click | right-double-click  X Y WAIT
//   key backspace | enter | space | copy (Ctrl+C) | paste (Ctrl+V) | f5  WAIT
// X, Y and WAIT (milliseconds) are decimal integers in signed 32 bits with an
// optional leading minus: no plus sign, no spaces inside, no other notation.
// Leading zeros are allowed ("007" is 7, "-0" is 0); the writer never writes
// them. Negative coordinates are real on multi-monitor desktops; a negative
// wait is kept as written and plays as 0. Anything more on a line is an error.
// Key steps have x = y = 0 and isKey set.
//
// Encodings: UTF-8 with or without a byte-order mark, and UTF-16 LE with its
// byte-order mark (Notepad's "Unicode"). Other byte-order marks (UTF-16 BE,
// UTF-32) are refused by name. Outside comments the text must be valid UTF-8
// without NUL characters; in UTF-16 every surrogate must be paired.
//
// Limits: at most kMaxStepFileBytes bytes and kMaxStepFileSteps steps. A file
// with just the header is an empty list.
//
// Errors: reading stops at the first problem and gives no steps at all, so the
// caller keeps what it has. The problem names its line (0 when it concerns the
// whole file) and says in Chinese what is wrong.
//
// Writing: UTF-8 without a byte-order mark, CRLF line ends, the header, a
// comment with the program's name and version, then one line per step by its
// kind (a key step's x and y are not written), so that reading it back gives
// the same steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/step_list.h"

// The longest step line (56 bytes with CRLF) times the step limit still fits,
// so every list that can be saved can be opened again.
constexpr std::size_t kMaxStepFileBytes = 8 * 1024 * 1024;
constexpr std::size_t kMaxStepFileSteps = 100000;
constexpr std::string_view kStepFileHeader = "tapvane2-steps 1";

enum class StepFileError {
  fileTooLarge,         // over kMaxStepFileBytes (line 0)
  unsupportedEncoding,  // UTF-16 BE or UTF-32 byte-order mark (line 0)
  brokenUtf16,          // unpaired surrogate or an odd byte at the end
  nulCharacter,
  invalidUtf8,
  missingHeader,        // nothing but blank and comment lines (line 0)
  notStepFile,          // the first line is not the header
  newerVersion,         // the header of a later format version
  unknownStep,          // first field is no step keyword
  unknownKey,           // key name after `key` is not one of the six
  missingField,
  extraField,
  badNumber,            // not a decimal integer with an optional minus
  numberOutOfRange,     // beyond signed 32 bits
  tooManySteps,         // the step past kMaxStepFileSteps
};

struct StepFileProblem {
  std::int32_t line = 0;  // 1-based; 0 when it concerns the whole file
  StepFileError error = StepFileError::notStepFile;
  std::string description;  // Chinese, UTF-8, without the line number
};

struct ParsedStepFile {
  std::vector<Step> steps;                 // empty when there is a problem
  std::optional<StepFileProblem> problem;  // the first one found
};

// Reads a whole file's bytes. Any bytes at all give steps or a problem; the only
// exception is std::bad_alloc when memory runs out.
ParsedStepFile parseStepFile(std::string_view fileBytes);
// Why a file over kMaxStepFileBytes is refused, for whoever finds it first.
std::string stepFileTooLargeText();
// The problem as one sentence: "第 12 行：…", or the description alone for line 0.
std::string describeStepFileProblem(const StepFileProblem& problem);
// The file's bytes; version goes into the comment line after the program's name.
// A step of a kind outside StepKind is a fatal fault.
std::string writeStepFile(const std::vector<Step>& steps, std::string_view version);
