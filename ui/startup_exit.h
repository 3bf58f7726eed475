// The main routine, the usage count and the end of the program.
#pragma once

#include <cstdint>

extern std::int32_t usageTicks;  // seconds counted since the main window was created
extern std::int32_t exitDraw;    // random number drawn at exit

int mainRoutine();

void onMainWindowCreated();
void onMainWindowWillBeDestroyed();
void onUsageTimerPeriodic();
void onSupportWindowWillBeDestroyed();
