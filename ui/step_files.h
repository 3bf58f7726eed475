// Step files: open and save the recorded steps (system menu, Ctrl+O and
// Ctrl+S), open a file dropped on the main window or named on the command line.
#pragma once

#include <string>
#include <vector>

// False while a run, a click capture or the tour is going on, or while a modal
// window, a message box or a file dialog of the program is up: then the
// commands are greyed, their keys do nothing and dropped files are ignored.
bool stepFileCommandsAvailable();

void onOpenStepFileCommand();
void onSaveStepFileCommand();
void onStepFilesDropped(const std::vector<std::string>& paths);
// The command line's arguments after the program's name: one file is opened,
// more get a usage message.
void openStepFileFromCommandLine(const std::vector<std::string>& arguments);
