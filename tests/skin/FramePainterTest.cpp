#include "skin/FramePainter.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <memory>

#include "support/TestSkins.h"

namespace {

constexpr TColor kKey = RGBColor(255, 0, 255), kBlack = 0;
// Piece colours of the test skins (their pieces.txt).
constexpr TColor kT1 = RGBColor(200, 30, 30), kT2 = RGBColor(30, 200, 30), kT3 = RGBColor(30, 30, 200),
                 kT4 = RGBColor(200, 200, 30), kT5 = RGBColor(30, 200, 200), kFiveForm = RGBColor(240, 230, 220);
constexpr TColor kThinForm = RGBColor(225, 225, 235);
// Frame k of every test skin's caption button strip.
constexpr TColor ButtonFrame(int k) { return RGBColor(13 * k, 100, 50); }

struct Probe {
  int x, y;
  TColor color;
  const char* what = "";
};

void ExpectPixels(const TBitmap& bitmap, std::initializer_list<Probe> probes) {
  for (const Probe& p : probes)
    EXPECT_EQ(bitmap.Pixel(p.x, p.y), p.color) << "at (" << p.x << ", " << p.y << ") " << p.what;
}

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

  TBitmap buffer;

private:
  std::map<std::string, std::unique_ptr<TSkinReader>> readers_;
};

TEST_F(FramePainterTest, MetricsComeFromTheSkinAsTheyAre) {
  const TSkinMetrics five = ComputeSkinMetrics(Skin("FiveSect"));
  EXPECT_EQ((std::vector<int>{five.CaptionHeight, five.LeftBorderWidth, five.RightBorderWidth,
                              five.BottomBorderHeight, five.BottomRegionMin}),
            (std::vector<int>{24, 4, 5, 5, -1}));
  EXPECT_EQ(five.MinFrameWidth, 30 + 12 + 291 / 6 + 35) << "five sections add both pieces and the buttons";
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
  EXPECT_EQ((std::vector<int>{layout.TextX, layout.TextY}), (std::vector<int>{24, 6}));
  EXPECT_EQ(layout.TextColor, RGBColor(255, 255, 250));
  ExpectPixels(buffer, {{0, 0, kKey, "transparent corners stay in the buffer"}, {29, 2, kT1}, {30, 2, kT2},
                        {55, 2, kT2}, {56, 2, kT3}, {67, 2, kT3}, {68, 2, kT4}, {271, 2, kT4}, {272, 2, kT5},
                        {299, 0, kKey}});
  // Piece 4 is 20 rows high: below it, between the borders, the form colour.
  ExpectPixels(buffer, {{100, 19, kT4}, {100, 21, kFiveForm}, {10, 21, kFiveForm},
                        {2, 21, kT1, "left border columns"}, {297, 21, kT5, "right border columns"}});
}

TEST_F(FramePainterTest, ButtonsInTheirFramesAndPlaces) {
  // Buttons 16 x 14 from x = 300 - 5 - 16 = 279 leftwards by 18, at y 4;
  // the system icon at (4, 4) because a y of 3 or less becomes 4.
  TCaptionLayout layout = Caption("FiveSect", Input(300));
  EXPECT_EQ(layout.HotButton, -1);
  EXPECT_TRUE(layout.DrawIcon);
  EXPECT_EQ(layout.IconRect, (TRect{4, 4, 20, 20}));
  EXPECT_TRUE(layout.CloseButtonShown && layout.MaxButtonShown && layout.MaxItemEnabled && layout.MinButtonShown);
  ExpectPixels(buffer, {{287, 10, ButtonFrame(16), "close"}, {269, 10, ButtonFrame(7), "maximize"},
                        {251, 10, ButtonFrame(13), "minimize"}, {279, 4, kT5, "keyed button pixel"},
                        {276, 10, ButtonFrame(7)}, {277, 10, kT5, "gap of two"}, {278, 10, kT5}});

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
    EXPECT_EQ(buffer.Pixel(c.probe.X, c.probe.Y), ButtonFrame(c.frame)) << c.cursor.X << "," << c.cursor.Y;
  }

  TCaptionInput help = Input(300);
  help.HasHelpButton = true;
  help.Cursor = {220, 10};
  EXPECT_EQ(Caption("FiveSect", help).HotButton, 4);
  ExpectPixels(buffer, {{233, 10, ButtonFrame(5), "help comes after minimize"}});
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
  // The title moves, the pieces do not: piece 3 still follows x 24 + 30.
  ExpectPixels(buffer, {{287, 10, ButtonFrame(16)}, {269, 10, kT4, "no maximize button"}, {56, 2, kT3}});
}

