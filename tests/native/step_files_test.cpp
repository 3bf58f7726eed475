// Opening and saving step files from the main window: the list is replaced
// all or nothing, unsaved steps are asked about, every failure says what and
// keeps the steps, and nothing happens while a run, a capture, the tour or a
// modal window or box is going on.
#include "ui/step_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_files.h"
#include "handler_fixture.h"
#include "services/step_file.h"
#include "services/window_lifecycle.h"

namespace {

const char* const kFile = "C:\\步骤\\演示.tvsteps";
const char* const kOther = "D:\\other.tvsteps";
const char* const kThreeSteps =
    "tapvane2-steps 1\r\nleft-click 10 20 300\r\nkey paste 0\r\nright-double-click -5 7 -1\r\n";
const std::vector<Step> kThree = {{StepKind::leftClick, 10, 20, 300, false},
                                  {StepKind::paste, 0, 0, 0, true},
                                  {StepKind::rightDoubleClick, -5, 7, -1, false}};

class StepFiles : public HandlerTest {
 public:
  StepFiles() {
    files.files[kFile] = kThreeSteps;
    files.files[kOther] = "tapvane2-steps 1\nkey f5 100\n";
  }
  void open(const char* path) {
    files.dialogAnswers = {std::string(path)};
    raiseCommand(WindowId::MainWindow, CommandId::openStepFile);
  }
  void save(const char* path) {
    files.dialogAnswers = {std::string(path)};
    raiseCommand(WindowId::MainWindow, CommandId::saveStepFile);
  }
  std::vector<std::string> statusFlashes() const {
    const std::string prefix = "MainWindow.statusLabel.caption=";
    std::vector<std::string> shown;
    for (const std::string& entry : logWithPrefix(prefix)) shown.push_back(entry.substr(prefix.size()));
    return shown;
  }
  FakeFiles files;
};

TEST_F(StepFiles, OpenReplacesTheListAndSaysHowManySteps) {
  addClick(StepKind::leftClick, 1, 1, 1);
  stepList.markKept();  // as if it had come from a file: nothing to lose

  open(kFile);

  EXPECT_EQ(stepList.steps(), kThree);
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(statusFlashes(), (std::vector<std::string>{"已打开 3 个步骤", ""}));
  EXPECT_FALSE(stepList.hasUnkeptChanges());
}

TEST_F(StepFiles, UnsavedStepsAreAskedAboutAndCancelKeepsThem) {
  for (std::int32_t answer : {kAnswerCancel, kAnswerOk}) {
    SCOPED_TRACE(answer);
    stepList.release();
    addClick(StepKind::rightClick, 5, 6, 7);
    backend.boxes.clear();
    backend.boxAnswers = {answer};

    open(kFile);

    ASSERT_EQ(backend.boxes.size(), 1u);
    EXPECT_EQ(backend.boxes[0].text, "当前的步骤尚未保存，确定要用文件中的步骤替换吗？");
    EXPECT_EQ(backend.boxes[0].style, BoxStyle::question);
    EXPECT_EQ(backend.boxes[0].caption, "提示");
    if (answer == kAnswerOk) {
      EXPECT_EQ(stepList.steps(), kThree);
    } else {
      ASSERT_EQ(stepList.stepCount(), 1);
      EXPECT_EQ(stepList.step(1), (Step{StepKind::rightClick, 5, 6, 7, false}));
    }
  }
}

TEST_F(StepFiles, NothingToLoseAsksNothing) {
  // An empty list; then a list just opened; then one just saved.
  open(kFile);
  open(kOther);
  stepList.removeLastStep();
  addClick(StepKind::leftClick, 3, 3, 3);
  save(kFile);
  open(kOther);
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(stepList.stepCount(), 1);
}

TEST_F(StepFiles, AFileThatCannotBeOpenedNamesItselfAndWhyAndKeepsTheSteps) {
  struct Case {
    const char* name;
    std::string bytes;  // empty: no such file
    const char* why;
  };
  const Case cases[] = {
      {"missing", "", "找不到该文件"},
      {"too large", std::string(kMaxStepFileBytes + 1, ' '), "MiB"},
      {"not a step file", "hello\r\n", "不是"},
      {"bad line", "tapvane2-steps 1\r\nleft-click 1 2\r\nkey f5 1\r\n", "第 2 行"},
      {"newer", "tapvane2-steps 2\r\n", "更新"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stepList.release();
    addClick(StepKind::leftClick, 9, 9, 9);
    files.files.erase("E:\\坏.tvsteps");
    if (!c.bytes.empty()) files.files["E:\\坏.tvsteps"] = c.bytes;
    backend.boxes.clear();
    backend.log.clear();

    open("E:\\坏.tvsteps");

    ASSERT_EQ(backend.boxes.size(), 1u) << "no question first: the file is refused before";
    const FakeServices::Box& box = backend.boxes[0];
    EXPECT_EQ(box.style, BoxStyle::stop);
    EXPECT_EQ(box.caption, "提示");
    EXPECT_NE(box.text.find("E:\\坏.tvsteps"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(c.why), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("当前的步骤保持不变"), std::string::npos) << box.text;
    ASSERT_EQ(stepList.stepCount(), 1);
    EXPECT_EQ(stepList.step(1).x, 9);
    EXPECT_TRUE(statusFlashes().empty());
  }
}

TEST_F(StepFiles, SaveWritesTheListAndAFailedSaveSaysWhyAndKeepsTheListUnkept) {
  addClick(StepKind::leftDoubleClick, 40, 50, 60);
  stepList.appendKeyStep(StepKind::copy, 70);

  files.saveResult = FileSaveResult::readOnly;
  save(kOther);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].style, BoxStyle::stop);
  EXPECT_NE(backend.boxes[0].text.find(kOther), std::string::npos);
  EXPECT_NE(backend.boxes[0].text.find("只读"), std::string::npos);
  EXPECT_EQ(files.files[kOther], "tapvane2-steps 1\nkey f5 100\n") << "the old file is untouched";
  EXPECT_TRUE(stepList.hasUnkeptChanges());

  files.saveResult = FileSaveResult::ok;
  save(kOther);
  EXPECT_EQ(files.files[kOther], writeStepFile(stepList.steps(), TAPVANE_VERSION));
  EXPECT_FALSE(stepList.hasUnkeptChanges());
  EXPECT_EQ(statusFlashes(), (std::vector<std::string>{"已保存 2 个步骤", ""}));
  EXPECT_EQ(parseStepFile(files.files[kOther]).steps, stepList.steps());
}

TEST_F(StepFiles, TheCommandsAreAvailableAgainWhileTheResultIsShown) {
  std::vector<bool> during;
  for (auto command : {&StepFiles::open, &StepFiles::save}) {
    platform.postAfter(500, [&during] { during.push_back(stepFileCommandsAvailable()); });
    (this->*command)(kFile);
  }
  EXPECT_EQ(during, (std::vector<bool>{true, true}));
  EXPECT_EQ(statusFlashes(),
            (std::vector<std::string>{"已打开 3 个步骤", "", "已保存 3 个步骤", ""}));
}

TEST_F(StepFiles, CancelledDialogsChangeNothing) {
  addClick(StepKind::leftClick, 1, 2, 3);
  files.dialogAnswers = {std::nullopt, std::nullopt};
  raiseCommand(WindowId::MainWindow, CommandId::openStepFile);
  raiseCommand(WindowId::MainWindow, CommandId::saveStepFile);
  EXPECT_EQ(files.dialogsShown, 2);
  EXPECT_EQ(stepList.stepCount(), 1);
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(files.files.size(), 2u);
}

TEST_F(StepFiles, ADroppedFileOpensAndSeveralAreRefusedWithAMessage) {
  raiseFilesDropped(WindowId::MainWindow, {kFile});
  EXPECT_EQ(stepList.steps(), kThree);

  raiseFilesDropped(WindowId::MainWindow, {kOther, kFile});
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "请一次只拖入一个步骤文件。");
  EXPECT_EQ(stepList.steps(), kThree);
}

