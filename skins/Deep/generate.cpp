// Draws the bitmaps of the DeepCyan skin into a folder, one BMP file per
// skin value: a deep cyan caption with rounded top corners, calm light
// controls, and caption buttons in their normal, hot and pressed states.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "skin/SkinBitmap.h"

namespace {

constexpr TColor kKey = RGBColor(255, 0, 255); // the skin's transparent colour
constexpr TColor kWhite = RGBColor(255, 255, 255);

int Mix(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

TColor Blend(TColor a, TColor b, double t) {
  return RGBColor(Mix(a & 0xFF, b & 0xFF, t), Mix((a >> 8) & 0xFF, (b >> 8) & 0xFF, t),
                  Mix((a >> 16) & 0xFF, (b >> 16) & 0xFF, t));
}

void Fill(TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x) b.SetPixel(x, y, c);
}

// Rows from top to bottom blending between two colours.
void VerticalGradient(TBitmap& b, int l, int t, int r, int bottom, TColor from, TColor to) {
  for (int y = t; y < bottom; ++y) {
    const double f = bottom - t > 1 ? static_cast<double>(y - t) / (bottom - t - 1) : 0.0;
    Fill(b, l, y, r, y + 1, Blend(from, to, f));
  }
}

void Frame(TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  Fill(b, l, t, r, t + 1, c);
  Fill(b, l, bottom - 1, r, bottom, c);
  Fill(b, l, t, l + 1, bottom, c);
  Fill(b, r - 1, t, r, bottom, c);
}

// Keys out the pixels outside a rounded rectangle of the given corner radius.
void RoundCorners(TBitmap& b, int l, int t, int r, int bottom, int radius, bool top = true, bool low = true) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x) {
      const int dx = x < l + radius ? l + radius - x : (x >= r - radius ? x - (r - radius - 1) : 0);
      const int dy = y < t + radius ? t + radius - y : (y >= bottom - radius ? y - (bottom - radius - 1) : 0);
      if ((dy > 0 && y < t + radius && !top) || (dy > 0 && y >= bottom - radius && !low)) continue;
      if (dx > 0 && dy > 0 && dx * dx + dy * dy > radius * radius + radius / 2) b.SetPixel(x, y, kKey);
    }
}

// A rounded outline: the first inner pixel of each row and column next to the keyed ones.
void Outline(TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x) {
      if (b.Pixel(x, y) == kKey) continue;
      const bool edge = x == l || y == t || x == r - 1 || y == bottom - 1 || b.Pixel(x - 1, y) == kKey ||
                        b.Pixel(x + 1, y) == kKey || b.Pixel(x, y - 1) == kKey || b.Pixel(x, y + 1) == kKey;
      if (edge) b.SetPixel(x, y, c);
    }
}

// --- caption --------------------------------------------------------------------

constexpr int kCaptionHeight = 28;
const TColor kCaptionTop = RGBColor(0, 150, 170);
const TColor kCaptionBottom = RGBColor(0, 92, 110);
const TColor kCaptionEdge = RGBColor(0, 62, 76);

void CaptionPiece(TBitmap& b, bool roundLeft, bool roundRight) {
  b.SetSize(b.Width(), kCaptionHeight);
  VerticalGradient(b, 0, 0, b.Width(), kCaptionHeight, kCaptionTop, kCaptionBottom);
  Fill(b, 0, 1, b.Width(), 2, Blend(kCaptionTop, kWhite, 0.35)); // a soft highlight under the top edge
  Fill(b, 0, 0, b.Width(), 1, kCaptionEdge);
  if (roundLeft) Fill(b, 0, 0, 1, kCaptionHeight, kCaptionEdge);
  if (roundRight) Fill(b, b.Width() - 1, 0, b.Width(), kCaptionHeight, kCaptionEdge);
  const int radius = 6;
  if (roundLeft || roundRight) {
    // Round only the requested top corners, then outline along the curve.
    for (int y = 0; y < radius; ++y)
      for (int x = 0; x < radius; ++x) {
        const int dx = radius - x, dy = radius - y;
        if (dx * dx + dy * dy > radius * radius + radius / 2) {
          if (roundLeft) b.SetPixel(x, y, kKey);
          if (roundRight) b.SetPixel(b.Width() - 1 - x, y, kKey);
        }
      }
    for (int y = 0; y < radius + 1; ++y)
      for (int x = 0; x < b.Width(); ++x) {
        if (b.Pixel(x, y) == kKey) continue;
        if (b.Pixel(x - 1, y) == kKey || b.Pixel(x + 1, y) == kKey || b.Pixel(x, y - 1) == kKey)
          b.SetPixel(x, y, kCaptionEdge);
      }
  }
}

