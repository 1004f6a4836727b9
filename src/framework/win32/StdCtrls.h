#pragma once
// The plain controls: labels, edits, push buttons, panels.
#include <vector>

#include "framework/win32/Controls.h"

class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomLabel)
  bool AutoSize = true;
  bool Transparent = true;
  // Wraps at the label's width instead of sizing to one line.
  bool WordWrap = false;
  void SetText(const std::string& text) override;
  void PaintOn(HDC dc) override;

private:
  void AdjustSize();
};

class TLabel : public TCustomLabel {
public:
  using TCustomLabel::TCustomLabel;
  PLIMET_CLASS_NAME(TLabel)
};

// The base of every edit: single-line, memo, masked and spin edits.
class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomEdit)
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

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
  PLIMET_CLASS_NAME(TEdit)
};

// The base of push buttons, check boxes and radio buttons.
class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TButtonControl)
};

class TButton : public TButtonControl {
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
class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomCheckBox)
  bool Checked() const;
  void SetChecked(bool checked);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  bool checked_ = false;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
  PLIMET_CLASS_NAME(TCheckBox)
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomPanel)
  TBevelCut BevelOuter = TBevelCut::bvRaised;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 0}; }
  TPublishedValue BevelEdgesProperty() const override { return {true, "TBevelEdges", 15}; }

protected:
  void Paint(HDC dc) override;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
  PLIMET_CLASS_NAME(TPanel)
};

// A frame with a caption around other controls (the system's group box).
class TCustomGroupBox : public TCustomControl {
public:
  explicit TCustomGroupBox(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomGroupBox)
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
  PLIMET_CLASS_NAME(TGroupBox)
};

// The base of controls holding a list of items: combo and list boxes, list views.
class TCustomListControl : public TWinControl {
public:
  explicit TCustomListControl(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TCustomListControl)
};

// The base of the combo boxes, plain and extended.
class TCustomCombo : public TCustomListControl {
public:
  explicit TCustomCombo(TComponent* owner) : TCustomListControl(owner) {}
  PLIMET_CLASS_NAME(TCustomCombo)
};

// An editable drop-down list.
class TCustomComboBox : public TCustomCombo {
public:
  explicit TCustomComboBox(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomComboBox)
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

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
  PLIMET_CLASS_NAME(TComboBox)
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
