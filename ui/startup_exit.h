// The main routine, the usage count and the end of the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern std::int32_t usageTicks;  // seconds counted since the main window was created
extern std::int32_t exitDraw;    // random number drawn at exit

// arguments: the command line after the program's name.
int mainRoutine(const std::vector<std::string>& arguments = {});

void onMainWindowCreated();
void onMainWindowWillBeDestroyed();
void onUsageTimerPeriodic();
void onSupportWindowWillBeDestroyed();
