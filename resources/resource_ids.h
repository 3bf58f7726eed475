// Resource identifiers shared by the resource script and the code (plain
// #defines so the resource compiler can read them too).
#pragma once

#define IDI_TAPVANE2 1
#define IDC_HAND_POINTER 2
#define IDR_THANKS_CARD 3
#define IDR_SUPPORT_CARD 4
