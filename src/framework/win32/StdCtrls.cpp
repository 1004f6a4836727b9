#include "framework/win32/StdCtrls.h"

#include "framework/win32/Gdi.h"

#include "framework/win32/Forms.h"

#include <imm.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

// --- TLabel --------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  ParentColor = true;
  width_ = 65;
  height_ = 13;
}

void TCustomLabel::SetText(const std::string& text) {
  TControl::SetText(text);
  AdjustSize();
  Invalidate();
}

void TCustomLabel::AdjustSize() {
  if (!AutoSize || WordWrap) return;
  RECT r{0, 0, 0, 0};
  {
    const gdi::TClientDC screen(nullptr);
    const gdi::TSelection font(screen.Get(), EffectiveFont().Handle());
    DrawTextA(screen.Get(), text_.empty() ? " " : text_.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  }
  SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TCustomLabel::PaintOn(HDC dc) {
  RECT r = BoundsRect();
  if (!Transparent) {
    FillColor(dc, r, Color());
  }
  const gdi::TSelection font(dc, EffectiveFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled_ ? ColorToRGB(EffectiveFont().Color) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text_.c_str(), -1, &r, (WordWrap ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE) | DT_LEFT | DT_TOP);
}

// --- TEdit ----------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 121;
  height_ = 21;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "EDIT";
  params.Style |= ES_AUTOHSCROLL | (ReadOnly ? ES_READONLY : 0) | (passwordChar_ ? ES_PASSWORD : 0);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::HandleCreated() {
  if (passwordChar_) SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
  SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (HandleAllocated()) {
    SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
    Invalidate();
  }
}

void TCustomEdit::SetMaxLength(int length) {
  maxLength_ = length;
  if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TCustomEdit::SetImeMode(TImeMode mode) {
  ImeMode = mode;
  if (Focused()) ApplyImeMode();
}

void TCustomEdit::ApplyImeMode() {
  HWND window = Handle();
  if (ImeMode == imDisable) {
    // Without an input context no input method can start in this window.
    if (HIMC context = ImmAssociateContext(window, nullptr)) savedImeContext_ = context;
    return;
  }
  if (savedImeContext_) ImmAssociateContext(window, static_cast<HIMC>(std::exchange(savedImeContext_, nullptr)));
  if (ImeMode == imDontCare) return;
  HIMC context = ImmGetContext(window);
  if (!context) return;
  ImmSetOpenStatus(context, ImeMode != imClose);
  DWORD conversion = 0;
  switch (ImeMode) {
  case imSAlpha: conversion = IME_CMODE_ALPHANUMERIC; break;
  case imAlpha: conversion = IME_CMODE_ALPHANUMERIC | IME_CMODE_FULLSHAPE; break;
  case imHira: conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE; break;
  case imSKata: conversion = IME_CMODE_NATIVE | IME_CMODE_KATAKANA; break;
  case imKata: conversion = IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE; break;
  case imChinese:
  case imSHanguel: conversion = IME_CMODE_NATIVE; break;
  case imHanguel: conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE; break;
  default: break;
  }
  if (ImeMode >= imSAlpha) {
    DWORD current = 0, sentence = 0;
    ImmGetConversionStatus(context, &current, &sentence);
    ImmSetConversionStatus(context, conversion, sentence);
  }
  ImmReleaseContext(window, context);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFOCUS) {
    TWinControl::WndProc(m);
    ApplyImeMode();
    return;
  }
  if (m.Msg == WM_DESTROY && savedImeContext_) {
    // The window's own context goes with it: give it back first.
    ImmAssociateContext(Handle(), static_cast<HIMC>(std::exchange(savedImeContext_, nullptr)));
  }
  TWinControl::WndProc(m);
}

void TCustomEdit::CommandNotify(WORD code) {
  if (code != EN_CHANGE) return;
  text_ = WindowText(Handle());
  Perform(CM_TEXTCHANGED);
  if (OnChange) OnChange(this);
}

// --- TButton --------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  TabStop = true;
  width_ = 75;
  height_ = 25;
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "BUTTON";
  params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

void TButton::Click() {
  if (ModalResult != 0)
    if (TForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
  TControl::Click();
}

// --- TCheckBox ---------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  TabStop = true;
  ParentColor = true; // it stands on its parent's background
  width_ = 97;
  height_ = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "BUTTON";
  params.Style |= BS_AUTOCHECKBOX | (alignment_ == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  RecreateWnd();
}

void TCustomCheckBox::HandleCreated() {
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCustomCheckBox::Checked() const { return checked_; }

void TCustomCheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCustomCheckBox::CommandNotify(WORD code) {
  if (code != BN_CLICKED) return;
  checked_ = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; // clicked or toggled by Space
  Click();
}

// --- TRadioButton -----------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  TabStop = true;
  ParentColor = true; // it stands on its parent's background
  width_ = 113;
  height_ = 17;
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "BUTTON";
  // Not the automatic kind: the group is ours (the siblings under the
  // same parent), whatever the windows' order and group styles.
  params.Style |= BS_RADIOBUTTON | (alignment_ == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::HandleCreated() {
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!checked) return;
  if (parent_)
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent_->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  Click();
}

void TRadioButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) SetChecked(true); // a click on the checked one changes nothing
}

// --- TScrollBar ---------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  width_ = 121;
  height_ = GetSystemMetrics(SM_CYHSCROLL);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "SCROLLBAR";
  params.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::HandleCreated() { UpdateScrollInfo(); }

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  SetBounds(left_, top_, height_, width_); // the bar turns
  RecreateWnd();
}

int TScrollBar::HighestPosition() const { return pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_; }

void TScrollBar::SetPageSize(int value) {
  pageSize_ = std::max(0, value);
  SetParams(position_, min_, max_);
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) throw std::invalid_argument("Scroll bar property out of range");
  min_ = min;
  max_ = max;
  const int clamped = std::clamp(position, min_, HighestPosition());
  const bool moved = clamped != position_;
  position_ = clamped;
  UpdateScrollInfo();
  if (moved && OnChange) OnChange(this);
}

