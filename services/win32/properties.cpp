// Properties on the live windows and controls; timers keep theirs in the record.
#include "services/win32/properties.h"

#include <algorithm>
#include <cstddef>

#include "services/conversions.h"
#include "services/win32/live_windows.h"
#include "services/win32/timers.h"
#include "services/win32/wide_text.h"

namespace {

RECT placeOf(LiveWindow& window, ControlId control, HWND handle) {
  RECT rect{};
  GetWindowRect(handle, &rect);
  if (control != ControlId::self) {
    MapWindowPoints(HWND_DESKTOP, window.handle, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

std::int32_t timerPlace(const LiveControl& timer, Property property) {
  switch (property) {
    case Property::left:
      return timer.definition->left;
    case Property::top:
      return timer.definition->top;
    case Property::width:
      return timer.definition->width;
    case Property::height:
      return timer.definition->height;
    default:
      return 0;
  }
}

HWND insertAfterOf(ZOrder position) {
  switch (position) {
    case ZOrder::top: return HWND_TOP;
    case ZOrder::bottom: return HWND_BOTTOM;
    case ZOrder::topmost: return HWND_TOPMOST;
    case ZOrder::notTopmost: return HWND_NOTOPMOST;
  }
  return HWND_TOP;
}

bool isTextProperty(Property property) {
  return property == Property::text || property == Property::caption;
}

}  // namespace

std::int32_t readProperty(WindowId window, ControlId control, Property property) {
  LiveWindow& record = requireLive(window);
  LiveControl* live = nullptr;
  HWND handle = requireHandle(record, control, &live);
  if (property == Property::period) return live != nullptr ? live->period : 0;
  if (property == Property::alwaysOnTop) return record.alwaysOnTop ? 1 : 0;
  if (handle == nullptr) return timerPlace(*live, property);
  switch (property) {
    case Property::left:
      return placeOf(record, control, handle).left;
    case Property::top:
      return placeOf(record, control, handle).top;
    case Property::width: {
      const RECT rect = placeOf(record, control, handle);
      return rect.right - rect.left;
    }
    case Property::height: {
      const RECT rect = placeOf(record, control, handle);
      return rect.bottom - rect.top;
    }
    case Property::visible:
      return IsWindowVisible(handle) ? 1 : 0;
    case Property::disabled:
      return IsWindowEnabled(handle) ? 0 : 1;
    case Property::checked:
      return SendMessageW(handle, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    case Property::selectedIndex:
      return static_cast<std::int32_t>(SendMessageW(handle, CB_GETCURSEL, 0, 0));
    case Property::text:
    case Property::caption:
      return textToInteger(readTextProperty(window, control, property));
    default:
      return 0;
  }
}

std::string readTextProperty(WindowId window, ControlId control, Property property) {
  if (!isTextProperty(property)) return std::to_string(readProperty(window, control, property));
  LiveWindow& record = requireLive(window);
  HWND handle = requireHandle(record, control);
  if (handle == nullptr) return {};
  const int length = GetWindowTextLengthW(handle);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = GetWindowTextW(handle, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return narrow(text);
}

void writeProperty(WindowId window, ControlId control, Property property, std::int32_t value) {
  LiveWindow& record = requireLive(window);
  LiveControl* live = nullptr;
  HWND handle = requireHandle(record, control, &live);
  if (property == Property::period) {
    if (live != nullptr && live->definition->kind == ControlKind::timer) {
      writePeriod(record, static_cast<std::size_t>(live - record.controls.data()), value);
    }
    return;
  }
  if (property == Property::alwaysOnTop) {
    if (control != ControlId::self) return;
    record.alwaysOnTop = value != 0;
    SetWindowPos(handle, value != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  if (handle == nullptr) return;
  const RECT place = placeOf(record, control, handle);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  switch (property) {
    case Property::left:
      MoveWindow(handle, value, place.top, width, height, TRUE);
      break;
    case Property::top:
      MoveWindow(handle, place.left, value, width, height, TRUE);
      break;
    case Property::width:
      SetWindowPos(handle, nullptr, 0, 0, std::max(value, 0), height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case Property::height:
      SetWindowPos(handle, nullptr, 0, 0, width, std::max(value, 0),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case Property::visible:
      ShowWindow(handle, value != 0 ? SW_SHOW : SW_HIDE);
      break;
    case Property::disabled:
      EnableWindow(handle, value != 0 ? FALSE : TRUE);
      break;
    case Property::checked:
      SendMessageW(handle, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::text:
    case Property::caption:
      writeTextProperty(window, control, property, std::to_string(value));
      break;
    default:
      break;
  }
}

void writeTextProperty(WindowId window, ControlId control, Property property,
                       std::string_view text) {
  if (!isTextProperty(property)) {
    writeProperty(window, control, property, textToInteger(text));
    return;
  }
  LiveWindow& record = requireLive(window);
  LiveControl* live = nullptr;
  HWND handle = requireHandle(record, control, &live);
  if (handle == nullptr) return;
  SetWindowTextW(handle, widen(text).c_str());
  // A label shows its new caption at the next repaint.
  if (live != nullptr && live->definition->kind == ControlKind::label) {
    InvalidateRect(handle, nullptr, TRUE);
  }
}

void writeZOrder(WindowId window, ControlId control, ZOrder position) {
  LiveWindow& record = requireLive(window);
  HWND handle = requireHandle(record, control);
  if (handle == nullptr) return;
  SetWindowPos(handle, insertAfterOf(position), 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}
