#include "skin/engine/SkinPickers.h"

#include <commctrl.h>

#include <utility>

#include "skin/SkinDraw.h"
#include "skin/engine/SkinEngine.h"
#include "skin/win32/GdiCanvas.h"

namespace {

constexpr int kButtonSize = 16;

// Showing and hiding realign the parent: only real changes are made.
void SetShown(TControl& control, bool shown) {
  if (control.Visible() != shown) control.SetVisible(shown);
}

// The control's own painting can cover the parts laid on it (the picker
// draws its face again after they painted): they are painted once more after it.
void RepaintPart(TWinControl* part) {
  if (part && part->HandleAllocated() && IsWindowVisible(part->Handle()))
    RedrawWindow(part->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void BringToTop(TWinControl& control) {
  if (control.HandleAllocated())
    SetWindowPos(control.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

// --- the button panel ---------------------------------------------------------------------

TSkinInternalComboButton::TSkinInternalComboButton(TWinControl& control, TSkinExtComboboxLikeControl& skinner)
    : TCustomControl(nullptr), Control(&control), skinner_(&skinner) {
  SetBounds(0, 0, kButtonSize, kButtonSize);
}

TSkinInternalComboButton::~TSkinInternalComboButton() {
  if (skinner_) skinner_->ComboButtonGone();
}

void TSkinInternalComboButton::Paint(HDC dc) {
  if (!skinner_ || !skinner_->Engine.InEffect()) return;
  TSkinEngine& engine = skinner_->Engine;
  TBitmap buffer(Width(), Height());
  if (buffer.Empty()) return;
  {
    const TBitmapDc to(buffer);
    TGdiCanvas canvas(to.Get());
    canvas.FillRect({0, 0, buffer.Width(), buffer.Height()}, engine.GetColor(TSkinColorKey::SKIN2_CONTROLCOLOR));
    canvas.Line(0, 0, 0, buffer.Height(), engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR));
    DrawDownArrow(canvas, buffer.Width() / 2 - 3, buffer.Height() / 2 - 2, Control->Enabled());
    GdiFlush();
  }
  const TBitmapDc from(buffer);
  BitBlt(dc, 0, 0, buffer.Width(), buffer.Height(), from.Get(), 0, 0, SRCCOPY);
}

void TSkinInternalComboButton::WndProc(TMessage& message) {
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return;
  }
  TCustomControl::WndProc(message);
  if ((message.Msg != WM_LBUTTONDOWN && message.Msg != WM_LBUTTONUP) || !Control->HandleAllocated()) return;
  // The control's own button lies underneath: the press goes there, where
  // the pointer is, as if the control had been clicked itself.
  ReleaseCapture();
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(Control->Handle(), &at);
  SendMessageA(Control->Handle(), message.Msg, MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

// --- combo-box-like controls ----------------------------------------------------------------

TSkinExtComboboxLikeControl::~TSkinExtComboboxLikeControl() { FreeComboButton(); }

void TSkinExtComboboxLikeControl::Init() {
  auto* control = dynamic_cast<TWinControl*>(Control);
  if (!control || control->Designing()) return;
  button_ = new TSkinInternalComboButton(*control, *this);
  button_->SetVisible(false);
  button_->SetAlign(TAlign::alRight);
  try {
    button_->SetParent(control);
  } catch (...) {
    FreeComboButton();
    return;
  }
  BringToTop(*button_);
}

void TSkinExtComboboxLikeControl::FreeComboButton() {
  if (!button_) return;
  button_->Orphan();
  delete std::exchange(button_, nullptr);
}

void TSkinExtComboboxLikeControl::ShowComboButton() {
  if (!button_) return;
  const bool shown = Engine.InEffect() && Control && Control->Visible() && WantsComboButton();
  SetShown(*button_, shown);
  if (!shown) return;
  BringToTop(*button_);
  button_->Invalidate();
}

void TSkinExtComboboxLikeControl::Apply() { ShowComboButton(); }

void TSkinExtComboboxLikeControl::Paint() {
  PaintBorder();
  RepaintPart(button_);
}

void TSkinExtComboboxLikeControl::Release() {
  FreeComboButton();
  TSkinBorderWinControl::Release();
}

void TSkinExtComboboxLikeControl::AfterMessage(TMessage& message) {
  TSkinBorderWinControl::AfterMessage(message);
  switch (message.Msg) {
  case CM_VISIBLECHANGED:
    ShowComboButton();
    break;
  case WM_ENABLE:
  case CM_ENABLEDCHANGED:
    // The arrow greys with the control.
    if (button_) button_->Invalidate();
    break;
  default:
    break;
  }
}

// --- the picker's up-down -------------------------------------------------------------------

TSkinInternalUpDown::TSkinInternalUpDown(TDateTimePicker& picker, TSkinDateTimePicker& skinner)
    : TCustomUpDown(&picker), picker_(&picker), skinner_(&skinner) {
  SetBounds(0, 0, kButtonSize, kButtonSize);
  // The position never moves, so that neither end of the range ever stops a step.
  SetRange(-100, 100);
  OnChangingEx = [this](TComponent*, bool& allowChange, int, TUpDownDirection direction) {
    allowChange = false;
    Step(direction);
  };
}

TSkinInternalUpDown::~TSkinInternalUpDown() {
  if (skinner_) skinner_->UpDownGone();
}

void TSkinInternalUpDown::Step(TUpDownDirection direction) {
  if (direction == TUpDownDirection::updNone || !picker_->HandleAllocated()) return;
  HWND picker = picker_->Handle();
  // The picker steps its selected field on the arrow keys, once it has the focus.
  if (GetFocus() != picker) ::SetFocus(picker);
  const WPARAM key = direction == TUpDownDirection::updUp ? VK_UP : VK_DOWN;
  SendMessageA(picker, WM_KEYDOWN, key, 1);
  SendMessageA(picker, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// --- date-time pickers ----------------------------------------------------------------------

TSkinDateTimePicker::~TSkinDateTimePicker() { FreeUpDown(); }

bool TSkinDateTimePicker::WantsComboButton() {
  auto* picker = dynamic_cast<TDateTimePicker*>(Control);
  if (!picker) return false;
  // A time, or a date stepped with arrows, has an up-down instead of a button.
  if (HWND window = Handle()) return (GetWindowLongA(window, GWL_STYLE) & DTS_UPDOWN) == 0;
  return picker->Kind() == TDateTimeKind::dtkDate && picker->DateMode() == TDTDateMode::dmComboBox;
}

bool TSkinDateTimePicker::WantsUpDown() {
  return Control && Control->Tag != kKeepNativeUpDownTag && !WantsComboButton();
}

HWND TSkinDateTimePicker::NativeUpDown() {
  HWND window = Handle();
  if (!window) return nullptr;
  HWND own = upDown_ && upDown_->HandleAllocated() ? upDown_->Handle() : nullptr;
  for (HWND child = FindWindowExA(window, nullptr, UPDOWN_CLASSA, nullptr); child;
       child = FindWindowExA(window, child, UPDOWN_CLASSA, nullptr))
    if (child != own) return child;
  return nullptr;
}

void TSkinDateTimePicker::Init() {
  TSkinExtComboboxLikeControl::Init();
  auto* picker = dynamic_cast<TDateTimePicker*>(Control);
  if (!picker || picker->Designing() || !WantsUpDown()) return;
  // Owned by the picker, so that the walk over its components skins it as an up-down.
  upDown_ = new TSkinInternalUpDown(*picker, *this);
  upDown_->SetVisible(false);
  upDown_->SetAlign(TAlign::alRight);
  try {
    upDown_->SetParent(picker);
  } catch (...) {
    FreeUpDown();
  }
}

void TSkinDateTimePicker::FreeUpDown() {
  if (!upDown_) return;
  upDown_->Orphan();
  delete std::exchange(upDown_, nullptr);
}

void TSkinDateTimePicker::SyncUpDowns() {
  const bool skinned = upDown_ && Engine.InEffect() && WantsUpDown();
  if (HWND native = NativeUpDown()) {
    const bool nativeShown = (GetWindowLongA(native, GWL_STYLE) & WS_VISIBLE) != 0;
    if (skinned && nativeShown) ShowWindow(native, SW_HIDE);
    if (!skinned && !nativeShown) ShowWindow(native, SW_SHOWNA);
  }
  if (!upDown_) return;
  SetShown(*upDown_, skinned && Control->Visible());
  if (skinned) BringToTop(*upDown_);
}

void TSkinDateTimePicker::Apply() {
  TSkinExtComboboxLikeControl::Apply();
  SyncUpDowns();
}

void TSkinDateTimePicker::Paint() {
  TSkinExtComboboxLikeControl::Paint();
  // A picker made anew (another kind) brings a native up-down of its own again.
  SyncUpDowns();
  RepaintPart(upDown_);
}

void TSkinDateTimePicker::Release() {
  FreeUpDown();
  if (HWND native = NativeUpDown(); native && !(GetWindowLongA(native, GWL_STYLE) & WS_VISIBLE))
    ShowWindow(native, SW_SHOWNA);
  TSkinExtComboboxLikeControl::Release();
}
