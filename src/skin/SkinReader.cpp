#include "skin/SkinReader.h"

#include <algorithm>
#include <cstring>

#include "platform/Services.h"
#include "platform/SystemColors.h"

const std::array<const char*, kSkinKeyCount> kSkinKeyNames = {
    // colours
    "SKIN2_TRANSCOLOR", "SKIN2_TITLEFONTCOLOR", "SKIN2_FORMCOLOR", "SKIN2_MENUBARSTARTCOLOR",
    "SKIN2_MENUBARENDCOLOR", "SKIN2_TOPSELECTEDMENUCOLOR", "SKIN2_TOPSELECTEDMENUBORDERCOLOR",
    "SKIN2_TOPSELECTEDMENUFONTCOLOR", "SKIN2_TOPMENUFONTCOLOR", "SKIN2_LEFTBARSTARTCOLOR", "SKIN2_LEFTBARENDCOLOR",
    "SKIN2_MENUITEMCOLOR", "SKIN2_MENUITEMFONTCOLOR", "SKIN2_SELECTEDMENUCOLOR", "SKIN2_SELECTEDMENUBORDERCOLOR",
    "SKIN2_SELECTEDMENUFONTCOLOR", "SKIN2_TOOLBARSTARTCOLOR", "SKIN2_TOOLBARENDCOLOR", "SKIN2_TOOLBARONCOLOR",
    "SKIN2_TOOLBARBORDERCOLOR", "SKIN2_TOOLBARDOWNCOLOR", "SKIN2_CONTROLCOLOR", "SKIN2_CONTROLBORDERCOLOR",
    "SKIN2_CONTROLFONTCOLOR", "SKIN2_BUTTONFONTCOLOR", "SKIN2_SCROLLBARCOLOR", "SKIN2_TABCONTROLCOLOR",
    "SKIN2_TABCONTROLBORDERCOLOR", "SKIN2_TABCONTROLACTIVEFONTCOLOR", "SKIN2_TABCONTROLINACTIVEFONTCOLOR",
    "SKIN2_SIDECHANNELCOLOR", "SKIN2_SIDECHANNELBORDERCOLOR",
    // bitmaps
    "SKIN2_TITLEBAR1", "SKIN2_TITLEBAR2", "SKIN2_TITLEBAR3", "SKIN2_TITLEBAR4", "SKIN2_TITLEBAR5",
    "SKIN2_FORMLEFTBORDER", "SKIN2_FORMRIGHTBORDER", "SKIN2_FORMBOTTOMBORDER1", "SKIN2_FORMBOTTOMBORDER2",
    "SKIN2_FORMBOTTOMBORDER3", "SKIN2_MINIMIZEDTITLE", "SKIN2_TITLEBUTTONS", "SKIN2_CHECKEDMENUICON",
    "SKIN2_MENUBAR", "SKIN2_TOOLBAR", "SKIN2_BUTTON", "SKIN2_CHECKBOX", "SKIN2_CHECKBOXLIST", "SKIN2_RADIOBUTTON",
    "SKIN2_PROGRESSBAR1", "SKIN2_PROGRESSBAR2", "SKIN2_PROGRESSBAR3", "SKIN2_PROGRESSBAR4", "SKIN2_TRACKBAR",
    "SKIN2_TRACKBARSLIDER", "SKIN2_TRACKBARVSLIDER", "SKIN2_SCROLLBARUPBUTTON", "SKIN2_SCROLLBAR",
    "SKIN2_SCROLLBARDOWNBUTTON", "SKIN2_TABCONTROL", "SKIN2_TABCONTROLLINE", "SKIN2_SIDECHANNELBAR",
    "SKIN2_SIDECHANNELTITLE", "SKIN2_SCROLLBUTTON",
    // metrics
    "SKIN2_TITLEBARICONPOSX", "SKIN2_TITLEBARICONPOSY", "SKIN2_TITLEBARCAPTIONTOP", "SKIN2_TITLEBARBUTTONPOSX",
    "SKIN2_TITLEBARBUTTONPOSY", "SKIN2_TITLEBARREGIONMINY", "SKIN2_TITLEBARREGIONMAXY", "SKIN2_BOTTOMREGIONMINY",
    "SKIN2_BOTTOMREGIONMAXY",
    // flags
    "SKIN2_TITLEFIVESECT", "SKIN2_BOTTOMBORDERTHREESECT", "SKIN2_TITLEBARNEEDREGION", "SKIN2_BOTTOMBORDERNEEDREGION",
    "SKIN2_TITLEBTNTRANS", "SKIN2_BUTTONTRANS", "SKIN2_CHECKBOXTRANS", "SKIN2_RADIOBUTTONTRANS",
    "SKIN2_TABCONTROLTRANS"};

