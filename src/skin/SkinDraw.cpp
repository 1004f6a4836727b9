#include "skin/SkinDraw.h"

#include <algorithm>

namespace {

// Draws the part of source that lies inside the bitmap; an empty source
// draws nothing, so no pixel outside a bitmap is ever read.
void Put(ISkinCanvas& canvas, const TBitmap& bitmap, TRect source, const TRect& dest, TColor key,
         bool halftone = false) {
  source.Left = std::max(source.Left, 0);
  source.Top = std::max(source.Top, 0);
  source.Right = std::min(source.Right, bitmap.Width());
  source.Bottom = std::min(source.Bottom, bitmap.Height());
  if (source.Empty() || dest.Empty()) return;
  canvas.DrawBitmap(bitmap, source, dest, key, halftone);
}

int Positive(int value) { return std::max(value, 0); }

} // namespace

void DrawNinePart(const TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, TColor transparent,
                  bool transparentCorners) {
  if (!bitmap || dest.Top >= dest.Bottom) return;
  const int W = bitmap->Width(), H = bitmap->Height();
  const int DW = dest.Width(), DH = dest.Height();
  const int hw = W / 2, hh = H / 2, dw2 = DW / 2, dh2 = DH / 2;
  const TColor cornerKey = transparentCorners ? transparent : kNoColor;

  // 1. Top-left corner.
  int pw = Positive(std::min(hw, dw2)), ph = Positive(std::min(hh, dh2));
  Put(canvas, *bitmap, {0, 0, pw, ph}, {0, 0, pw, ph}, cornerKey);
  const TRect tl{0, 0, pw, ph};

  // 2. Bottom-left corner.
  const int blAreaTop = DH - dh2 + 1;
  if (blAreaTop >= DH) return;
  pw = Positive(std::min(hw, dw2));
  ph = Positive(std::min(H - (H - hh + 1), DH - blAreaTop));
  Put(canvas, *bitmap, {0, H - ph, pw, H}, {0, DH - ph, pw, DH}, cornerKey);
  const TRect bl{0, DH - ph, pw, DH};

  // 3. Left edge, narrowed to the corner width from the left.
  const TRect leftTarget{0, tl.Bottom, tl.Right, bl.Top};
  if (leftTarget.Top < leftTarget.Bottom)
    Put(canvas, *bitmap, {0, hh, std::min(hw, leftTarget.Width()), H - hh}, leftTarget, transparent);

  // 4. Top-right corner.
  const int rightSourceLeft = W - hw + 1;
  const int rightAreaLeft = DW - dw2 + 1;
  if (0 >= dh2) return;
  pw = Positive(std::min(W - rightSourceLeft, DW - rightAreaLeft));
  ph = Positive(std::min(hh, dh2));
  Put(canvas, *bitmap, {W - pw, 0, W, ph}, {DW - pw, 0, DW, ph}, cornerKey);
  const TRect tr{DW - pw, 0, DW, ph};

  // 5. Bottom-right corner.
  if (blAreaTop >= DH) return;
  pw = Positive(std::min(W - rightSourceLeft, DW - rightAreaLeft));
  ph = Positive(std::min(H - (H - hh + 1), DH - blAreaTop));
  Put(canvas, *bitmap, {W - pw, H - ph, W, H}, {DW - pw, DH - ph, DW, DH}, cornerKey);
  const TRect br{DW - pw, DH - ph, DW, DH};

  // 6. Right edge, narrowed keeping its right columns.
  const TRect rightTarget{tr.Left, tr.Bottom, tr.Right, br.Top};
  {
    TRect source{rightSourceLeft, H - hh, W, hh + 2};
    if (source.Width() > rightTarget.Width()) source.Left = W - rightTarget.Width();
    Put(canvas, *bitmap, source, rightTarget, transparent);
  }

  // 7. Top edge, lowered keeping its top rows.
  const TRect topTarget{tl.Right, 0, tr.Left, tl.Bottom};
  if (topTarget.Height() > 0 && topTarget.Width() > 0)
    Put(canvas, *bitmap, {hw, 0, W - hw + 1, std::min(hh, topTarget.Height())}, topTarget, transparent);

  // 8. Centre.
  Put(canvas, *bitmap, {hw, hh, W - hw + 1, H - hh}, {tl.Right, tl.Bottom, tr.Left, br.Top - 1}, transparent);

  // 9. Bottom edge, lowered keeping its bottom rows.
  const TRect bottomTarget{tl.Right - 1, bl.Top - 1, br.Left, br.Bottom};
  {
    TRect source{hw, H - hh, W - hw + 1, H};
    if (source.Height() > bottomTarget.Height()) source.Top = H - bottomTarget.Height();
    Put(canvas, *bitmap, source, bottomTarget, transparent);
  }
}