TEST_F(StepFiles, TheCommandLineOpensOneFileAndExplainsMore) {
  openStepFileFromCommandLine({});
  EXPECT_TRUE(backend.boxes.empty());
  openStepFileFromCommandLine({kFile, kOther});
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_NE(backend.boxes[0].text.find("用法：Tapvane2.exe [步骤文件]"), std::string::npos);
  EXPECT_EQ(stepList.stepCount(), 0);
  openStepFileFromCommandLine({kFile});
  EXPECT_EQ(stepList.steps(), kThree);
}

// Commands, keys and drops while something else is going on: refused without
// a dialog, a box or a change of the list.
struct Busy {
  const char* name;
  std::function<void(StepFiles&, std::function<void()>)> during;
};

void tryEverything(StepFiles& t, bool& tried) {
  tried = true;
  EXPECT_FALSE(stepFileCommandsAvailable());
  EXPECT_FALSE(commandsAvailable(WindowId::MainWindow));
  t.files.dialogAnswers = {std::string(kFile), std::string(kFile)};
  raiseCommand(WindowId::MainWindow, CommandId::openStepFile);
  raiseCommand(WindowId::MainWindow, CommandId::saveStepFile);
  raiseFilesDropped(WindowId::MainWindow, {kFile});
  raiseFilesDropped(WindowId::MainWindow, {kFile, kOther});
}

