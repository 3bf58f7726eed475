#include "tests/win/service_test_support.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "engine/message_pump.h"
#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"

Probe probe;

namespace {

constexpr WindowId kMain = WindowId::MainWindow;
constexpr WindowId kEntry = WindowId::LoopCountWindow;
constexpr WindowId kKeyOp = WindowId::KeyOperationWindow;

std::string checkedStates() {
  std::string states = "radios ";
  for (ControlId radio : {ControlId::leftClickRadio, ControlId::leftDoubleRadio,
                          ControlId::rightClickRadio}) {
    states += getProperty(kMain, radio, Property::checked) != 0 ? '1' : '0';
  }
  states += " boxes ";
  for (ControlId box : {ControlId::countModeBox, ControlId::timeModeBox}) {
    states += getProperty(kMain, box, Property::checked) != 0 ? '1' : '0';
  }
  return states;
}

void recordClick(const char* role) {
  probe.clicks.emplace_back(role);
  probe.snapshots.push_back(checkedStates());
}

void onStart() { recordClick("startButton"); }
void onStop() { recordClick("stopButton"); }
void onCountBox() { recordClick("countModeBox"); }
void onTimeBox() { recordClick("timeModeBox"); }
void onLeftClick() { recordClick("leftClickRadio"); }
void onLeftDouble() { recordClick("leftDoubleRadio"); }
void onRightClick() { recordClick("rightClickRadio"); }
void onDelayKey(std::int32_t code, std::int32_t shift) { probe.mainKeys.push_back({code, shift}); }
void onUsageTick() { ++probe.usageTicks; }

void onRunTick() {
  if (probe.runTicks++ == 0) probe.firstRunTickAt = GetTickCount();
  if (probe.runTimerClosesMain) closeWindow(kMain);
}

void onMainCreated() {
  ++probe.mainCreated;
  probe.mainVisibleInCreated = getProperty(kMain, ControlId::self, Property::visible);
}

void onMainDestroyed() {
  ++probe.mainDestroyed;
  note("W");
  if (probe.mainDestroyEndsProcess) {
    note("M");
    exitProcess(3);
  }
}

void onEntryKey(std::int32_t code, std::int32_t shift) {
  probe.entryKeys.push_back({code, shift});
  probe.mainDisabledSeenByEntry = getProperty(kMain, ControlId::self, Property::disabled);
  if (code == 13 && probe.entryClosesOnEnter) {
    closeWindow(kEntry);
    probe.entryStillLoadedAfterClose = windowHandle(kEntry) != nullptr;
  }
  probe.entryKeyHandlerReturned = true;
}

void onEntryTick() {
  ++probe.entryTicks;
  if (probe.entrySendsEnter && probe.entryTicks == 2) pressKeys({{VK_RETURN, 0}});
  if (probe.entryPostsQuit && probe.entryTicks == 1) PostQuitMessage(0);
  // Never leave a modal loop hanging when the input went astray.
  if (probe.entryTicks >= 40) {
    probe.entryGaveUp = true;
    closeWindow(kEntry);
  }
}

void onEntryDestroyed() {
  ++probe.entryDestroyed;
  probe.keyHandlerHadReturnedAtDestroy = probe.entryKeyHandlerReturned;
}

void onKeyOpCreated() {
  ++probe.keyOpCreated;
  probe.keyOpVisibleInCreated = getProperty(kKeyOp, ControlId::self, Property::visible);
  probe.keyOpComboInCreated = getProperty(kKeyOp, ControlId::keyOpCombo, Property::selectedIndex);
  setProperty(kKeyOp, ControlId::self, Property::left, 40);
  setProperty(kKeyOp, ControlId::self, Property::top, 50);
}

void onKeyOpDestroyed() {
  ++probe.keyOpDestroyed;
  probe.keyOpComboInDestroy =
      getProperty(kKeyOp, ControlId::keyOpCombo, Property::selectedIndex);
  note("K");
}

constexpr Colour D = kDefaultColour;
using K = ControlKind;
using C = ControlId;

// clang-format off
const ControlDefinition kMainControls[] = {
  // role               name       kind            left  top  width height text          px  text    back    flags        period picture
  {C::usageTimer,       "时钟2",   K::timer,        280,   0,   32,  32,  nullptr,        0, D,      D,      kNoFlags,     100, PictureId::none},
  {C::runTimer,         "时钟1",   K::timer,        280,   0,   32,  32,  nullptr,        0, D,      D,      kNoFlags,       0, PictureId::none},
  {C::statusLabel,      "标签2",   K::label,          8, 192,  296,  40,  "",            20, kRed,   kWhite, kCentred,       0, PictureId::none},
  {C::startButton,      "按钮5",   K::pushButton,   176, 105,  128,  40,  "开始执行",    12, D,      D,      kNoFlags,       0, PictureId::none},
  {C::countModeBox,     "选择框1", K::checkBox,     176,   8,  128,  24,  "次数循环模式", 12, kBlack, D,      kNoFlags,       0, PictureId::none},
  {C::timeModeBox,      "选择框2", K::checkBox,     176,  40,  128,  24,  "时间循环模式", 12, kBlack, D,      kNoFlags,       0, PictureId::none},
  {C::delayEdit,        "编辑框1", K::editBox,       88,  32,   72,  24,  "1700",        12, kBlack, kWhite, kDigitEntry,    0, PictureId::none},
  {C::rightClickRadio,  "单选框3", K::radioButton,    8,  56,   72,  24,  "右键单击",    12, kBlack, D,      kNoFlags,       0, PictureId::none},
  {C::leftDoubleRadio,  "单选框2", K::radioButton,    8,  32,   72,  24,  "左键双击",    12, kBlack, D,      kNoFlags,       0, PictureId::none},
  {C::leftClickRadio,   "单选框1", K::radioButton,    8,   8,   72,  24,  "左键单击",    12, kBlack, D,      kNoFlags,       0, PictureId::none},
  {C::delayLabel,       "标签1",   K::label,         88,   8,   72,  24,  "下方输入延迟", 12, kBlack, D,      kCentred,       0, PictureId::none},
  {C::stopButton,       "按钮6",   K::pushButton,   240, 105,   64,  40,  "结束执行",    12, D,      D,      kNoFlags,       0, PictureId::none},
};

const EventBinding kMainBindings[] = {
  {C::self,            Event::created,         onMainCreated,   nullptr},
  {C::self,            Event::willBeDestroyed, onMainDestroyed, nullptr},
  {C::usageTimer,      Event::periodic,        onUsageTick,     nullptr},
  {C::runTimer,        Event::periodic,        onRunTick,       nullptr},
  {C::startButton,     Event::clicked,         onStart,         nullptr},
  {C::stopButton,      Event::clicked,         onStop,          nullptr},
  {C::countModeBox,    Event::clicked,         onCountBox,      nullptr},
  {C::timeModeBox,     Event::clicked,         onTimeBox,       nullptr},
  {C::leftClickRadio,  Event::clicked,         onLeftClick,     nullptr},
  {C::leftDoubleRadio, Event::clicked,         onLeftDouble,    nullptr},
  {C::rightClickRadio, Event::clicked,         onRightClick,    nullptr},
  {C::delayEdit,       Event::keyPressed,      nullptr,         onDelayKey},
};

const ControlDefinition kEntryControls[] = {
  {C::loopCountEdit,    "编辑框1", K::editBox,        0,   0,  128,  36,  "",            16, kBlack, kWhite, kDigitEntry,    0, PictureId::none},
  {C::runTimer,         "时钟1",   K::timer,        280,   0,   32,  32,  nullptr,        0, D,      D,      kNoFlags,     150, PictureId::none},
};

const EventBinding kEntryBindings[] = {
  {C::loopCountEdit,   Event::keyPressed,      nullptr,          onEntryKey},
  {C::runTimer,        Event::periodic,        onEntryTick,      nullptr},
  {C::self,            Event::willBeDestroyed, onEntryDestroyed, nullptr},
};

const ControlDefinition kKeyOpControls[] = {
  {C::noteLabel,        "标签1",   K::label,          8,  48,  200, 184,  "第一行\r\n第二行", 14, kBlack, D,  kWrapTop,       0, PictureId::none},
  {C::keyOpAddButton,   "按钮1",   K::pushButton,   224,   8,   72,  30,  "录入",        12, D,      D,      kNoFlags,       0, PictureId::none},
  {C::keyOpCombo,       "组合框1", K::comboBox,       8,   8,  200,  29,  "甲\n乙\n丙\n丁\n戊\n己\n庚\n辛\n壬", 16, kBlack, kWhite, kNoFlags,       0, PictureId::none},
  {C::leftPicture,      "图片框2", K::pictureBox,   216,  48,   88, 100,  nullptr,        0, D,      D,      kNoFlags,       0, PictureId::thanksCard},
};

const EventBinding kKeyOpBindings[] = {
  {C::self,            Event::created,         onKeyOpCreated,   nullptr},
  {C::self,            Event::willBeDestroyed, onKeyOpDestroyed, nullptr},
};

const WindowDefinition kWindows[] = {
  {WindowId::MainWindow,         "测试主窗口", 318, 266, Frame::fixedWithCaption, true,  true,
   kMainControls, std::size(kMainControls), kMainBindings, std::size(kMainBindings)},
  {WindowId::KeyOperationWindow, "可选操作列", 318, 266, Frame::fixedWithCaption, false, false,
   kKeyOpControls, std::size(kKeyOpControls), kKeyOpBindings, std::size(kKeyOpBindings)},
  {WindowId::LoopCountWindow,    nullptr,      128,  36, Frame::none,             true,  false,
   kEntryControls, std::size(kEntryControls), kEntryBindings, std::size(kEntryBindings)},
  {WindowId::RunTimeWindow,      nullptr,      128,  36, Frame::none,             true,  false,
   kEntryControls, std::size(kEntryControls), kEntryBindings, std::size(kEntryBindings)},
  {WindowId::SupportWindow,      "支持与赞助", 406, 330, Frame::fixedWithCaption, false, false,
   nullptr, 0, nullptr, 0},
};
// clang-format on

}  // namespace

