// Times opening and saving a step file of 100,000 steps: open = read the file
// whole + parse it, save = write the text + replace the file atomically (with
// its flush to the disk). Prints median and max over several repetitions, and
// the parts of each; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "services/step_file.h"
#include "services/win32/file_io.h"
#include "services/win32/wide_text.h"

namespace {

double nowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// Screen positions on a two-monitor desktop, waits as users type them.
std::vector<Step> sampleSteps(std::size_t count) {
  std::mt19937 random(9);
  std::vector<Step> steps(count);
  for (Step& step : steps) {
    const auto kind = static_cast<StepKind>(random() % 10);
    const auto delay = static_cast<std::int32_t>(random() % 5000);
    if (static_cast<int>(kind) >= 4) {
      step = {kind, 0, 0, delay, true};
    } else {
      step = {kind, static_cast<std::int32_t>(random() % 3840) - 1920,
              static_cast<std::int32_t>(random() % 1080), delay, false};
    }
  }
  return steps;
}

struct Series {
  const char* name;
  std::vector<double> ms;
  void print() {
    std::sort(ms.begin(), ms.end());
    std::printf("%-30s %9.2f %9.2f\n", name, ms[ms.size() / 2], ms.back());
  }
};

// Saves then opens the list kRepetitions times each; false when a round fails.
bool measure(const char* title, const std::vector<Step>& steps, const std::string& path) {
  constexpr int kRepetitions = 15;
  Series open{"open (read + parse)", {}}, read{"  read", {}}, parse{"  parse", {}};
  Series save{"save (write + atomic replace)", {}}, write{"  write text", {}},
      replace{"  save atomically", {}};
  std::size_t fileBytes = 0;

  for (int i = 0; i < kRepetitions; ++i) {
    const double start = nowMs();
    const std::string text = writeStepFile(steps, "1.0.0.0");
    const double written = nowMs();
    if (saveFileAtomically(path, text) != FileSaveResult::ok) return false;
    const double saved = nowMs();
    write.ms.push_back(written - start);
    replace.ms.push_back(saved - written);
    save.ms.push_back(saved - start);
    fileBytes = text.size();
  }
  for (int i = 0; i < kRepetitions; ++i) {
    const double start = nowMs();
    const FileContent content = readWholeFile(path, kMaxStepFileBytes);
    const double gotBytes = nowMs();
    const ParsedStepFile parsed = parseStepFile(content.bytes);
    const double done = nowMs();
    if (content.result != FileReadResult::ok || parsed.problem || parsed.steps != steps) {
      return false;
    }
    read.ms.push_back(gotBytes - start);
    parse.ms.push_back(done - gotBytes);
    open.ms.push_back(done - start);
  }

  std::printf("%s: %zu steps, %zu bytes, %d repetitions\n", title, steps.size(), fileBytes,
              kRepetitions);
  std::printf("%-30s %9s %9s\n", "ms", "median", "max");
  for (Series* series : {&open, &read, &parse, &save, &write, &replace}) series->print();
  return true;
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"tapvane2-step-file-bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"\\步骤.txt";

  // The longest lines there are make the largest file the program can write.
  const Step longest{StepKind::rightDoubleClick, -2147483647 - 1, -2147483647 - 1,
                     -2147483647 - 1, false};
  const bool ok =
      measure("typical steps", sampleSteps(kMaxStepFileSteps), narrow(file)) &&
      measure("longest lines", std::vector<Step>(kMaxStepFileSteps, longest), narrow(file));
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
  if (!ok) std::printf("a save or an open failed\n");
  return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
