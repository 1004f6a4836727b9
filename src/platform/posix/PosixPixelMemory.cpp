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

void PixelMemory::Release() {
  std::free(bits_);
  bits_ = nullptr;
}

} // namespace platform
