#pragma once
// The drawing primitives' canvas over a GDI device context.
#include <windows.h>

#include "skin/SkinCanvas.h"

// A memory DC holding a bitmap's DIB section while it lives.
class TBitmapDc {
public:
  explicit TBitmapDc(const TBitmap& bitmap);
  ~TBitmapDc();
  TBitmapDc(const TBitmapDc&) = delete;
  TBitmapDc& operator=(const TBitmapDc&) = delete;
  HDC Get() const { return dc_; }

private:
  HDC dc_;
  HGDIOBJ old_;
};

class TGdiCanvas final : public ISkinCanvas {
public:
  explicit TGdiCanvas(HDC dc) : dc_(dc) {}
  void DrawBitmap(const TBitmap& bitmap, const TRect& source, const TRect& dest, TColor key,
                  bool halftone = false) override;
  void FillRect(const TRect& rect, TColor color) override;
  void FrameRect(const TRect& rect, TColor color) override;
  void Line(int x1, int y1, int x2, int y2, TColor color) override;
  void Triangle(const TPoint (&points)[3], TColor color) override;
  int TextWidth(const std::string& text) override;

  // System colours (high byte 0xFF) as the RGB they stand for now.
  static COLORREF ToRgb(TColor color);

private:
  HDC dc_;
};
