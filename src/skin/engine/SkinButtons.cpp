#include "skin/engine/SkinButtons.h"

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/SkinDraw.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinWindow.h"
#include "skin/engine/SkinWindowWnd.h"
#include "skin/win32/GdiCanvas.h"

void PaintButtonFace(TSkinEngine& engine, TBitmap& buffer, const RECT& client, bool pressed, bool hover,
                     bool focused) {
  const TBitmapDc dc(buffer);
  TGdiCanvas canvas(dc.Get());
  canvas.FillRect({0, 0, buffer.Width(), buffer.Height()}, engine.FormColor());
  TBitmap face;
  if (engine.CopyBitmap(TSkinBitmapKey::SKIN2_BUTTON, face, 3, pressed ? 3 : hover ? 2 : 1) && !face.Empty())
    DrawNinePart(&face, canvas, {client.left, client.top, client.right, client.bottom},
                 engine.Metrics().TransparentColor, engine.GetFlag(TSkinFlagKey::SKIN2_BUTTONTRANS));
  if (focused) {
    RECT focus = client;
    InflateRect(&focus, -5, -5);
    if (pressed) OffsetRect(&focus, 1, 1);
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    SetBkColor(dc.Get(), RGB(255, 255, 255));
    DrawFocusRect(dc.Get(), &focus);
  }
  GdiFlush();
}

// --- the program's buttons --------------------------------------------------------------

bool TSkinButton::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
  case WM_KEYDOWN:
    return message.WParam != VK_RETURN && message.WParam != VK_SPACE;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // The button's own procedure never sees the press, so it never takes
    // the mouse: a release outside the button is not its business.
    SetPressed(true);
    Paint();
    return false;
  case WM_KILLFOCUS:
  case CM_GOTFOCUS:
  case CM_LOSTFOCUS:
    Paint();
    return false;
  case WM_PAINT: {
    PAINTSTRUCT paint;
    BeginPaint(Handle(), &paint);
    Paint();
    EndPaint(Handle(), &paint);
    message.Result = 0;
    return false;
  }
  case WM_ERASEBKGND:
    message.Result = 1;
    return false;
  default:
    return true;
  }
}

void TSkinButton::AfterMessage(TMessage& message) {
  TSkinControl::AfterMessage(message);
  if (message.Msg == WM_SETFOCUS) PaintIfInEffect();
  if (message.Msg == WM_CHAR && (message.WParam == 0 || message.WParam == VK_RETURN)) {
    SetPressed(false);
    PaintIfInEffect();
    ClickControl();
  }
}

void TSkinButton::Paint() {
  HWND window = Handle();
  if (!window || !Engine.InEffect()) return;
  const RECT client = GetBounds();
  TBitmap buffer(client.right - client.left, client.bottom - client.top);
  if (buffer.Empty()) return;
  PaintButtonFace(Engine, buffer, client, Pressed(), Hover(), GetFocus() == window);
  DrawBufferAndText(buffer, Control->Caption(), client, Control->Font.Handle(),
                    Engine.GetColor(TSkinColorKey::SKIN2_BUTTONFONTCOLOR));
}

void TSkinButton::MouseDown() {
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  TForm* form = GetParentForm(Control);
  if (windowed && form && skin::IsFormActive(form) && windowed->Enabled() && windowed->Visible()) {
    try {
      windowed->SetFocus();
    } catch (...) {
    }
  }
  armed_ = true;
}

void TSkinButton::MouseUp() {
  if (!armed_) return;
  armed_ = false;
  ClickControl();
}

void TSkinButton::KeyUp(WPARAM key) {
  if (key != VK_SPACE || GetFocus() != Handle() || !IsEnabled() || !Engine.InEffect()) return;
  SetPressed(false);
  Paint();
  ClickControl();
}

void TSkinButton::ClickControl() {
  if (Control && Control->Enabled()) Control->Click();
}

// --- the system's buttons ------------------------------------------------------------------

bool TSkinWndButton::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
  case WM_MOUSEMOVE:
    if (!Hover()) {
      SetHover(true);
      Paint();
    }
    if (auto* dialog = dynamic_cast<TSkinWindowWnd*>(&Frame); !timing_ && !(dialog && dialog->HasAnimation)) {
      timing_ = true;
      tickedOnce_ = false;
      SetTimer(Window, kHoverTimer, kHoverInterval, nullptr);
    }
    return true;
  case WM_TIMER:
    if (message.WParam != kHoverTimer) return true;
    {
      POINT cursor{};
      GetCursorPos(&cursor);
      RECT r{};
      GetWindowRect(Window, &r);
      if (!PtInRect(&r, cursor)) {
        SetHover(false);
        SetPressed(false);
        armed_ = false;
        KillTimer(Window, kHoverTimer);
        timing_ = false;
        Paint();
      } else if (!tickedOnce_) {
        Paint();
      }
      tickedOnce_ = true;
    }
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    SetPressed(true);
    Paint();
    if (message.Msg == WM_LBUTTONDBLCLK) MouseDown();
    return false;
  case WM_LBUTTONUP:
    return false;
  case WM_KEYDOWN:
    return message.WParam != VK_SPACE;
  case WM_KEYUP:
    if (message.WParam == VK_SPACE && IsEnabled()) {
      SetPressed(false);
      Paint();
      PostMessageA(GetParent(Window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Window), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Window));
      return false;
    }
    return true;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_PAINT: {
    if (message.Msg == WM_PAINT) {
      PAINTSTRUCT paint;
      BeginPaint(Window, &paint);
      EndPaint(Window, &paint);
    } else {
      // The dialog still learns which button is the default one.
      CallControl(message.Msg, message.WParam, message.LParam);
    }
    Paint();
    return false;
  }
  case WM_ERASEBKGND:
    Paint();
    return true;
  default:
    return true;
  }
}

void TSkinWndButton::AfterMessage(TMessage& message) {
  if (message.Msg == WM_PAINT || message.Msg == WM_ERASEBKGND) {
    if (message.Msg == WM_ERASEBKGND) message.Result = 1;
    return;
  }
  TSkinControl::AfterMessage(message);
}

void TSkinWndButton::Paint() {
  if (!Engine.InEffect() || !IsWindow(Window)) return;
  const RECT client = GetBounds();
  TBitmap buffer(client.right, client.bottom);
  if (buffer.Empty()) return;
  PaintButtonFace(Engine, buffer, client, Pressed(), Hover(), GetFocus() == Window);
  char text[256] = {};
  GetWindowTextA(Window, text, sizeof text);
  auto* font = reinterpret_cast<HFONT>(SendMessageA(Window, WM_GETFONT, 0, 0));
  DrawBufferAndText(buffer, text, client, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                    Engine.GetColor(TSkinColorKey::SKIN2_BUTTONFONTCOLOR));
}

void TSkinWndButton::MouseDown() {
  SetFocus(Window);
  armed_ = true;
}

void TSkinWndButton::MouseUp() {
  if (!armed_) return;
  armed_ = false;
  PostMessageA(GetParent(Window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Window), BN_CLICKED),
               reinterpret_cast<LPARAM>(Window));
}

void TSkinWndButton::Release() {
  if (timing_ && IsWindow(Window)) KillTimer(Window, kHoverTimer);
  timing_ = false;
  TSkinControlWnd::Release();
}