const char* SkinKeyName(TSkinColorKey key) { return kSkinKeyNames[static_cast<std::size_t>(key)]; }
const char* SkinKeyName(TSkinBitmapKey key) {
  return kSkinKeyNames[kSkinColorCount + static_cast<std::size_t>(key)];
}
const char* SkinKeyName(TSkinMetricKey key) {
  return kSkinKeyNames[kSkinColorCount + kSkinBitmapCount + static_cast<std::size_t>(key)];
}
const char* SkinKeyName(TSkinFlagKey key) {
  return kSkinKeyNames[kSkinColorCount + kSkinBitmapCount + kSkinMetricCount + static_cast<std::size_t>(key)];
}

// --- TSkinReader ------------------------------------------------------------

TSkinReader::TSkinReader(const std::string& fileName, const std::string& password) { Load(fileName, password); }

void TSkinReader::Load(const std::string& fileName, const std::string& password) {
  file_.reset();
  ready_ = false;
  if (!fileName.empty() && platform::Files().FileExists(fileName)) {
    try {
      file_ = std::make_unique<Tsk2SkinFileReader>(fileName, password);
      const TColor transparent = file_->GetInteger(SkinKeyName(TSkinColorKey::SKIN2_TRANSCOLOR));
      file_->SetTransparentColor(transparent);
      // The track is drawn on the form colour.
      // Colours that name a system colour are written as that colour's RGB value.
      if (TBitmap* track = file_->GetBitmap(SkinKeyName(TSkinBitmapKey::SKIN2_TRACKBAR)))
        ReplaceColor(*track, platform::SystemColorToRGB(transparent),
                     platform::SystemColorToRGB(file_->GetInteger(SkinKeyName(TSkinColorKey::SKIN2_FORMCOLOR))));
      ready_ = true;
    } catch (...) {
      file_.reset();
      ready_ = false;
      throw;
    }
  }
  if (OnChange) OnChange(*this);
}

TColor TSkinReader::GetColor(TSkinColorKey key) const {
  return ready_ ? file_->GetInteger(SkinKeyName(key)) : kNoColor;
}
TBitmap* TSkinReader::GetBitmap(TSkinBitmapKey key) const {
  return ready_ ? file_->GetBitmap(SkinKeyName(key)) : nullptr;
}
int TSkinReader::GetMetric(TSkinMetricKey key) const { return ready_ ? file_->GetInteger(SkinKeyName(key)) : -1; }
bool TSkinReader::GetFlag(TSkinFlagKey key) const { return ready_ && file_->GetBoolean(SkinKeyName(key)); }

// --- bitmap helpers -------------------------------------------------------------

void ExtractCell(const TBitmap* source, TBitmap& destination, int count, int index) {
  if (!source || count <= 0) return;
  const int cellWidth = source->Width() / count;
  destination.SetSize(cellWidth, source->Height());
  const int left = (index - 1) * cellWidth;
  for (int y = 0; y < destination.Height(); ++y)
    for (int x = 0; x < cellWidth; ++x) {
      const int from = left + x;
      if (from >= 0 && from < source->Width()) destination.ScanLine(y)[x] = source->ScanLine(y)[from];
    }
}

