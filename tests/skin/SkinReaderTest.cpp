#include "skin/SkinReader.h"

#include <gtest/gtest.h>

#include "platform/SystemColors.h"
#include "skinpack/SkinWriter.h"
#include "support/SkinArchiveBuilder.h"
#include "support/TempFolder.h"

namespace {

constexpr TColor kKey = 0xFF00FF;

// A bitmap whose pixel (x, y) encodes its position, so moves can be checked.
std::unique_ptr<TBitmap> Numbered(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, RGBColor(x, y, 7));
  return bitmap;
}

std::string Bmp(const TBitmap& bitmap) { return bitmap.ToBmp(); }

class SkinReaderTest : public ::testing::Test {
protected:
  std::string Pack(const std::vector<TSkinValue>& values) {
    SkinArchiveSpec spec;
    spec.content = EncodeSkinData(values);
    const std::string path = folder / ("skin" + std::to_string(serial++) + ".ssk");
    WriteFileBytes(path, BuildSkinArchive(spec));
    return path;
  }
  TempFolder folder;
  int serial = 0;
};

} // namespace

TEST_F(SkinReaderTest, KeysNameThe84ValuesInOrder) {
  EXPECT_EQ(kSkinKeyNames.size(), 84u);
  EXPECT_STREQ(SkinKeyName(TSkinColorKey::SKIN2_TRANSCOLOR), "SKIN2_TRANSCOLOR");
  EXPECT_STREQ(SkinKeyName(TSkinColorKey::SKIN2_SIDECHANNELBORDERCOLOR), "SKIN2_SIDECHANNELBORDERCOLOR");
  EXPECT_STREQ(SkinKeyName(TSkinBitmapKey::SKIN2_TITLEBAR1), "SKIN2_TITLEBAR1");
  EXPECT_STREQ(SkinKeyName(TSkinBitmapKey::SKIN2_SCROLLBUTTON), "SKIN2_SCROLLBUTTON");
  EXPECT_STREQ(SkinKeyName(TSkinMetricKey::SKIN2_TITLEBARICONPOSX), "SKIN2_TITLEBARICONPOSX");
  EXPECT_STREQ(SkinKeyName(TSkinMetricKey::SKIN2_BOTTOMREGIONMAXY), "SKIN2_BOTTOMREGIONMAXY");
  EXPECT_STREQ(SkinKeyName(TSkinFlagKey::SKIN2_TITLEFIVESECT), "SKIN2_TITLEFIVESECT");
  EXPECT_STREQ(SkinKeyName(TSkinFlagKey::SKIN2_TABCONTROLTRANS), "SKIN2_TABCONTROLTRANS");
  EXPECT_EQ(std::string(kSkinKeyNames[66]), "SKIN2_TITLEBARICONPOSX");
  EXPECT_EQ(std::string(kSkinKeyNames[75]), "SKIN2_TITLEFIVESECT");
}

TEST_F(SkinReaderTest, MissingFilesAndValuesGiveDefaults) {
  int changes = 0;
  TSkinReader reader("", "");
  EXPECT_FALSE(reader.Ready());
  reader.OnChange = [&changes](TSkinReader&) { ++changes; };
  reader.Load(folder / "none.ssk", "");
  EXPECT_EQ(changes, 1) << "told also when the file did not exist";
  EXPECT_FALSE(reader.Ready());
  EXPECT_EQ(reader.GetColor(TSkinColorKey::SKIN2_FORMCOLOR), -1);
  EXPECT_EQ(reader.GetBitmap(TSkinBitmapKey::SKIN2_BUTTON), nullptr);
  EXPECT_EQ(reader.GetMetric(TSkinMetricKey::SKIN2_TITLEBARCAPTIONTOP), -1);
  EXPECT_FALSE(reader.GetFlag(TSkinFlagKey::SKIN2_BUTTONTRANS));

  reader.Load(Pack({IntegerValue("skin2_formcolor", 0x102030)}), "");
  EXPECT_TRUE(reader.Ready());
  EXPECT_EQ(reader.GetColor(TSkinColorKey::SKIN2_FORMCOLOR), 0x102030);
  EXPECT_EQ(reader.GetColor(TSkinColorKey::SKIN2_TITLEFONTCOLOR), -1);
  EXPECT_EQ(changes, 2);

  WriteFileBytes(folder / "bad.ssk", "SK but nothing else");
  EXPECT_THROW(reader.Load(folder / "bad.ssk", ""), ESkinError);
  EXPECT_FALSE(reader.Ready());
  EXPECT_EQ(changes, 2) << "not told after an error";
}

