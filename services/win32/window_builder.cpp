// Turns a window definition into a live window with its controls: styles,
// fonts, colours, the digit filter of entry boxes and the picture boxes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

#include "resources/resource_ids.h"
#include "services/win32/png_picture.h"
#include "services/win32/wide_text.h"
#include "services/win32/window_records.h"

const wchar_t kTopLevelClass[] = L"Tapvane2Window";

namespace {

const wchar_t kPictureClass[] = L"Tapvane2Picture";
constexpr UINT_PTR kEntrySubclassId = 1;
// A drop-down list takes this total height (field and dropped list), whatever the data says.
constexpr int kComboTotalHeight = 160;
constexpr int kComboItemExtra = 5;
constexpr int kFirstControlId = 100;

std::map<int, HFONT> fonts;
std::map<Colour, HBRUSH> brushes;
HCURSOR handCursor = nullptr;

HINSTANCE moduleHandle() { return GetModuleHandleW(nullptr); }

COLORREF colourRef(Colour colour) {
  return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

HFONT fontOfPixels(int pixels) {
  auto found = fonts.find(pixels);
  if (found != fonts.end()) return found->second;
  // Negative height: character height without internal leading, not scaled by DPI.
  HFONT font = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, L"微软雅黑");
  fonts.emplace(pixels, font);
  return font;
}

HBRUSH brushOf(Colour colour) {
  if (colour == kDefaultColour) return GetSysColorBrush(COLOR_BTNFACE);
  auto found = brushes.find(colour);
  if (found != brushes.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(colourRef(colour));
  brushes.emplace(colour, brush);
  return brush;
}

int lineHeightOf(HWND control, HFONT font) {
  HDC dc = GetDC(control);
  if (dc == nullptr) return 0;
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return metrics.tmHeight;
}

// --- Entry boxes: digit filter and vertically centred text ---------------------

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

void setUpEntryBox(HWND edit, HFONT font) {
  const int line = font != nullptr ? lineHeightOf(edit, font) : 0;
  SetWindowSubclass(edit, entryProcedure, kEntrySubclassId, static_cast<DWORD_PTR>(line));
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SendMessageW(edit, EM_SETSEL, 0, 0);
}

// --- Picture boxes -------------------------------------------------------------

int resourceOf(PictureId picture) {
  switch (picture) {
    case PictureId::thanksCard:
      return IDR_THANKS_CARD;
    case PictureId::supportCard:
      return IDR_SUPPORT_CARD;
    case PictureId::none:
      break;
  }
  return 0;
}

HBITMAP loadPicture(int resource) {
  if (resource == 0) return nullptr;
  HRSRC found = FindResourceW(moduleHandle(), MAKEINTRESOURCEW(resource), RT_RCDATA);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(moduleHandle(), found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return nullptr;
  DecodedPicture picture;
  if (!decodePng(static_cast<const std::uint8_t*>(bytes), SizeofResource(moduleHandle(), found),
                 picture)) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return nullptr;
  std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  return bitmap;
}

void paintPicture(HWND box) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(box, &paint);
  RECT client{};
  GetClientRect(box, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(box, GWLP_USERDATA));
  BITMAP size{};
  if (bitmap != nullptr && GetObjectW(bitmap, sizeof(size), &size) != 0) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    // Natural size from the top-left corner; what does not fit is cut off.
    const int width = std::min<int>(size.bmWidth, client.right);
    const int height = std::min<int>(size.bmHeight, client.bottom);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, 0, 0, width, height, source, 0, 0, width, height, blend);
    SelectObject(source, previous);
    DeleteDC(source);
  }
  EndPaint(box, &paint);
}

LRESULT CALLBACK pictureProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      const int resource = static_cast<int>(reinterpret_cast<INT_PTR>(create->lpCreateParams));
      SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(loadPicture(resource)));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paintPicture(box);
      return 0;
    case WM_NCDESTROY: {
      auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(box, GWLP_USERDATA));
      if (bitmap != nullptr) DeleteObject(bitmap);
      SetWindowLongPtrW(box, GWLP_USERDATA, 0);
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(box, message, wParam, lParam);
}

// --- Controls ------------------------------------------------------------------

