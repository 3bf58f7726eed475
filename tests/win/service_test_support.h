// Small test windows for the Win32 services, the handlers bound to them (they
// only record what they saw) and helpers to drive real input.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "services/ids.h"
#include "services/window_definition.h"

// The test windows reuse the program's window and role names:
// - MainWindow: an always-on-top captioned window like the real main window, with
//   both timers, a status label, push buttons (stopButton covered by startButton),
//   two check boxes, three radio buttons and a digit-entry box.
// - LoopCountWindow: a frameless entry box with a timer that drives a script.
// - KeyOperationWindow: a captioned window with a combo box, a button, a
//   wrapping label and a picture box whose picture is missing.
const WindowDefinition& testWindowDefinition(WindowId window);

struct KeyEvent {
  std::int32_t code;
  std::int32_t shift;
  bool operator==(const KeyEvent& other) const {
    return code == other.code && shift == other.shift;
  }
};

// What the test handlers saw.
struct Probe {
  std::vector<std::string> clicks;    // role names, in order
  std::vector<std::string> snapshots;  // checked states seen by click handlers
  std::vector<KeyEvent> mainKeys;      // keyPressed of delayEdit
  std::vector<KeyEvent> entryKeys;     // keyPressed of loopCountEdit
  int usageTicks = 0;
  int runTicks = 0;
  DWORD firstRunTickAt = 0;
  int mainCreated = 0;
  int mainVisibleInCreated = -1;
  int mainDestroyed = 0;
  int keyOpCreated = 0;
  int keyOpVisibleInCreated = -1;
  int keyOpComboInCreated = -2;
  int keyOpDestroyed = 0;
  int keyOpComboInDestroy = -2;
  int entryDestroyed = 0;
  // Modal script of the entry window.
  bool entryClosesOnEnter = false;
  bool entrySendsEnter = false;
  bool entryPostsQuit = false;
  int entryTicks = 0;
  bool entryGaveUp = false;
  int mainDisabledSeenByEntry = -1;
  bool entryStillLoadedAfterClose = false;
  bool entryKeyHandlerReturned = false;
  bool keyHandlerHadReturnedAtDestroy = false;
  // Child-process scenarios write here what must or must not happen.
  std::string noteFile;
  bool runTimerClosesMain = false;
  bool mainDestroyEndsProcess = false;
};

extern Probe probe;

// Appends to the child's note file.
void note(const char* text);

// Every test starts with no window loaded and the test definitions installed,
// and leaves no window behind.
class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The same with the test main window loaded.
class MainWindowTest : public ServiceTest {
 protected:
  void SetUp() override;
  HWND main = nullptr;
};

// Dispatches messages until the condition holds or the time is up; says which.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Lets Wine deliver what is in flight.
void settle(DWORD ms = 150);

// Injected input, as a user would give it.
void pressKeys(std::vector<std::pair<WORD, DWORD>> keys);  // virtual key, extra flags; each down then all up in reverse
void clickScreen(POINT point);
POINT centreOf(HWND control);
void bringToFront(HWND window);

// The child side of runChild (called from main); answers the exit code.
int runChildScenario(const std::string& scenario, const std::string& noteFile);
// Runs this test program again as a child on one scenario; answers its exit code.
DWORD runChild(const char* scenario, const std::wstring& noteFile);
// A temporary file for a child's notes, and its content afterwards.
std::wstring temporaryNoteFile(const char* name);
std::string readNotes(const std::wstring& file);

// Answers the next message box of the UI thread from a helper thread.
class BoxAnswerer {
 public:
  // button: the control ID to press, or 0 to close the box with WM_CLOSE.
  // watched: a window whose enabled state is looked at while the box is up.
  // noteWhenFound: writes "B" to the child's note file when the box is there.
  BoxAnswerer(DWORD uiThread, int button, DWORD delayMs = 0, HWND watched = nullptr,
              bool noteWhenFound = false);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  std::wstring caption() const;
  bool found() const;
  bool watchedWasDisabled() const;

 private:
  struct State;
  State* state_;
};
