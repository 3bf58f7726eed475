// A service backend that only writes what it is asked into a log, for the
// tests of the portable services. endProcess prints the log and ends the
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
  void loadFirstWindow(WindowId) override { logEntry("loadFirstWindow"); }
  void runMessageLoop() override { logEntry("runMessageLoop"); }
  bool loadWindow(WindowId, bool) override {
    logEntry("loadWindow");
    return true;
  }
  void closeWindow(WindowId) override { logEntry("closeWindow"); }
  std::int32_t getProperty(WindowId, ControlId, Property) override { return 0; }
  std::string getTextProperty(WindowId, ControlId, Property) override { return {}; }
  void setProperty(WindowId, ControlId, Property, std::int32_t) override {}
  void setTextProperty(WindowId, ControlId, Property, std::string_view) override {}
  void setZOrder(WindowId, ControlId, std::int32_t position) override {
    logEntry("z(" + std::to_string(position) + ")");
  }
  std::int32_t showMessageBox(std::string_view text, std::int32_t style,
                              std::string_view caption) override {
    logEntry("box(" + std::string(text) + "|" + std::to_string(style) + "|" + std::string(caption) + ")");
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
