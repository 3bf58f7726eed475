// Recording commands: click steps, key steps, delete last, clear.
#pragma once

#include <cstdint>
#include <string_view>

void onRecordClickButtonClicked();
void onRecordKeyButtonClicked();
void onDeleteLastButtonClicked();
void onClearAllButtonClicked();
void onKeyOperationWindowCreated();
void onKeyOperationWindowWillBeDestroyed();
void onKeyOpAddButtonClicked();

// The delay box's text as a stored delay: truncated toward zero to 64 bits,
// low 32 bits kept; out of the 64-bit range or not a number gives 0.
std::int32_t delayValueOf(std::string_view text);
