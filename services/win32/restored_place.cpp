#include "services/win32/restored_place.h"

namespace {

// The placement keeps the restored frame in workspace coordinates: relative to
// the work area of the window's monitor, which the taskbar moves when it sits
// at the top or on the left. Tool windows are the exception.
POINT workspaceOrigin(HWND window) {
  if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return POINT{0, 0};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return POINT{0, 0};
  }
  return POINT{monitor.rcWork.left - monitor.rcMonitor.left,
               monitor.rcWork.top - monitor.rcMonitor.top};
}

}  // namespace

RECT restoredFrame(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT frame{};
  if (!GetWindowPlacement(window, &placement)) {
    GetWindowRect(window, &frame);
    return frame;
  }
  frame = placement.rcNormalPosition;
  const POINT origin = workspaceOrigin(window);
  OffsetRect(&frame, origin.x, origin.y);
  return frame;
}

void setRestoredFrame(HWND window, RECT frame) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return;
  const POINT origin = workspaceOrigin(window);
  OffsetRect(&frame, -origin.x, -origin.y);
  placement.rcNormalPosition = frame;
  placement.flags = 0;
  placement.showCmd = IsWindowVisible(window) ? SW_SHOWMINNOACTIVE : SW_HIDE;
  SetWindowPlacement(window, &placement);
}
