// The five windows as static data: every place, text, font, colour and binding.
// Controls are listed in stacking order, the first row on top.
#include "ui/window_definitions.h"

#include <cstddef>

#include "engine/fatal_fault.h"
#include "run/run_control.h"
#include "ui/demonstration.h"
#include "ui/recording.h"
#include "ui/startup_exit.h"
#include "ui/step_files.h"

namespace {

using C = ControlId;
using E = Event;

constexpr ControlKind kTimer = ControlKind::timer;
constexpr ControlKind kLabel = ControlKind::label;
constexpr ControlKind kButton = ControlKind::pushButton;
constexpr ControlKind kCheckBox = ControlKind::checkBox;
constexpr ControlKind kRadio = ControlKind::radioButton;
constexpr ControlKind kEdit = ControlKind::editBox;
constexpr ControlKind kCombo = ControlKind::comboBox;
constexpr ControlKind kPicture = ControlKind::pictureBox;

constexpr Colour kDef = kDefaultColour;
constexpr PictureId kNoPicture = PictureId::none;

constexpr const char* kKeyOperationItems =
    "在此选择键盘操作类型\n"
    "键盘删除（退格）操作\n"
    "键盘回车操作\n"
    "键盘空格操作\n"
    "键盘复制操作\n"
    "键盘粘贴操作\n"
    "键盘刷新（F5）操作";

constexpr const char* kAuthorNote =
    "作者寄语：亲爱的用户您好\r\n"
    "很荣幸Tapvane2可以帮助到您\r\n"
    "如果您在使用的过程中遇到问题\r\n"
    "或想提供一些建议\r\n"
    "请您联系作者邮箱\r\n"
    "author@tapvane2.example\r\n"
    "收到您的邮件后会及时回复\r\n"
    "谢谢！\r\n"
    "2022年4月26日";

// clang-format off

// role                 name in data  kind       left top  wd  ht  text                 font  text    back    flags                    period picture
constexpr ControlDefinition kMainWindowControls[] = {
  {C::usageTimer,       "时钟2",     kTimer,    280,   0, 32, 32, "",                   0,   kDef,   kDef,   kNoFlags,                1000, kNoPicture},
  {C::runTimer,         "时钟1",     kTimer,    280,   0, 32, 32, "",                   0,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::statusLabel,      "标签2",     kLabel,      8, 192, 296, 40, "",                  20,   kRed,   kWhite, kCentred,                   0, kNoPicture},
  {C::tutorialButton,   "按钮7",     kButton,   176, 152, 128, 36, "操作演示（教学）",  14,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::startButton,      "按钮5",     kButton,   176, 105, 128, 40, "开始执行",          12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::endlessModeBox,   "选择框3",   kCheckBox, 176,  72, 128, 24, "无限循环模式",      12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::timeModeBox,      "选择框2",   kCheckBox, 176,  40, 128, 24, "时间循环模式",      12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::countModeBox,     "选择框1",   kCheckBox, 176,   8, 128, 24, "次数循环模式",      12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::clearAllButton,   "按钮4",     kButton,    88, 152,  72, 36, "清空录入",          12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::deleteLastButton, "按钮3",     kButton,     8, 152,  72, 36, "删除录入",          12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::recordKeyButton,  "按钮2",     kButton,     8, 105, 152, 40, "录入可选的操作",    12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::recordClickButton,"按钮1",     kButton,    88,  63,  72, 36, "录入点击",          12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::delayEdit,        "编辑框1",   kEdit,      88,  32,  72, 24, "1700",              12,   kBlack, kWhite, kDigitEntry | kCentred,     0, kNoPicture},
  {C::rightDoubleRadio, "单选框4",   kRadio,      8,  80,  72, 24, "右键双击",          12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::rightClickRadio,  "单选框3",   kRadio,      8,  56,  72, 24, "右键单击",          12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::leftDoubleRadio,  "单选框2",   kRadio,      8,  32,  72, 24, "左键双击",          12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::leftClickRadio,   "单选框1",   kRadio,      8,   8,  72, 24, "左键单击",          12,   kBlack, kDef,   kNoFlags,                   0, kNoPicture},
  {C::delayLabel,       "标签1",     kLabel,     88,   8,  72, 24, "下方输入延迟",      12,   kBlack, kDef,   kCentred,                   0, kNoPicture},
  {C::stopButton,       "按钮6",     kButton,   240, 105,  64, 40, "结束执行",          12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
};

constexpr ControlDefinition kKeyOperationWindowControls[] = {
  {C::noteLabel,        "标签1",     kLabel,      8,  48, 296, 184, kAuthorNote,        14,   kBlack, kDef,   kWrapTop,                   0, kNoPicture},
  {C::keyOpAddButton,   "按钮1",     kButton,   224,   8,  72,  30, "录入",             12,   kDef,   kDef,   kNoFlags,                   0, kNoPicture},
  {C::keyOpCombo,       "组合框1",   kCombo,      8,   8, 200,  29, kKeyOperationItems, 16,   kBlack, kWhite, kNoFlags,                   0, kNoPicture},
};

constexpr ControlDefinition kLoopCountWindowControls[] = {
  {C::loopCountEdit,    "编辑框1",   kEdit,       0,   0, 128,  36, "",                 16,   kBlack, kWhite, kDigitEntry | kCentred,     0, kNoPicture},
};

constexpr ControlDefinition kRunTimeWindowControls[] = {
  {C::runTimeEdit,      "编辑框1",   kEdit,       0,   0, 128,  36, "",                 16,   kBlack, kWhite, kDigitEntry | kCentred,     0, kNoPicture},
};

constexpr ControlDefinition kSupportWindowControls[] = {
  {C::supportLabel,     "标签1",     kLabel,      0, 273, 400,  25, "您可在支付时留下备注以及您的联系方式，衷心感谢！",
                                                                                      14,   kRed,   kWhite, kCentred,                   0, kNoPicture},
  {C::leftPicture,      "图片框2",   kPicture,    0,   0, 200, 272, "",                  0,   kDef,   kDef,   kNoFlags,                   0, PictureId::thanksCard},
  {C::rightPicture,     "图片框1",   kPicture,  200,   0, 200, 272, "",                  0,   kDef,   kDef,   kNoFlags,                   0, PictureId::supportCard},
};

// control               event               handler                        key handler
constexpr EventBinding kMainWindowBindings[] = {
  {C::self,              E::created,         onMainWindowCreated,           nullptr},
  {C::self,              E::willBeDestroyed, onMainWindowWillBeDestroyed,   nullptr},
  {C::usageTimer,        E::periodic,        onUsageTimerPeriodic,          nullptr},
  {C::runTimer,          E::periodic,        onRunTimerPeriodic,            nullptr},
  {C::recordClickButton, E::clicked,         onRecordClickButtonClicked,    nullptr},
  {C::recordKeyButton,   E::clicked,         onRecordKeyButtonClicked,      nullptr},
  {C::deleteLastButton,  E::clicked,         onDeleteLastButtonClicked,     nullptr},
  {C::clearAllButton,    E::clicked,         onClearAllButtonClicked,       nullptr},
  {C::countModeBox,      E::clicked,         onCountModeBoxClicked,         nullptr},
  {C::timeModeBox,       E::clicked,         onTimeModeBoxClicked,          nullptr},
  {C::endlessModeBox,    E::clicked,         onEndlessModeBoxClicked,       nullptr},
  {C::startButton,       E::clicked,         onStartButtonClicked,          nullptr},
  {C::stopButton,        E::clicked,         onStopButtonClicked,           nullptr},
  {C::tutorialButton,    E::clicked,         onTutorialButtonClicked,       nullptr},
};

// command                  menu text                    Ctrl+   handler
constexpr CommandDefinition kMainWindowCommands[] = {
  {CommandId::openStepFile, "打开步骤文件…\tCtrl+O",    kKeyO,  onOpenStepFileCommand},
  {CommandId::saveStepFile, "保存步骤文件…\tCtrl+S",    kKeyS,  onSaveStepFileCommand},
};

constexpr EventBinding kKeyOperationWindowBindings[] = {
  {C::self,              E::created,         onKeyOperationWindowCreated,   nullptr},
  {C::self,              E::willBeDestroyed, onKeyOperationWindowWillBeDestroyed, nullptr},
  {C::keyOpAddButton,    E::clicked,         onKeyOpAddButtonClicked,       nullptr},
};

constexpr EventBinding kLoopCountWindowBindings[] = {
  {C::loopCountEdit,     E::keyPressed,      nullptr,                       onLoopCountEditKeyPressed},
};

constexpr EventBinding kRunTimeWindowBindings[] = {
  {C::runTimeEdit,       E::keyPressed,      nullptr,                       onRunTimeEditKeyPressed},
};

constexpr EventBinding kSupportWindowBindings[] = {
  {C::self,              E::willBeDestroyed, onSupportWindowWillBeDestroyed, nullptr},
};

template <typename T, std::size_t n>
constexpr std::size_t countOf(const T (&)[n]) { return n; }

// Indexed by WindowId.
// id                            caption                         width height frame                     on top taskbar controls, bindings
constexpr WindowDefinition kWindows[kWindowCount] = {
  {WindowId::MainWindow,         "Tapvane2  tapvane2.example",   318, 266, Frame::fixedWithCaption, true,  true,
   kMainWindowControls, countOf(kMainWindowControls), kMainWindowBindings, countOf(kMainWindowBindings),
   kMainWindowCommands, countOf(kMainWindowCommands), stepFileCommandsAvailable, onStepFilesDropped},
  {WindowId::KeyOperationWindow, "可选操作列",                   318, 266, Frame::fixedWithCaption, false, false,
   kKeyOperationWindowControls, countOf(kKeyOperationWindowControls), kKeyOperationWindowBindings, countOf(kKeyOperationWindowBindings)},
  {WindowId::LoopCountWindow,    nullptr,                        128,  36, Frame::none,             true,  false,
   kLoopCountWindowControls, countOf(kLoopCountWindowControls), kLoopCountWindowBindings, countOf(kLoopCountWindowBindings)},
  {WindowId::RunTimeWindow,      nullptr,                        128,  36, Frame::none,             true,  false,
   kRunTimeWindowControls, countOf(kRunTimeWindowControls), kRunTimeWindowBindings, countOf(kRunTimeWindowBindings)},
  {WindowId::SupportWindow,      "支持与赞助",                   406, 330, Frame::fixedWithCaption, false, false,
   kSupportWindowControls, countOf(kSupportWindowControls), kSupportWindowBindings, countOf(kSupportWindowBindings)},
};

// clang-format on

constexpr bool windowsInIdOrder() {
  for (int i = 0; i < kWindowCount; ++i) {
    if (kWindows[i].id != static_cast<WindowId>(i)) return false;
  }
  return true;
}
static_assert(windowsInIdOrder(), "kWindows holds every window, indexed by WindowId");

}  // namespace

const WindowDefinition& programWindowDefinition(WindowId window) {
  const auto index = static_cast<std::size_t>(window);
  if (index >= static_cast<std::size_t>(kWindowCount)) {
    fatalFault("The window definitions cannot be read.");
  }
  return kWindows[index];
}
