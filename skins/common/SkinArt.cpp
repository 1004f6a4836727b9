#include "SkinArt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace art {

namespace {

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }
int MixChannel(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

constexpr int kSamples = 4; // per axis

double SegmentDistance(Point p, Point a, Point b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

} // namespace

TColor Mix(TColor from, TColor to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return RGBColor(MixChannel(Channel(from, 0), Channel(to, 0), t), MixChannel(Channel(from, 8), Channel(to, 8), t),
                  MixChannel(Channel(from, 16), Channel(to, 16), t));
}

void Fill(TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x) b.SetPixel(x, y, c);
}

TColor GradientAt(int y, int t, int bottom, TColor from, TColor to) {
  const double f = bottom - t > 1 ? static_cast<double>(y - t) / (bottom - t - 1) : 0.0;
  return Mix(from, to, f);
}

void VerticalGradient(TBitmap& b, int l, int t, int r, int bottom, TColor from, TColor to) {
  for (int y = t; y < bottom; ++y) Fill(b, l, y, r, y + 1, GradientAt(y, t, bottom, from, to));
}

Shape RoundRect(double l, double t, double r, double b, double radius, bool topCorners, bool bottomCorners) {
  return [=](double x, double y) {
    if (x < l || x >= r || y < t || y >= b) return false;
    const bool top = y < t + radius, low = y >= b - radius;
    if ((top && !topCorners) || (low && !bottomCorners) || (!top && !low)) return true;
    const double dx = std::max({l + radius - x, x - (r - radius), 0.0});
    const double dy = top ? t + radius - y : y - (b - radius);
    return dx * dx + dy * dy <= radius * radius;
  };
}

Shape Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape Stroke(std::vector<Point> points, double width) {
  return [points = std::move(points), half = width / 2](double x, double y) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
      if (SegmentDistance({x, y}, points[i], points[i + 1]) <= half) return true;
    return points.size() == 1 && std::hypot(x - points[0].X, y - points[0].Y) <= half;
  };
}

Shape Polygon(std::vector<Point> points) {
  return [points = std::move(points)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point& a = points[i];
      const Point& b = points[j];
      if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
    }
    return inside;
  };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Minus(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

double Coverage(const Shape& shape, int x, int y) {
  int hits = 0;
  for (int i = 0; i < kSamples; ++i)
    for (int j = 0; j < kSamples; ++j)
      hits += shape(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples) ? 1 : 0;
  return static_cast<double>(hits) / (kSamples * kSamples);
}

void Paint(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, const Shade& shade) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x) {
      const double c = Coverage(shape, x, y);
      if (c > 0) b.SetPixel(x, y, Mix(b.Pixel(x, y), shade(x, y), c));
    }
}

void Paint(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, TColor c) {
  Paint(b, l, t, r, bottom, shape, [c](int, int) { return c; });
}

void KeyOutside(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, TColor key) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x)
      if (Coverage(shape, x, y) == 0) b.SetPixel(x, y, key);
}

void KeyOutsideHard(TBitmap& b, int l, int t, int r, int bottom, const Shape& shape, TColor key) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x)
      if (Coverage(shape, x, y) < 0.5) b.SetPixel(x, y, key);
}

void FramedBox(TBitmap& b, double l, double t, double r, double bottom, double radius, TColor border,
               const Shade& inside, bool topCorners, bool bottomCorners) {
  const int cl = static_cast<int>(std::floor(l)), ct = static_cast<int>(std::floor(t));
  const int cr = static_cast<int>(std::ceil(r)), cb = static_cast<int>(std::ceil(bottom));
  Paint(b, cl, ct, cr, cb, RoundRect(l, t, r, bottom, radius, topCorners, bottomCorners), border);
  Paint(b, cl, ct, cr, cb,
        RoundRect(l + 1, t + 1, r - 1, bottom - 1, std::max(radius - 1, 0.0), topCorners, bottomCorners), inside);
}

// --- controls ---------------------------------------------------------------------------------

