#pragma once
// The portable half of frame painting: the skin metrics a frame reads, the
// caption composed off screen with its buttons and hot tracking, the bottom
// border, the side borders with the gaps where the native frame is wider
// than the skin's, and the rectangles whose union is the window region.
// The Win32 frame adds what needs a window: the system icon, the title
// text, the block transfers to the window and the region object.
#include <array>
#include <string>
#include <vector>

#include "skin/SkinCanvas.h"
#include "skin/SkinReader.h"

// Skin metrics recomputed on each skin load.
struct TSkinMetrics {
  TColor FormColor = kNoColor;
  int CaptionRegionMin = -1, CaptionRegionMax = -1, BottomRegionMin = -1, BottomRegionMax = -1;
  int MinFrameWidth = 0, CaptionHeight = 0, LeftBorderWidth = 0, RightBorderWidth = 0, BottomBorderHeight = 0;
  TColor TransparentColor = kNoColor;
  int IconX = -1, IconY = -1, ButtonX = -1, ButtonY = -1, CaptionTextTop = -1;
  TColor TitleFontColor = kNoColor;
  std::array<TColor, 13> MenuColors{}; // SKIN2_MENUBARSTARTCOLOR .. SKIN2_SELECTEDMENUFONTCOLOR
};
TSkinMetrics ComputeSkinMetrics(const TSkinReader& reader);

// Caption elements as HotButton names them.
enum : int { kNoButton = -1, kIconButton = 0, kCloseButton = 1, kMaxButton = 2, kMinButton = 3, kHelpButton = 4 };

struct TCaptionInput {
  int Width = 0;        // W, window width
  int WindowHeight = 0; // H
  int BufferHeight = 0; // max(CaptionHeight, NativeTop)
  bool Iconic = false, Zoomed = false;
  bool BorderVisible = true;
  int CaptionExtra = 0;
  bool HasSystemIcon = false, HasCloseButton = true, HasMaximizeButton = false, HasMinimizeButton = false,
       HasHelpButton = false;
  bool MouseDown = false;
  bool Active = true;
  TPoint Cursor; // cursor in client coordinates with the caption height already added to y
  std::string Title;
};

struct TCaptionLayout {
  int HotButton = kNoButton; // -1 none, 0 icon, 1 close, 2 max/restore, 3 minimize, 4 help
  bool CloseButtonShown = false, MaxButtonShown = false, MaxItemEnabled = false, MinButtonShown = false;
  bool DrawIcon = false;
  TRect IconRect; // where the 16x16 system icon goes (the Win32 side draws it)
  int TextX = 0, TextY = 0;
  std::string Title; // the cut title and where TextOut puts it (the Win32 side draws it)
  TColor TextColor = kNoColor; // the skin's title colour when active, else the inactive caption system colour
};

// The caption up to its title: the buffer filled with the form colour, the
// pieces (three or five sections, the narrow rule, the fill below them) or
// the minimized title, and the caption buttons in their states. The buffer
// must already be Width x BufferHeight and canvas must draw into it; its
// TextWidth measures with the caption font.
TCaptionLayout ComposeCaption(const TSkinReader& reader, const TSkinMetrics& metrics, ISkinCanvas& canvas,
                              TBitmap& buffer, const TCaptionInput& input);

// What a frame with a region shows of a buffer: the buffer over the form
// colour with its transparent pixels keyed out, drawn by maskCanvas into a
// mask buffer of the same size.
void ComposeMasked(ISkinCanvas& maskCanvas, const TBitmap& buffer, TColor formColor, TColor transparent);

// The bottom border into a buffer of width x the height of
// SKIN2_FORMBOTTOMBORDER1: three bitmaps, or one strip of three cells.
void ComposeBottom(const TSkinReader& reader, ISkinCanvas& canvas, TBitmap& buffer, int width);

struct TBorderInput {
  int Width = 0, Height = 0, CaptionHeight = 0, MenuBarHeight = 0, CaptionExtra = 0, NativeSide = 0,
      NativeBottom = 0;
  bool ZoomedMDIChild = false;
  TColor MenuBarColor = kNoColor;
};
// The side borders stretched straight onto the window canvas and the gaps
// filled, in window coordinates.
void PaintSideBordersAndGaps(const TSkinReader& reader, const TSkinMetrics& metrics, ISkinCanvas& windowCanvas,
                             const TBorderInput& input);

// Rectangles, in window coordinates, whose union is the window region: the
// caption part (when caption is given), the body, the bottom part (when
// bottom is given). Region rows below the min row and after the scanned rows
// are whole; each scanned row gives one rectangle per run of pixels that are
// not the transparent colour. A min row of -1 means row 0; a min row not
// below the max row scans to the last row. Empty rectangles are left out.
std::vector<TRect> RegionRects(const TBitmap* caption, int captionMin, int captionMax, const TBitmap* bottom,
                               int bottomMin, int bottomMax, TColor transparent, int width, int height);

// Both edges inclusive, as the caption's hit tests count them.
inline bool PointInRectInclusive(const TRect& r, const TPoint& p) {
  return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}
