#include "skin/engine/SkinListView.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Gdi.h"
#include "skin/SkinDraw.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/win32/GdiCanvas.h"

namespace {

constexpr UINT_PTR kHeaderHookId = 0x534B4844; // "SKHD"
constexpr int kInset = 4; // captions and images keep this far from a section's ends

} // namespace

TSkinListView::~TSkinListView() { UnhookHeader(); }

void TSkinListView::Init() {
  TSkinScrollWinControl::Init();
  HookHeader();
}

void TSkinListView::Apply() {
  TSkinScrollWinControl::Apply();
  HookHeader();
  // Repainted in the skin's look, or in its own when skinning stops.
  if (header_) InvalidateRect(header_, nullptr, TRUE);
}

void TSkinListView::Release() {
  UnhookHeader();
  TSkinScrollWinControl::Release();
}

void TSkinListView::Paint() {
  TSkinScrollWinControl::Paint();
  // The header comes with the report style, and anew with a view made again.
  HookHeader();
}

void TSkinListView::HookHeader() {
  if (header_ || Released) return;
  auto* view = dynamic_cast<TCustomListView*>(Control);
  if (!view || view->Designing() || !view->HandleAllocated()) return;
  HWND header = view->HeaderHandle();
  if (!header || !SetWindowSubclass(header, &TSkinListView::HeaderProc, kHeaderHookId, reinterpret_cast<DWORD_PTR>(this)))
    return;
  header_ = header;
  InvalidateRect(header_, nullptr, TRUE);
}

void TSkinListView::UnhookHeader() {
  if (!header_) return;
  if (IsWindow(header_)) {
    RemoveWindowSubclass(header_, &TSkinListView::HeaderProc, kHeaderHookId);
    InvalidateRect(header_, nullptr, TRUE);
  }
  header_ = nullptr;
}

LRESULT CALLBACK TSkinListView::HeaderProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<TSkinListView*>(data);
  if (msg == WM_NCDESTROY) {
    // The header goes before the skinner does (with its list view): let go of it now.
    RemoveWindowSubclass(window, &TSkinListView::HeaderProc, kHeaderHookId);
    if (self->header_ == window) self->header_ = nullptr;
    return DefSubclassProc(window, msg, wParam, lParam);
  }
  const bool disabled = self->Control && self->Engine.DisabledTag != 0 && self->Control->Tag == self->Engine.DisabledTag;
  if (disabled || self->Released || !self->Engine.InEffect()) return DefSubclassProc(window, msg, wParam, lParam);
  switch (msg) {
  case WM_PAINT: {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    self->PaintHeader();
    EndPaint(window, &paint);
    return 0;
  }
  case WM_ERASEBKGND:
    return 1;
  case HDM_SETITEMA:
  case HDM_SETITEMW: {
    const LRESULT result = DefSubclassProc(window, msg, wParam, lParam);
    self->PaintHeader();
    return result;
  }
  default:
    return DefSubclassProc(window, msg, wParam, lParam);
  }
}

void TSkinListView::PaintHeader() {
  HWND header = header_;
  if (!header || !Engine.InEffect() || !IsWindowVisible(header)) return;
  RECT client{};
  GetClientRect(header, &client);
  TBitmap buffer(client.right, client.bottom);
  if (buffer.Empty()) return;
  const int w = buffer.Width(), h = buffer.Height();
  const TColor form = Engine.FormColor();
  const TColor border = Engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR);
  LOGFONTA log{};
  const gdi::TFontHandle menuFont(skin::MenuFont(log) ? CreateFontIndirectA(&log) : nullptr);
  HFONT font = menuFont.Get() ? menuFont.Get() : reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0));
  auto* images = reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
  {
    const TBitmapDc to(buffer);
    HDC dc = to.Get();
    TGdiCanvas canvas(dc);
    canvas.FillRect({0, 0, w, h}, form);
    const gdi::TSelection chosen(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR)));
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    int lastRight = 0;
    for (int i = 0; i < count; ++i) {
      RECT r{};
      if (!SendMessageA(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) || r.right <= r.left) continue;
      char text[260] = {};
      HDITEMA item{};
      item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
      canvas.FillRect({r.left, r.top, r.right, r.bottom}, form);
      int imageWidth = 0, imageHeight = 0;
      const bool image = images && (item.fmt & HDF_IMAGE) && item.iImage >= 0 &&
                         ImageList_GetIconSize(images, &imageWidth, &imageHeight);
      if (!image) imageWidth = imageHeight = 0;
      const int gap = image ? kInset : 0;
      const int free = r.right - r.left - 2 * kInset - imageWidth - gap;
      const std::string caption = free > 0 ? EllipsisText(canvas, text, free) : std::string();
      const int content = imageWidth + (caption.empty() ? 0 : gap + canvas.TextWidth(caption));
      int x = r.left + kInset;
      switch (item.fmt & HDF_JUSTIFYMASK) {
      case HDF_RIGHT:
        x = std::max(x, static_cast<int>(r.right) - kInset - content);
        break;
      case HDF_CENTER:
        x = std::max(x, static_cast<int>(r.left + (r.right - r.left - content) / 2));
        break;
      default:
        break;
      }
      // Nothing of a section spills into its neighbour or over the divider.
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, r.left, r.top, r.right - 1, r.bottom);
      if (image) {
        ImageList_Draw(images, item.iImage, dc, x, r.top + (r.bottom - r.top - imageHeight) / 2, ILD_TRANSPARENT);
        x += imageWidth + gap;
      }
      if (!caption.empty()) {
        RECT place{x, r.top, r.right - 1, r.bottom};
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &place,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
      }
      RestoreDC(dc, saved);
      canvas.Line(r.right - 1, r.top, r.right - 1, r.bottom, border);
      lastRight = std::max(lastRight, static_cast<int>(r.right));
    }
    canvas.FillRect({lastRight, 0, w, h}, form);
    canvas.Line(0, h - 1, w, h - 1, border);
    GdiFlush();
  }
  const gdi::TClientDC to(header);
  const TBitmapDc from(buffer);
  BitBlt(to.Get(), 0, 0, w, h, from.Get(), 0, 0, SRCCOPY);
}
