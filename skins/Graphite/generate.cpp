// Draws the bitmaps of the Graphite skin into a folder, one BMP file per
// skin value: a dark skin of charcoal greys with a steel-blue accent. The
// window stays a plain rectangle (no region, so no keyed pixel in the
// caption or borders), its side and bottom borders are two pixels thin —
// thinner than the native frame, whose gap shows the form colour — and
// the bottom border is one strip of three cells.
#include <algorithm>
#include <string>

#include "../common/SkinArt.h"

namespace {

using namespace art;

constexpr TColor kKey = RGBColor(255, 0, 255);
constexpr TColor kWhite = RGBColor(255, 255, 255);
constexpr TColor kForm = RGBColor(45, 47, 51);
constexpr TColor kAccent = RGBColor(78, 148, 220);

constexpr int kCaptionHeight = 26;
constexpr TColor kCaptionTop = RGBColor(50, 53, 58), kCaptionBottom = RGBColor(34, 36, 40);
constexpr TColor kEdge = RGBColor(18, 19, 21);

TColor CaptionRow(int y) {
  if (y == 0) return kEdge;
  const TColor c = GradientAt(y, 1, kCaptionHeight, kCaptionTop, kCaptionBottom);
  return y == 1 ? Mix(c, kWhite, 0.10) : c;
}

// Square caption pieces: the outer edge along the top and, on the end
// pieces, down the outer side.
void CaptionPiece(TBitmap& b, int width, bool leftEdge, bool rightEdge) {
  b.SetSize(width, kCaptionHeight);
  for (int y = 0; y < kCaptionHeight; ++y) Fill(b, 0, y, width, y + 1, CaptionRow(y));
  if (leftEdge) Fill(b, 0, 0, 1, kCaptionHeight, kEdge);
  if (rightEdge) Fill(b, width - 1, 0, width, kCaptionHeight, kEdge);
}

void TitleButtons(TBitmap& b) {
  TCaptionButtonStyle s;
  s.Width = 22;
  s.Height = 18;
  s.Radius = 3.5;
  s.Key = kKey;
  s.Background = [](int y) { return CaptionRow(y + 4); }; // SKIN2_TITLEBARBUTTONPOSY
  s.Ink = RGBColor(200, 204, 210);
  s.HotInk = kWhite;
  s.PressedInk = RGBColor(230, 236, 244);
  s.HotPlate = RGBColor(76, 80, 88);
  s.HotEdge = RGBColor(96, 101, 110);
  s.PressedPlate = RGBColor(44, 76, 114);
  s.PressedEdge = kAccent;
  s.CloseHotPlate = RGBColor(200, 58, 48);
  s.ClosePressedPlate = RGBColor(140, 34, 28);
  CaptionButtons(b, s);
}

// The two border pixels from the outside in.
const TColor kBorder[2] = {kEdge, RGBColor(60, 63, 69)};

// The bottom border: three cells of 6 x 2 (corner, middle, corner).
void BottomStrip(TBitmap& b) {
  b.SetSize(18, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 18; ++x) {
      int depth = 1 - y;
      if (x < 6) depth = std::min(depth, x);
      if (x >= 12) depth = std::min(depth, 17 - x);
      b.SetPixel(x, y, kBorder[depth]);
    }
}

TControlStyle Controls() {
  TControlStyle s;
  s.Key = kKey;
  s.Form = kForm;
  const TColor tops[3] = {RGBColor(70, 73, 80), RGBColor(80, 86, 96), RGBColor(40, 62, 90)};
  const TColor bottoms[3] = {RGBColor(58, 61, 67), RGBColor(66, 72, 82), RGBColor(50, 76, 108)};
  const TColor edges[3] = {RGBColor(24, 25, 28), RGBColor(100, 150, 204), kAccent};
  for (int i = 0; i < 3; ++i) s.ButtonTop[i] = tops[i], s.ButtonBottom[i] = bottoms[i], s.ButtonEdge[i] = edges[i];
  s.ButtonShine = RGBColor(120, 124, 132);
  s.BoxTop = RGBColor(30, 31, 34);
  s.BoxBottom = RGBColor(36, 38, 41);
  s.BoxEdge = RGBColor(130, 135, 144);
  s.CheckedTop = RGBColor(88, 158, 230);
  s.CheckedBottom = RGBColor(64, 132, 206);
  s.CheckedEdge = RGBColor(56, 118, 186);
  s.Mark = kWhite;
  s.DisabledTop = RGBColor(48, 50, 54);
  s.DisabledBottom = RGBColor(48, 50, 54);
  s.DisabledEdge = RGBColor(82, 85, 92);
  s.DisabledCheckedFill = RGBColor(86, 90, 98);
  s.DisabledMark = RGBColor(150, 154, 160);
  s.ScrollTrack = RGBColor(38, 40, 44);
  s.Arrow = RGBColor(170, 174, 182);
  s.ArrowHotPlate = RGBColor(64, 67, 74);
  s.ArrowPressedPlate = RGBColor(52, 96, 146);
  s.ArrowPressed = kWhite;
  s.ThumbFrom = RGBColor(96, 100, 108);
  s.ThumbTo = RGBColor(84, 88, 96);
  s.ThumbEdge = RGBColor(112, 117, 126);
  s.Grip = RGBColor(56, 59, 64);
  s.TabTop = RGBColor(64, 68, 74);
  s.TabBottom = RGBColor(52, 55, 60);
  s.OtherTop = RGBColor(46, 48, 53);
  s.OtherBottom = RGBColor(38, 40, 44);
  s.TabEdge = RGBColor(84, 88, 96);
  s.TabAccent = kAccent;
  s.TabLine = RGBColor(52, 55, 60);
  s.TroughTop = RGBColor(30, 31, 34);
  s.TroughBottom = RGBColor(36, 38, 41);
  s.FillTop = RGBColor(104, 172, 240);
  s.FillBottom = RGBColor(58, 124, 196);
  s.ProgressEdge = RGBColor(84, 88, 96);
  s.Channel = RGBColor(30, 31, 34);
  s.ChannelEdge = RGBColor(84, 88, 96);
  s.SliderTop = RGBColor(130, 134, 142);
  s.SliderBottom = RGBColor(100, 104, 112);
  s.SliderEdge = RGBColor(24, 25, 28);
  s.MenuMark = RGBColor(150, 196, 244);
  s.MenuBack = RGBColor(44, 46, 50); // SKIN2_LEFTBARSTARTCOLOR
  return s;
}

void Draw(const std::string& out) {
  const TControlStyle s = Controls();
  Write(out, "SKIN2_TITLEBAR1", [](TBitmap& b) { CaptionPiece(b, 24, true, false); });
  Write(out, "SKIN2_TITLEBAR2", [](TBitmap& b) { CaptionPiece(b, 8, false, false); });
  Write(out, "SKIN2_TITLEBAR3", [](TBitmap& b) { CaptionPiece(b, 28, false, true); });
  Write(out, "SKIN2_TITLEBAR4", [](TBitmap& b) { CaptionPiece(b, 8, false, false); });
  Write(out, "SKIN2_TITLEBAR5", [](TBitmap& b) { CaptionPiece(b, 28, false, true); });
  Write(out, "SKIN2_MINIMIZEDTITLE", [](TBitmap& b) {
    b.SetSize(160, 26);
    for (int y = 0; y < 26; ++y) Fill(b, 0, y, 160, y + 1, CaptionRow(y));
    Fill(b, 0, 0, 1, 26, kEdge);
    Fill(b, 159, 0, 160, 26, kEdge);
    Fill(b, 0, 25, 160, 26, kEdge);
  });
  Write(out, "SKIN2_FORMLEFTBORDER", [](TBitmap& b) {
    b.SetSize(2, 8);
    Fill(b, 0, 0, 1, 8, kBorder[0]);
    Fill(b, 1, 0, 2, 8, kBorder[1]);
  });
  Write(out, "SKIN2_FORMRIGHTBORDER", [](TBitmap& b) {
    b.SetSize(2, 8);
    Fill(b, 1, 0, 2, 8, kBorder[0]);
    Fill(b, 0, 0, 1, 8, kBorder[1]);
  });
  // One strip of three cells; the second and third values carry the same
  // strip for readers that look for them.
  Write(out, "SKIN2_FORMBOTTOMBORDER1", BottomStrip);
  Write(out, "SKIN2_FORMBOTTOMBORDER2", BottomStrip);
  Write(out, "SKIN2_FORMBOTTOMBORDER3", BottomStrip);
  Write(out, "SKIN2_TITLEBUTTONS", TitleButtons);
  Write(out, "SKIN2_CHECKEDMENUICON", [&](TBitmap& b) { CheckedMenuIcon(b, s); });
  Write(out, "SKIN2_MENUBAR", [](TBitmap& b) {
    b.SetSize(8, 20);
    VerticalGradient(b, 0, 0, 8, 20, RGBColor(50, 52, 57), RGBColor(42, 44, 48));
  });
  Write(out, "SKIN2_TOOLBAR", [](TBitmap& b) {
    b.SetSize(8, 26);
    VerticalGradient(b, 0, 0, 8, 26, RGBColor(52, 54, 59), RGBColor(44, 46, 50));
  });
  WriteControlPieces(out, s);
  Write(out, "SKIN2_SIDECHANNELBAR", [](TBitmap& b) {
    b.SetSize(8, 24);
    VerticalGradient(b, 0, 0, 8, 24, RGBColor(48, 50, 55), RGBColor(40, 42, 46));
  });
  Write(out, "SKIN2_SIDECHANNELTITLE", [](TBitmap& b) {
    b.SetSize(8, 22);
    for (int y = 0; y < 22; ++y) Fill(b, 0, y, 8, y + 1, CaptionRow(y));
  });
  Write(out, "SKIN2_SCROLLBUTTON", [&](TBitmap& b) { ScrollButtons(b, s, true); });
}

} // namespace

int main(int argc, char** argv) { return GeneratorMain(argc, argv, Draw); }
