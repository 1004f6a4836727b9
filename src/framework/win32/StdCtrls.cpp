#include "framework/win32/StdCtrls.h"

#include "framework/win32/Gdi.h"

#include "framework/win32/Forms.h"

#include <algorithm>

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
  width_ = 97;
  height_ = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "BUTTON";
  params.Style |= BS_AUTOCHECKBOX;
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