const WindowDefinition& testWindowDefinition(WindowId window) {
  for (const WindowDefinition& definition : kWindows) {
    if (definition.id == window) return definition;
  }
  return kWindows[0];
}

void note(const char* text) {
  if (probe.noteFile.empty()) return;
  std::ofstream out(probe.noteFile, std::ios::app | std::ios::binary);
  out << text;
}

void ServiceTest::SetUp() {
  probe = Probe{};
  installWindowDefinitions(&testWindowDefinition);
}

void ServiceTest::TearDown() {
  for (int index = 0; index < kWindowCount; ++index) {
    const auto window = static_cast<WindowId>(index);
    if (windowHandle(window) != nullptr) closeWindow(window);
  }
  EXPECT_TRUE(pumpUntil([] {
    for (int index = 0; index < kWindowCount; ++index) {
      if (windowHandle(static_cast<WindowId>(index)) != nullptr) return false;
    }
    return true;
  }));
  installWindowDefinitions(nullptr);
}

void MainWindowTest::SetUp() {
  ServiceTest::SetUp();
  ASSERT_TRUE(loadWindow(WindowId::MainWindow, false));
  main = windowHandle(WindowId::MainWindow);
  ASSERT_NE(main, nullptr);
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    waitPumping(5);
  }
  return true;
}

