#include "services/win32/drawing_resources.h"

#include <map>

#include "resources/resource_ids.h"

namespace {

std::map<int, HFONT> fonts;
std::map<Colour, HBRUSH> brushes;
HCURSOR handCursor = nullptr;

}  // namespace

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

HCURSOR handPointer() {
  if (handCursor == nullptr) {
    handCursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    if (handCursor == nullptr) handCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
  }
  return handCursor;
}

void releaseDrawingResources() {
  for (auto& entry : fonts) DeleteObject(entry.second);
  fonts.clear();
  for (auto& entry : brushes) DeleteObject(entry.second);
  brushes.clear();
}
