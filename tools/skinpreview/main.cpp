// skinpreview SKIN.ssk OUT.bmp: loads a skin the way the program does and
// draws one picture of it for its author: the same window twice, active
// and inactive (caption composed and cut by its region as a frame does it,
// title, caption buttons, menu bar with an open menu, borders, and the
// controls: push buttons in their states, check boxes, radio buttons, an
// edit, a progress bar, tabs, a list with a scroll bar, a horizontal scroll
// bar and a track bar), then every bitmap of the skin enlarged.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PixelFont.h"
#include "skin/FramePainter.h"
#include "skin/ScrollPainter.h"
#include "skin/SkinDraw.h"
#include "skin/SkinReader.h"

namespace {

using C = TSkinColorKey;
using B = TSkinBitmapKey;
using F = TSkinFlagKey;

// The inactive caption colour of Wine's (and classic Windows') default
// scheme, for titles drawn in the system's inactive-caption colour.
constexpr TColor kInactiveCaptionRgb = RGBColor(128, 128, 128);
constexpr TColor kGreyText = RGBColor(128, 128, 128); // disabled captions
constexpr int kNativeFrame = 4;                        // a sizeable window's native side and bottom

// What the preview needs of a loaded skin.
class TPreviewSkin {
public:
  explicit TPreviewSkin(const std::string& file) : reader_(file, "") {
    if (!reader_.Ready()) throw ESkinError("no skin at " + file);
    metrics_ = ComputeSkinMetrics(reader_);
    scroll_.SetReader(&reader_);
    tabs_.SetReader(&reader_);
    progress_.SetReader(&reader_);
  }
  const TSkinReader& Reader() const { return reader_; }
  const TSkinMetrics& Metrics() const { return metrics_; }
  TColor Color(C key) const { return Rgb(reader_.GetColor(key)); }
  TColor Key() const { return metrics_.TransparentColor; }
  TColor Form() const { return Color(C::SKIN2_FORMCOLOR); }
  const TBitmap* Bitmap(B key) const { return reader_.GetBitmap(key); }
  bool Flag(F key) const { return reader_.GetFlag(key); }
  // The bitmap's cell (1-based) of a strip of count cells.
  void Cell(B key, int count, int index, TBitmap& out) const { ExtractCell(Bitmap(key), out, count, index); }
  const TSkinScrollBtnRes& Scroll() const { return scroll_; }
  const TSkinTabRes& TabFaces() const { return tabs_; }
  const TSkinProgressBarRes& Progress() const { return progress_; }
  std::string Name() const {
    for (const auto& [name, value] : reader_.FileReader()->Strings())
      if (name == "SKIN_NAME") return value;
    return "(no SKIN_NAME)";
  }
  static TColor Rgb(TColor color) { return color == SystemColor(3) ? kInactiveCaptionRgb : color; }

private:
  TSkinReader reader_;
  TSkinMetrics metrics_;
  TSkinScrollBtnRes scroll_;
  TSkinTabRes tabs_;
  TSkinProgressBarRes progress_;
};

void Blit(TBitmap& target, const TBitmap& source, int x, int y, TColor key = kNoColor) {
  TBitmapCanvas canvas(target);
  canvas.DrawBitmap(source, {0, 0, source.Width(), source.Height()}, {x, y, x + source.Width(), y + source.Height()},
                    key);
}

// One window composed as the skinned frame composes it.
class TWindowPreview {
public:
  TWindowPreview(const TPreviewSkin& skin, int width, int height, bool active)
      : skin_(skin), W(width), H(height), active_(active), window_(width, height), inside_(width * height, true) {}

