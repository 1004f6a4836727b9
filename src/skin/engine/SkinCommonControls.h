#pragma once
// Skinners of the common controls: progress bars, tab controls, track bars
// and up-down controls painted whole from the skin.
#include "skin/engine/SkinControl.h"

// Composes the whole control off-screen on WM_PAINT and answers
// WM_ERASEBKGND itself: the control's own painting never shows.
class TSkinPaintedControl : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
};

class TSkinProgressBar : public TSkinPaintedControl {
public:
  using TSkinPaintedControl::TSkinPaintedControl;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
};

// The two tab faces of the skin with their transparent pixels already in
// the form colour, so that stretching them never smears the key colour.
struct TSkinTabFaces {
  TBitmap Selected;
  TBitmap Other;
  void Prepare(TSkinEngine& engine);
};

class TSkinTabControl : public TSkinPaintedControl {
public:
  using TSkinPaintedControl::TSkinPaintedControl;
  void Apply() override;
  void Paint() override;

private:
  TSkinTabFaces faces_;
};

class TSkinTrackBar : public TSkinPaintedControl {
public:
  using TSkinPaintedControl::TSkinPaintedControl;
  void AfterMessage(TMessage& message) override;
  void Apply() override;
  void Paint() override;

private:
  TBitmap channel_;
};

class TSkinUpDown : public TSkinPaintedControl {
public:
  using TSkinPaintedControl::TSkinPaintedControl;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;

private:
  // 0 none, 1 the first (upper or left) half, 2 the second.
  int pressedHalf_ = 0;
};

// The system's tab controls in dialogs: painted like the program's, their
// tabs given back their own height when skinning stops.
class TSkinWndTabControl : public TSkinControlWnd {
public:
  using TSkinControlWnd::TSkinControlWnd;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Init() override;
  void Apply() override;
  void Release() override;
  void Paint() override;

private:
  int tabHeight_ = 0;
  TSkinTabFaces faces_;
};

// The whole tab control from the skin, composed off-screen and copied to the window.
void PaintSkinnedTabs(TSkinEngine& engine, HWND window, TSkinTabFaces& faces);