// --- caption buttons: 18 frames ------------------------------------------------------

enum class Glyph { None, Help, Maximize, Restore, Minimize, Close };

void DrawGlyph(TBitmap& b, int ox, int oy, Glyph glyph, TColor c) {
  auto px = [&](int x, int y) { b.SetPixel(ox + x, oy + y, c); };
  switch (glyph) {
  case Glyph::Close:
    for (int i = 0; i < 8; ++i) {
      px(i, i), px(i + 1, i), px(7 - i, i), px(8 - i, i);
    }
    break;
  case Glyph::Maximize:
    for (int i = 0; i < 9; ++i) px(i, 0), px(i, 1), px(i, 8), px(0, i), px(8, i);
    break;
  case Glyph::Restore:
    for (int i = 2; i < 9; ++i) px(i, 0), px(i, 1), px(8, i - 2);
    for (int i = 0; i < 7; ++i) px(i, 2), px(i, 3), px(i, 8), px(0, i + 2), px(6, i + 2);
    break;
  case Glyph::Minimize:
    for (int i = 0; i < 8; ++i) px(i, 7), px(i, 8);
    break;
  case Glyph::Help:
    for (const auto& [x, y] : {std::pair{2, 0}, {3, 0}, {4, 0}, {5, 0}, {1, 1}, {6, 1}, {6, 2}, {5, 3}, {4, 4},
                               {3, 4}, {3, 5}, {3, 7}, {3, 8}, {4, 7}, {4, 8}})
      px(x + 1, y);
    break;
  case Glyph::None:
    break;
  }
}

void TitleButtons(TBitmap& b) {
  constexpr int w = 21, h = 19;
  b.SetSize(18 * w, h);
  Fill(b, 0, 0, b.Width(), h, kKey);
  const Glyph glyphs[6] = {Glyph::None, Glyph::Help, Glyph::Maximize, Glyph::Restore, Glyph::Minimize, Glyph::Close};
  for (int frame = 0; frame < 18; ++frame) {
    const int l = frame * w;
    const int state = frame % 3; // normal, hot, pressed
    const Glyph glyph = glyphs[frame / 3];
    TColor top = RGBColor(0, 132, 152), bottom = RGBColor(0, 100, 118);
    if (glyph == Glyph::Close) {
      top = state == 0 ? RGBColor(0, 132, 152) : state == 1 ? RGBColor(222, 92, 78) : RGBColor(168, 52, 44);
      bottom = state == 0 ? RGBColor(0, 100, 118) : state == 1 ? RGBColor(186, 58, 46) : RGBColor(140, 36, 30);
    } else if (state == 1) {
      top = RGBColor(60, 190, 208), bottom = RGBColor(0, 140, 160);
    } else if (state == 2) {
      top = RGBColor(0, 76, 92), bottom = RGBColor(0, 100, 118);
    }
    VerticalGradient(b, l, 0, l + w, h, top, bottom);
    RoundCorners(b, l, 0, l + w, h, 3);
    Outline(b, l, 0, l + w, h, RGBColor(0, 58, 70));
    const int shift = state == 2 ? 1 : 0;
    DrawGlyph(b, l + 6 + shift, 5 + shift, glyph, kWhite);
  }
}

// --- controls ---------------------------------------------------------------------

void PushButton(TBitmap& b) {
  constexpr int w = 21, h = 21;
  b.SetSize(3 * w, h);
  const TColor tops[3] = {RGBColor(252, 254, 254), RGBColor(230, 248, 251), RGBColor(196, 226, 232)};
  const TColor bottoms[3] = {RGBColor(216, 234, 238), RGBColor(188, 228, 236), RGBColor(224, 240, 243)};
  const TColor edges[3] = {RGBColor(92, 152, 164), RGBColor(0, 122, 142), RGBColor(0, 92, 110)};
  for (int frame = 0; frame < 3; ++frame) {
    const int l = frame * w;
    VerticalGradient(b, l, 0, l + w, h, tops[frame], bottoms[frame]);
    RoundCorners(b, l, 0, l + w, h, 3);
    Outline(b, l, 0, l + w, h, edges[frame]);
  }
}

