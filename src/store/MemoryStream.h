#pragma once
// A growable byte buffer with a position, read and written like a file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Errors.h"

class EStreamError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};

class TMemoryStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}

  std::size_t Size() const { return data_.size(); }
  std::size_t Position() const { return position_; }
  void SetPosition(std::size_t position);
  std::size_t Remaining() const { return data_.size() - position_; }

  // Reads exactly size bytes or raises EStreamError.
  void ReadBuffer(void* buffer, std::size_t size);
  std::string ReadBytes(std::size_t size);
  // Writes at the position, overwriting and growing as needed.
  void WriteBuffer(const void* buffer, std::size_t size);
  void Write(std::string_view bytes) { WriteBuffer(bytes.data(), bytes.size()); }

  void Clear();
  const std::string& Bytes() const { return data_; }
  // Replaces the whole content; the position goes to 0.
  void Assign(std::string bytes);

  void LoadFromFile(const std::string& path);

private:
  std::string data_;
  std::size_t position_ = 0;
};
