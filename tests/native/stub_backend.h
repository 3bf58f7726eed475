// A service backend that only writes what it is asked into a log, for the
// tests of the portable backend. endProcess prints the log and ends the
// process, so it belongs inside a death test.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/service_backend.h"

inline std::string& serviceLog() {
  static std::string log;
  return log;
}

inline void logEntry(std::string_view entry) {
  serviceLog().append(entry);
  serviceLog().push_back(' ');
}

class StubBackend : public ServiceBackend {
 public:
  std::uint32_t tick = 0;
  std::int32_t answer = 0;

  void initServices() override { logEntry("init"); }
  bool createWindow(WindowId, bool) override {
    logEntry("create");
    return true;
  }
  void showWindow(WindowId) override { logEntry("show"); }
  void bringForward(WindowId) override {}
  bool isWindowEnabled(WindowId) override { return true; }
  void enableWindow(WindowId, bool) override {}
  void destroyWindow(WindowId) override { logEntry("destroy"); }
  void postClose(WindowId) override { logEntry("postClose"); }
  void postQuit() override { logEntry("postQuit"); }
  std::int32_t getProperty(WindowId, ControlId, Property) override { return 0; }
  std::string getTextProperty(WindowId, ControlId, Property) override { return {}; }
  void setProperty(WindowId, ControlId, Property, std::int32_t) override {}
  void setTextProperty(WindowId, ControlId, Property, std::string_view) override {}
  void setZOrder(WindowId, ControlId, ZOrder position) override {
    logEntry("z(" + std::to_string(static_cast<int>(position) + 1) + ")");
  }
  std::int32_t showMessageBox(std::string_view text, BoxStyle style,
                              std::string_view caption) override {
    logEntry("box(" + std::string(text) + "|" + std::to_string(static_cast<int>(style)) + "|" +
             std::string(caption) + ")");
    return answer;
  }
  std::uint32_t tickCount() override { return tick; }
  void beginExit() override { logEntry("begin"); }
  [[noreturn]] void endProcess(std::int32_t code) override {
    logEntry("end(" + std::to_string(code) + ")");
    std::fprintf(stderr, "LOG[%s]\n", serviceLog().c_str());
    std::fflush(stderr);
    std::_Exit(0);
  }
  void reportFatalFault(std::string_view what) override {
    logEntry("report(" + std::string(what) + ")");
  }
};
