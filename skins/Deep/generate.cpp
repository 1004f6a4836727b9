// Draws the bitmaps of the DeepCyan skin into a folder, one BMP file per
// skin value: a deep cyan caption with rounded top corners, on which both a
// white active title and the system's grey inactive title read, calm light
// controls with cyan accents, and caption buttons that show their state by
// a plate behind the glyph.
#include <algorithm>
#include <string>

#include "../common/SkinArt.h"

namespace {

using namespace art;

constexpr TColor kKey = RGBColor(255, 0, 255); // the skin's transparent colour
constexpr TColor kWhite = RGBColor(255, 255, 255);

// --- caption --------------------------------------------------------------------

constexpr int kCaptionHeight = 28;
constexpr TColor kCaptionTop = RGBColor(0, 62, 76);
constexpr TColor kCaptionBottom = RGBColor(0, 38, 48);
constexpr TColor kEdge = RGBColor(0, 22, 28);
constexpr int kRadius = 6;

TColor CaptionRow(int y) {
  const TColor c = GradientAt(y, 1, kCaptionHeight, kCaptionTop, kCaptionBottom);
  return y == 1 ? Mix(c, kWhite, 0.25) : c; // a soft highlight under the top edge
}

// A caption piece cut from a window outline whose top corners are rounded
// where the piece holds them: the outline is hard (a region follows it), the
// edge line inside it smooth.
void CaptionPiece(TBitmap& b, int width, int height, bool roundLeft, bool roundRight) {
  b.SetSize(width, height);
  Fill(b, 0, 0, width, height, kEdge);
  const double l = roundLeft ? 0 : -20, r = roundRight ? width : width + 20;
  Paint(b, 0, 0, width, height, RoundRect(l + (roundLeft ? 1 : 0), 1, r - (roundRight ? 1 : 0), height + 20, kRadius - 1, true, false),
        [](int, int y) { return CaptionRow(y); });
  KeyOutsideHard(b, 0, 0, width, height, RoundRect(l, 0, r, height + 20, kRadius, true, false), kKey);
}

void TitleButtons(TBitmap& b) {
  TCaptionButtonStyle s;
  s.Width = 21;
  s.Height = 19;
  s.Key = kKey;
  s.Background = [](int y) { return CaptionRow(y + 5); }; // SKIN2_TITLEBARBUTTONPOSY
  s.Ink = RGBColor(214, 238, 242);
  s.HotInk = kWhite;
  s.PressedInk = RGBColor(190, 226, 232);
  s.HotPlate = RGBColor(0, 128, 150);
  s.HotEdge = RGBColor(40, 160, 180);
  s.PressedPlate = RGBColor(0, 30, 40);
  s.PressedEdge = RGBColor(0, 18, 24);
  s.CloseHotPlate = RGBColor(210, 64, 52);
  s.ClosePressedPlate = RGBColor(150, 36, 30);
  CaptionButtons(b, s);
}

// Side and bottom borders: columns (or rows) from the outside in.
const TColor kBorder[4] = {kEdge, kCaptionBottom, kCaptionBottom, RGBColor(0, 34, 44)};

void BottomPiece(TBitmap& b, bool left, bool right) {
  b.SetSize(8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      int depth = 3 - y; // distance from the outer edge
      if (left) depth = std::min(depth, x);
      if (right) depth = std::min(depth, 7 - x);
      b.SetPixel(x, y, kBorder[depth]);
    }
}

TControlStyle Controls() {
  TControlStyle s;
  s.Key = kKey;
  s.Form = RGBColor(234, 243, 245);
  const TColor tops[3] = {RGBColor(252, 254, 254), RGBColor(240, 251, 253), RGBColor(178, 214, 222)};
  const TColor bottoms[3] = {RGBColor(218, 234, 238), RGBColor(194, 233, 241), RGBColor(208, 232, 238)};
  const TColor edges[3] = {RGBColor(118, 164, 174), RGBColor(0, 138, 160), RGBColor(0, 92, 110)};
  for (int i = 0; i < 3; ++i) s.ButtonTop[i] = tops[i], s.ButtonBottom[i] = bottoms[i], s.ButtonEdge[i] = edges[i];
  s.ButtonShine = kWhite;
  s.BoxTop = kWhite;
  s.BoxBottom = RGBColor(230, 241, 244);
  s.BoxEdge = RGBColor(84, 140, 152);
  s.CheckedTop = RGBColor(0, 132, 152);
  s.CheckedBottom = RGBColor(0, 104, 122);
  s.CheckedEdge = RGBColor(0, 88, 104);
  s.Mark = kWhite;
  s.DisabledTop = RGBColor(240, 243, 243);
  s.DisabledBottom = RGBColor(230, 234, 234);
  s.DisabledEdge = RGBColor(170, 182, 184);
  s.DisabledCheckedFill = RGBColor(178, 190, 192);
  s.DisabledMark = RGBColor(244, 246, 246);
  s.ScrollTrack = RGBColor(222, 237, 241);
  s.Arrow = RGBColor(34, 92, 106);
  s.ArrowHotPlate = RGBColor(192, 224, 232);
  s.ArrowPressedPlate = RGBColor(0, 112, 132);
  s.ArrowPressed = kWhite;
  s.ThumbFrom = RGBColor(138, 194, 206);
  s.ThumbTo = RGBColor(108, 174, 188);
  s.ThumbEdge = RGBColor(58, 132, 148);
  s.Grip = RGBColor(226, 242, 246);
  s.TabTop = kWhite;
  s.TabBottom = RGBColor(238, 247, 249);
  s.OtherTop = RGBColor(226, 240, 243);
  s.OtherBottom = RGBColor(206, 228, 234);
  s.TabEdge = RGBColor(92, 152, 164);
  s.TabAccent = RGBColor(0, 140, 160);
  s.TabLine = RGBColor(238, 247, 249);
  s.TroughTop = RGBColor(248, 251, 252);
  s.TroughBottom = RGBColor(228, 239, 242);
  s.FillTop = RGBColor(52, 182, 200);
  s.FillBottom = RGBColor(0, 114, 134);
  s.ProgressEdge = RGBColor(92, 152, 164);
  s.Channel = RGBColor(200, 224, 230);
  s.ChannelEdge = RGBColor(92, 152, 164);
  s.SliderTop = RGBColor(252, 254, 254);
  s.SliderBottom = RGBColor(194, 225, 232);
  s.SliderEdge = RGBColor(0, 110, 130);
  s.MenuMark = RGBColor(0, 86, 102);
  s.MenuBack = RGBColor(0, 118, 138); // SKIN2_LEFTBARSTARTCOLOR
  s.MenuPlate = RGBColor(248, 252, 252);
  return s;
}

void Draw(const std::string& out) {
  const TControlStyle s = Controls();
  Write(out, "SKIN2_TITLEBAR1", [](TBitmap& b) { CaptionPiece(b, 32, kCaptionHeight, true, false); });
  Write(out, "SKIN2_TITLEBAR2", [](TBitmap& b) { CaptionPiece(b, 8, kCaptionHeight, false, false); });
  Write(out, "SKIN2_TITLEBAR3", [](TBitmap& b) { CaptionPiece(b, 32, kCaptionHeight, false, true); });
  Write(out, "SKIN2_TITLEBAR4", [](TBitmap& b) { CaptionPiece(b, 8, kCaptionHeight, false, false); });
  Write(out, "SKIN2_TITLEBAR5", [](TBitmap& b) { CaptionPiece(b, 32, kCaptionHeight, false, true); });
  Write(out, "SKIN2_MINIMIZEDTITLE", [](TBitmap& b) {
    b.SetSize(160, 26);
    Fill(b, 0, 0, 160, 26, kEdge);
    Paint(b, 0, 0, 160, 26, RoundRect(1, 1, 159, 25, 4, true, false), [](int, int y) { return CaptionRow(y); });
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
  Write(out, "SKIN2_FORMBOTTOMBORDER1", [](TBitmap& b) { BottomPiece(b, true, false); });
  Write(out, "SKIN2_FORMBOTTOMBORDER2", [](TBitmap& b) { BottomPiece(b, false, false); });
  Write(out, "SKIN2_FORMBOTTOMBORDER3", [](TBitmap& b) { BottomPiece(b, false, true); });
  Write(out, "SKIN2_TITLEBUTTONS", TitleButtons);
  Write(out, "SKIN2_CHECKEDMENUICON", [&](TBitmap& b) { CheckedMenuIcon(b, s); });
  Write(out, "SKIN2_MENUBAR", [](TBitmap& b) {
    b.SetSize(8, 20);
    VerticalGradient(b, 0, 0, 8, 20, RGBColor(226, 240, 243), RGBColor(200, 226, 232));
  });
  Write(out, "SKIN2_TOOLBAR", [](TBitmap& b) {
    b.SetSize(8, 26);
    VerticalGradient(b, 0, 0, 8, 26, RGBColor(238, 247, 249), RGBColor(208, 231, 236));
  });
  WriteControlPieces(out, s);
  Write(out, "SKIN2_SIDECHANNELBAR", [](TBitmap& b) {
    b.SetSize(8, 24);
    VerticalGradient(b, 0, 0, 8, 24, RGBColor(230, 242, 244), RGBColor(204, 228, 234));
  });
  Write(out, "SKIN2_SIDECHANNELTITLE", [](TBitmap& b) {
    b.SetSize(8, 22);
    VerticalGradient(b, 0, 0, 8, 22, kCaptionTop, kCaptionBottom);
  });
  Write(out, "SKIN2_SCROLLBUTTON", [&](TBitmap& b) { ScrollButtons(b, s, true); });
}

} // namespace

int main(int argc, char** argv) { return GeneratorMain(argc, argv, Draw); }
