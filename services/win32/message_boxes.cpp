#include "services/win32/message_boxes.h"

#include <string>

#include "services/win32/wide_text.h"

namespace {

UINT platformStyleOf(BoxStyle style) {
  switch (style) {
    case BoxStyle::stop: return MB_ICONHAND | MB_OK;
    case BoxStyle::question: return MB_ICONQUESTION | MB_OKCANCEL;
    case BoxStyle::exclamation: return MB_ICONEXCLAMATION | MB_OKCANCEL;
    case BoxStyle::information: return MB_ICONASTERISK | MB_OK;
  }
  return MB_OK;
}

std::int32_t answerCodeOf(int platformAnswer) {
  switch (platformAnswer) {
    case IDCANCEL: return kAnswerCancel;
    case IDABORT: return kAnswerAbort;
    case IDRETRY: return kAnswerRetry;
    case IDIGNORE: return kAnswerIgnore;
    case IDYES: return kAnswerYes;
    case IDNO: return kAnswerNo;
    default: return kAnswerOk;  // IDOK, and a box that could not be shown
  }
}

}  // namespace

std::int32_t askInMessageBox(std::string_view text, BoxStyle style, std::string_view caption) {
  return askInMessageBox(text, platformStyleOf(style), caption);
}

std::int32_t askInMessageBox(std::string_view text, UINT platformStyle, std::string_view caption) {
  // No owner window: task-modal disables every window of the thread instead.
  if ((platformStyle & MB_SYSTEMMODAL) == 0) platformStyle |= MB_TASKMODAL;
  // An ownerless box hands the activation back to no one in particular, and
  // the next key the user types could go to another program.
  HWND activeBefore = GetActiveWindow();
  const int answer =
      MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(), platformStyle);
  if (activeBefore != nullptr && IsWindow(activeBefore) && IsWindowEnabled(activeBefore) &&
      GetActiveWindow() != activeBefore) {
    // The box had the foreground, so the program may take it back.
    if (!SetForegroundWindow(activeBefore)) SetActiveWindow(activeBefore);
  }
  return answerCodeOf(answer);
}

void showFatalFaultBox(std::string_view what) {
  const std::string text = std::string("程序内部出现错误，即将退出。\r\n\r\n") + std::string(what);
  MessageBoxW(nullptr, widen(text).c_str(), L"Tapvane2", MB_OK | MB_ICONHAND | MB_TASKMODAL);
}
