#pragma once
// Typed access to what a message carries, in one place instead of casts
// spread through the handlers (the non-client messages above all).
#include <windows.h>

#include "framework/win32/Controls.h"

namespace msg {

// A point packed in lParam, each coordinate signed (negative on a second
// monitor to the left, or above).
inline POINT Point(const TMessage& m) {
  return {static_cast<short>(LOWORD(static_cast<DWORD_PTR>(m.LParam))),
          static_cast<short>(HIWORD(static_cast<DWORD_PTR>(m.LParam)))};
}
// WM_NCHITTEST, WM_NCMOUSEMOVE and the like carry screen points; WM_CONTEXTMENU
// from the keyboard carries (-1, -1).
// (sent as MAKELPARAM(-1, -1), which a 64-bit lParam does not hold as -1).
inline bool FromKeyboard(const TMessage& m) {
  const POINT at = Point(m);
  return at.x == -1 && at.y == -1;
}

// WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED.
inline WINDOWPOS& WindowPos(const TMessage& m) { return *reinterpret_cast<WINDOWPOS*>(m.LParam); }
// WM_GETMINMAXINFO.
inline MINMAXINFO& MinMaxInfo(const TMessage& m) { return *reinterpret_cast<MINMAXINFO*>(m.LParam); }
// WM_MOVING and WM_SIZING: the rectangle proposed, in screen coordinates.
inline RECT& ProposedRect(const TMessage& m) { return *reinterpret_cast<RECT*>(m.LParam); }

// WM_NCCALCSIZE: with wParam TRUE the three rectangles, the first to be
// turned into the client area; with FALSE one rectangle, the same way.
inline bool CalcValidRects(const TMessage& m) { return m.WParam != 0; }
inline NCCALCSIZE_PARAMS& NcCalcSizeParams(const TMessage& m) {
  return *reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
}
inline RECT& NcCalcSizeRect(const TMessage& m) {
  return CalcValidRects(m) ? NcCalcSizeParams(m).rgrc[0] : *reinterpret_cast<RECT*>(m.LParam);
}

// WM_NCPAINT: the region to paint, or the whole frame.
inline HRGN NcPaintRegion(const TMessage& m) {
  return m.WParam == 1 ? nullptr : reinterpret_cast<HRGN>(m.WParam);
}

// The answers of WM_NCHITTEST, as a type.
enum class THitTest : LRESULT {
  Nowhere = HTNOWHERE,
  Client = HTCLIENT,
  Caption = HTCAPTION,
  SysMenu = HTSYSMENU,
  Menu = HTMENU,
  HScroll = HTHSCROLL,
  VScroll = HTVSCROLL,
  MinButton = HTMINBUTTON,
  MaxButton = HTMAXBUTTON,
  Left = HTLEFT,
  Right = HTRIGHT,
  Top = HTTOP,
  TopLeft = HTTOPLEFT,
  TopRight = HTTOPRIGHT,
  Bottom = HTBOTTOM,
  BottomLeft = HTBOTTOMLEFT,
  BottomRight = HTBOTTOMRIGHT,
  Border = HTBORDER,
  Close = HTCLOSE,
  Transparent = HTTRANSPARENT,
};
// The hit-test code a message carries: WM_NC*BUTTON* and WM_NCMOUSEMOVE in
// wParam, WM_SETCURSOR in the low word of lParam (its wParam is a window).
inline THitTest HitTest(const TMessage& m) {
  if (m.Msg == WM_SETCURSOR) return static_cast<THitTest>(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(m.LParam))));
  return static_cast<THitTest>(m.WParam);
}
inline void Answer(TMessage& m, THitTest where) { m.Result = static_cast<LRESULT>(where); }

} // namespace msg