namespace {

Shade Gradient(int t, int bottom, TColor from, TColor to) {
  return [=](int, int y) { return GradientAt(y, t, bottom, from, to); };
}

// A cell of the strip starting at column l, filled with the colour it stands on.
void Ground(TBitmap& b, int l, int w, int h, TColor c) { Fill(b, l, 0, l + w, h, c); }

Shape CheckStroke(double l, double t, double scale) {
  return Stroke({{l + 3.0 * scale, t + 6.7 * scale}, {l + 5.3 * scale, t + 9.0 * scale},
                 {l + 10.0 * scale, t + 3.9 * scale}},
                1.75 * scale);
}

} // namespace

void PushButtons(TBitmap& b, const TControlStyle& s) {
  constexpr int w = 21, h = 21;
  b.SetSize(3 * w, h);
  for (int state = 0; state < 3; ++state) {
    const int l = state * w;
    Ground(b, l, w, h, s.Form);
    FramedBox(b, l, 0, l + w, h, 4, s.ButtonEdge[state], Gradient(1, h - 1, s.ButtonTop[state], s.ButtonBottom[state]));
    if (state < 2 && s.ButtonShine != kNoColor)
      Paint(b, l + 3, 1, l + w - 3, 2, RoundRect(l + 3, 1, l + w - 3, 2, 0), Mix(s.ButtonTop[state], s.ButtonShine, 0.7));
    KeyOutside(b, l, 0, l + w, h, RoundRect(l, 0, l + w, h, 4), s.Key);
  }
}

void CheckBoxes(TBitmap& b, const TControlStyle& s) {
  constexpr int n = 13;
  b.SetSize(6 * n, n);
  for (int frame = 0; frame < 6; ++frame) {
    const int l = frame * n;
    const bool enabled = frame < 3;
    const int kind = frame % 3; // checked, grayed, unchecked
    Ground(b, l, n, n, s.Form);
    TColor top = enabled ? s.BoxTop : s.DisabledTop, bottom = enabled ? s.BoxBottom : s.DisabledBottom;
    TColor edge = enabled ? s.BoxEdge : s.DisabledEdge;
    if (kind == 0) {
      top = enabled ? s.CheckedTop : s.DisabledCheckedFill;
      bottom = enabled ? s.CheckedBottom : s.DisabledCheckedFill;
      edge = enabled ? s.CheckedEdge : s.DisabledEdge;
    }
    FramedBox(b, l, 0, l + n, n, 2.5, edge, Gradient(1, n - 1, top, bottom));
    const TColor mark = enabled ? s.Mark : s.DisabledMark;
    if (kind == 0) Paint(b, l, 0, l + n, n, CheckStroke(l, 0, 1.0), mark);
    if (kind == 1)
      Paint(b, l, 0, l + n, n, RoundRect(l + 3.5, 3.5, l + n - 3.5, n - 3.5, 1.2),
            enabled ? s.CheckedTop : s.DisabledCheckedFill);
    KeyOutside(b, l, 0, l + n, n, RoundRect(l, 0, l + n, n, 2.5), s.Key);
  }
}

void RadioButtons(TBitmap& b, const TControlStyle& s) {
  constexpr int n = 13;
  b.SetSize(4 * n, n);
  for (int frame = 0; frame < 4; ++frame) {
    const int l = frame * n;
    const bool enabled = frame < 2, checked = frame % 2 == 0;
    Ground(b, l, n, n, s.Form);
    const double c = l + n / 2.0;
    TColor top = enabled ? s.BoxTop : s.DisabledTop, bottom = enabled ? s.BoxBottom : s.DisabledBottom;
    TColor edge = enabled ? s.BoxEdge : s.DisabledEdge;
    if (checked) {
      top = enabled ? s.CheckedTop : s.DisabledCheckedFill;
      bottom = enabled ? s.CheckedBottom : s.DisabledCheckedFill;
      edge = enabled ? s.CheckedEdge : s.DisabledEdge;
    }
    Paint(b, l, 0, l + n, n, Circle(c, n / 2.0, n / 2.0), edge);
    Paint(b, l, 0, l + n, n, Circle(c, n / 2.0, n / 2.0 - 1), Gradient(1, n - 1, top, bottom));
    if (checked) Paint(b, l, 0, l + n, n, Circle(c, n / 2.0, 2.6), enabled ? s.Mark : s.DisabledMark);
    KeyOutside(b, l, 0, l + n, n, Circle(c, n / 2.0, n / 2.0), s.Key);
  }
}

