// Looks at the running Tapvane2 from outside, for the end-to-end scripts.
//
//   probe.exe list              JSON: the product's top-level windows (its own
//                               windows, message boxes and any visible one) with
//                               their controls: class, text, id, screen rect,
//                               client-relative rect, visible, enabled, checked,
//                               selection, and the thread's focus; UTF-8.
//                               Works on a busy program too: what needs an
//                               answer from it is then left out.
//   probe.exe resources         JSON: per product process, GDI and USER object
//                               counts and memory figures.
//   probe.exe close HWND        posts WM_CLOSE to a window.
//   probe.exe settext HWND TEXT sends WM_SETTEXT.
//   probe.exe syscommand HWND minimize|restore
//                               posts WM_SYSCOMMAND, as a taskbar button does.
//   probe.exe cursor            prints the pointer's screen position.
//   probe.exe clock             prints QueryPerformanceCounter in ms, the
//                               clock of input_target's log.
//
// The product's processes are those owning a window of the product's classes.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t kProductWindowClass[] = L"Tapvane2Window";
const wchar_t kProductOwnerClass[] = L"Tapvane2Owner";
const wchar_t kDialogClass[] = L"#32770";

std::string toUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size, nullptr, nullptr);
  return result;
}

std::string jsonString(const std::wstring& text) {
  std::string out = "\"";
  for (char c : toUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::wstring className(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// A thread that does not answer within half a second (a run with only zero
// waits never pumps) is asked nothing more for the rest of the listing.
struct Asking {
  bool answering = true;
};

LRESULT askWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Asking& asking) {
  DWORD_PTR result = 0;
  if (!asking.answering) return -2;
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 500, &result) == 0) {
    asking.answering = false;
    return -2;
  }
  return static_cast<LRESULT>(result);
}

// Edit and combo boxes keep their text to themselves, so only WM_GETTEXT reads
// it; every other window's text is read without a message.
std::wstring windowText(HWND window, const std::wstring& kind, Asking& asking) {
  if (_wcsicmp(kind.c_str(), L"Edit") != 0 && _wcsicmp(kind.c_str(), L"ComboBox") != 0) {
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, 1024);
    return text;
  }
  const LRESULT length = askWindow(window, WM_GETTEXTLENGTH, 0, 0, asking);
  if (length < 0) return L"<no answer>";
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 2, L'\0');
  askWindow(window, WM_GETTEXT, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()), asking);
  return buffer.data();
}

std::string rectJson(const RECT& rect) {
  char text[96];
  std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", rect.left, rect.top, rect.right, rect.bottom);
  return text;
}

unsigned long handleNumber(HWND window) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)); }

