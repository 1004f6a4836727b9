// The skinned scroll-bar picture drawn into memory: the arrows, the thumb
// laid out from its five pieces (or from one whole picture) and the bar
// without a thumb.
#include "skin/ScrollPainter.h"

#include <gtest/gtest.h>

#include <memory>

#include "skinpack/SkinWriter.h"
#include "support/SkinArchiveBuilder.h"
#include "support/TempFolder.h"
#include "skin/SkinReader.h"

namespace {

constexpr TColor kBackground = 0x0A0B0C;
constexpr TColor kUp = 0x203040, kUpHot = 0x213141, kDown = 0x506070;

// The scroll-bar bitmap: each pixel carries its own row in its green
// channel, so the row a painted pixel came from can be read back.
std::unique_ptr<TBitmap> RowNumbered(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, RGBColor(x, y, 7));
  return bitmap;
}

// Three arrow cells of 4 x 4, the normal one first.
std::unique_ptr<TBitmap> ArrowStrip(TColor normal, TColor hot) {
  auto strip = std::make_unique<TBitmap>(12, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x) strip->SetPixel(x, y, x < 4 ? normal : hot);
  return strip;
}

int Row(TColor pixel) { return (pixel >> 8) & 0xFF; }

class ScrollPainterTest : public ::testing::Test {
protected:
  void Load(bool wholeThumb) {
    const auto bar = RowNumbered(5, 33);
    // The one skin whose thumb is kept whole is told by this pixel and colour.
    if (wholeThumb) bar->SetPixel(1, 10, 11680001);
    SkinArchiveSpec spec;
    spec.content = EncodeSkinData({IntegerValue("SKIN2_SCROLLBARCOLOR", wholeThumb ? 13355979 : kBackground),
                                   BitmapValue("SKIN2_SCROLLBAR", bar->ToBmp()),
                                   BitmapValue("SKIN2_SCROLLBARUPBUTTON", ArrowStrip(kUp, kUpHot)->ToBmp()),
                                   BitmapValue("SKIN2_SCROLLBARDOWNBUTTON", ArrowStrip(kDown, kUpHot)->ToBmp())});
    const std::string path = folder / (wholeThumb ? "whole.ssk" : "pieces.ssk");
    WriteFileBytes(path, BuildSkinArchive(spec));
    reader = std::make_unique<TSkinReader>(path, "");
    pieces.SetReader(reader.get());
  }
  // A vertical bar 17 x 200 with the thumb from top to bottom.
  std::unique_ptr<TBitmap> Vertical(int top, int bottom, bool drawThumb = true) {
    auto image = std::make_unique<TBitmap>(17, 200);
    TBitmapCanvas canvas(*image);
    PaintScrollImage(canvas, pieces, kBackground, {0, 0, 17, 200}, {0, top, 17, bottom}, drawThumb, true);
    return image;
  }
  TempFolder folder;
  std::unique_ptr<TSkinReader> reader;
  TSkinScrollBtnRes pieces;
};

} // namespace

TEST_F(ScrollPainterTest, ArrowsAreSquaresOfTheNormalStateAndNoThumbWhenNotAsked) {
  Load(false);
  const auto image = Vertical(50, 90, false);
  EXPECT_EQ(image->Pixel(8, 0), kUp);
  EXPECT_EQ(image->Pixel(16, 16), kUp) << "a square as wide as the bar";
  EXPECT_EQ(image->Pixel(8, 17), kBackground);
  EXPECT_EQ(image->Pixel(8, 183), kDown);
  EXPECT_EQ(image->Pixel(8, 199), kDown);
  for (int y = 17; y < 183; ++y) ASSERT_EQ(image->Pixel(8, y), kBackground) << "row " << y;
}