void CheckBoxes(TBitmap& b) {
  constexpr int s = 13;
  b.SetSize(6 * s, s);
  Fill(b, 0, 0, b.Width(), s, kKey);
  for (int frame = 0; frame < 6; ++frame) {
    const int l = frame * s;
    const bool enabled = frame < 3;
    const int kind = frame % 3; // checked, grayed, unchecked
    VerticalGradient(b, l, 0, l + s, s, enabled ? RGBColor(255, 255, 255) : RGBColor(236, 240, 240),
                     enabled ? RGBColor(222, 238, 242) : RGBColor(224, 228, 228));
    Frame(b, l, 0, l + s, s, enabled ? RGBColor(60, 130, 144) : RGBColor(160, 172, 174));
    const TColor mark = enabled ? RGBColor(0, 96, 114) : RGBColor(150, 160, 162);
    if (kind == 0) {
      for (int i = 0; i < 3; ++i) Fill(b, l + 3 + i, 6 + i, l + 4 + i, 8 + i, mark);
      for (int i = 0; i < 5; ++i) Fill(b, l + 6 + i, 7 - i, l + 7 + i, 9 - i, mark);
    } else if (kind == 1) {
      Fill(b, l + 3, 3, l + s - 3, s - 3, enabled ? RGBColor(120, 180, 190) : RGBColor(190, 196, 196));
    }
  }
}

void RadioButtons(TBitmap& b) {
  constexpr int s = 13;
  b.SetSize(4 * s, s);
  Fill(b, 0, 0, b.Width(), s, kKey);
  for (int frame = 0; frame < 4; ++frame) {
    const int l = frame * s;
    const bool enabled = frame < 2;
    const bool checked = frame % 2 == 0;
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) {
        const double d = std::hypot(x - 6.0, y - 6.0);
        if (d > 6.4) continue;
        TColor c = d > 5.4 ? (enabled ? RGBColor(60, 130, 144) : RGBColor(160, 172, 174))
                           : Blend(kWhite, enabled ? RGBColor(214, 234, 238) : RGBColor(226, 230, 230), y / 12.0);
        if (checked && d < 2.9) c = enabled ? RGBColor(0, 96, 114) : RGBColor(150, 160, 162);
        b.SetPixel(l + x, y, c);
      }
  }
}

void ScrollButtons(TBitmap& b, bool up) {
  constexpr int s = 16;
  b.SetSize(3 * s, s);
  const TColor faces[3] = {RGBColor(214, 234, 238), RGBColor(190, 226, 234), RGBColor(150, 206, 216)};
  for (int frame = 0; frame < 3; ++frame) {
    const int l = frame * s;
    Fill(b, l, 0, l + s, s, kKey); // shows the scroll bar colour behind the face
    Fill(b, l + 1, 1, l + s - 1, s - 1, faces[frame]);
    Frame(b, l + 1, 1, l + s - 1, s - 1, RGBColor(120, 170, 180));
    for (int i = 0; i < 4; ++i) {
      const int y = up ? 6 + i : 9 - i;
      Fill(b, l + 8 - i - 1, y, l + 8 + i, y + 1, RGBColor(0, 86, 102));
    }
  }
}

void ScrollThumb(TBitmap& b) {
  b.SetSize(16, 30);
  Fill(b, 0, 0, 16, 30, kKey);
  for (int y = 1; y < 29; ++y)
    for (int x = 2; x < 14; ++x) b.SetPixel(x, y, Blend(RGBColor(120, 190, 204), RGBColor(70, 150, 166), (x - 2) / 11.0));
  RoundCorners(b, 2, 1, 14, 29, 2);
  Outline(b, 2, 1, 14, 29, RGBColor(0, 96, 114));
  for (int i = 0; i < 3; ++i) Fill(b, 5, 13 + 2 * i, 11, 14 + 2 * i, RGBColor(230, 245, 248)); // grip
}

