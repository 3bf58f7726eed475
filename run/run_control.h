// The four run modes, the stop button, the run timer and the entry windows.
#pragma once

#include <cstdint>

extern bool runFlag;            // true while a run may go on
extern std::int32_t loopCount;  // passes of the count mode

// True from a click on the start button until its run has ended.
bool runInProgress();

void onCountModeBoxClicked();
void onTimeModeBoxClicked();
void onEndlessModeBoxClicked();
void onStartButtonClicked();
void onStopButtonClicked();
void onRunTimerPeriodic();
void onLoopCountEditKeyPressed(std::int32_t keyCode, std::int32_t shiftState);
void onRunTimeEditKeyPressed(std::int32_t keyCode, std::int32_t shiftState);
