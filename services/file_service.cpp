#include "services/file_service.h"

#include "engine/fatal_fault.h"

std::string fileReadFailureText(FileReadResult result) {
  switch (result) {
    case FileReadResult::ok:
      return {};
    case FileReadResult::notFound:
      return "找不到该文件，它可能已被移动、改名或删除。";
    case FileReadResult::accessDenied:
      return "无法读取该文件：没有访问权限，或文件正被其他程序占用。";
    case FileReadResult::tooLarge:
      return "文件太大，无法读取。";
    case FileReadResult::other:
      break;
  }
  return "读取文件时出错。";
}

std::string fileSaveFailureText(FileSaveResult result) {
  switch (result) {
    case FileSaveResult::ok:
      return {};
    case FileSaveResult::readOnly:
      return "文件是只读的，无法覆盖。";
    case FileSaveResult::folderMissing:
      return "要保存到的文件夹不存在。";
    case FileSaveResult::accessDenied:
      return "无法写入：没有在该位置保存的权限，或文件正被其他程序占用。";
    case FileSaveResult::diskFull:
      return "磁盘空间不足。";
    case FileSaveResult::pathTooLong:
      return "文件的路径或名称太长。";
    case FileSaveResult::other:
      break;
  }
  return "保存文件时出错。";
}

namespace {
FileBackend* installedFileBackend = nullptr;
}  // namespace

void installFileBackend(FileBackend* backend) { installedFileBackend = backend; }

FileBackend& fileBackend() {
  if (installedFileBackend == nullptr) fatalFault("The file services were used before they were set up.");
  return *installedFileBackend;
}
