#include "ui/Docking.h"

#include <gtest/gtest.h>

namespace {
constexpr int SW = 1280, SH = 800, W = 224, H = 458;

TDockRect At(int left, int top) { return {left, top, left + W, top + H}; }
} // namespace

TEST(Docking, ADragStaysOnTheScreenAndDocksAtTheEdgesItTouches) {
  TDocking dock;
  EXPECT_EQ(dock.Moving(At(100, 100), W, H, SW, SH), At(100, 100));
  EXPECT_EQ(dock.Edges(), 0);
  EXPECT_FALSE(dock.TimerWanted());

  EXPECT_EQ(dock.Moving(At(-50, 100), W, H, SW, SH).Left, 0) << "cannot go off the left";
  EXPECT_EQ(dock.Edges(), deLeft);
  EXPECT_TRUE(dock.TimerWanted());

  const TDockRect right = dock.Moving(At(SW - 100, 100), W, H, SW, SH);
  EXPECT_EQ(right.Left, SW - W);
  EXPECT_EQ(right.Right, SW);
  EXPECT_EQ(dock.Edges(), deRight);

  dock.Moving(At(-10, -10), W, H, SW, SH);
  EXPECT_EQ(dock.Edges(), deLeft | deTop) << "a corner docks two edges";
  const TDockRect bottomRight = dock.Moving(At(SW, SH), W, H, SW, SH);
  EXPECT_EQ(bottomRight, At(SW - W, SH - H));
  EXPECT_EQ(dock.Edges(), deRight | deBottom);

  dock.Moving(At(300, 200), W, H, SW, SH);
  EXPECT_EQ(dock.Edges(), 0) << "dragged away from all edges";
}

TEST(Docking, TheTimerSlidesOutLeavingTwoPixelsAndBackInAtEveryEdge) {
  struct Case {
    TDockRect drag;
    int outLeft, outTop, inLeft, inTop;
  };
  const Case cases[] = {
      {At(-5, 100), 2 - W, 100, 0, 100},                  // left
      {At(100, -5), 100, 2 - H, 100, 0},                  // top
      {At(SW, 100), SW - 2, 100, SW - W, 100},            // right
      {At(100, SH), 100, SH - 2, 100, SH - H},            // bottom
      {At(-5, -5), 2 - W, 2 - H, 0, 0},                   // top-left corner
      {At(SW, SH), SW - 2, SH - 2, SW - W, SH - H},       // bottom-right corner
  };
  for (const Case& c : cases) {
    TDocking dock;
    const TDockRect placed = dock.Moving(c.drag, W, H, SW, SH);
    const unsigned char edges = dock.Edges();
    int left = placed.Left, top = placed.Top;
    // The pointer in the screen corner opposite the window.
    dock.Tick(left, top, W, H, placed.Left < SW / 2 ? SW - 1 : 0, placed.Top < SH / 2 ? SH - 1 : 0, SW, SH);
    EXPECT_EQ(left, c.outLeft);
    EXPECT_EQ(top, c.outTop);
    // The pointer touches the visible strip: the window comes back.
    const int stripX = left < 0 ? 1 : (left >= SW - 2 ? SW - 1 : left + 1);
    const int stripY = top < 0 ? 1 : (top >= SH - 2 ? SH - 1 : top + 1);
    dock.Tick(left, top, W, H, stripX, stripY, SW, SH);
    EXPECT_EQ(left, c.inLeft);
    EXPECT_EQ(top, c.inTop);
    EXPECT_EQ(dock.Edges(), edges) << "the timer's moves do not change the docked edges";
  }
}

TEST(Docking, ThePointerJustPastTheBorderCountsAsInside) {
  TDocking dock;
  dock.Moving(At(-5, 100), W, H, SW, SH);
  int left = 0, top = 100;
  dock.Tick(left, top, W, H, W, 100 + H, SW, SH); // the line just past the right and bottom border
  EXPECT_EQ(left, 0);
  dock.Tick(left, top, W, H, W + 1, 100, SW, SH);
  EXPECT_EQ(left, 2 - W);
}

TEST(Docking, SizeLimits) {
  for (const auto& [w, h, ew, eh] : {std::tuple{199, 500, 240, 500}, std::tuple{200, 409, 200, 410},
                                     std::tuple{100, 100, 240, 410}, std::tuple{300, 600, 300, 600}}) {
    int width = w, height = h;
    LimitSideBarSize(width, height);
    EXPECT_EQ(width, ew);
    EXPECT_EQ(height, eh);
  }
}
