// An in-memory backend for the window and dialog services, for the handler
// tests. It installs the program's window tables, so windows are built from
// the real window data (geometry, texts, states, timer periods) and the
// services' own lifecycle delivers events to the real bound handlers. It
// records message boxes and the writes that matter, answers boxes from a
// script, plays scripted user input into modal windows, runs timers on the
// fake platform's clock, and ends the process by throwing TestExit back to
// the test.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fake_platform.h"
#include "services/service_backend.h"
#include "services/window_definition.h"

struct TestExit {
  std::int32_t code;
};

// Reports every batch of injected input, so it can be logged in order with
// the other calls.
class LoggingPlatform : public FakePlatform {
 public:
  std::function<void(const InputEvent* events, std::size_t count)> onInput;

  void sendInput(const InputEvent* events, std::size_t count) override {
    FakePlatform::sendInput(events, count);
    if (onInput) onInput(events, count);
  }
};

class FakeServices : public ServiceBackend {
 public:
  static constexpr std::int32_t kScreenWidth = 1920;
  static constexpr std::int32_t kScreenHeight = 1080;

  struct Box {
    std::string text;
    BoxStyle style;
    std::string caption;
  };

  struct ControlState {
    ControlKind kind = ControlKind::label;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool disabled = false;
    std::string text;  // edit text, label or button caption, window caption
    bool checked = false;
    std::int32_t selectedIndex = -1;
    std::int32_t period = 0;
    std::uint64_t timerGeneration = 0;
  };

  using Action = std::function<void()>;

  explicit FakeServices(LoggingPlatform& platform);
  ~FakeServices() override;
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

  // --- Scripts -------------------------------------------------------------
  // Answers of the next message boxes, in order; OK once they run out.
  std::deque<std::int32_t> boxAnswers;
  // Runs inside the next message box, as a handler dispatched by its loop would.
  std::function<void()> whileNextBoxIsUp;
  // What the tick counter reads.
  std::uint32_t tick = 0;
  // The next modal showing of window plays these actions, each as its own
  // message after the one before; then the user closes the window if it is
  // still open. A showing without a script is closed at once.
  void scriptModal(WindowId window, std::vector<Action> actions);
  // For the entry windows: each text typed into the edit box, then Enter.
  void scriptEntries(WindowId window, const std::vector<std::string>& texts);
  // Runs after every batch of injected input (e.g. to press Esc mid-run).
  std::function<void()> afterInput;

  // --- User input ----------------------------------------------------------
  // A mouse click (or Space on the focused control): nothing when the window
  // or control is disabled or hidden. Check boxes toggle, radio buttons take
  // over their group, then clicked is raised. False when ignored.
  bool click(WindowId window, ControlId control);
  void pressKey(WindowId window, ControlId control, std::int32_t keyCode, std::int32_t shiftState);
  // The close box: destroyed at once.
  void userClose(WindowId window);

  // --- Inspection ----------------------------------------------------------
  bool isLoaded(WindowId window) const;
  ControlState& state(WindowId window, ControlId control);
  // Entries: "box <caption> <style>", "load <Window>", "gone <Window>",
  // "z <control> <position>", "<Window>.<control>.<property>=<value>" for
  // every write except geometry, and one entry per input batch:
  // "left@x,y", "left2@x,y", "right@x,y", "right2@x,y", "key 13", "key 17+86".
  std::vector<std::string> log;
  std::vector<Box> boxes;
  bool initialised = false;

  // --- ServiceBackend --------------------------------------------------------
  void initServices() override { initialised = true; }
  bool createWindow(WindowId window, bool modal) override;
  void showWindow(WindowId window) override;
  void bringForward(WindowId) override {}
  bool isWindowEnabled(WindowId window) override;
  void enableWindow(WindowId window, bool enabled) override;
  void destroyWindow(WindowId window) override;
  void postClose(WindowId window) override;
  void postQuit() override { platform_.postQuit(); }
  std::int32_t getProperty(WindowId window, ControlId control, Property property) override;
  std::string getTextProperty(WindowId window, ControlId control, Property property) override;
  void setProperty(WindowId window, ControlId control, Property property,
                   std::int32_t value) override;
  void setTextProperty(WindowId window, ControlId control, Property property,
                       std::string_view text) override;
  void setZOrder(WindowId window, ControlId control, ZOrder position) override;
  std::int32_t showMessageBox(std::string_view text, BoxStyle style,
                              std::string_view caption) override;
  std::uint32_t tickCount() override { return tick; }
  void beginExit() override {}
  [[noreturn]] void endProcess(std::int32_t code) override;
  void reportFatalFault(std::string_view what) override;

 private:
  struct WindowState {
    bool exists = false;
    bool modal = false;
    bool alwaysOnTop = false;
    std::uint64_t showing = 0;
    std::map<ControlId, ControlState> controls;
  };

  WindowState& window(WindowId id) { return windows_[static_cast<std::size_t>(id)]; }
  const WindowState& window(WindowId id) const { return windows_[static_cast<std::size_t>(id)]; }
  // Fails the test when the window does not exist or lacks the control.
  ControlState* loadedControl(WindowId window, ControlId control, const char* what);
  void scheduleTick(WindowId window, ControlId control, std::uint64_t generation,
                    std::int32_t period);
  void playScriptStep(WindowId id, std::shared_ptr<std::vector<Action>> actions, std::size_t next,
                      std::uint64_t showing);
  void logInput(const InputEvent* events, std::size_t count);

  LoggingPlatform& platform_;
  WindowState windows_[kWindowCount];
  std::map<WindowId, std::deque<std::vector<Action>>> scripts_;
  std::uint64_t lastGeneration_ = 0;
  std::uint64_t lastShowing_ = 0;
};

const char* windowName(WindowId window);
const char* controlName(ControlId control);
