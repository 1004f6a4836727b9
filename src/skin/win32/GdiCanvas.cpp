#include "skin/win32/GdiCanvas.h"

#include <utility>

namespace {

// Owns one GDI object and restores the one it replaced in a DC.
class SelectedObject {
public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ old_;
};

class Brush {
public:
  explicit Brush(COLORREF color) : brush_(CreateSolidBrush(color)) {}
  ~Brush() { DeleteObject(brush_); }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  HBRUSH Get() const { return brush_; }

private:
  HBRUSH brush_;
};

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

} // namespace

TBitmapDc::TBitmapDc(const TBitmap& bitmap)
    : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, static_cast<HBITMAP>(bitmap.Handle()))) {}

TBitmapDc::~TBitmapDc() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
}

COLORREF TGdiCanvas::ToRgb(TColor color) {
  if ((static_cast<std::uint32_t>(color) >> 24) == 0xFF) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

void TGdiCanvas::DrawBitmap(const TBitmap& bitmap, const TRect& source, const TRect& dest, TColor key,
                            bool halftone) {
  if (bitmap.Empty() || source.Empty() || dest.Empty()) return;
  TBitmapDc from(bitmap);
  if (key >= 0 && key <= 0xFFFFFF) {
    TransparentBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), from.Get(), source.Left, source.Top,
                   source.Width(), source.Height(), static_cast<UINT>(key));
    return;
  }
  const int oldMode = SetStretchBltMode(dc_, halftone ? HALFTONE : COLORONCOLOR);
  POINT origin{};
  if (halftone) SetBrushOrgEx(dc_, 0, 0, &origin);
  StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), from.Get(), source.Left, source.Top,
             source.Width(), source.Height(), SRCCOPY);
  if (halftone) SetBrushOrgEx(dc_, origin.x, origin.y, nullptr);
  SetStretchBltMode(dc_, oldMode);
}

void TGdiCanvas::FillRect(const TRect& rect, TColor color) {
  Brush brush(ToRgb(color));
  const RECT r = ToRect(rect);
  ::FillRect(dc_, &r, brush.Get());
}

void TGdiCanvas::FrameRect(const TRect& rect, TColor color) {
  Brush brush(ToRgb(color));
  const RECT r = ToRect(rect);
  ::FrameRect(dc_, &r, brush.Get());
}

void TGdiCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
  SelectedObject pen(dc_, CreatePen(PS_SOLID, 1, ToRgb(color)));
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

void TGdiCanvas::Triangle(const TPoint (&points)[3], TColor color) {
  SelectedObject pen(dc_, CreatePen(PS_SOLID, 1, ToRgb(color)));
  SelectedObject brush(dc_, CreateSolidBrush(ToRgb(color)));
  const POINT p[3] = {{points[0].X, points[0].Y}, {points[1].X, points[1].Y}, {points[2].X, points[2].Y}};
  Polygon(dc_, p, 3);
}

int TGdiCanvas::TextWidth(const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}
