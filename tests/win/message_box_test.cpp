// Message boxes: answer codes, caption, and the windows they hold still.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "services/conversions.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/win32/message_boxes.h"
#include "services/win32/win32_service_backend.h"
#include "services/window_service.h"
#include "tests/win/service_test_support.h"

namespace {

class MessageBoxes : public MainWindowTest {};

// Asks with the answerer pressing button (0: the close box) and checks the
// answer and that the box was task modal.
void expectAnswer(HWND main, int button, std::int32_t answer,
                  const std::function<std::int32_t()>& ask) {
  BoxAnswerer answerer(GetCurrentThreadId(), button, 0, main);
  EXPECT_EQ(ask(), answer) << "button " << button;
  EXPECT_TRUE(answerer.found());
  EXPECT_EQ(answerer.caption(), L"提示");
  // Task modal: the program's windows take no input while the box is up.
  EXPECT_TRUE(answerer.watchedWasDisabled());
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(MessageBoxes, ThePressedButtonGivesItsAnswerCode) {
  struct ProgramCase {
    BoxStyle style;
    int button;
    std::int32_t answer;
  };
  // clang-format off
  const ProgramCase programCases[] = {
    {BoxStyle::question,    IDOK,     kAnswerOk},
    {BoxStyle::question,    IDCANCEL, kAnswerCancel},
    {BoxStyle::exclamation, 0,        kAnswerCancel},
    {BoxStyle::information, IDOK,     kAnswerOk},
    {BoxStyle::stop,        IDOK,     kAnswerOk},
  };
  // clang-format on
  for (const ProgramCase& c : programCases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    expectAnswer(main, c.button, c.answer,
                 [&] { return showMessageBox("录入成功", c.style, "提示"); });
  }

  // The buttons the program's own styles never show still map to their codes.
  struct PlatformCase {
    UINT style;
    int button;
    std::int32_t answer;
  };
  // clang-format off
  const PlatformCase platformCases[] = {
    {MB_ABORTRETRYIGNORE, IDABORT,  kAnswerAbort},
    {MB_ABORTRETRYIGNORE, IDRETRY,  kAnswerRetry},
    {MB_ABORTRETRYIGNORE, IDIGNORE, kAnswerIgnore},
    {MB_YESNO,            IDYES,    kAnswerYes},
    {MB_YESNO,            IDNO,     kAnswerNo},
  };
  // clang-format on
  for (const PlatformCase& c : platformCases) {
    SCOPED_TRACE(c.style);
    expectAnswer(main, c.button, c.answer,
                 [&] { return askInMessageBox("录入成功", c.style, "提示"); });
  }
}

TEST_F(MessageBoxes, TheWindowActiveBeforeTheBoxIsActiveAfterIt) {
  bringToFront(main);
  ASSERT_EQ(GetActiveWindow(), main);
  for (int button : {IDOK, 0}) {
    BoxAnswerer answerer(GetCurrentThreadId(), button);
    showMessageBox("录入成功", BoxStyle::information, "提示");
    EXPECT_TRUE(answerer.found());
    EXPECT_EQ(GetActiveWindow(), main) << "button " << button;
  }
}

TEST_F(MessageBoxes, AnEmptyCaptionReadsInformation) {
  BoxAnswerer answerer(GetCurrentThreadId(), IDOK);
  EXPECT_EQ(showMessageBox("文本", BoxStyle::information, ""), kAnswerOk);
  EXPECT_EQ(answerer.caption(), L"信息：");
}

TEST_F(MessageBoxes, TimersKeepTickingUnderABox) {
  const int before = probe.usageTicks;
  BoxAnswerer answerer(GetCurrentThreadId(), IDOK, 700);
  showMessageBox("等待", BoxStyle::information, "提示");
  EXPECT_GT(probe.usageTicks, before);
}

}  // namespace
