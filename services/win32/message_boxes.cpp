// Message boxes on MessageBoxW.
#include "services/win32/message_boxes.h"

#include <windows.h>

#include <string>

#include "services/dialogs.h"
#include "services/win32/wide_text.h"

std::int32_t askInMessageBox(std::string_view text, std::int32_t style, std::string_view caption) {
  auto type = static_cast<UINT>(style);
  if ((type & MB_SYSTEMMODAL) == 0) type |= MB_TASKMODAL;
  const std::wstring wideText = widen(text);
  const std::wstring wideCaption = widen(caption.empty() ? std::string_view("信息：") : caption);
  switch (MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), type)) {
    case IDCANCEL:
      return kAnswerCancel;
    case IDABORT:
      return kAnswerAbort;
    case IDRETRY:
      return kAnswerRetry;
    case IDIGNORE:
      return kAnswerIgnore;
    case IDYES:
      return kAnswerYes;
    case IDNO:
      return kAnswerNo;
    default:
      return kAnswerOk;  // IDOK, and a box that could not be shown
  }
}

void showFatalFaultBox(std::string_view what) {
  const std::string text = std::string("程序内部出现错误，即将退出。\r\n\r\n") + std::string(what);
  MessageBoxW(nullptr, widen(text).c_str(), L"Tapvane2", MB_OK | MB_ICONHAND | MB_TASKMODAL);
}
