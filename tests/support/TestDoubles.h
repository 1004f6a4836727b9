#pragma once
// Doubles for the platform services: a shell that records what it is asked,
// and a file system that fails on demand.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/TreeNodes.h"
#include "platform/Services.h"

class FakeIcon final : public platform::TIcon {
public:
  explicit FakeIcon(std::uintptr_t handle) : handle_(handle) {}
  std::uintptr_t Handle() const override { return handle_; }

private:
  std::uintptr_t handle_;
};

class RecordingShell final : public platform::IShell {
public:
  std::string driveStrings;          // what the system returns, NULs included
  int fileOperationResult = 0;
  bool fileOperationAborted = false;
  bool giveIcons = true;
  std::vector<platform::FileOperationRequest> operations;
  std::vector<platform::ShellExecuteRequest> executions;
  std::vector<std::pair<std::string, unsigned>> iconRequests;
  std::size_t lastDriveBufferSize = 0;

  std::string LogicalDriveStrings(std::size_t bufferSize) override {
    lastDriveBufferSize = bufferSize;
    return driveStrings;
  }
  std::unique_ptr<platform::TIcon> FileInfoIcon(const std::string& path, unsigned flags) override {
    iconRequests.emplace_back(path, flags);
    if (!giveIcons) return nullptr;
    return std::make_unique<FakeIcon>(iconRequests.size());
  }
  void Execute(const platform::ShellExecuteRequest& request) override { executions.push_back(request); }
  platform::FileOperationResult FileOperation(const platform::FileOperationRequest& request) override {
    operations.push_back(request);
    return {fileOperationResult, fileOperationAborted};
  }
};

// Not an exception of the program: nothing but the test catches it.
struct TKilled {};

// The system's file system, with faults injected where a test asks.
class FaultyFileSystem final : public platform::IFileSystem {
public:
  // Writes fail once this many bytes have gone to a file (a full disk).
  std::size_t failWritesAfter = SIZE_MAX;
  // The file opened for writing as this one (counted from 1) fails at its first write; 0 for none.
  int failWriteNumber = 0;
  bool failReplace = false;
  // Only this replace fails (counted from 1 over the object's life); 0 for none.
  int failReplaceNumber = 0;
  int alsoFailReplaceNumber = 0;
  // The process "dies" at this replace (counted from 1): TKilled, which no
  // handler of the program catches, is thrown instead of the move.
  int killAtReplace = 0;
  int replaces = 0;
  // Reading this file fails as if another program held it.
  std::string lockedFile;
  bool failCreateDir = false;
  std::vector<std::string> written; // every path opened for writing
  std::vector<std::string> flushed; // every path flushed to the disk

  bool FileExists(const std::string& path) override { return real().FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return real().DirectoryExists(path); }
  bool CreateDir(const std::string& path) override { return !failCreateDir && real().CreateDir(path); }
  std::string ReadAllAtMost(const std::string& path, std::uint64_t limit) override;
  std::unique_ptr<platform::IFileReader> OpenForRead(const std::string& path) override {
    return real().OpenForRead(path);
  }
  std::string TempFolder() override { return real().TempFolder(); }
  std::unique_ptr<platform::IFileWriter> CreateForWrite(const std::string& path) override;
  void Replace(const std::string& source, const std::string& target) override;
  bool Remove(const std::string& path) override { return real().Remove(path); }

private:
  static platform::IFileSystem& real() { return platform::SystemFiles(); }
};

// An image list that keeps the icons it is given.
class RecordingImages final : public ITreeImages {
public:
  explicit RecordingImages(int initialCount = 2) : initial_(initialCount) {}
  int AddIcon(std::unique_ptr<platform::TIcon> icon) override {
    icons.push_back(std::move(icon));
    return initial_ + static_cast<int>(icons.size()) - 1;
  }
  int Count() const override { return initial_ + static_cast<int>(icons.size()); }
  std::vector<std::unique_ptr<platform::TIcon>> icons;

private:
  int initial_;
};
