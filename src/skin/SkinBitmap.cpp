#include "skin/SkinBitmap.h"

#include <cstring>
#include <vector>

namespace {

// Bitmaps in skins are small; this bounds what a damaged header can ask for.
constexpr std::int64_t kMaxPixels = 64 * 1024 * 1024;
constexpr int kMaxSide = 32768;

[[noreturn]] void Bad(const std::string& what) { throw EBitmapError("Bitmap image is not valid (" + what + ")"); }

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

int MaskShift(std::uint32_t mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// A channel of a bit-field pixel widened to 8 bits by repeating its bits,
// so that the largest value becomes 255 (five bits abcde give abcdeabc).
std::uint32_t MaskedChannel(std::uint32_t value, std::uint32_t mask) {
  if (!mask) return 0;
  const int shift = MaskShift(mask);
  int width = 0;
  for (std::uint32_t m = mask >> shift; m & 1; m >>= 1) ++width;
  const std::uint32_t channel = (value & mask) >> shift & ((width >= 32 ? 0 : 1u << width) - 1);
  if (width >= 8) return channel >> (width - 8);
  std::uint32_t wide = 0;
  int filled = 0;
  while (filled < 8) {
    wide = wide << width | channel;
    filled += width;
  }
  return wide >> (filled - 8);
}

} // namespace

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

void TBitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<std::int64_t>(width) * height > kMaxPixels)
    throw EBitmapError("Bitmap size out of range");
  if (width == 0 || height == 0) width = height = 0;
  memory_ = platform::PixelMemory(width, height);
  width_ = width;
  height_ = height;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColor;
  return FromPixel(ScanLine(y)[x]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  ScanLine(y)[x] = ToPixel(color);
}

TColor TBitmap::TransparentColor() const {
  if (mode_ == TTransparentMode::Fixed) return transparentColor_;
  return Empty() ? kNoColor : Pixel(0, height_ - 1);
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  SetSize(other.width_, other.height_);
  if (!Empty()) std::memcpy(ScanLine(0), other.ScanLine(0), static_cast<std::size_t>(width_) * height_ * 4);
  format_ = other.format_;
  transparent_ = other.transparent_;
  mode_ = other.mode_;
  transparentColor_ = other.transparentColor_;
}

std::unique_ptr<TBitmap> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(*this);
  return copy;
}

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

// Palette indexes of a run-length encoded image (RLE8 or RLE4), bottom row
// first as stored; pixels the codes skip keep index 0.
std::vector<std::uint8_t> DecodeRle(const std::uint8_t* data, std::size_t size, int width, int height, bool rle4) {
  std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width) * height, 0);
  std::size_t at = 0;
  int x = 0, y = 0;
  auto put = [&](std::uint8_t index) {
    if (x < width && y < height) indexes[static_cast<std::size_t>(y) * width + x] = index;
    ++x;
  };
  while (y < height) {
    if (at + 2 > size) Bad("run-length data ends early");
    const std::uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) { // a run: one index (two alternating ones in RLE4) repeated
      for (int i = 0; i < count; ++i) put(rle4 ? static_cast<std::uint8_t>(i & 1 ? value & 15 : value >> 4) : value);
      continue;
    }
    if (value == 0) { // end of line
      x = 0;
      ++y;
    } else if (value == 1) { // end of bitmap
      break;
    } else if (value == 2) { // delta: move right and up
      if (at + 2 > size) Bad("run-length data ends early");
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else { // absolute: the next `value` indexes as they are, padded to a 16-bit word
      const std::size_t bytes = rle4 ? (value + 1u) / 2 : value;
      if (at + bytes > size) Bad("run-length data ends early");
      for (int i = 0; i < value; ++i)
        put(rle4 ? static_cast<std::uint8_t>(i & 1 ? data[at + i / 2] & 15 : data[at + i / 2] >> 4) : data[at + i]);
      at += (bytes + 1) & ~std::size_t{1};
    }
  }
  return indexes;
}

} // namespace

