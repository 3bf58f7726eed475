// The life of a window, as every backend shares it: loading with events held
// while it is built, the modal loop, a close that waits for the queue, the
// quit request when the last window goes, and the delivery of events to the
// bound handlers. The handlers reach it through window_service.h; backends
// report what happens to their windows through the calls after the first few.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/ids.h"
#include "services/window_definition.h"

void loadFirstWindow(WindowId window);
void runMessageLoop();
// With modal, returns only after the window has gone.
bool loadWindow(WindowId window, bool modal);
// Asks for the window to be destroyed once the calling handler has returned.
void closeWindow(WindowId window);

bool isWindowLoaded(WindowId window);
// True while a modal window of the program is up.
bool modalWindowUp();

// Raised from inside the dispatch of the backend's messages; dropped while the
// window is being built or once exit has begun.
void raiseEvent(WindowId window, ControlId control, Event event);
void raiseKeyPressed(WindowId window, ControlId control, std::int32_t keyCode,
                     std::int32_t shiftState);
// A command of the window's system menu, chosen there or by its key.
void raiseCommand(WindowId window, CommandId command);
// Files dropped on a window that takes them.
void raiseFilesDropped(WindowId window, const std::vector<std::string>& paths);
// Whether the window's commands may run now (greyed in the menu otherwise).
bool commandsAvailable(WindowId window);

// The user closed the window (close box, Alt+F4, system menu): it goes now.
void userClosedWindow(WindowId window);
// The message queued by postClose was dispatched.
void pendingCloseDue(WindowId window);
// The window's destruction is complete; the backend has let go of it.
void windowGone(WindowId window);

// From here on no event is delivered and no window counts as loaded.
void holdEventsForGood();
// Starts afresh: no window loaded, events flowing, the loop not entered. For
// a test that installs a new backend in the same process.
void forgetAllWindows();
