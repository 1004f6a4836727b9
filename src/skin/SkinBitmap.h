#pragma once
// The bitmap the skin engine works with: loaded from a Windows BMP file
// image, with pixel access, a transparent colour and a copy.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/Color.h"
#include "platform/PixelMemory.h"


class EBitmapError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };
enum class TTransparentMode { Auto, Fixed };

class TBitmap {
public:
  TBitmap() = default;
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // A whole Windows bitmap file ("BM" header, then the DIB); raises
  // EBitmapError for anything it cannot read or whose sizes do not fit.
  static std::unique_ptr<TBitmap> FromBmp(const std::uint8_t* data, std::size_t size);
  // A 24-bit bottom-up BMP file of the pixels.
  std::string ToBmp() const;

  // Pixels, format and transparency of the other bitmap.
  void Assign(const TBitmap& other);
  std::unique_ptr<TBitmap> Clone() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // New size, all pixels black.
  void SetSize(int width, int height);

  TPixelFormat PixelFormat() const { return format_; }
  // Pixels keep their colours; the format only says how many bits they had.
  void SetPixelFormat(TPixelFormat format) { format_ = format; }

  // kNoColor outside the bitmap; writes outside it are ignored.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  // Row y: width pixels of blue, green, red, unused.
  std::uint32_t* ScanLine(int y) const { return memory_.Bits() + static_cast<std::size_t>(y) * width_; }

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  TTransparentMode TransparentMode() const { return mode_; }
  void SetTransparentMode(TTransparentMode mode) { mode_ = mode; }
  // In automatic mode, the colour of the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color) {
    transparentColor_ = color;
    mode_ = TTransparentMode::Fixed;
  }

  // The DIB section behind the pixels (Windows only; null when empty).
  void* Handle() const { return memory_.Handle(); }

  static std::uint32_t ToPixel(TColor color) {
    return static_cast<std::uint32_t>(((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF));
  }
  static TColor FromPixel(std::uint32_t pixel) {
    return static_cast<TColor>(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16));
  }

private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  platform::PixelMemory memory_;
  bool transparent_ = false;
  TTransparentMode mode_ = TTransparentMode::Auto;
  TColor transparentColor_ = kNoColor;
};
