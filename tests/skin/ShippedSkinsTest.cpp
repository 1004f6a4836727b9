// The skins shipped in the program folder: each loads with the program's
// reader and names itself, carries every value in the layouts the engine
// cuts, shows no keyed pixel the window region does not cut away, and has a
// caption on which the active and the inactive title both read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "skin/FramePainter.h"
#include "skin/SkinReader.h"
#include "support/TestSkins.h"

namespace {

struct Shipped {
  const char* Folder;
  const char* Name;
};
constexpr Shipped kShipped[] = {{"Deep", "DeepCyan"}, {"Paper", "Paper"}, {"Graphite", "Graphite"}};

std::string ShippedFile(const Shipped& skin) {
#ifdef PLIMET_SHIPPED_SKINS
  return std::string(PLIMET_SHIPPED_SKINS) + "/" + skin.Folder + "/" + skin.Name + ".ssk";
#else
  return TestSkinFile(skin.Name); // the Windows test program's copies
#endif
}

using B = TSkinBitmapKey;
using F = TSkinFlagKey;

// The inactive-caption colours of Wine's default scheme and of Windows 10.
constexpr TColor kInactiveTitles[] = {RGBColor(128, 128, 128), RGBColor(191, 205, 219)};

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Luminance(TColor c) {
  return 0.2126 * Linear(c & 0xFF) + 0.7152 * Linear((c >> 8) & 0xFF) + 0.0722 * Linear((c >> 16) & 0xFF);
}
double Contrast(TColor a, TColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int KeyedPixels(const TBitmap& bitmap, TColor key, int fromRow = 0) {
  int keyed = 0;
  for (int y = fromRow; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) keyed += bitmap.Pixel(x, y) == key;
  return keyed;
}

class ShippedSkinsTest : public ::testing::TestWithParam<Shipped> {
protected:
  void SetUp() override {
    reader_ = std::make_unique<TSkinReader>(ShippedFile(GetParam()), "");
    ASSERT_TRUE(reader_->Ready()) << ShippedFile(GetParam());
    metrics_ = ComputeSkinMetrics(*reader_);
  }
  const TSkinReader& Skin() const { return *reader_; }
  TColor Key() const { return metrics_.TransparentColor; }

  // The caption as a frame composes it, with 7-pixel characters.
  TCaptionLayout Caption(TBitmap& buffer, int width, const std::string& title, bool active = true) {
    buffer.SetSize(width, metrics_.CaptionHeight);
    TBitmapCanvas canvas(buffer, 7);
    TCaptionInput in;
    in.Width = width;
    in.WindowHeight = 300;
    in.BufferHeight = metrics_.CaptionHeight;
    in.HasSystemIcon = in.HasMaximizeButton = in.HasMinimizeButton = true;
    in.Active = active;
    in.Cursor = {-100, -100};
    in.Title = title;
    return ComposeCaption(*reader_, metrics_, canvas, buffer, in);
  }

  // Every pixel of the buffer (drawn at window row offset) is keyed exactly
  // when the region leaves it out.
  void ExpectKeyedOnlyOutsideRegion(const TBitmap& buffer, const std::vector<TRect>& rects, int offset,
                                    const std::string& what) {
    int mismatches = 0;
    for (int y = 0; y < buffer.Height(); ++y)
      for (int x = 0; x < buffer.Width(); ++x) {
        const bool inside = std::any_of(rects.begin(), rects.end(), [&](const TRect& r) {
          return r.Left <= x && x < r.Right && r.Top <= y + offset && y + offset < r.Bottom;
        });
        const bool keyed = buffer.Pixel(x, y) == Key();
        if (inside == keyed && ++mismatches <= 3)
          ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << (keyed ? "keyed" : "not keyed")
                        << " but " << (inside ? "inside" : "outside") << " the region";
      }
    EXPECT_EQ(mismatches, 0) << what;
  }

  std::unique_ptr<TSkinReader> reader_;
  TSkinMetrics metrics_;
};

TEST_P(ShippedSkinsTest, LoadsWithTheProgramsReaderAndNamesItself) {
  const Tsk2SkinFileReader& file = *Skin().FileReader();
  std::string name;
  for (const auto& [key, value] : file.Strings())
    if (key == "SKIN_NAME") name = value;
  EXPECT_EQ(name, GetParam().Name) << "the chooser lists the skin by this name";

  // All 84 values, each in the list of its kind.
  auto has = [](const std::vector<Tsk2SkinFileReader::Line>& lines, const std::string& key) {
    return std::any_of(lines.begin(), lines.end(), [&](const auto& line) { return line.first == key; });
  };
  for (int i = 0; i < kSkinKeyCount; ++i) {
    const std::string key = kSkinKeyNames[static_cast<std::size_t>(i)];
    if (i < kSkinColorCount || (i >= kSkinColorCount + kSkinBitmapCount && i < kSkinKeyCount - kSkinFlagCount))
      EXPECT_TRUE(has(file.Integers(), key)) << key;
    else if (i < kSkinColorCount + kSkinBitmapCount)
      EXPECT_NE(file.GetBitmap(key), nullptr) << key;
    else
      EXPECT_TRUE(has(file.Bytes(), key)) << key;
  }
  EXPECT_EQ(file.Bitmaps().size(), static_cast<std::size_t>(kSkinBitmapCount));
}

TEST_P(ShippedSkinsTest, StripsHoldTheCellsTheEngineCuts) {
  struct Strip {
    B Key;
    int Cells;
  };
  for (const Strip strip : {Strip{B::SKIN2_TITLEBUTTONS, 18}, {B::SKIN2_BUTTON, 3}, {B::SKIN2_CHECKBOX, 6},
                            {B::SKIN2_CHECKBOXLIST, 6}, {B::SKIN2_RADIOBUTTON, 4}, {B::SKIN2_SCROLLBARUPBUTTON, 3},
                            {B::SKIN2_SCROLLBARDOWNBUTTON, 3}, {B::SKIN2_SCROLLBUTTON, 3}, {B::SKIN2_TABCONTROL, 2}}) {
    const TBitmap* bitmap = Skin().GetBitmap(strip.Key);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width() % strip.Cells, 0) << SkinKeyName(strip.Key);
  }
  // The caption pieces share one height, the bottom pieces another, the progress pieces a third.
  for (const B piece : {B::SKIN2_TITLEBAR2, B::SKIN2_TITLEBAR3, B::SKIN2_TITLEBAR4, B::SKIN2_TITLEBAR5})
    EXPECT_EQ(Skin().GetBitmap(piece)->Height(), metrics_.CaptionHeight) << SkinKeyName(piece);
  for (const B piece : {B::SKIN2_FORMBOTTOMBORDER2, B::SKIN2_FORMBOTTOMBORDER3})
    EXPECT_EQ(Skin().GetBitmap(piece)->Height(), metrics_.BottomBorderHeight) << SkinKeyName(piece);
  for (const B piece : {B::SKIN2_PROGRESSBAR1, B::SKIN2_PROGRESSBAR3, B::SKIN2_PROGRESSBAR4})
    EXPECT_EQ(Skin().GetBitmap(piece)->Height(), Skin().GetBitmap(B::SKIN2_PROGRESSBAR2)->Height());
  // Pictures drawn without transparency carry no key pixel.
  for (const B plain : {B::SKIN2_FORMLEFTBORDER, B::SKIN2_FORMRIGHTBORDER, B::SKIN2_MENUBAR, B::SKIN2_TOOLBAR,
                        B::SKIN2_PROGRESSBAR1, B::SKIN2_PROGRESSBAR2, B::SKIN2_PROGRESSBAR3, B::SKIN2_PROGRESSBAR4,
                        B::SKIN2_TABCONTROLLINE, B::SKIN2_SIDECHANNELBAR, B::SKIN2_SIDECHANNELTITLE})
    EXPECT_EQ(KeyedPixels(*Skin().GetBitmap(plain), Key()), 0) << SkinKeyName(plain);
}

// The hidden-pixel rule: the caption region the skin's region rows describe
// is exactly the caption's non-keyed pixels, as the frame painter composes
// the caption; a skin without a region has no keyed pixel in it at all.
TEST_P(ShippedSkinsTest, TheCaptionRegionIsWhatTheKeyedPixelsLeave) {
  const bool shaped = Skin().GetFlag(F::SKIN2_TITLEBARNEEDREGION);
  for (const int width : {100, 181, 320, 777})
    for (const std::string title : {"", "Plimet", "A much longer title than the window has room for, cut short"})
      for (const bool active : {true, false}) {
        TBitmap caption;
        Caption(caption, width, title, active);
        const std::string what = std::string(GetParam().Name) + " caption " + std::to_string(width) + " \"" + title + "\"";
        if (!shaped) {
          EXPECT_EQ(KeyedPixels(caption, Key()), 0) << what;
          continue;
        }
        const std::vector<TRect> rects = RegionRects(&caption, metrics_.CaptionRegionMin, metrics_.CaptionRegionMax,
                                                     nullptr, 0, 0, Key(), width, 300);
        ExpectKeyedOnlyOutsideRegion(caption, rects, 0, what);
      }
  // A minimized window shows its own title picture; its keyed corners lie
  // within the region rows too.
  const TBitmap* minimized = Skin().GetBitmap(B::SKIN2_MINIMIZEDTITLE);
  ASSERT_NE(minimized, nullptr);
  EXPECT_EQ(KeyedPixels(*minimized, Key(), shaped ? metrics_.CaptionRegionMax + 1 : 0), 0);
}

TEST_P(ShippedSkinsTest, TheBottomRegionIsWhatTheKeyedPixelsLeave) {
  const bool shaped = Skin().GetFlag(F::SKIN2_BOTTOMBORDERNEEDREGION);
  for (const int width : {60, 233, 640}) {
    TBitmap bottom(width, metrics_.BottomBorderHeight);
    TBitmapCanvas canvas(bottom);
    ComposeBottom(Skin(), canvas, bottom, width);
    const std::string what = std::string(GetParam().Name) + " bottom " + std::to_string(width);
    if (!shaped) {
      EXPECT_EQ(KeyedPixels(bottom, Key()), 0) << what;
      continue;
    }
    const int height = 200;
    const std::vector<TRect> rects = RegionRects(nullptr, 0, 0, &bottom, metrics_.BottomRegionMin,
                                                 metrics_.BottomRegionMax, Key(), width, height);
    ExpectKeyedOnlyOutsideRegion(bottom, rects, height - bottom.Height(), what);
  }
}

// Behind the title: the skin's title colour reads when active, the system's
// inactive-caption colour when inactive (contrast as for large text, 3:1).
TEST_P(ShippedSkinsTest, BothTitlesReadOnTheCaption) {
  TBitmap caption;
  const TCaptionLayout layout = Caption(caption, 400, "Password manager");
  ASSERT_EQ(layout.Title, "Password manager");
  const int textWidth = 7 * static_cast<int>(layout.Title.size());
  double worstActive = 100, worstInactive = 100;
  for (int y = layout.TextY; y < std::min(layout.TextY + 13, caption.Height()); ++y)
    for (int x = layout.TextX; x < layout.TextX + textWidth; ++x) {
      const TColor behind = caption.Pixel(x, y);
      worstActive = std::min(worstActive, Contrast(metrics_.TitleFontColor, behind));
      for (const TColor inactive : kInactiveTitles) worstInactive = std::min(worstInactive, Contrast(inactive, behind));
    }
  EXPECT_GE(worstActive, 4.5) << "the active title";
  EXPECT_GE(worstInactive, 3.0) << "the inactive title";
}

// Normal, hot and pressed faces differ at a glance; the progress bar's fill
// starts right after its start cap, with no strip of the empty trough first.
TEST_P(ShippedSkinsTest, StatesAreToldApartAndTheFillMeetsItsCap) {
  auto differing = [](const TBitmap& a, const TBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) {
        const TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
        const int distance = std::abs((p & 0xFF) - (q & 0xFF)) + std::abs(((p >> 8) & 0xFF) - ((q >> 8) & 0xFF)) +
                             std::abs(((p >> 16) & 0xFF) - ((q >> 16) & 0xFF));
        n += distance >= 24;
      }
    return n * 100 / std::max(a.Width() * a.Height(), 1);
  };
  struct Strip {
    B Key;
    int Cells, First;
  };
  // Caption buttons: maximize (7-9) and close (16-18); push buttons; scroll arrows.
  for (const Strip strip : {Strip{B::SKIN2_TITLEBUTTONS, 18, 7}, {B::SKIN2_TITLEBUTTONS, 18, 16},
                            {B::SKIN2_BUTTON, 3, 1}, {B::SKIN2_SCROLLBARUPBUTTON, 3, 1}}) {
    TBitmap cells[3];
    for (int i = 0; i < 3; ++i) ExtractCell(Skin().GetBitmap(strip.Key), cells[i], strip.Cells, strip.First + i);
    for (int i = 0; i < 3; ++i)
      EXPECT_GE(differing(cells[i], cells[(i + 1) % 3]), 20)
          << SkinKeyName(strip.Key) << " cells " << strip.First + i << " and " << strip.First + (i + 1) % 3;
  }

  TSkinProgressBarRes progress;
  progress.SetReader(reader_.get());
  const TBitmap& cap = *progress.Horz(1);
  const TColor empty = progress.Horz(3)->Pixel(0, cap.Height() / 2);
  for (int x = 0; x < cap.Width(); ++x)
    EXPECT_GT(Contrast(cap.Pixel(x, cap.Height() / 2), empty), 1.5) << "start cap column " << x;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedSkinsTest, ::testing::ValuesIn(kShipped),
                         [](const ::testing::TestParamInfo<Shipped>& param) { return std::string(param.param.Name); });

} // namespace
