#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "engine/fatal_fault.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/window_service.h"
#include "fake_platform.h"
#include "services/window_definition.h"
#include "services/window_lifecycle.h"
#include "stub_backend.h"
#include "ui/window_definitions.h"

// The exit and fault paths end the process, so they run as death tests, each
// in a fresh process of its own (the clean-up list lives for the process).

namespace {

void cleanupA() { logEntry("A"); }
void cleanupB() { logEntry("B"); }
void cleanupC() { logEntry("C"); }
void cleanupThatExits() {
  logEntry("exits");
  exitProcess(7);
}
void cleanupThatRegisters() {
  logEntry("registers");
  registerCleanup(cleanupC);
}

class DialogsDeathTest : public testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(DialogsDeathTest, ExitCallsEachCleanupOnceInRegistrationOrder) {
  EXPECT_EXIT(
      {
        StubBackend backend;
        installServiceBackend(&backend);
        initServices();
        registerCleanup(cleanupB);
        registerCleanup(cleanupA);
        registerCleanup(cleanupB);
        registerCleanup(cleanupC);
        registerCleanup(cleanupA);
        exitProcess(0);
      },
      testing::ExitedWithCode(0), "LOG\\[init begin B A C end\\(0\\) \\]");
}

TEST_F(DialogsDeathTest, CleanupThatEndsTheProcessItselfNeitherRepeatsNorSkips) {
  EXPECT_EXIT(
      {
        StubBackend backend;
        installServiceBackend(&backend);
        initServices();
        registerCleanup(cleanupA);
        registerCleanup(cleanupThatExits);
        registerCleanup(cleanupB);
        exitProcess(3);
      },
      testing::ExitedWithCode(0), "LOG\\[init begin A exits B end\\(7\\) \\]");
}

TEST_F(DialogsDeathTest, CleanupRegisteredDuringExitStillRuns) {
  EXPECT_EXIT(
      {
        StubBackend backend;
        installServiceBackend(&backend);
        initServices();
        registerCleanup(cleanupThatRegisters);
        exitProcess(0);
      },
      testing::ExitedWithCode(0), "LOG\\[init begin registers C end\\(0\\) \\]");
}

TEST_F(DialogsDeathTest, FatalFaultReportsAndEndsWithMinusOneWithoutCleanups) {
  EXPECT_EXIT(
      {
        StubBackend backend;
        installServiceBackend(&backend);
        initServices();
        registerCleanup(cleanupA);
        registerCleanup(cleanupB);
        fatalFault("lost window");
      },
      testing::ExitedWithCode(0), "LOG\\[init report\\(lost window\\) end\\(-1\\) \\]");
}

class FailingToPrepareBackend : public StubBackend {
 public:
  void initServices() override {
    StubBackend::initServices();
    fatalFault("no owner window");
  }
};

TEST_F(DialogsDeathTest, FaultWhilePreparingTheServicesIsReportedAndEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        FailingToPrepareBackend backend;
        installServiceBackend(&backend);
        initServices();
      },
      testing::ExitedWithCode(0), "LOG\\[init report\\(no owner window\\) end\\(-1\\) \\]");
}

class ExitingWhileReportingBackend : public StubBackend {
 public:
  void reportFatalFault(std::string_view what) override {
    StubBackend::reportFatalFault(what);
    exitProcess(0);  // as a handler running under the error box might
  }
};

TEST_F(DialogsDeathTest, ExitDuringTheFaultReportStillSkipsCleanupsAndEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        ExitingWhileReportingBackend backend;
        installServiceBackend(&backend);
        initServices();
        registerCleanup(cleanupA);
        fatalFault("lost window");
      },
      testing::ExitedWithCode(0), "LOG\\[init report\\(lost window\\) begin end\\(-1\\) \\]");
}

class FaultingBackend : public StubBackend {
 public:
  void reportFatalFault(std::string_view what) override {
    StubBackend::reportFatalFault(what);
    std::fprintf(stderr, "LOG[%s]\n", serviceLog().c_str());
    fatalFault("while reporting");
  }
};

TEST_F(DialogsDeathTest, FaultWhileReportingAFaultEndsInsteadOfLooping) {
  EXPECT_EXIT(
      {
        FaultingBackend backend;
        installServiceBackend(&backend);
        initServices();
        fatalFault("first");
      },
      testing::KilledBySignal(SIGABRT), "LOG\\[init report\\(first\\) \\]");
}

void printFault(const char* what) {
  std::fprintf(stderr, "FAULT[%s]\n", what);
  std::fflush(stderr);
  std::_Exit(0);
}

TEST_F(DialogsDeathTest, ServicesUsedWithoutABackendAreAFatalFault) {
  EXPECT_EXIT(
      {
        installServiceBackend(nullptr);
        setFatalFaultHandler(printFault);
        showMessageBox("text", BoxStyle::information, "caption");
      },
      testing::ExitedWithCode(0), "FAULT\\[.+\\]");
  EXPECT_EXIT(
      {
        installServiceBackend(nullptr);
        setFatalFaultHandler(printFault);
        seedRandom();
      },
      testing::ExitedWithCode(0), "FAULT\\[.+\\]");
}

class ServiceForwardingTest : public testing::Test {
 protected:
  void SetUp() override {
    serviceLog().clear();
    installServiceBackend(&backend);
  }
  void TearDown() override { installServiceBackend(nullptr); }
  StubBackend backend;
};

TEST_F(ServiceForwardingTest, ForwardsTextStyleAndCaptionAndReturnsTheAnswer) {
  backend.answer = kAnswerCancel;
  EXPECT_EQ(showMessageBox("是否开始？", BoxStyle::question, "提示"), kAnswerCancel);
  EXPECT_EQ(serviceLog(), "box(是否开始？|33|提示) ");
}

TEST_F(ServiceForwardingTest, EmptyCaptionBecomesTheDefaultOne) {
  EXPECT_EQ(showMessageBox("text", BoxStyle::stop, ""), kAnswerOk);
  EXPECT_EQ(serviceLog(), "box(text|16|信息：) ");
}

TEST_F(ServiceForwardingTest, ZOrderPositionsAreClampedBeforeTheBackendSeesThem) {
  FakePlatform platform;
  installWindowDefinitions(&programWindowDefinition);
  forgetAllWindows();
  loadFirstWindow(WindowId::MainWindow);
  serviceLog().clear();
  setZOrder(WindowId::MainWindow, ControlId::stopButton, 0);
  setZOrder(WindowId::MainWindow, ControlId::stopButton, 2);
  setZOrder(WindowId::MainWindow, ControlId::stopButton, 9);
  setZOrder(WindowId::MainWindow, ControlId::stopButton, -2147483647 - 1);
  EXPECT_EQ(serviceLog(), "z(1) z(2) z(4) z(1) ");
  forgetAllWindows();
  installWindowDefinitions(nullptr);
}

}  // namespace