struct ControlClass {
  const wchar_t* className;
  DWORD style;
};

ControlClass classOf(const ControlDefinition& control) {
  constexpr DWORD kButtonLook = BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP;
  switch (control.kind) {
    case ControlKind::label: {
      DWORD style = SS_NOPREFIX;
      if (control.flags & kWrapTop) {
        style |= SS_CENTER;
      } else if (control.flags & kCentred) {
        style |= SS_CENTER | SS_CENTERIMAGE;  // one line, centred both ways
      } else {
        style |= SS_LEFT;
      }
      return {L"STATIC", style};
    }
    case ControlKind::pushButton:
      return {L"BUTTON", BS_PUSHBUTTON | kButtonLook};
    case ControlKind::checkBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | BS_FLAT | kButtonLook};
    case ControlKind::radioButton:
      return {L"BUTTON", BS_AUTORADIOBUTTON | BS_FLAT | kButtonLook};
    case ControlKind::editBox:
      return {L"EDIT", ES_CENTER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::comboBox:
      return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::pictureBox:
      return {kPictureClass, 0};
    case ControlKind::timer:
      break;
  }
  return {nullptr, 0};
}

void fillCombo(HWND combo, std::string_view items, HFONT font) {
  while (!items.empty()) {
    const std::size_t end = items.find('\n');
    const std::string_view item = items.substr(0, end);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
    if (end == std::string_view::npos) break;
    items.remove_prefix(end + 1);
  }
  if (font != nullptr) {
    const int line = lineHeightOf(combo, font);
    if (line > 0) {
      // Some combo boxes pass the item height on only when they draw their own
      // items; the dropped list itself always takes it.
      SendMessageW(combo, CB_SETITEMHEIGHT, 0, line + kComboItemExtra);
      COMBOBOXINFO parts{};
      parts.cbSize = sizeof(parts);
      if (GetComboBoxInfo(combo, &parts) && parts.hwndList != nullptr) {
        SendMessageW(parts.hwndList, LB_SETITEMHEIGHT, 0, line + kComboItemExtra);
      }
    }
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

HWND createControl(HWND parent, const ControlDefinition& control, std::size_t index) {
  const ControlClass look = classOf(control);
  if (look.className == nullptr) return nullptr;
  const int height = control.kind == ControlKind::comboBox ? kComboTotalHeight : control.height;
  void* parameter = control.kind == ControlKind::pictureBox
                        ? reinterpret_cast<void*>(static_cast<INT_PTR>(resourceOf(control.picture)))
                        : nullptr;
  const std::wstring text =
      control.kind == ControlKind::comboBox || control.text == nullptr ? std::wstring()
                                                                       : widen(control.text);
  HWND handle = CreateWindowExW(
      0, look.className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | look.style, control.left,
      control.top, control.width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), moduleHandle(),
      parameter);
  if (handle == nullptr) return nullptr;

  HFONT font = control.fontPixels > 0 ? fontOfPixels(control.fontPixels) : nullptr;
  if (font != nullptr) SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  switch (control.kind) {
    case ControlKind::checkBox:
    case ControlKind::radioButton:
      if (control.flags & kChecked) SendMessageW(handle, BM_SETCHECK, BST_CHECKED, 0);
      break;
    case ControlKind::editBox:
      setUpEntryBox(handle, font);
      break;
    case ControlKind::comboBox:
      fillCombo(handle, control.text != nullptr ? control.text : "", font);
      break;
    default:
      break;
  }
  return handle;
}

}  // namespace

