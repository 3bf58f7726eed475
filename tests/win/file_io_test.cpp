// Reading and saving whole files under Wine, in a fresh folder under the
// temporary folder for each test. The files are set up and looked at with
// plain Win32 calls, not with the code under test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "services/step_file.h"
#include "services/win32/file_io.h"
#include "services/win32/wide_text.h"

// Results by name in failure messages.
void PrintTo(FileSaveResult result, std::ostream* out) {
  static const char* const names[] = {"ok",       "readOnly",    "folderMissing", "accessDenied",
                                      "diskFull", "pathTooLong", "other"};
  *out << names[static_cast<int>(result)];
}
void PrintTo(FileReadResult result, std::ostream* out) {
  static const char* const names[] = {"ok", "notFound", "accessDenied", "tooLarge", "other"};
  *out << names[static_cast<int>(result)];
}

namespace {

void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"tapvane2-file-io-" + std::to_wstring(GetCurrentProcessId());
    removeTree(L"\\\\?\\" + folder_);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
  }
  // The \\?\ form reaches the deep folders too.
  void TearDown() override { removeTree(L"\\\\?\\" + folder_); }

  std::wstring in(std::wstring_view name) const { return folder_ + L"\\" + std::wstring(name); }

  static void writeRaw(const std::wstring& path, std::string_view bytes) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size());
    CloseHandle(file);
  }

  static std::string readRaw(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
  }

  // Names in a folder, sorted.
  static std::vector<std::wstring> namesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::wstring folder_;
};

using Names = std::vector<std::wstring>;

TEST_F(FileIoTest, SaveCreatesThenReplacesTheFileAndLeavesNothingElse) {
  const std::wstring target = in(L"steps.txt");
  ASSERT_EQ(saveFileAtomically(narrow(target), "first version, longer than the second\r\n"),
            FileSaveResult::ok);
  EXPECT_EQ(readRaw(target), "first version, longer than the second\r\n");
  ASSERT_EQ(saveFileAtomically(narrow(target), "second\r\n"), FileSaveResult::ok);
  EXPECT_EQ(readRaw(target), "second\r\n");
  EXPECT_EQ(namesIn(folder_), Names{L"steps.txt"});
  // No bytes at all is a save like any other.
  ASSERT_EQ(saveFileAtomically(narrow(target), ""), FileSaveResult::ok);
  EXPECT_EQ(readRaw(target), "");
}

TEST_F(FileIoTest, SaveWorksThroughARelativePath) {
  wchar_t previous[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
  const FileSaveResult result = saveFileAtomically("relative.txt", "r");
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(result, FileSaveResult::ok);
  EXPECT_EQ(readRaw(in(L"relative.txt")), "r");
  EXPECT_EQ(namesIn(folder_), Names{L"relative.txt"});
}

// Each failure leaves the old file byte for byte and the folder as it was.
TEST_F(FileIoTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  const std::string old = "tapvane2-steps 1\r\nkey enter 1\r\n";
  const std::string replacement = "tapvane2-steps 1\r\nkey space 2\r\n";

  {
    SCOPED_TRACE("target marked read-only");
    const std::wstring target = in(L"read-only.txt");
    writeRaw(target, old);
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(saveFileAtomically(narrow(target), replacement), FileSaveResult::readOnly);
    EXPECT_EQ(readRaw(target), old);
    EXPECT_EQ(namesIn(folder_), Names{L"read-only.txt"});
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(target.c_str());
  }
  {
    // The temporary file is written and flushed before the move fails.
    SCOPED_TRACE("target held open by another program");
    const std::wstring target = in(L"held.txt");
    writeRaw(target, old);
    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(saveFileAtomically(narrow(target), replacement), FileSaveResult::accessDenied);
    CloseHandle(held);
    EXPECT_EQ(readRaw(target), old);
    EXPECT_EQ(namesIn(folder_), Names{L"held.txt"});
    DeleteFileW(target.c_str());
  }
  {
    SCOPED_TRACE("folder that does not exist");
    EXPECT_EQ(saveFileAtomically(narrow(in(L"gone\\steps.txt")), replacement),
              FileSaveResult::folderMissing);
    EXPECT_EQ(namesIn(folder_), Names{});
  }
  {
    SCOPED_TRACE("a name longer than 255 characters");
    EXPECT_EQ(saveFileAtomically(narrow(in(std::wstring(256, L'n'))), replacement),
              FileSaveResult::pathTooLong);
    EXPECT_EQ(saveFileAtomically(narrow(in(std::wstring(40000, L'n'))), replacement),
              FileSaveResult::pathTooLong);
    EXPECT_EQ(namesIn(folder_), Names{});
  }
  {
    SCOPED_TRACE("a folder where the file should be");
    ASSERT_TRUE(CreateDirectoryW(in(L"folder.txt").c_str(), nullptr));
    EXPECT_EQ(saveFileAtomically(narrow(in(L"folder.txt")), replacement),
              FileSaveResult::accessDenied);
    EXPECT_EQ(namesIn(folder_), Names{L"folder.txt"});
    EXPECT_EQ(namesIn(in(L"folder.txt")), Names{});
  }
}

TEST_F(FileIoTest, ReadGivesTheBytesOrSaysWhyNot) {
  const std::wstring file = in(L"steps.txt");
  writeRaw(file, std::string("a\0b\r\n", 5));
  FileContent content = readWholeFile(narrow(file), 5);
  EXPECT_EQ(content.result, FileReadResult::ok);
  EXPECT_EQ(content.bytes, std::string("a\0b\r\n", 5));

  content = readWholeFile(narrow(file), 4);
  EXPECT_EQ(content.result, FileReadResult::tooLarge);
  EXPECT_TRUE(content.bytes.empty());

  writeRaw(in(L"empty.txt"), "");
  content = readWholeFile(narrow(in(L"empty.txt")), 0);
  EXPECT_EQ(content.result, FileReadResult::ok);
  EXPECT_TRUE(content.bytes.empty());

  EXPECT_EQ(readWholeFile(narrow(in(L"missing.txt")), 100).result, FileReadResult::notFound);
  EXPECT_EQ(readWholeFile(narrow(in(L"gone\\steps.txt")), 100).result, FileReadResult::notFound);
  EXPECT_EQ(readWholeFile(narrow(in(std::wstring(300, L'n'))), 100).result,
            FileReadResult::notFound);

  // Another program holds the file without sharing it.
  const HANDLE held =
      CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  content = readWholeFile(narrow(file), 100);
  CloseHandle(held);
  EXPECT_EQ(content.result, FileReadResult::accessDenied);
  EXPECT_TRUE(content.bytes.empty());

  // An editor that keeps the file open for writing does not stop the reading.
  const HANDLE editing = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     0, nullptr);
  ASSERT_NE(editing, INVALID_HANDLE_VALUE);
  content = readWholeFile(narrow(file), 100);
  CloseHandle(editing);
  EXPECT_EQ(content.result, FileReadResult::ok);
}

