// Shrinks the main window to a bar filled by the stop button while running,
// and back; the two are exact inverses on whatever geometry they find.
#pragma once

void compactRunLayout();
void restoreLayout();
