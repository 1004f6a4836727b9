#include "skin/engine/SkinSimpleControls.h"

#include <algorithm>

#include "framework/win32/Buttons.h"
#include "framework/win32/StdCtrls.h"
#include "skin/SkinDraw.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinWindow.h"
#include "skin/win32/GdiCanvas.h"

namespace {

// A cell of a skin strip on a DC at (x, y), keyed by the transparent colour when asked.
void DrawMark(TSkinEngine& engine, HDC dc, TSkinBitmapKey key, int frames, int frame, bool keyed, int x, int y) {
  TBitmap mark;
  if (!engine.CopyBitmap(key, mark, frames, frame) || mark.Empty()) return;
  TGdiCanvas canvas(dc);
  canvas.DrawBitmap(mark, {0, 0, mark.Width(), mark.Height()}, {x, y, x + mark.Width(), y + mark.Height()},
                    keyed ? static_cast<TColor>(skin::ToRgb(engine.Metrics().TransparentColor)) : kNoColor);
}

SIZE MarkSize(TSkinEngine& engine, TSkinBitmapKey key, int frames) {
  const TBitmap* strip = engine.GetBitmap(key);
  return strip ? SIZE{strip->Width() / frames, strip->Height()} : SIZE{0, 0};
}

} // namespace

void TSkinnedFontColor::Save(TControl& control) {
  color_ = control.Font.Color;
  parentFont_ = control.ParentFont;
  saved_ = true;
}

void TSkinnedFontColor::Apply(TControl& control, bool skinned, TColor color) {
  if (!saved_) Save(control);
  if (skinned) {
    if (control.ParentFont) control.Font.Assign(control.EffectiveFont());
    control.ParentFont = false;
    control.Font.Color = color;
  } else {
    control.Font.Color = color_;
    control.ParentFont = parentFont_;
  }
  control.Invalidate();
}

// --- check boxes and radio buttons --------------------------------------------------------

void TSkinCheckBox::Init() { font_.Save(*Control); }

void TSkinCheckBox::Apply() {
  font_.Apply(*Control, Engine.InEffect(), Engine.GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR));
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
  TSkinControl::AfterMessage(message);
  if (message.Msg == BM_SETCHECK || message.Msg == WM_LBUTTONDBLCLK || message.Msg == CN_COMMAND) PaintIfInEffect();
}

int TSkinCheckBox::MarkFrame() {
  auto* box = dynamic_cast<TCustomCheckBox*>(Control);
  const int state = box && box->Checked() ? 1 : 3;
  return IsEnabled() ? state : state + 3;
}

int TSkinRadioButton::MarkFrame() {
  auto* radio = dynamic_cast<TRadioButton*>(Control);
  const int state = radio && radio->Checked() ? 1 : 2;
  return IsEnabled() ? state : state + 2;
}

bool TSkinCheckBox::RightToLeftBox() {
  TAlignment alignment = TAlignment::taRightJustify;
  if (auto* box = dynamic_cast<TCustomCheckBox*>(Control)) alignment = box->Alignment();
  if (auto* radio = dynamic_cast<TRadioButton*>(Control)) alignment = radio->Alignment();
  // The box stands left when the caption is right of it.
  return alignment != TAlignment::taRightJustify;
}

void TSkinCheckBox::Paint() {
  HWND window = Handle();
  if (!window || !Engine.InEffect()) return;
  const SIZE mark = MarkSize(Engine, MarkKey(), MarkFrames());
  if (mark.cx <= 0) return;
  const RECT client = GetBounds();
  const int width = client.right - client.left, height = client.bottom - client.top;
  const int x = RightToLeftBox() ? width - mark.cx - 1 : 0;
  const int y = (height - mark.cy) / 2;
  const gdi::TClientDC dc(window);
  // The mark on a square of the control's colour at least 13 x 13.
  const int side = std::max({13, static_cast<int>(mark.cx), static_cast<int>(mark.cy)});
  const RECT square{x, (height - side) / 2, x + side, (height - side) / 2 + side};
  FillColor(dc.Get(), square, Control->Color());
  DrawMark(Engine, dc.Get(), MarkKey(), MarkFrames(), MarkFrame(), Engine.GetFlag(MarkTransparency()), x, y);
}