TEST_F(SkinReaderTest, TransparencyAndTheTrackOnTheFormColour) {
  TBitmap track(4, 1);
  track.SetPixel(0, 0, kKey);
  track.SetPixel(1, 0, 0x111111);
  TSkinReader reader(Pack({IntegerValue("SKIN2_TRANSCOLOR", kKey), IntegerValue("SKIN2_FORMCOLOR", 0x00ABCDEF),
                           BitmapValue("SKIN2_TRACKBAR", Bmp(track)), BitmapValue("SKIN2_BUTTON", Bmp(track))}),
                     "");
  const TBitmap* loaded = reader.GetBitmap(TSkinBitmapKey::SKIN2_TRACKBAR);
  EXPECT_EQ(loaded->Pixel(0, 0), 0x00ABCDEF);
  EXPECT_EQ(loaded->Pixel(1, 0), 0x111111);
  EXPECT_EQ(reader.GetBitmap(TSkinBitmapKey::SKIN2_BUTTON)->Pixel(0, 0), kKey) << "only the track";
  EXPECT_EQ(reader.GetBitmap(TSkinBitmapKey::SKIN2_BUTTON)->TransparentColor(), kKey);

  TSkinReader plain(Pack({BitmapValue("SKIN2_TRACKBAR", Bmp(track))}), "");
  EXPECT_EQ(plain.GetBitmap(TSkinBitmapKey::SKIN2_TRACKBAR)->TransparentColor(), -1);
  EXPECT_EQ(plain.GetBitmap(TSkinBitmapKey::SKIN2_TRACKBAR)->Pixel(0, 0), kKey) << "no pixel equals -1";
}

TEST_F(SkinReaderTest, KeyedPixelsTakeTheColoursOfTheSkinAsRGB) {
  // The track's and the scroll pieces' keyed pixels, with colours given
  // as RGB values and as system colours (the button face, index 15).
  TBitmap keyed(9, 33);
  for (int y = 0; y < 33; ++y)
    for (int x = 0; x < 9; ++x) keyed.SetPixel(x, y, (x + y) % 2 ? kKey : RGBColor(x, y, 1));
  const TColor buttonFace = SystemColor(15);
  for (const TColor colour : {RGBColor(10, 11, 12), buttonFace}) {
    const TColor rgb = platform::SystemColorToRGB(colour);
    SCOPED_TRACE(colour);
    TSkinReader reader(Pack({IntegerValue("SKIN2_TRANSCOLOR", kKey), IntegerValue("SKIN2_FORMCOLOR", colour),
                             IntegerValue("SKIN2_SCROLLBARCOLOR", colour), BitmapValue("SKIN2_TRACKBAR", Bmp(keyed)),
                             BitmapValue("SKIN2_SCROLLBAR", Bmp(keyed)),
                             BitmapValue("SKIN2_SCROLLBARUPBUTTON", Bmp(keyed)),
                             BitmapValue("SKIN2_SCROLLBARDOWNBUTTON", Bmp(keyed))}),
                       "");
    EXPECT_EQ(reader.GetBitmap(TSkinBitmapKey::SKIN2_TRACKBAR)->Pixel(1, 0), rgb);
    EXPECT_EQ(reader.GetBitmap(TSkinBitmapKey::SKIN2_TRACKBAR)->Pixel(0, 0), RGBColor(0, 0, 1));
    TSkinScrollBtnRes res;
    res.SetReader(&reader);
    // Of two neighbouring pixels one was keyed; it now has the colour.
    auto vertical = [rgb](const TBitmap* b) { return b->Pixel(0, 0) == rgb || b->Pixel(1, 0) == rgb; };
    auto horizontal = [rgb](const TBitmap* b) {
      return b->Pixel(0, b->Height() - 1) == rgb || b->Pixel(0, b->Height() - 2) == rgb;
    };
    for (int i = 1; i <= 5; ++i) {
      EXPECT_TRUE(vertical(res.VertThumb(i))) << "vertical piece " << i;
      EXPECT_TRUE(horizontal(res.HorzThumb(i))) << "horizontal piece " << i;
    }
    for (int i = 1; i <= 6; ++i) {
      EXPECT_TRUE(vertical(res.VertButton(i))) << "vertical button " << i;
      EXPECT_TRUE(horizontal(res.HorzButton(i))) << "horizontal button " << i;
    }
  }
  EXPECT_NE(platform::SystemColorToRGB(buttonFace), 0x0F) << "a system colour is never its index";
  EXPECT_EQ(platform::SystemColorToRGB(0x00123456), 0x00123456);
}

