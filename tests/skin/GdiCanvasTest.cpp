// The GDI canvas draws what the in-memory canvas draws (Windows only).
#include "skin/win32/GdiCanvas.h"

#include <gtest/gtest.h>

#include "skin/SkinDraw.h"

namespace {

std::unique_ptr<TBitmap> Face() {
  auto face = std::make_unique<TBitmap>(21, 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) face->SetPixel(x, y, RGBColor(10 * x, 10 * y, 90));
  for (int i = 0; i < 3; ++i) face->SetPixel(i, 0, 0xFF00FF);
  return face;
}

} // namespace

TEST(GdiCanvas, NinePartMatchesTheMemoryCanvas) {
  const auto face = Face();
  for (const auto& [w, h] : {std::pair{80, 23}, std::pair{21, 21}, std::pair{33, 60}}) {
    TBitmap expected(w, h), actual(w, h);
    TBitmapCanvas memory(expected);
    memory.FillRect({0, 0, w, h}, 0x445566);
    DrawNinePart(face.get(), memory, {0, 0, w, h}, 0xFF00FF, true);
    {
      TBitmapDc dc(actual);
      TGdiCanvas gdi(dc.Get());
      gdi.FillRect({0, 0, w, h}, 0x445566);
      DrawNinePart(face.get(), gdi, {0, 0, w, h}, 0xFF00FF, true);
      GdiFlush();
    }
    int differing = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) differing += expected.Pixel(x, y) != actual.Pixel(x, y);
    EXPECT_EQ(differing, 0) << w << " x " << h;
  }
}

TEST(GdiCanvas, MarksFillsAndSystemColours) {
  TBitmap target(20, 20);
  {
    TBitmapDc dc(target);
    TGdiCanvas gdi(dc.Get());
    gdi.FillRect({0, 0, 20, 20}, 0xFFFFFF);
    DrawDownArrow(gdi, 5, 5, true);
    gdi.FrameRect({0, 0, 20, 20}, static_cast<TColor>(0xFF000000 | COLOR_WINDOWTEXT));
    GdiFlush();
  }
  EXPECT_EQ(target.Pixel(8, 7), 0) << "inside the arrow";
  EXPECT_EQ(target.Pixel(8, 10), 0xFFFFFF);
  EXPECT_EQ(target.Pixel(0, 0), static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_GT(TGdiCanvas(GetDC(nullptr)).TextWidth("Plimet"), 10);
}
