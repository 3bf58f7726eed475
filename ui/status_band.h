// The main window's status band: a short message for one second.
#pragma once

#include <string_view>

void setStatus(std::string_view text);
// Shows text for a second while dispatching, then empties the band.
void flashStatus(std::string_view text);
