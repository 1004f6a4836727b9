#include "skin/engine/SkinCommonControls.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "skin/ControlLayout.h"
#include "skin/SkinDraw.h"
#include "skin/SkinReader.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/win32/GdiCanvas.h"

namespace {

TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The buffer onto the window's client area in one transfer.
void CopyToWindow(HWND window, const TBitmap& buffer) {
  const gdi::TClientDC dc(window);
  const TBitmapDc from(buffer);
  BitBlt(dc.Get(), 0, 0, buffer.Width(), buffer.Height(), from.Get(), 0, 0, SRCCOPY);
}

LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

// Swallows the control's own painting; `paint` draws instead.
bool PaintInstead(HWND window, TMessage& message, TSkinControl& skinner) {
  if (message.Msg == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    skinner.Paint();
    EndPaint(window, &paint);
    message.Result = 0;
    return false;
  }
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return false;
  }
  return true;
}

} // namespace

// --- the base of the wholly painted controls ----------------------------------------------

bool TSkinPaintedControl::BeforeMessage(TMessage& message) {
  HWND window = Handle();
  return window ? PaintInstead(window, message, *this) : true;
}

void TSkinPaintedControl::AfterMessage(TMessage& message) {
  // Painted already, before the control would have.
  if (message.Msg == WM_PAINT || message.Msg == WM_ERASEBKGND) return;
  TSkinControlFramework::AfterMessage(message);
}

// --- progress bar -------------------------------------------------------------------------

void TSkinProgressBar::AfterMessage(TMessage& message) {
  TSkinPaintedControl::AfterMessage(message);
  switch (message.Msg) {
  case PBM_SETPOS:
  case PBM_DELTAPOS:
  case PBM_STEPIT:
  case PBM_SETRANGE:
  case PBM_SETRANGE32:
    PaintIfInEffect();
    break;
  default:
    break;
  }
}

void TSkinProgressBar::Paint() {
  HWND window = Handle();
  if (!window || !Engine.InEffect()) return;
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  TBitmap buffer(width, height);
  if (buffer.Empty()) return;
  const int position = static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0));
  const int min = static_cast<int>(SendMessageA(window, PBM_GETRANGE, TRUE, 0));
  const int max = static_cast<int>(SendMessageA(window, PBM_GETRANGE, FALSE, 0));
  TSkinProgressBarRes& res = Engine.ProgressBarRes();
  const int first = res.FirstWidth(), last = res.LastWidth();
  {
    const TBitmapDc dc(buffer);
    TGdiCanvas canvas(dc.Get());
    canvas.FillRect({0, 0, width, height}, Engine.FormColor());
    // Start cap, filled part, empty rest, end cap; each stretched across the bar in three parts.
    if (StyleOf(window) & PBS_VERTICAL) {
      const int fill = ProgressFillEnd(0, height - first - last, position, min, max);
      const TRect parts[4] = {{0, height - first, width, height},
                              {0, height - first - fill, width, height - first},
                              {0, last, width, height - first - fill},
                              {0, 0, width, last}};
      for (int i = 0; i < 4; ++i)
        if (TBitmap* piece = res.Vert(i + 1); piece && !piece->Empty() && !parts[i].Empty())
          DrawHorzEnds(piece, canvas, parts[i], piece->Width() / 3);
    } else {
      const int end = ProgressFillEnd(first, width - first - last, position, min, max);
      const TRect parts[4] = {
          {0, 0, first, height}, {first, 0, end, height}, {end, 0, width - last, height}, {width - last, 0, width, height}};
      for (int i = 0; i < 4; ++i)
        if (TBitmap* piece = res.Horz(i + 1); piece && !piece->Empty() && !parts[i].Empty())
          DrawVertEnds(piece, canvas, parts[i], 0);
    }
    GdiFlush();
  }
  CopyToWindow(window, buffer);
}

// --- tab controls ----------------------------------------------------------------------------