TEST_F(ScrollPainterTest, ALongThumbHasCapsFillersAndTheGripInTheMiddle) {
  Load(false);
  // d = 40, f = 34, grip 9 rows high, g = (34 - 9) / 2 = 12.
  const auto image = Vertical(50, 90);
  EXPECT_EQ(image->Pixel(8, 49), kBackground);
  EXPECT_EQ(Row(image->Pixel(8, 50)), 0) << "start cap";
  EXPECT_EQ(Row(image->Pixel(8, 52)), 2);
  EXPECT_EQ(Row(image->Pixel(8, 53)), 4) << "start filler";
  EXPECT_EQ(Row(image->Pixel(8, 64)), 12);
  EXPECT_EQ(Row(image->Pixel(8, 65)), 13) << "grip at top + 3 + g, its own height";
  EXPECT_EQ(Row(image->Pixel(8, 73)), 21);
  EXPECT_EQ(Row(image->Pixel(8, 74)), 21) << "end filler from below the grip";
  EXPECT_EQ(Row(image->Pixel(8, 86)), 29);
  EXPECT_EQ(Row(image->Pixel(8, 87)), 30) << "end cap";
  EXPECT_EQ(Row(image->Pixel(8, 89)), 32);
  EXPECT_EQ(image->Pixel(8, 90), kBackground);
  EXPECT_EQ(image->Pixel(0, 70) & 0xFF, 0u) << "pieces reach across the whole thumb";
  EXPECT_EQ(image->Pixel(16, 70) & 0xFF, 4u);
}

TEST_F(ScrollPainterTest, AShortThumbStretchesTheGripAndCutsTheEndCap) {
  Load(false);
  // d = 14: f = 8 is less than the grip, which fills the inside.
  const auto image = Vertical(50, 64);
  EXPECT_EQ(Row(image->Pixel(8, 52)), 2);
  EXPECT_EQ(Row(image->Pixel(8, 53)), 13);
  EXPECT_GE(Row(image->Pixel(8, 60)), 20) << "the grip shrunk to the 8 rows";
  EXPECT_EQ(Row(image->Pixel(8, 61)), 30);
  // d = 4: the end cap comes from its rows from 3 - 4 div 2 = 1 on, over the start cap.
  const auto tiny = Vertical(50, 54);
  EXPECT_EQ(Row(tiny->Pixel(8, 50)), 0);
  EXPECT_GE(Row(tiny->Pixel(8, 51)), 31);
  EXPECT_EQ(Row(tiny->Pixel(8, 53)), 32);
  EXPECT_EQ(tiny->Pixel(8, 54), kBackground);
}

TEST_F(ScrollPainterTest, TheWholeThumbOnlyAboveFifteenPixels) {
  Load(true);
  ASSERT_TRUE(pieces.WholeThumb());
  // d = 30: a third of the picture at each end.
  const auto image = Vertical(50, 80);
  EXPECT_EQ(Row(image->Pixel(8, 53)), 3) << "the whole picture, not the start filler";
  EXPECT_EQ(Row(image->Pixel(8, 79)), 32);
  // d = 15: the pieces again, the grip stretched over the inside.
  const auto pieced = Vertical(50, 65);
  EXPECT_EQ(Row(pieced->Pixel(8, 53)), 13);
}

TEST_F(ScrollPainterTest, AHorizontalBarRunsAlongX) {
  Load(false);
  auto image = std::make_unique<TBitmap>(200, 17);
  TBitmapCanvas canvas(*image);
  PaintScrollImage(canvas, pieces, kBackground, {0, 0, 200, 17}, {50, 0, 90, 17}, true, false);
  EXPECT_EQ(image->Pixel(0, 8), kUp) << "left arrow";
  EXPECT_EQ(image->Pixel(16, 16), kUp);
  EXPECT_EQ(image->Pixel(17, 8), kBackground);
  EXPECT_EQ(image->Pixel(199, 8), kDown) << "right arrow";
  EXPECT_EQ(image->Pixel(183, 0), kDown);
  EXPECT_EQ(image->Pixel(49, 8), kBackground);
  EXPECT_EQ(Row(image->Pixel(50, 8)), 0);
  EXPECT_EQ(Row(image->Pixel(53, 8)), 4);
  EXPECT_EQ(Row(image->Pixel(65, 8)), 13);
  EXPECT_EQ(Row(image->Pixel(74, 8)), 21);
  EXPECT_EQ(Row(image->Pixel(89, 8)), 32);
  EXPECT_EQ(image->Pixel(90, 8), kBackground);
}
