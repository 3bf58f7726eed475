#include "ui/step_files.h"

#include <new>
#include <optional>
#include <string>

#include "engine/step_list.h"
#include "run/run_control.h"
#include "services/file_service.h"
#include "services/message_box.h"
#include "services/scoped_count.h"
#include "services/step_file.h"
#include "services/window_lifecycle.h"
#include "ui/demonstration.h"
#include "ui/status_band.h"

namespace {

constexpr const char* kCaption = "提示";
constexpr WindowId kMain = WindowId::MainWindow;

int fileCommandsInProgress = 0;

std::string stepsText(std::size_t count) { return std::to_string(count) + " 个步骤"; }

void refuseToOpen(const std::string& path, const std::string& reason) {
  showMessageBox("无法打开步骤文件：\r\n" + path + "\r\n\r\n" + reason + "\r\n\r\n当前的步骤保持不变。",
                 BoxStyle::stop, kCaption);
}

// All or nothing: the list is replaced only by a whole, valid file, and only
// after the user agrees to lose unsaved steps. Gives the number of steps
// opened, nothing when the file was refused.
std::optional<std::size_t> replaceStepsFromFile(const std::string& path) {
  const ScopedCount working(fileCommandsInProgress);
  ParsedStepFile parsed;
  try {
    const FileContent content = fileBackend().readWholeFile(path, kMaxStepFileBytes);
    if (content.result != FileReadResult::ok) {
      // The reader's own limit is the one a user can act on.
      refuseToOpen(path, content.result == FileReadResult::tooLarge
                             ? stepFileTooLargeText()
                             : fileReadFailureText(content.result));
      return std::nullopt;
    }
    parsed = parseStepFile(content.bytes);
  } catch (const std::bad_alloc&) {
    refuseToOpen(path, "内存不足。");
    return std::nullopt;
  }
  if (parsed.problem) {
    refuseToOpen(path, describeStepFileProblem(*parsed.problem));
    return std::nullopt;
  }
  if (stepList.hasUnkeptChanges() &&
      showMessageBox("当前的步骤尚未保存，确定要用文件中的步骤替换吗？", BoxStyle::question,
                     kCaption) != kAnswerOk) {
    return std::nullopt;
  }
  const std::size_t count = parsed.steps.size();
  stepList.replaceSteps(std::move(parsed.steps));
  stepList.markKept();
  return count;
}

// The status flash comes after the file work: the commands are available
// again while it shows.
void openStepFile(const std::string& path) {
  if (const std::optional<std::size_t> count = replaceStepsFromFile(path)) {
    flashStatus("已打开 " + stepsText(*count));
  }
}

// Gives the number of steps saved, nothing when the user cancelled or the
// save failed (which has been said).
std::optional<std::size_t> saveStepsToChosenFile() {
  const ScopedCount working(fileCommandsInProgress);
  const std::optional<std::string> path = fileBackend().chooseFileToSave(kMain);
  if (!path) return std::nullopt;
  const FileSaveResult saved =
      fileBackend().saveFileAtomically(*path, writeStepFile(stepList.steps(), TAPVANE_VERSION));
  if (saved != FileSaveResult::ok) {
    showMessageBox("无法保存步骤文件：\r\n" + *path + "\r\n\r\n" + fileSaveFailureText(saved) +
                       "\r\n\r\n磁盘上的文件保持原样，当前的步骤也没有变化。",
                   BoxStyle::stop, kCaption);
    return std::nullopt;
  }
  stepList.markKept();
  return stepList.steps().size();
}

}  // namespace

bool stepFileCommandsAvailable() {
  return fileCommandsInProgress == 0 && !runInProgress() && !stepList.captureInProgress() &&
         !tourInProgress() && !modalWindowUp() && !messageBoxUp();
}

void onOpenStepFileCommand() {
  if (!stepFileCommandsAvailable()) return;
  std::optional<std::string> path;
  {
    const ScopedCount choosing(fileCommandsInProgress);
    path = fileBackend().chooseFileToOpen(kMain);
  }
  if (path) openStepFile(*path);
}

void onSaveStepFileCommand() {
  if (!stepFileCommandsAvailable()) return;
  if (const std::optional<std::size_t> count = saveStepsToChosenFile()) {
    flashStatus("已保存 " + stepsText(*count));
  }
}

void onStepFilesDropped(const std::vector<std::string>& paths) {
  if (!stepFileCommandsAvailable() || paths.empty()) return;
  if (paths.size() > 1) {
    showMessageBox("请一次只拖入一个步骤文件。", BoxStyle::information, kCaption);
    return;
  }
  openStepFile(paths.front());
}

void openStepFileFromCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return;
  if (arguments.size() > 1) {
    showMessageBox("用法：Tapvane2.exe [步骤文件]\r\n\r\n一次只能打开一个步骤文件，程序将以空的步骤列表启动。",
                   BoxStyle::information, kCaption);
    return;
  }
  openStepFile(arguments.front());
}
