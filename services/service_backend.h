// What the window and dialog services need from a platform. The Win32 backend
// drives real windows; tests install an in-memory one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/ids.h"

class ServiceBackend {
 public:
  virtual ~ServiceBackend() = default;

  virtual void initServices() = 0;
  virtual void loadFirstWindow(WindowId window) = 0;
  virtual void runMessageLoop() = 0;
  virtual bool loadWindow(WindowId window, bool modal) = 0;
  virtual void closeWindow(WindowId window) = 0;

  virtual std::int32_t getProperty(WindowId window, ControlId control, Property property) = 0;
  virtual std::string getTextProperty(WindowId window, ControlId control, Property property) = 0;
  virtual void setProperty(WindowId window, ControlId control, Property property,
                           std::int32_t value) = 0;
  virtual void setTextProperty(WindowId window, ControlId control, Property property,
                               std::string_view text) = 0;
  virtual void setZOrder(WindowId window, ControlId control, std::int32_t position) = 0;

  // Returns the answer code (0 OK, 1 Cancel ...), 0 when the box cannot be shown.
  virtual std::int32_t showMessageBox(std::string_view text, std::int32_t style,
                                      std::string_view caption) = 0;
  // Millisecond tick counter, for seeding.
  virtual std::uint32_t tickCount() = 0;

  // Exit: hold every event for good and forget the loaded windows.
  virtual void beginExit() = 0;
  // Tear down what is left and end the process; never returns.
  [[noreturn]] virtual void endProcess(std::int32_t code) = 0;
  // Shows the fatal error box.
  virtual void reportFatalFault(std::string_view what) = 0;
};

void installServiceBackend(ServiceBackend* backend);
ServiceBackend& serviceBackend();
