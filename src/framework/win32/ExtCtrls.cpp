#include "framework/win32/ExtCtrls.h"

#include "framework/win32/Gdi.h"

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_([this](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg != WM_TIMER) return false;
        if (OnTimer) OnTimer(this);
        return true;
      }) {
  Update();
}

TTimer::~TTimer() { KillTimer(window_.Handle(), 1); }

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  Update();
}

void TTimer::Update() {
  KillTimer(window_.Handle(), 1);
  if (enabled_ && interval_ > 0) SetTimer(window_.Handle(), 1, interval_, nullptr);
}

// --- TImage ------------------------------------------------------------------------

void TImage::PaintOn(HDC dc) {
  const RECT r = BoundsRect();
  if (Icon) {
    DrawIconEx(dc, r.left, r.top, Icon, Stretch ? width_ : 0, Stretch ? height_ : 0, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!Bitmap) return;
  BITMAP info{};
  GetObjectA(Bitmap, sizeof info, &info);
  const gdi::TCompatibleDC memory(dc);
  const gdi::TSelection picture(memory.Get(), Bitmap);
  StretchBlt(dc, r.left, r.top, Stretch ? width_ : info.bmWidth, Stretch ? height_ : info.bmHeight, memory.Get(), 0,
             0, info.bmWidth, info.bmHeight, SRCCOPY);
}

// --- TSplitter -----------------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  width_ = 3;
  height_ = 100;
  align_ = TAlign::alLeft;
}

TControl* TSplitter::Sibling() const {
  // The control with the same alignment that ends where the splitter starts.
  if (!parent_) return nullptr;
  for (int i = 0; i < parent_->ControlCount(); ++i) {
    TControl* control = parent_->Controls(i);
    if (control == this || control->Align() != align_ || !control->Visible()) continue;
    if (align_ == TAlign::alLeft && control->Left() + control->Width() == left_) return control;
    if (align_ == TAlign::alRight && control->Left() == left_ + width_) return control;
    if (align_ == TAlign::alTop && control->Top() + control->Height() == top_) return control;
    if (align_ == TAlign::alBottom && control->Top() == top_ + height_) return control;
  }
  return nullptr;
}

void TSplitter::PaintOn(HDC dc) { FillColor(dc, BoundsRect(), Color()); }

void TSplitter::WndProc(TMessage& m) {
  const bool vertical = align_ == TAlign::alLeft || align_ == TAlign::alRight;
  switch (m.Msg) {
  case WM_SETCURSOR:
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(vertical ? IDC_SIZEWE : IDC_SIZENS)));
    m.Result = TRUE;
    return;
  case WM_LBUTTONDOWN:
    dragging_ = true;
    grab_ = vertical ? static_cast<short>(LOWORD(m.LParam)) : static_cast<short>(HIWORD(m.LParam));
    return; // the parent holds the mouse until the button comes up
  case WM_MOUSEMOVE:
    if (dragging_) {
      const int at = vertical ? static_cast<short>(LOWORD(m.LParam)) : static_cast<short>(HIWORD(m.LParam));
      const int delta = at - grab_;
      if (TControl* sibling = Sibling(); sibling && delta != 0) {
        const bool growsWithDelta = align_ == TAlign::alLeft || align_ == TAlign::alTop;
        const int size = (vertical ? sibling->Width() : sibling->Height()) + (growsWithDelta ? delta : -delta);
        if (size >= MinSize) {
          if (vertical) sibling->SetBounds(sibling->Left(), sibling->Top(), size, sibling->Height());
          else sibling->SetBounds(sibling->Left(), sibling->Top(), sibling->Width(), size);
          parent_->Realign();
        }
      }
    }
    break;
  case WM_LBUTTONUP:
  case WM_CAPTURECHANGED:
    dragging_ = false;
    break;
  default:
    break;
  }
  TGraphicControl::WndProc(m);
}

// --- TLinkLabel --------------------------------------------------------------------

TLinkLabel::TLinkLabel(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  ParentColor = true;
  width_ = 120;
  height_ = 15;
}

void TLinkLabel::Paint(HDC dc) {
  RECT r = ClientRect();
  FillColor(dc, r, Color());
  LOGFONTA font{};
  GetObjectA(EffectiveFont().Handle(), sizeof font, &font);
  font.lfUnderline = TRUE;
  {
    const gdi::TFontHandle underlined(CreateFontIndirectA(&font));
    const gdi::TSelection selected(dc, underlined.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled_ ? RGB(0, 102, 204) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text_.c_str(), -1, &r, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
  }
  if (Focused()) DrawFocusRect(dc, &r);
}

void TLinkLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_SETCURSOR:
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    m.Result = TRUE;
    return;
  case WM_LBUTTONUP:
    if (OnLinkClick) OnLinkClick(this);
    break;
  case WM_KEYDOWN:
    if ((m.WParam == VK_RETURN || m.WParam == VK_SPACE) && OnLinkClick) OnLinkClick(this);
    break;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    Invalidate();
    break;
  case WM_PAINT: {
    const gdi::TPaintDC dc(Handle());
    Paint(dc.Get());
    return;
  }
  default:
    break;
  }
  TWinControl::WndProc(m);
}
