// The guided tour of the main window.
#pragma once

void onTutorialButtonClicked();
// True while the tour (its opening question included) is going on.
bool tourInProgress();
