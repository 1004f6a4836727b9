#include "skin/engine/SkinButtons.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

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
    // The button's own procedure never sees the press: the skinner takes
    // the mouse itself (MouseDown), as the button would.
    SetPressed(true);
    Paint();
    return false;
  case WM_MOUSEMOVE:
    // Held down, the face is pressed while the pointer is over the button.
    if (armed_ && GetCapture() == Handle()) {
      const POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      const RECT client = GetBounds();
      if (const bool inside = PtInRect(&client, at) != FALSE; inside != Pressed()) {
        SetPressed(inside);
        Paint();
      }
    }
    return true;
  case WM_LBUTTONUP: {
    const POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    const RECT client = GetBounds();
    releasedInside_ = PtInRect(&client, at) != FALSE;
    return true;
  }
  case WM_CAPTURECHANGED:
    // The mouse taken away while held (a window popping up): no click.
    if (armed_ && reinterpret_cast<HWND>(message.LParam) != Handle()) {
      DropPress();
      Paint();
    }
    return true;
  case WM_KILLFOCUS:
    // A Space held while the focus goes is let go somewhere else.
    if (std::exchange(spaceDown_, false)) SetPressed(false);
    // The button still learns it lost the focus, or it shows a focus of
    // its own again when the skin is turned off.
    CallControl(message);
    Paint();
    return false;
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
  // The second press of a quick double click comes as a double click: it
  // arms the button like any press, or that click would be lost.
  if (message.Msg == WM_LBUTTONDBLCLK) MouseDown();
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
  RECT captionRect = client;
  if (auto* glyphButton = dynamic_cast<TBitBtn*>(Control)) captionRect = LayGlyph(*glyphButton, buffer, client);
  DrawBufferAndText(buffer, Control->Caption(), captionRect, Control->Font.Handle(),
                    Engine.GetColor(TSkinColorKey::SKIN2_BUTTONFONTCOLOR));
}

