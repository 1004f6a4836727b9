#pragma once
// Finding the skinner a skinned form gave one of its controls, and where
// the control's own scroll bars lie. Windows only.
#include <windows.h>

#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindow.h"

// The skinner of the given kind the form's frame holds for control, or none.
template <typename Skinner>
Skinner* SkinnerOf(TSkinEngine& engine, HWND form, TControl* control) {
  TSkinWindow* frame = engine.FrameOf(form);
  if (!frame) return nullptr;
  for (auto& child : frame->Children)
    if (auto* skinner = dynamic_cast<Skinner*>(child.get()); skinner && skinner->Control == control) return skinner;
  return nullptr;
}

// The rectangle of a control's native bar on the screen.
inline RECT NativeScrollBar(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, object, &info);
  return info.rcScrollBar;
}

inline bool SameScreenRect(HWND window, const RECT& r) {
  RECT own{};
  GetWindowRect(window, &own);
  return EqualRect(&own, &r) != FALSE;
}