TEST_F(FramePainterTest, LongTitleIsCutAndNarrowCaptionStretchesTheFirstPiece) {
  TCaptionInput in = Input(150);
  in.Title = "A very long window title";
  in.Active = false;
  // Limit 150 - 24 - (3*16 + 4 + 15 + 12) - 4 = 43: "A ver..." is the first at least that wide.
  const TCaptionLayout layout = Caption("FiveSect", in);
  EXPECT_EQ(layout.Title, "A ver...");
  EXPECT_EQ(layout.TextColor, SystemColor(3)) << "inactive caption colour";
  ExpectPixels(buffer, {{74, 2, kT3, "piece 3 after the cut title (24 + 48 + 2)"}});

  in = Input(100, 30); // 100 - 79 < 30: too narrow
  in.CaptionExtra = 6;
  Caption("FiveSect", in);
  ExpectPixels(buffer, {{60, 2, kT1, "first piece stretched up to the right piece"},
                        {60, 28, kT1, "over the buffer height; the fill starts below 24 + 6"}, {72, 2, kT5}});
  in.BorderVisible = false;
  Caption("FiveSect", in);
  ExpectPixels(buffer, {{60, 28, kFiveForm, "without borders the fill starts at 24"}, {0, 28, kFiveForm}});
}

TEST_F(FramePainterTest, ThreeSectionsAndOpaqueButtons) {
  const TCaptionLayout layout = Caption("ThinBorder", Input(200, 22));
  EXPECT_EQ(layout.TextX, 23);
  EXPECT_EQ(layout.IconRect, (TRect{3, 5, 19, 21}));
  const TColor t1 = RGBColor(180, 40, 40), t2 = RGBColor(40, 180, 40), t3 = RGBColor(40, 40, 180);
  ExpectPixels(buffer, {{19, 2, t1}, {10, 11, kKey}, {20, 2, t2, "the filler follows the first piece"},
                        {175, 2, t2}, {176, 2, t3}, {182, 5, ButtonFrame(16), "close at 200 - 4 - 14, unkeyed"},
                        {166, 5, ButtonFrame(7)}});
}

TEST_F(FramePainterTest, IconicCaption) {
  TCaptionInput in = Input(160);
  in.Iconic = true;
  in.Cursor = {139 - 5, 8};
  TCaptionLayout layout = Caption("FiveSect", in);
  // bh 14: y = (26 - 14) div 2 = 6, + 2 because 14 + 6 < 22; buttons from 160 - 16 - 5.
  EXPECT_EQ(layout.IconRect, (TRect{4, 8, 20, 24}));
  EXPECT_EQ(layout.HotButton, 1);
  EXPECT_EQ(layout.TextY, 4);
  EXPECT_EQ(layout.Title, "Hello");
  ExpectPixels(buffer, {{100, 2, RGBColor(90, 90, 90), "the minimized title"}, {145, 15, ButtonFrame(17)}});

  in.Cursor = {-100, -100};
  Caption("NoRegion", in); // no minimized-title bitmap
  ExpectPixels(buffer, {{50, 2, RGBColor(236, 240, 226)}, {160 - 18 - 5 + 9, 7 + 8, ButtonFrame(16), "y 5 + 2"}});
}

TEST_F(FramePainterTest, NothingToPaintWithoutASkin) {
  const TSkinReader none("", "");
  const TSkinMetrics metrics = ComputeSkinMetrics(none);
  EXPECT_EQ(metrics.CaptionHeight, 0);
  TBitmap window(80, 60);
  TBitmapCanvas canvas(window);
  TCaptionInput in = Input(80);
  in.Cursor = {60, 8};
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
  const TColor b1 = RGBColor(150, 20, 150), b2 = RGBColor(60, 160, 90), b3 = RGBColor(160, 90, 60);
  ExpectPixels(bottom, {{7, 1, b1}, {8, 1, b2}, {90, 1, b2}, {91, 1, b3}, {0, 4, kKey}, {99, 4, kKey}});

  TBitmap strip(60, 2);
  TBitmapCanvas stripCanvas(strip);
  ComposeBottom(Skin("ThinBorder"), stripCanvas, strip, 60);
  ExpectPixels(strip, {{5, 0, RGBColor(170, 0, 0)}, {6, 1, RGBColor(0, 170, 0)}, {53, 1, RGBColor(0, 170, 0)},
                       {54, 0, RGBColor(0, 0, 170)}});
}