namespace {

// 0 tabs on top, 1 on the left, 2 at the bottom, 3 on the right: the
// orientation index of the skin's turned bitmaps.
int TabSide(HWND window) {
  const LONG style = StyleOf(window);
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? 3 : 1;
  return (style & TCS_BOTTOM) ? 2 : 0;
}

// The tab face (cell) laid into width × height: ends kept, middle
// stretched, and stretched in height in three parts too when the tab is
// taller than the face.
void LayTabFace(TBitmap* cell, TBitmap& tab) {
  const TBitmapDc dc(tab);
  TGdiCanvas canvas(dc.Get());
  const int w = tab.Width(), h = tab.Height();
  if (!cell || cell->Empty()) return;
  if (h > cell->Height() + 1) {
    TBitmap row(w, cell->Height());
    {
      const TBitmapDc rowDc(row);
      TGdiCanvas rowCanvas(rowDc.Get());
      DrawHorzEnds(cell, rowCanvas, {0, 0, w, cell->Height()}, cell->Width() / 3);
      GdiFlush();
    }
    DrawVertEnds(&row, canvas, {0, 0, w, h}, 0);
  } else {
    DrawHorzEnds(cell, canvas, {0, 0, w, h}, cell->Width() / 3);
  }
  GdiFlush();
}

void DrawTabCaption(TBitmap& tab, HWND window, HIMAGELIST images, int image, const std::string& text,
                    TColor color) {
  const TBitmapDc dc(tab);
  RECT area{0, 0, tab.Width(), tab.Height()};
  if (images && image >= 0) {
    int iw = 0, ih = 0;
    ImageList_GetIconSize(images, &iw, &ih);
    ImageList_Draw(images, image, dc.Get(), 6, (tab.Height() - ih) / 2, ILD_TRANSPARENT);
    area.left = 6 + iw;
  }
  auto* font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  const gdi::TSelection chosen(dc.Get(), font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), skin::ToRgb(color));
  DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &area, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  GdiFlush();
}

} // namespace

void TSkinTabFaces::Prepare(TSkinEngine& engine) {
  TSkinTabRes& res = engine.TabRes();
  const bool keyed = engine.GetFlag(TSkinFlagKey::SKIN2_TABCONTROLTRANS);
  for (auto [from, to] : {std::pair{res.FirstCell(0), &Selected}, std::pair{res.SecondCell(0), &Other}}) {
    to->SetSize(0, 0);
    if (!from || from->Empty()) continue;
    to->Assign(*from);
    if (keyed) ReplaceColor(*to, engine.Metrics().TransparentColor, engine.FormColor());
  }
}

