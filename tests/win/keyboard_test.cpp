// The keyboard pre-translation: key codes and shift states of keyPressed, Tab
// navigation, and where the focus goes when a window becomes active.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/message_pump.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

constexpr WindowId kMain = WindowId::MainWindow;
constexpr WindowId kKeyOp = WindowId::KeyOperationWindow;
using C = ControlId;
using P = Property;

class Keyboard : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    bringToFront(main);
  }
};

struct KeyCase {
  const char* name;
  std::vector<std::pair<WORD, DWORD>> keys;  // pressed in order, released in reverse
  std::vector<KeyEvent> expected;
};

TEST_F(Keyboard, KeyPressedCarriesTheKeyCodeAndTheShiftState) {
  // clang-format off
  const KeyCase cases[] = {
    {"Enter",          {{VK_RETURN, 0}},                                 {{13, 0}}},
    {"Ctrl+Enter",     {{VK_CONTROL, 0}, {VK_RETURN, 0}},                {{17, 0}, {13, 1}}},
    {"keypad Enter",   {{VK_RETURN, KEYEVENTF_EXTENDEDKEY}},             {{13, 0}}},
    {"keypad 5",       {{VK_NUMPAD5, 0}},                                {{53, 0}}},
    {"keypad 0",       {{VK_NUMPAD0, 0}},                                {{48, 0}}},
    {"keypad minus",   {{VK_SUBTRACT, 0}},                               {{189, 0}}},
    {"keypad point",   {{VK_DECIMAL, 0}},                                {{190, 0}}},
    {"keypad slash",   {{VK_DIVIDE, KEYEVENTF_EXTENDEDKEY}},             {{191, 0}}},
    {"Shift+A",        {{VK_SHIFT, 0}, {'A', 0}},                        {{16, 0}, {65, 2}}},
    {"Ctrl+Shift+Z",   {{VK_CONTROL, 0}, {VK_SHIFT, 0}, {'Z', 0}},       {{17, 0}, {16, 1}, {90, 3}}},
    {"F5",             {{VK_F5, 0}},                                     {{116, 0}}},
  };
  // clang-format on
  SetFocus(controlHandle(kMain, C::delayEdit));
  for (const KeyCase& c : cases) {
    probe.mainKeys.clear();
    pressKeys(c.keys);
    pumpUntil([&c] { return probe.mainKeys.size() >= c.expected.size(); }, 2000);
    settle(50);
    EXPECT_EQ(probe.mainKeys, c.expected) << c.name;
  }
}

TEST_F(Keyboard, PostedKeysGoThroughThePreTranslationUnlessTheTargetIsDisabled) {
  HWND edit = controlHandle(kMain, C::delayEdit);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  pumpPendingMessages();
  EXPECT_EQ(probe.mainKeys, (std::vector<KeyEvent>{{13, 0}}));

  probe.mainKeys.clear();
  setProperty(kMain, C::delayEdit, P::disabled, 1);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  pumpPendingMessages();
  EXPECT_TRUE(probe.mainKeys.empty());
}

TEST_F(Keyboard, TabWalksTheVisibleEnabledTabStopsInReverseTableOrder) {
  auto handle = [](ControlId control) { return controlHandle(kMain, control); };
  // On activation the focus goes to the lowest tab stop: the covered stop button.
  EXPECT_EQ(GetFocus(), handle(C::stopButton));

  setProperty(kMain, C::leftDoubleRadio, P::disabled, 1);
  setProperty(kMain, C::timeModeBox, P::visible, 0);
  const std::pair<bool, ControlId> steps[] = {
      {false, C::leftClickRadio}, {false, C::rightClickRadio}, {false, C::delayEdit},
      {false, C::countModeBox},   {false, C::startButton},     {false, C::stopButton},
      {true, C::startButton},     {true, C::countModeBox},     {true, C::delayEdit},
  };
  for (const auto& [backwards, expected] : steps) {
    if (backwards) {
      pressKeys({{VK_SHIFT, 0}, {VK_TAB, 0}});
    } else {
      pressKeys({{VK_TAB, 0}});
    }
    EXPECT_TRUE(pumpUntil([&] { return GetFocus() == handle(expected); }, 2000))
        << static_cast<int>(expected);
  }
  settle(50);
  // Tab is taken before keyPressed: the entry box saw no key at all.
  EXPECT_EQ(probe.mainKeys, (std::vector<KeyEvent>{}));
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "1700");  // no tab character typed
}

TEST_F(Keyboard, AnActivatedWindowGivesTheFocusBackToTheControlThatHadIt) {
  HWND edit = controlHandle(kMain, C::delayEdit);
  SetFocus(edit);
  ASSERT_TRUE(loadWindow(kKeyOp, false));
  HWND keyOp = windowHandle(kKeyOp);
  pumpUntil([keyOp] { return GetActiveWindow() == keyOp; }, 2000);
  // Its lowest tab stop, the combo box, takes the focus at the first activation.
  EXPECT_TRUE(pumpUntil([] { return GetFocus() == controlHandle(kKeyOp, C::keyOpCombo); }, 2000));
  SetFocus(controlHandle(kKeyOp, C::keyOpAddButton));

  bringToFront(main);
  EXPECT_TRUE(pumpUntil([edit] { return GetFocus() == edit; }, 2000));
  bringToFront(keyOp);
  EXPECT_TRUE(pumpUntil([] { return GetFocus() == controlHandle(kKeyOp, C::keyOpAddButton); },
                        2000));
}

}  // namespace
