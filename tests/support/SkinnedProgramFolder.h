#pragma once
// A program folder with the default skin in place, as an installation has
// it: the windows tested in it are skinned. Windows only.
#include <windows.h>

#include "support/StoreFixture.h"
#include "support/TestSkins.h"

class SkinnedWindowTest : public StoreTest {
protected:
  SkinnedWindowTest() {
    CreateDirectoryA((folder / "Skins").c_str(), nullptr);
    CreateDirectoryA((folder / "Skins\\Deep").c_str(), nullptr);
    CopyFileA(TestSkinFile("DeepCyan").c_str(), (folder / "Skins\\Deep\\DeepCyan.ssk").c_str(), FALSE);
  }
};

#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindow.h"

// The screen point in the middle of a skinned caption button: 1 close,
// 2 maximize or restore, 3 minimize, laid out as the frame lays them.
inline bool SkinnedCaptionButton(TSkinEngine& engine, HWND window, int which, POINT& screen) {
  TSkinWindow* frame = engine.FrameOf(window);
  const TBitmap* strip = engine.GetBitmap(TSkinBitmapKey::SKIN2_TITLEBUTTONS);
  if (!frame || !frame->Skinned || !strip) return false;
  const int bw = strip->Width() / 18, bh = strip->Height();
  RECT r{};
  GetWindowRect(window, &r);
  int x = r.right - r.left - engine.Metrics().ButtonX - bw;
  const bool shown[3] = {frame->HasCloseButton(), frame->HasMaximizeButton(), frame->HasMinimizeButton()};
  for (int k = 1; k <= 3; ++k) {
    if (!shown[k - 1]) continue;
    if (k == which) {
      screen = {r.left + x + bw / 2, r.top + engine.Metrics().ButtonY + bh / 2};
      return true;
    }
    x -= bw + 2;
  }
  return false;
}
