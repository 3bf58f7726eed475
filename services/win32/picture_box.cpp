#include "services/win32/picture_box.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "resources/resource_ids.h"
#include "services/win32/png_picture.h"

const wchar_t kPictureClass[] = L"Tapvane2Picture";

namespace {

HINSTANCE moduleHandle() { return GetModuleHandleW(nullptr); }

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

}  // namespace

void registerPictureClass() {
  WNDCLASSEXW pictureClass{};
  pictureClass.cbSize = sizeof(pictureClass);
  pictureClass.lpfnWndProc = pictureProcedure;
  pictureClass.hInstance = moduleHandle();
  pictureClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  pictureClass.lpszClassName = kPictureClass;
  RegisterClassExW(&pictureClass);
}

void* pictureCreationData(PictureId picture) {
  return reinterpret_cast<void*>(static_cast<INT_PTR>(resourceOf(picture)));
}
