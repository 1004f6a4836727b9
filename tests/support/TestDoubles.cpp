#include "support/TestDoubles.h"

#include "platform/Errors.h"

namespace {

class FaultyWriter final : public platform::IFileWriter {
public:
  FaultyWriter(std::unique_ptr<platform::IFileWriter> inner, std::size_t budget)
      : inner_(std::move(inner)), budget_(budget) {}
  void Write(const void* data, std::size_t size) override {
    if (size > budget_) {
      inner_->Write(data, budget_); // part of it reaches the disk, as on a full disk
      budget_ = 0;
      throw EFileError("There is not enough space on the disk.");
    }
    budget_ -= size;
    inner_->Write(data, size);
  }
  void Commit() override { inner_->Commit(); }

private:
  std::unique_ptr<platform::IFileWriter> inner_;
  std::size_t budget_;
};

} // namespace

std::unique_ptr<platform::IFileWriter> FaultyFileSystem::CreateForWrite(const std::string& path) {
  written.push_back(path);
  return std::make_unique<FaultyWriter>(real().CreateForWrite(path), failWritesAfter);
}

void FaultyFileSystem::Replace(const std::string& source, const std::string& target) {
  if (failReplace) throw EFileError("Unable to replace " + target + ": access denied");
  real().Replace(source, target);
}
