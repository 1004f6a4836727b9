#pragma once
// A small 5 x 7 pixel font for the preview's texts: titles, menu items and
// control captions, in the colours the skin gives them. Bold doubles each
// column, as a caption font is bold.
#include <string>

#include "skin/SkinBitmap.h"

class TPixelFont {
public:
  explicit TPixelFont(bool bold = false) : bold_(bold) {}
  int Advance() const { return bold_ ? 7 : 6; }
  int Width(const std::string& text) const { return Advance() * static_cast<int>(text.size()); }
  static constexpr int Height = 7;
  // Draws the text with its top-left at (x, y); unknown characters draw as a box.
  void Draw(TBitmap& target, int x, int y, const std::string& text, TColor color) const;

private:
  bool bold_;
};
