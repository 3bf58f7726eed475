#include "services/win32/entry_box.h"

#include <commctrl.h>

#include "services/win32/drawing_resources.h"

namespace {

constexpr UINT_PTR kEntrySubclassId = 1;

bool acceptedCharacter(WPARAM character) {
  if (character < 0x20 || character == 0x7F) return true;  // control characters pass
  return (character >= L'0' && character <= L'9') || character == L'-';
}

RECT borderlessRect(HWND edit) {
  RECT window{};
  GetWindowRect(edit, &window);
  OffsetRect(&window, -window.left, -window.top);
  RECT border{0, 0, 0, 0};
  AdjustWindowRectEx(&border, static_cast<DWORD>(GetWindowLongPtrW(edit, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(edit, GWL_EXSTYLE)));
  window.left -= border.left;
  window.top -= border.top;
  window.right -= border.right;
  window.bottom -= border.bottom;
  return window;
}

// A single-line edit draws its text at the top of its client area, so the
// client area is narrowed to one text line in the middle and the strips above
// and below are painted as part of the frame.
LRESULT CALLBACK entryProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR textHeight) {
  switch (message) {
    case WM_CHAR:
      if (!acceptedCharacter(wParam)) return 0;
      break;
    case WM_NCCALCSIZE: {
      LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : reinterpret_cast<RECT*>(lParam);
      const int height = static_cast<int>(client->bottom - client->top);
      const int line = static_cast<int>(textHeight);
      if (line > 0 && height > line) {
        client->top += (height - line) / 2;
        client->bottom = client->top + line;
      }
      return result;
    }
    case WM_NCPAINT: {
      LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      RECT inner = borderlessRect(edit);
      RECT client{};
      GetClientRect(edit, &client);
      MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
      RECT window{};
      GetWindowRect(edit, &window);
      OffsetRect(&client, -window.left, -window.top);
      HDC dc = GetWindowDC(edit);
      if (dc != nullptr) {
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(
            GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(edit)));
        FillRect(dc, &inner, brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW));
        ReleaseDC(edit, dc);
      }
      return result;
    }
    case WM_NCHITTEST: {
      // The strips above and below the text belong to the box for the mouse.
      POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT window{};
      GetWindowRect(edit, &window);
      RECT inner = borderlessRect(edit);
      OffsetRect(&inner, window.left, window.top);
      if (PtInRect(&inner, point)) return HTCLIENT;
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, entryProcedure, kEntrySubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void setUpEntryBox(HWND edit, HFONT font) {
  const int line = font != nullptr ? lineHeightOf(edit, font) : 0;
  SetWindowSubclass(edit, entryProcedure, kEntrySubclassId, static_cast<DWORD_PTR>(line));
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // A new box shows its caret at the start of its text, not selected.
  SendMessageW(edit, EM_SETSEL, 0, 0);
}
