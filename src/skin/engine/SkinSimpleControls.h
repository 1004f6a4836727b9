#pragma once
// Skinners of the plain controls: check boxes and radio buttons (their mark
// from the skin), group boxes, panels, labels, status bars, tool bars,
// speed buttons and frames, and the check boxes and radio buttons of the
// system's dialogs.
#include "framework/win32/ComCtrls.h"
#include "skin/SkinReader.h"
#include "skin/engine/SkinControl.h"

// A control's caption colour while skinned: its own font in the skin's
// colour, and its font as it was when skinning stops.
class TSkinnedFontColor {
public:
  void Save(TControl& control);
  void Apply(TControl& control, bool skinned, TColor color);

private:
  TColor color_ = kNoColor;
  bool parentFont_ = true;
  bool saved_ = false;
};

class TSkinCheckBox : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void Init() override;
  void Apply() override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;

protected:
  // The frame of the skin's mark strip for the control's state, 1-based.
  virtual int MarkFrame();
  virtual TSkinBitmapKey MarkKey() const { return TSkinBitmapKey::SKIN2_CHECKBOX; }
  virtual int MarkFrames() const { return 6; }
  virtual TSkinFlagKey MarkTransparency() const { return TSkinFlagKey::SKIN2_CHECKBOXTRANS; }
  bool RightToLeftBox();

private:
  TSkinnedFontColor font_;
};

class TSkinRadioButton : public TSkinCheckBox {
public:
  using TSkinCheckBox::TSkinCheckBox;
  bool BeforeMessage(TMessage& message) override;

protected:
  int MarkFrame() override;
  TSkinBitmapKey MarkKey() const override { return TSkinBitmapKey::SKIN2_RADIOBUTTON; }
  int MarkFrames() const override { return 4; }
  TSkinFlagKey MarkTransparency() const override { return TSkinFlagKey::SKIN2_RADIOBUTTONTRANS; }
};

class TSkinGroupBox : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void Paint() override;
  bool WantsParentColor() override { return true; }
};

class TSkinPanel : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  bool WantsParentColor() override { return true; }
};

class TSkinLabel : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void Init() override { font_.Save(*Control); }
  void Apply() override;
  bool WantsParentColor() override { return true; }

private:
  TSkinnedFontColor font_;
};

class TSkinStatusBar : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void Paint() override;
  bool WantsParentColor() override { return true; }
};

class TSkinToolBar : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void Init() override;
  void Apply() override;
  void Release() override;
  bool WantsParentColor() override { return true; }

private:
  void DrawButton(TToolBar* bar, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw);
  bool savedFlat_ = true;
  bool savedTransparent_ = false;
  TColor savedColor_ = kNoColor;
  bool skinnedNow_ = false;
};

class TSkinSpeedButton : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  // A speed button with this tag keeps its own painting under a thin frame.
  static constexpr int kOwnPaintingTag = 999999;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;

private:
  void PaintOn(HDC dc);
};

class TSkinFrame : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
};

class TSkinWndCheckBox : public TSkinControlWnd {
public:
  using TSkinControlWnd::TSkinControlWnd;
  void AfterMessage(TMessage& message) override;
  void Paint() override;

protected:
  virtual TSkinBitmapKey MarkKey() const { return TSkinBitmapKey::SKIN2_CHECKBOX; }
  virtual int MarkFrames() const { return 6; }
  virtual int MarkFrame(LRESULT check, bool enabled) const;
  virtual TSkinFlagKey MarkTransparency() const { return TSkinFlagKey::SKIN2_CHECKBOXTRANS; }
  virtual bool RepaintsAfterSetCheck() const { return false; }
};

class TSkinWndRadioButton : public TSkinWndCheckBox {
public:
  using TSkinWndCheckBox::TSkinWndCheckBox;

protected:
  TSkinBitmapKey MarkKey() const override { return TSkinBitmapKey::SKIN2_RADIOBUTTON; }
  int MarkFrames() const override { return 4; }
  int MarkFrame(LRESULT check, bool enabled) const override;
  TSkinFlagKey MarkTransparency() const override { return TSkinFlagKey::SKIN2_RADIOBUTTONTRANS; }
  bool RepaintsAfterSetCheck() const override { return true; }
};

// Windows 9x tool bars need a style the skin relies on; later systems have it.
class TSkinWndToolbarWindow32 : public TSkinControlWnd {
public:
  using TSkinControlWnd::TSkinControlWnd;
  void Init() override;
};
