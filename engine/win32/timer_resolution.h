// The 1 ms timer resolution the waits run with, from winmm.dll, which is loaded
// on the first wait rather than at start-up: under Wine it brings four more DLLs
// (msacm32, ole32, combase, rpcrt4) into the start.
#pragma once

// Raises the system timer resolution to 1 ms (on) or gives the raise back (off);
// calls pair up like timeBeginPeriod and timeEndPeriod.
void setFineTimerResolution(bool on);
