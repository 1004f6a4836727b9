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

// How a control sets the input method editor when it gets the focus.
enum TImeMode {
  imDisable,  // no input method at all: the window has no input context
  imClose,    // an input method, closed
  imOpen,     // an input method, open
  imDontCare, // whatever the user left it at
  imSAlpha,   // open, half-width letters and digits
  imAlpha,    // open, full-width letters and digits
  imHira,     // open, hiragana
  imSKata,    // open, half-width katakana
  imKata,     // open, full-width katakana
  imChinese,  // open, native characters
  imSHanguel, // open, half-width hangul
  imHanguel   // open, full-width hangul
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The base of every edit: single-line, memo, masked and spin edits.
class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomEdit)
  // Applied each time the edit gets the focus (a change shows at the next
  // focus, or at once through SetImeMode).
  TImeMode ImeMode = imDontCare;
  void SetImeMode(TImeMode mode);
  // 0 shows the text; another character hides it behind that one.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  bool ReadOnly = false;
  TNotifyEvent OnChange;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  void ApplyImeMode();
  char passwordChar_ = 0;
  int maxLength_ = 0;
  void* savedImeContext_ = nullptr; // the input context taken away by imDisable
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
  // taRightJustify: the caption right of the box; taLeftJustify: left of it.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
  PLIMET_CLASS_NAME(TCheckBox)
};

// A radio button: checking one unchecks the radio buttons beside it (the
// ones with the same parent).
class TRadioButton : public TButtonControl {
public:
  explicit TRadioButton(TComponent* owner);
  PLIMET_CLASS_NAME(TRadioButton)
  bool Checked() const { return checked_; }
  // Checking one clicks it and unchecks its siblings.
  void SetChecked(bool checked);
  // taRightJustify: the caption right of the mark; taLeftJustify: left of it.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TComponent* sender, TScrollCode code, int& position)>;

// A stand-alone scroll bar. Its parent hands it the scroll messages it
// sends (CN_HSCROLL, CN_VSCROLL).
class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent* owner);
  PLIMET_CLASS_NAME(TScrollBar)
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind kind);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int PageSize() const { return pageSize_; }
  void SetMin(int value) { SetParams(position_, value, max_); }
  void SetMax(int value) { SetParams(position_, min_, value); }
  void SetPosition(int value) { SetParams(value, min_, max_); }
  void SetPageSize(int value);
  // Sets all three at once; the position is kept within the range.
  void SetParams(int position, int min, int max);
  int SmallChange = 1;
  int LargeChange = 1;
  // After every change of Position.
  TNotifyEvent OnChange;
  // Before a scroll moves the position: the handler may change where to.
  TScrollEvent OnScroll;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  void UpdateScrollInfo();
  int HighestPosition() const;
  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// An edit of several lines.
class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomMemo)
  // The text line by line (lines end with CR LF in the window).
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle bars);
  // Enter makes a new line instead of reaching the form's default button.
  bool WantReturns = true;
  bool WantTabs = false;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
  PLIMET_CLASS_NAME(TMemo)
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
  bool HoldsGraphicChildren() const override { return true; }
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

// A list control where several items may be selected at once.
class TCustomMultiSelectListControl : public TCustomListControl {
public:
  explicit TCustomMultiSelectListControl(TComponent* owner) : TCustomListControl(owner) {}
  PLIMET_CLASS_NAME(TCustomMultiSelectListControl)
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool multiSelect);

protected:
  bool multiSelect_ = false;
};

// The system's list box.
class TCustomListBox : public TCustomMultiSelectListControl {
public:
  explicit TCustomListBox(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomListBox)
  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(const std::string& item);
  void SetItems(const std::vector<std::string>& items);
  void ClearItems();
  // The selected item (the focused one when several can be), or -1.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // With MultiSelect: whether an item is among the selected.
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  int SelCount() const;
  int TopIndex() const;
  int ItemHeight() const;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;
  bool NotifiesDblClick() const override { return true; }

private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  std::vector<int> selected_; // kept while there is no window
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
  PLIMET_CLASS_NAME(TListBox)
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
