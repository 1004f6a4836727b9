#pragma once
// Drawing for the skin generators: anti-aliased shapes (rounded boxes,
// circles, strokes, polygons) sampled 4 x 4 per pixel and blended over what
// the bitmap already holds, and the control pictures every skin draws in
// its own colours. A shape's edge is blended with the colour it is drawn
// on; only pixels the shape does not touch at all are keyed out.
#include <functional>
#include <string>
#include <vector>

#include "skin/SkinBitmap.h"

namespace art {

TColor Mix(TColor from, TColor to, double t); // t = 0 gives from
void Fill(TBitmap& b, int l, int t, int r, int bottom, TColor c);
// Rows from top to bottom blending from one colour to the other.
void VerticalGradient(TBitmap& b, int l, int t, int r, int bottom, TColor from, TColor to);
// The colour of row y of such a gradient over rows [t, bottom).
TColor GradientAt(int y, int t, int bottom, TColor from, TColor to);

struct Point {
  double X, Y;
};
// Whether a point (in pixel units; pixel (x, y) covers [x, x+1) x [y, y+1)) lies in a shape.
using Shape = std::function<bool(double, double)>;
using Shade = std::function<TColor(int, int)>;

Shape RoundRect(double l, double t, double r, double b, double radius, bool topCorners = true,
                bool bottomCorners = true);
Shape Circle(double cx, double cy, double radius);
// Every point within width / 2 of the polyline.
Shape Stroke(std::vector<Point> points, double width);
Shape Polygon(std::vector<Point> points);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);

// The share of a pixel the shape covers, 0 to 1.
double Coverage(const Shape& shape, int x, int y);
// Blends the shape over the pixels of the clip by its coverage.
void Paint(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, const Shade& shade);
void Paint(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, TColor c);
// Keys out the pixels of the clip the shape does not touch.
void KeyOutside(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, TColor key);
// Keys out the pixels of the clip the shape covers less than half: the
// hard outline a window region can follow.
void KeyOutsideHard(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, TColor key);
// A rounded box with a one-pixel border and its inside shaded.
void FramedBox(TBitmap& b, double l, double t, double r, double bottom, double radius, TColor border,
               const Shade& inside, bool topCorners = true, bool bottomCorners = true);

// --- the pictures of the controls ---------------------------------------------------------------

enum class Glyph { None, Help, Maximize, Restore, Minimize, Close };

struct TControlStyle {
  TColor Key = 0xFF00FF;
  TColor Form = 0xFFFFFF; // what marks and buttons stand on
  // Push buttons: normal, hot, pressed.
  TColor ButtonTop[3]{}, ButtonBottom[3]{}, ButtonEdge[3]{};
  TColor ButtonShine = kNoColor; // a line under the top edge of the normal and hot faces
  // Check boxes and radio buttons: the box unchecked and checked, enabled and disabled.
  TColor BoxTop = 0, BoxBottom = 0, BoxEdge = 0;
  TColor CheckedTop = 0, CheckedBottom = 0, CheckedEdge = 0, Mark = 0;
  TColor DisabledTop = 0, DisabledBottom = 0, DisabledEdge = 0, DisabledMark = 0, DisabledCheckedFill = 0;
  // Scroll bars.
  TColor ScrollTrack = 0, Arrow = 0, ArrowHotPlate = 0, ArrowPressedPlate = 0, ArrowPressed = 0;
  TColor ThumbFrom = 0, ThumbTo = 0, ThumbEdge = 0, Grip = 0;
  // Tabs: selected and other face, border, accent row of the selected one.
  TColor TabTop = 0, TabBottom = 0, OtherTop = 0, OtherBottom = 0, TabEdge = 0, TabAccent = 0, TabLine = 0;
  // Progress bar: trough, fill, frame.
  TColor TroughTop = 0, TroughBottom = 0, FillTop = 0, FillBottom = 0, ProgressEdge = 0;
  // Track bar and its sliders.
  TColor Channel = 0, ChannelEdge = 0, SliderTop = 0, SliderBottom = 0, SliderEdge = 0;
  // The checked menu item's mark, the menu's left bar it stands on, and a
  // plate behind the mark (none: the mark alone).
  TColor MenuMark = 0, MenuBack = 0, MenuPlate = kNoColor;
};

void PushButtons(TBitmap& b, const TControlStyle& s);             // 3 cells of 21 x 21
void CheckBoxes(TBitmap& b, const TControlStyle& s);              // 6 cells of 13 x 13
void RadioButtons(TBitmap& b, const TControlStyle& s);            // 4 cells of 13 x 13
void ScrollButtons(TBitmap& b, const TControlStyle& s, bool up);  // 3 cells of 16 x 16
void ScrollThumb(TBitmap& b, const TControlStyle& s);             // 16 x 31
void Tabs(TBitmap& b, const TControlStyle& s);                    // 2 cells of 30 x 22
void TabLine(TBitmap& b, const TControlStyle& s);                 // 6 x 2
void ProgressPiece(TBitmap& b, const TControlStyle& s, int part); // 1-4, 16 high
void TrackChannel(TBitmap& b, const TControlStyle& s);            // 12 x 5
void Slider(TBitmap& b, const TControlStyle& s, bool vertical);   // 11 x 19 or 19 x 11
void CheckedMenuIcon(TBitmap& b, const TControlStyle& s);         // 16 x 16

// The caption buttons: 18 cells of w x h, in threes (normal, hot, pressed)
// for no glyph, help, maximize, restore, minimize and close. background(y)
// is the caption colour behind row y of a cell, for the plates' and glyphs'
// edges; pixels outside the plates are keyed.
struct TCaptionButtonStyle {
  int Width = 21, Height = 19;
  double Radius = 4;
  TColor Key = 0xFF00FF;
  std::function<TColor(int)> Background;
  TColor Ink = 0, HotInk = 0, PressedInk = 0, CloseHotInk = 0xFFFFFF; // the glyph's colour by state
  TColor NormalPlate = kNoColor, NormalEdge = kNoColor; // none: the glyph alone
  TColor HotPlate = 0, HotEdge = 0, PressedPlate = 0, PressedEdge = 0;
  TColor CloseHotPlate = 0, ClosePressedPlate = 0;
};
void CaptionButtons(TBitmap& b, const TCaptionButtonStyle& s);

// Writes folder/name.bmp of a bitmap drawn by paint.
void Write(const std::string& folder, const std::string& name, const std::function<void(TBitmap&)>& paint);
// Writes the control pictures every skin draws alike in its own colours:
// push buttons, check boxes, radio buttons, progress pieces, track bar,
// scroll arrows and thumb, tabs.
void WriteControlPieces(const std::string& folder, const TControlStyle& s);
// The generator's main: draw(folder), with usage and errors reported.
int GeneratorMain(int argc, char** argv, const std::function<void(const std::string&)>& draw);

} // namespace art