void DrawThreeCells(const TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, TColor transparent,
                    bool transparentCells) {
  if (!bitmap) return;
  const int w = bitmap->Width() / 3, h = bitmap->Height();
  if (w <= 0 || h <= 0) return;
  const TColor key = transparentCells ? transparent : kNoColor;
  const int L = dest.Left, T = dest.Top, R = dest.Right;
  if (R - L < w) {
    Put(canvas, *bitmap, {0, 0, R - L, h}, {L, T, R, T + h}, key);
    return;
  }
  Put(canvas, *bitmap, {0, 0, w, h}, {L, T, L + w, T + h}, key);
  Put(canvas, *bitmap, {2 * w, 0, 3 * w, h}, {R - w, T, R, T + h}, key);
  Put(canvas, *bitmap, {w, 0, 2 * w, h}, {L + w, T, R - w, T + h}, key);
}

void DrawVertEnds(TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, int e) {
  if (!bitmap || dest.Left < 0) return;
  bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  const int W = bitmap->Width(), H = bitmap->Height();
  const int L = dest.Left, T = dest.Top, R = dest.Right, B = dest.Bottom;
  if (e == 0) e = H / 3;
  Put(canvas, *bitmap, {0, 0, W, std::min(B - T, e)}, {L, T, R, T + std::min(e, B - T)}, kNoColor);
  Put(canvas, *bitmap, {0, H - e, W, H}, {L, B - e, R, B}, kNoColor);
  Put(canvas, *bitmap, {0, e, W, H - e}, {L, T + e, R, B - e}, kNoColor, true);
}

void DrawHorzEnds(TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, int e) {
  if (!bitmap || dest.Left < 0) return;
  bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  const int W = bitmap->Width(), H = bitmap->Height();
  const int L = dest.Left, T = dest.Top, R = dest.Right, B = dest.Bottom;
  Put(canvas, *bitmap, {0, 0, std::min(R - L, e), H}, {L, T, L + std::min(e, R - L), B}, kNoColor);
  Put(canvas, *bitmap, {W - e, 0, W, H}, {R - e, T, R, B}, kNoColor);
  Put(canvas, *bitmap, {e, 0, W - e, H}, {L + e, T, R - e, B}, kNoColor, true);
}

void StretchBitmap(const TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest) {
  if (!bitmap) return;
  Put(canvas, *bitmap, {0, 0, bitmap->Width(), bitmap->Height()}, dest, kNoColor, true);
}

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kGrey = 0x00808080;

void Arrow(ISkinCanvas& canvas, const TPoint (&p)[3], bool enabled) {
  if (enabled) {
    canvas.Triangle(p, kBlack);
    return;
  }
  const TPoint shadow[3] = {{p[0].X + 1, p[0].Y + 1}, {p[1].X + 1, p[1].Y + 1}, {p[2].X + 1, p[2].Y + 1}};
  canvas.Triangle(shadow, kWhite);
  canvas.Triangle(p, kGrey);
}

} // namespace

void DrawDownArrow(ISkinCanvas& canvas, int x, int y, bool enabled) {
  Arrow(canvas, {{x, y}, {x + 6, y}, {x + 3, y + 3}}, enabled);
}
void DrawUpArrow(ISkinCanvas& canvas, int x, int y, bool enabled) {
  Arrow(canvas, {{x, y}, {x - 3, y + 3}, {x + 3, y + 3}}, enabled);
}
void DrawLeftArrow(ISkinCanvas& canvas, int x, int y, bool enabled) {
  Arrow(canvas, {{x, y}, {x + 3, y + 3}, {x + 3, y - 3}}, enabled);
}
void DrawRightArrow(ISkinCanvas& canvas, int x, int y, bool enabled) {
  Arrow(canvas, {{x, y}, {x, y + 6}, {x + 3, y + 3}}, enabled);
}

void FrameRectColor(ISkinCanvas& canvas, const TRect& rect, TColor color) { canvas.FrameRect(rect, color); }
void FillRectColor(ISkinCanvas& canvas, const TRect& rect, TColor color) { canvas.FillRect(rect, color); }

void DrawMenuSeparator(ISkinCanvas& canvas, const TRect& rect, TColor color, bool leftToRight, int a) {
  const int y = rect.Top + 2;
  if (leftToRight) {
    canvas.Line(rect.Left + a + 4, y, rect.Right - 2, y, color);
  } else {
    canvas.Line(rect.Left + 2, y, rect.Right - a - 4, y, color);
  }
}

std::string EllipsisText(ISkinCanvas& canvas, const std::string& text, int width) {
  if (canvas.TextWidth(text) <= width) return text;
  for (std::size_t n = 1; n < text.size(); ++n) {
    std::string candidate = text.substr(0, n) + "...";
    if (canvas.TextWidth(candidate) >= width) return candidate;
  }
  return text;
}

std::string StripAmpersands(const std::string& text) {
  std::string result;
  for (const char c : text)
    if (c != '&') result += c;
  return result;
}