  void Render(TBitmap& page, int left, int top) {
    TBitmapCanvas canvas(window_);
    canvas.FillRect({0, 0, W, H}, skin_.Form());
    const int ch = skin_.Metrics().CaptionHeight;
    const TBitmap* bar = skin_.Bitmap(B::SKIN2_MENUBAR);
    menuHeight_ = bar && !bar->Empty() ? bar->Height() : 20;
    TBitmap caption(W, ch), bottom;
    Caption(caption);
    Bottom(bottom);
    TBorderInput border{W, H, ch, menuHeight_, 0, kNativeFrame, kNativeFrame, false,
                        skin_.Color(C::SKIN2_MENUBARSTARTCOLOR)};
    PaintSideBordersAndGaps(skin_.Reader(), skin_.Metrics(), canvas, border);
    Region(caption, bottom);

    client_ = {std::max(skin_.Metrics().LeftBorderWidth, kNativeFrame), ch + menuHeight_,
               W - std::max(skin_.Metrics().RightBorderWidth, kNativeFrame),
               H - std::max(skin_.Metrics().BottomBorderHeight, kNativeFrame)};
    MenuBar();
    Controls();
    OpenMenu();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (inside_[static_cast<std::size_t>(y * W + x)]) page.SetPixel(left + x, top + y, window_.Pixel(x, y));
  }

private:
  // --- frame -----------------------------------------------------------------------------------

  void Caption(TBitmap& caption) {
    TBitmapCanvas canvas(caption, font_.Advance());
    TCaptionInput input;
    input.Width = W;
    input.WindowHeight = H;
    input.BufferHeight = caption.Height();
    input.HasSystemIcon = input.HasMaximizeButton = input.HasMinimizeButton = true;
    input.Active = active_;
    input.Cursor = {-100, -100};
    input.Title = active_ ? skin_.Name() + " - active window" : skin_.Name() + " - inactive window";
    const TCaptionLayout layout = ComposeCaption(skin_.Reader(), skin_.Metrics(), canvas, caption, input);
    if (layout.DrawIcon) Icon(caption, layout.IconRect.Left, layout.IconRect.Top);
    // The 7-pixel letters stand where a 13-pixel caption font has its capitals.
    font_.Draw(caption, layout.TextX, layout.TextY + 3, layout.Title, TPreviewSkin::Rgb(layout.TextColor));
    const bool shaped = skin_.Flag(F::SKIN2_TITLEBARNEEDREGION);
    Output(caption, shaped, 0);
    captionShaped_ = shaped;
  }

  void Bottom(TBitmap& bottom) {
    const TBitmap* first = skin_.Bitmap(B::SKIN2_FORMBOTTOMBORDER1);
    if (!first || first->Empty()) return;
    bottom.SetSize(W, first->Height());
    TBitmapCanvas canvas(bottom);
    ComposeBottom(skin_.Reader(), canvas, bottom, W);
    bottomShaped_ = skin_.Flag(F::SKIN2_BOTTOMBORDERNEEDREGION);
    Output(bottom, bottomShaped_, H - bottom.Height());
  }

  // Without a region the buffer goes out as it is (keyed pixels would
  // show); with one, keyed pixels show the form colour where the region
  // does not cut them away.
  void Output(const TBitmap& buffer, bool shaped, int y) {
    if (!shaped) {
      Blit(window_, buffer, 0, y);
      return;
    }
    TBitmap masked(buffer.Width(), buffer.Height());
    TBitmapCanvas canvas(masked);
    ComposeMasked(canvas, buffer, skin_.Form(), skin_.Key());
    Blit(window_, masked, 0, y);
  }

