#include "skin/engine/SkinCombo.h"

#include <commctrl.h>

#include "framework/win32/StdCtrls.h"
#include "skin/SkinDraw.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/win32/GdiCanvas.h"

namespace {

bool IsSimpleCombo(HWND combo) { return (GetWindowLongA(combo, GWL_STYLE) & 3) == CBS_SIMPLE; }

// Messages after which the control has painted its own button part again.
bool RepaintsButton(UINT msg) {
  switch (msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_LBUTTONDBLCLK:
  case WM_CAPTURECHANGED:
  case WM_NCPAINT:
  case CB_SHOWDROPDOWN:
  case CB_SETCURSEL:
  case WM_SIZE:
    return true;
  default:
    return false;
  }
}

} // namespace

void PaintSkinnedCombo(TSkinEngine& engine, HWND combo, TColor innerColor, bool innerFrame, bool arrowEnabled) {
  if (!combo || !engine.InEffect() || IsSimpleCombo(combo)) return;
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!skin::LateGetComboBoxInfo(combo, &info)) return;
  const TColor border = engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR);
  skin::FrameWindowOutline(combo, border, innerColor, innerFrame);
  if (info.hwndList && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    const gdi::TClientDC screen(nullptr);
    TGdiCanvas(screen.Get()).FrameRect({list.left, list.top, list.right, list.bottom}, border);
  }
  const RECT& b = info.rcButton;
  if (b.right <= b.left || b.bottom <= b.top) return;
  const gdi::TClientDC dc(combo);
  TGdiCanvas canvas(dc.Get());
  canvas.FillRect({b.left, b.top, b.right, b.bottom}, engine.GetColor(TSkinColorKey::SKIN2_CONTROLCOLOR));
  // The dividing line on the side of the text: left, or right for right-to-left reading.
  const bool rightToLeft = (GetWindowLongA(combo, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
  const int x = rightToLeft ? b.right - 1 : b.left;
  canvas.Line(x, b.top - 1, x, b.bottom + 1, border);
  DrawDownArrow(canvas, b.left + (b.right - b.left) / 2 - 3, (b.bottom - b.top) / 2, arrowEnabled);
}

// --- the program's combo boxes ------------------------------------------------------------

void TSkinComboBox::AfterMessage(TMessage& message) {
  TSkinControlFramework::AfterMessage(message);
  if (RepaintsButton(message.Msg)) PaintIfInEffect();
}

void TSkinComboBox::Paint() {
  HWND combo = ComboWindow();
  if (!combo) return;
  PaintSkinnedCombo(Engine, combo, Control->Color(), true, IsWindowEnabled(combo) != FALSE);
}

void TSkinComboBoxEx::AfterMessage(TMessage& message) {
  TSkinComboBox::AfterMessage(message);
  if (message.Msg == WM_DRAWITEM) PaintIfInEffect();
}

HWND TSkinComboBoxEx::ComboWindow() {
  HWND outer = Handle();
  return outer ? reinterpret_cast<HWND>(SendMessageA(outer, CBEM_GETCOMBOCONTROL, 0, 0)) : nullptr;
}

// --- the system's combo boxes -------------------------------------------------------------

void TSkinWndComboBox::AfterMessage(TMessage& message) {
  TSkinControlWnd::AfterMessage(message);
  if (RepaintsButton(message.Msg)) PaintIfInEffect();
}

void TSkinWndComboBox::Paint() { PaintSkinnedCombo(Engine, Window, 0, false, true); }