std::set<DWORD> productProcesses() {
  std::set<DWORD> processes;
  for (const wchar_t* name : {kProductWindowClass, kProductOwnerClass}) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, name, nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      processes.insert(process);
    }
  }
  return processes;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> topLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> directChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::string windowJson(HWND window, bool withChildren, Asking& asking) {
  const std::wstring kind = className(window);
  RECT rect{};
  GetWindowRect(window, &rect);
  std::string out = "{\"hwnd\": " + std::to_string(handleNumber(window));
  out += ", \"class\": " + jsonString(kind);
  out += ", \"text\": " + jsonString(windowText(window, kind, asking));
  out += ", \"rect\": " + rectJson(rect);
  out += ", \"visible\": " + std::to_string(IsWindowVisible(window) ? 1 : 0);
  out += ", \"enabled\": " + std::to_string(IsWindowEnabled(window) ? 1 : 0);
  if (!withChildren) {
    HWND parent = GetParent(window);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    RECT local{rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
    out += ", \"id\": " + std::to_string(GetDlgCtrlID(window));
    out += ", \"local\": " + rectJson(local);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
      out += ", \"checked\": " + std::to_string(askWindow(window, BM_GETCHECK, 0, 0, asking));
    } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
      out += ", \"selected\": " + std::to_string(askWindow(window, CB_GETCURSEL, 0, 0, asking));
    }
    return out + "}";
  }
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  out += ", \"pid\": " + std::to_string(process);
  out += ", \"iconic\": " + std::to_string(IsIconic(window) ? 1 : 0);
  out += ", \"topmost\": " + std::to_string((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
  out += ", \"foreground\": " + std::to_string(GetForegroundWindow() == window ? 1 : 0);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  out += ", \"focus\": " + std::to_string(handleNumber(thread.hwndFocus));
  char clientText[96];
  std::snprintf(clientText, sizeof clientText, "[%ld, %ld, %ld, %ld]", origin.x, origin.y, origin.x + client.right,
                origin.y + client.bottom);
  out += ", \"client\": ";
  out += clientText;
  out += ", \"children\": [";
  bool first = true;
  for (HWND child : directChildren(window)) {
    if (!first) out += ", ";
    first = false;
    out += windowJson(child, false, asking);
  }
  // 0: the thread stopped answering, and what only a message reads is missing.
  return out + "], \"answering\": " + std::to_string(asking.answering ? 1 : 0) + "}";
}

int listWindows() {
  const std::set<DWORD> processes = productProcesses();
  std::string out = "[";
  bool first = true;
  Asking asking;
  for (HWND window : topLevelWindows()) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (processes.count(process) == 0) continue;
    const std::wstring kind = className(window);
    const bool ours = kind == kProductWindowClass || kind == kDialogClass;
    if (!ours && !IsWindowVisible(window)) continue;
    if (!first) out += ",\n ";
    first = false;
    out += windowJson(window, true, asking);
  }
  out += "]\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int listResources() {
  std::string out = "[";
  bool first = true;
  for (DWORD process : productProcesses()) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
    if (handle == nullptr) continue;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    DWORD handles = 0;
    GetProcessHandleCount(handle, &handles);
    char line[400];
    std::snprintf(line, sizeof line,
                  "{\"pid\": %lu, \"gdiObjects\": %lu, \"userObjects\": %lu, \"handles\": %lu, "
                  "\"workingSetKb\": %lu, \"privateKb\": %lu, \"pagefileKb\": %lu}",
                  static_cast<unsigned long>(process),
                  static_cast<unsigned long>(GetGuiResources(handle, GR_GDIOBJECTS)),
                  static_cast<unsigned long>(GetGuiResources(handle, GR_USEROBJECTS)),
                  static_cast<unsigned long>(handles), static_cast<unsigned long>(memory.WorkingSetSize / 1024),
                  static_cast<unsigned long>(memory.PrivateUsage / 1024),
                  static_cast<unsigned long>(memory.PagefileUsage / 1024));
    CloseHandle(handle);
    if (!first) out += ",\n ";
    first = false;
    out += line;
  }
  out += "]\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

HWND parseHandle(const wchar_t* text) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoul(text, nullptr, 0)));
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) {
    std::fprintf(stderr, "usage: probe list | resources | cursor | clock | close HWND | settext HWND TEXT"
                         " | syscommand HWND minimize|restore\n");
    return 2;
  }
  const std::wstring command = argv[1];
  int result = 2;
  if (command == L"list") {
    result = listWindows();
  } else if (command == L"resources") {
    result = listResources();
  } else if (command == L"cursor") {
    POINT point{};
    GetCursorPos(&point);
    std::printf("%ld %ld\n", point.x, point.y);
    result = 0;
  } else if (command == L"clock") {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    std::printf("%.3f\n",
                static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart));
    result = 0;
  } else if (command == L"close" && argc >= 3) {
    result = PostMessageW(parseHandle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
  } else if (command == L"syscommand" && argc >= 4) {
    const std::wstring what = argv[3];
    const WPARAM code = what == L"minimize" ? SC_MINIMIZE : what == L"restore" ? SC_RESTORE : 0;
    result = code != 0 && PostMessageW(parseHandle(argv[2]), WM_SYSCOMMAND, code, 0) ? 0 : 1;
  } else if (command == L"settext" && argc >= 4) {
    result = SendMessageW(parseHandle(argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3])) ? 0 : 1;
  } else {
    std::fprintf(stderr, "unknown command\n");
  }
  LocalFree(argv);
  return result;
}
