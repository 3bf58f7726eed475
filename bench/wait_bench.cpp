// Measures the pumping wait against a baseline that polls the queue with a
// GetTickCount deadline: overshoot past the deadline, the earliest return, and
// CPU time per second of waiting. Prints a table; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/message_pump.h"
#include "engine/platform_port.h"
#include "engine/win32/win32_platform_port.h"

namespace {

// The busy loop the wait replaces: a 32-bit tick deadline, pumping without sleep.
void baselineWait(std::int32_t ms) {
  if (ms <= 0) return;
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    pumpPendingMessages();
    pumpPendingMessages();
    if (GetTickCount() > deadline) return;
    pumpPendingMessages();
    pumpPendingMessages();
  }
}

std::int64_t cpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto toInt = [](FILETIME t) {
    return (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return (toInt(kernel) + toInt(user)) / 10;
}

struct Figures {
  double medianMs, p99Ms, earliestMs, cpuPercent;
};

Figures measure(void (*wait)(std::int32_t), std::int32_t ms, int repetitions) {
  PlatformPort& port = platformPort();
  std::vector<double> overshoot;
  const std::int64_t cpuBefore = cpuMicroseconds();
  const std::int64_t wallBefore = port.monotonicMicroseconds();
  for (int i = 0; i < repetitions; ++i) {
    const std::int64_t start = port.monotonicMicroseconds();
    wait(ms);
    overshoot.push_back(static_cast<double>(port.monotonicMicroseconds() - start - ms * 1000LL) / 1000.0);
  }
  const double wall = static_cast<double>(port.monotonicMicroseconds() - wallBefore);
  const double cpu = static_cast<double>(cpuMicroseconds() - cpuBefore);
  std::sort(overshoot.begin(), overshoot.end());
  const std::size_t p99 = std::min(overshoot.size() - 1, overshoot.size() * 99 / 100);
  return {overshoot[overshoot.size() / 2], overshoot[p99], overshoot.front(), 100.0 * cpu / wall};
}

void quitAtHead(std::int32_t ms) {
  PostQuitMessage(0);
  waitPumping(ms);
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace

int main() {
  installPlatformPort(&win32PlatformPort());
  // A window and a ticking timer, so both waits have real messages to pump.
  HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetTimer(window, 1, 100, nullptr);

  struct Row { std::int32_t ms; int repetitions; };
  const Row rows[] = {{1, 1000}, {10, 200}, {50, 60}, {200, 15}, {1000, 5}};
  std::printf("%-8s | %-37s | %-37s\n", "", "pumping wait", "baseline (tick deadline, busy)");
  std::printf("%-8s | %8s %8s %9s %9s | %8s %8s %9s %9s\n", "wait ms", "median", "p99",
              "earliest", "cpu %", "median", "p99", "earliest", "cpu %");
  for (const Row& row : rows) {
    const Figures wait = measure(waitPumping, row.ms, row.repetitions);
    const Figures base = measure(baselineWait, row.ms, row.repetitions);
    std::printf("%-8d | %8.3f %8.3f %9.3f %9.2f | %8.3f %8.3f %9.3f %9.2f\n", row.ms,
                wait.medianMs, wait.p99Ms, wait.earliestMs, wait.cpuPercent, base.medianMs,
                base.p99Ms, base.earliestMs, base.cpuPercent);
  }
  const Figures quit = measure(quitAtHead, 200, 10);
  std::printf("quit request at the head, 200 ms waits: median %.3f ms, earliest %.3f ms, cpu %.2f %%\n",
              quit.medianMs, quit.earliestMs, quit.cpuPercent);
  std::printf("(overshoot in ms past the deadline; negative = returned early; cpu = process CPU per second of waiting)\n");
  DestroyWindow(window);
  return 0;
}
