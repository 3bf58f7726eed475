#include "engine/win32/timer_resolution.h"

#include "engine/win32/system_library.h"

namespace {

using TimePeriodFunction = UINT(WINAPI*)(UINT);

struct TimePeriodFunctions {
  TimePeriodFunction begin = nullptr;
  TimePeriodFunction end = nullptr;
};

const TimePeriodFunctions& timePeriodFunctions() {
  static const TimePeriodFunctions functions{
      systemFunction<TimePeriodFunction>(L"winmm.dll", "timeBeginPeriod"),
      systemFunction<TimePeriodFunction>(L"winmm.dll", "timeEndPeriod")};
  return functions;
}

}  // namespace

void setFineTimerResolution(bool on) {
  const TimePeriodFunctions& functions = timePeriodFunctions();
  // Without winmm the waits still end on time, only less precisely.
  if (functions.begin == nullptr || functions.end == nullptr) return;
  if (on) {
    functions.begin(1);
  } else {
    functions.end(1);
  }
}