TEST_F(StepFiles, RefusedWhileARunACaptureTheTourOrAModalWindowOrBoxIsUp) {
  const Busy cases[] = {
      {"run", [](StepFiles& t, std::function<void()> attempt) {
         t.platform.postAfter(150, attempt);
         t.clickMain(ControlId::startButton);
       }},
      {"capture", [](StepFiles& t, std::function<void()> attempt) {
         t.inMain(ControlId::leftClickRadio).checked = true;
         t.platform.postAfter(1000, attempt);
         t.clickMain(ControlId::recordClickButton);
       }},
      {"tour", [](StepFiles& t, std::function<void()> attempt) {
         t.platform.postAfter(3000, attempt);
         t.clickMain(ControlId::tutorialButton);
       }},
      {"key window", [](StepFiles& t, std::function<void()> attempt) {
         t.backend.scriptModal(WindowId::KeyOperationWindow, {attempt});
         t.clickMain(ControlId::recordKeyButton);
       }},
      {"message box", [](StepFiles& t, std::function<void()> attempt) {
         t.backend.whileNextBoxIsUp = attempt;
         showMessageBox("录入成功", BoxStyle::information, "提示");
       }},
      {"file dialog", [](StepFiles& t, std::function<void()> attempt) {
         t.files.whileNextDialogIsUp = attempt;
         t.files.dialogAnswers = {std::nullopt};
         raiseCommand(WindowId::MainWindow, CommandId::saveStepFile);
       }},
  };
  for (const Busy& c : cases) {
    SCOPED_TRACE(c.name);
    stepList.release();
    addClick(StepKind::leftClick, 100, 100, 300);
    files.dialogsShown = 0;
    files.dialogAnswers.clear();
    bool tried = false;
    backend.boxes.clear();

    c.during(*this, [this, &tried] { tryEverything(*this, tried); });

    EXPECT_TRUE(tried);
    EXPECT_EQ(files.dialogsShown, c.name == std::string("file dialog") ? 1 : 0);
    for (const FakeServices::Box& box : backend.boxes) {
      EXPECT_EQ(box.text.find("步骤文件"), std::string::npos) << box.text;
    }
    ASSERT_GE(stepList.stepCount(), 1);
    EXPECT_EQ(stepList.step(1), (Step{StepKind::leftClick, 100, 100, 300, false}));
    EXPECT_TRUE(stepFileCommandsAvailable()) << "available again afterwards";
  }
}

}  // namespace
