#include "framework/win32/Buttons.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/win32/Gdi.h"

TGlyphPlacement PlaceGlyphAndCaption(int width, int height, SIZE glyph, SIZE caption, TButtonLayout layout, int margin,
                                     int spacing) {
  const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  const int room = horizontal ? width : height;
  const int glyphAlong = horizontal ? glyph.cx : glyph.cy;
  const int captionAlong = horizontal ? caption.cx : caption.cy;
  if (glyphAlong == 0 || captionAlong == 0) spacing = 0;
  if (margin == -1 && spacing == -1) {
    margin = spacing = (room - glyphAlong - captionAlong) / 3;
  } else if (margin == -1) {
    margin = (room - glyphAlong - spacing - captionAlong + 1) / 2;
  } else if (spacing == -1) {
    spacing = (room - margin - glyphAlong - captionAlong) / 2;
  }
  TGlyphPlacement placed;
  LONG captionLeft = 0, captionTop = 0;
  switch (layout) {
  case TButtonLayout::blGlyphLeft:
    placed.glyph.x = margin;
    captionLeft = margin + glyph.cx + spacing;
    break;
  case TButtonLayout::blGlyphRight:
    placed.glyph.x = width - margin - glyph.cx;
    captionLeft = placed.glyph.x - spacing - caption.cx;
    break;
  case TButtonLayout::blGlyphTop:
    placed.glyph.y = margin;
    captionTop = margin + glyph.cy + spacing;
    break;
  case TButtonLayout::blGlyphBottom:
    placed.glyph.y = height - margin - glyph.cy;
    captionTop = placed.glyph.y - spacing - caption.cy;
    break;
  }
  if (horizontal) {
    placed.glyph.y = (height - glyph.cy + 1) / 2;
    captionTop = (height - caption.cy + 1) / 2;
  } else {
    placed.glyph.x = (width - glyph.cx + 1) / 2;
    captionLeft = (width - caption.cx + 1) / 2;
  }
  placed.caption = {captionLeft, captionTop, captionLeft + caption.cx, captionTop + caption.cy};
  return placed;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  ParentColor = true;
  width_ = 23;
  height_ = 22;
}

void TSpeedButton::SetState(bool& state, bool value) {
  if (state == value) return;
  state = value;
  Invalidate();
}

void TSpeedButton::SetDown(bool down) {
  if (GroupIndex == 0) down = false; // a button outside a group never stays down
  if (down == down_) return;
  if (down_ && !AllowAllUp) return; // the group keeps one down
  SetState(down_, down);
  if (!down || !parent_) return;
  for (int i = 0; i < parent_->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
        other && other != this && other->GroupIndex == GroupIndex && other->down_)
      other->SetState(other->down_, false);
}

void TSpeedButton::WndProc(TMessage& m) {
  const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool inside = at.x >= 0 && at.y >= 0 && at.x < width_ && at.y < height_;
  switch (m.Msg) {
  case CM_MOUSEENTER:
    SetState(hot_, true);
    break;
  case CM_MOUSELEAVE:
    SetState(hot_, false);
    break;
  case CM_ENABLEDCHANGED:
    if (!enabled_) {
      SetState(hot_, false);
      SetState(pressed_, false);
      tracking_ = false;
    }
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    tracking_ = true;
    SetState(pressed_, true);
    break;
  case WM_MOUSEMOVE:
    if (tracking_) SetState(pressed_, inside); // pressed again when the mouse comes back
    break;
  case WM_LBUTTONUP:
    if (!tracking_) break;
    tracking_ = false;
    SetState(pressed_, false);
    // Down changes before the click is told, as a person sees it.
    if (inside && GroupIndex != 0) SetDown(!down_ || !AllowAllUp);
    break;
  case WM_CAPTURECHANGED:
    tracking_ = false;
    SetState(pressed_, false);
    break;
  default:
    break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::PaintOn(HDC target) {
  if (width_ <= 0 || height_ <= 0) return;
  // Composed off-screen, copied in one block.
  const gdi::TMemoryDC buffer(target, width_, height_);
  HDC dc = buffer.Get();
  RECT r{0, 0, width_, height_};
  const bool sunk = pressed_ || down_;
  FillColor(dc, r, Color());
  if (Flat) {
    if (sunk) {
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot_ && enabled_) {
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (sunk ? DFCS_PUSHED : 0));
    if (down_ && !pressed_) FillColor(dc, r, SystemColor(COLOR_3DLIGHT)); // held down, not by the mouse
    r = {0, 0, width_, height_};
  }
  const int shift = sunk ? 1 : 0;

  SIZE glyph{0, 0};
  BITMAP info{};
  if (Glyph && GetObjectA(Glyph, sizeof info, &info)) glyph = {info.bmWidth / std::max(1, NumGlyphs), info.bmHeight};
  const gdi::TSelection font(dc, EffectiveFont().Handle());
  RECT measured{0, 0, 0, 0};
  if (!text_.empty()) DrawTextA(dc, text_.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  const TGlyphPlacement placed = PlaceGlyphAndCaption(width_, height_, glyph, {measured.right, measured.bottom}, Layout,
                                                      Margin, Spacing);
  if (glyph.cx > 0) {
    int frame = 0;
    if (!enabled_ && NumGlyphs > 1) {
      frame = 1;
    } else if (pressed_ && NumGlyphs > 2) {
      frame = 2;
    } else if (down_ && NumGlyphs > 3) {
      frame = 3;
    }
    const gdi::TCompatibleDC memory(dc);
    const gdi::TSelection picture(memory.Get(), Glyph);
    const COLORREF transparent = GetPixel(memory.Get(), 0, glyph.cy - 1);
    TransparentBlt(dc, placed.glyph.x + shift, placed.glyph.y + shift, glyph.cx, glyph.cy, memory.Get(),
                   frame * glyph.cx, 0, glyph.cx, glyph.cy, transparent);
  }
  if (!text_.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled_ ? ColorToRGB(EffectiveFont().Color) : GetSysColor(COLOR_GRAYTEXT));
    RECT caption = placed.caption;
    OffsetRect(&caption, shift, shift);
    DrawTextA(dc, text_.c_str(), -1, &caption, DT_SINGLELINE);
  }
  buffer.CopyTo(target, left_, top_);
}