void ScrollButtons(TBitmap& b, const TControlStyle& s, bool up) {
  constexpr int n = 16;
  b.SetSize(3 * n, n);
  for (int state = 0; state < 3; ++state) {
    const int l = state * n;
    Ground(b, l, n, n, s.ScrollTrack);
    if (state > 0)
      Paint(b, l, 0, l + n, n, RoundRect(l + 2, 2, l + n - 2, n - 2, 3),
            state == 1 ? s.ArrowHotPlate : s.ArrowPressedPlate);
    // A small filled triangle whose middle pixels are solid, so that the
    // arrow keeps its colour where the bar stretches the cell a little.
    const double cx = l + n / 2.0, tip = up ? 4.5 : n - 4.5, base = up ? 10.0 : n - 10.0;
    Paint(b, l, 0, l + n, n, Polygon({{cx, tip}, {cx + 4.5, base}, {cx - 4.5, base}}),
          state == 2 ? s.ArrowPressed : s.Arrow);
  }
}

void ScrollThumb(TBitmap& b, const TControlStyle& s) {
  constexpr int w = 16, h = 31;
  b.SetSize(w, h);
  Fill(b, 0, 0, w, h, s.ScrollTrack);
  FramedBox(b, 3, 0, w - 3, h, 3, s.ThumbEdge,
            [&](int x, int) { return Mix(s.ThumbFrom, s.ThumbTo, (x - 4) / 7.0); });
  for (const int y : {14, 16, 18}) Fill(b, 6, y, w - 6, y + 1, s.Grip);
}

void Tabs(TBitmap& b, const TControlStyle& s) {
  constexpr int w = 30, h = 22;
  b.SetSize(2 * w, h);
  for (int frame = 0; frame < 2; ++frame) {
    const int l = frame * w;
    const bool selected = frame == 0;
    const int top = selected ? 0 : 2;
    Ground(b, l, w, h, s.Form);
    // No lower edge: the tab opens onto its page.
    FramedBox(b, l, top, l + w, h + 1, 3.5, s.TabEdge,
              Gradient(top + 1, h, selected ? s.TabTop : s.OtherTop, selected ? s.TabBottom : s.OtherBottom), true,
              false);
    if (selected) Paint(b, l, 0, l + w, 3, RoundRect(l + 1, 1, l + w - 1, 3, 2.5, true, false), s.TabAccent);
    KeyOutside(b, l, 0, l + w, h, RoundRect(l, top, l + w, h + 1, 3.5, true, false), s.Key);
  }
}

void TabLine(TBitmap& b, const TControlStyle& s) {
  b.SetSize(6, 2);
  Fill(b, 0, 0, 6, 1, s.TabEdge);
  Fill(b, 0, 1, 6, 2, s.TabLine);
}

void ProgressPiece(TBitmap& b, const TControlStyle& s, int part) {
  constexpr int h = 16;
  const bool cap = part == 1 || part == 4;
  const int w = cap ? 1 : 8;
  b.SetSize(w, h);
  // The caps are the frame's end columns alone, so the fill starts right
  // after the frame line; their end pixels soften the corners.
  if (cap) {
    Fill(b, 0, 0, 1, h, s.ProgressEdge);
    b.SetPixel(0, 0, Mix(s.ProgressEdge, s.Form, 0.55));
    b.SetPixel(0, h - 1, Mix(s.ProgressEdge, s.Form, 0.55));
    return;
  }
  const bool filled = part == 2;
  VerticalGradient(b, 0, 1, w, h - 1, filled ? s.FillTop : s.TroughTop, filled ? s.FillBottom : s.TroughBottom);
  Fill(b, 0, 0, w, 1, s.ProgressEdge);
  Fill(b, 0, h - 1, w, h, s.ProgressEdge);
}

