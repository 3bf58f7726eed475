#include "ui/startup_exit.h"

#include <cstdint>
#include <limits>

#include "engine/step_list.h"
#include "services/message_box.h"
#include "services/process_lifetime.h"
#include "services/random.h"
#include "services/window_service.h"
#include "ui/step_files.h"

std::int32_t usageTicks = 0;
std::int32_t exitDraw = 0;

namespace {

// Ten minutes of the one-second usage timer.
constexpr std::int32_t kLongUseTicks = 600;
constexpr std::int32_t kPromptDraw = 7;

constexpr const char* kSupportPrompt =
    "来自开发者的一段话：\r\n\r\n尊敬的用户您好，非常开心您可以看到这段话。因为检测到您是Tapvane2的常用用户，"
    "所以把这段话推送给您，多有打扰十分抱歉！相信Tapvane2可以在一定程度上帮助到您解决一些问题。"
    "如果Tapvane2是一款令您满意的产品，您可以选择支持我。\r\n"
    "我是一位正在攒钱买车的奋斗小青年，您的支持是对我莫大的帮助，在此真诚地谢谢您，谢谢！\r\n\r\n\r\n"
    "您要对这位语无伦次的可怜开发者进行赞助吗？点击确定进入赞助界面，点击取消关闭程序";
constexpr const char* kSupportCaption = "您的意愿";

void releaseStepList() { stepList.release(); }

}  // namespace

int mainRoutine(const std::vector<std::string>& arguments) {
  initServices();
  stepList.release();
  registerCleanup(releaseStepList);
  loadFirstWindow(WindowId::MainWindow);
  openStepFileFromCommandLine(arguments);
  // Ends when the last window is gone; the program then ends as every exit does.
  runMessageLoop();
  exitProcess(0);
}

void onMainWindowCreated() { usageTicks = 0; }

void onUsageTimerPeriodic() {
  // Some 68 years of use would overflow; the count only matters up to 600.
  if (usageTicks < std::numeric_limits<std::int32_t>::max()) ++usageTicks;
}

void onMainWindowWillBeDestroyed() {
  seedRandom();
  exitDraw = randomBetween(1, 7);
  if (usageTicks >= kLongUseTicks && exitDraw == kPromptDraw) {
    dialogAnswer = showMessageBox(kSupportPrompt, BoxStyle::question, kSupportCaption);
    // Closing the support window ends the program from its own handler, so
    // this modal load does not come back unless the window could not be made.
    if (dialogAnswer == kAnswerOk) loadWindow(WindowId::SupportWindow, true);
  }
  exitProcess(0);
}

void onSupportWindowWillBeDestroyed() { exitProcess(0); }
