// The BMP reader against bitmaps ImageMagick wrote, each compared pixel by
// pixel with ImageMagick's own 24-bit decoding of it, and against
// hand-made files for what ImageMagick does not write.
#include "skin/SkinBitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

#include "skin/bmp/BmpSamples.inc"

std::string Bytes(const unsigned char* data, std::size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }
#define SAMPLE(name) Bytes(k_##name, sizeof k_##name), Bytes(k_##name##_ref, sizeof k_##name##_ref)

std::unique_ptr<TBitmap> Read(const std::string& file) {
  return TBitmap::FromBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
}

void put32(std::string& data, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<char>(v >> (8 * i));
}

// A BMP file from a 40-byte header's fields, optional masks and palette, and the pixel bytes.
std::string MakeBmp(int width, int height, int bits, std::uint32_t compression, const std::string& extra,
                    const std::string& pixels) {
  std::string file(54, '\0');
  file[0] = 'B';
  file[1] = 'M';
  put32(file, 2, static_cast<std::uint32_t>(54 + extra.size() + pixels.size()));
  put32(file, 10, static_cast<std::uint32_t>(54 + extra.size()));
  put32(file, 14, 40);
  put32(file, 18, static_cast<std::uint32_t>(width));
  put32(file, 22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = static_cast<char>(bits);
  put32(file, 30, compression);
  put32(file, 34, static_cast<std::uint32_t>(pixels.size()));
  return file + extra + pixels;
}

std::string Palette(const std::vector<std::uint32_t>& colours) { // 0x00RRGGBB each
  std::string out;
  for (const std::uint32_t c : colours) out += {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16), '\0'};
  return out;
}

::testing::AssertionResult SamePixels(const TBitmap& got, const TBitmap& want) {
  if (got.Width() != want.Width() || got.Height() != want.Height())
    return ::testing::AssertionFailure() << "size " << got.Width() << "x" << got.Height();
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      if (got.Pixel(x, y) != want.Pixel(x, y))
        return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex << got.Pixel(x, y)
                                             << ", ImageMagick has " << want.Pixel(x, y);
  return ::testing::AssertionSuccess();
}

} // namespace

TEST(BmpReader, EveryCommonFormatReadsAsImageMagickReadsIt) {
  struct Sample {
    const char* what;
    std::string file, reference;
    TPixelFormat format;
  };
  const Sample samples[] = {
      {"1 bit, palette", SAMPLE(p1), TPixelFormat::pf1bit},
      {"4 bits, palette", SAMPLE(p4), TPixelFormat::pf4bit},
      {"8 bits, palette", SAMPLE(p8), TPixelFormat::pf8bit},
      {"8 bits, RLE8", SAMPLE(rle8), TPixelFormat::pf8bit},
      {"16 bits, 5-6-5 bit fields", SAMPLE(b565), TPixelFormat::pf16bit},
      {"16 bits, 5-5-5 bit fields", SAMPLE(b555), TPixelFormat::pf16bit},
      {"16 bits, plain 5-5-5", SAMPLE(b16), TPixelFormat::pf16bit},
      {"32 bits, bit fields, version 5 header", SAMPLE(b32), TPixelFormat::pf32bit},
      {"OS/2 header, 4 bits", SAMPLE(os2), TPixelFormat::pf4bit},
  };
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.what);
    std::unique_ptr<TBitmap> bitmap, reference;
    ASSERT_NO_THROW(bitmap = Read(sample.file));
    ASSERT_NO_THROW(reference = Read(sample.reference));
    EXPECT_EQ(bitmap->Width(), 13);
    EXPECT_EQ(bitmap->Height(), 7);
    EXPECT_EQ(bitmap->PixelFormat(), sample.format);
    EXPECT_TRUE(SamePixels(*bitmap, *reference));
  }
}

