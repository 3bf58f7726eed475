// Start-up time: starts Tapvane2.exe and, in the same run, a program that shows
// one empty window, alternately, and measures for each start the time from
// CreateProcess until a top-level window of the new process is visible, and
// until the process then waits for input with nothing left to do (its first
// paint done; WaitForInputIdle). Prints the median, quartiles and extremes of
// both programs and the ratios of the medians; asserts nothing.
//
// Usage: startup_bench [RUNS [PROGRAM [BASELINE]]]
//   RUNS      counted starts of each program (default 20; one uncounted start
//             of each comes first, to warm the caches)
//   PROGRAM   default Tapvane2.exe beside this benchmark
//   BASELINE  default minimal_window.exe beside this benchmark
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kGiveUpMs = 20000;

double nowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring besideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + name;
}

std::wstring widened(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 1)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(wide.size() - 1);
  return wide;
}

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK visibleWindowOf(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct StartTimes {
  double visible = -1.0;  // ms from CreateProcess; negative when it did not come up
  double idle = -1.0;
};

// Starts program, times it and closes it again.
StartTimes timeStart(const std::wstring& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"";
  const double start = nowMs();
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return {};
  }
  Search search{process.dwProcessId, nullptr};
  StartTimes times;
  for (;;) {
    EnumWindows(visibleWindowOf, reinterpret_cast<LPARAM>(&search));
    const double now = nowMs();
    if (search.found != nullptr) {
      times.visible = now - start;
      if (WaitForInputIdle(process.hProcess, kGiveUpMs) == 0) times.idle = nowMs() - start;
      break;
    }
    if (now - start > kGiveUpMs || WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (search.found != nullptr) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return times;
}

struct Summary {
  double median, lowerQuartile, upperQuartile, fastest, slowest;
};

Summary summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  auto at = [&times](double fraction) {
    const double place = fraction * static_cast<double>(times.size() - 1);
    const auto below = static_cast<std::size_t>(place);
    const std::size_t above = std::min(below + 1, times.size() - 1);
    return times[below] + (times[above] - times[below]) * (place - static_cast<double>(below));
  };
  return {at(0.5), at(0.25), at(0.75), times.front(), times.back()};
}

std::string narrowed(const std::wstring& text) {
  const std::size_t slash = text.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? text : text.substr(slash + 1);
  return std::string(name.begin(), name.end());
}

}  // namespace

void printTable(const char* title, const std::string& baselineName, std::vector<double> baseline,
                const std::string& programName, std::vector<double> program) {
  const Summary base = summarise(std::move(baseline));
  const Summary measured = summarise(std::move(program));
  std::printf("%s\n", title);
  std::printf("%-20s %8s %8s %8s %8s %8s\n", "", "median", "q1", "q3", "min", "max");
  for (const auto& row : {std::make_pair(baselineName, base), std::make_pair(programName, measured)}) {
    std::printf("%-20s %8.1f %8.1f %8.1f %8.1f %8.1f\n", row.first.c_str(), row.second.median,
                row.second.lowerQuartile, row.second.upperQuartile, row.second.fastest,
                row.second.slowest);
  }
  std::printf("ratio of the medians: %.2f\n", measured.median / base.median);
}

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const std::wstring program = argc > 2 ? widened(argv[2]) : besideThisProgram(L"Tapvane2.exe");
  const std::wstring baseline =
      argc > 3 ? widened(argv[3]) : besideThisProgram(L"minimal_window.exe");

  // Uncounted first starts: the files and Wine's own DLLs are then in the cache for both.
  if (timeStart(baseline).visible < 0 || timeStart(program).visible < 0) {
    std::fprintf(stderr, "a program did not show a window\n");
    return 1;
  }
  std::vector<double> programVisible, programIdle, baselineVisible, baselineIdle;
  for (int run = 0; run < runs; ++run) {
    // Alternating, so a slow spell of the machine falls on both.
    const StartTimes base = timeStart(baseline);
    const StartTimes measured = timeStart(program);
    if (base.idle < 0 || measured.idle < 0) {
      std::fprintf(stderr, "a program did not show a window or did not come to rest\n");
      return 1;
    }
    baselineVisible.push_back(base.visible);
    baselineIdle.push_back(base.idle);
    programVisible.push_back(measured.visible);
    programIdle.push_back(measured.idle);
  }

  std::printf("%d starts of each, ms from CreateProcess\n", runs);
  printTable("until a window is visible", narrowed(baseline), baselineVisible, narrowed(program),
             programVisible);
  printTable("until the program waits for input (WaitForInputIdle)", narrowed(baseline),
             baselineIdle, narrowed(program), programIdle);
  return 0;
}
