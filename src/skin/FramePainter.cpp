#include "skin/FramePainter.h"

#include <algorithm>

#include "skin/SkinDraw.h"

namespace {

using B = TSkinBitmapKey;

// The system colour of an inactive caption (COLOR_INACTIVECAPTION).
constexpr TColor kInactiveCaption = SystemColor(3);

int WidthOf(const TBitmap* bitmap) { return bitmap ? bitmap->Width() : 0; }
int HeightOf(const TBitmap* bitmap) { return bitmap ? bitmap->Height() : 0; }

// A piece at its natural size, unkeyed: its transparent pixels stay in the
// buffer for the region scan and the masked output.
void DrawAt(ISkinCanvas& canvas, const TBitmap* bitmap, int x, int y) {
  if (!bitmap || bitmap->Empty()) return;
  canvas.DrawBitmap(*bitmap, {0, 0, bitmap->Width(), bitmap->Height()},
                    {x, y, x + bitmap->Width(), y + bitmap->Height()}, kNoColor);
}

TRect Moved(const TRect& r, int dx) { return {r.Left + dx, r.Top, r.Right + dx, r.Bottom}; }

// The strip of caption buttons: 18 frames of equal width side by side.
class TCaptionButtons {
public:
  TCaptionButtons(const TSkinReader& reader, const TSkinMetrics& metrics)
      : strip_(reader.GetBitmap(B::SKIN2_TITLEBUTTONS)),
        key_(reader.GetFlag(TSkinFlagKey::SKIN2_TITLEBTNTRANS) ? metrics.TransparentColor : kNoColor) {
    width_ = WidthOf(strip_) / 18;
    height_ = width_ > 0 ? HeightOf(strip_) : 0;
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Present() const { return width_ > 0 && height_ > 0; }
  // Frame k (1-based) at (x, y).
  void Draw(ISkinCanvas& canvas, int frame, int x, int y) const {
    if (!Present()) return;
    canvas.DrawBitmap(*strip_, {(frame - 1) * width_, 0, frame * width_, height_}, {x, y, x + width_, y + height_},
                      key_);
  }

private:
  const TBitmap* strip_;
  TColor key_;
  int width_ = 0, height_ = 0;
};

// Lays the caption pieces left to right; returns the last piece drawn, whose
// height decides the fill below it.
const TBitmap* ComposePieces(const TSkinReader& reader, ISkinCanvas& canvas, const TCaptionInput& input,
                             int& reserved, int textX, std::string& title) {
  const int W = input.Width;
  const bool five = reader.GetFlag(TSkinFlagKey::SKIN2_TITLEFIVESECT);
  const TBitmap* first = reader.GetBitmap(B::SKIN2_TITLEBAR1);
  const TBitmap* second = reader.GetBitmap(B::SKIN2_TITLEBAR2);
  const TBitmap* third = reader.GetBitmap(B::SKIN2_TITLEBAR3);
  const TBitmap* right = five ? reader.GetBitmap(B::SKIN2_TITLEBAR5) : third;
  const int rightWidth = WidthOf(right);

  DrawAt(canvas, right, W - rightWidth, 0);
  DrawAt(canvas, first, 0, 0);
  const int L = WidthOf(first);

  const TBitmap* filler = nullptr;
  int fillerStart = 0;
  if (five) {
    reserved += WidthOf(third);
    title = EllipsisText(canvas, input.Title, W - textX - reserved - 4);
    // The second piece lies behind the title, the third just after it.
    const int e = textX + canvas.TextWidth(title);
    if (second && e + 2 > L) StretchBitmap(second, canvas, {L, 0, e + 2, second->Height()});
    DrawAt(canvas, third, e + 2, 0);
    filler = reader.GetBitmap(B::SKIN2_TITLEBAR4);
    fillerStart = e + 2 + WidthOf(third);
  } else {
    title = EllipsisText(canvas, input.Title, W - textX - reserved - 4);
    filler = second;
    fillerStart = L;
  }
  if (filler && fillerStart < W - rightWidth)
    StretchBitmap(filler, canvas, {fillerStart, 0, W - rightWidth, filler->Height()});

  const TBitmap* last = filler;
  if (W - reserved < L) {
    DrawAt(canvas, right, W - rightWidth, 0);
    if (first) StretchBitmap(first, canvas, {0, 0, W - rightWidth, input.BufferHeight});
    last = first;
  }
  return last;
}

} // namespace

TSkinMetrics ComputeSkinMetrics(const TSkinReader& reader) {
  TSkinMetrics m;
  using C = TSkinColorKey;
  using M = TSkinMetricKey;
  m.FormColor = reader.GetColor(C::SKIN2_FORMCOLOR);
  m.CaptionRegionMin = reader.GetMetric(M::SKIN2_TITLEBARREGIONMINY);
  m.CaptionRegionMax = reader.GetMetric(M::SKIN2_TITLEBARREGIONMAXY);
  m.BottomRegionMin = reader.GetMetric(M::SKIN2_BOTTOMREGIONMINY);
  m.BottomRegionMax = reader.GetMetric(M::SKIN2_BOTTOMREGIONMAXY);

  const int first = WidthOf(reader.GetBitmap(B::SKIN2_TITLEBAR1));
  const int third = WidthOf(reader.GetBitmap(B::SKIN2_TITLEBAR3));
  const int buttons = WidthOf(reader.GetBitmap(B::SKIN2_TITLEBUTTONS)) / 6;
  m.MinFrameWidth = reader.GetFlag(TSkinFlagKey::SKIN2_TITLEFIVESECT) ? first + third + buttons + 35
                                                                       : first + std::max(third, buttons + 35);
  m.CaptionHeight = HeightOf(reader.GetBitmap(B::SKIN2_TITLEBAR1));
  m.LeftBorderWidth = WidthOf(reader.GetBitmap(B::SKIN2_FORMLEFTBORDER));
  m.RightBorderWidth = WidthOf(reader.GetBitmap(B::SKIN2_FORMRIGHTBORDER));
  m.BottomBorderHeight = HeightOf(reader.GetBitmap(B::SKIN2_FORMBOTTOMBORDER1));
  m.TransparentColor = reader.GetColor(C::SKIN2_TRANSCOLOR);
  m.IconX = reader.GetMetric(M::SKIN2_TITLEBARICONPOSX);
  m.IconY = reader.GetMetric(M::SKIN2_TITLEBARICONPOSY);
  m.ButtonX = reader.GetMetric(M::SKIN2_TITLEBARBUTTONPOSX);
  m.ButtonY = reader.GetMetric(M::SKIN2_TITLEBARBUTTONPOSY);
  m.CaptionTextTop = reader.GetMetric(M::SKIN2_TITLEBARCAPTIONTOP);
  m.TitleFontColor = reader.GetColor(C::SKIN2_TITLEFONTCOLOR);
  for (std::size_t i = 0; i < m.MenuColors.size(); ++i)
    m.MenuColors[i] = reader.GetColor(static_cast<C>(static_cast<int>(C::SKIN2_MENUBARSTARTCOLOR) + static_cast<int>(i)));
  return m;
}

TCaptionLayout ComposeCaption(const TSkinReader& reader, const TSkinMetrics& metrics, ISkinCanvas& canvas,
                              TBitmap& /*buffer*/, const TCaptionInput& input) {
  TCaptionLayout out;
  const int W = input.Width;
  const TCaptionButtons buttons(reader, metrics);
  const int bw = buttons.Width(), bh = buttons.Height();
  const int n = int{input.HasCloseButton} + int{input.HasMaximizeButton} + int{input.HasMinimizeButton};
  int reserved = n * bw + (n - 1) * 2 + 15;

  canvas.FillRect({0, 0, W, input.BufferHeight}, metrics.FormColor);
  const int iconX = std::max(metrics.IconX, 0);
  int textX = iconX + 20;
  if (input.Iconic) {
    StretchBitmap(reader.GetBitmap(B::SKIN2_MINIMIZEDTITLE), canvas, {0, 0, W, input.WindowHeight});
    out.Title = EllipsisText(canvas, input.Title, W - textX - reserved - 4);
  } else {
    const TBitmap* last = ComposePieces(reader, canvas, input, reserved, textX, out.Title);
    const int lastHeight = HeightOf(last);
    if (last && lastHeight < input.BufferHeight) {
      if (input.BorderVisible)
        canvas.FillRect({metrics.LeftBorderWidth, lastHeight + input.CaptionExtra, W - metrics.RightBorderWidth,
                         input.BufferHeight},
                        metrics.FormColor);
      else
        canvas.FillRect({0, lastHeight, W, input.BufferHeight}, metrics.FormColor);
    }
  }

  // Icon and buttons share one row on a minimized caption.
  int y = metrics.IconY;
  if (input.Iconic) {
    y = std::max((26 - bh) / 2, 0);
    if (bh + y < 22) y += 2;
  } else if (y <= 3) {
    y = 4;
  }
  if (input.HasSystemIcon) {
    out.DrawIcon = true;
    out.IconRect = {iconX, y, iconX + 16, y + 16};
    if (PointInRectInclusive(Moved(out.IconRect, -metrics.LeftBorderWidth), input.Cursor)) out.HotButton = kIconButton;
  } else {
    textX -= 20;
  }

  // Right to left; the hit rectangles are in client columns.
  int x = input.Iconic ? W - bw - 5 : W - metrics.ButtonX - bw;
  const int buttonY = input.Iconic ? y : metrics.ButtonY;
  auto button = [&](bool shown, int id, int normalFrame) {
    if (!shown) return false;
    int frame = normalFrame;
    const TRect rect{x, buttonY, x + bw, buttonY + bh};
    // Without a button strip nothing is drawn, so nothing can be hit.
    if (buttons.Present() && PointInRectInclusive(Moved(rect, -metrics.RightBorderWidth), input.Cursor)) {
      out.HotButton = id;
      frame = input.MouseDown ? normalFrame + 2 : normalFrame + 1;
    }
    buttons.Draw(canvas, frame, x, buttonY);
    x -= bw + 2;
    return true;
  };
  out.CloseButtonShown = button(input.HasCloseButton, kCloseButton, 16);
  out.MaxButtonShown = out.MaxItemEnabled = button(input.HasMaximizeButton, kMaxButton, input.Zoomed ? 10 : 7);
  out.MinButtonShown = button(input.HasMinimizeButton, kMinButton, 13);
  button(input.HasHelpButton, kHelpButton, 4);

  out.TextX = textX;
  out.TextY = input.Iconic ? 4 : metrics.CaptionTextTop;
  out.TextColor = input.Active ? metrics.TitleFontColor : kInactiveCaption;
  return out;
}

void ComposeMasked(ISkinCanvas& maskCanvas, const TBitmap& buffer, TColor formColor, TColor transparent) {
  if (buffer.Empty()) return;
  const TRect whole{0, 0, buffer.Width(), buffer.Height()};
  maskCanvas.FillRect(whole, formColor);
  maskCanvas.DrawBitmap(buffer, whole, whole, transparent);
}

void ComposeBottom(const TSkinReader& reader, ISkinCanvas& canvas, TBitmap& /*buffer*/, int width) {
  const TBitmap* first = reader.GetBitmap(B::SKIN2_FORMBOTTOMBORDER1);
  const int height = HeightOf(first);
  if (height <= 0 || width <= 0) return;
  // Whatever the pieces leave uncovered shows the form colour, not the last paint.
  canvas.FillRect({0, 0, width, height}, reader.GetColor(TSkinColorKey::SKIN2_FORMCOLOR));
  if (reader.GetFlag(TSkinFlagKey::SKIN2_BOTTOMBORDERTHREESECT)) {
    const TBitmap* middle = reader.GetBitmap(B::SKIN2_FORMBOTTOMBORDER2);
    const TBitmap* last = reader.GetBitmap(B::SKIN2_FORMBOTTOMBORDER3);
    DrawAt(canvas, first, 0, 0);
    DrawAt(canvas, last, width - WidthOf(last), 0);
    if (first->Width() < width - WidthOf(last))
      StretchBitmap(middle, canvas, {first->Width(), 0, width - WidthOf(last), height});
  } else {
    DrawThreeCells(first, canvas, {0, 0, width, height}, reader.GetColor(TSkinColorKey::SKIN2_TRANSCOLOR), false);
  }
}

void PaintSideBordersAndGaps(const TSkinReader& reader, const TSkinMetrics& metrics, ISkinCanvas& canvas,
                             const TBorderInput& in) {
  const int W = in.Width, H = in.Height;
  const int lw = metrics.LeftBorderWidth, rw = metrics.RightBorderWidth, bh = metrics.BottomBorderHeight;
  const int t = in.ZoomedMDIChild ? 0 : in.CaptionHeight;
  if (t < H - bh) {
    StretchBitmap(reader.GetBitmap(B::SKIN2_FORMLEFTBORDER), canvas, {0, t, lw, H - bh});
    StretchBitmap(reader.GetBitmap(B::SKIN2_FORMRIGHTBORDER), canvas, {W - rw, t, W, H - bh});
  }

  const int c = in.CaptionHeight, m = in.MenuBarHeight, extra = in.CaptionExtra;
  const TColor form = metrics.FormColor;
  // Beside the menu bar the gap takes the bar's colour, with a sunken line
  // under it when the bar stands apart from the form.
  auto menuBand = [&](int left, int right) {
    if (m <= 0) return;
    canvas.FillRect({left, c + extra, right, c + m + extra}, in.MenuBarColor);
    if (in.MenuBarColor != form) {
      canvas.Line(left, c + m, right, c + m, 0x808080);
      canvas.Line(left, c + m + 1, right, c + m + 1, 0xFFFFFF);
    }
    if (extra > 0) canvas.FillRect({lw, c, W - rw, c + extra}, in.MenuBarColor);
  };
  if (lw < in.NativeSide) {
    canvas.FillRect({lw, c + m, in.NativeSide, H - bh}, form);
    menuBand(lw, in.NativeSide);
  }
  if (bh < in.NativeBottom) canvas.FillRect({lw, H - in.NativeBottom, W - rw, H - bh}, form);
  if (rw < in.NativeSide) {
    canvas.FillRect({W - in.NativeSide, c + m, W - rw, H - bh}, form);
    menuBand(W - in.NativeSide, W - rw);
  }
}

namespace {

// Rows [0, lo) whole, rows lo..last scanned for runs of opaque pixels, the
// rest whole; all rows moved down by offset.
void AddPart(std::vector<TRect>& rects, const TBitmap& bitmap, int lo, int hi, TColor transparent, int width,
             int offset) {
  const int rows = bitmap.Height();
  if (rows <= 0) return;
  lo = std::clamp(lo, 0, rows); // a missing row (-1) means row 0
  int end = (lo < hi ? hi : rows - 1) + 1;
  end = std::clamp(end, lo, rows);
  if (lo >= 1) rects.push_back({0, offset, width, offset + lo});
  const int columns = std::min(width, bitmap.Width());
  for (int y = lo; y < end; ++y) {
    const std::uint32_t* row = bitmap.ScanLine(y);
    int x = 0;
    while (x < columns) {
      while (x < columns && TBitmap::FromPixel(row[x] & 0xFFFFFF) == transparent) ++x;
      const int start = x;
      while (x < columns && TBitmap::FromPixel(row[x] & 0xFFFFFF) != transparent) ++x;
      if (x > start) rects.push_back({start, offset + y, x, offset + y + 1});
    }
  }
  if (end < rows) rects.push_back({0, offset + end, width, offset + rows});
}

} // namespace

std::vector<TRect> RegionRects(const TBitmap* caption, int captionMin, int captionMax, const TBitmap* bottom,
                               int bottomMin, int bottomMax, TColor transparent, int width, int height) {
  std::vector<TRect> rects;
  if (caption) AddPart(rects, *caption, captionMin, captionMax, transparent, width, 0);
  const TRect body{0, caption ? caption->Height() : 0, width, bottom ? height - bottom->Height() : height};
  if (!body.Empty()) rects.push_back(body);
  if (bottom) AddPart(rects, *bottom, bottomMin, bottomMax, transparent, width, height - bottom->Height());
  return rects;
}