void TrackChannel(TBitmap& b, const TControlStyle& s) {
  b.SetSize(12, 5);
  Fill(b, 0, 0, 12, 5, s.Form);
  FramedBox(b, 1, 0, 11, 5, 2, s.ChannelEdge, [&](int, int) { return s.Channel; });
  KeyOutside(b, 0, 0, 12, 5, RoundRect(1, 0, 11, 5, 2), s.Key); // the form colour when loaded
}

void Slider(TBitmap& b, const TControlStyle& s, bool vertical) {
  const int w = vertical ? 19 : 11, h = vertical ? 11 : 19;
  b.SetSize(w, h);
  Fill(b, 0, 0, w, h, s.Form);
  FramedBox(b, 0, 0, w, h, 3, s.SliderEdge, Gradient(1, h - 1, s.SliderTop, s.SliderBottom));
  KeyOutside(b, 0, 0, w, h, RoundRect(0, 0, w, h, 3), s.Key);
}

void CheckedMenuIcon(TBitmap& b, const TControlStyle& s) {
  b.SetSize(16, 16);
  Fill(b, 0, 0, 16, 16, s.MenuBack);
  const Shape plate = RoundRect(0.5, 0.5, 15.5, 15.5, 3.5);
  if (s.MenuPlate != kNoColor) Paint(b, 0, 0, 16, 16, plate, s.MenuPlate);
  const Shape mark = CheckStroke(1.5, 2.0, 1.0);
  Paint(b, 0, 0, 16, 16, mark, s.MenuMark);
  KeyOutside(b, 0, 0, 16, 16, s.MenuPlate != kNoColor ? plate : mark, s.Key);
}

namespace {

Shape GlyphShape(double cx, double cy, Glyph glyph, double weight) {
  auto box = [](double l, double t, double r, double bottom) { return RoundRect(l, t, r, bottom, 0); };
  auto outline = [&](double l, double t, double r, double bottom) {
    return Minus(box(l, t, r, bottom), box(l + 1, t + 2, r - 1, bottom - 1));
  };
  switch (glyph) {
  case Glyph::Close:
    return Union(Stroke({{cx - 4.2, cy - 4.2}, {cx + 4.2, cy + 4.2}}, weight),
                 Stroke({{cx + 4.2, cy - 4.2}, {cx - 4.2, cy + 4.2}}, weight));
  case Glyph::Maximize:
    return outline(cx - 5, cy - 5, cx + 5, cy + 5);
  case Glyph::Restore:
    return Union(outline(cx - 5, cy - 2, cx + 3, cy + 5),
                 Minus(outline(cx - 2, cy - 5, cx + 5, cy + 2), box(cx - 5, cy - 2, cx + 3, cy + 5)));
  case Glyph::Minimize:
    return box(cx - 5, cy + 3, cx + 5, cy + 5);
  case Glyph::Help: {
    std::vector<Point> hook;
    const double r = 2.9, hy = cy - 1.8;
    for (int a = 165; a >= -60; a -= 15) {
      const double rad = a * 3.14159265358979 / 180.0;
      hook.push_back({cx + r * std::cos(rad), hy - r * std::sin(rad)});
    }
    hook.push_back({cx, cy + 1.8});
    return Union(Stroke(hook, weight), Circle(cx, cy + 4.3, 1.05));
  }
  case Glyph::None:
    break;
  }
  return [](double, double) { return false; };
}

} // namespace