TEST_F(FramePainterTest, ThinBordersLeaveGapsInTheFormColour) {
  const TSkinReader& thin = Skin("ThinBorder");
  const TSkinMetrics metrics = ComputeSkinMetrics(thin);
  const TColor menu = metrics.MenuColors[0], left = RGBColor(100, 50, 0), right = RGBColor(0, 50, 100);
  TBitmap window(200, 150);
  TBitmapCanvas canvas(window);
  PaintSideBordersAndGaps(thin, metrics, canvas, {200, 150, 22, 0, 0, 4, 4, false, menu});
  ExpectPixels(window, {{1, 50, left}, {1, 22, left, "borders start under the caption"}, {1, 21, kBlack},
                        {3, 50, kThinForm}, {4, 50, kBlack, "client untouched"}, {196, 50, kThinForm},
                        {198, 50, right}, {100, 146, kThinForm}, {100, 145, kBlack},
                        {100, 148, kBlack, "the bottom border is the bottom buffer's"}});

  // A menu bar of 20 under a caption 3 pixels shorter than the native one.
  TBitmap menuWindow(200, 150);
  TBitmapCanvas menuCanvas(menuWindow);
  PaintSideBordersAndGaps(thin, metrics, menuCanvas, {200, 150, 22, 20, 3, 4, 4, false, menu});
  ExpectPixels(menuWindow, {{3, 30, menu}, {3, 42, RGBColor(128, 128, 128)}, {3, 43, RGBColor(255, 255, 255)},
                            {3, 44, menu}, {3, 46, kThinForm}, {100, 23, menu, "caption extra band"}, {197, 30, menu}});

  // Borders thicker than the native frame leave no gap.
  const TSkinReader& thick = Skin("NoRegion");
  TBitmap thickWindow(200, 150);
  TBitmapCanvas thickCanvas(thickWindow);
  PaintSideBordersAndGaps(thick, ComputeSkinMetrics(thick), thickCanvas, {200, 150, 26, 0, 0, 4, 4, false, menu});
  ExpectPixels(thickWindow, {{5, 50, RGBColor(140, 70, 20)}, {6, 50, kBlack}, {100, 143, kBlack}});
}

TEST_F(FramePainterTest, MaskedOutputShowsTheFormColourThroughKeyedPixels) {
  Caption("FiveSect", Input(200));
  TBitmap mask(200, 24);
  TBitmapCanvas canvas(mask);
  ComposeMasked(canvas, buffer, RGBColor(1, 2, 3), kKey);
  ExpectPixels(mask, {{0, 0, RGBColor(1, 2, 3)}, {3, 0, kT1}, {199, 0, RGBColor(1, 2, 3)}});
}

TEST_F(FramePainterTest, RegionFollowsRoundedCornersRowByRow) {
  const TSkinReader& five = Skin("FiveSect");
  const TSkinMetrics m = ComputeSkinMetrics(five);
  Caption("FiveSect", Input(200));
  TBitmap bottom(200, 5);
  TBitmapCanvas canvas(bottom);
  ComposeBottom(five, canvas, bottom, 200);
  const std::vector<TRect> expected = {
      {3, 0, 197, 1},  {2, 1, 198, 2},   {1, 2, 199, 3},  {0, 3, 200, 4}, // scanned rows 0-3
      {0, 4, 200, 24},                                                     // the rest of the caption whole
      {0, 24, 200, 75},                                                    // body
      {0, 75, 200, 76}, {0, 76, 200, 77}, {1, 77, 199, 78}, {2, 78, 198, 79}, {3, 79, 197, 80}, // all scanned
  };
  EXPECT_EQ(RegionRects(&buffer, m.CaptionRegionMin, m.CaptionRegionMax, &bottom, m.BottomRegionMin,
                        m.BottomRegionMax, m.TransparentColor, 200, 80),
            expected);
}

TEST_F(FramePainterTest, RegionRowRules) {
  // Rows below the min row whole, the rest scanned when min is not below max.
  const TSkinMetrics m = ComputeSkinMetrics(Skin("ThinBorder"));
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
  EXPECT_EQ(RegionRects(nullptr, 0, 0, &small, 1, 40, kKey, 4, 10),
            (std::vector<TRect>{{0, 0, 4, 7}, {0, 7, 4, 8}, {0, 9, 1, 10}, {2, 9, 4, 10}}));
  EXPECT_EQ(RegionRects(&small, 9, 12, nullptr, 0, 0, kKey, 4, 10), (std::vector<TRect>{{0, 0, 4, 3}, {0, 3, 4, 10}}));
}

} // namespace
