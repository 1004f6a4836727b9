#pragma once
// System colours as the display shows them: a colour whose high byte is
// 0xFF names a system colour by its index and becomes that colour's RGB
// value; any other colour is returned as it is.
#include "platform/Color.h"

namespace platform {

TColor SystemColorToRGB(TColor color);

} // namespace platform
