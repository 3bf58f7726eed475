// Reading and writing the properties of loaded windows and their controls.
// Text and number properties convert both ways: a number becomes its digits,
// a text the number textToInteger reads in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/ids.h"

std::int32_t readProperty(WindowId window, ControlId control, Property property);
std::string readTextProperty(WindowId window, ControlId control, Property property);
void writeProperty(WindowId window, ControlId control, Property property, std::int32_t value);
void writeTextProperty(WindowId window, ControlId control, Property property,
                       std::string_view text);
void writeZOrder(WindowId window, ControlId control, ZOrder position);
