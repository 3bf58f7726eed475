// A fixture for handler tests: a fake platform, the in-memory services with
// the main window loaded, and the process-wide state reset.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/step_executor.h"
#include "engine/step_list.h"
#include "fake_services.h"
#include "run/run_control.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/window_service.h"
#include "ui/startup_exit.h"

inline void resetProcessState() {
  stepList.release();
  runFlag = false;
  loopCount = 0;
  dialogAnswer = 0;
  currentStep = 0;
  usageTicks = 0;
  exitDraw = 0;
}

class HandlerTest : public ::testing::Test {
 public:
  HandlerTest() {
    resetProcessState();
    loadFirstWindow(WindowId::MainWindow);
    backend.log.clear();
  }
  ~HandlerTest() override { resetProcessState(); }

  FakeServices::ControlState& inMain(ControlId control) {
    return backend.state(WindowId::MainWindow, control);
  }
  bool clickMain(ControlId control) { return backend.click(WindowId::MainWindow, control); }
  // Posts a user click on a main-window control for the given virtual time.
  void clickMainAt(std::int64_t atMs, ControlId control) {
    platform.postAt(atMs, [this, control] { clickMain(control); });
  }

  static void addClick(StepKind kind, std::int32_t x, std::int32_t y, std::int32_t delay) {
    stepList.beginClickStep(kind);
    stepList.finishClickStep(x, y, delay);
  }

  std::vector<std::string> logWithPrefix(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& entry : backend.log) {
      if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
    }
    return found;
  }

  LoggingPlatform platform;
  FakeServices backend{platform};
};
