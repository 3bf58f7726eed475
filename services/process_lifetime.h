// Preparing the services at start-up, the clean-up list and the end of the
// process.
#pragma once

#include <cstdint>

using CleanupRoutine = void (*)();

void initServices();
// Each routine at most once, called in the order of registration at exit.
void registerCleanup(CleanupRoutine routine);
// Runs the clean-ups and ends the process; no event runs any more.
[[noreturn]] void exitProcess(std::int32_t code);
