#pragma once
// Skinned scroll bars. Scrolling controls keep their native bars, which do
// all the scrolling; a borderless panel lies exactly over each visible bar
// showing its skinned picture and hands mouse presses back to the bar.
#include "skin/engine/SkinBorders.h"

class TSkinScrollWinControl;
class TScrollBar;

// The panel over one native bar of a scrolling control.
class TSkinInternalScrollBar : public TCustomControl {
public:
  TSkinInternalScrollBar(TWinControl& scrolled, TSkinScrollWinControl& skinner, bool horizontal);
  ~TSkinInternalScrollBar() override;
  PLIMET_CLASS_NAME(TSkinInternalScrollBar)
  TBitmap Image;
  TWinControl* const Scrolled;
  const bool Horizontal;
  // The skinner lets go of the panel (it is freed by it or goes with its parent).
  void Orphan() { skinner_ = nullptr; }
  void WndProc(TMessage& message) override;

protected:
  void Paint(HDC dc) override;

private:
  TSkinScrollWinControl* skinner_;
};

class TSkinScrollWinControl : public TSkinBorderWinControl {
public:
  using TSkinBorderWinControl::TSkinBorderWinControl;
  ~TSkinScrollWinControl() override;
  void Init() override;
  void Apply() override;
  void Release() override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
  TSkinInternalScrollBar* VertPanel() const { return vert_; }
  TSkinInternalScrollBar* HorzPanel() const { return horz_; }
  // A panel went away with its parent.
  void PanelGone(TSkinInternalScrollBar* panel);

private:
  TSkinInternalScrollBar* MakePanel(TWinControl& scrolled, bool horizontal);
  void FreePanels();
  void ShowPanels(bool show);
  // Lays the panel over its bar and paints it; false when the bar is not shown.
  bool PlacePanel(TSkinInternalScrollBar* panel, LONG object, int& barSize);
  TSkinInternalScrollBar* vert_ = nullptr;
  TSkinInternalScrollBar* horz_ = nullptr;
};

// A grid's fixed cells take the form colour while skinned.
class TSkinGrid : public TSkinScrollWinControl {
public:
  using TSkinScrollWinControl::TSkinScrollWinControl;
  void Apply() override;
  void Release() override;

private:
  void Restore();
  bool saved_ = false;
  TColor savedFixedColor_ = kNoColor, savedFixedFontColor_ = kNoColor;
};

class TSkinScrollBar;

// The panel over a stand-alone scroll bar.
class TSkinInternalScrollBar2 : public TCustomControl {
public:
  TSkinInternalScrollBar2(TScrollBar& bar, TSkinScrollBar& skinner);
  ~TSkinInternalScrollBar2() override;
  PLIMET_CLASS_NAME(TSkinInternalScrollBar2)
  TBitmap Image;
  TScrollBar* const Bar;
  void Orphan() { skinner_ = nullptr; }
  void WndProc(TMessage& message) override;

protected:
  void Paint(HDC dc) override;

private:
  TSkinScrollBar* skinner_;
};

class TSkinScrollBar : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  ~TSkinScrollBar() override;
  void Init() override;
  void Apply() override;
  void Release() override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
  TSkinInternalScrollBar2* Panel() const { return panel_; }
  void PanelGone() { panel_ = nullptr; }

private:
  void FreePanel();
  TSkinInternalScrollBar2* panel_ = nullptr;
};