void TScrollBar::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
  SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg != CN_HSCROLL && m.Msg != CN_VSCROLL) {
    TWinControl::WndProc(m);
    return;
  }
  int position = position_;
  TScrollCode code = TScrollCode::scEndScroll;
  switch (LOWORD(m.WParam)) {
  case SB_LINEUP: code = TScrollCode::scLineUp, position -= SmallChange; break;
  case SB_LINEDOWN: code = TScrollCode::scLineDown, position += SmallChange; break;
  case SB_PAGEUP: code = TScrollCode::scPageUp, position -= LargeChange; break;
  case SB_PAGEDOWN: code = TScrollCode::scPageDown, position += LargeChange; break;
  case SB_TOP: code = TScrollCode::scTop, position = min_; break;
  case SB_BOTTOM: code = TScrollCode::scBottom, position = max_; break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION: {
    // The 32-bit position: the message carries only 16 bits of it.
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(Handle(), SB_CTL, &info);
    code = LOWORD(m.WParam) == SB_THUMBTRACK ? TScrollCode::scTrack : TScrollCode::scPosition;
    position = info.nTrackPos;
    break;
  }
  default: break;
  }
  position = std::clamp(position, min_, HighestPosition());
  if (OnScroll) OnScroll(this, code, position);
  SetPosition(position);
  m.Result = 0;
}

// --- TMemo -----------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  width_ = 185;
  height_ = 89;
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | (WantReturns ? ES_WANTRETURN : 0);
  // Wrapped lines never scroll sideways.
  if (wordWrap_) params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
  if ((scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) && !wordWrap_)
    params.Style |= WS_HSCROLL;
}

void TCustomMemo::WndProc(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(m);
    // The form's dialog keys get Enter and Tab unless the memo wants them.
    if (!WantReturns) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    if (WantTabs) {
      m.Result |= DLGC_WANTTAB;
    } else {
      m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    }
    return;
  }
  if (m.Msg == WM_CHAR && m.WParam == '\t' && !WantTabs) return;
  TCustomEdit::WndProc(m);
}

std::vector<std::string> TCustomMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string& text = text_;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

void TCustomMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  SetText(text);
}

