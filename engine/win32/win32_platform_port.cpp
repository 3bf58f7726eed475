#include "engine/win32/win32_platform_port.h"

#include <windows.h>

#include <climits>
#include <vector>

#include "engine/win32/system_library.h"
#include "engine/win32/timer_resolution.h"

static_assert(kKeyBackspace == VK_BACK && kKeyEnter == VK_RETURN && kKeyControl == VK_CONTROL &&
              kKeyEscape == VK_ESCAPE && kKeySpace == VK_SPACE && kKeyZero == '0' &&
              kKeyC == 'C' && kKeyO == 'O' && kKeyS == 'S' && kKeyV == 'V' && kKeyF5 == VK_F5 && kKeyMinus == VK_OEM_MINUS &&
              kKeyPoint == VK_OEM_PERIOD && kKeySlash == VK_OEM_2,
              "the portable key codes are the virtual-key numbers");

namespace {

PreTranslation installedPreTranslation = nullptr;

// Indexed by InputAction, for the four mouse actions.
constexpr DWORD kMouseFlags[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTDOWN,
                                 MOUSEEVENTF_RIGHTUP};
static_assert(static_cast<int>(InputAction::leftDown) == 0 &&
                  static_cast<int>(InputAction::leftUp) == 1 &&
                  static_cast<int>(InputAction::rightDown) == 2 &&
                  static_cast<int>(InputAction::rightUp) == 3,
              "kMouseFlags follows the order of the mouse actions");

// Not in every SDK's headers; the values are fixed by the platform.
#ifndef PROCESS_POWER_THROTTLING_CURRENT_VERSION
constexpr ULONG kThrottlingVersion = 1;
constexpr ULONG kIgnoreTimerResolution = 0x4;
struct PowerThrottlingState {
  ULONG Version;
  ULONG ControlMask;
  ULONG StateMask;
};
constexpr int kProcessPowerThrottling = 4;
#else
constexpr ULONG kThrottlingVersion = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
constexpr ULONG kIgnoreTimerResolution = 0x4;
using PowerThrottlingState = PROCESS_POWER_THROTTLING_STATE;
constexpr int kProcessPowerThrottling = ProcessPowerThrottling;
#endif

// Keep fine timer resolution even when the window is minimised (Windows 11
// otherwise ignores timeBeginPeriod for hidden processes). Absent before Windows 8.
void optOutOfTimerThrottling() {
  using SetProcessInformationFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  auto setInformation =
      systemFunction<SetProcessInformationFn>(L"kernel32.dll", "SetProcessInformation");
  if (setInformation == nullptr) return;
  PowerThrottlingState state{kThrottlingVersion, kIgnoreTimerResolution, 0};
  setInformation(GetCurrentProcess(), kProcessPowerThrottling, &state, sizeof state);
}

INPUT toInput(const InputEvent& event) {
  INPUT input{};
  switch (event.action) {
    case InputAction::leftDown:
    case InputAction::leftUp:
    case InputAction::rightDown:
    case InputAction::rightUp:
      input.type = INPUT_MOUSE;
      // No move flag: the click lands where the pointer was placed.
      input.mi.dwFlags = kMouseFlags[static_cast<int>(event.action)];
      break;
    case InputAction::keyDown:
    case InputAction::keyUp:
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = event.key;
      input.ki.dwFlags = event.action == InputAction::keyUp ? KEYEVENTF_KEYUP : 0;
      break;
  }
  return input;
}

class Win32PlatformPort final : public PlatformPort {
 public:
  Win32PlatformPort() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    optOutOfTimerThrottling();
  }

  std::int64_t monotonicMicroseconds() override {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // Split to keep counter * 1e6 from overflowing.
    const std::int64_t whole = counter.QuadPart / frequency_;
    const std::int64_t part = counter.QuadPart % frequency_;
    return whole * 1'000'000 + part * 1'000'000 / frequency_;
  }

  NextMessage peekNextMessage() override {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return NextMessage::none;
    return msg.message == WM_QUIT ? NextMessage::quit : NextMessage::other;
  }

  bool dispatchNextMessage() override {
    MSG msg{};
    const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0) return false;
    // -1 only comes with an invalid window filter, which is never passed.
    if (result < 0) return true;
    if (installedPreTranslation != nullptr && installedPreTranslation(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
  }

  void sleepUntilMessage(std::int64_t timeoutMicroseconds, bool onlyNew) override {
    // One long sleep to about 2 ms before the deadline, then 1 ms steps: a
    // long timeout drifts by about a millisecond, a short one barely at all.
    std::int64_t ms = timeoutMicroseconds > 3000 ? (timeoutMicroseconds - 2000) / 1000 : 1;
    if (ms > INT_MAX) ms = INT_MAX;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT,
                                onlyNew ? 0 : MWMO_INPUTAVAILABLE);
  }

  void setPreciseTiming(bool on) override { setFineTimerResolution(on); }

  void setCursorPosition(ScreenPoint point) override { SetCursorPos(point.x, point.y); }

  std::optional<ScreenPoint> cursorPosition() override {
    POINT point{};
    if (!GetCursorPos(&point)) return std::nullopt;
    return ScreenPoint{point.x, point.y};
  }

  void sendInput(const InputEvent* events, std::size_t count) override {
    std::vector<INPUT> inputs;
    inputs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) inputs.push_back(toInput(events[i]));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

  bool keyPressedSinceLastCheck(KeyCode key) override {
    const SHORT state = GetAsyncKeyState(key);
    const bool down = (state & 0x8000) != 0;
    // A press counts when the key is newly down, or went down and up since the last look.
    const bool pressed = (down && !wasDown_[key]) || (state & 1) != 0;
    wasDown_[key] = down;
    return pressed;
  }

 private:
  std::int64_t frequency_ = 1;
  bool wasDown_[256] = {};
};

}  // namespace

PlatformPort& win32PlatformPort() {
  static Win32PlatformPort port;
  return port;
}

void setPreTranslation(PreTranslation preTranslation) { installedPreTranslation = preTranslation; }
