// Draws the bitmaps of the Paper skin into a folder, one BMP file per skin
// value: warm light paper with ink-blue accents. The caption has five
// sections: the icon and title sit on a dark ink label (pieces 1 and 2)
// that ends in a curved shoulder (piece 3) just after the title, so that
// both the white active title and the system's grey inactive title read on
// it; the rest of the caption (pieces 4 and 5) is paper, with the caption
// buttons. The window has rounded top and bottom corners cut by regions,
// and a bottom border of three bitmaps.
#include <algorithm>
#include <string>

#include "../common/SkinArt.h"

namespace {

using namespace art;

constexpr TColor kKey = RGBColor(255, 0, 255);
constexpr TColor kWhite = RGBColor(255, 255, 255);
constexpr TColor kForm = RGBColor(246, 244, 239);

constexpr int kCaptionHeight = 26;
constexpr int kRadius = 6;
constexpr TColor kInkTop = RGBColor(38, 52, 76), kInkBottom = RGBColor(26, 36, 54), kInkEdge = RGBColor(16, 22, 34);
constexpr TColor kPaperTop = RGBColor(252, 251, 248), kPaperBottom = RGBColor(236, 233, 225);
constexpr TColor kPaperEdge = RGBColor(166, 160, 148);

TColor InkRow(int y) {
  const TColor c = GradientAt(y, 1, kCaptionHeight, kInkTop, kInkBottom);
  return y == 1 ? Mix(c, kWhite, 0.14) : c;
}

TColor PaperRow(int y) {
  if (y == kCaptionHeight - 1) return RGBColor(218, 213, 202); // the line under the caption
  const TColor c = GradientAt(y, 1, kCaptionHeight - 1, kPaperTop, kPaperBottom);
  return y == 1 ? kWhite : c;
}

// Where the ink label ends on row y of the shoulder piece: it widens
// towards the bottom in a smooth curve, like a tab standing on the caption's
// lower edge.
double ShoulderAt(double y) {
  const double t = std::clamp(y / kCaptionHeight, 0.0, 1.0);
  return 3.0 + 12.0 * t * t * (3 - 2 * t);
}

enum class Ground { Ink, Paper, Shoulder };

// One caption piece: the window's outline is hard where a rounded corner is
// cut (a region follows it), the edge line and the shoulder smooth.
void CaptionPiece(TBitmap& b, int width, Ground ground, bool roundLeft, bool roundRight) {
  const int h = kCaptionHeight;
  b.SetSize(width, h);
  const Shape ink = ground == Ground::Ink      ? Shape([](double, double) { return true; })
                    : ground == Ground::Paper ? Shape([](double, double) { return false; })
                                              : Shape([](double x, double y) { return x < ShoulderAt(y); });
  // The edge colour follows the ground beneath it.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, kPaperEdge);
  Paint(b, 0, 0, width, h, ink, kInkEdge);
  const double l = roundLeft ? 1 : -20, r = roundRight ? width - 1 : width + 20;
  const Shape inside = RoundRect(l, 1, r, h + 20, kRadius - 1, true, false);
  Paint(b, 0, 0, width, h, inside, [](int, int y) { return PaperRow(y); });
  Paint(b, 0, 0, width, h, [&](double x, double y) { return inside(x, y) && ink(x, y); },
        [](int, int y) { return InkRow(y); });
  KeyOutsideHard(b, 0, 0, width, h, RoundRect(l - 1, 0, r + 1, h + 20, kRadius, true, false), kKey);
}

void TitleButtons(TBitmap& b) {
  TCaptionButtonStyle s;
  s.Width = 21;
  s.Height = 19;
  s.Key = kKey;
  s.Background = [](int y) { return PaperRow(y + 3); }; // SKIN2_TITLEBARBUTTONPOSY
  s.Ink = RGBColor(58, 66, 80);
  s.HotInk = RGBColor(30, 42, 62);
  s.PressedInk = RGBColor(20, 28, 42);
  s.HotPlate = RGBColor(230, 226, 216);
  s.HotEdge = RGBColor(196, 190, 178);
  s.PressedPlate = RGBColor(208, 202, 190);
  s.PressedEdge = RGBColor(160, 154, 142);
  s.CloseHotPlate = RGBColor(206, 62, 50);
  s.ClosePressedPlate = RGBColor(150, 38, 30);
  CaptionButtons(b, s);
}

// The borders, from the outside in.
const TColor kBorder[4] = {kPaperEdge, RGBColor(240, 237, 230), RGBColor(240, 237, 230), RGBColor(214, 209, 198)};

// A bottom piece cut from a window whose bottom corners are rounded over
// six pixels: each layer of the border is a smaller rounded outline inside
// the last, and the form colour inside them all.
constexpr int kBottomHeight = 6;

void BottomPiece(TBitmap& b, int width, bool left, bool right) {
  constexpr int h = kBottomHeight;
  b.SetSize(width, h);
  Fill(b, 0, 0, width, h, kForm);
  const double l = left ? 0 : -20, r = right ? width : width + 20;
  for (int k = 0; k < 4; ++k)
    Paint(b, 0, 0, width, h, RoundRect(l + k, -20, r - k, h - k, h - k, false, true), kBorder[k]);
  Paint(b, 0, 0, width, h, RoundRect(l + 4, -20, r - 4, h - 4, h - 4, false, true), kForm);
  KeyOutsideHard(b, 0, 0, width, h, RoundRect(l, -20, r, h, h, false, true), kKey);
}

TControlStyle Controls() {
  TControlStyle s;
  s.Key = kKey;
  s.Form = kForm;
  const TColor tops[3] = {RGBColor(255, 255, 254), RGBColor(248, 250, 254), RGBColor(222, 218, 208)};
  const TColor bottoms[3] = {RGBColor(234, 231, 223), RGBColor(222, 230, 244), RGBColor(236, 233, 226)};
  const TColor edges[3] = {RGBColor(170, 164, 152), RGBColor(72, 110, 166), RGBColor(40, 70, 116)};
  for (int i = 0; i < 3; ++i) s.ButtonTop[i] = tops[i], s.ButtonBottom[i] = bottoms[i], s.ButtonEdge[i] = edges[i];
  s.ButtonShine = kWhite;
  s.BoxTop = kWhite;
  s.BoxBottom = RGBColor(244, 242, 237);
  s.BoxEdge = RGBColor(150, 144, 132);
  s.CheckedTop = RGBColor(64, 104, 160);
  s.CheckedBottom = RGBColor(48, 84, 136);
  s.CheckedEdge = RGBColor(38, 68, 114);
  s.Mark = kWhite;
  s.DisabledTop = RGBColor(244, 243, 240);
  s.DisabledBottom = RGBColor(236, 234, 229);
  s.DisabledEdge = RGBColor(196, 192, 184);
  s.DisabledCheckedFill = RGBColor(196, 192, 184);
  s.DisabledMark = RGBColor(250, 249, 247);
  s.ScrollTrack = RGBColor(238, 236, 230);
  s.Arrow = RGBColor(84, 90, 102);
  s.ArrowHotPlate = RGBColor(222, 218, 208);
  s.ArrowPressedPlate = RGBColor(64, 104, 160);
  s.ArrowPressed = kWhite;
  s.ThumbFrom = RGBColor(206, 201, 190);
  s.ThumbTo = RGBColor(190, 184, 171);
  s.ThumbEdge = RGBColor(156, 150, 137);
  s.Grip = RGBColor(240, 238, 232);
  s.TabTop = kWhite;
  s.TabBottom = RGBColor(252, 251, 248);
  s.OtherTop = RGBColor(240, 238, 232);
  s.OtherBottom = RGBColor(226, 222, 212);
  s.TabEdge = RGBColor(176, 170, 158);
  s.TabAccent = RGBColor(64, 104, 160);
  s.TabLine = RGBColor(252, 251, 248);
  s.TroughTop = RGBColor(252, 251, 249);
  s.TroughBottom = RGBColor(238, 236, 230);
  s.FillTop = RGBColor(96, 136, 192);
  s.FillBottom = RGBColor(50, 88, 142);
  s.ProgressEdge = RGBColor(166, 160, 148);
  s.Channel = RGBColor(226, 222, 212);
  s.ChannelEdge = RGBColor(166, 160, 148);
  s.SliderTop = kWhite;
  s.SliderBottom = RGBColor(226, 222, 212);
  s.SliderEdge = RGBColor(72, 110, 166);
  s.MenuMark = RGBColor(40, 70, 116);
  s.MenuBack = RGBColor(234, 230, 221); // SKIN2_LEFTBARSTARTCOLOR
  return s;
}

void Draw(const std::string& out) {
  const TControlStyle s = Controls();
  Write(out, "SKIN2_TITLEBAR1", [](TBitmap& b) { CaptionPiece(b, 28, Ground::Ink, true, false); });
  Write(out, "SKIN2_TITLEBAR2", [](TBitmap& b) { CaptionPiece(b, 8, Ground::Ink, false, false); });
  Write(out, "SKIN2_TITLEBAR3", [](TBitmap& b) { CaptionPiece(b, 18, Ground::Shoulder, false, false); });
  Write(out, "SKIN2_TITLEBAR4", [](TBitmap& b) { CaptionPiece(b, 8, Ground::Paper, false, false); });
  Write(out, "SKIN2_TITLEBAR5", [](TBitmap& b) { CaptionPiece(b, 30, Ground::Paper, false, true); });
  Write(out, "SKIN2_MINIMIZEDTITLE", [](TBitmap& b) {
    b.SetSize(160, 26);
    Fill(b, 0, 0, 160, 26, kInkEdge);
    Paint(b, 0, 0, 160, 26, RoundRect(1, 1, 159, 25, 4, true, false), [](int, int y) { return InkRow(y); });
    KeyOutsideHard(b, 0, 0, 160, 26, RoundRect(0, 0, 160, 26, 5, true, false), kKey); // top corners, within the region rows
  });
  Write(out, "SKIN2_FORMLEFTBORDER", [](TBitmap& b) {
    b.SetSize(4, 8);
    for (int x = 0; x < 4; ++x) Fill(b, x, 0, x + 1, 8, kBorder[x]);
  });
  Write(out, "SKIN2_FORMRIGHTBORDER", [](TBitmap& b) {
    b.SetSize(4, 8);
    for (int x = 0; x < 4; ++x) Fill(b, 3 - x, 0, 4 - x, 8, kBorder[x]);
  });
  Write(out, "SKIN2_FORMBOTTOMBORDER1", [](TBitmap& b) { BottomPiece(b, 8, true, false); });
  Write(out, "SKIN2_FORMBOTTOMBORDER2", [](TBitmap& b) { BottomPiece(b, 8, false, false); });
  Write(out, "SKIN2_FORMBOTTOMBORDER3", [](TBitmap& b) { BottomPiece(b, 8, false, true); });
  Write(out, "SKIN2_TITLEBUTTONS", TitleButtons);
  Write(out, "SKIN2_CHECKEDMENUICON", [&](TBitmap& b) { CheckedMenuIcon(b, s); });
  Write(out, "SKIN2_MENUBAR", [](TBitmap& b) {
    b.SetSize(8, 20);
    VerticalGradient(b, 0, 0, 8, 20, RGBColor(250, 249, 246), RGBColor(238, 235, 228));
  });
  Write(out, "SKIN2_TOOLBAR", [](TBitmap& b) {
    b.SetSize(8, 26);
    VerticalGradient(b, 0, 0, 8, 26, RGBColor(250, 249, 246), RGBColor(236, 233, 226));
  });
  WriteControlPieces(out, s);
  Write(out, "SKIN2_SIDECHANNELBAR", [](TBitmap& b) {
    b.SetSize(8, 24);
    VerticalGradient(b, 0, 0, 8, 24, RGBColor(244, 242, 237), RGBColor(230, 226, 217));
  });
  Write(out, "SKIN2_SIDECHANNELTITLE", [](TBitmap& b) {
    b.SetSize(8, 22);
    VerticalGradient(b, 0, 0, 8, 22, kInkTop, kInkBottom);
  });
  Write(out, "SKIN2_SCROLLBUTTON", [&](TBitmap& b) { ScrollButtons(b, s, true); });
}

} // namespace

int main(int argc, char** argv) { return GeneratorMain(argc, argv, Draw); }
