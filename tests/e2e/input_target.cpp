// A window for the end-to-end scripts to aim recorded steps at: it logs every
// mouse button and key message it receives, one flushed line each.
//
//   input_target.exe LEFT TOP WIDTH HEIGHT LOGFILE [TIMEOUT_MS]
//
// Lines: "<ms> <queued> <event> <x> <y>" for mouse buttons (screen position)
// and "<ms> <queued> <event> <vk>" for keys: <ms> from QueryPerformanceCounter
// when the message is handled, <queued> the message's own time (GetMessageTime,
// when the input was queued; it tells the two apart when messages pile up).
// A first line "<ms> 0 READY <hwnd>" tells the script the window is up. The window takes
// the keyboard focus on every button press, so key steps that follow a click
// step reach it. It closes on WM_CLOSE or after the timeout (default 10 min).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

const wchar_t kClassName[] = L"TapvaneInputTarget";
constexpr UINT_PTR kTimeoutTimer = 1;

FILE* logFile = nullptr;
LARGE_INTEGER counterFrequency;

double nowMs() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(counterFrequency.QuadPart);
}

void logLine(const char* event, long first, long second, bool withSecond) {
  const unsigned long queued = static_cast<unsigned long>(GetMessageTime());
  if (withSecond) {
    std::fprintf(logFile, "%.3f %lu %s %ld %ld\n", nowMs(), queued, event, first, second);
  } else {
    std::fprintf(logFile, "%.3f %lu %s %ld\n", nowMs(), queued, event, first);
  }
  std::fflush(logFile);
}

void logMouse(HWND window, const char* event, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(window, &point);
  logLine(event, point.x, point.y, true);
}

void takeFocus(HWND window) {
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
  if (GetFocus() != window) SetFocus(window);
}

const char* mouseEventName(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: return "LDOWN";
    case WM_LBUTTONUP: return "LUP";
    case WM_LBUTTONDBLCLK: return "LDBL";
    case WM_RBUTTONDOWN: return "RDOWN";
    case WM_RBUTTONUP: return "RUP";
    case WM_RBUTTONDBLCLK: return "RDBL";
    default: return nullptr;
  }
}

LRESULT CALLBACK targetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const char* name = mouseEventName(message)) {
    logMouse(window, name, lParam);
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
        message == WM_RBUTTONDBLCLK) {
      takeFocus(window);
    }
    return 0;
  }
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      logLine("KEYDOWN", static_cast<long>(wParam), 0, false);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      logLine("KEYUP", static_cast<long>(wParam), 0, false);
      return 0;
    case WM_TIMER:
      if (wParam == kTimeoutTimer) DestroyWindow(window);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 6) {
    std::fprintf(stderr, "usage: input_target LEFT TOP WIDTH HEIGHT LOGFILE [TIMEOUT_MS]\n");
    return 2;
  }
  const int left = _wtoi(argv[1]);
  const int top = _wtoi(argv[2]);
  const int width = _wtoi(argv[3]);
  const int height = _wtoi(argv[4]);
  const UINT timeoutMs = argc > 6 ? static_cast<UINT>(_wtoi(argv[6])) : 600000u;
  logFile = _wfopen(argv[5], L"a");
  if (logFile == nullptr) {
    std::fprintf(stderr, "cannot open the log file\n");
    return 2;
  }
  QueryPerformanceFrequency(&counterFrequency);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = targetProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  HWND window = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"input target", WS_POPUP | WS_VISIBLE, left, top,
                                width, height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "cannot create the window\n");
    return 2;
  }
  SetTimer(window, kTimeoutTimer, timeoutMs, nullptr);
  UpdateWindow(window);
  std::fprintf(logFile, "%.3f 0 READY %lu\n", nowMs(),
               static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
  std::fflush(logFile);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  std::fclose(logFile);
  LocalFree(argv);
  return 0;
}
