#pragma once
// The plain controls: labels, edits, push buttons, panels.
#include "framework/win32/Controls.h"

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* owner);
  PLIMET_CLASS_NAME(TLabel)
  bool AutoSize = true;
  bool Transparent = true;
  // Wraps at the label's width instead of sizing to one line.
  bool WordWrap = false;
  void SetText(const std::string& text) override;
  void PaintOn(HDC dc) override;

private:
  void AdjustSize();
};

class TEdit : public TWinControl {
public:
  explicit TEdit(TComponent* owner);
  PLIMET_CLASS_NAME(TEdit)
  // 0 shows the text; another character hides it behind that one.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  bool ReadOnly = false;
  TNotifyEvent OnChange;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  char passwordChar_ = 0;
  int maxLength_ = 0;
};

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);
  PLIMET_CLASS_NAME(TButton)
  int ModalResult = 0;
  bool Default = false;
  bool Cancel = false;
  // Sets the form's ModalResult when it has one, then OnClick.
  void Click() override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CommandNotify(WORD code) override;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TCustomControl {
public:
  explicit TPanel(TComponent* owner);
  PLIMET_CLASS_NAME(TPanel)
  TBevelCut BevelOuter = TBevelCut::bvRaised;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 0}; }
  TPublishedValue BevelEdgesProperty() const override { return {true, "TBevelEdges", 15}; }

protected:
  void Paint(HDC dc) override;
};
