// skinpreview SKIN.ssk OUT.bmp: loads a skin the way the program does and
// lays it out on one picture: every bitmap of the skin, push buttons in
// three sizes and three states drawn with the nine-part rule, and a small
// window composed from the caption, border and control bitmaps.
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "skin/SkinDraw.h"
#include "skin/SkinReader.h"

namespace {

void Cell(const TBitmap* strip, int count, int index, TBitmap& out) { ExtractCell(strip, out, count, index); }

// A window of the given size composed as the frame painter composes it.
void MockWindow(TSkinReader& skin, TSkinScrollBtnRes& scroll, TSkinProgressBarRes& progress, ISkinCanvas& canvas,
                int left, int top, int W, int H) {
  const TColor form = skin.GetColor(TSkinColorKey::SKIN2_FORMCOLOR);
  const TColor key = skin.GetColor(TSkinColorKey::SKIN2_TRANSCOLOR);
  TBitmap window(W, H);
  TBitmapCanvas c(window);
  c.FillRect({0, 0, W, H}, form);
  const TBitmap* t1 = skin.GetBitmap(TSkinBitmapKey::SKIN2_TITLEBAR1);
  const TBitmap* t2 = skin.GetBitmap(TSkinBitmapKey::SKIN2_TITLEBAR2);
  const TBitmap* t3 = skin.GetBitmap(TSkinBitmapKey::SKIN2_TITLEBAR3);
  const int ch = t1->Height();
  c.DrawBitmap(*t3, {0, 0, t3->Width(), ch}, {W - t3->Width(), 0, W, ch}, kNoColor);
  c.DrawBitmap(*t1, {0, 0, t1->Width(), ch}, {0, 0, t1->Width(), ch}, kNoColor);
  c.DrawBitmap(*t2, {0, 0, t2->Width(), ch}, {t1->Width(), 0, W - t3->Width(), ch}, kNoColor);
  // Caption buttons right to left: close, maximize, minimize (hot maximize to show a state).
  const TBitmap* buttons = skin.GetBitmap(TSkinBitmapKey::SKIN2_TITLEBUTTONS);
  const int bw = buttons->Width() / 18;
  int x = W - skin.GetMetric(TSkinMetricKey::SKIN2_TITLEBARBUTTONPOSX) - bw;
  for (const int frame : {16, 8, 13}) {
    TBitmap image;
    Cell(buttons, 18, frame, image);
    c.DrawBitmap(image, {0, 0, image.Width(), image.Height()},
                 {x, skin.GetMetric(TSkinMetricKey::SKIN2_TITLEBARBUTTONPOSY),
                  x + image.Width(), skin.GetMetric(TSkinMetricKey::SKIN2_TITLEBARBUTTONPOSY) + image.Height()},
                 key);
    x -= bw + 2;
  }
  // Borders.
  const TBitmap* lb = skin.GetBitmap(TSkinBitmapKey::SKIN2_FORMLEFTBORDER);
  const TBitmap* rb = skin.GetBitmap(TSkinBitmapKey::SKIN2_FORMRIGHTBORDER);
  const TBitmap* b1 = skin.GetBitmap(TSkinBitmapKey::SKIN2_FORMBOTTOMBORDER1);
  const TBitmap* b2 = skin.GetBitmap(TSkinBitmapKey::SKIN2_FORMBOTTOMBORDER2);
  const TBitmap* b3 = skin.GetBitmap(TSkinBitmapKey::SKIN2_FORMBOTTOMBORDER3);
  const int bh = b1->Height();
  StretchBitmap(lb, c, {0, ch, lb->Width(), H - bh});
  StretchBitmap(rb, c, {W - rb->Width(), ch, W, H - bh});
  c.DrawBitmap(*b1, {0, 0, b1->Width(), bh}, {0, H - bh, b1->Width(), H}, kNoColor);
  c.DrawBitmap(*b3, {0, 0, b3->Width(), bh}, {W - b3->Width(), H - bh, W, H}, kNoColor);
  c.DrawBitmap(*b2, {0, 0, b2->Width(), bh}, {b1->Width(), H - bh, W - b3->Width(), H}, kNoColor);

  // Client: a push button in each state, check boxes, radio buttons, a progress bar, a scroll bar.
  const TBitmap* button = skin.GetBitmap(TSkinBitmapKey::SKIN2_BUTTON);
  for (int state = 1; state <= 3; ++state) {
    TBitmap face;
    Cell(button, 3, state, face);
    TBitmap area(75, 23);
    TBitmapCanvas ac(area);
    ac.FillRect({0, 0, 75, 23}, form);
    DrawNinePart(&face, ac, {0, 0, 75, 23}, key, true);
    c.DrawBitmap(area, {0, 0, 75, 23}, {14 + (state - 1) * 82, ch + 14, 89 + (state - 1) * 82, ch + 37}, kNoColor);
  }
  const TBitmap* check = skin.GetBitmap(TSkinBitmapKey::SKIN2_CHECKBOX);
  const TBitmap* radio = skin.GetBitmap(TSkinBitmapKey::SKIN2_RADIOBUTTON);
  for (int i = 1; i <= 6; ++i) {
    TBitmap mark;
    Cell(check, 6, i, mark);
    c.DrawBitmap(mark, {0, 0, 13, 13}, {14 + (i - 1) * 22, ch + 50, 27 + (i - 1) * 22, ch + 63}, key);
  }
  for (int i = 1; i <= 4; ++i) {
    TBitmap mark;
    Cell(radio, 4, i, mark);
    c.DrawBitmap(mark, {0, 0, 13, 13}, {160 + (i - 1) * 22, ch + 50, 173 + (i - 1) * 22, ch + 63}, key);
  }
  const int py = ch + 76, pl = 14, pr = W - 40;
  const int filledEnd = pl + 4 + (pr - pl - 8) * 6 / 10;
  DrawHorzEnds(progress.Horz(1), c, {pl, py, pl + 4, py + 16}, 1);
  DrawHorzEnds(progress.Horz(2), c, {pl + 4, py, filledEnd, py + 16}, 2);
  DrawHorzEnds(progress.Horz(3), c, {filledEnd, py, pr - 4, py + 16}, 2);
  DrawHorzEnds(progress.Horz(4), c, {pr - 4, py, pr, py + 16}, 1);
  // A vertical scroll bar along the right side of the client area.
  const int sx = W - rb->Width() - 16, sTop = ch, sBottom = H - bh;
  c.FillRect({sx, sTop, sx + 16, sBottom}, skin.GetColor(TSkinColorKey::SKIN2_SCROLLBARCOLOR));
  c.DrawBitmap(*scroll.VertButton(1), {0, 0, 16, 16}, {sx, sTop, sx + 16, sTop + 16}, kNoColor);
  c.DrawBitmap(*scroll.VertButton(4), {0, 0, 16, 16}, {sx, sBottom - 16, sx + 16, sBottom}, kNoColor);
  const int thumbTop = sTop + 30, thumbBottom = sTop + 90;
  c.DrawBitmap(*scroll.VertThumb(1), {0, 0, 16, 3}, {sx, thumbTop, sx + 16, thumbTop + 3}, kNoColor);
  StretchBitmap(scroll.VertThumb(2), c, {sx, thumbTop + 3, sx + 16, thumbTop + 20});
  c.DrawBitmap(*scroll.VertThumb(3), {0, 0, 16, scroll.VertThumb(3)->Height()},
               {sx, thumbTop + 20, sx + 16, thumbTop + 20 + scroll.VertThumb(3)->Height()}, kNoColor);
  StretchBitmap(scroll.VertThumb(4), c, {sx, thumbTop + 20 + scroll.VertThumb(3)->Height(), sx + 16, thumbBottom - 3});
  c.DrawBitmap(*scroll.VertThumb(5), {0, 0, 16, 3}, {sx, thumbBottom - 3, sx + 16, thumbBottom}, kNoColor);

  // The caption region keys out the rounded corners: show them on the page colour.
  canvas.DrawBitmap(window, {0, 0, W, H}, {left, top, left + W, top + H}, key);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skinpreview SKIN.ssk OUT.bmp\n");
    return 2;
  }
  try {
    TSkinReader skin(argv[1], "");
    if (!skin.Ready()) throw ESkinError(std::string("no skin at ") + argv[1]);
    TSkinScrollBtnRes scroll;
    TSkinProgressBarRes progress;
    scroll.SetReader(&skin);
    progress.SetReader(&skin);
    const TColor key = skin.GetColor(TSkinColorKey::SKIN2_TRANSCOLOR);

    TBitmap page(900, 640);
    TBitmapCanvas canvas(page);
    canvas.FillRect({0, 0, 900, 640}, RGBColor(246, 248, 248));

    // 1. Every bitmap at twice its size, in rows.
    int x = 10, y = 10, rowHeight = 0;
    for (const auto& [name, bitmap] : skin.FileReader()->Bitmaps()) {
      const int w = std::min(bitmap->Width() * 2, 880), h = std::min(bitmap->Height() * 2, 120);
      if (x + w > 890) {
        x = 10;
        y += rowHeight + 10;
        rowHeight = 0;
      }
      canvas.FillRect({x - 1, y - 1, x + w + 1, y + h + 1}, RGBColor(200, 200, 200));
      canvas.DrawBitmap(*bitmap, {0, 0, bitmap->Width(), bitmap->Height()}, {x, y, x + w, y + h}, kNoColor);
      x += w + 10;
      rowHeight = std::max(rowHeight, h);
    }
    y += rowHeight + 20;

    // 2. Push buttons in three sizes and three states.
    const TBitmap* button = skin.GetBitmap(TSkinBitmapKey::SKIN2_BUTTON);
    int bx = 10;
    for (const auto& [w, h] : {std::pair{75, 23}, std::pair{140, 34}, std::pair{44, 64}}) {
      for (int state = 1; state <= 3; ++state) {
        TBitmap face;
        ExtractCell(button, face, 3, state);
        TBitmap area(w, h);
        TBitmapCanvas ac(area);
        ac.FillRect({0, 0, w, h}, skin.GetColor(TSkinColorKey::SKIN2_FORMCOLOR));
        DrawNinePart(&face, ac, {0, 0, w, h}, key, true);
        canvas.DrawBitmap(area, {0, 0, w, h}, {bx, y, bx + w, y + h}, kNoColor);
        bx += w + 8;
      }
      bx += 12;
    }
    y += 80;

    // 3. A small window.
    MockWindow(skin, scroll, progress, canvas, 10, y, 320, 200);
    std::ofstream out(argv[2], std::ios::binary);
    out << page.ToBmp();
    return out ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "skinpreview: %s\n", error.what());
    return 1;
  }
}
