// An in-memory file backend for the step-file handlers: files by path, the
// answers of the file dialogs, and a save that can be made to fail.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "services/file_service.h"

class FakeFiles : public FileBackend {
 public:
  FakeFiles() { installFileBackend(this); }
  ~FakeFiles() override { installFileBackend(nullptr); }
  FakeFiles(const FakeFiles&) = delete;
  FakeFiles& operator=(const FakeFiles&) = delete;

  std::map<std::string, std::string> files;
  // The paths the next dialogs answer with; an empty answer is Cancel.
  std::deque<std::optional<std::string>> dialogAnswers;
  // Runs inside the next dialog, as a handler dispatched by its loop would.
  std::function<void()> whileNextDialogIsUp;
  FileSaveResult saveResult = FileSaveResult::ok;
  int dialogsShown = 0;

  std::optional<std::string> chooseFileToOpen(WindowId) override { return answerDialog(); }
  std::optional<std::string> chooseFileToSave(WindowId) override { return answerDialog(); }

  FileContent readWholeFile(std::string_view path, std::size_t maxBytes) override {
    auto found = files.find(std::string(path));
    if (found == files.end()) return {FileReadResult::notFound, {}};
    if (found->second.size() > maxBytes) return {FileReadResult::tooLarge, {}};
    return {FileReadResult::ok, found->second};
  }

  FileSaveResult saveFileAtomically(std::string_view path, std::string_view bytes) override {
    if (saveResult == FileSaveResult::ok) files[std::string(path)] = std::string(bytes);
    return saveResult;
  }

 private:
  std::optional<std::string> answerDialog() {
    ++dialogsShown;
    if (whileNextDialogIsUp) std::exchange(whileNextDialogIsUp, nullptr)();
    if (dialogAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }
};
