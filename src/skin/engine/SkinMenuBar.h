#pragma once
// The menu of a skinned form, as a bar of buttons under the caption painted
// in the skin's menu colours; the pull-downs stay native menus, drawn by
// the engine.
#include <windows.h>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/StdCtrls.h"
#include "skin/SkinBitmap.h"

class TSkinWindowFramework;

// A button's Tag while it is drawn hot or pressed.
constexpr int kHotMenuButtonTag = 888;

class TSkinMenuBar : public TToolBar {
public:
  TSkinMenuBar(TComponent* owner, TSkinWindowFramework& frame);
  PLIMET_CLASS_NAME(TSkinMenuBar)
  TSkinWindowFramework& Frame;
  void WndProc(TMessage& message) override;
  // The button drawn hot or pressed now, if any.
  TToolButton* HotButton() const;
  // Opens the first menu of the bar from the keyboard (F10, Alt alone).
  void EnterFromKeyboard();
};

// The three small buttons an MDI form shows for its maximized child.
class TSkinMenuBarControlButton : public TCustomPanel {
public:
  explicit TSkinMenuBarControlButton(TComponent* owner);
  PLIMET_CLASS_NAME(TSkinMenuBarControlButton)
  TBitmap Glyph;
  bool Hover = false;
  void WndProc(TMessage& message) override;

protected:
  void Paint(HDC dc) override;
};
