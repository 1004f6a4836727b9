#include "skin/FramePainter.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "support/TestSkins.h"

namespace {

constexpr TColor kKey = RGBColor(255, 0, 255);
constexpr TColor kBlack = 0;
// Frame k of every test skin's caption button strip.
constexpr TColor ButtonFrame(int k) { return RGBColor(13 * k, 100, 50); }

class FramePainterTest : public ::testing::Test {
protected:
  const TSkinReader& Skin(const std::string& name) {
    auto& reader = readers_[name];
    if (!reader) reader = std::make_unique<TSkinReader>(TestSkinFile(name), "");
    EXPECT_TRUE(reader->Ready()) << TestSkinFile(name);
    return *reader;
  }

  // Composes a caption of the input's size with 6-pixel characters.
  TCaptionLayout Caption(const std::string& skin, const TCaptionInput& input) {
    buffer.SetSize(input.Width, input.BufferHeight);
    TBitmapCanvas canvas(buffer);
    const TSkinReader& reader = Skin(skin);
    return ComposeCaption(reader, ComputeSkinMetrics(reader), canvas, buffer, input);
  }

  static TCaptionInput Input(int width, int height = 24) {
    TCaptionInput in;
    in.Width = width;
    in.WindowHeight = 100;
    in.BufferHeight = height;
    in.HasSystemIcon = in.HasMaximizeButton = in.HasMinimizeButton = true;
    in.Cursor = {-100, -100};
    in.Title = "Hello";
    return in;
  }

  TColor At(int x, int y) const { return buffer.Pixel(x, y); }

