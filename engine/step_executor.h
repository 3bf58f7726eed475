// Performs one recorded step as synthetic input, then waits its delay.
#pragma once

#include <cstdint>

#include "engine/key_codes.h"
#include "engine/step_list.h"

// 1-based index of the step to perform; the run loop sets it before each call.
extern std::int32_t currentStep;

void performStep();
void clickAt(std::int32_t x, std::int32_t y, StepKind kind);
void pressKeys(KeyCode key1);
void pressKeys(KeyCode key1, KeyCode key2);