TEST(BitmapHelpers, RotationsMovePixelsExactly) {
  auto b = Numbered(3, 2);
  RotateLeft90(*b);
  ASSERT_EQ(b->Width(), 2);
  ASSERT_EQ(b->Height(), 3);
  EXPECT_EQ(b->Pixel(0, 0), RGBColor(2, 0, 7)) << "the old top-right pixel";
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b->Pixel(y, 3 - 1 - x), RGBColor(x, y, 7));
  auto c = Numbered(3, 2);
  RotateRight90(*c);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(c->Pixel(x, y), RGBColor(y, 2 - 1 - x, 7));
  auto d = Numbered(4, 3);
  Rotate180(*d);
  EXPECT_EQ(d->Pixel(0, 0), RGBColor(3, 2, 7));
  RotateLeft90(*d);
  RotateLeft90(*d);
  EXPECT_EQ(d->Pixel(0, 0), RGBColor(0, 0, 7)) << "two more quarter turns bring it back";
  TBitmap empty;
  RotateLeft90(empty);
  EXPECT_TRUE(empty.Empty());
}

TEST(BitmapHelpers, ExtractCellAndReplaceColor) {
  auto strip = Numbered(10, 2); // three cells of width 3; column 9 is never used
  TBitmap cell;
  ExtractCell(strip.get(), cell, 3, 3);
  ASSERT_EQ(cell.Width(), 3);
  EXPECT_EQ(cell.Pixel(0, 1), RGBColor(6, 1, 7));
  EXPECT_EQ(cell.Pixel(2, 0), RGBColor(8, 0, 7));
  TBitmap untouched(5, 5);
  ExtractCell(nullptr, untouched, 3, 1);
  EXPECT_EQ(untouched.Width(), 5) << "no source, nothing happens";
  TBitmap emptySource;
  ExtractCell(&emptySource, untouched, 3, 1);
  EXPECT_TRUE(untouched.Empty());

  TBitmap b(2, 2, TPixelFormat::pf8bit);
  b.SetPixel(0, 0, kKey);
  b.SetPixel(1, 1, kKey);
  ReplaceColor(b, kKey, 0x123456);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(b.Pixel(0, 0), 0x123456);
  EXPECT_EQ(b.Pixel(1, 1), 0x123456);
  EXPECT_EQ(b.Pixel(1, 0), 0);
}

