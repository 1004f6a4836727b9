#include "skin/engine/SkinWindowWnd.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "framework/win32/Controls.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"

namespace {

constexpr const char* kFrameProperty = "PlimetSkinFrame";
constexpr const char* kInnerProperty = "PlimetSkinInnerFrame";

std::string UpperClassName(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, sizeof name);
  std::string text = name;
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT WindowPlace(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT place{rect.left, rect.top};
  if (HWND parent = GetParent(window); parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
    ScreenToClient(parent, &place);
  return place;
}

} // namespace

TSkinWindowWnd::TSkinWindowWnd(TComponent* owner, bool fromHook, TSkinEngine& engine)
    : TSkinWindow(owner, fromHook, engine) {}

TSkinWindowWnd::~TSkinWindowWnd() = default;

void TSkinWindowWnd::Attach(HWND window) {
  handle_ = window;
  Style = SeenStyle = 0;
  StyleSeen = Grown = HasAnimation = IsFileDialog = IsFolderBrowser = false;
  SetPropA(window, kFrameProperty, this);
  savedProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinWindowWnd::FrameProc)));
}

void TSkinWindowWnd::Detach() {
  if (savedProc_ && IsWindow(handle_)) {
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc_));
    RemovePropA(handle_, kFrameProperty);
    FrameChanged();
  }
  savedProc_ = nullptr;
  if (InnerDialog && savedInnerProc_ && IsWindow(InnerDialog)) {
    SetWindowLongPtrA(InnerDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedInnerProc_));
    RemovePropA(InnerDialog, kInnerProperty);
    SetWindowPos(InnerDialog, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  savedInnerProc_ = nullptr;
  InnerDialog = nullptr;
}

LRESULT CALLBACK TSkinWindowWnd::FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* frame = static_cast<TSkinWindowWnd*>(GetPropA(window, kFrameProperty));
  if (!frame) return DefWindowProcA(window, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  frame->WindowProc(message);
  return message.Result;
}

void TSkinWindowWnd::CallDefault(TMessage& message) {
  message.Result = CallWindowProcA(savedProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TSkinWindowWnd::SaveOriginal() {
  Style = GetWindowLongA(handle_, GWL_STYLE);
  RECT client{}, window{};
  GetClientRect(handle_, &client);
  SavedClientWidth = client.right;
  SavedClientHeight = client.bottom;
  GetWindowRect(handle_, &window);
  MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  NativeTop = client.top - window.top;
  NativeBottom = window.bottom - client.bottom;
  NativeSide = client.left - window.left;
}

void TSkinWindowWnd::SkinChildren() {
  for (HWND child = GetTopWindow(handle_); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongA(child, GWL_STYLE) & WS_CHILD) || SendMessageA(child, WM_SKIN_QUERY, 0, 0) == 1) continue;
    char name[101] = {};
    GetClassNameA(child, name, sizeof name);
    if (!lstrcmpiA(name, "SysAnimate32") || !lstrcmpiA(name, "msctls_progress32")) HasAnimation = true;
    std::string key = PlainControlKey(child);
    HWND target = child;
    if (key == "COMBOBOXEX32") {
      // The inner combo box is the one skinned; without it, nothing is.
      target = GetWindow(child, GW_CHILD);
      if (!target) continue;
    }
    const TSkinControlRegistry::TWndRow* row = key.empty() ? nullptr : TSkinControlRegistry::Standard().FindWnd(key);
    if (!row) continue;
    try {
      AddChild(row->Make(*this, target));
    } catch (...) {
    }
  }
}

void TSkinWindowWnd::ApplySkin() {
  ReapplyChildren(true);
  const TSkinMetrics& metrics = Engine.Metrics();
  const SIZE size = WindowSize(handle_);
  const POINT place = WindowPlace(handle_);
  if (Skinned) {
    SetWindowLongA(handle_, GWL_STYLE, Style & ~WS_SYSMENU);
    SetMenu(handle_, nullptr);
    grownBy_ = {metrics.LeftBorderWidth + metrics.RightBorderWidth,
                CaptionHeight() + MenuBarHeight() + std::max(NativeBottom, metrics.BottomBorderHeight) - NativeTop};
    MoveWindow(handle_, place.x, place.y, size.cx + grownBy_.cx, size.cy + grownBy_.cy, TRUE);
  } else {
    if (!IsWindow(handle_)) return;
    // The style as the window first painted with it; whether it is shown stays as it is.
    SetWindowLongA(handle_, GWL_STYLE,
                   ((StyleSeen ? SeenStyle : Style) & ~WS_VISIBLE) | (GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE));
    // Back by exactly what skinning added, measured with the skin of that
    // time: a window switched off and on (each skin change does it) keeps
    // its size instead of drifting a pixel each time.
    MoveWindow(handle_, place.x, place.y, size.cx - grownBy_.cx, size.cy - grownBy_.cy, TRUE);
    grownBy_ = {0, 0};
    SetWindowRgn(handle_, nullptr, TRUE);
  }
  FrameChanged();
}