  void Region(const TBitmap& caption, const TBitmap& bottom) {
    if (!captionShaped_ && !bottomShaped_) return;
    std::fill(inside_.begin(), inside_.end(), false);
    const TSkinMetrics& m = skin_.Metrics();
    for (const TRect& r : RegionRects(captionShaped_ ? &caption : nullptr, m.CaptionRegionMin, m.CaptionRegionMax,
                                      bottomShaped_ && !bottom.Empty() ? &bottom : nullptr, m.BottomRegionMin,
                                      m.BottomRegionMax, m.TransparentColor, W, H))
      for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, H); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, W); ++x) inside_[static_cast<std::size_t>(y * W + x)] = true;
  }

  // A stand-in for the program's icon: a rounded blue square with a white bar.
  static void Icon(TBitmap& target, int x, int y) {
    for (int j = 0; j < 16; ++j)
      for (int i = 0; i < 16; ++i) {
        const bool corner = (i == 0 || i == 15) && (j == 0 || j == 15);
        if (!corner) target.SetPixel(x + i, y + j, RGBColor(60, 110, 200));
      }
    for (int j = 4; j < 12; ++j)
      for (int i = 5; i < 11; ++i) target.SetPixel(x + i, y + j, RGBColor(250, 250, 250));
  }

  // --- menu bar and an open menu ---------------------------------------------------------------

  void MenuBar() {
    TBitmapCanvas canvas(window_);
    const TRect bar{client_.Left, client_.Top - menuHeight_, client_.Right, client_.Top};
    StretchBitmap(skin_.Bitmap(B::SKIN2_MENUBAR), canvas, bar);
    int x = bar.Left + 4;
    for (const std::string item : {"File", "Edit", "View", "Help"}) {
      const int w = font_.Width(item) + 14;
      TColor ink = skin_.Color(C::SKIN2_TOPMENUFONTCOLOR);
      if (item == "Edit" && active_) {
        canvas.FillRect({x, bar.Top + 1, x + w, bar.Bottom - 1}, skin_.Color(C::SKIN2_TOPSELECTEDMENUCOLOR));
        canvas.FrameRect({x, bar.Top + 1, x + w, bar.Bottom - 1}, skin_.Color(C::SKIN2_TOPSELECTEDMENUBORDERCOLOR));
        ink = skin_.Color(C::SKIN2_TOPSELECTEDMENUFONTCOLOR);
        menuLeft_ = x;
      }
      font_.Draw(window_, x + 7, bar.Top + (menuHeight_ - TPixelFont::Height) / 2, item, ink);
      x += w;
    }
  }

  // Laid out as the skinned menu draws its items: a plain left bar 26
  // pixels wide holding the check mark, the caption from 30 pixels in.
  void OpenMenu() {
    if (!active_ || menuLeft_ < 0) return;
    TBitmapCanvas canvas(window_);
    constexpr int w = 150, row = 22, bar = 26, separator = 8;
    const char* items[] = {"Undo", "-", "Cut", "Copy", "Paste", "Word wrap"};
    const TRect menu{menuLeft_, client_.Top, menuLeft_ + w, client_.Top + 5 * row + separator + 2};
    canvas.FillRect(menu, skin_.Color(C::SKIN2_MENUITEMCOLOR));
    canvas.FillRect({menu.Left + 1, menu.Top + 1, menu.Left + 1 + bar, menu.Bottom - 1},
                    skin_.Color(C::SKIN2_LEFTBARSTARTCOLOR));
    canvas.FrameRect(menu, skin_.Color(C::SKIN2_CONTROLBORDERCOLOR));
    int y = menu.Top + 1;
    for (const std::string item : items) {
      const TRect r{menu.Left + 1, y, menu.Right - 1, y + (item == "-" ? separator : row)};
      y = r.Bottom;
      if (item == "-") {
        canvas.Line(r.Left + 30, r.Top + 2, r.Right - 2, r.Top + 2, RGBColor(0x84, 0x82, 0x84));
        continue;
      }
      TColor ink = skin_.Color(C::SKIN2_MENUITEMFONTCOLOR);
      if (item == "Copy") {
        canvas.FillRect(r, skin_.Color(C::SKIN2_SELECTEDMENUCOLOR));
        canvas.FrameRect(r, skin_.Color(C::SKIN2_SELECTEDMENUBORDERCOLOR));
        ink = skin_.Color(C::SKIN2_SELECTEDMENUFONTCOLOR);
      }
      if (item == "Word wrap")
        if (const TBitmap* check = skin_.Bitmap(B::SKIN2_CHECKEDMENUICON))
          Blit(window_, *check, r.Left + 4, r.Top + 3, skin_.Key());
      font_.Draw(window_, r.Left + 30, r.Top + (row - TPixelFont::Height) / 2, item, ink);
    }
  }

  // --- controls --------------------------------------------------------------------------------

  void Controls() {
    const int l = client_.Left + 10, t = client_.Top + 10;
    const char* labels[] = {"Normal", "Hot", "Pressed", "Disabled"};
    // Below the open menu.
    for (int i = 0; i < 4; ++i) PushButton(l + i * 82, t + 126, 75, 23, i < 3 ? i + 1 : 1, labels[i], i == 3);
    Mark(B::SKIN2_CHECKBOX, 6, F::SKIN2_CHECKBOXTRANS, l, t + 160, {{1, "Checked"}, {3, "Clear"}, {2, "Mixed"}, {4, "Disabled"}});
    Mark(B::SKIN2_RADIOBUTTON, 4, F::SKIN2_RADIOBUTTONTRANS, l, t + 182, {{1, "On"}, {2, "Off"}, {3, "Disabled"}, {4, "Off"}});
    Edit(l, t + 206, 150, 21, "Edit text");
    ProgressBar(l + 160, t + 208, 160, 60);
    Tabs(l, t + 236, 250, client_.Bottom - (t + 236) - 26);
    List(client_.Right - 126, client_.Top + 10, 116, 150);
    HorizontalScroll(l, client_.Bottom - 20, 250);
    TrackBar(client_.Right - 126, client_.Top + 170, 116);
  }

  void PushButton(int x, int y, int w, int h, int cell, const std::string& text, bool disabled) {
    TBitmap face;
    skin_.Cell(B::SKIN2_BUTTON, 3, cell, face);
    TBitmap area(w, h);
    TBitmapCanvas canvas(area);
    canvas.FillRect({0, 0, w, h}, skin_.Form());
    DrawNinePart(&face, canvas, {0, 0, w, h}, skin_.Key(), skin_.Flag(F::SKIN2_BUTTONTRANS));
    const TColor ink = disabled ? kGreyText : skin_.Color(C::SKIN2_BUTTONFONTCOLOR);
    font_.Draw(area, (w - font_.Width(text)) / 2, (h - TPixelFont::Height) / 2 + (cell == 3 ? 1 : 0), text, ink);
    Blit(window_, area, x, y);
  }

  struct MarkItem {
    int Cell;
    const char* Text;
  };
  void Mark(B key, int count, F transparency, int x, int y, std::initializer_list<MarkItem> items) {
    for (const MarkItem& item : items) {
      TBitmap mark;
      skin_.Cell(key, count, item.Cell, mark);
      Blit(window_, mark, x, y, skin_.Flag(transparency) ? skin_.Key() : kNoColor);
      const bool disabled = item.Cell > count / 2;
      font_.Draw(window_, x + mark.Width() + 5, y + (mark.Height() - TPixelFont::Height) / 2, item.Text,
                 disabled ? kGreyText : skin_.Color(C::SKIN2_CONTROLFONTCOLOR));
      x += 82;
    }
  }

  void Edit(int x, int y, int w, int h, const std::string& text) {
    TBitmapCanvas canvas(window_);
    canvas.FillRect({x, y, x + w, y + h}, skin_.Color(C::SKIN2_CONTROLCOLOR));
    canvas.FrameRect({x, y, x + w, y + h}, skin_.Color(C::SKIN2_CONTROLBORDERCOLOR));
    font_.Draw(window_, x + 5, y + (h - TPixelFont::Height) / 2, text, skin_.Color(C::SKIN2_CONTROLFONTCOLOR));
  }

  // Start cap, filled part, empty rest and end cap, as the skinned bar lays them.
  void ProgressBar(int x, int y, int w, int percent) {
    const TSkinProgressBarRes& res = skin_.Progress();
    if (!res.Horz(2)) return;
    const int h = res.Horz(2)->Height(), first = res.FirstWidth(), last = res.LastWidth();
    TBitmap area(w, h);
    TBitmapCanvas canvas(area);
    canvas.FillRect({0, 0, w, h}, skin_.Form());
    const int end = first + (w - first - last) * percent / 100;
    const TRect parts[4] = {{0, 0, first, h}, {first, 0, end, h}, {end, 0, w - last, h}, {w - last, 0, w, h}};
    for (int i = 0; i < 4; ++i)
      if (TBitmap* piece = res.Horz(i + 1); piece && !piece->Empty() && !parts[i].Empty())
        DrawVertEnds(piece, canvas, parts[i], 0);
    Blit(window_, area, x, y);
  }

  void Tabs(int x, int y, int w, int h) {
    const TSkinTabRes& res = skin_.TabFaces();
    TBitmap* selected = res.FirstCell(0);
    TBitmap* other = res.SecondCell(0);
    if (!selected || !other || selected->Empty()) return;
    constexpr int tabHeight = 22, tabWidth = 76;
    TBitmapCanvas canvas(window_);
    const TRect page{x, y + tabHeight - 2, x + w, y + h};
    canvas.FrameRect(page, skin_.Color(C::SKIN2_CONTROLBORDERCOLOR));
    const char* names[] = {"General", "Advanced"};
    for (int i = 0; i < 2; ++i) {
      TBitmap face;
      face.Assign(i == 0 ? *selected : *other);
      if (skin_.Flag(F::SKIN2_TABCONTROLTRANS)) ReplaceColor(face, skin_.Key(), skin_.Form());
      TBitmap tab(tabWidth, tabHeight);
      TBitmapCanvas tabCanvas(tab);
      DrawHorzEnds(&face, tabCanvas, {0, 0, tabWidth, tabHeight}, face.Width() / 3);
      const std::string text = names[i];
      font_.Draw(tab, (tabWidth - font_.Width(text)) / 2, (tabHeight - TPixelFont::Height) / 2 + 1, text,
                 skin_.Color(i == 0 ? C::SKIN2_TABCONTROLACTIVEFONTCOLOR : C::SKIN2_TABCONTROLINACTIVEFONTCOLOR));
      Blit(window_, tab, x + 2 + i * tabWidth, y);
    }
    if (TBitmap* line = res.Line(0); line && !line->Empty()) {
      // Along the page edge, except under the selected tab, which opens onto the page.
      StretchBitmap(line, canvas, {x + 2 + tabWidth, page.Top, page.Right - 1, page.Top + line->Height()});
      StretchBitmap(line, canvas, {page.Left + 1, page.Top, x + 2, page.Top + line->Height()});
    }
    font_.Draw(window_, x + 12, page.Top + 14, "A page of the tab control.", skin_.Color(C::SKIN2_CONTROLFONTCOLOR));
  }

  void List(int x, int y, int w, int h) {
    TBitmapCanvas canvas(window_);
    canvas.FillRect({x, y, x + w, y + h}, skin_.Color(C::SKIN2_CONTROLCOLOR));
    canvas.FrameRect({x, y, x + w, y + h}, skin_.Color(C::SKIN2_CONTROLBORDERCOLOR));
    const char* rows[] = {"Documents", "Music", "Pictures", "Projects", "Recipes", "Travel", "Videos"};
    for (int i = 0; i < 7; ++i)
      font_.Draw(window_, x + 5, y + 6 + i * 16, rows[i], skin_.Color(C::SKIN2_CONTROLFONTCOLOR));
    const int side = 16;
    TBitmap bar(side, h - 2);
    TBitmapCanvas barCanvas(bar);
    PaintScrollImage(barCanvas, skin_.Scroll(), skin_.Color(C::SKIN2_SCROLLBARCOLOR), {0, 0, side, h - 2},
                     {0, side + 10, side, side + 60}, true, true);
    Blit(window_, bar, x + w - side - 1, y + 1);
  }

  void HorizontalScroll(int x, int y, int w) {
    const int side = 16;
    TBitmap bar(w, side);
    TBitmapCanvas canvas(bar);
    PaintScrollImage(canvas, skin_.Scroll(), skin_.Color(C::SKIN2_SCROLLBARCOLOR), {0, 0, w, side},
                     {side + 40, 0, side + 120, side}, true, false);
    Blit(window_, bar, x, y);
  }

  void TrackBar(int x, int y, int w) {
    const TBitmap* channel = skin_.Bitmap(B::SKIN2_TRACKBAR);
    const TBitmap* slider = skin_.Bitmap(B::SKIN2_TRACKBARSLIDER);
    if (!channel || !slider) return;
    TBitmapCanvas canvas(window_);
    const int cy = y + slider->Height() / 2 - channel->Height() / 2;
    StretchBitmap(channel, canvas, {x, cy, x + w, cy + channel->Height()});
    Blit(window_, *slider, x + w / 3, y, skin_.Key());
  }

  const TPreviewSkin& skin_;
  const int W, H;
  bool active_;
  TBitmap window_;
  std::vector<bool> inside_;
  TPixelFont font_{true};
  TRect client_;
  int menuHeight_ = 20, menuLeft_ = -1;
  bool captionShaped_ = false, bottomShaped_ = false;
};

