#include "platform/PixelMemory.h"

#include <utility>

namespace platform {

PixelMemory::~PixelMemory() { Release(); }

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : bits_(std::exchange(other.bits_, nullptr)), handle_(std::exchange(other.handle_, nullptr)) {}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept {
  if (this != &other) {
    Release();
    bits_ = std::exchange(other.bits_, nullptr);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

} // namespace platform