bool TSkinWindowWnd::BeforeDefault(TMessage& message) {
  switch (message.Msg) {
  case WM_ERASEBKGND:
    if (!StyleSeen) {
      StyleSeen = true;
      SeenStyle = GetWindowLongA(handle_, GWL_STYLE);
    }
    break;
  case WM_DESTROY: {
    // Not attached again by a late activation of a window on its way out.
    TSkinEngine::LastDetached = handle_;
    HWND window = handle_;
    const WNDPROC own = savedProc_;
    Engine.Detach(window); // frees this frame and gives the window its procedure back
    // The window's own procedure still hears of its end: a dialog frees
    // what it made for itself there.
    message.Result = CallWindowProcA(own, window, WM_DESTROY, message.WParam, message.LParam);
    return false;
  }
  case WM_SYSCOMMAND:
    if ((message.WParam & 0xFFF0) == SC_CLOSE) {
      PostMessageA(handle_, WM_COMMAND, IDCANCEL, 0);
      return false;
    }
    break;
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORSTATIC:
    SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
    message.Result = reinterpret_cast<LRESULT>(Engine.FormBrush());
    return false;
  case WM_SHOWWINDOW:
    ScanChildren();
    break;
  case WM_SIZE:
    if ((skin::IsWindowsVista() && IsFileDialog) || IsFolderBrowser) {
      UpdateRegion();
      return false;
    }
    break;
  default:
    break;
  }
  return true;
}

void TSkinWindowWnd::AfterDefault(TMessage& message) {
  if (message.Msg != WM_SIZE || IsZoomed(handle_)) return;
  RECT client{};
  GetClientRect(handle_, &client);
  if (!Grown && client.bottom < SavedClientHeight && client.right > 1.5 * SavedClientWidth) {
    Grown = true;
    const SIZE size = WindowSize(handle_);
    SetWindowPos(handle_, nullptr, 0, 0, size.cx,
                 size.cy + CaptionHeight() + MenuBarHeight() + Engine.Metrics().BottomBorderHeight - NativeTop,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  UpdateRegion();
}

void TSkinWindowWnd::ScanChildren() {
  bool shellView = false, toolBar = false, listBox = false;
  for (HWND child = GetTopWindow(handle_); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string name = UpperClassName(child);
    if (name == "SHELLDLL_DEFVIEW") shellView = true;
    if (name == "TOOLBARWINDOW32") toolBar = true;
    if (name == "LISTBOX") listBox = true;
    if (name == "SHBROWSEFORFOLDER SHELLNAMESPACE CONTROL") IsFolderBrowser = true;
    if (IsFolderBrowser && name == "SCROLLBAR") ShowWindow(child, SW_HIDE);
    if (name == "#32770") {
      SubclassInnerDialog(child);
      break;
    }
  }
  if (shellView && toolBar && listBox) IsFileDialog = true;
}

void TSkinWindowWnd::SubclassInnerDialog(HWND inner) {
  if (InnerDialog) return;
  InnerDialog = inner;
  SetPropA(inner, kInnerProperty, this);
  savedInnerProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinWindowWnd::InnerProc)));
  for (HWND child = GetTopWindow(inner); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (UpperClassName(child) != "TPANEL") continue;
    auto* panel = TWinControl::FromHandle(child);
    if (!panel) continue;
    panel->SetColor(Engine.FormColor());
    for (int i = 0; i < panel->ControlCount(); ++i)
      if (auto* sub = dynamic_cast<TWinControl*>(panel->Controls(i)); sub && UpperClassName(sub->Handle()) == "TPANEL")
        sub->SetColor(panel->Color());
  }
}

LRESULT CALLBACK TSkinWindowWnd::InnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* frame = static_cast<TSkinWindowWnd*>(GetPropA(window, kInnerProperty));
  if (!frame || !frame->savedInnerProc_) return DefWindowProcA(window, msg, wParam, lParam);
  switch (msg) {
  case WM_CTLCOLORDLG:
    return reinterpret_cast<LRESULT>(frame->Engine.FormBrush());
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORSTATIC:
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(frame->Engine.FormBrush());
  default:
    return CallWindowProcA(frame->savedInnerProc_, window, msg, wParam, lParam);
  }
}
