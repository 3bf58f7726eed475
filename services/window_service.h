// Windows, controls, properties and events, as the handlers see them. Loading
// and closing follow the services' own rules (window_lifecycle); the rest goes
// to the installed backend: Win32 in the product, an in-memory model in the
// native tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/ids.h"
// Loading, the message loop and closing.
#include "services/window_lifecycle.h"

std::int32_t getProperty(WindowId window, ControlId control, Property property);
std::string getTextProperty(WindowId window, ControlId control, Property property);
void setProperty(WindowId window, ControlId control, Property property, std::int32_t value);
void setProperty(WindowId window, ControlId control, Property property, std::string_view text);
// 1 top, 2 bottom, 3 topmost, 4 not topmost; out-of-range positions are clamped.
void setZOrder(WindowId window, ControlId control, std::int32_t position);

// Shorthands for the writes handlers make most.
void setEnabled(WindowId window, ControlId control, bool enabled);
void setChecked(WindowId window, ControlId control, bool checked);
bool isChecked(WindowId window, ControlId control);
void setAlwaysOnTop(WindowId window, bool on);
