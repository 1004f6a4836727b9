#pragma once
// The plain controls: labels, edits, push buttons, panels.
#include <vector>

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

// A check box with its caption to the right.
class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* owner);
  PLIMET_CLASS_NAME(TCheckBox)
  bool Checked() const;
  void SetChecked(bool checked);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  bool checked_ = false;
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

class TGroupBox : public TWinControl {
public:
  explicit TGroupBox(TComponent* owner);
  PLIMET_CLASS_NAME(TGroupBox)
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
};

// An editable drop-down list.
class TComboBox : public TWinControl {
public:
  explicit TComboBox(TComponent* owner);
  PLIMET_CLASS_NAME(TComboBox)
  void AddItem(const std::string& item);
  void ClearItems();
  const std::vector<std::string>& Items() const { return items_; }
  int ItemIndex() const;
  void SetItemIndex(int index);
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A push button with a glyph: a strip of NumGlyphs images (the first for
// enabled, the second for disabled), placed by Layout, Margin and Spacing.
class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent* owner) : TButton(owner) {}
  PLIMET_CLASS_NAME(TBitBtn)
  HBITMAP Glyph = nullptr; // not owned; the bottom-left pixel's colour is transparent
  int NumGlyphs = 1;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  int Margin = -1;  // -1: centred
  int Spacing = 4;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  void DrawButton(const DRAWITEMSTRUCT& draw);
};
