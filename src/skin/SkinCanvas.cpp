#include "skin/SkinCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace {

// System colours have no meaning off screen: they draw as button face grey.
std::uint32_t Plain(TColor color) {
  if ((static_cast<std::uint32_t>(color) >> 24) != 0) return TBitmap::ToPixel(RGBColor(0xC0, 0xC0, 0xC0));
  return TBitmap::ToPixel(color);
}

} // namespace

void TBitmapCanvas::DrawBitmap(const TBitmap& bitmap, const TRect& source, const TRect& dest, TColor key, bool) {
  if (source.Empty() || dest.Empty() || source.Left < 0 || source.Top < 0 || source.Right > bitmap.Width() ||
      source.Bottom > bitmap.Height())
    return;
  const bool keyed = key >= 0 && key <= 0xFFFFFF;
  const std::uint32_t keyPixel = TBitmap::ToPixel(key);
  for (int y = std::max(dest.Top, 0); y < std::min(dest.Bottom, target_.Height()); ++y) {
    const int sy = source.Top + static_cast<int>(static_cast<long long>(y - dest.Top) * source.Height() / dest.Height());
    for (int x = std::max(dest.Left, 0); x < std::min(dest.Right, target_.Width()); ++x) {
      const int sx =
          source.Left + static_cast<int>(static_cast<long long>(x - dest.Left) * source.Width() / dest.Width());
      const std::uint32_t pixel = bitmap.ScanLine(sy)[sx] & 0xFFFFFF;
      if (keyed && pixel == keyPixel) continue;
      target_.ScanLine(y)[x] = pixel;
    }
  }
}

void TBitmapCanvas::FillRect(const TRect& rect, TColor color) {
  const std::uint32_t pixel = Plain(color);
  for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, target_.Height()); ++y)
    for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, target_.Width()); ++x) target_.ScanLine(y)[x] = pixel;
}

void TBitmapCanvas::FrameRect(const TRect& rect, TColor color) {
  if (rect.Empty()) return;
  FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1}, color);
  FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, color);
  FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, color);
  FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, color);
}

void TBitmapCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
  const std::uint32_t pixel = Plain(color);
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  while (x1 != x2 || y1 != y2) {
    if (x1 >= 0 && y1 >= 0 && x1 < target_.Width() && y1 < target_.Height()) target_.ScanLine(y1)[x1] = pixel;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x1 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y1 += sy;
    }
  }
}

void TBitmapCanvas::Triangle(const TPoint (&p)[3], TColor color) {
  const std::uint32_t pixel = Plain(color);
  auto side = [](const TPoint& a, const TPoint& b, int x, int y) {
    return static_cast<long long>(b.X - a.X) * (y - a.Y) - static_cast<long long>(b.Y - a.Y) * (x - a.X);
  };
  const int left = std::min({p[0].X, p[1].X, p[2].X}), right = std::max({p[0].X, p[1].X, p[2].X});
  const int top = std::min({p[0].Y, p[1].Y, p[2].Y}), bottom = std::max({p[0].Y, p[1].Y, p[2].Y});
  for (int y = std::max(top, 0); y <= std::min(bottom, target_.Height() - 1); ++y)
    for (int x = std::max(left, 0); x <= std::min(right, target_.Width() - 1); ++x) {
      const long long a = side(p[0], p[1], x, y), b = side(p[1], p[2], x, y), c = side(p[2], p[0], x, y);
      if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) target_.ScanLine(y)[x] = pixel;
    }
}
