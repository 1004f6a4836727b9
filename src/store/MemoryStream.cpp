#include "store/MemoryStream.h"

#include <cstring>

#include "platform/Services.h"

void TMemoryStream::SetPosition(std::size_t position) {
  if (position > data_.size()) throw EStreamError("Stream position out of range");
  position_ = position;
}

void TMemoryStream::ReadBuffer(void* buffer, std::size_t size) {
  if (size > Remaining()) throw EStreamError("Stream read error");
  if (size) std::memcpy(buffer, data_.data() + position_, size);
  position_ += size;
}

std::string TMemoryStream::ReadBytes(std::size_t size) {
  if (size > Remaining()) throw EStreamError("Stream read error");
  std::string bytes = data_.substr(position_, size);
  position_ += size;
  return bytes;
}

void TMemoryStream::WriteBuffer(const void* buffer, std::size_t size) {
  if (position_ + size > data_.size()) data_.resize(position_ + size);
  if (size) std::memcpy(data_.data() + position_, buffer, size);
  position_ += size;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::Assign(std::string bytes) {
  data_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) { Assign(platform::Files().ReadAll(path)); }
