#include "skin/engine/SkinControl.h"

#include <algorithm>
#include <cctype>

#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinWindow.h"
#include "skin/win32/GdiCanvas.h"

void RegisterStandardSkinners(TSkinControlRegistry& registry);

namespace {
constexpr const char* kSkinnerProperty = "PlimetSkinControl";
} // namespace

// --- the base ------------------------------------------------------------------------

TSkinControl::TSkinControl(TSkinWindow& frame) : Frame(frame), Engine(frame.Engine) {}

TSkinControl::~TSkinControl() { *alive_ = false; }

void TSkinControl::PaintIfInEffect() {
  if (Engine.InEffect()) Paint();
}

void TSkinControl::AfterMessage(TMessage& message) {
  switch (message.Msg) {
  case WM_ENABLE:
  case WM_SETTEXT:
  case WM_PAINT:
  case WM_ERASEBKGND:
  case WM_SKIN_REPAINT:
  case CM_ENABLEDCHANGED:
  case CM_TEXTCHANGED:
    PaintIfInEffect();
    break;
  case WM_KEYDOWN:
    if (message.WParam == VK_RETURN || message.WParam == VK_SPACE) SetPressed(true);
    PaintIfInEffect();
    KeyDown(message.WParam);
    break;
  case WM_KEYUP:
    if (message.WParam == VK_RETURN || message.WParam == VK_SPACE) SetPressed(false);
    PaintIfInEffect();
    KeyUp(message.WParam);
    break;
  case WM_LBUTTONDOWN:
    SetPressed(true);
    PaintIfInEffect();
    MouseDown();
    break;
  case WM_LBUTTONUP:
    SetPressed(false);
    PaintIfInEffect();
    MouseUp();
    break;
  case WM_SKIN_QUERY:
    message.Result = 1;
    break;
  case CM_MOUSEENTER:
    SetHover(true);
    PaintIfInEffect();
    MouseEnter();
    break;
  case CM_MOUSELEAVE:
    SetHover(false);
    SetPressed(false);
    PaintIfInEffect();
    MouseLeave();
    break;
  default:
    break;
  }
}

void TSkinControl::Route(TMessage& message, const std::function<void(TMessage&)>& callControl, bool disabled) {
  if (Engine.ComponentState() & csDestroying || !Engine.InEffect() || disabled) {
    callControl(message);
    return;
  }
  // The skinner may go while the control handles the message.
  const std::shared_ptr<bool> alive = alive_;
  if (BeforeMessage(message)) {
    callControl(message);
    if (!*alive) return;
  }
  if (!Released) AfterMessage(message);
}

void TSkinControl::DrawBufferAndText(const TBitmap& buffer, const std::string& text, RECT textRect, HFONT font,
                                     TColor color) {
  HWND window = Handle();
  if (!window) return;
  const gdi::TClientDC dc(window);
  const RECT bounds = GetBounds();
  {
    const TBitmapDc from(buffer);
    BitBlt(dc.Get(), bounds.left, bounds.top, buffer.Width(), buffer.Height(), from.Get(), 0, 0, SRCCOPY);
  }
  if (text.empty()) return;
  const gdi::TSelection chosen(dc.Get(), font);
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), IsEnabled() ? skin::ToRgb(color) : RGB(0x80, 0x80, 0x80));
  if (Pressed()) OffsetRect(&textRect, 1, 1);
  DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// --- framework controls ------------------------------------------------------------

TSkinControlFramework::TSkinControlFramework(TSkinWindow& frame, TControl& control)
    : TSkinControl(frame), Control(&control) {}

HWND TSkinControlFramework::Handle() {
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  return windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
}

void TSkinControlFramework::Attach() {
  saved_ = Control->WindowProc;
  Control->WindowProc = [this](TMessage& message) {
    Route(message, [this](TMessage& m) { CallControl(m); }, Control->Tag == Engine.DisabledTag && Engine.DisabledTag);
  };
  attached_ = true;
}

void TSkinControlFramework::Detach() {
  if (attached_ && Control) Control->WindowProc = saved_;
  attached_ = false;
}

void TSkinControlFramework::Forget() {
  attached_ = false;
  Control = nullptr;
}

// --- plain controls ---------------------------------------------------------------------

TSkinControlWnd::TSkinControlWnd(TSkinWindow& frame, HWND window) : TSkinControl(frame), Window(window) {}

RECT TSkinControlWnd::GetBounds() {
  RECT r{};
  GetWindowRect(Window, &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

void TSkinControlWnd::Attach() {
  SetPropA(Window, kSkinnerProperty, this);
  saved_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinControlWnd::Proc)));
}

void TSkinControlWnd::Detach() {
  // Given back only to a window that is still there.
  if (saved_ && IsWindow(Window)) {
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
    RemovePropA(Window, kSkinnerProperty);
  }
  saved_ = nullptr;
}

LRESULT CALLBACK TSkinControlWnd::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* skinner = static_cast<TSkinControlWnd*>(GetPropA(window, kSkinnerProperty));
  if (!skinner || !skinner->saved_) return DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    // The window goes before its frame lets go of it: the procedure is given back now.
    const WNDPROC own = skinner->saved_;
    skinner->Detach();
    return CallWindowProcA(own, window, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  skinner->Route(
      message, [skinner](TMessage& m) { m.Result = skinner->CallControl(m.Msg, m.WParam, m.LParam); }, false);
  return message.Result;
}

// --- which skinner ------------------------------------------------------------------------

TSkinControlRegistry& TSkinControlRegistry::Standard() {
  static TSkinControlRegistry registry = [] {
    TSkinControlRegistry made;
    RegisterStandardSkinners(made);
    return made;
  }();
  return registry;
}

const TSkinControlRegistry::TRow* TSkinControlRegistry::Find(TControl& control) const {
  for (auto row = rows_.rbegin(); row != rows_.rend(); ++row)
    if (row->Matches(control)) return &*row;
  return nullptr;
}

const TSkinControlRegistry::TWndRow* TSkinControlRegistry::FindWnd(const std::string& key) const {
  for (const TWndRow& row : wndRows_)
    if (row.Key == key) return &row;
  return nullptr;
}

std::string PlainControlKey(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, sizeof name);
  std::string key = name;
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  if (key == "SYSANIMATE32" || key == "MSCTLS_PROGRESS32") return {};
  if (key == "BUTTON") {
    if ((style & 7) == 7) return {}; // a group box
    if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5) return "BUTTON_CHECKBOX";
    if ((style & 9) == 9 || (style & 4) != 0) return "BUTTON_RADIOBUTTON";
    return key;
  }
  if (key == "COMBOBOX" && (style & 3) == 1) return {}; // simple: a list always shown
  return key;
}