  TBitmap buffer;

private:
  std::map<std::string, std::unique_ptr<TSkinReader>> readers_;
};

TEST_F(FramePainterTest, MetricsComeFromTheSkinAsTheyAre) {
  const TSkinMetrics five = ComputeSkinMetrics(Skin("FiveSect"));
  EXPECT_EQ(five.CaptionHeight, 24);
  EXPECT_EQ(five.LeftBorderWidth, 4);
  EXPECT_EQ(five.RightBorderWidth, 5);
  EXPECT_EQ(five.BottomBorderHeight, 5);
  EXPECT_EQ(five.MinFrameWidth, 30 + 12 + 291 / 6 + 35) << "five sections add both pieces and the buttons";
  EXPECT_EQ(five.BottomRegionMin, -1) << "a missing integer";
  EXPECT_EQ(five.TransparentColor, kKey);
  EXPECT_EQ(ComputeSkinMetrics(Skin("ThinBorder")).MinFrameWidth, 20 + 252 / 6 + 35) << "the larger of piece and buttons";

  const TSkinMetrics system = ComputeSkinMetrics(Skin("SystemColors"));
  EXPECT_EQ(system.FormColor, SystemColor(15));
  EXPECT_EQ(system.TitleFontColor, SystemColor(9));
  EXPECT_EQ(system.MenuColors[0], SystemColor(4)) << "menu bar start colour";
  EXPECT_EQ(system.MenuColors[12], SystemColor(14)) << "selected menu font colour";
}

TEST_F(FramePainterTest, FiveSectionsLieAroundTheTitle) {
  const TCaptionLayout layout = Caption("FiveSect", Input(300));
  // Title at 24 (icon x 4 + 20), 5 characters: e = 54; piece 2 behind it up
  // to 56, piece 3 from 56 to 68, piece 4 from there to the right piece at 272.
  EXPECT_EQ(layout.Title, "Hello");
  EXPECT_EQ(layout.TextX, 24);
  EXPECT_EQ(layout.TextY, 6);
  EXPECT_EQ(layout.TextColor, RGBColor(255, 255, 250));
  EXPECT_EQ(At(0, 0), kKey) << "transparent corners stay in the buffer";
  EXPECT_EQ(At(29, 2), RGBColor(200, 30, 30));
  EXPECT_EQ(At(30, 2), RGBColor(30, 200, 30));
  EXPECT_EQ(At(55, 2), RGBColor(30, 200, 30));
  EXPECT_EQ(At(56, 2), RGBColor(30, 30, 200));
  EXPECT_EQ(At(67, 2), RGBColor(30, 30, 200));
  EXPECT_EQ(At(68, 2), RGBColor(200, 200, 30));
  EXPECT_EQ(At(271, 2), RGBColor(200, 200, 30));
  EXPECT_EQ(At(272, 2), RGBColor(30, 200, 200));
  EXPECT_EQ(At(299, 0), kKey);
  // Piece 4 is 20 rows high: below it, between the borders, the form colour.
  EXPECT_EQ(At(100, 19), RGBColor(200, 200, 30));
  EXPECT_EQ(At(100, 21), RGBColor(240, 230, 220));
  EXPECT_EQ(At(10, 21), RGBColor(240, 230, 220));
  EXPECT_EQ(At(2, 21), RGBColor(200, 30, 30)) << "the left border's columns keep the first piece";
  EXPECT_EQ(At(297, 21), RGBColor(30, 200, 200));
}

TEST_F(FramePainterTest, ButtonsInTheirFramesAndPlaces) {
  // Buttons 16 x 14 from x = 300 - 5 - 16 = 279 leftwards by 18, at y 4;
  // the system icon at (4, 4) because a y of 3 or less becomes 4.
  TCaptionLayout layout = Caption("FiveSect", Input(300));
  EXPECT_EQ(layout.HotButton, -1);
  EXPECT_TRUE(layout.DrawIcon);
  EXPECT_EQ(layout.IconRect, (TRect{4, 4, 20, 20}));
  EXPECT_EQ(At(287, 10), ButtonFrame(16)) << "close";
  EXPECT_EQ(At(269, 10), ButtonFrame(7)) << "maximize";
  EXPECT_EQ(At(251, 10), ButtonFrame(13)) << "minimize";
  EXPECT_EQ(At(279, 4), RGBColor(30, 200, 200)) << "keyed button pixels show the caption";
  EXPECT_EQ(At(278, 10), RGBColor(30, 200, 200)) << "two pixels between buttons";
  EXPECT_EQ(At(277, 10), RGBColor(30, 200, 200));
  EXPECT_EQ(At(276, 10), ButtonFrame(7));
  EXPECT_TRUE(layout.CloseButtonShown && layout.MaxButtonShown && layout.MaxItemEnabled && layout.MinButtonShown);

  struct Case {
    TPoint cursor;
    bool down, zoomed;
    int hot;
    TPoint probe;
    int frame;
  };
  // Hit rectangles: buttons moved left by the right border (5), the icon by
  // the left border (4); both edges count.
  const Case cases[] = {
      {{274, 4}, false, false, 1, {287, 10}, 17},  {{290, 18}, true, false, 1, {287, 10}, 18},
      {{256, 10}, false, false, 2, {269, 10}, 8},  {{256, 10}, true, false, 2, {269, 10}, 9},
      {{272, 10}, false, true, 2, {269, 10}, 11},  {{260, 10}, true, true, 2, {269, 10}, 12},
      {{240, 10}, false, false, 3, {251, 10}, 14}, {{254, 18}, true, false, 3, {251, 10}, 15},
      {{273, 10}, false, false, -1, {287, 10}, 16}, {{291, 10}, false, false, -1, {287, 10}, 16},
      {{0, 4}, false, false, 0, {287, 10}, 16},    {{16, 20}, true, false, 0, {251, 10}, 13},
      {{17, 20}, false, false, -1, {251, 10}, 13}, {{280, 19}, false, false, -1, {287, 10}, 16},
  };
  for (const Case& c : cases) {
    TCaptionInput in = Input(300);
    in.Cursor = c.cursor;
    in.MouseDown = c.down;
    in.Zoomed = c.zoomed;
    layout = Caption("FiveSect", in);
    EXPECT_EQ(layout.HotButton, c.hot) << c.cursor.X << "," << c.cursor.Y;
    EXPECT_EQ(At(c.probe.X, c.probe.Y), ButtonFrame(c.frame)) << c.cursor.X << "," << c.cursor.Y;
  }

  TCaptionInput help = Input(300);
  help.HasHelpButton = true;
  help.Cursor = {220, 10};
  layout = Caption("FiveSect", help);
  EXPECT_EQ(layout.HotButton, 4);
  EXPECT_EQ(At(233, 10), ButtonFrame(5)) << "help comes after minimize";
}

TEST_F(FramePainterTest, DialogCaptionShowsOnlyClose) {
  TCaptionInput in = Input(300);
  in.HasSystemIcon = in.HasMaximizeButton = in.HasMinimizeButton = false;
  in.Cursor = {10, 10};
  const TCaptionLayout layout = Caption("FiveSect", in);
  EXPECT_FALSE(layout.DrawIcon);
  EXPECT_EQ(layout.HotButton, -1) << "no icon to hit";
  EXPECT_EQ(layout.TextX, 4) << "the title starts 20 pixels further left";
  EXPECT_TRUE(layout.CloseButtonShown);
  EXPECT_FALSE(layout.MaxButtonShown || layout.MaxItemEnabled || layout.MinButtonShown);
  EXPECT_EQ(At(287, 10), ButtonFrame(16));
  EXPECT_EQ(At(269, 10), RGBColor(200, 200, 30)) << "no maximize button";
  // The title moves, the pieces do not: piece 3 still follows x 24 + 30.
  EXPECT_EQ(At(56, 2), RGBColor(30, 30, 200));
}

TEST_F(FramePainterTest, LongTitleIsCutAndNarrowCaptionStretchesTheFirstPiece) {
  TCaptionInput in = Input(150);
  in.Title = "A very long window title";
  // Limit 150 - 24 - (3*16 + 4 + 15 + 12) - 4 = 43: "A ver..." is the first at least that wide.
  EXPECT_EQ(Caption("FiveSect", in).Title, "A ver...");
  EXPECT_EQ(At(74, 2), RGBColor(30, 30, 200)) << "piece 3 after the cut title (24 + 48 + 2)";
  in.Active = false;
  EXPECT_EQ(Caption("FiveSect", in).TextColor, SystemColor(3)) << "inactive caption colour";

  in = Input(100, 30); // 100 - 79 < 30: too narrow
  in.CaptionExtra = 6;
  Caption("FiveSect", in);
  EXPECT_EQ(At(60, 2), RGBColor(200, 30, 30)) << "first piece stretched up to the right piece";
  EXPECT_EQ(At(60, 28), RGBColor(200, 30, 30)) << "over the buffer height; the fill starts below 24 + 6";
  EXPECT_EQ(At(72, 2), RGBColor(30, 200, 200));
  in.BorderVisible = false;
  Caption("FiveSect", in);
  EXPECT_EQ(At(60, 28), RGBColor(240, 230, 220)) << "without borders the fill starts at 24, full width";
  EXPECT_EQ(At(0, 28), RGBColor(240, 230, 220));
}

TEST_F(FramePainterTest, ThreeSectionsAndOpaqueButtons) {
  const TCaptionLayout layout = Caption("ThinBorder", Input(200, 22));
  EXPECT_EQ(layout.TextX, 23);
  EXPECT_EQ(layout.IconRect, (TRect{3, 5, 19, 21}));
  EXPECT_EQ(At(19, 2), RGBColor(180, 40, 40));
  EXPECT_EQ(At(10, 11), kKey);
  EXPECT_EQ(At(20, 2), RGBColor(40, 180, 40)) << "the filler starts after the first piece";
  EXPECT_EQ(At(175, 2), RGBColor(40, 180, 40));
  EXPECT_EQ(At(176, 2), RGBColor(40, 40, 180));
  EXPECT_EQ(At(182, 5), ButtonFrame(16)) << "close at 200 - 4 - 14, untouched by the key";
  EXPECT_EQ(At(166, 5), ButtonFrame(7));
}

TEST_F(FramePainterTest, IconicCaption) {
  TCaptionInput in = Input(160);
  in.Iconic = true;
  in.Cursor = {139 - 5, 8};
  TCaptionLayout layout = Caption("FiveSect", in);
  EXPECT_EQ(At(100, 2), RGBColor(90, 90, 90)) << "the minimized title";
  // bh 14: y = (26 - 14) div 2 = 6, + 2 because 14 + 6 < 22; buttons from 160 - 16 - 5.
  EXPECT_EQ(layout.IconRect, (TRect{4, 8, 20, 24}));
  EXPECT_EQ(layout.HotButton, 1);
  EXPECT_EQ(At(145, 15), ButtonFrame(17));
  EXPECT_EQ(layout.TextY, 4);
  EXPECT_EQ(layout.Title, "Hello");

  in.Cursor = {-100, -100};
  layout = Caption("NoRegion", in); // no minimized-title bitmap
  EXPECT_EQ(At(50, 2), RGBColor(236, 240, 226));
  EXPECT_EQ(At(160 - 18 - 5 + 9, 7 + 8), ButtonFrame(16)) << "bh 16: y = 5 + 2";
}

TEST_F(FramePainterTest, NothingToPaintWithoutASkin) {
  const TSkinReader none("", "");
  const TSkinMetrics metrics = ComputeSkinMetrics(none);
  EXPECT_EQ(metrics.CaptionHeight, 0);
  TBitmap window(80, 60);
  TBitmapCanvas canvas(window);
  TCaptionInput in = Input(80);
  in.Cursor = {60, 8};
  in.Iconic = false;
  const TCaptionLayout layout = ComposeCaption(none, metrics, canvas, window, in);
  EXPECT_EQ(layout.HotButton, -1) << "no button strip, nothing to hit";
  EXPECT_TRUE(layout.CloseButtonShown) << "the close command stays available";
  in.Iconic = true;
  ComposeCaption(none, metrics, canvas, window, in);
  ComposeBottom(none, canvas, window, 80);
  PaintSideBordersAndGaps(none, metrics, canvas, {80, 60, 0, 0, 0, 4, 4, false, kNoColor});
}

TEST_F(FramePainterTest, BottomOfThreeBitmapsOrThreeCells) {
  TBitmap bottom(100, 5);
  TBitmapCanvas canvas(bottom);
  ComposeBottom(Skin("FiveSect"), canvas, bottom, 100);
  EXPECT_EQ(bottom.Pixel(7, 1), RGBColor(150, 20, 150));
  EXPECT_EQ(bottom.Pixel(8, 1), RGBColor(60, 160, 90));
  EXPECT_EQ(bottom.Pixel(90, 1), RGBColor(60, 160, 90));
  EXPECT_EQ(bottom.Pixel(91, 1), RGBColor(160, 90, 60));
  EXPECT_EQ(bottom.Pixel(0, 4), kKey);
  EXPECT_EQ(bottom.Pixel(99, 4), kKey);

  TBitmap strip(60, 2);
  TBitmapCanvas stripCanvas(strip);
  ComposeBottom(Skin("ThinBorder"), stripCanvas, strip, 60);
  EXPECT_EQ(strip.Pixel(5, 0), RGBColor(170, 0, 0));
  EXPECT_EQ(strip.Pixel(6, 1), RGBColor(0, 170, 0));
  EXPECT_EQ(strip.Pixel(53, 1), RGBColor(0, 170, 0));
  EXPECT_EQ(strip.Pixel(54, 0), RGBColor(0, 0, 170));
}

TEST_F(FramePainterTest, ThinBordersLeaveGapsInTheFormColour) {
  const TSkinReader& thin = Skin("ThinBorder");
  const TSkinMetrics metrics = ComputeSkinMetrics(thin);
  const TColor form = RGBColor(225, 225, 235), menu = metrics.MenuColors[0];
  TBitmap window(200, 150);
  TBitmapCanvas canvas(window);
  PaintSideBordersAndGaps(thin, metrics, canvas, {200, 150, 22, 0, 0, 4, 4, false, menu});
  EXPECT_EQ(window.Pixel(1, 50), RGBColor(100, 50, 0));
  EXPECT_EQ(window.Pixel(1, 22), RGBColor(100, 50, 0)) << "borders start under the caption";
  EXPECT_EQ(window.Pixel(1, 21), kBlack);
  EXPECT_EQ(window.Pixel(3, 50), form);
  EXPECT_EQ(window.Pixel(4, 50), kBlack) << "the client area is not touched";
  EXPECT_EQ(window.Pixel(196, 50), form);
  EXPECT_EQ(window.Pixel(198, 50), RGBColor(0, 50, 100));
  EXPECT_EQ(window.Pixel(100, 146), form);
  EXPECT_EQ(window.Pixel(100, 145), kBlack);
  EXPECT_EQ(window.Pixel(100, 148), kBlack) << "the bottom border is the bottom buffer's";

  // A menu bar of 20 under a caption 3 pixels shorter than the native one.
  TBitmap menuWindow(200, 150);
  TBitmapCanvas menuCanvas(menuWindow);
  PaintSideBordersAndGaps(thin, metrics, menuCanvas, {200, 150, 22, 20, 3, 4, 4, false, menu});
  EXPECT_EQ(menuWindow.Pixel(3, 30), menu);
  EXPECT_EQ(menuWindow.Pixel(3, 42), RGBColor(128, 128, 128));
  EXPECT_EQ(menuWindow.Pixel(3, 43), RGBColor(255, 255, 255));
  EXPECT_EQ(menuWindow.Pixel(3, 44), menu);
  EXPECT_EQ(menuWindow.Pixel(3, 46), form);
  EXPECT_EQ(menuWindow.Pixel(100, 23), menu) << "the caption extra band";
  EXPECT_EQ(menuWindow.Pixel(197, 30), menu);

  // Borders thicker than the native frame leave no gap.
  const TSkinReader& thick = Skin("NoRegion");
  TBitmap thickWindow(200, 150);
  TBitmapCanvas thickCanvas(thickWindow);
  PaintSideBordersAndGaps(thick, ComputeSkinMetrics(thick), thickCanvas, {200, 150, 26, 0, 0, 4, 4, false, menu});
  EXPECT_EQ(thickWindow.Pixel(5, 50), RGBColor(140, 70, 20));
  EXPECT_EQ(thickWindow.Pixel(6, 50), kBlack);
  EXPECT_EQ(thickWindow.Pixel(100, 143), kBlack);
}

TEST_F(FramePainterTest, RegionFollowsRoundedCornersRowByRow) {
  const TSkinReader& five = Skin("FiveSect");
  const TSkinMetrics m = ComputeSkinMetrics(five);
  Caption("FiveSect", Input(200));
  TBitmap bottom(200, 5);
  TBitmapCanvas canvas(bottom);
  ComposeBottom(five, canvas, bottom, 200);
  const std::vector<TRect> rects = RegionRects(&buffer, m.CaptionRegionMin, m.CaptionRegionMax, &bottom,
                                               m.BottomRegionMin, m.BottomRegionMax, m.TransparentColor, 200, 80);
  const std::vector<TRect> expected = {
      {3, 0, 197, 1},  {2, 1, 198, 2},   {1, 2, 199, 3},  {0, 3, 200, 4}, // scanned rows 0-3
      {0, 4, 200, 24},                                                     // the rest of the caption whole
      {0, 24, 200, 75},                                                    // body
      {0, 75, 200, 76}, {0, 76, 200, 77}, {1, 77, 199, 78}, {2, 78, 198, 79}, {3, 79, 197, 80}, // all scanned
  };
  EXPECT_EQ(rects, expected);
}

TEST_F(FramePainterTest, MaskedOutputShowsTheFormColourThroughKeyedPixels) {
  Caption("FiveSect", Input(200));
  TBitmap mask(200, 24);
  TBitmapCanvas canvas(mask);
  ComposeMasked(canvas, buffer, RGBColor(1, 2, 3), kKey);
  EXPECT_EQ(mask.Pixel(0, 0), RGBColor(1, 2, 3));
  EXPECT_EQ(mask.Pixel(3, 0), RGBColor(200, 30, 30));
  EXPECT_EQ(mask.Pixel(199, 0), RGBColor(1, 2, 3));
}

TEST_F(FramePainterTest, RegionRowRules) {
  // Rows below the min row whole, the rest scanned when min is not below max.
  const TSkinReader& thin = Skin("ThinBorder");
  const TSkinMetrics m = ComputeSkinMetrics(thin);
  Caption("ThinBorder", Input(200, 22));
  std::vector<TRect> rects = RegionRects(&buffer, m.CaptionRegionMin, m.CaptionRegionMax, nullptr, 0, 0,
                                         m.TransparentColor, 200, 100);
  ASSERT_EQ(rects.size(), 23u);
  EXPECT_EQ(rects[0], (TRect{0, 0, 200, 2}));
  EXPECT_EQ(rects[1], (TRect{0, 2, 200, 3}));
  EXPECT_EQ(rects[10], (TRect{0, 11, 10, 12})) << "the key pixel splits row 11";
  EXPECT_EQ(rects[11], (TRect{11, 11, 200, 12}));
  EXPECT_EQ(rects.back(), (TRect{0, 22, 200, 100}));

  // Without region flags the caller passes no bitmaps: one rectangle.
  EXPECT_FALSE(Skin("NoRegion").GetFlag(TSkinFlagKey::SKIN2_TITLEBARNEEDREGION));
  EXPECT_EQ(RegionRects(nullptr, -1, -1, nullptr, -1, -1, kKey, 120, 90), (std::vector<TRect>{{0, 0, 120, 90}}));

  // Rows out of the bitmap are never read; a fully keyed row gives nothing.
  TBitmap small(4, 3);
  small.SetPixel(1, 2, kKey);
  for (int x = 0; x < 4; ++x) small.SetPixel(x, 1, kKey);
  rects = RegionRects(nullptr, 0, 0, &small, 1, 40, kKey, 4, 10);
  EXPECT_EQ(rects, (std::vector<TRect>{{0, 0, 4, 7}, {0, 7, 4, 8}, {0, 9, 1, 10}, {2, 9, 4, 10}}));
  rects = RegionRects(&small, 9, 12, nullptr, 0, 0, kKey, 4, 10);
  EXPECT_EQ(rects, (std::vector<TRect>{{0, 0, 4, 3}, {0, 3, 4, 10}}));
}

} // namespace