TEST_F(SkinReaderTest, ScrollBarPiecesFollowTheThumbHeight) {
  auto bar = Numbered(5, 33);
  auto up = Numbered(9, 4); // cells of width 3
  TSkinReader reader(Pack({IntegerValue("SKIN2_TRANSCOLOR", kKey), IntegerValue("SKIN2_SCROLLBARCOLOR", 0x0A0B0C),
                           BitmapValue("SKIN2_SCROLLBAR", Bmp(*bar)),
                           BitmapValue("SKIN2_SCROLLBARUPBUTTON", Bmp(*up)),
                           BitmapValue("SKIN2_SCROLLBARDOWNBUTTON", Bmp(*up))}),
                     "");
  TSkinScrollBtnRes res;
  res.SetReader(&reader);
  EXPECT_EQ(res.ThumbWidth(), 5);
  EXPECT_FALSE(res.WholeThumb());
  auto row = [](const TBitmap* b, int y) { return (b->Pixel(0, y) >> 8) & 0xFF; };
  EXPECT_EQ(res.VertThumb(1)->Height(), 3);
  EXPECT_EQ(res.VertThumb(2)->Height(), 9);
  EXPECT_EQ(row(res.VertThumb(2), 0), 4);
  EXPECT_EQ(row(res.VertThumb(2), 8), 12);
  EXPECT_EQ(res.VertThumb(3)->Height(), 9);
  EXPECT_EQ(row(res.VertThumb(3), 0), 13);
  EXPECT_EQ(row(res.VertThumb(3), 8), 21);
  EXPECT_EQ(row(res.VertThumb(4), 0), 21) << "row 21 is in both";
  EXPECT_EQ(row(res.VertThumb(4), 8), 29);
  EXPECT_EQ(row(res.VertThumb(5), 0), 30);
  EXPECT_EQ(res.HorzThumb(2)->Width(), 9);
  EXPECT_EQ(res.HorzThumb(2)->Height(), 5);
  EXPECT_EQ(res.VertButton(2)->Pixel(0, 0), RGBColor(3, 0, 7));
  EXPECT_EQ(res.HorzButton(2)->Width(), 4) << "turned a quarter";
  EXPECT_EQ(res.VertButton(7), nullptr);

  TSkinReader small(Pack({BitmapValue("SKIN2_SCROLLBAR", Bmp(*Numbered(5, 8)))}), "");
  res.SetReader(&small);
  for (int piece = 2; piece <= 4; ++piece) EXPECT_EQ(res.VertThumb(piece)->Height(), 1);
  res.SetReader(nullptr);
  EXPECT_EQ(res.VertThumb(1), nullptr);
}

TEST_F(SkinReaderTest, TheSpecialWholeThumb) {
  TBitmap bar(16, 33);
  bar.SetPixel(1, 10, 11680001);
  TSkinReader reader(Pack({IntegerValue("SKIN2_SCROLLBARCOLOR", 13355979), BitmapValue("SKIN2_SCROLLBAR", Bmp(bar))}),
                     "");
  TSkinScrollBtnRes res;
  res.SetReader(&reader);
  EXPECT_TRUE(res.WholeThumb());
  EXPECT_EQ(res.WholeVertThumb()->Height(), 33);
  EXPECT_EQ(res.WholeHorzThumb()->Width(), 33);
}

TEST_F(SkinReaderTest, TabAndProgressSets) {
  auto tab = Numbered(8, 3);
  auto line = Numbered(2, 1);
  auto p1 = Numbered(4, 6);
  auto p4 = Numbered(3, 6);
  TSkinReader reader(Pack({BitmapValue("SKIN2_TABCONTROL", Bmp(*tab)), BitmapValue("SKIN2_TABCONTROLLINE", Bmp(*line)),
                           BitmapValue("SKIN2_PROGRESSBAR1", Bmp(*p1)), BitmapValue("SKIN2_PROGRESSBAR4", Bmp(*p4))}),
                     "");
  TSkinTabRes tabs;
  tabs.SetReader(&reader);
  EXPECT_EQ(tabs.SecondCell(0)->Pixel(0, 0), RGBColor(4, 0, 7));
  EXPECT_EQ(tabs.FirstCell(0)->Pixel(0, 0), RGBColor(0, 0, 7));
  EXPECT_EQ(tabs.FirstCell(1)->Width(), 3);
  EXPECT_EQ(tabs.FirstCell(2)->Pixel(0, 0), RGBColor(3, 2, 7));
  EXPECT_EQ(tabs.Line(3)->Height(), 2);

  TSkinProgressBarRes progress;
  progress.SetReader(&reader);
  EXPECT_EQ(progress.FirstWidth(), 4);
  EXPECT_EQ(progress.LastWidth(), 3);
  EXPECT_EQ(progress.Vert(1)->Height(), 4);
  EXPECT_TRUE(progress.Horz(2)->Empty()) << "a missing bitmap gives an empty one";

  TSkinReader notReady("", "");
  tabs.SetReader(&notReady);
  EXPECT_TRUE(tabs.Line(0)->Empty());
  progress.SetReader(&notReady);
  EXPECT_EQ(progress.Horz(1), nullptr);
}
