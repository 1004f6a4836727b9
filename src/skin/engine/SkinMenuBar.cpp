#include "skin/engine/SkinMenuBar.h"

#include <cctype>

#include "framework/win32/Menus.h"
#include "skin/engine/SkinWindowFramework.h"
#include "skin/win32/GdiCanvas.h"

TSkinMenuBar::TSkinMenuBar(TComponent* owner, TSkinWindowFramework& frame) : TToolBar(owner), Frame(frame) {
  Flat = true;
  EdgeBorders = 0;
  BorderWidth = 0;
  ShowCaptions = true;
  ParentColor = false;
  Wrapable = true;
  AutoSize = true;
  SetAlign(TAlign::alTop);
  OnCustomDrawButton = [this](TToolBar* bar, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw) {
    Frame.MenuButtonDraw(bar, button, draw, defaultDraw);
  };
}

TToolButton* TSkinMenuBar::HotButton() const {
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i)->Tag == kHotMenuButtonTag) return Buttons(i);
  return nullptr;
}

void TSkinMenuBar::EnterFromKeyboard() {
  for (int i = 0; i < ButtonCount(); ++i) {
    TToolButton* button = Buttons(i);
    if (button->Visible() && button->Enabled() && button->MenuItem() && button->MenuItem()->Count() > 0) {
      TrackMenu(button, true);
      return;
    }
  }
}

void TSkinMenuBar::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CM_DIALOGCHAR:
    // A mnemonic is the bar's only with Alt down, or while a button is lit.
    if (GetKeyState(VK_MENU) >= 0 && !HotButton()) {
      message.Result = 0;
      return;
    }
    TToolBar::WndProc(message);
    if (!message.Result) {
      // As on a Windows menu bar, an item without a mnemonic answers to its first letter.
      const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(message.WParam)));
      for (int i = 0; i < ButtonCount(); ++i) {
        TToolButton* button = Buttons(i);
        const std::string& caption = button->Caption();
        if (!button->Visible() || !button->Enabled() || caption.empty() || caption.find('&') != std::string::npos ||
            std::toupper(static_cast<unsigned char>(caption[0])) != key)
          continue;
        if (button->MenuItem() && button->MenuItem()->Count() > 0)
          TrackMenu(button, true);
        else
          button->Click();
        message.Result = 1;
        return;
      }
    }
    return;
  case WM_KEYUP:
    if (message.WParam == VK_RETURN) {
      for (int i = 0; i < ButtonCount(); ++i) {
        TToolButton* button = Buttons(i);
        if (button->Tag == kHotMenuButtonTag && button->MenuItem() && button->MenuItem()->Count() == 0) {
          EndMenu();
          button->MenuItem()->Click();
        }
      }
    }
    break;
  case WM_LBUTTONDOWN: {
    // The bar's own keyboard activation presses at a button's very corner.
    const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    for (int i = 0; i < ButtonCount(); ++i) {
      TToolButton* button = Buttons(i);
      const RECT r = button->ButtonRect();
      if (r.left == at.x && r.top == at.y && button->MenuItem() && button->MenuItem()->Count() == 0) return;
    }
    break;
  }
  default:
    break;
  }
  TToolBar::WndProc(message);
}

TSkinMenuBarControlButton::TSkinMenuBarControlButton(TComponent* owner) : TCustomPanel(owner) {
  SetBounds(0, 0, 18, 18);
}

void TSkinMenuBarControlButton::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_ERASEBKGND:
    message.Result = 1;
    return;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    Hover = message.Msg == CM_MOUSEENTER;
    Invalidate();
    break;
  default:
    break;
  }
  TCustomPanel::WndProc(message);
}

void TSkinMenuBarControlButton::Paint(HDC dc) {
  const gdi::TMemoryDC buffer(dc, Width(), Height());
  TGdiCanvas canvas(buffer.Get());
  canvas.FillRect({0, 0, Width(), Height()}, Color());
  if (!Glyph.Empty()) {
    if (Hover) canvas.FrameRect({0, 0, Width(), Height()}, 0);
    canvas.DrawBitmap(Glyph, {0, 0, Glyph.Width(), Glyph.Height()}, {1, 1, 1 + Glyph.Width(), 1 + Glyph.Height()},
                      Glyph.TransparentColor());
  }
  buffer.CopyTo(dc, 0, 0);
}
