#include "skin/SkinDraw.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct Op {
  TRect source;
  TRect dest;
  TColor key;
  bool halftone;
};

// Records the transfers the primitives ask for; draws nothing.
class RecordingCanvas final : public ISkinCanvas {
public:
  void DrawBitmap(const TBitmap& bitmap, const TRect& source, const TRect& dest, TColor key, bool halftone) override {
    EXPECT_GE(source.Left, 0);
    EXPECT_GE(source.Top, 0);
    EXPECT_LE(source.Right, bitmap.Width());
    EXPECT_LE(source.Bottom, bitmap.Height());
    ops.push_back({source, dest, key, halftone});
  }
  void FillRect(const TRect& rect, TColor color) override { fills.emplace_back(rect, color); }
  void FrameRect(const TRect& rect, TColor color) override { frames.emplace_back(rect, color); }
  void Line(int x1, int y1, int x2, int y2, TColor color) override { lines.push_back({x1, y1, x2, y2, color}); }
  void Triangle(const TPoint (&points)[3], TColor color) override {
    triangles.push_back({{points[0], points[1], points[2]}, color});
  }
  int TextWidth(const std::string& text) override { return 7 * static_cast<int>(text.size()); }

  std::vector<Op> ops;
  std::vector<std::pair<TRect, TColor>> fills, frames;
  std::vector<std::array<int, 5>> lines;
  std::vector<std::pair<std::array<TPoint, 3>, TColor>> triangles;
};

TBitmap Sized(int w, int h) { return TBitmap(w, h); }

const Op* Find(const std::vector<Op>& ops, const TRect& dest) {
  for (const Op& op : ops)
    if (op.dest == dest) return &op;
  return nullptr;
}

} // namespace