bool TSkinRadioButton::BeforeMessage(TMessage& message) {
  if (message.Msg == WM_LBUTTONDBLCLK) {
    // Not passed on: the skinner tells of the double click itself.
    if (Control->OnDblClick) Control->OnDblClick(Control);
    return false;
  }
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return false;
  }
  return true;
}

// --- group boxes, labels ------------------------------------------------------------------

void TSkinGroupBox::Paint() {
  HWND window = Handle();
  if (!window || !Engine.InEffect()) return;
  const gdi::TClientDC dc(window);
  const gdi::TSelection font(dc.Get(), Control->Font.Handle());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc.Get(), &metrics);
  const RECT client = GetBounds();
  const RECT box{0, metrics.tmHeight / 2, client.right, client.bottom};
  const gdi::TBrush border(CreateSolidBrush(skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR))));
  const gdi::TBrush inside(CreateSolidBrush(ColorToRGB(Control->Color())));
  FrameRect(dc.Get(), &box, border.Get());
  RECT inner = box;
  InflateRect(&inner, -1, -1);
  FrameRect(dc.Get(), &inner, inside.Get());
  const std::string caption = Control->Caption();
  if (caption.empty()) return;
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &size);
  SetBkMode(dc.Get(), OPAQUE);
  SetBkColor(dc.Get(), ColorToRGB(Control->Color()));
  SetTextColor(dc.Get(), skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR)));
  const int x = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_RTLREADING) ? client.right - 8 - size.cx : 8;
  TextOutA(dc.Get(), x, 0, caption.c_str(), static_cast<int>(caption.size()));
}

void TSkinLabel::Apply() {
  font_.Apply(*Control, Engine.InEffect(), Engine.GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR));
}

// --- status bars -------------------------------------------------------------------------

void TSkinStatusBar::Paint() {
  auto* bar = dynamic_cast<TCustomStatusBar*>(Control);
  HWND window = Handle();
  if (!bar || !window || !bar->SizeGrip || !Engine.InEffect()) return;
  const RECT client = GetBounds();
  const gdi::TClientDC dc(window);
  // The grip: a square of the bar's colour with four diagonal lines, and the strips beside it.
  const RECT grip{client.right - 15, client.bottom - 14, client.right, client.bottom};
  FillColor(dc.Get(), {grip.left, client.top, client.right, grip.top}, Control->Color());
  FillColor(dc.Get(), {grip.left - 2, grip.top, grip.left, client.bottom}, Control->Color());
  FillColor(dc.Get(), grip, Control->Color());
  const gdi::TPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_INACTIVECAPTION)));
  const gdi::TSelection chosen(dc.Get(), pen.Get());
  for (const int from : {0, 5, 9, 13}) {
    const int length = 14 - from;
    MoveToEx(dc.Get(), grip.left + from, grip.bottom - 1, nullptr);
    LineTo(dc.Get(), grip.left + from + length, grip.bottom - 1 - length);
  }
}

// --- tool bars ------------------------------------------------------------------------------

void TSkinToolBar::Init() {
  auto* bar = dynamic_cast<TToolBar*>(Control);
  if (!bar) return;
  savedFlat_ = bar->Flat;
  savedTransparent_ = bar->Transparent;
  savedColor_ = bar->Color();
}

void TSkinToolBar::Apply() {
  auto* bar = dynamic_cast<TToolBar*>(Control);
  if (!bar) return;
  const bool on = Engine.InEffect();
  // Unskinned and staying so: nothing to give back. A skin in effect is
  // applied again, so a skin changed at run time brings its own colour.
  if (!on && !skinnedNow_) return;
  skinnedNow_ = on;
  if (on) {
    bar->Flat = true;
    bar->Transparent = false;
    bar->SetColor(Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARSTARTCOLOR));
    if (!bar->Designing())
      bar->OnCustomDrawButton = [this](TToolBar* sender, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw) {
        DrawButton(sender, button, draw, defaultDraw);
      };
  } else {
    bar->Flat = savedFlat_;
    bar->Transparent = savedTransparent_;
    bar->SetColor(savedColor_);
    bar->OnCustomDrawButton = nullptr;
  }
  bar->RebuildButtons();
  bar->Invalidate();
}

void TSkinToolBar::Release() {
  if (auto* bar = dynamic_cast<TToolBar*>(Control); bar && skinnedNow_) bar->OnCustomDrawButton = nullptr;
  TSkinControlFramework::Release();
}