RECT TSkinButton::LayGlyph(TBitBtn& button, TBitmap& buffer, const RECT& client) {
  const int cw = client.right - client.left, ch = client.bottom - client.top;
  BITMAP info{};
  const bool hasGlyph = button.Glyph && GetObjectA(button.Glyph, sizeof info, &info);
  const int glyphs = std::max(1, button.NumGlyphs);
  const int gw = hasGlyph ? info.bmWidth / glyphs : 0, gh = hasGlyph ? info.bmHeight : 0;
  RECT text{0, 0, 0, 0};
  const std::string caption = button.Caption();
  if (!caption.empty()) {
    const gdi::TClientDC screen(nullptr);
    const gdi::TSelection font(screen.Get(), button.Font.Handle());
    DrawTextA(screen.Get(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
  }
  const int tw = text.right, th = text.bottom;
  // Right-to-left reading puts the glyph on the other side, in the control itself.
  if (GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) {
    if (button.Layout == TButtonLayout::blGlyphLeft)
      button.Layout = TButtonLayout::blGlyphRight;
    else if (button.Layout == TButtonLayout::blGlyphRight)
      button.Layout = TButtonLayout::blGlyphLeft;
  }
  const bool across = button.Layout == TButtonLayout::blGlyphLeft || button.Layout == TButtonLayout::blGlyphRight;
  const int along = across ? cw : ch;
  const int glyphAlong = across ? gw : gh, textAlong = across ? tw : th;
  // Margin and Spacing left to the button (-1) are computed and written back.
  if (button.Margin == -1 && button.Spacing == -1) {
    button.Margin = button.Spacing = (along - glyphAlong - textAlong) / 3;
  } else if (button.Margin == -1) {
    button.Margin = (along - glyphAlong - button.Spacing - textAlong + 1) / 2;
  } else if (button.Spacing == -1) {
    button.Spacing = (along - button.Margin - glyphAlong - textAlong) / 2;
  }
  POINT glyph{}, at{};
  switch (button.Layout) {
  case TButtonLayout::blGlyphLeft:
    glyph = {button.Margin, (ch - gh + 1) / 2};
    at = {button.Margin + gw + button.Spacing, (ch - th + 1) / 2};
    break;
  case TButtonLayout::blGlyphRight:
    glyph = {cw - button.Margin - gw, (ch - gh + 1) / 2};
    at = {glyph.x - button.Spacing - tw, (ch - th + 1) / 2};
    break;
  case TButtonLayout::blGlyphTop:
    glyph = {(cw - gw + 1) / 2, button.Margin};
    at = {(cw - tw + 1) / 2, button.Margin + gh + button.Spacing};
    break;
  case TButtonLayout::blGlyphBottom:
    glyph = {(cw - gw + 1) / 2, ch - button.Margin - gh};
    at = {(cw - tw + 1) / 2, glyph.y - button.Spacing - th};
    break;
  }
  if (hasGlyph) {
    const int frame = IsEnabled() ? 0 : std::min(1, glyphs - 1);
    const int shift = Pressed() ? 1 : 0;
    const TBitmapDc to(buffer);
    const gdi::TCompatibleDC from(to.Get());
    const gdi::TSelection picked(from.Get(), button.Glyph);
    const COLORREF key = GetPixel(from.Get(), 0, info.bmHeight - 1);
    if (!IsEnabled() && glyphs == 1) {
      // One glyph for every state: the disabled look through an image list.
      HIMAGELIST list = ImageList_Create(gw, gh, ILC_COLOR24 | ILC_MASK, 1, 1);
      ImageList_AddMasked(list, button.Glyph, GetPixel(from.Get(), 0, 0));
      ImageList_DrawEx(list, 0, to.Get(), client.left + glyph.x + shift, client.top + glyph.y + shift, 0, 0, CLR_NONE,
                       GetSysColor(COLOR_BTNFACE), ILD_BLEND50);
      ImageList_Destroy(list);
    } else {
      TransparentBlt(to.Get(), client.left + glyph.x + shift, client.top + glyph.y + shift, gw, gh, from.Get(),
                     frame * gw, 0, gw, gh, key);
    }
    GdiFlush();
  }
  return {client.left + at.x, client.top + at.y, client.left + at.x + tw, client.top + at.y + th};
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
  // Held, the pointer may leave and come back: the release decides.
  SetCapture(Handle());
}

void TSkinButton::MouseUp() {
  const bool click = std::exchange(armed_, false) && releasedInside_;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (click) ClickControl();
}

void TSkinButton::MouseLeave() {
  // A press is given up by leaving only when the mouse is not held here.
  if (GetCapture() != Handle()) armed_ = false;
}

void TSkinButton::Apply() {
  // Turned off while held, the skinner no longer sees the release that
  // would let the mouse go.
  if (!Engine.InEffect()) DropPress();
}

void TSkinButton::Release() {
  DropPress();
  TSkinControlFramework::Release();
}

void TSkinButton::DropPress() {
  armed_ = false;
  SetPressed(false);
  if (HWND window = Handle(); window && GetCapture() == window) ReleaseCapture();
}

void TSkinButton::KeyDown(WPARAM key) {
  if (key == VK_SPACE) spaceDown_ = true;
}

void TSkinButton::KeyUp(WPARAM key) {
  if (key != VK_SPACE || !std::exchange(spaceDown_, false)) return;
  if (GetFocus() != Handle() || !IsEnabled() || !Engine.InEffect()) return;
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
    if (message.WParam != VK_SPACE) return true;
    spaceDown_ = true;
    return false;
  case WM_KEYUP:
    // Only the button the Space went down on clicks when it comes up.
    if (message.WParam == VK_SPACE && std::exchange(spaceDown_, false) && IsEnabled()) {
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
    if (message.Msg == WM_KILLFOCUS && std::exchange(spaceDown_, false)) SetPressed(false);
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
