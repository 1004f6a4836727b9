#include "support/TestDoubles.h"

#include <functional>

#include "platform/Errors.h"

namespace {

class FaultyWriter final : public platform::IFileWriter {
public:
  FaultyWriter(std::unique_ptr<platform::IFileWriter> inner, std::size_t budget, std::function<void()> onCommit)
      : inner_(std::move(inner)), budget_(budget), onCommit_(std::move(onCommit)) {}
  void Write(const void* data, std::size_t size) override {
    if (size > budget_) {
      inner_->Write(data, budget_); // part of it reaches the disk, as on a full disk
      budget_ = 0;
      throw EFileError("There is not enough space on the disk.", "There is not enough space on the disk.");
    }
    budget_ -= size;
    inner_->Write(data, size);
  }
  void Commit() override {
    onCommit_();
    inner_->Commit();
  }
  void Close() override { inner_->Close(); }

private:
  std::unique_ptr<platform::IFileWriter> inner_;
  std::size_t budget_;
  std::function<void()> onCommit_;
};

} // namespace

std::unique_ptr<platform::IFileWriter> FaultyFileSystem::CreateForWrite(const std::string& path) {
  written.push_back(path);
  const bool failThisOne = static_cast<int>(written.size()) == failWriteNumber;
  return std::make_unique<FaultyWriter>(real().CreateForWrite(path), failThisOne ? 0 : failWritesAfter,
                                        [this, path] { flushed.push_back(path); });
}

void FaultyFileSystem::Replace(const std::string& source, const std::string& target) {
  ++replaces;
  if (replaces == killAtReplace) throw TKilled{};
  if (failReplace || replaces == failReplaceNumber || replaces == alsoFailReplaceNumber)
    throw EFileError("Unable to replace " + target + ": Access denied.", "Access denied.");
  real().Replace(source, target);
}

std::string FaultyFileSystem::ReadAllAtMost(const std::string& path, std::uint64_t limit) {
  if (!lockedFile.empty() && path == lockedFile)
    throw EFileError("Cannot open file \"" + path + "\". Sharing violation.", "Sharing violation.");
  return real().ReadAllAtMost(path, limit);
}