// A sparse file of 4 GiB and 10 bytes: reading it all cannot work in a 32-bit
// process, and its size's low 32 bits alone say 10.
TEST_F(FileIoTest, AHugeFileIsRefusedFromItsSize) {
  const std::wstring file = in(L"huge.txt");
  const HANDLE handle =
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = (std::int64_t{1} << 32) + 10;
  ASSERT_TRUE(SetFilePointerEx(handle, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(handle));
  CloseHandle(handle);

  const FileContent content = readWholeFile(narrow(file), kMaxStepFileBytes);
  EXPECT_EQ(content.result, FileReadResult::tooLarge);
  EXPECT_TRUE(content.bytes.empty());
}

TEST_F(FileIoTest, ChineseFolderAndFileNamesSaveAndOpen) {
  const std::wstring folder = in(L"我的步骤");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring file = folder + L"\\记事本的步骤.txt";
  const std::vector<Step> steps = {{StepKind::leftClick, -1920, 1080, 300, false},
                                   {StepKind::paste, 0, 0, 0, true}};

  ASSERT_EQ(saveFileAtomically(narrow(file), writeStepFile(steps, "1.0.0.0")), FileSaveResult::ok);
  // Under its Chinese name, not a mangled one.
  EXPECT_EQ(namesIn(folder), Names{L"记事本的步骤.txt"});
  const FileContent content = readWholeFile(narrow(file), kMaxStepFileBytes);
  ASSERT_EQ(content.result, FileReadResult::ok);
  const ParsedStepFile parsed = parseStepFile(content.bytes);
  ASSERT_FALSE(parsed.problem.has_value()) << parsed.problem->description;
  EXPECT_EQ(parsed.steps, steps);
}

// What Notepad writes as "Unicode": UTF-16 LE with its mark, here with a
// Chinese comment, in a Chinese folder.
TEST_F(FileIoTest, AUtf16FileOpens) {
  const std::wstring folder = in(L"步骤");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring file = folder + L"\\统一码.txt";
  const std::wstring text = L"tapvane2-steps 1\r\n# 复制后粘贴\r\nkey copy 100\r\nright-click 5 -6 7\r\n";
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  writeRaw(file, bytes);

  const FileContent content = readWholeFile(narrow(file), kMaxStepFileBytes);
  ASSERT_EQ(content.result, FileReadResult::ok);
  EXPECT_EQ(content.bytes, bytes);
  const ParsedStepFile parsed = parseStepFile(content.bytes);
  ASSERT_FALSE(parsed.problem.has_value()) << parsed.problem->description;
  EXPECT_EQ(parsed.steps, (std::vector<Step>{{StepKind::copy, 0, 0, 100, true},
                                            {StepKind::rightClick, 5, -6, 7, false}}));
}

// Past MAX_PATH characters the calls need the \\?\ form on Windows.
TEST_F(FileIoTest, PathsBeyondMaxPathSaveAndOpen) {
  std::wstring folder = folder_;
  while (folder.size() < MAX_PATH + 20) {
    folder += L"\\深层文件夹-0123456789";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
  }
  const std::wstring file = folder + L"\\steps.txt";
  ASSERT_EQ(saveFileAtomically(narrow(file), "deep"), FileSaveResult::ok);
  const FileContent content = readWholeFile(narrow(file), 100);
  EXPECT_EQ(content.result, FileReadResult::ok);
  EXPECT_EQ(content.bytes, "deep");
  EXPECT_EQ(namesIn(L"\\\\?\\" + folder), Names{L"steps.txt"});
}

}  // namespace
