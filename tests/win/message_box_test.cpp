// Message boxes: answer codes, caption, and the windows they hold still.
#include <windows.h>

#include <gtest/gtest.h>

#include "services/dialogs.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

class MessageBoxes : public MainWindowTest {};

TEST_F(MessageBoxes, ThePressedButtonGivesItsAnswerCode) {
  struct Case {
    std::int32_t style;
    int button;  // 0: the close box
    std::int32_t answer;
  };
  // clang-format off
  const Case cases[] = {
    {kStyleQuestion,                 IDOK,     kAnswerOk},
    {kStyleQuestion,                 IDCANCEL, kAnswerCancel},
    {kStyleExclamation,              0,        kAnswerCancel},
    {kStyleInformation,              IDOK,     kAnswerOk},
    {kStyleStop,                     IDOK,     kAnswerOk},
    {MB_ABORTRETRYIGNORE,            IDABORT,  kAnswerAbort},
    {MB_ABORTRETRYIGNORE,            IDRETRY,  kAnswerRetry},
    {MB_ABORTRETRYIGNORE,            IDIGNORE, kAnswerIgnore},
    {MB_YESNO,                       IDYES,    kAnswerYes},
    {MB_YESNO,                       IDNO,     kAnswerNo},
  };
  // clang-format on
  for (const Case& c : cases) {
    BoxAnswerer answerer(GetCurrentThreadId(), c.button, 0, main);
    EXPECT_EQ(showMessageBox("录入成功", c.style, "提示"), c.answer) << c.style << " " << c.button;
    EXPECT_TRUE(answerer.found());
    EXPECT_EQ(answerer.caption(), L"提示");
    // Task modal: the program's windows take no input while the box is up.
    EXPECT_TRUE(answerer.watchedWasDisabled());
    EXPECT_TRUE(IsWindowEnabled(main));
  }
}

TEST_F(MessageBoxes, AnEmptyCaptionReadsInformation) {
  BoxAnswerer answerer(GetCurrentThreadId(), IDOK);
  EXPECT_EQ(win32ServiceBackend().showMessageBox("文本", kStyleInformation, ""), kAnswerOk);
  EXPECT_EQ(answerer.caption(), L"信息：");
}

TEST_F(MessageBoxes, TimersKeepTickingUnderABox) {
  const int before = probe.usageTicks;
  BoxAnswerer answerer(GetCurrentThreadId(), IDOK, 700);
  showMessageBox("等待", kStyleInformation, "提示");
  EXPECT_GT(probe.usageTicks, before);
}

}  // namespace
