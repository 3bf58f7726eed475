// What the window and dialog services need from a platform: live windows and
// controls, message boxes, a tick counter and the end of the process. The
// rules of loading, modal loops, closing and events are the services' own
// (window_lifecycle); a backend carries them out and reports back through the
// calls of window_lifecycle.h. The Win32 backend drives real windows; native
// tests install an in-memory one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/ids.h"

class ServiceBackend {
 public:
  virtual ~ServiceBackend() = default;

  virtual void initServices() = 0;

  // Builds the window hidden, from its definition, with its controls shown
  // and its timers started. A modal window, and one whose definition asks for
  // none, gets no taskbar button. False when it cannot be built; then nothing
  // of it is left.
  virtual bool createWindow(WindowId window, bool modal) = 0;
  // Shows and activates it.
  virtual void showWindow(WindowId window) = 0;
  // Restores it when minimised, else activates it.
  virtual void bringForward(WindowId window) = 0;
  virtual bool isWindowEnabled(WindowId window) = 0;
  virtual void enableWindow(WindowId window, bool enabled) = 0;
  // Destroys it now: willBeDestroyed is raised on the way, windowGone at the end.
  virtual void destroyWindow(WindowId window) = 0;
  // Queues the message that carries a pending close (pendingCloseDue).
  virtual void postClose(WindowId window) = 0;
  virtual void postQuit() = 0;

  virtual std::int32_t getProperty(WindowId window, ControlId control, Property property) = 0;
  virtual std::string getTextProperty(WindowId window, ControlId control, Property property) = 0;
  virtual void setProperty(WindowId window, ControlId control, Property property,
                           std::int32_t value) = 0;
  virtual void setTextProperty(WindowId window, ControlId control, Property property,
                               std::string_view text) = 0;
  virtual void setZOrder(WindowId window, ControlId control, ZOrder position) = 0;

  // Returns the answer code (0 OK, 1 Cancel ...), 0 when the box cannot be shown.
  virtual std::int32_t showMessageBox(std::string_view text, BoxStyle style,
                                      std::string_view caption) = 0;
  // Millisecond tick counter, for seeding.
  virtual std::uint32_t tickCount() = 0;

  // Exit has begun: forget the live windows without any event.
  virtual void beginExit() = 0;
  // Tear down what is left and end the process; never returns.
  [[noreturn]] virtual void endProcess(std::int32_t code) = 0;
  // Shows the fatal error box.
  virtual void reportFatalFault(std::string_view what) = 0;
};

void installServiceBackend(ServiceBackend* backend);
ServiceBackend& serviceBackend();
