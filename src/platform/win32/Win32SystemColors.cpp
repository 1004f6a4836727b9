#include <windows.h>

#include "platform/SystemColors.h"

namespace platform {

TColor SystemColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color;
  return static_cast<TColor>(GetSysColor(static_cast<int>(color & 0xFF)) & 0xFFFFFF);
}

} // namespace platform
