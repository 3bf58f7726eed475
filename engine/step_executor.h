// Performs one recorded step as synthetic input, then waits its delay.
#pragma once

#include <cstdint>

// 1-based index of the step to perform; the run loop sets it before each call.
extern std::int32_t currentStep;

void performStep();
void clickAt(std::int32_t x, std::int32_t y, std::int32_t kind);
void pressKeys(std::uint8_t key1);
void pressKeys(std::uint8_t key1, std::uint8_t key2);