void CaptionButtons(TBitmap& b, const TCaptionButtonStyle& s) {
  const int w = s.Width, h = s.Height;
  b.SetSize(18 * w, h);
  const Glyph glyphs[6] = {Glyph::None, Glyph::Help, Glyph::Maximize, Glyph::Restore, Glyph::Minimize, Glyph::Close};
  for (int frame = 0; frame < 18; ++frame) {
    const int l = frame * w;
    const int state = frame % 3; // normal, hot, pressed
    const Glyph glyph = glyphs[frame / 3];
    const bool close = glyph == Glyph::Close;
    for (int y = 0; y < h; ++y) Fill(b, l, y, l + w, y + 1, s.Background(y));
    TColor plate = state == 0 ? s.NormalPlate : state == 1 ? s.HotPlate : s.PressedPlate;
    TColor edge = state == 0 ? s.NormalEdge : state == 1 ? s.HotEdge : s.PressedEdge;
    if (close && state > 0) {
      plate = state == 1 ? s.CloseHotPlate : s.ClosePressedPlate;
      edge = Mix(plate, 0, 0.25);
    }
    const Shape plateShape = RoundRect(l + 0.5, 0.5, l + w - 0.5, h - 0.5, s.Radius);
    if (plate != kNoColor) {
      if (edge == kNoColor) edge = plate;
      FramedBox(b, l + 0.5, 0.5, l + w - 0.5, h - 0.5, s.Radius, edge,
                [&](int, int y) { return Mix(Mix(plate, 0xFFFFFF, 0.10), plate, y / (h - 1.0)); });
    }
    const TColor ink = close && state > 0 ? s.CloseHotInk : state == 0 ? s.Ink : state == 1 ? s.HotInk : s.PressedInk;
    const double cx = l + w / 2, cy = h / 2;
    const Shape glyphShape = GlyphShape(cx, cy, glyph, 1.45);
    Paint(b, l, 0, l + w, h, glyphShape, ink);
    KeyOutside(b, l, 0, l + w, h, plate != kNoColor ? plateShape : glyphShape, s.Key);
  }
}

void Write(const std::string& folder, const std::string& name, const std::function<void(TBitmap&)>& paint) {
  TBitmap bitmap(8, 8);
  paint(bitmap);
  std::ofstream out(std::filesystem::path(folder) / (name + ".bmp"), std::ios::binary);
  out << bitmap.ToBmp();
  if (!out) throw std::runtime_error("cannot write " + name);
}

int GeneratorMain(int argc, char** argv, const std::function<void(const std::string&)>& draw) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argc > 0 ? argv[0] : "generate");
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    draw(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}


void WriteControlPieces(const std::string& folder, const TControlStyle& s) {
  Write(folder, "SKIN2_BUTTON", [&](TBitmap& b) { PushButtons(b, s); });
  Write(folder, "SKIN2_CHECKBOX", [&](TBitmap& b) { CheckBoxes(b, s); });
  Write(folder, "SKIN2_CHECKBOXLIST", [&](TBitmap& b) { CheckBoxes(b, s); });
  Write(folder, "SKIN2_RADIOBUTTON", [&](TBitmap& b) { RadioButtons(b, s); });
  for (int part = 1; part <= 4; ++part)
    Write(folder, "SKIN2_PROGRESSBAR" + std::to_string(part), [&](TBitmap& b) { ProgressPiece(b, s, part); });
  Write(folder, "SKIN2_TRACKBAR", [&](TBitmap& b) { TrackChannel(b, s); });
  Write(folder, "SKIN2_TRACKBARSLIDER", [&](TBitmap& b) { Slider(b, s, false); });
  Write(folder, "SKIN2_TRACKBARVSLIDER", [&](TBitmap& b) { Slider(b, s, true); });
  Write(folder, "SKIN2_SCROLLBARUPBUTTON", [&](TBitmap& b) { ScrollButtons(b, s, true); });
  Write(folder, "SKIN2_SCROLLBARDOWNBUTTON", [&](TBitmap& b) { ScrollButtons(b, s, false); });
  Write(folder, "SKIN2_SCROLLBAR", [&](TBitmap& b) { ScrollThumb(b, s); });
  Write(folder, "SKIN2_TABCONTROL", [&](TBitmap& b) { Tabs(b, s); });
  Write(folder, "SKIN2_TABCONTROLLINE", [&](TBitmap& b) { TabLine(b, s); });
}

} // namespace art
