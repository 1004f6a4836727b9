#include "skin/ScrollPainter.h"

#include <algorithm>

#include "skin/SkinDraw.h"
#include "skin/SkinReader.h"

namespace {

bool Usable(const TBitmap* bitmap) { return bitmap && !bitmap->Empty(); }

// Coordinates along the bar (a) and across it (b), so that one routine
// paints both directions.
class TAxis {
public:
  TAxis(const TRect& thumb, bool vertical) : thumb_(thumb), vertical_(vertical) {}
  int Start() const { return vertical_ ? thumb_.Top : thumb_.Left; }
  int End() const { return vertical_ ? thumb_.Bottom : thumb_.Right; }
  // The band from a0 to a1 along the bar, across the whole thumb.
  TRect Band(int a0, int a1) const {
    return vertical_ ? TRect{thumb_.Left, a0, thumb_.Right, a1} : TRect{a0, thumb_.Top, a1, thumb_.Bottom};
  }
  int Length(const TBitmap& bitmap) const { return vertical_ ? bitmap.Height() : bitmap.Width(); }
  // The part of a piece from `from` to its end along the bar.
  TRect SourceFrom(const TBitmap& bitmap, int from) const {
    return vertical_ ? TRect{0, from, bitmap.Width(), bitmap.Height()} : TRect{from, 0, bitmap.Width(), bitmap.Height()};
  }

private:
  TRect thumb_;
  bool vertical_;
};

void Copy(ISkinCanvas& canvas, const TBitmap& bitmap, const TRect& source, const TRect& dest) {
  canvas.DrawBitmap(bitmap, source, dest, kNoColor);
}

void CopyWhole(ISkinCanvas& canvas, const TBitmap& bitmap, const TRect& dest) {
  Copy(canvas, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, dest);
}

} // namespace

void PaintScrollImage(ISkinCanvas& canvas, const TSkinScrollBtnRes& pieces, TColor background, const TRect& barRect,
                      const TRect& thumbRect, bool drawThumb, bool vertical) {
  canvas.FillRect(barRect, background);
  // Only the normal state of each arrow: the bar under the panel does the tracking.
  const TBitmap* first = vertical ? pieces.VertButton(1) : pieces.HorzButton(1);
  const TBitmap* last = vertical ? pieces.VertButton(4) : pieces.HorzButton(4);
  if (vertical) {
    const int side = barRect.Width();
    if (Usable(first)) StretchBitmap(first, canvas, {barRect.Left, barRect.Top, barRect.Right, barRect.Top + side});
    if (Usable(last)) StretchBitmap(last, canvas, {barRect.Left, barRect.Bottom - side, barRect.Right, barRect.Bottom});
  } else {
    const int side = barRect.Height();
    if (Usable(first)) StretchBitmap(first, canvas, {barRect.Left, barRect.Top, barRect.Left + side, barRect.Bottom});
    if (Usable(last)) StretchBitmap(last, canvas, {barRect.Right - side, barRect.Top, barRect.Right, barRect.Bottom});
  }
  if (!drawThumb) return;

  const TAxis axis(thumbRect, vertical);
  const int top = axis.Start(), bottom = axis.End();
  const int d = bottom - top;
  TBitmap* whole = vertical ? pieces.WholeVertThumb() : pieces.WholeHorzThumb();
  if (pieces.WholeThumb() && d > 15 && Usable(whole)) {
    if (vertical)
      DrawVertEnds(whole, canvas, thumbRect, 0);
    else
      DrawThreeCells(whole, canvas, thumbRect, kNoColor, false);
    return;
  }

  auto piece = [&](int index) { return vertical ? pieces.VertThumb(index) : pieces.HorzThumb(index); };
  const TBitmap* startCap = piece(1);
  const TBitmap* startFiller = piece(2);
  const TBitmap* grip = piece(3);
  const TBitmap* endFiller = piece(4);
  const TBitmap* endCap = piece(5);
  const int f = d - 6;
  if (Usable(startCap)) CopyWhole(canvas, *startCap, axis.Band(top, top + axis.Length(*startCap)));
  if (Usable(endCap)) {
    const int length = axis.Length(*endCap);
    // A short thumb shows only the lower half of its end cap.
    Copy(canvas, *endCap, axis.SourceFrom(*endCap, std::max(0, length - d / 2)), axis.Band(bottom - length, bottom));
  }
  if (!Usable(grip)) return;
  const int gripLength = axis.Length(*grip);
  if (gripLength >= f) {
    StretchBitmap(grip, canvas, axis.Band(top + 3, bottom - 3));
    return;
  }
  const int g = (f - gripLength) / 2;
  CopyWhole(canvas, *grip, axis.Band(top + 3 + g, top + 3 + g + gripLength));
  if (Usable(endFiller)) StretchBitmap(endFiller, canvas, axis.Band(top + 3 + g + gripLength, bottom - 3));
  if (Usable(startFiller)) StretchBitmap(startFiller, canvas, axis.Band(top + 3, top + 3 + g));
}