void PaintSkinnedTabs(TSkinEngine& engine, HWND window, TSkinTabFaces& faces) {
  if (!window || !engine.InEffect()) return;
  RECT client{};
  GetClientRect(window, &client);
  TBitmap buffer(client.right, client.bottom);
  if (buffer.Empty()) return;
  TSkinTabRes& res = engine.TabRes();
  const int side = TabSide(window);
  const bool sideways = side == 1 || side == 3;
  const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(window, TCM_GETIMAGELIST, 0, 0));
  const int selected = static_cast<int>(SendMessageA(window, TCM_GETCURSEL, 0, 0));
  const int count = static_cast<int>(SendMessageA(window, TCM_GETITEMCOUNT, 0, 0));
  {
    const TBitmapDc dc(buffer);
    TGdiCanvas canvas(dc.Get());
    canvas.FillRect({0, 0, buffer.Width(), buffer.Height()}, engine.FormColor());
    RECT page = client;
    SendMessageA(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, 2, 2);
    canvas.FrameRect(ToTRect(page), engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR));
    for (int i = 0; i < count; ++i) {
      RECT r{};
      if (!SendMessageA(window, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) || IsRectEmpty(&r)) continue;
      char text[256] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      item.iImage = -1;
      SendMessageA(window, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
      const bool active = i == selected;
      const TColor textColor = engine.GetColor(active ? TSkinColorKey::SKIN2_TABCONTROLACTIVEFONTCOLOR
                                                      : TSkinColorKey::SKIN2_TABCONTROLINACTIVEFONTCOLOR);
      // Composed lying down as a top tab, then turned to its side.
      const int w = sideways ? r.bottom - r.top : r.right - r.left;
      const int h = sideways ? r.right - r.left : r.bottom - r.top;
      TBitmap tab(w, h);
      if (tab.Empty()) continue;
      LayTabFace(active ? &faces.Selected : &faces.Other, tab);
      if (side == 2) Rotate180(tab);
      if (sideways) {
        DrawTabCaption(tab, window, images, item.iImage, text, textColor);
        if (side == 1)
          RotateLeft90(tab);
        else
          RotateRight90(tab);
      }
      canvas.DrawBitmap(tab, {0, 0, tab.Width(), tab.Height()}, ToTRect(r), kNoColor);
      if (!sideways) {
        // The caption onto the face where it lies in the buffer.
        GdiFlush();
        TBitmap captioned(r.right - r.left, r.bottom - r.top);
        {
          const TBitmapDc captionDc(captioned);
          BitBlt(captionDc.Get(), 0, 0, captioned.Width(), captioned.Height(), dc.Get(), r.left, r.top, SRCCOPY);
        }
        DrawTabCaption(captioned, window, images, item.iImage, text, textColor);
        canvas.DrawBitmap(captioned, {0, 0, captioned.Width(), captioned.Height()}, ToTRect(r), kNoColor);
      }
  }
  // The line bitmap along the page edge next to the tabs.
  if (TBitmap* line = res.Line(side); line && !line->Empty()) {
    TRect edge;
    switch (side) {
    case 0: edge = {page.left + 1, page.top, page.right - 1, page.top + line->Height()}; break;
    case 2: edge = {page.left + 1, page.bottom - line->Height(), page.right - 1, page.bottom}; break;
    case 1: edge = {page.left, page.top + 1, page.left + line->Width(), page.bottom - 1}; break;
    default: edge = {page.right - line->Width(), page.top + 1, page.right, page.bottom - 1}; break;
    }
    if (!edge.Empty()) {
      canvas.FillRect(edge, engine.FormColor());
      StretchBitmap(line, canvas, edge);
    }
  }
  GdiFlush();
  }
  // The buffer leaves its memory DC before it is copied out.
  CopyToWindow(window, buffer);
}

void TSkinTabControl::Apply() {
  faces_.Prepare(Engine);
  if (HWND window = Handle()) InvalidateRect(window, nullptr, TRUE);
}

void TSkinTabControl::Paint() { PaintSkinnedTabs(Engine, Handle(), faces_); }

bool TSkinWndTabControl::BeforeMessage(TMessage& message) { return PaintInstead(Window, message, *this); }

void TSkinWndTabControl::AfterMessage(TMessage& message) {
  if (message.Msg == WM_PAINT || message.Msg == WM_ERASEBKGND) return;
  TSkinControlWnd::AfterMessage(message);
}

