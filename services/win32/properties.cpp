// Properties on the live windows and controls; timers keep theirs in the record.
#include "services/win32/properties.h"

#include <algorithm>
#include <cstddef>

#include "services/conversions.h"
#include "services/win32/live_windows.h"
#include "services/win32/restored_place.h"
#include "services/win32/timers.h"
#include "services/win32/wide_text.h"

namespace {

bool isMinimisedWindow(ControlId control, HWND handle) {
  return control == ControlId::self && IsIconic(handle);
}

RECT placeOf(LiveWindow& window, ControlId control, HWND handle) {
  if (isMinimisedWindow(control, handle)) return restoredFrame(handle);
  RECT rect{};
  GetWindowRect(handle, &rect);
  if (control != ControlId::self) {
    MapWindowPoints(HWND_DESKTOP, window.handle, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

// Moves and sizes a control, or a window, minimised or not.
void setPlace(ControlId control, HWND handle, const RECT& place) {
  const int width = std::max(0, static_cast<int>(place.right - place.left));
  const int height = std::max(0, static_cast<int>(place.bottom - place.top));
  if (isMinimisedWindow(control, handle)) {
    setRestoredFrame(handle, RECT{place.left, place.top, place.left + width, place.top + height});
  } else {
    SetWindowPos(handle, nullptr, place.left, place.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
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
  RECT place = placeOf(record, control, handle);
  switch (property) {
    case Property::left:
      OffsetRect(&place, value - place.left, 0);
      setPlace(control, handle, place);
      break;
    case Property::top:
      OffsetRect(&place, 0, value - place.top);
      setPlace(control, handle, place);
      break;
    case Property::width:
      place.right = place.left + std::max(value, 0);
      setPlace(control, handle, place);
      break;
    case Property::height:
      place.bottom = place.top + std::max(value, 0);
      setPlace(control, handle, place);
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
