#include <array>

#include "platform/SystemColors.h"

namespace platform {

// Away from Windows the classic Windows scheme stands in for the system's.
TColor SystemColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color;
  static constexpr std::array<TColor, 31> kClassic = {
      RGBColor(212, 208, 200), RGBColor(58, 110, 165),  RGBColor(10, 36, 106),   RGBColor(128, 128, 128),
      RGBColor(212, 208, 200), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
      RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(212, 208, 200), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(10, 36, 106),   RGBColor(255, 255, 255), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(212, 208, 200),
      RGBColor(255, 255, 255), RGBColor(64, 64, 64),    RGBColor(212, 208, 200), RGBColor(0, 0, 0),
      RGBColor(255, 255, 225), RGBColor(181, 181, 181), RGBColor(0, 0, 128),     RGBColor(166, 202, 240),
      RGBColor(192, 192, 192), RGBColor(49, 106, 197),  RGBColor(236, 233, 216)};
  const auto index = static_cast<std::size_t>(color & 0xFF);
  return index < kClassic.size() ? kClassic[index] : RGBColor(0, 0, 0);
}

} // namespace platform
