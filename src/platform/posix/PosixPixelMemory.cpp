#include <cstdlib>
#include <new>
#include <utility>

#include "platform/PixelMemory.h"

namespace platform {

PixelMemory::PixelMemory(int width, int height) {
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (count == 0) return;
  bits_ = static_cast<std::uint32_t*>(std::calloc(count, sizeof(std::uint32_t)));
  if (!bits_) throw std::bad_alloc();
}

PixelMemory::~PixelMemory() { Release(); }

void PixelMemory::Release() {
  std::free(bits_);
  bits_ = nullptr;
}

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
