#pragma once
// What the skin's drawing primitives draw on. The program draws on a GDI
// device context; tools and tests draw into a bitmap in memory.
#include <string>

#include "skin/SkinBitmap.h"

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

class ISkinCanvas {
public:
  virtual ~ISkinCanvas() = default;
  // A stretching block transfer of source (inside the bitmap) into dest.
  // Pixels of the key colour are left out unless the key is kNoColor;
  // halftone smooths a shrinking stretch.
  virtual void DrawBitmap(const TBitmap& bitmap, const TRect& source, const TRect& dest, TColor key,
                          bool halftone = false) = 0;
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  virtual void FrameRect(const TRect& rect, TColor color) = 0;
  // From (x1, y1) up to, not including, (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2, TColor color) = 0;
  // A filled triangle, outline included.
  virtual void Triangle(const TPoint (&points)[3], TColor color) = 0;
  virtual int TextWidth(const std::string& text) = 0;
};

// Draws into a bitmap in memory: nearest-pixel stretching, no smoothing,
// and text as many pixels wide as characterWidth times its length.
class TBitmapCanvas final : public ISkinCanvas {
public:
  explicit TBitmapCanvas(TBitmap& target, int characterWidth = 6) : target_(target), charWidth_(characterWidth) {}
  void DrawBitmap(const TBitmap& bitmap, const TRect& source, const TRect& dest, TColor key,
                  bool halftone = false) override;
  void FillRect(const TRect& rect, TColor color) override;
  void FrameRect(const TRect& rect, TColor color) override;
  void Line(int x1, int y1, int x2, int y2, TColor color) override;
  void Triangle(const TPoint (&points)[3], TColor color) override;
  int TextWidth(const std::string& text) override { return charWidth_ * static_cast<int>(text.size()); }

private:
  TBitmap& target_;
  int charWidth_;
};
