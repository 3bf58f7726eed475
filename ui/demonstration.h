// The guided tour of the main window.
#pragma once

void onTutorialButtonClicked();
