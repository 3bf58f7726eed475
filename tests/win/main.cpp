// The Wine-side test program: real user32 windows, the engine's Win32 port and
// the Win32 services. With --tapvane-child it runs one scenario that ends the
// process, for the tests that look at exit codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/platform_port.h"
#include "engine/win32/win32_platform_port.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/service_backend.h"
#include "services/win32/win32_service_backend.h"
#include "tests/win/service_test_support.h"

int main(int argc, char** argv) {
  installPlatformPort(&win32PlatformPort());
  installServiceBackend(&win32ServiceBackend());
  // A child scenario prepares the services itself: one of them makes that fail.
  if (argc >= 4 && std::strcmp(argv[1], "--tapvane-child") == 0) {
    return runChildScenario(argv[2], argv[3]);
  }
  initServices();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