void registerWindowClasses(WNDPROC topLevelProcedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = topLevelProcedure;
  windowClass.hInstance = moduleHandle();
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(moduleHandle(), MAKEINTRESOURCEW(IDI_TAPVANE2), IMAGE_ICON,
                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(moduleHandle(), MAKEINTRESOURCEW(IDI_TAPVANE2), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kTopLevelClass;
  RegisterClassExW(&windowClass);

  WNDCLASSEXW pictureClass{};
  pictureClass.cbSize = sizeof(pictureClass);
  pictureClass.lpfnWndProc = pictureProcedure;
  pictureClass.hInstance = moduleHandle();
  pictureClass.hCursor = windowClass.hCursor;
  pictureClass.lpszClassName = kPictureClass;
  RegisterClassExW(&pictureClass);

  handCursor = LoadCursorW(moduleHandle(), MAKEINTRESOURCEW(IDC_HAND_POINTER));
  if (handCursor == nullptr) handCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
}

bool buildWindow(LoadedWindow& window, HWND owner) {
  const WindowDefinition& definition = *window.definition;
  const DWORD style = definition.frame == Frame::fixedWithCaption
                          ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN
                          : WS_POPUP | WS_CLIPCHILDREN;
  const DWORD extendedStyle = window.alwaysOnTop ? WS_EX_TOPMOST : 0;
  // Centred on the whole primary screen; the stored left and top are not used.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - definition.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - definition.height) / 2;
  const std::wstring caption = definition.caption != nullptr ? widen(definition.caption) : L"";
  HWND handle = CreateWindowExW(extendedStyle, kTopLevelClass, caption.c_str(), style, left, top,
                                definition.width, definition.height, owner, nullptr,
                                moduleHandle(), &window);
  if (handle == nullptr) return false;
  window.handle = handle;

  window.controls.clear();
  window.controls.reserve(definition.controlCount);
  HWND above = HWND_TOP;
  for (std::size_t index = 0; index < definition.controlCount; ++index) {
    const ControlDefinition& control = definition.controls[index];
    LiveControl live;
    live.definition = &control;
    if (control.kind != ControlKind::timer) {
      live.handle = createControl(handle, control, index);
      if (live.handle == nullptr) {
        DestroyWindow(handle);
        return false;
      }
      // Table order is stacking order: each control directly below the one before.
      SetWindowPos(live.handle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      above = live.handle;
    }
    window.controls.push_back(live);
  }
  for (const LiveControl& live : window.controls) {
    if (live.handle != nullptr) ShowWindow(live.handle, SW_SHOWNA);
  }
  return true;
}

void releaseBuildResources() {
  for (auto& entry : fonts) DeleteObject(entry.second);
  fonts.clear();
  for (auto& entry : brushes) DeleteObject(entry.second);
  brushes.clear();
}

LiveControl* controlByHandle(LoadedWindow& window, HWND handle) {
  if (handle == nullptr) return nullptr;
  for (LiveControl& control : window.controls) {
    if (control.handle == handle) return &control;
  }
  return nullptr;
}

bool isTabStop(ControlKind kind) {
  switch (kind) {
    case ControlKind::pushButton:
    case ControlKind::checkBox:
    case ControlKind::radioButton:
    case ControlKind::editBox:
    case ControlKind::comboBox:
      return true;
    default:
      return false;
  }
}

bool showsHandPointer(ControlKind kind) {
  return kind == ControlKind::pushButton || kind == ControlKind::checkBox ||
         kind == ControlKind::radioButton || kind == ControlKind::comboBox;
}

bool controlColours(LoadedWindow& window, UINT message, HDC dc, HWND control, LRESULT& brush) {
  const LiveControl* live = controlByHandle(window, control);
  if (live == nullptr) {
    // The dropped list of a combo box: black on white like its field.
    if (message != WM_CTLCOLORLISTBOX) return false;
    SetTextColor(dc, colourRef(kBlack));
    SetBkColor(dc, colourRef(kWhite));
    brush = reinterpret_cast<LRESULT>(brushOf(kWhite));
    return true;
  }
  const ControlDefinition& definition = *live->definition;
  if (definition.kind == ControlKind::pushButton || definition.kind == ControlKind::pictureBox) {
    return false;
  }
  const bool entry =
      definition.kind == ControlKind::editBox || definition.kind == ControlKind::comboBox;
  const Colour text = definition.textColour != kDefaultColour ? definition.textColour : kBlack;
  const Colour back = definition.backColour != kDefaultColour ? definition.backColour
                      : entry                                 ? kWhite
                                                              : kDefaultColour;
  SetTextColor(dc, colourRef(text));
  SetBkColor(dc, back == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : colourRef(back));
  brush = reinterpret_cast<LRESULT>(brushOf(back));
  return true;
}

HCURSOR handPointer() { return handCursor; }

UINT_PTR timerIdOf(std::size_t controlIndex) { return controlIndex + 1; }