// Every bitmap of the skin enlarged (three times, or twice when wide), in
// rows; keyed pixels show in the key colour. Returns the height used.
int BitmapSheet(const TPreviewSkin& skin, TBitmap* page, int left, int top, int width) {
  const TPixelFont font;
  int x = left, y = top, rowHeight = 0;
  for (const auto& [name, bitmap] : skin.Reader().FileReader()->Bitmaps()) {
    const int zoom = bitmap->Width() * 3 <= width / 2 ? 3 : 2;
    const int w = std::min(bitmap->Width() * zoom, width), h = std::min(bitmap->Height() * zoom, 120);
    const int labelWidth = font.Width(name.substr(6));
    const int cell = std::max(w, labelWidth);
    if (x + cell > left + width) {
      x = left;
      y += rowHeight + 14;
      rowHeight = 0;
    }
    if (page) {
      TBitmapCanvas canvas(*page);
      canvas.FillRect({x - 1, y - 1, x + w + 1, y + h + 1}, RGBColor(200, 200, 200));
      canvas.DrawBitmap(*bitmap, {0, 0, bitmap->Width(), bitmap->Height()}, {x, y, x + w, y + h}, kNoColor);
      font.Draw(*page, x, y + h + 3, name.substr(6), RGBColor(90, 90, 90)); // without "SKIN2_"
    }
    x += cell + 12;
    rowHeight = std::max(rowHeight, h);
  }
  return y + rowHeight + 14 - top;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skinpreview SKIN.ssk OUT.bmp\n");
    return 2;
  }
  try {
    const TPreviewSkin skin(argv[1]);
    constexpr int pageWidth = 1000, windowWidth = 480, windowHeight = 430;
    const int sheetTop = 30 + windowHeight + 20;
    const int height = sheetTop + BitmapSheet(skin, nullptr, 10, sheetTop, pageWidth - 20) + 10;
    TBitmap page(pageWidth, height);
    TBitmapCanvas canvas(page);
    canvas.FillRect({0, 0, pageWidth, height}, RGBColor(246, 248, 248));
    TPixelFont(true).Draw(page, 10, 10, skin.Name() + " - " + argv[1], RGBColor(40, 40, 40));
    TWindowPreview(skin, windowWidth, windowHeight, true).Render(page, 10, 30);
    TWindowPreview(skin, windowWidth, windowHeight, false).Render(page, 20 + windowWidth, 30);
    BitmapSheet(skin, &page, 10, sheetTop, pageWidth - 20);
    std::ofstream out(argv[2], std::ios::binary);
    out << page.ToBmp();
    return out ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "skinpreview: %s\n", error.what());
    return 1;
  }
}
