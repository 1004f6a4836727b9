#pragma once
// A colour: red in the low byte, then green, then blue; a high byte of
// 0xFF names a system colour by its index; -1 is no colour.
#include <cstdint>

using TColor = std::int32_t;
constexpr TColor kNoColor = -1;
constexpr TColor RGBColor(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index)); }
constexpr bool IsSystemColor(TColor color) { return (static_cast<std::uint32_t>(color) >> 24) == 0xFF; }
