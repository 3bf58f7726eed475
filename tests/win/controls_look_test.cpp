// How controls are built from their definitions: fonts, colours, pointer,
// the combo box, the entry boxes and their digit filter, a missing picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "resources/resource_ids.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

constexpr WindowId kMain = WindowId::MainWindow;
constexpr WindowId kKeyOp = WindowId::KeyOperationWindow;
using C = ControlId;
using P = Property;

class ControlsLook : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    ASSERT_TRUE(loadWindow(kMain, false));
    ASSERT_TRUE(loadWindow(kKeyOp, false));
  }
};

int lineHeight(HWND control) {
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return metrics.tmHeight;
}

TEST_F(ControlsLook, EveryTextUsesTheFaceAtItsPixelHeight) {
  struct Case {
    WindowId window;
    ControlId control;
    LONG pixels;
  };
  const Case cases[] = {{kMain, C::statusLabel, 20},   {kMain, C::startButton, 12},
                        {kMain, C::delayEdit, 12},     {kMain, C::leftClickRadio, 12},
                        {kKeyOp, C::noteLabel, 14},    {kKeyOp, C::keyOpCombo, 16}};
  for (const Case& c : cases) {
    auto font = reinterpret_cast<HFONT>(
        SendMessageW(controlHandle(c.window, c.control), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr) << static_cast<int>(c.control);
    LOGFONTW logFont{};
    ASSERT_NE(GetObjectW(font, sizeof(logFont), &logFont), 0);
    EXPECT_EQ(logFont.lfHeight, -c.pixels) << static_cast<int>(c.control);
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(logFont.lfItalic, 0);
    EXPECT_EQ(logFont.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(std::wstring(logFont.lfFaceName), L"微软雅黑");
  }
}

TEST_F(ControlsLook, LabelsAndBoxesGetTheirColours) {
  struct Case {
    ControlId control;
    UINT message;
    COLORREF text;
    COLORREF back;
  };
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const Case cases[] = {
      {C::statusLabel, WM_CTLCOLORSTATIC, RGB(255, 0, 0), RGB(255, 255, 255)},
      {C::delayLabel, WM_CTLCOLORSTATIC, RGB(0, 0, 0), face},
      {C::delayEdit, WM_CTLCOLOREDIT, RGB(0, 0, 0), RGB(255, 255, 255)},
      {C::countModeBox, WM_CTLCOLORSTATIC, RGB(0, 0, 0), face},
      {C::rightClickRadio, WM_CTLCOLORSTATIC, RGB(0, 0, 0), face},
  };
  HWND main = windowHandle(kMain);
  for (const Case& c : cases) {
    HDC dc = GetDC(main);
    const LRESULT brush = SendMessageW(main, c.message, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(controlHandle(kMain, c.control)));
    EXPECT_EQ(GetTextColor(dc), c.text) << static_cast<int>(c.control);
    EXPECT_EQ(GetBkColor(dc), c.back) << static_cast<int>(c.control);
    LOGBRUSH logBrush{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(logBrush), &logBrush), 0);
    EXPECT_EQ(logBrush.lbColor, c.back) << static_cast<int>(c.control);
    ReleaseDC(main, dc);
  }
}

TEST_F(ControlsLook, TheHandPointerShowsOverClickableControlsOnly) {
  HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
  if (hand == nullptr) hand = LoadCursorW(nullptr, IDC_HAND);
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  struct Case {
    WindowId window;
    ControlId control;
    bool hand;
  };
  const Case cases[] = {{kMain, C::startButton, true},    {kMain, C::countModeBox, true},
                        {kMain, C::leftClickRadio, true}, {kKeyOp, C::keyOpCombo, true},
                        {kMain, C::delayEdit, false},     {kKeyOp, C::leftPicture, false}};
  for (const Case& c : cases) {
    SetCursor(arrow);
    SendMessageW(windowHandle(c.window), WM_SETCURSOR,
                 reinterpret_cast<WPARAM>(controlHandle(c.window, c.control)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor() == hand, c.hand) << static_cast<int>(c.control);
  }
}

TEST_F(ControlsLook, TheComboListsItsItemsInTallerLinesWithinItsHeight) {
  HWND combo = controlHandle(kKeyOp, C::keyOpCombo);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 9);
  wchar_t item[16]{};
  SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item), L"乙");
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), lineHeight(combo) + 5);

  // Nine items do not fit: field and dropped list together take the 160 pixels,
  // less what does not make a whole line.
  bringToFront(windowHandle(kKeyOp));
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof(parts);
  ASSERT_TRUE(GetComboBoxInfo(combo, &parts));
  RECT field{};
  GetWindowRect(combo, &field);
  RECT list{};
  GetWindowRect(parts.hwndList, &list);
  EXPECT_TRUE(IsWindowVisible(parts.hwndList));
  const LONG total = list.bottom - field.top;
  EXPECT_LE(total, 160);
  EXPECT_GT(total, 160 - (lineHeight(combo) + 5));
  EXPECT_NE(GetWindowLongPtrW(parts.hwndList, GWL_STYLE) & WS_VSCROLL, 0);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

  // The selection field cannot be typed into.
  SetFocus(combo);
  SendMessageW(combo, WM_CHAR, L'x', 0);
  EXPECT_EQ(getProperty(kKeyOp, C::keyOpCombo, P::selectedIndex), 0);
}

TEST_F(ControlsLook, EntryTextSitsInTheMiddleOfTheBox) {
  ASSERT_TRUE(loadWindow(WindowId::LoopCountWindow, false));
  for (HWND edit : {controlHandle(kMain, C::delayEdit),
                    controlHandle(WindowId::LoopCountWindow, C::loopCountEdit)}) {
    RECT frame{};
    GetWindowRect(edit, &frame);
    RECT client{};
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(client.bottom - client.top, lineHeight(edit));
    const LONG above = client.top - frame.top;
    const LONG below = frame.bottom - client.bottom;
    EXPECT_LE(std::labs(above - below), 1) << above << " " << below;
  }
}

TEST_F(ControlsLook, DigitEntryDropsTypedCharactersButNotSetOrPastedText) {
  HWND edit = controlHandle(kMain, C::delayEdit);
  setProperty(kMain, C::delayEdit, P::text, "");
  SetFocus(edit);
  for (wchar_t typed : std::wstring(L"a+.-5x9 中")) SendMessageW(edit, WM_CHAR, typed, 0);
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "-59");
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);  // control characters pass
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "-5");

  setProperty(kMain, C::delayEdit, P::text, "1700.9");
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "1700.9");

  setProperty(kMain, C::delayEdit, P::text, "");
  ASSERT_TRUE(OpenClipboard(windowHandle(kMain)));
  EmptyClipboard();
  const std::wstring pasted = L"x1.5";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(getTextProperty(kMain, C::delayEdit, P::text), "x1.5");
}

TEST_F(ControlsLook, AMissingPictureLeavesItsBoxEmpty) {
  // This test program carries no picture resources: the box is built all the same.
  HWND box = controlHandle(kKeyOp, C::leftPicture);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(IsWindowVisible(box));
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(box);
  EXPECT_EQ(GetPixel(dc, 10, 10), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(box, dc);
}

}  // namespace
