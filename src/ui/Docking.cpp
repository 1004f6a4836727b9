#include "ui/Docking.h"

#include <algorithm>

TDockRect TDocking::Moving(TDockRect r, int width, int height, int screenWidth, int screenHeight) {
  r.Left = std::min(std::max(0, r.Left), screenWidth - width);
  r.Top = std::min(std::max(0, r.Top), screenHeight - height);
  r.Right = std::min(std::max(width, r.Right), screenWidth);
  r.Bottom = std::min(std::max(height, r.Bottom), screenHeight);
  edges_ = 0;
  if (r.Left == 0) edges_ |= deLeft;
  if (r.Right == screenWidth) edges_ |= deRight;
  if (r.Top == 0) edges_ |= deTop;
  if (r.Bottom == screenHeight) edges_ |= deBottom;
  return r;
}

void TDocking::Tick(int& left, int& top, int width, int height, int x, int y, int screenWidth,
                    int screenHeight) const {
  // Both bounds inclusive: the line just past the right and bottom border counts as inside.
  const bool inside = left <= x && x <= left + width && top <= y && y <= top + height;
  if (!inside) {
    if (edges_ & deLeft) left = 2 - width;
    if (edges_ & deTop) top = 2 - height;
    if (edges_ & deRight) left = screenWidth - 2;
    if (edges_ & deBottom) top = screenHeight - 2;
  } else {
    if (edges_ & deLeft) left = 0;
    if (edges_ & deTop) top = 0;
    if (edges_ & deRight) left = screenWidth - width;
    if (edges_ & deBottom) top = screenHeight - height;
  }
}

void LimitSideBarSize(int& width, int& height) {
  if (width < 200) width = 240;
  if (height < 410) height = 410;
}