void TSkinWndTabControl::Init() {
  RECT r{};
  if (SendMessageA(Window, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) tabHeight_ = r.bottom - r.top;
}

void TSkinWndTabControl::Apply() {
  faces_.Prepare(Engine);
  if (Engine.InEffect())
    SendMessageA(Window, TCM_SETITEMSIZE, 0, 0);
  else if (tabHeight_ > 0)
    SendMessageA(Window, TCM_SETITEMSIZE, 0, MAKELPARAM(0, tabHeight_));
  InvalidateRect(Window, nullptr, TRUE);
}

void TSkinWndTabControl::Release() {
  if (tabHeight_ > 0 && IsWindow(Window)) SendMessageA(Window, TCM_SETITEMSIZE, 0, MAKELPARAM(0, tabHeight_));
  TSkinControlWnd::Release();
}

void TSkinWndTabControl::Paint() { PaintSkinnedTabs(Engine, Window, faces_); }

// --- track bar ------------------------------------------------------------------------------

void TSkinTrackBar::AfterMessage(TMessage& message) {
  TSkinPaintedControl::AfterMessage(message);
  if (message.Msg == WM_KILLFOCUS || message.Msg == CM_GOTFOCUS || message.Msg == WM_SETFOCUS) PaintIfInEffect();
}

void TSkinTrackBar::Apply() {
  channel_.SetSize(0, 0);
  HWND window = Handle();
  if (!Engine.CopyBitmap(TSkinBitmapKey::SKIN2_TRACKBAR, channel_) || channel_.Empty()) return;
  if (window && (StyleOf(window) & TBS_VERT)) RotateLeft90(channel_);
  if (window) InvalidateRect(window, nullptr, TRUE);
}

void TSkinTrackBar::Paint() {
  HWND window = Handle();
  if (!window || !Engine.InEffect()) return;
  RECT client{};
  GetClientRect(window, &client);
  TBitmap buffer(client.right, client.bottom);
  if (buffer.Empty()) return;
  const LONG style = StyleOf(window);
  const bool vertical = (style & TBS_VERT) != 0;
  const TColor key = Engine.Metrics().TransparentColor;
  RECT channel{}, thumb{};
  SendMessageA(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  SendMessageA(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  // The channel comes back lying down for vertical bars on some systems.
  if (vertical && channel.right - channel.left > channel.bottom - channel.top)
    channel = {channel.top, channel.left, channel.bottom, channel.right};
  {
    const TBitmapDc dc(buffer);
    TGdiCanvas canvas(dc.Get());
    canvas.FillRect({0, 0, buffer.Width(), buffer.Height()}, Engine.FormColor());
    if (!channel_.Empty()) {
      if (vertical) {
        const int x = (channel.left + channel.right) / 2 - channel_.Width() / 2;
        DrawVertEnds(&channel_, canvas, {x, channel.top, x + channel_.Width(), channel.bottom}, 0);
      } else {
        const int y = (channel.top + channel.bottom) / 2 - channel_.Height() / 2;
        TBitmap laid(channel.right - channel.left, channel_.Height());
        if (!laid.Empty()) {
          {
            const TBitmapDc laidDc(laid);
            TGdiCanvas laidCanvas(laidDc.Get());
            DrawHorzEnds(&channel_, laidCanvas, {0, 0, laid.Width(), laid.Height()}, channel_.Width() / 3);
            GdiFlush();
          }
          canvas.DrawBitmap(laid, {0, 0, laid.Width(), laid.Height()},
                            {channel.left, y, channel.right, y + laid.Height()}, key);
        }
      }
    }
    // Ticks: 3 pixels long, at each inner tick and 8 pixels inside both ends.
    if ((style & TBS_AUTOTICKS) && !(style & TBS_NOTICKS)) {
      std::vector<int> at;
      const int tics = static_cast<int>(SendMessageA(window, TBM_GETNUMTICS, 0, 0));
      for (int i = 0; i + 2 < tics; ++i) at.push_back(static_cast<int>(SendMessageA(window, TBM_GETTICPOS, i, 0)));
      const int length = vertical ? client.bottom : client.right;
      at.push_back(8);
      at.push_back(length - 9);
      const bool before = (style & TBS_BOTH) || (style & TBS_TOP);
      const bool after = (style & TBS_BOTH) || !(style & TBS_TOP);
      const TColor tick = 0;
      for (int p : at) {
        if (vertical) {
          if (before) canvas.Line(thumb.left - 5, p, thumb.left - 2, p, tick);
          if (after) canvas.Line(thumb.right + 2, p, thumb.right + 5, p, tick);
        } else {
          if (before) canvas.Line(p, thumb.top - 5, p, thumb.top - 2, tick);
          if (after) canvas.Line(p, thumb.bottom + 2, p, thumb.bottom + 5, tick);
        }
      }
    }
    TBitmap slider;
    if (Engine.CopyBitmap(vertical ? TSkinBitmapKey::SKIN2_TRACKBARVSLIDER : TSkinBitmapKey::SKIN2_TRACKBARSLIDER,
                          slider) &&
        !slider.Empty()) {
      // Centred on the thumb at its own size.
      const int x = (thumb.left + thumb.right - slider.Width()) / 2;
      const int y = (thumb.top + thumb.bottom - slider.Height()) / 2;
      canvas.DrawBitmap(slider, {0, 0, slider.Width(), slider.Height()},
                        {x, y, x + slider.Width(), y + slider.Height()}, key);
    }
    if (GetFocus() == window) {
      RECT band = vertical ? RECT{thumb.left - 1, 0, thumb.right + 1, client.bottom}
                           : RECT{0, thumb.top - 1, client.right, thumb.bottom + 1};
      SetTextColor(dc.Get(), RGB(0, 0, 0));
      SetBkColor(dc.Get(), RGB(255, 255, 255));
      DrawFocusRect(dc.Get(), &band);
    }
    GdiFlush();
  }
  CopyToWindow(window, buffer);
}

// --- up-down ---------------------------------------------------------------------------------

bool TSkinUpDown::BeforeMessage(TMessage& message) {
  HWND window = Handle();
  if (!window) return true;
  if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
    RECT client{};
    GetClientRect(window, &client);
    const bool horizontal = (StyleOf(window) & UDS_HORZ) != 0;
    const int x = static_cast<short>(LOWORD(message.LParam)), y = static_cast<short>(HIWORD(message.LParam));
    const int split = horizontal ? client.right / 2 : client.bottom / 2;
    pressedHalf_ = (horizontal ? x : y) <= split ? 1 : 2;
  } else if (message.Msg == WM_LBUTTONUP || message.Msg == WM_CAPTURECHANGED) {
    pressedHalf_ = 0;
  }
  return PaintInstead(window, message, *this);
}

void TSkinUpDown::AfterMessage(TMessage& message) {
  TSkinPaintedControl::AfterMessage(message);
  if (message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_CAPTURECHANGED) PaintIfInEffect();
}

void TSkinUpDown::Paint() {
  HWND window = Handle();
  if (!window || !Engine.InEffect()) return;
  RECT client{};
  GetClientRect(window, &client);
  TBitmap buffer(client.right, client.bottom);
  if (buffer.Empty()) return;
  const bool horizontal = (StyleOf(window) & UDS_HORZ) != 0;
  const bool enabled = IsEnabled();
  const TUpDownHalves halves = SplitUpDown(client.right, client.bottom, horizontal);
  {
    const TBitmapDc dc(buffer);
    TGdiCanvas canvas(dc.Get());
    canvas.FillRect({0, 0, buffer.Width(), buffer.Height()}, Engine.FormColor());
    for (int half = 1; half <= 2; ++half) {
      const TRect& r = half == 1 ? halves.First : halves.Second;
      const bool pressed = pressedHalf_ == half;
      canvas.FillRect(r, pressed ? Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARDOWNCOLOR) : Engine.FormColor());
      canvas.FrameRect(r, Engine.GetColor(TSkinColorKey::SKIN2_TOOLBARBORDERCOLOR));
      const int shift = pressed ? 1 : 0;
      const int cx = (r.Left + r.Right) / 2 + shift, cy = (r.Top + r.Bottom) / 2 + shift;
      if (horizontal) {
        if (half == 1)
          DrawLeftArrow(canvas, cx - 2, cy, enabled);
        else
          DrawRightArrow(canvas, cx - 1, cy - 3, enabled);
      } else {
        if (half == 1)
          DrawUpArrow(canvas, cx, cy - 2, enabled);
        else
          DrawDownArrow(canvas, cx - 3, cy - 1, enabled);
      }
    }
    GdiFlush();
  }
  CopyToWindow(window, buffer);
}
