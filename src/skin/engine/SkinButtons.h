#pragma once
// Push buttons painted from the skin's three button faces: the program's
// own buttons and the push buttons of the system's dialogs.
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinControl.h"

class TSkinButton : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
  void MouseDown() override;
  void MouseUp() override;
  void MouseLeave() override;
  void KeyDown(WPARAM key) override;
  void KeyUp(WPARAM key) override;
  void Apply() override;
  void Release() override;

private:
  void ClickControl();
  // Gives up a held press: no click, and the mouse is the system's again.
  void DropPress();
  // Places a glyph button's glyph in the buffer and answers where its caption goes.
  RECT LayGlyph(TBitBtn& button, TBitmap& buffer, const RECT& client);
  bool armed_ = false;
  // Where the left button was let go: only a release over the button clicks.
  bool releasedInside_ = false;
  // Space went down on this button: only then does its release click.
  bool spaceDown_ = false;
};

class TSkinWndButton : public TSkinControlWnd {
public:
  using TSkinControlWnd::TSkinControlWnd;
  static constexpr UINT_PTR kHoverTimer = 0x5B1;
  static constexpr UINT kHoverInterval = 138;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
  void MouseDown() override;
  void MouseUp() override;
  void Release() override;

private:
  bool armed_ = false;
  bool spaceDown_ = false;
  bool timing_ = false;
  bool tickedOnce_ = false;
};

// The face of a skinned push button in a buffer of the control's size:
// frame 3 pressed, 2 hot, 1 normal, and the focus rectangle.
void PaintButtonFace(TSkinEngine& engine, TBitmap& buffer, const RECT& client, bool pressed, bool hover, bool focused);
