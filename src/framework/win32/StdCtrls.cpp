#include "framework/win32/StdCtrls.h"

#include "framework/win32/Forms.h"

// --- TLabel --------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  ParentColor = true;
  width_ = 65;
  height_ = 13;
}

void TLabel::SetText(const std::string& text) {
  TControl::SetText(text);
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (!AutoSize || WordWrap) return;
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, EffectiveFont().Handle());
  RECT r{0, 0, 0, 0};
  DrawTextA(screen, text_.empty() ? " " : text_.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TLabel::PaintOn(HDC dc) {
  RECT r = BoundsRect();
  if (!Transparent) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  HGDIOBJ old = SelectObject(dc, EffectiveFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled_ ? ColorToRGB(EffectiveFont().Color) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text_.c_str(), -1, &r, (WordWrap ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE) | DT_LEFT | DT_TOP);
  SelectObject(dc, old);
}

// --- TEdit ----------------------------------------------------------------------

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 121;
  height_ = 21;
}

void TEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = "EDIT";
  params.Style |= ES_AUTOHSCROLL | (ReadOnly ? ES_READONLY : 0) | (passwordChar_ ? ES_PASSWORD : 0);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::HandleCreated() {
  if (passwordChar_) SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
  SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (HandleAllocated()) {
    SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
    Invalidate();
  }
}

void TEdit::SetMaxLength(int length) {
  maxLength_ = length;
  if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TEdit::CommandNotify(WORD code) {
  if (code != EN_CHANGE) return;
  const int length = GetWindowTextLengthA(Handle());
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(Handle(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  text_ = text;
  Perform(CM_TEXTCHANGED);
  if (OnChange) OnChange(this);
}

// --- TButton --------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
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

// --- TPanel ------------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 41;
}

void TPanel::Paint(HDC dc) {
  RECT r = ClientRect();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  if (BevelOuter != TBevelCut::bvNone)
    DrawEdge(dc, &r, BevelOuter == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  if (!text_.empty()) {
    HGDIOBJ old = SelectObject(dc, EffectiveFont().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(EffectiveFont().Color));
    DrawTextA(dc, text_.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(dc, old);
  }
  PaintGraphicChildren(dc);
}
