#pragma once
// The door through which the skin engine sees a skin: four fixed key sets
// over the skin's named values, and the resource sets cut from its bitmaps
// once per load.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "skin/SkinBitmap.h"
#include "skin/SkinFile.h"

enum class TSkinColorKey {
  SKIN2_TRANSCOLOR, SKIN2_TITLEFONTCOLOR, SKIN2_FORMCOLOR, SKIN2_MENUBARSTARTCOLOR, SKIN2_MENUBARENDCOLOR,
  SKIN2_TOPSELECTEDMENUCOLOR, SKIN2_TOPSELECTEDMENUBORDERCOLOR, SKIN2_TOPSELECTEDMENUFONTCOLOR,
  SKIN2_TOPMENUFONTCOLOR, SKIN2_LEFTBARSTARTCOLOR, SKIN2_LEFTBARENDCOLOR, SKIN2_MENUITEMCOLOR,
  SKIN2_MENUITEMFONTCOLOR, SKIN2_SELECTEDMENUCOLOR, SKIN2_SELECTEDMENUBORDERCOLOR, SKIN2_SELECTEDMENUFONTCOLOR,
  SKIN2_TOOLBARSTARTCOLOR, SKIN2_TOOLBARENDCOLOR, SKIN2_TOOLBARONCOLOR, SKIN2_TOOLBARBORDERCOLOR,
  SKIN2_TOOLBARDOWNCOLOR, SKIN2_CONTROLCOLOR, SKIN2_CONTROLBORDERCOLOR, SKIN2_CONTROLFONTCOLOR,
  SKIN2_BUTTONFONTCOLOR, SKIN2_SCROLLBARCOLOR, SKIN2_TABCONTROLCOLOR, SKIN2_TABCONTROLBORDERCOLOR,
  SKIN2_TABCONTROLACTIVEFONTCOLOR, SKIN2_TABCONTROLINACTIVEFONTCOLOR, SKIN2_SIDECHANNELCOLOR,
  SKIN2_SIDECHANNELBORDERCOLOR
};

enum class TSkinBitmapKey {
  SKIN2_TITLEBAR1, SKIN2_TITLEBAR2, SKIN2_TITLEBAR3, SKIN2_TITLEBAR4, SKIN2_TITLEBAR5, SKIN2_FORMLEFTBORDER,
  SKIN2_FORMRIGHTBORDER, SKIN2_FORMBOTTOMBORDER1, SKIN2_FORMBOTTOMBORDER2, SKIN2_FORMBOTTOMBORDER3,
  SKIN2_MINIMIZEDTITLE, SKIN2_TITLEBUTTONS, SKIN2_CHECKEDMENUICON, SKIN2_MENUBAR, SKIN2_TOOLBAR, SKIN2_BUTTON,
  SKIN2_CHECKBOX, SKIN2_CHECKBOXLIST, SKIN2_RADIOBUTTON, SKIN2_PROGRESSBAR1, SKIN2_PROGRESSBAR2,
  SKIN2_PROGRESSBAR3, SKIN2_PROGRESSBAR4, SKIN2_TRACKBAR, SKIN2_TRACKBARSLIDER, SKIN2_TRACKBARVSLIDER,
  SKIN2_SCROLLBARUPBUTTON, SKIN2_SCROLLBAR, SKIN2_SCROLLBARDOWNBUTTON, SKIN2_TABCONTROL, SKIN2_TABCONTROLLINE,
  SKIN2_SIDECHANNELBAR, SKIN2_SIDECHANNELTITLE, SKIN2_SCROLLBUTTON
};

enum class TSkinMetricKey {
  SKIN2_TITLEBARICONPOSX, SKIN2_TITLEBARICONPOSY, SKIN2_TITLEBARCAPTIONTOP, SKIN2_TITLEBARBUTTONPOSX,
  SKIN2_TITLEBARBUTTONPOSY, SKIN2_TITLEBARREGIONMINY, SKIN2_TITLEBARREGIONMAXY, SKIN2_BOTTOMREGIONMINY,
  SKIN2_BOTTOMREGIONMAXY
};

enum class TSkinFlagKey {
  SKIN2_TITLEFIVESECT, SKIN2_BOTTOMBORDERTHREESECT, SKIN2_TITLEBARNEEDREGION, SKIN2_BOTTOMBORDERNEEDREGION,
  SKIN2_TITLEBTNTRANS, SKIN2_BUTTONTRANS, SKIN2_CHECKBOXTRANS, SKIN2_RADIOBUTTONTRANS, SKIN2_TABCONTROLTRANS
};

constexpr int kSkinColorCount = 32;
constexpr int kSkinBitmapCount = 34;
constexpr int kSkinMetricCount = 9;
constexpr int kSkinFlagCount = 9;
constexpr int kSkinKeyCount = kSkinColorCount + kSkinBitmapCount + kSkinMetricCount + kSkinFlagCount;

