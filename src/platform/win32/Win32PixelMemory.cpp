#include <windows.h>

#include <new>
#include <utility>

#include "platform/PixelMemory.h"

namespace platform {

PixelMemory::PixelMemory(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) throw std::bad_alloc();
  handle_ = section;
  bits_ = static_cast<std::uint32_t*>(bits); // a new section is zero-filled
}

void PixelMemory::Release() {
  if (handle_) DeleteObject(static_cast<HBITMAP>(handle_));
  handle_ = nullptr;
  bits_ = nullptr;
}

} // namespace platform
