#include "framework/win32/Gdi.h"

#include <atomic>

namespace gdi {
namespace {
std::atomic<int> live{0};
} // namespace

int LiveObjects() { return live; }

void detail::Counted(int delta) { live += delta; }

bool TRegion::GiveToWindow(HWND window, bool redraw) {
  if (!SetWindowRgn(window, Get(), redraw)) return false;
  Release();
  return true;
}

TMemoryDC::TMemoryDC(HDC like, int width, int height)
    : dc_(CreateCompatibleDC(like)), bitmap_(CreateCompatibleBitmap(like, width, height)), width_(width),
      height_(height) {
  if (dc_ && bitmap_) oldBitmap_ = SelectObject(dc_, bitmap_.Get());
}

TMemoryDC::~TMemoryDC() {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_); // the bitmap is freed only once out of the DC
  if (dc_) DeleteDC(dc_);
}

bool TMemoryDC::CopyTo(HDC target, int x, int y) const {
  return dc_ && bitmap_ && BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

} // namespace gdi
