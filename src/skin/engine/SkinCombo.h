#pragma once
// Combo boxes with a skinned frame and drop-down button over the control's
// own painting. A simple combo box (its list always shown) keeps its look.
#include "skin/engine/SkinControl.h"

class TSkinComboBox : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void AfterMessage(TMessage& message) override;
  void Paint() override;

protected:
  // The window that has the button part.
  virtual HWND ComboWindow() { return Handle(); }
};

// Works on the extended combo box's inner combo box, which draws its items
// through the outer one: the button is painted again after each item.
class TSkinComboBoxEx : public TSkinComboBox {
public:
  using TSkinComboBox::TSkinComboBox;
  void AfterMessage(TMessage& message) override;

protected:
  HWND ComboWindow() override;
};

// The system's combo boxes (and the inner one of an extended combo box):
// the outer border frame only, and the button with its arrow always in the
// enabled look.
class TSkinWndComboBox : public TSkinControlWnd {
public:
  using TSkinControlWnd::TSkinControlWnd;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
};

// The frames around the combo box, the dropped-down list's frame and the
// button part with its arrow.
void PaintSkinnedCombo(TSkinEngine& engine, HWND combo, TColor innerColor, bool innerFrame, bool arrowEnabled);