// The 84 value names, colours first, then bitmaps, metrics and flags.
extern const std::array<const char*, kSkinKeyCount> kSkinKeyNames;
const char* SkinKeyName(TSkinColorKey key);
const char* SkinKeyName(TSkinBitmapKey key);
const char* SkinKeyName(TSkinMetricKey key);
const char* SkinKeyName(TSkinFlagKey key);

class TSkinReader {
public:
  TSkinReader(const std::string& fileName, const std::string& password);
  TSkinReader(const TSkinReader&) = delete;
  TSkinReader& operator=(const TSkinReader&) = delete;

  // Loads a skin archive; a missing file leaves the reader not ready.
  // Errors of the archive pass on, with the reader not ready.
  void Load(const std::string& fileName, const std::string& password);
  bool Ready() const { return ready_; }

  TColor GetColor(TSkinColorKey key) const;
  TBitmap* GetBitmap(TSkinBitmapKey key) const;
  int GetMetric(TSkinMetricKey key) const;
  bool GetFlag(TSkinFlagKey key) const;
  const Tsk2SkinFileReader* FileReader() const { return file_.get(); }

  std::function<void(TSkinReader&)> OnChange;

private:
  bool ready_ = false;
  std::unique_ptr<Tsk2SkinFileReader> file_;
};

// A set of bitmaps cut from the skin once per load.
class TSkinRes {
public:
  virtual ~TSkinRes() = default;
  virtual void Prepare() {}
  void SetReader(TSkinReader* reader) {
    reader_ = reader;
    Prepare();
  }

protected:
  TSkinReader* reader_ = nullptr;
};

class TSkinScrollBtnRes : public TSkinRes {
public:
  void Prepare() override;
  // 1-based: buttons 1-3 left/up arrow states, 4-6 right/down; pieces 1-5.
  TBitmap* HorzButton(int index) const { return At(horzButtons_, index); }
  TBitmap* VertButton(int index) const { return At(vertButtons_, index); }
  TBitmap* HorzThumb(int index) const { return At(horzThumb_, index); }
  TBitmap* VertThumb(int index) const { return At(vertThumb_, index); }
  TBitmap* WholeHorzThumb() const { return wholeHorz_.get(); }
  TBitmap* WholeVertThumb() const { return wholeVert_.get(); }
  int ThumbWidth() const { return thumbWidth_; }
  bool WholeThumb() const { return wholeThumb_; }

private:
  template <std::size_t N>
  static TBitmap* At(const std::array<std::unique_ptr<TBitmap>, N>& set, int index) {
    return index >= 1 && index <= static_cast<int>(N) ? set[static_cast<std::size_t>(index - 1)].get() : nullptr;
  }
  std::array<std::unique_ptr<TBitmap>, 6> horzButtons_;
  std::array<std::unique_ptr<TBitmap>, 6> vertButtons_;
  std::array<std::unique_ptr<TBitmap>, 5> horzThumb_;
  std::array<std::unique_ptr<TBitmap>, 5> vertThumb_;
  std::unique_ptr<TBitmap> wholeHorz_;
  std::unique_ptr<TBitmap> wholeVert_;
  int thumbWidth_ = 0;
  bool wholeThumb_ = false;
};

class TSkinTabRes : public TSkinRes {
public:
  void Prepare() override;
  // Orientation 0 as stored, 1 turned left, 2 turned half, 3 turned right.
  TBitmap* Line(int orientation) const { return Get(0, orientation); }
  TBitmap* SecondCell(int orientation) const { return Get(1, orientation); }
  TBitmap* FirstCell(int orientation) const { return Get(2, orientation); }

private:
  TBitmap* Get(int group, int orientation) const;
  std::array<std::unique_ptr<TBitmap>, 12> bitmaps_;
};

class TSkinProgressBarRes : public TSkinRes {
public:
  void Prepare() override;
  TBitmap* Horz(int index) const { return index >= 1 && index <= 4 ? horz_[index - 1].get() : nullptr; }
  TBitmap* Vert(int index) const { return index >= 1 && index <= 4 ? vert_[index - 1].get() : nullptr; }
  int FirstWidth() const { return firstWidth_; }
  int LastWidth() const { return lastWidth_; }

private:
  std::array<std::unique_ptr<TBitmap>, 4> horz_;
  std::array<std::unique_ptr<TBitmap>, 4> vert_;
  int firstWidth_ = 0;
  int lastWidth_ = 0;
};

// Bitmap helpers; they run once per skin load, never while painting.
void ExtractCell(const TBitmap* source, TBitmap& destination, int count, int index);
void RotateLeft90(TBitmap& bitmap);
void Rotate180(TBitmap& bitmap);
void RotateRight90(TBitmap& bitmap);
void ReplaceColor(TBitmap& bitmap, TColor oldColor, TColor newColor);
// Copies rows [fromRow, fromRow + destination height) of the source into
// the destination, as far as both reach.
void CopyRows(const TBitmap& source, TBitmap& destination, int fromRow);
