#pragma once
// Controls that drop something down from a button at their right (date
// pickers): a bordered control with a skinned button panel over the native
// button, and the date-time picker, whose native up-down gives way to one
// the skin paints.
#include "framework/win32/ComCtrls.h"
#include "skin/engine/SkinBorders.h"

class TSkinExtComboboxLikeControl;

// The 16 × 16 button at the right of a combo-box-like control. Presses on it
// are handed to the control underneath, where the native button is.
class TSkinInternalComboButton : public TCustomControl {
public:
  TSkinInternalComboButton(TWinControl& control, TSkinExtComboboxLikeControl& skinner);
  ~TSkinInternalComboButton() override;
  PLIMET_CLASS_NAME(TSkinInternalComboButton)
  TWinControl* const Control; // the control it lies on
  // The skinner lets go of the button (it is freed by it or goes with the control).
  void Orphan() { skinner_ = nullptr; }
  void WndProc(TMessage& message) override;

protected:
  void Paint(HDC dc) override;

private:
  TSkinExtComboboxLikeControl* skinner_;
};

class TSkinExtComboboxLikeControl : public TSkinBorderWinControl {
public:
  using TSkinBorderWinControl::TSkinBorderWinControl;
  ~TSkinExtComboboxLikeControl() override;
  void Init() override;
  void Apply() override;
  void Release() override;
  void AfterMessage(TMessage& message) override;
  void Paint() override;
  TSkinInternalComboButton* ComboButton() const { return button_; }
  void ComboButtonGone() { button_ = nullptr; }

protected:
  // Whether the control has a drop-down button to cover.
  virtual bool WantsComboButton() { return true; }
  void ShowComboButton();

private:
  void FreeComboButton();
  TSkinInternalComboButton* button_ = nullptr;
};

class TSkinDateTimePicker;

// The skinned stand-in for a picker's native up-down: an up-down control of
// its own (so the up-down skinner paints it) whose steps press the arrow
// keys in the picker, as the native one steps the picker's selected field.
class TSkinInternalUpDown : public TCustomUpDown {
public:
  TSkinInternalUpDown(TDateTimePicker& picker, TSkinDateTimePicker& skinner);
  ~TSkinInternalUpDown() override;
  PLIMET_CLASS_NAME(TSkinInternalUpDown)
  void Orphan() { skinner_ = nullptr; }

private:
  void Step(TUpDownDirection direction);
  TDateTimePicker* picker_;
  TSkinDateTimePicker* skinner_;
};

// A picker keeps its native up-down when its Tag is this.
constexpr int kKeepNativeUpDownTag = 9998;

class TSkinDateTimePicker : public TSkinExtComboboxLikeControl {
public:
  using TSkinExtComboboxLikeControl::TSkinExtComboboxLikeControl;
  ~TSkinDateTimePicker() override;
  void Init() override;
  void Apply() override;
  void Release() override;
  void Paint() override;
  TSkinInternalUpDown* UpDown() const { return upDown_; }
  void UpDownGone() { upDown_ = nullptr; }
  // The picker's own up-down window, if it has one.
  HWND NativeUpDown();

protected:
  bool WantsComboButton() override;

private:
  bool WantsUpDown();
  // Our up-down shown and the native one hidden while skinned; the other way round otherwise.
  void SyncUpDowns();
  void FreeUpDown();
  TSkinInternalUpDown* upDown_ = nullptr;
};
