// The one-message pump every loop uses, and the wait that keeps dispatching.
#pragma once

#include <cstdint>

#include "engine/platform_port.h"

// Answers true when it has taken the message (it is then not dispatched).
using PreTranslateHook = bool (*)(const Message& message);

void setPreTranslateHook(PreTranslateHook hook);

// False when the message taken was the quit request.
bool pumpOneMessage();
// Dispatches everything waiting; stops at an empty queue or a quit request.
void pumpPendingMessages();
// Waits ms milliseconds while dispatching; 0 or less returns at once.
void waitPumping(std::int32_t ms);
