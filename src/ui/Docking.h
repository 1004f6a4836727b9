#pragma once
// How the side-bar docks to the screen edges it is dragged against and
// slides away from them, as arithmetic on rectangles (no windows here).

// Edges of the screen, as flags in one byte.
enum TDockEdge : unsigned char { deLeft = 1, deTop = 2, deRight = 4, deBottom = 8 };

struct TDockRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TDockRect&) const = default;
};

class TDocking {
public:
  // The proposed rectangle of a drag, kept on the screen; the docked edges
  // become those the rectangle touches. width and height are the window's.
  TDockRect Moving(TDockRect proposed, int width, int height, int screenWidth, int screenHeight);
  unsigned char Edges() const { return edges_; }
  // The timer runs exactly while some edge is docked.
  bool TimerWanted() const { return edges_ != 0; }

  // One tick of the slide timer: where the window's top-left corner goes,
  // given where it is and where the pointer is. Outside, the window slides
  // away and leaves a strip of 2 pixels; inside, it slides back in.
  void Tick(int& left, int& top, int width, int height, int pointerX, int pointerY, int screenWidth,
            int screenHeight) const;

private:
  unsigned char edges_ = 0;
};

// The side-bar's size limits: a width below 200 becomes 240, a height
// below 410 becomes 410; any resize is allowed.
void LimitSideBarSize(int& width, int& height);