void Tabs(TBitmap& b) {
  constexpr int w = 30, h = 22;
  b.SetSize(2 * w, h);
  Fill(b, 0, 0, b.Width(), h, kKey);
  for (int frame = 0; frame < 2; ++frame) {
    const int l = frame * w;
    const bool selected = frame == 0;
    const int top = selected ? 0 : 2;
    VerticalGradient(b, l, top, l + w, h, selected ? kWhite : RGBColor(226, 240, 243),
                     selected ? RGBColor(238, 247, 249) : RGBColor(204, 228, 234));
    RoundCorners(b, l, top, l + w, h, 3, true, false);
    Outline(b, l, top, l + w, h + 1, RGBColor(92, 152, 164));
    if (selected) Fill(b, l + 1, top + 1, l + w - 1, top + 2, RGBColor(0, 140, 160));
  }
}

void Progress(TBitmap& b, int part) {
  constexpr int h = 16;
  b.SetSize(part == 1 || part == 4 ? 4 : 8, h);
  const bool filled = part == 2;
  VerticalGradient(b, 0, 0, b.Width(), h, filled ? RGBColor(64, 190, 206) : RGBColor(250, 253, 253),
                   filled ? RGBColor(0, 110, 130) : RGBColor(222, 236, 240));
  Fill(b, 0, 0, b.Width(), 1, RGBColor(92, 152, 164));
  Fill(b, 0, h - 1, b.Width(), h, RGBColor(92, 152, 164));
  if (part == 1) Fill(b, 0, 0, 1, h, RGBColor(92, 152, 164));
  if (part == 4) Fill(b, b.Width() - 1, 0, b.Width(), h, RGBColor(92, 152, 164));
}

void TrackChannel(TBitmap& b) {
  b.SetSize(12, 5);
  Fill(b, 0, 0, 12, 5, kKey); // becomes the form colour when loaded
  Fill(b, 1, 1, 11, 4, RGBColor(200, 224, 230));
  Frame(b, 1, 0, 11, 5, RGBColor(92, 152, 164));
}

void Slider(TBitmap& b, bool vertical) {
  const int w = vertical ? 19 : 11, h = vertical ? 11 : 19;
  b.SetSize(w, h);
  VerticalGradient(b, 0, 0, w, h, RGBColor(250, 253, 253), RGBColor(180, 220, 228));
  RoundCorners(b, 0, 0, w, h, 2);
  Outline(b, 0, 0, w, h, RGBColor(0, 110, 130));
}

void CheckedMenuIcon(TBitmap& b) {
  b.SetSize(16, 16);
  Fill(b, 0, 0, 16, 16, kKey);
  for (int i = 0; i < 3; ++i) Fill(b, 4 + i, 7 + i, 5 + i, 10 + i, RGBColor(0, 86, 102));
  for (int i = 0; i < 5; ++i) Fill(b, 7 + i, 8 - i, 8 + i, 11 - i, RGBColor(0, 86, 102));
}

using Painter = std::function<void(TBitmap&)>;