std::unique_ptr<TBitmap> TBitmap::FromBmp(const std::uint8_t* data, std::size_t size) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') Bad("no BMP header");
  const std::uint32_t pixelOffset = U32(data + 10);
  const std::uint8_t* info = data + 14;
  const std::uint32_t infoSize = U32(info);
  if (infoSize < 12 || infoSize > size - 14) Bad("header size");

  std::int64_t width = 0, height = 0;
  int bits = 0;
  std::uint32_t compression = kRgb, colorsUsed = 0;
  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  int paletteEntrySize = 4;
  std::size_t masksAfterHeader = 0; // bit fields stored after a 40-byte header
  if (infoSize == 12) { // OS/2 core header
    width = U16(info + 4);
    height = static_cast<std::int16_t>(U16(info + 6));
    bits = U16(info + 10);
    paletteEntrySize = 3;
  } else {
    if (infoSize < 40) Bad("header size");
    width = static_cast<std::int32_t>(U32(info + 4));
    height = static_cast<std::int32_t>(U32(info + 8));
    bits = U16(info + 14);
    compression = U32(info + 16);
    colorsUsed = U32(info + 32);
    if (compression == kBitFields) { // masks in the header, or right after a 40-byte one
      if (infoSize == 40) {
        if (size - 14 - 40 < 12) Bad("masks missing");
        masksAfterHeader = 12;
      }
      for (int i = 0; i < 3; ++i) masks[i] = U32(info + 40 + 4 * i);
    } else if (bits == 16) { // plain 16 bits are 5-5-5
      masks[0] = 0x7C00;
      masks[1] = 0x03E0;
      masks[2] = 0x001F;
    }
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    Bad("size");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Bad("bits per pixel");
  const bool rle = compression == kRle8 || compression == kRle4;
  if (compression > kBitFields) Bad("compression");
  if (compression == kBitFields && bits != 16 && bits != 32) Bad("bit fields");
  if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4)) Bad("run-length encoding");
  if (rle && topDown) Bad("run-length encoding");

  std::vector<std::uint32_t> palette;
  if (bits <= 8) {
    const std::uint32_t maxColors = 1u << bits;
    const std::uint32_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    const std::size_t paletteAt = 14 + infoSize + masksAfterHeader;
    if (paletteAt + static_cast<std::size_t>(count) * paletteEntrySize > size) Bad("palette");
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* entry = data + paletteAt + i * paletteEntrySize;
      palette.push_back(static_cast<std::uint32_t>(entry[0]) | (entry[1] << 8) | (entry[2] << 16));
    }
    palette.resize(maxColors, 0); // indexes past the palette show black
  }

  auto bitmap = std::make_unique<TBitmap>(static_cast<int>(width), static_cast<int>(height));
  bitmap->format_ = bits == 1   ? TPixelFormat::pf1bit
                    : bits == 4 ? TPixelFormat::pf4bit
                    : bits == 8 ? TPixelFormat::pf8bit
                    : bits == 16 ? TPixelFormat::pf16bit
                    : bits == 24 ? TPixelFormat::pf24bit
                                 : TPixelFormat::pf32bit;
  if (rle) {
    if (pixelOffset > size) Bad("pixel data");
    const std::vector<std::uint8_t> indexes = DecodeRle(data + pixelOffset, size - pixelOffset, static_cast<int>(width),
                                                        static_cast<int>(height), compression == kRle4);
    for (int y = 0; y < height; ++y) {
      std::uint32_t* out = bitmap->ScanLine(static_cast<int>(height) - 1 - y);
      for (int x = 0; x < width; ++x) out[x] = palette[indexes[static_cast<std::size_t>(y) * width + x]];
    }
    return bitmap;
  }

  const std::size_t stride = static_cast<std::size_t>((width * bits + 31) / 32) * 4;
  if (pixelOffset > size || stride * static_cast<std::size_t>(height) > size - pixelOffset) Bad("pixel data");
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data + pixelOffset + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
    std::uint32_t* out = bitmap->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      switch (bits) {
      case 1: out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
      case 4: out[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
      case 8: out[x] = palette[row[x]]; break;
      case 24: out[x] = static_cast<std::uint32_t>(row[3 * x]) | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16); break;
      default: {
        const std::uint32_t value = bits == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
        out[x] = MaskedChannel(value, masks[2]) | (MaskedChannel(value, masks[1]) << 8) |
                 (MaskedChannel(value, masks[0]) << 16);
      }
      }
    }
  }
  return bitmap;
}

std::string TBitmap::ToBmp() const {
  const std::size_t stride = (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3};
  const std::size_t imageSize = stride * height_;
  std::string out(54 + imageSize, '\0');
  auto put32 = [&out](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width_));
  put32(22, static_cast<std::uint32_t>(height_));
  out[26] = 1;
  out[28] = 24;
  put32(34, static_cast<std::uint32_t>(imageSize));
  for (int y = 0; y < height_; ++y) {
    char* row = out.data() + 54 + stride * static_cast<std::size_t>(height_ - 1 - y);
    const std::uint32_t* in = ScanLine(y);
    for (int x = 0; x < width_; ++x) {
      row[3 * x] = static_cast<char>(in[x] & 0xFF);
      row[3 * x + 1] = static_cast<char>((in[x] >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((in[x] >> 16) & 0xFF);
    }
  }
  return out;
}
