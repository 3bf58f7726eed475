// The one-message pump every loop uses, and the wait that keeps dispatching.
#pragma once

#include <cstdint>

// False when the message taken was the quit request.
bool pumpOneMessage();
// Dispatches everything waiting; stops at an empty queue or a quit request.
void pumpPendingMessages();
// Waits ms milliseconds while dispatching; 0 or less returns at once.
void waitPumping(std::int32_t ms);
