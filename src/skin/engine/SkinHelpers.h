#pragma once
// The small window-level services the skinned frames, menus and controls
// share: late-bound user32 entry points, the system's version, the work
// area, the caption and menu fonts, which form a window is and whether it
// is drawn active.
#include <windows.h>

#include <functional>

#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "platform/Color.h"

class TSkinEngine;

namespace skin {

// "User32.dll" functions looked up by name at first use. Once any of them
// is missing, every wrapper answers 0 without calling anything.
BOOL LateGetScrollBarInfo(HWND window, LONG object, PSCROLLBARINFO info);
BOOL LateGetComboBoxInfo(HWND window, PCOMBOBOXINFO info);
HWND LateGetAncestor(HWND window, UINT flags);
bool LateUser32Missing();
// For tests: behave as if a look-up had failed, or start afresh.
void SetLateUser32Missing(bool missing);

bool IsWindows95();
bool IsWindowsVista();

// The work area of the monitor holding the main form (the primary one
// without a main form), its bottom one pixel up.
RECT WorkArea();

// Both edges inclusive.
inline bool PointInRect(const RECT& rect, int x, int y) {
  return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

// The application's form whose window this is, or none.
TForm* FormOfHandle(HWND window);
// Whether the frame of a form is drawn active.
bool IsFormActive(TForm* form);

// The system's caption and menu fonts (non-client metrics); a font the
// metrics cannot be read for stays as it was.
bool CaptionFont(LOGFONTA& font);
bool MenuFont(LOGFONTA& font);

using TMenuItemMeasure = std::function<void(TMenuItem* item, HDC dc, int& width, int& height)>;
using TMenuItemDraw = std::function<void(TMenuItem* item, HDC dc, const RECT& rect, bool selected)>;
// Gives an item and all its sub-items the handlers.
void SetMenuItemHandlers(TMenuItem* item, const TMenuItemMeasure& measure, const TMenuItemDraw& draw);

// A 2-pixel frame of the colour around a control, its left edge a line of
// the skin's control border colour.
void DrawControlFrame(TControl* control, TSkinEngine& engine, TColor color);
// Frames a window's whole rectangle in its non-client DC; with drawInner
// also the rectangle one pixel inside.
void FrameWindowOutline(HWND window, TColor outer, TColor inner, bool drawInner);

// System colours turned into the RGB they stand for now.
COLORREF ToRgb(TColor color);

} // namespace skin