void TSkinToolBar::DrawButton(TToolBar* bar, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw) {
  const unsigned state = CustomDrawState(draw.nmcd);
  const bool hot = (state & cdsHot) != 0;
  const bool pressed = (state & cdsSelected) != 0 || (state & cdsChecked) != 0 || button->Down();
  const TColor text = Engine.GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR);
  if (!hot && !pressed) {
    // The bar draws it itself, its caption in the skin's text colour: the
    // bar's own colour comes from the skin, and may be dark.
    draw.clrText = skin::ToRgb(text);
    // A disabled caption is drawn raised in the highlight colour, which on
    // a dark bar would read brighter than an enabled one.
    draw.clrBtnHighlight = skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARSTARTCOLOR));
    return;
  }
  defaultDraw = false;
  HDC dc = draw.nmcd.hdc;
  const RECT r = draw.nmcd.rc;
  const TColor fill = hot && pressed ? Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARDOWNCOLOR)
                                     : Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARONCOLOR);
  FillColor(dc, r, fill);
  const gdi::TBrush border(CreateSolidBrush(skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARBORDERCOLOR))));
  FrameRect(dc, &r, border.Get());
  TImageList* images = bar->HotImages ? bar->HotImages.Get() : bar->Images.Get();
  const std::string caption = button->Caption();
  const gdi::TSelection font(dc, bar->Font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, skin::ToRgb(text));
  const bool dropDown = button->Style == TToolButtonStyle::tbsDropDown;
  const int width = r.right - r.left - (dropDown ? 14 : 0);
  if (images && button->ImageIndex >= 0) {
    if (bar->List) {
      images->Draw(dc, r.left + 5, r.top + 3, button->ImageIndex, button->Enabled());
      TextOutA(dc, r.left + images->Width() + 7, r.top + (images->Height() - 16) / 2 + 4, caption.c_str(),
               static_cast<int>(caption.size()));
    } else {
      images->Draw(dc, r.left + (width - images->Width()) / 2, r.top + 3, button->ImageIndex, button->Enabled());
      if (bar->ShowCaptions) {
        const std::string plain = StripAmpersands(caption);
        SIZE size{};
        GetTextExtentPoint32A(dc, plain.c_str(), static_cast<int>(plain.size()), &size);
        TextOutA(dc, r.left + (width - size.cx) / 2, r.top + images->Height() + 4, plain.c_str(),
                 static_cast<int>(plain.size()));
      }
    }
  } else {
    const std::string plain = StripAmpersands(caption);
    SIZE size{};
    GetTextExtentPoint32A(dc, plain.c_str(), static_cast<int>(plain.size()), &size);
    const int x = bar->List ? r.left + 8 : r.left + (width - size.cx) / 2;
    const int y = bar->List ? r.top + 3 : r.top + (pressed ? 5 : 4);
    TextOutA(dc, x, y, plain.c_str(), static_cast<int>(plain.size()));
  }
  if (dropDown) {
    const gdi::TPen black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    const gdi::TSelection pen(dc, black.Get());
    MoveToEx(dc, r.right - 14, r.top + 2, nullptr);
    LineTo(dc, r.right - 14, r.bottom - 2);
    TGdiCanvas canvas(dc);
    DrawDownArrow(canvas, r.right - 10, (r.top + r.bottom) / 2 - 1, true);
  }
}

// --- speed buttons ------------------------------------------------------------------------------

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
  case WM_PAINT:
    if (Control->Tag == kOwnPaintingTag) return true;
    if (message.WParam) PaintOn(reinterpret_cast<HDC>(message.WParam));
    return false;
  case WM_ERASEBKGND:
    message.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
    // Presses still reach the button (its clicks and groups are its own).
    return true;
  default:
    return true;
  }
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
  if (message.Msg == WM_PAINT) {
    if (Control->Tag == kOwnPaintingTag && Engine.InEffect() && message.WParam) {
      // Its own painting, under a thin frame in the button face colour.
      const HDC dc = reinterpret_cast<HDC>(message.WParam);
      const RECT r = Control->BoundsRect();
      const gdi::TBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
      FrameRect(dc, &r, face.Get());
    }
    return;
  }
  if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONUP || message.Msg == CM_MOUSEENTER ||
      message.Msg == CM_MOUSELEAVE) {
    TSkinControl::AfterMessage(message);
    Control->Invalidate();
  }
}