void TCustomMemo::AddLine(const std::string& line) {
  auto lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

void TCustomMemo::SetWordWrap(bool wrap) {
  if (wrap == wordWrap_) return;
  wordWrap_ = wrap;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle bars) {
  if (bars == scrollBars_) return;
  scrollBars_ = bars;
  RecreateWnd();
}

// --- TListBox --------------------------------------------------------------------------

void TCustomMultiSelectListControl::SetMultiSelect(bool multiSelect) {
  if (multiSelect == multiSelect_) return;
  multiSelect_ = multiSelect;
  RecreateWnd();
}

TCustomListBox::TCustomListBox(TComponent* owner) : TCustomMultiSelectListControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 121;
  height_ = 97;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "LISTBOX";
  params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | (multiSelect_ ? LBS_EXTENDEDSEL : 0);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::HandleCreated() {
  for (const std::string& item : items_) SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (multiSelect_) {
    for (int index : selected_) SendMessageA(Handle(), LB_SETSEL, TRUE, index);
    if (itemIndex_ >= 0) SendMessageA(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(itemIndex_), FALSE);
  } else if (itemIndex_ >= 0) {
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  }
}

void TCustomListBox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (HandleAllocated()) SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TCustomListBox::SetItems(const std::vector<std::string>& items) {
  ClearItems();
  for (const std::string& item : items) AddItem(item);
}

void TCustomListBox::ClearItems() {
  items_.clear();
  selected_.clear();
  itemIndex_ = -1;
  if (HandleAllocated()) SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

int TCustomListBox::ItemIndex() const {
  if (!HandleAllocated()) return itemIndex_;
  HWND window = const_cast<TCustomListBox*>(this)->Handle();
  if (multiSelect_) {
    const int caret = static_cast<int>(SendMessageA(window, LB_GETCARETINDEX, 0, 0));
    return caret >= 0 && SendMessageA(window, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0 ? caret : -1;
  }
  return static_cast<int>(SendMessageA(window, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
  if (!HandleAllocated()) return;
  if (multiSelect_) {
    SendMessageA(Handle(), LB_SETSEL, FALSE, -1);
    if (itemIndex_ >= 0) {
      SendMessageA(Handle(), LB_SETSEL, TRUE, itemIndex_);
      SendMessageA(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(itemIndex_), FALSE);
    }
  } else {
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  }
}

bool TCustomListBox::Selected(int index) const {
  if (!HandleAllocated()) {
    if (!multiSelect_) return index == itemIndex_ && index >= 0;
    return std::find(selected_.begin(), selected_.end(), index) != selected_.end();
  }
  return SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= static_cast<int>(items_.size())) throw std::out_of_range("List index out of bounds");
  if (!multiSelect_) {
    if (selected) SetItemIndex(index);
    else if (index == ItemIndex()) SetItemIndex(-1);
    return;
  }
  selected_.erase(std::remove(selected_.begin(), selected_.end(), index), selected_.end());
  if (selected) selected_.push_back(index);
  if (HandleAllocated()) SendMessageA(Handle(), LB_SETSEL, selected, index);
}

int TCustomListBox::SelCount() const {
  if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
  if (!HandleAllocated()) return static_cast<int>(selected_.size());
  return static_cast<int>(SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::TopIndex() const {
  if (!HandleAllocated()) return 0;
  return static_cast<int>(SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETTOPINDEX, 0, 0));
}

int TCustomListBox::ItemHeight() const {
  if (!HandleAllocated()) return 13;
  return static_cast<int>(SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::CommandNotify(WORD code) {
  if (code == LBN_SELCHANGE) {
    itemIndex_ = ItemIndex();
    if (multiSelect_) {
      selected_.clear();
      for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        if (Selected(i)) selected_.push_back(i);
    }
    Click();
  } else if (code == LBN_DBLCLK) {
    if (OnDblClick) OnDblClick(this);
  }
}

// --- TPanel ------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 41;
}

void TCustomPanel::Paint(HDC dc) {
  RECT r = ClientRect();
  FillColor(dc, r, Color());
  if (BevelOuter != TBevelCut::bvNone)
    DrawEdge(dc, &r, BevelOuter == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  if (!text_.empty()) {
    const gdi::TSelection font(dc, EffectiveFont().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(EffectiveFont().Color));
    DrawTextA(dc, text_.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  PaintGraphicChildren(dc);
}

// --- TGroupBox -----------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  ParentColor = true;
  width_ = 185;
  height_ = 105;
}

void TCustomGroupBox::WndProc(TMessage& m) {
  // The system group box leaves its inside unpainted; a parent that clips
  // its children would then show nothing there.
  if (m.Msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(Handle(), &r);
    FillColor(reinterpret_cast<HDC>(m.WParam), r, Color());
    m.Result = 1;
    return;
  }
  if (m.Msg == WM_NCHITTEST) {
    // The system group box lets the mouse through to its parent; its own
    // windowless controls (labels, speed buttons) are to get it.
    m.Result = HTCLIENT;
    return;
  }
  // The system group box paints its frame and caption itself.
  TWinControl::WndProc(m);
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "BUTTON";
  params.Style |= BS_GROUPBOX;
}

// --- TComboBox --------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomCombo(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 145;
  height_ = 21;
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "COMBOBOX";
  params.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
  params.Height = std::max(height_, 200); // the height of the dropped-down list
}

void TCustomComboBox::HandleCreated() {
  for (const std::string& item : items_) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (itemIndex_ >= 0) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (HandleAllocated()) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TCustomComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (HandleAllocated()) SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
}

int TCustomComboBox::ItemIndex() const { return itemIndex_; }

void TCustomComboBox::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
  text_ = itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : text_;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomComboBox::CommandNotify(WORD code) {
  if (code == CBN_SELCHANGE) {
    itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    if (itemIndex_ >= 0) text_ = items_.at(static_cast<std::size_t>(itemIndex_));
  } else if (code == CBN_EDITCHANGE) {
    text_ = WindowText(Handle());
    itemIndex_ = -1;
  } else {
    return;
  }
  Perform(CM_TEXTCHANGED);
  if (OnChange) OnChange(this);
}

// --- TBitBtn -----------------------------------------------------------------------------

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~static_cast<DWORD>(BS_DEFPUSHBUTTON)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    DrawButton(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawButton(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  const bool pressed = draw.itemState & ODS_SELECTED;
  const bool focused = draw.itemState & ODS_FOCUS;
  if (Default || focused) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int shift = pressed ? 1 : 0;

  // Glyph cell and caption size.
  BITMAP info{};
  int glyphWidth = 0, glyphHeight = 0;
  if (Glyph && GetObjectA(Glyph, sizeof info, &info)) {
    glyphWidth = info.bmWidth / std::max(1, NumGlyphs);
    glyphHeight = info.bmHeight;
  }
  const gdi::TSelection font(dc, EffectiveFont().Handle());
  RECT textSize{0, 0, 0, 0};
  DrawTextA(dc, text_.c_str(), -1, &textSize, DT_CALCRECT | DT_SINGLELINE);
  const int textWidth = textSize.right, textHeight = textSize.bottom;
  const bool horizontal = Layout == TButtonLayout::blGlyphLeft || Layout == TButtonLayout::blGlyphRight;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int spacing = glyphWidth && textWidth ? Spacing : 0;
  const int along = horizontal ? glyphWidth + spacing + textWidth : glyphHeight + spacing + textHeight;
  const int start = Margin >= 0 ? Margin : ((horizontal ? width : height) - along) / 2;
  int gx = 0, gy = 0, tx = 0, ty = 0;
  switch (Layout) {
  case TButtonLayout::blGlyphLeft:
    gx = start, tx = start + glyphWidth + spacing;
    gy = (height - glyphHeight) / 2, ty = (height - textHeight) / 2;
    break;
  case TButtonLayout::blGlyphRight:
    tx = start, gx = start + textWidth + spacing;
    gy = (height - glyphHeight) / 2, ty = (height - textHeight) / 2;
    break;
  case TButtonLayout::blGlyphTop:
    gy = start, ty = start + glyphHeight + spacing;
    gx = (width - glyphWidth) / 2, tx = (width - textWidth) / 2;
    break;
  case TButtonLayout::blGlyphBottom:
    ty = start, gy = start + textHeight + spacing;
    gx = (width - glyphWidth) / 2, tx = (width - textWidth) / 2;
    break;
  }
  if (glyphWidth > 0) {
    const int frame = enabled_ ? 0 : std::min(1, NumGlyphs - 1);
    const gdi::TCompatibleDC memory(dc);
    const gdi::TSelection glyph(memory.Get(), Glyph);
    const COLORREF transparent = GetPixel(memory.Get(), 0, glyphHeight - 1);
    TransparentBlt(dc, r.left + gx + shift, r.top + gy + shift, glyphWidth, glyphHeight, memory.Get(),
                   frame * glyphWidth, 0, glyphWidth, glyphHeight, transparent);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  RECT text{r.left + tx + shift, r.top + ty + shift, r.left + tx + textWidth + shift, r.top + ty + textHeight + shift};
  DrawTextA(dc, text_.c_str(), -1, &text, DT_SINGLELINE);
  if (focused) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}