void CopyRows(const TBitmap& source, TBitmap& destination, int fromRow) {
  const int width = std::min(source.Width(), destination.Width());
  for (int y = 0; y < destination.Height(); ++y) {
    const int from = fromRow + y;
    if (from < 0 || from >= source.Height()) continue;
    std::memcpy(destination.ScanLine(y), source.ScanLine(from), static_cast<std::size_t>(width) * 4);
  }
}

namespace {

// Builds a rotated copy: pixel (x, y) of the result comes from where() in the original.
template <typename Where>
void Rotate(TBitmap& bitmap, int newWidth, int newHeight, Where where) {
  auto original = bitmap.Clone();
  const TPixelFormat format = bitmap.PixelFormat();
  bitmap.SetSize(newWidth, newHeight);
  bitmap.SetPixelFormat(format);
  for (int y = 0; y < newHeight; ++y)
    for (int x = 0; x < newWidth; ++x) {
      const auto [fx, fy] = where(x, y);
      bitmap.ScanLine(y)[x] = original->ScanLine(fy)[fx];
    }
}

} // namespace

void RotateLeft90(TBitmap& bitmap) {
  // (x, y) moves to (y, width - 1 - x): the new (x, y) is the old (width - 1 - y, x).
  const int width = bitmap.Width();
  Rotate(bitmap, bitmap.Height(), width, [width](int x, int y) { return std::pair{width - 1 - y, x}; });
}

void Rotate180(TBitmap& bitmap) {
  const int width = bitmap.Width(), height = bitmap.Height();
  Rotate(bitmap, width, height, [width, height](int x, int y) { return std::pair{width - 1 - x, height - 1 - y}; });
}

void RotateRight90(TBitmap& bitmap) {
  const int height = bitmap.Height();
  Rotate(bitmap, height, bitmap.Width(), [height](int x, int y) { return std::pair{y, height - 1 - x}; });
}

void ReplaceColor(TBitmap& bitmap, TColor oldColor, TColor newColor) {
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  if (oldColor < 0 || oldColor > 0xFFFFFF) return; // no pixel has such a colour
  const std::uint32_t from = TBitmap::ToPixel(oldColor);
  const std::uint32_t to = TBitmap::ToPixel(newColor);
  for (int x = 0; x < bitmap.Width(); ++x)
    for (int y = 0; y < bitmap.Height(); ++y) {
      std::uint32_t& pixel = bitmap.ScanLine(y)[x];
      if ((pixel & 0xFFFFFF) == from) pixel = to;
    }
}

// --- resource sets ------------------------------------------------------------------

void TSkinScrollBtnRes::Prepare() {
  for (auto& b : horzButtons_) b.reset();
  for (auto& b : vertButtons_) b.reset();
  for (auto& b : horzThumb_) b.reset();
  for (auto& b : vertThumb_) b.reset();
  wholeHorz_.reset();
  wholeVert_.reset();
  wholeThumb_ = false;
  thumbWidth_ = 0;
  if (!reader_ || !reader_->Ready()) return;

  const TColor transparent = platform::SystemColorToRGB(reader_->GetColor(TSkinColorKey::SKIN2_TRANSCOLOR));
  const TColor scrollColor = platform::SystemColorToRGB(reader_->GetColor(TSkinColorKey::SKIN2_SCROLLBARCOLOR));
  for (auto* set : {&horzButtons_, &vertButtons_})
    for (auto& b : *set) b = std::make_unique<TBitmap>();
  for (auto* set : {&horzThumb_, &vertThumb_})
    for (auto& b : *set) b = std::make_unique<TBitmap>();

  const TBitmap* up = reader_->GetBitmap(TSkinBitmapKey::SKIN2_SCROLLBARUPBUTTON);
  const TBitmap* down = reader_->GetBitmap(TSkinBitmapKey::SKIN2_SCROLLBARDOWNBUTTON);
  for (int i = 0; i < 6; ++i) {
    ExtractCell(i < 3 ? up : down, *vertButtons_[i], 3, i % 3 + 1);
    horzButtons_[i]->Assign(*vertButtons_[i]);
    RotateLeft90(*horzButtons_[i]);
  }

  const TBitmap* bar = reader_->GetBitmap(TSkinBitmapKey::SKIN2_SCROLLBAR);
  if (!bar) return;
  const int w = bar->Width(), h = bar->Height();
  // One skin ships its scroll thumb as a single picture; it is kept whole.
  if (reader_->GetColor(TSkinColorKey::SKIN2_SCROLLBARCOLOR) == 13355979 && h == 33 && bar->Pixel(1, 10) == 11680001) {
    wholeThumb_ = true;
    wholeVert_ = bar->Clone();
    wholeHorz_ = bar->Clone();
    RotateLeft90(*wholeHorz_);
  }
  auto cut = [&](int piece, int height, int fromRow) {
    vertThumb_[piece]->SetSize(w, height);
    CopyRows(*bar, *vertThumb_[piece], fromRow);
  };
  cut(0, 3, 0);
  cut(4, 3, h - 3);
  const int f = (h - 6) / 3;
  if (f > 0) {
    cut(1, f, 4);
    cut(2, h - 2 * f - 6, f + 4);
    cut(3, f, h - f - 3);
  } else {
    for (int piece = 1; piece <= 3; ++piece) vertThumb_[piece]->SetSize(w, 1);
  }
  for (int i = 0; i < 5; ++i) {
    horzThumb_[i]->Assign(*vertThumb_[i]);
    RotateLeft90(*horzThumb_[i]);
  }
  for (auto* set : {&horzButtons_, &vertButtons_})
    for (auto& b : *set) ReplaceColor(*b, transparent, scrollColor);
  for (auto* set : {&horzThumb_, &vertThumb_})
    for (auto& b : *set) ReplaceColor(*b, transparent, scrollColor);
  thumbWidth_ = vertThumb_[0]->Width();
}