void TSkinSpeedButton::PaintOn(HDC dc) {
  auto* button = dynamic_cast<TSpeedButton*>(Control);
  if (!button) return;
  const RECT r = Control->BoundsRect();
  const bool enabled = Control->Enabled();
  const bool down = (Pressed() && enabled) || button->Down();
  const bool hot = Hover() && enabled;
  if (down || hot) {
    FillColor(dc, r, Engine.GetColor(down ? TSkinColorKey::SKIN2_TOOLBARDOWNCOLOR : TSkinColorKey::SKIN2_TOOLBARONCOLOR));
    const gdi::TBrush border(CreateSolidBrush(skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARBORDERCOLOR))));
    FrameRect(dc, &r, border.Get());
  } else {
    FillColor(dc, r, Engine.FormColor());
  }
  const int shift = Pressed() ? 1 : 0;
  SIZE glyph{0, 0};
  BITMAP info{};
  if (button->Glyph && GetObjectA(button->Glyph, sizeof info, &info))
    glyph = {info.bmWidth / std::max(1, button->NumGlyphs), info.bmHeight};
  const std::string caption = Control->Caption();
  const gdi::TSelection font(dc, Control->EffectiveFont().Handle());
  RECT measured{0, 0, 0, 0};
  if (!caption.empty()) DrawTextA(dc, caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  const TGlyphPlacement place =
      PlaceGlyphAndCaption(r.right - r.left, r.bottom - r.top, glyph, {measured.right, measured.bottom},
                           button->Layout, button->Margin, button->Spacing);
  if (glyph.cx > 0) {
    const int frame = enabled ? 0 : std::min(1, button->NumGlyphs - 1);
    const gdi::TCompatibleDC from(dc);
    const gdi::TSelection picked(from.Get(), button->Glyph);
    const COLORREF key = GetPixel(from.Get(), 0, info.bmHeight - 1);
    TransparentBlt(dc, r.left + place.glyph.x + shift, r.top + place.glyph.y + shift, glyph.cx, glyph.cy, from.Get(),
                   frame * glyph.cx, 0, glyph.cx, glyph.cy, key);
  }
  if (!caption.empty()) {
    RECT text = place.caption;
    OffsetRect(&text, r.left + shift, r.top + shift);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? ColorToRGB(Control->EffectiveFont().Color) : RGB(0x80, 0x80, 0x80));
    DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
}

// --- the system's check boxes and radio buttons ------------------------------------------------

int TSkinWndCheckBox::MarkFrame(LRESULT check, bool enabled) const {
  const int state = check == BST_CHECKED ? 1 : check == BST_INDETERMINATE ? 2 : 3;
  return enabled ? state : state + 3;
}

int TSkinWndRadioButton::MarkFrame(LRESULT check, bool enabled) const {
  const int state = check == BST_CHECKED ? 1 : 2;
  return enabled ? state : state + 2;
}

void TSkinWndCheckBox::AfterMessage(TMessage& message) {
  TSkinControl::AfterMessage(message);
  if (message.Msg == WM_LBUTTONDBLCLK || (RepaintsAfterSetCheck() && message.Msg == BM_SETCHECK)) PaintIfInEffect();
}

void TSkinWndCheckBox::Paint() {
  if (!Engine.InEffect() || !IsWindow(Window)) return;
  const SIZE mark = MarkSize(Engine, MarkKey(), MarkFrames());
  if (mark.cx <= 0) return;
  RECT r{};
  GetWindowRect(Window, &r);
  const gdi::TClientDC dc(Window);
  const RECT box{0, 0, std::max(static_cast<int>(mark.cx), 14), std::max<int>(mark.cy, r.bottom - r.top)};
  FillColor(dc.Get(), box, Engine.FormColor());
  const LRESULT check = SendMessageA(Window, BM_GETCHECK, 0, 0);
  DrawMark(Engine, dc.Get(), MarkKey(), MarkFrames(), MarkFrame(check, IsEnabled()), Engine.GetFlag(MarkTransparency()),
           0, 0);
}

void TSkinWndToolbarWindow32::Init() {
  if (skin::IsWindows95()) {
    const LRESULT style = SendMessageA(Window, TB_GETEXTENDEDSTYLE, 0, 0);
    SendMessageA(Window, TB_SETEXTENDEDSTYLE, 0, style | 0x8800);
  }
}