void Write(const std::filesystem::path& folder, const std::string& name, const Painter& paint) {
  TBitmap bitmap(8, 8);
  paint(bitmap);
  std::ofstream out(folder / (name + ".bmp"), std::ios::binary);
  out << bitmap.ToBmp();
  if (!out) throw std::runtime_error("cannot write " + name);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: generate OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path out(argv[1]);
  std::filesystem::create_directories(out);
  try {
    Write(out, "SKIN2_TITLEBAR1", [](TBitmap& b) { b.SetSize(32, kCaptionHeight); CaptionPiece(b, true, false); });
    Write(out, "SKIN2_TITLEBAR2", [](TBitmap& b) { b.SetSize(8, kCaptionHeight); CaptionPiece(b, false, false); });
    Write(out, "SKIN2_TITLEBAR3", [](TBitmap& b) { b.SetSize(32, kCaptionHeight); CaptionPiece(b, false, true); });
    Write(out, "SKIN2_TITLEBAR4", [](TBitmap& b) { b.SetSize(8, kCaptionHeight); CaptionPiece(b, false, false); });
    Write(out, "SKIN2_TITLEBAR5", [](TBitmap& b) { b.SetSize(32, kCaptionHeight); CaptionPiece(b, false, true); });
    Write(out, "SKIN2_MINIMIZEDTITLE", [](TBitmap& b) {
      b.SetSize(160, 26);
      VerticalGradient(b, 0, 0, 160, 26, kCaptionTop, kCaptionBottom);
      RoundCorners(b, 0, 0, 160, 26, 5);
      Outline(b, 0, 0, 160, 26, kCaptionEdge);
    });
    const TColor border[4] = {kCaptionEdge, RGBColor(0, 120, 140), RGBColor(0, 104, 122), RGBColor(0, 78, 94)};
    Write(out, "SKIN2_FORMLEFTBORDER", [&](TBitmap& b) {
      b.SetSize(4, 8);
      for (int x = 0; x < 4; ++x) Fill(b, x, 0, x + 1, 8, border[x]);
    });
    Write(out, "SKIN2_FORMRIGHTBORDER", [&](TBitmap& b) {
      b.SetSize(4, 8);
      for (int x = 0; x < 4; ++x) Fill(b, 3 - x, 0, 4 - x, 8, border[x]);
    });
    auto bottom = [&](TBitmap& b, bool left, bool right) {
      b.SetSize(8, 4);
      for (int y = 0; y < 4; ++y) Fill(b, 0, 3 - y, 8, 4 - y, border[y]);
      if (left)
        for (int x = 0; x < 4; ++x) Fill(b, x, 0, x + 1, 4 - x, border[x]);
      if (right)
        for (int x = 0; x < 4; ++x) Fill(b, 7 - x, 0, 8 - x, 4 - x, border[x]);
    };
    Write(out, "SKIN2_FORMBOTTOMBORDER1", [&](TBitmap& b) { bottom(b, true, false); });
    Write(out, "SKIN2_FORMBOTTOMBORDER2", [&](TBitmap& b) { bottom(b, false, false); });
    Write(out, "SKIN2_FORMBOTTOMBORDER3", [&](TBitmap& b) { bottom(b, false, true); });
    Write(out, "SKIN2_TITLEBUTTONS", TitleButtons);
    Write(out, "SKIN2_CHECKEDMENUICON", CheckedMenuIcon);
    Write(out, "SKIN2_MENUBAR", [](TBitmap& b) {
      b.SetSize(8, 20);
      VerticalGradient(b, 0, 0, 8, 20, RGBColor(226, 240, 243), RGBColor(200, 226, 232));
    });
    Write(out, "SKIN2_TOOLBAR", [](TBitmap& b) {
      b.SetSize(8, 26);
      VerticalGradient(b, 0, 0, 8, 26, RGBColor(238, 247, 249), RGBColor(208, 231, 236));
    });
    Write(out, "SKIN2_BUTTON", PushButton);
    Write(out, "SKIN2_CHECKBOX", CheckBoxes);
    Write(out, "SKIN2_CHECKBOXLIST", CheckBoxes);
    Write(out, "SKIN2_RADIOBUTTON", RadioButtons);
    for (int part = 1; part <= 4; ++part)
      Write(out, "SKIN2_PROGRESSBAR" + std::to_string(part), [part](TBitmap& b) { Progress(b, part); });
    Write(out, "SKIN2_TRACKBAR", TrackChannel);
    Write(out, "SKIN2_TRACKBARSLIDER", [](TBitmap& b) { Slider(b, false); });
    Write(out, "SKIN2_TRACKBARVSLIDER", [](TBitmap& b) { Slider(b, true); });
    Write(out, "SKIN2_SCROLLBARUPBUTTON", [](TBitmap& b) { ScrollButtons(b, true); });
    Write(out, "SKIN2_SCROLLBARDOWNBUTTON", [](TBitmap& b) { ScrollButtons(b, false); });
    Write(out, "SKIN2_SCROLLBAR", ScrollThumb);
    Write(out, "SKIN2_TABCONTROL", Tabs);
    Write(out, "SKIN2_TABCONTROLLINE", [](TBitmap& b) {
      b.SetSize(6, 2);
      Fill(b, 0, 0, 6, 1, RGBColor(92, 152, 164));
      Fill(b, 0, 1, 6, 2, RGBColor(238, 247, 249));
    });
    Write(out, "SKIN2_SIDECHANNELBAR", [](TBitmap& b) {
      b.SetSize(8, 24);
      VerticalGradient(b, 0, 0, 8, 24, RGBColor(230, 242, 244), RGBColor(204, 228, 234));
    });
    Write(out, "SKIN2_SIDECHANNELTITLE", [](TBitmap& b) {
      b.SetSize(8, 22);
      VerticalGradient(b, 0, 0, 8, 22, kCaptionTop, kCaptionBottom);
    });
    Write(out, "SKIN2_SCROLLBUTTON", [](TBitmap& b) { ScrollButtons(b, true); });
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate: %s\n", error.what());
    return 1;
  }
  return 0;
}
