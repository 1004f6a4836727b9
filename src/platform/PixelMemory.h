#pragma once
// The pixels of a bitmap: 32 bits each (blue, green, red, unused), rows top
// to bottom. On Windows they live in a DIB section, so GDI can draw them
// and draw into them.
#include <cstdint>

namespace platform {

class PixelMemory {
public:
  PixelMemory() = default;
  PixelMemory(int width, int height); // zero-filled; raises std::bad_alloc when it cannot
  ~PixelMemory();
  PixelMemory(PixelMemory&& other) noexcept;
  PixelMemory& operator=(PixelMemory&& other) noexcept;
  PixelMemory(const PixelMemory&) = delete;
  PixelMemory& operator=(const PixelMemory&) = delete;

  std::uint32_t* Bits() const { return bits_; }
  // The DIB section (HBITMAP) on Windows; 0 elsewhere and when empty.
  void* Handle() const { return handle_; }

private:
  void Release();
  std::uint32_t* bits_ = nullptr;
  void* handle_ = nullptr;
};

} // namespace platform
