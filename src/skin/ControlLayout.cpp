#include "skin/ControlLayout.h"

#include <algorithm>
#include <cstdint>

int ProgressFillEnd(int start, int inner, int position, int min, int max) {
  if (max <= min || inner <= 0) return start;
  const std::int64_t clamped = std::clamp(position, min, max);
  // Wide enough for any range of the control's 32-bit positions.
  const std::int64_t filled = (clamped - min) * inner / (static_cast<std::int64_t>(max) - min);
  return start + static_cast<int>(filled);
}

TUpDownHalves SplitUpDown(int width, int height, bool horizontal) {
  if (horizontal) {
    const int split = width / 2;
    return {{0, 0, split, height}, {split + 1, 0, width, height}};
  }
  const int split = height / 2;
  return {{0, 0, width, split}, {0, split + 1, width, height}};
}
