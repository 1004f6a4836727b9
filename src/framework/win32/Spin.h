#pragma once
// An edit of a whole number with an up-down beside it: the arrows (on the
// screen or on the keyboard) change the value by Increment.
#include "framework/win32/StdCtrls.h"

class TSpinEdit : public TCustomEdit {
public:
  explicit TSpinEdit(TComponent* owner);
  PLIMET_CLASS_NAME(TSpinEdit)
  // The number shown, kept within MinValue and MaxValue when they differ
  // (text that is no number reads as MinValue).
  int Value() const;
  void SetValue(int value);
  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  void SetMinValue(int value);
  void SetMaxValue(int value);
  int Increment = 1;
  // The up-down's window (for tests and skinning); none before the edit's.
  HWND UpDownHandle() const { return upDown_; }
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  int CheckValue(int value) const;
  void PlaceUpDown();
  void Step(int steps);
  int minValue_ = 0, maxValue_ = 0;
  HWND upDown_ = nullptr; // a child of the edit's window: it goes with it
};