TEST(BmpReader, TopDownRowsAndBitFieldsAfterAPlainHeader) {
  // Rows stored top first when the height is negative.
  const std::string bottomUp = MakeBmp(2, 2, 24, 0, "", std::string("\x01\x02\x03\x04\x05\x06\0\0\x07\x08\x09\x0A\x0B\x0C\0\0", 16));
  std::string topDown = bottomUp;
  put32(topDown, 22, static_cast<std::uint32_t>(-2));
  const auto up = Read(bottomUp), down = Read(topDown);
  EXPECT_EQ(up->Pixel(0, 1), RGBColor(3, 2, 1)) << "the first stored row is the bottom one";
  EXPECT_EQ(down->Pixel(0, 0), RGBColor(3, 2, 1)) << "top-down: the first stored row is the top one";
  EXPECT_EQ(down->Pixel(1, 1), RGBColor(0x0C, 0x0B, 0x0A));

  // 32-bit pixels whose masks follow a 40-byte header, red and blue swapped.
  std::string masks(12, '\0');
  put32(masks, 0, 0x000000FF);
  put32(masks, 4, 0x0000FF00);
  put32(masks, 8, 0x00FF0000);
  std::string pixel(4, '\0');
  put32(pixel, 0, 0x00112233);
  const auto swapped = Read(MakeBmp(1, 1, 32, 3, masks, pixel));
  EXPECT_EQ(swapped->Pixel(0, 0), RGBColor(0x33, 0x22, 0x11));

  // 16-bit 5-6-5: the largest values become 255, bits repeated below.
  put32(masks, 0, 0xF800);
  put32(masks, 4, 0x07E0);
  put32(masks, 8, 0x001F);
  const std::string white("\xFF\xFF\x10\x84", 4); // white, then (16, 32, 16) of 31/63/31
  const auto wide = Read(MakeBmp(2, 1, 16, 3, masks, white));
  EXPECT_EQ(wide->Pixel(0, 0), RGBColor(255, 255, 255));
  EXPECT_EQ(wide->Pixel(1, 0), RGBColor(0x84, 0x82, 0x84));
}

TEST(BmpReader, RunLengthEncodedFourBitImages) {
  // 6 x 3, bottom row first: a run of alternating 1 and 2, an absolute
  // stretch of odd length, a delta, and an end of bitmap before the top row
  // ends; skipped pixels keep index 0.
  const std::string palette = Palette({0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  const std::string codes = std::string("\x06\x12", 2) + std::string("\x00\x00", 2) + // row 0: 1 2 1 2 1 2
                            std::string("\x00\x03\x34\x30", 4) +                     // row 1: absolute 3 4 3
                            std::string("\x00\x00", 2) +                             // end of line
                            std::string("\x00\x02\x02\x00", 4) +                     // delta: right 2
                            std::string("\x02\x44", 2) + std::string("\x00\x01", 2); // row 2: 4 4, then the end
  std::string file = MakeBmp(6, 3, 4, 2, palette, codes);
  put32(file, 46, 5); // five colours used
  const auto bitmap = Read(file);
  const TColor black = 0, red = RGBColor(255, 0, 0), green = RGBColor(0, 255, 0), blue = RGBColor(0, 0, 255),
               white = RGBColor(255, 255, 255);
  const std::vector<std::vector<TColor>> want = {{black, black, white, white, black, black},
                                                 {blue, white, blue, black, black, black},
                                                 {red, green, red, green, red, green}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(bitmap->Pixel(x, y), want[y][x]) << x << "," << y;
}

TEST(BmpReader, DamagedFilesAreRefusedWithTheirOwnText) {
  const std::string palette = Palette({0, 0xFFFFFF});
  const std::vector<std::pair<std::string, std::string>> bad = {
      {MakeBmp(4, 2, 8, 1, Palette(std::vector<std::uint32_t>(256, 0)), std::string("\x04\x01", 2)), "ends early"},
      {MakeBmp(4, 2, 4, 1, palette, std::string("\x00\x01", 2)), "run-length encoding"},
      {MakeBmp(4, 2, 8, 4, palette, std::string(8, '\0')), "compression"},
      {MakeBmp(4, 2, 24, 3, std::string(12, '\0'), std::string(32, '\0')), "bit fields"},
      {MakeBmp(4, 2, 15, 0, "", std::string(32, '\0')), "bits per pixel"},
      {MakeBmp(400, 2, 24, 0, "", std::string(32, '\0')), "pixel data"},
  };
  for (const auto& [file, text] : bad) {
    try {
      Read(file);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const EBitmapError& error) {
      EXPECT_NE(std::string(error.what()).find(text), std::string::npos) << error.what();
    }
  }
}