TBitmap* TSkinTabRes::Get(int group, int orientation) const {
  if (orientation < 0 || orientation > 3) return nullptr;
  return bitmaps_[static_cast<std::size_t>(group * 4 + orientation)].get();
}

void TSkinTabRes::Prepare() {
  for (auto& b : bitmaps_) b.reset();
  if (!reader_) return;
  for (auto& b : bitmaps_) b = std::make_unique<TBitmap>();
  auto turnGroup = [this](int group) {
    for (int i = 1; i < 4; ++i) bitmaps_[group * 4 + i]->Assign(*bitmaps_[group * 4]);
    RotateLeft90(*bitmaps_[group * 4 + 1]);
    Rotate180(*bitmaps_[group * 4 + 2]);
    RotateRight90(*bitmaps_[group * 4 + 3]);
  };
  if (const TBitmap* line = reader_->GetBitmap(TSkinBitmapKey::SKIN2_TABCONTROLLINE)) bitmaps_[0]->Assign(*line);
  const TBitmap* tab = reader_->GetBitmap(TSkinBitmapKey::SKIN2_TABCONTROL);
  ExtractCell(tab, *bitmaps_[4], 2, 2);
  ExtractCell(tab, *bitmaps_[8], 2, 1);
  for (int group = 0; group < 3; ++group) turnGroup(group);
}

void TSkinProgressBarRes::Prepare() {
  for (auto& b : horz_) b.reset();
  for (auto& b : vert_) b.reset();
  firstWidth_ = lastWidth_ = 0;
  if (!reader_ || !reader_->Ready()) return;
  const TSkinBitmapKey keys[4] = {TSkinBitmapKey::SKIN2_PROGRESSBAR1, TSkinBitmapKey::SKIN2_PROGRESSBAR2,
                                  TSkinBitmapKey::SKIN2_PROGRESSBAR3, TSkinBitmapKey::SKIN2_PROGRESSBAR4};
  for (int i = 0; i < 4; ++i) {
    horz_[i] = std::make_unique<TBitmap>();
    vert_[i] = std::make_unique<TBitmap>();
    if (const TBitmap* source = reader_->GetBitmap(keys[i])) horz_[i]->Assign(*source);
    vert_[i]->Assign(*horz_[i]);
    RotateLeft90(*vert_[i]);
  }
  firstWidth_ = horz_[0]->Width();
  lastWidth_ = horz_[3]->Width();
}