void settle(DWORD ms) { waitPumping(static_cast<std::int32_t>(ms)); }

void pressKeys(std::vector<std::pair<WORD, DWORD>> keys) {
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (const auto& [key, flags] : keys) add(key, flags);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) add(key->first, key->second | KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void clickScreen(POINT point) {
  SetCursorPos(point.x, point.y);
  INPUT inputs[2]{};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

POINT centreOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void bringToFront(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  settle();
}

DWORD runChild(const char* scenario, const std::wstring& noteFile) {
  wchar_t exe[MAX_PATH]{};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --tapvane-child ";
  for (const char* c = scenario; *c != '\0'; ++c) command += static_cast<wchar_t>(*c);
  command += L" \"" + noteFile + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 0xDEADBEEF;
  }
  DWORD code = 0xDEADBEEF;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 0xDEADBEEF);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::wstring temporaryNoteFile(const char* name) {
  wchar_t folder[MAX_PATH]{};
  GetTempPathW(MAX_PATH, folder);
  std::wstring file = std::wstring(folder) + L"tapvane_";
  for (const char* c = name; *c != '\0'; ++c) file += static_cast<wchar_t>(*c);
  file += L"_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(file.c_str());
  return file;
}

std::string readNotes(const std::wstring& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  char buffer[256]{};
  DWORD read = 0;
  ReadFile(handle, buffer, sizeof(buffer) - 1, &read, nullptr);
  CloseHandle(handle);
  return std::string(buffer, read);
}

// --- Answering message boxes ---------------------------------------------------

struct BoxAnswerer::State {
  DWORD uiThread;
  int button;
  DWORD delayMs;
  HWND watched;
  bool noteWhenFound = false;
  std::atomic<bool> stop{false};
  std::atomic<bool> found{false};
  std::atomic<bool> watchedDisabled{false};
  std::mutex mutex;
  std::wstring caption;
  std::thread worker;
};

namespace {

BOOL CALLBACK findBox(HWND window, LPARAM result) {
  wchar_t className[32]{};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

BoxAnswerer::BoxAnswerer(DWORD uiThread, int button, DWORD delayMs, HWND watched,
                         bool noteWhenFound)
    : state_(new State) {
  state_->noteWhenFound = noteWhenFound;
  state_->uiThread = uiThread;
  state_->button = button;
  state_->delayMs = delayMs;
  state_->watched = watched;
  State* state = state_;
  state_->worker = std::thread([state] {
    const DWORD start = GetTickCount();
    while (!state->stop && GetTickCount() - start < 20000) {
      HWND box = nullptr;
      EnumThreadWindows(state->uiThread, findBox, reinterpret_cast<LPARAM>(&box));
      if (box == nullptr) {
        Sleep(20);
        continue;
      }
      wchar_t caption[128]{};
      GetWindowTextW(box, caption, 128);
      {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->caption = caption;
      }
      if (state->noteWhenFound) note("B");
      Sleep(state->delayMs);
      if (state->watched != nullptr) state->watchedDisabled = !IsWindowEnabled(state->watched);
      state->found = true;
      if (state->button == 0) {
        PostMessageW(box, WM_CLOSE, 0, 0);
      } else {
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(state->button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, state->button)));
      }
      return;
    }
  });
}

BoxAnswerer::~BoxAnswerer() {
  state_->stop = true;
  state_->worker.join();
  delete state_;
}

std::wstring BoxAnswerer::caption() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->caption;
}

bool BoxAnswerer::found() const { return state_->found; }

bool BoxAnswerer::watchedWasDisabled() const { return state_->watchedDisabled; }