TEST(DrawNinePart, The21By21ButtonInto80By23) {
  TBitmap face = Sized(21, 21);
  RecordingCanvas canvas;
  DrawNinePart(&face, canvas, {0, 0, 80, 23}, 0xFF00FF, true);
  ASSERT_EQ(canvas.ops.size(), 9u);
  // Corners, at natural size, keyed because corners are transparent here.
  EXPECT_EQ(canvas.ops[0].source, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(canvas.ops[0].dest, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(canvas.ops[1].source, (TRect{0, 12, 10, 21})) << "bottom-left: rows 12-20";
  EXPECT_EQ(canvas.ops[1].dest, (TRect{0, 14, 10, 23}));
  EXPECT_EQ(canvas.ops[3].source, (TRect{12, 0, 21, 10})) << "top-right: columns 12-20";
  EXPECT_EQ(canvas.ops[3].dest, (TRect{71, 0, 80, 10}));
  EXPECT_EQ(canvas.ops[4].source, (TRect{12, 12, 21, 21}));
  EXPECT_EQ(canvas.ops[4].dest, (TRect{71, 14, 80, 23}));
  for (const int corner : {0, 1, 3, 4}) EXPECT_EQ(canvas.ops[corner].key, 0xFF00FF);
  // Edges and centre: odd middle strips (row 10 left, row 11 right; columns 10-11).
  EXPECT_EQ(canvas.ops[2].source, (TRect{0, 10, 10, 11}));
  EXPECT_EQ(canvas.ops[2].dest, (TRect{0, 10, 10, 14}));
  EXPECT_EQ(canvas.ops[5].source, (TRect{12, 11, 21, 12}));
  EXPECT_EQ(canvas.ops[5].dest, (TRect{71, 10, 80, 14}));
  EXPECT_EQ(canvas.ops[6].source, (TRect{10, 0, 12, 10}));
  EXPECT_EQ(canvas.ops[6].dest, (TRect{10, 0, 71, 10}));
  EXPECT_EQ(canvas.ops[7].source, (TRect{10, 10, 12, 11}));
  EXPECT_EQ(canvas.ops[7].dest, (TRect{10, 10, 71, 13}));
  EXPECT_EQ(canvas.ops[8].dest.Left, 9) << "the bottom edge starts at (9, 13)";
  EXPECT_EQ(canvas.ops[8].dest.Top, 13);
  EXPECT_EQ(canvas.ops[8].dest, (TRect{9, 13, 71, 23}));
  EXPECT_EQ(canvas.ops[8].source, (TRect{10, 11, 12, 21}));
  for (const int edge : {2, 5, 6, 7, 8}) EXPECT_EQ(canvas.ops[edge].key, 0xFF00FF) << "edges are always keyed";

  RecordingCanvas opaque;
  DrawNinePart(&face, opaque, {0, 0, 80, 23}, 0xFF00FF, false);
  EXPECT_EQ(opaque.ops[0].key, kNoColor) << "corners unmasked";
  EXPECT_EQ(opaque.ops[2].key, 0xFF00FF);
}

TEST(DrawNinePart, EvenSizesLeaveEmptyStripsUndrawn) {
  TBitmap face = Sized(20, 20);
  RecordingCanvas canvas;
  DrawNinePart(&face, canvas, {0, 0, 60, 30}, kNoColor, false);
  // Left edge and centre have an empty source (rows 10 to 10): nothing is drawn for them.
  EXPECT_EQ(Find(canvas.ops, TRect{0, 10, 10, 21}), nullptr);
  EXPECT_NE(Find(canvas.ops, TRect{10, 0, 51, 10}), nullptr) << "the top edge: columns 10 up to 11";
  EXPECT_EQ(Find(canvas.ops, TRect{10, 0, 51, 10})->source, (TRect{10, 0, 11, 10}));
}

TEST(DrawNinePart, SmallDestinations) {
  TBitmap face = Sized(21, 21);
  RecordingCanvas three;
  DrawNinePart(&face, three, {0, 0, 80, 3}, kNoColor, false);
  ASSERT_EQ(three.ops.size(), 1u) << "less than 4 pixels high: the top-left corner only";
  EXPECT_EQ(three.ops[0].dest, (TRect{0, 0, 10, 1}));
  RecordingCanvas none;
  DrawNinePart(&face, none, {0, 0, 80, 0}, kNoColor, false);
  DrawNinePart(nullptr, none, {0, 0, 80, 30}, kNoColor, false);
  EXPECT_TRUE(none.ops.empty());
  // Every size from 0 to 40 in both directions stays inside the bitmap (checked by the canvas).
  for (int w = 0; w < 40; ++w)
    for (int h = 0; h < 40; ++h) {
      RecordingCanvas any;
      DrawNinePart(&face, any, {0, 0, w, h}, kNoColor, true);
      for (const Op& op : any.ops) {
        EXPECT_GE(op.dest.Left, -1);
        EXPECT_LE(op.dest.Right, w);
        EXPECT_LE(op.dest.Bottom, h);
      }
    }
  TBitmap tiny = Sized(1, 1);
  RecordingCanvas small;
  DrawNinePart(&tiny, small, {0, 0, 30, 30}, kNoColor, true);
}

TEST(DrawThreeCells, EndsCopiedMiddleStretchedAlwaysTheBitmapsHeight) {
  TBitmap strip = Sized(30, 8);
  RecordingCanvas canvas;
  DrawThreeCells(&strip, canvas, {5, 2, 105, 50}, 0xFF00FF, true);
  ASSERT_EQ(canvas.ops.size(), 3u);
  EXPECT_EQ(canvas.ops[0].dest, (TRect{5, 2, 15, 10}));
  EXPECT_EQ(canvas.ops[1].source, (TRect{20, 0, 30, 8}));
  EXPECT_EQ(canvas.ops[1].dest, (TRect{95, 2, 105, 10}));
  EXPECT_EQ(canvas.ops[2].source, (TRect{10, 0, 20, 8}));
  EXPECT_EQ(canvas.ops[2].dest, (TRect{15, 2, 95, 10}));
  EXPECT_EQ(canvas.ops[0].key, 0xFF00FF);

  RecordingCanvas narrow;
  DrawThreeCells(&strip, narrow, {5, 2, 11, 50}, 0xFF00FF, false);
  ASSERT_EQ(narrow.ops.size(), 1u) << "narrower than a cell: the left part of cell 1";
  EXPECT_EQ(narrow.ops[0].source, (TRect{0, 0, 6, 8}));
  EXPECT_EQ(narrow.ops[0].dest, (TRect{5, 2, 11, 10}));
  EXPECT_EQ(narrow.ops[0].key, kNoColor);
}

TEST(DrawEnds, VerticalAndHorizontalThreePartStretch) {
  TBitmap bar = Sized(6, 30);
  RecordingCanvas canvas;
  DrawVertEnds(&bar, canvas, {10, 0, 22, 100}, 0);
  ASSERT_EQ(canvas.ops.size(), 3u);
  EXPECT_EQ(canvas.ops[0].source, (TRect{0, 0, 6, 10})) << "end height 0 means a third: 10";
  EXPECT_EQ(canvas.ops[0].dest, (TRect{10, 0, 22, 10}));
  EXPECT_EQ(canvas.ops[1].source, (TRect{0, 20, 6, 30}));
  EXPECT_EQ(canvas.ops[1].dest, (TRect{10, 90, 22, 100}));
  EXPECT_EQ(canvas.ops[2].source, (TRect{0, 10, 6, 20}));
  EXPECT_EQ(canvas.ops[2].dest, (TRect{10, 10, 22, 90}));
  EXPECT_TRUE(canvas.ops[2].halftone);

  TBitmap horz = Sized(12, 5);
  RecordingCanvas h;
  DrawHorzEnds(&horz, h, {0, 0, 50, 5}, 3);
  ASSERT_EQ(h.ops.size(), 3u);
  EXPECT_EQ(h.ops[0].source, (TRect{0, 0, 3, 5}));
  EXPECT_EQ(h.ops[1].dest, (TRect{47, 0, 50, 5}));
  EXPECT_EQ(h.ops[2].source, (TRect{3, 0, 9, 5}));
  EXPECT_EQ(h.ops[2].dest, (TRect{3, 0, 47, 5}));
  RecordingCanvas off;
  DrawHorzEnds(&horz, off, {-1, 0, 50, 5}, 3);
  DrawVertEnds(&bar, off, {-1, 0, 50, 5}, 3);
  EXPECT_TRUE(off.ops.empty()) << "nothing at a negative left";
}

TEST(Marks, ArrowsSeparatorsAndFrames) {
  RecordingCanvas canvas;
  DrawDownArrow(canvas, 10, 20, true);
  ASSERT_EQ(canvas.triangles.size(), 1u);
  EXPECT_EQ(canvas.triangles[0].first, (std::array<TPoint, 3>{{{10, 20}, {16, 20}, {13, 23}}}));
  EXPECT_EQ(canvas.triangles[0].second, 0);
  canvas.triangles.clear();
  DrawUpArrow(canvas, 10, 20, false);
  ASSERT_EQ(canvas.triangles.size(), 2u);
  EXPECT_EQ(canvas.triangles[0].first, (std::array<TPoint, 3>{{{11, 21}, {8, 24}, {14, 24}}}));
  EXPECT_EQ(canvas.triangles[0].second, 0xFFFFFF);
  EXPECT_EQ(canvas.triangles[1].second, 0x808080);
  canvas.triangles.clear();
  DrawLeftArrow(canvas, 0, 5, true);
  DrawRightArrow(canvas, 0, 5, true);
  EXPECT_EQ(canvas.triangles[0].first, (std::array<TPoint, 3>{{{0, 5}, {3, 8}, {3, 2}}}));
  EXPECT_EQ(canvas.triangles[1].first, (std::array<TPoint, 3>{{{0, 5}, {0, 11}, {3, 8}}}));

  DrawMenuSeparator(canvas, {0, 10, 100, 20}, 0x123, true, 20);
  DrawMenuSeparator(canvas, {0, 10, 100, 20}, 0x123, false, 20);
  EXPECT_EQ(canvas.lines[0], (std::array<int, 5>{24, 12, 98, 12, 0x123}));
  EXPECT_EQ(canvas.lines[1], (std::array<int, 5>{2, 12, 76, 12, 0x123}));
}

TEST(Texts, EllipsisAndAmpersands) {
  RecordingCanvas canvas; // 7 pixels a character
  EXPECT_EQ(EllipsisText(canvas, "Catalog", 100), "Catalog");
  EXPECT_EQ(EllipsisText(canvas, "Catalog", 49), "Catalog") << "exactly as wide";
  EXPECT_EQ(EllipsisText(canvas, "Password manager", 40), "Pas...") << "the first candidate at least as wide";
  EXPECT_EQ(EllipsisText(canvas, "Password manager", 30), "Pa...");
  EXPECT_EQ(EllipsisText(canvas, "ab", 10), "a...") << "it may end wider than the limit";
  EXPECT_EQ(EllipsisText(canvas, "W", 3), "W") << "no candidate: the whole text";
  EXPECT_EQ(StripAmpersands("&File && &Edit"), "File  Edit");
}

TEST(BitmapCanvas, KeyedStretchAndClipping) {
  TBitmap source(2, 2);
  source.SetPixel(0, 0, 0xFF00FF);
  source.SetPixel(1, 0, 0x0000FF);
  source.SetPixel(0, 1, 0x00FF00);
  source.SetPixel(1, 1, 0xFF0000);
  TBitmap target(6, 6);
  TBitmapCanvas canvas(target);
  canvas.FillRect({0, 0, 6, 6}, 0x333333);
  canvas.DrawBitmap(source, {0, 0, 2, 2}, {-2, -2, 6, 6}, 0xFF00FF);
  EXPECT_EQ(target.Pixel(0, 0), 0x333333) << "the keyed quarter stays";
  EXPECT_EQ(target.Pixel(5, 0), 0x0000FF);
  EXPECT_EQ(target.Pixel(0, 5), 0x00FF00);
  EXPECT_EQ(target.Pixel(5, 5), 0xFF0000);
  const TPoint tri[3] = {{0, 0}, {4, 0}, {0, 4}};
  canvas.Triangle(tri, 0);
  EXPECT_EQ(target.Pixel(2, 2), 0);
  EXPECT_EQ(target.Pixel(3, 3), 0xFF0000);
}
