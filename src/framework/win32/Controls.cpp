#include "framework/win32/Controls.h"

#include "framework/win32/Gdi.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"

COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

void FillColor(HDC dc, const RECT& rect, TColor color) {
  const gdi::TBrush brush(CreateSolidBrush(ColorToRGB(color)));
  FillRect(dc, &rect, brush.Get());
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, copied)));
  return text;
}

// --- TFont ------------------------------------------------------------------

TFont::TFont() = default;

TFont::~TFont() = default;

int TFont::Height() const {
  const int dpi = GetDeviceCaps(gdi::TClientDC(nullptr).Get(), LOGPIXELSY);
  return -MulDiv(size_, dpi, 72);
}

void TFont::Set(const std::string& name, int size, bool bold) {
  name_ = name;
  size_ = size;
  bold_ = bold;
  handle_.Reset();
  if (OnChange) OnChange();
}

void TFont::Assign(const TFont& other) {
  Color = other.Color;
  Set(other.name_, other.size_, other.bold_);
}

HFONT TFont::Handle() const {
  if (!handle_)
    handle_.Reset(CreateFontA(Height(), 0, 0, 0, bold_ ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          name_.c_str()));
  return handle_.Get();
}

// --- TControl -----------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& message) { WndProc(message); };
}

TControl::~TControl() {
  if (action_) action_->RemoveClient(this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetAction(TAction* action) {
  if (action_) action_->RemoveClient(this);
  action_ = action;
  if (action_) action_->AddClient(this);
}

void TControl::ActionChanged(TAction& action) {
  SetCaption(action.Caption());
  SetEnabled(action.Enabled());
  SetVisible(action.Visible());
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const bool changed = left != left_ || top != top_ || width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (changed) {
    BoundsChanged();
    if (parent_) {
      parent_->Invalidate();
      parent_->ControlBoundsChanged();
    }
  }
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (parent_) {
    parent_->Realign();
    parent_->Invalidate();
  }
  Perform(CM_VISIBLECHANGED, visible);
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Invalidate();
  Perform(CM_ENABLEDCHANGED, enabled);
}

TColor TControl::Color() const {
  if (ParentColor && parent_) return parent_->Color();
  return color_;
}

void TControl::SetColor(TColor color) {
  color_ = color;
  ParentColor = false;
  Invalidate();
}

const TFont& TControl::EffectiveFont() const {
  if (ParentFont && parent_) return parent_->EffectiveFont();
  return Font;
}

void TControl::SetText(const std::string& text) {
  text_ = text;
  Invalidate();
  Perform(CM_TEXTCHANGED);
}

void TControl::Click() {
  if (action_) {
    action_->Execute();
  } else if (OnClick) {
    OnClick(this);
  }
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WindowProc(message);
  return message.Result;
}

// A control without a window: its parent hands it paint and mouse messages,
// with the DC in wParam and points in the control's own coordinates.
void TControl::WndProc(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  switch (m.Msg) {
  case WM_PAINT:
    if (m.WParam) PaintOn(reinterpret_cast<HDC>(m.WParam));
    break;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    if (OnMouseDown) {
      const TMouseButton button = m.Msg == WM_LBUTTONDOWN   ? TMouseButton::mbLeft
                                  : m.Msg == WM_RBUTTONDOWN ? TMouseButton::mbRight
                                                            : TMouseButton::mbMiddle;
      OnMouseDown(this, button, m.WParam, x, y);
    }
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    if (OnMouseUp) OnMouseUp(this, m.Msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight, m.WParam, x, y);
    // Released over the control it went down on: a click.
    if (m.Msg == WM_LBUTTONUP && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
    break;
  case WM_LBUTTONDBLCLK:
    if (OnDblClick) OnDblClick(this);
    break;
  default:
    break;
  }
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    const RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

// --- TWinControl -----------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

// The teardown order of a window and its object (delete runs all of it):
//   1. BeforeDestruction, the object still whole: it is marked as going
//      (nothing is laid out, repainted or made again), and its window is
//      destroyed. WM_DESTROY and WM_NCDESTROY reach the WindowProc in place:
//      a component that hooked it (a skin frame) and the most derived
//      class's WndProc both see them; WM_NCDESTROY unbinds the object.
//   2. The destructors of the derived classes run; the components the form
//      owns are still there for them to use (without windows).
//   3. Here: the owned components are freed while the WindowProc member is
//      alive, so that one that replaced it puts the saved handler back into
//      a live object; then the child controls left (owned elsewhere) go.
// An object that was not made by new skips step 1: its window goes here,
// after its components.
void TWinControl::BeforeDestruction() {
  TControl::BeforeDestruction();
  destroying_ = true;
  DestroyHandle();
}

TWinControl::~TWinControl() {
  destroying_ = true;
  DestroyComponents();
  DestroyHandle();
  while (!controls_.empty()) delete controls_.back(); // each leaves this list
}

bool TWinControl::GoingAway() const {
  for (const TWinControl* control = this; control; control = control->parent_)
    if (control->destroying_ || (control->ComponentState() & csDestroying)) return true;
  return false;
}

namespace {
// Our windows carry their object in a window property: unlike the window
// procedure, it stays when others subclass the window (the skin engine,
// comctl32's SetWindowSubclass), and unlike the user data it is ours alone.
constexpr const char* kControlProperty = "PlimetControl";
// The control whose window is being made on this thread: it is bound at the
// window's very first message (WM_GETMINMAXINFO comes before WM_NCCREATE).
thread_local TWinControl* creatingControl = nullptr;
} // namespace

void TControl::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) PopupMenu.Forget(component);
  TComponent::Notification(component, operation);
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(GetPropA(window, kControlProperty));
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (HandleAllocated())
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->HandleNeeded();
  Realign();
  ControlBoundsChanged();
}

void TWinControl::RemoveControl(TControl* control) {
  if (mouseGraphic_ == control) mouseGraphic_ = nullptr;
  if (captureGraphic_ == control) {
    captureGraphic_ = nullptr; // the mouse is let go with it
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
  }
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  control->parent_ = nullptr;
  if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && !destroying_) windowed->DestroyHandle();
  if (!destroying_) {
    Realign();
    ControlBoundsChanged();
  }
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.WinClassName = ClassName();
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED) |
                 (TabStop ? WS_TABSTOP : 0);
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = height_;
  if (parent_) params.WndParent = parent_->Handle();
}

namespace {

// The system procedure behind each class we registered. Window classes are
// process-wide, so this is too.
std::vector<std::pair<std::string, WNDPROC>>& BaseProcedures() {
  static std::vector<std::pair<std::string, WNDPROC>> procedures;
  return procedures;
}

WNDPROC BaseProcedure(const std::string& className) {
  for (const auto& [name, procedure] : BaseProcedures())
    if (name == className) return procedure;
  return DefWindowProcA;
}

WNDPROC RegisterOurClass(const TCreateParams& params) {
  for (const auto& [name, procedure] : BaseProcedures())
    if (name == params.WinClassName) return procedure;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!params.BaseClassName.empty()) {
    // A system control's behaviour with our procedure in front of it.
    if (!GetClassInfoExA(nullptr, params.BaseClassName.c_str(), &wc))
      throw std::runtime_error("Unknown window class " + params.BaseClassName);
    wc.cbSize = sizeof wc;
  } else {
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpfnWndProc = DefWindowProcA;
  }
  const WNDPROC base = wc.lpfnWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = params.WinClassName.c_str();
  wc.lpfnWndProc = StdWndProc;
  if (!RegisterClassExA(&wc)) throw std::runtime_error("Unable to register window class " + params.WinClassName);
  BaseProcedures().emplace_back(params.WinClassName, base);
  return base;
}

} // namespace

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  defaultProc_ = RegisterOurClass(params);
  TWinControl* const outer = creatingControl;
  creatingControl = this;
  HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), text_.c_str(), params.Style, params.X,
                                params.Y, params.Width, params.Height, params.WndParent, nullptr,
                                GetModuleHandleA(nullptr), this);
  creatingControl = outer;
  if (!window) throw std::runtime_error("Unable to create a window of class " + params.WinClassName);
}

HWND TWinControl::Handle() {
  if (!handle_) {
    if (GoingAway()) return nullptr; // a window going is not made again
    if (parent_) parent_->HandleNeeded();
    if (handle_) return handle_; // the parent made it while making its children
    CreateWnd();
    ApplyFont();
    HandleCreated();
    for (TControl* control : controls_)
      if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->HandleNeeded();
    Realign();
  }
  return handle_;
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWindow(handle_); // WM_NCDESTROY unbinds this and every child window
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  HandleNeeded();
  Perform(CM_RECREATEWND);
}

void TWinControl::ApplyFont() {
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont().Handle()), FALSE);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  Realign();
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetVisible(bool visible) {
  visible_ = visible;
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_) parent_->Realign();
  Perform(CM_VISIBLECHANGED, visible);
}

void TWinControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (handle_) EnableWindow(handle_, enabled);
  Perform(CM_ENABLEDCHANGED, enabled);
}

void TWinControl::SetText(const std::string& text) {
  text_ = text;
  if (handle_) SetWindowTextA(handle_, text.c_str()); // WM_SETTEXT tells CM_TEXTCHANGED
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::ContainsFocus() const {
  HWND focus = GetFocus();
  return handle_ && focus && (focus == handle_ || IsChild(handle_, focus));
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!handle_) return;
  message.Result = CallWindowProcA(defaultProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::Realign() {
  if (!handle_) return;
  RECT area = ClientRect();
  // Unaligned children anchored to the right or bottom follow a size change.
  const int clientWidth = area.right - area.left, clientHeight = area.bottom - area.top;
  if (lastClientWidth_ >= 0) {
    const int dw = clientWidth - lastClientWidth_, dh = clientHeight - lastClientHeight_;
    if (dw != 0 || dh != 0) {
      for (TControl* control : controls_) {
        if (control->Align() != TAlign::alNone) continue;
        int left = control->Left(), top = control->Top(), width = control->Width(), height = control->Height();
        if (control->Anchors & akRight) (control->Anchors & akLeft) ? width += dw : left += dw;
        if (control->Anchors & akBottom) (control->Anchors & akTop) ? height += dh : top += dh;
        if (left != control->Left() || top != control->Top() || width != control->Width() ||
            height != control->Height())
          control->SetBounds(left, top, std::max(0, width), std::max(0, height));
      }
    }
  }
  lastClientWidth_ = clientWidth;
  lastClientHeight_ = clientHeight;
  auto place = [&](TAlign align) {
    // Controls of one alignment dock in the order of where they stand (a bar
    // placed at Top -100 docks above the others); the same place keeps the
    // order they were added in.
    std::vector<TControl*> docked;
    for (TControl* control : controls_)
      if (control->Align() == align && control->Visible()) docked.push_back(control);
    std::stable_sort(docked.begin(), docked.end(), [align](const TControl* a, const TControl* b) {
      switch (align) {
      case TAlign::alTop: return a->Top() < b->Top();
      case TAlign::alBottom: return a->Top() > b->Top();
      case TAlign::alLeft: return a->Left() < b->Left();
      case TAlign::alRight: return a->Left() > b->Left();
      default: return false;
      }
    });
    for (TControl* control : docked) {
      switch (align) {
      case TAlign::alTop:
        control->SetBounds(area.left, area.top, area.right - area.left, control->Height());
        area.top += control->Height();
        break;
      case TAlign::alBottom:
        control->SetBounds(area.left, area.bottom - control->Height(), area.right - area.left, control->Height());
        area.bottom -= control->Height();
        break;
      case TAlign::alLeft:
        control->SetBounds(area.left, area.top, control->Width(), area.bottom - area.top);
        area.left += control->Width();
        break;
      case TAlign::alRight:
        control->SetBounds(area.right - control->Width(), area.top, control->Width(), area.bottom - area.top);
        area.right -= control->Width();
        break;
      case TAlign::alClient:
        control->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
        break;
      case TAlign::alNone:
        break;
      }
    }
  };
  for (const TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient})
    place(align);
}

void TWinControl::PaintGraphicChildren(HDC dc) {
  for (TControl* control : controls_)
    if (control->Visible() && !dynamic_cast<TWinControl*>(control))
      control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

TControl* TWinControl::GraphicChildAt(POINT point) const {
  // The last added is on top.
  for (auto each = controls_.rbegin(); each != controls_.rend(); ++each) {
    TControl* control = *each;
    if (dynamic_cast<TWinControl*>(control) || !control->Visible() || !control->Enabled()) continue;
    const RECT r = control->BoundsRect();
    if (PtInRect(&r, point)) return control;
  }
  return nullptr;
}

bool TWinControl::RouteToGraphicChild(TMessage& m) {
  if (!HoldsGraphicChildren()) return false;
  const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN;
  const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = captureGraphic_ ? captureGraphic_ : GraphicChildAt(at);
  if (m.Msg == WM_MOUSEMOVE && !captureGraphic_ && target != mouseGraphic_) {
    if (TControl* left = std::exchange(mouseGraphic_, target)) left->Perform(CM_MOUSELEAVE);
    if (target) target->Perform(CM_MOUSEENTER);
  }
  if (!target) return false;
  if (down) {
    // The button comes up at the control it went down on, wherever it is then.
    captureGraphic_ = target;
    SetCapture(handle_);
  }
  m.Result = target->Perform(m.Msg, m.WParam,
                             MAKELPARAM(static_cast<WORD>(at.x - target->Left()), static_cast<WORD>(at.y - target->Top())));
  if (up && captureGraphic_) {
    captureGraphic_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  return true;
}

void TWinControl::TrackMouse() {
  if (mouseInside_) return;
  mouseInside_ = true;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
  TrackMouseEvent(&track);
  Perform(CM_MOUSEENTER);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE:
    TrackMouse();
    if (RouteToGraphicChild(m)) return;
    break;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
  case WM_LBUTTONDBLCLK:
    if (RouteToGraphicChild(m)) return;
    break;
  case WM_CAPTURECHANGED:
    if (TControl* captured = std::exchange(captureGraphic_, nullptr)) captured->Perform(m.Msg, m.WParam, m.LParam);
    break;
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT && HoldsGraphicChildren()) {
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(handle_, &at);
      if (TControl* control = captureGraphic_ ? captureGraphic_ : GraphicChildAt(at))
        if (control->Perform(m.Msg, m.WParam, m.LParam)) {
          m.Result = TRUE;
          return;
        }
    }
    break;
  default:
    break;
  }
  switch (m.Msg) {
  case WM_COMMAND:
    if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam))) {
      m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
      return;
    }
    break;
  case WM_NOTIFY:
    if (TWinControl* child = FromHandle(reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom)) {
      m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
      return;
    }
    break;
  case WM_HSCROLL:
  case WM_VSCROLL:
    // A scrolling control (a scroll bar, a track bar, an up-down) telling of its moves.
    if (TWinControl* child = m.LParam ? FromHandle(reinterpret_cast<HWND>(m.LParam)) : nullptr) {
      m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
      return;
    }
    break;
  case WM_DRAWITEM:
    if (auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam); draw->CtlType != ODT_MENU)
      if (TWinControl* child = FromHandle(draw->hwndItem)) {
        m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
        return;
      }
    break;
  case CN_COMMAND:
    CommandNotify(HIWORD(m.WParam));
    return;
  case CN_NOTIFY:
    NotifyNotify(*reinterpret_cast<NMHDR*>(m.LParam), m);
    return;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam))) {
      // Children on our background take our colour.
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      const TColor color = child->Color();
      SetBkColor(dc, ColorToRGB(color));
      SetTextColor(dc, ColorToRGB(child->EffectiveFont().Color));
      if (child->backgroundColor_ != color || !child->backgroundBrush_) {
        child->backgroundBrush_.Reset(CreateSolidBrush(ColorToRGB(color)));
        child->backgroundColor_ = color;
      }
      m.Result = reinterpret_cast<LRESULT>(child->backgroundBrush_.Get());
      return;
    }
    break;
  case WM_SIZE:
    DefaultHandler(m);
    if (handle_) {
      RECT r;
      GetWindowRect(handle_, &r);
      // A child stands in its parent's client area; a top-level window on
      // the screen (GetParent would name its owner).
      HWND parent = (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr;
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      left_ = r.left;
      top_ = r.top;
      width_ = r.right - r.left;
      height_ = r.bottom - r.top;
    }
    Realign();
    return;
  case WM_SETTEXT:
    DefaultHandler(m);
    text_ = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
    Perform(CM_TEXTCHANGED);
    return;
  case WM_SETFOCUS:
    DefaultHandler(m);
    Perform(CM_GOTFOCUS);
    return;
  case WM_KILLFOCUS:
    DefaultHandler(m);
    Perform(CM_LOSTFOCUS);
    return;
  case WM_MOUSELEAVE:
    mouseInside_ = false;
    if (TControl* left = std::exchange(mouseGraphic_, nullptr)) left->Perform(CM_MOUSELEAVE);
    Perform(CM_MOUSELEAVE);
    break;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    if (OnMouseDown) {
      const TMouseButton button = m.Msg == WM_LBUTTONDOWN   ? TMouseButton::mbLeft
                                  : m.Msg == WM_RBUTTONDOWN ? TMouseButton::mbRight
                                                            : TMouseButton::mbMiddle;
      OnMouseDown(this, button, m.WParam, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    }
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    if (OnMouseUp)
      OnMouseUp(this, m.Msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight, m.WParam,
                GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    break;
  case WM_LBUTTONDBLCLK:
    if (OnDblClick && !NotifiesDblClick()) OnDblClick(this);
    break;
  case WM_CONTEXTMENU: {
    // The menu of the control the user pressed (wParam), which may be a
    // child telling its parent, else this control's own.
    TWinControl* target = FromHandle(reinterpret_cast<HWND>(m.WParam));
    if (!target || !dynamic_cast<TPopupMenu*>(target->PopupMenu.Get())) target = this;
    if (auto* menu = dynamic_cast<TPopupMenu*>(target->PopupMenu.Get())) {
      POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (at.x == -1 && at.y == -1) { // from the keyboard: at what the control has selected
        at = target->KeyboardMenuPoint();
        ClientToScreen(target->handle_, &at);
      }
      menu->PopupComponent = target;
      menu->Popup(at.x, at.y);
      m.Result = 1;
      return;
    }
    break;
  }
  case WM_KEYDOWN:
    if (OnKeyDown) {
      WORD key = static_cast<WORD>(m.WParam);
      OnKeyDown(this, key, 0);
      if (key == 0) return;
    }
    break;
  case WM_ERASEBKGND:
    if (defaultProc_ == DefWindowProcA) {
      RECT r;
      GetClientRect(handle_, &r);
      FillColor(reinterpret_cast<HDC>(m.WParam), r, Color());
      m.Result = 1;
      return;
    }
    break;
  case WM_PAINT:
    if (defaultProc_ == DefWindowProcA) {
      const gdi::TPaintDC dc(handle_);
      PaintGraphicChildren(dc.Get());
      return;
    }
    // A system control (a group box) paints itself; controls without a
    // window of their own go on top.
    if (std::any_of(controls_.begin(), controls_.end(),
                    [](TControl* c) { return !dynamic_cast<TWinControl*>(c); })) {
      DefaultHandler(m);
      PaintGraphicChildren(gdi::TClientDC(handle_).Get());
      return;
    }
    break;
  default:
    if (m.Msg >= CM_BASE && m.Msg < CN_BASE) return; // our notifications: nothing to do by default
    break;
  }
  DefaultHandler(m);
}

void TCustomControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    const gdi::TPaintDC dc(Handle());
    Paint(dc.Get());
    return;
  }
  TWinControl::WndProc(m);
}

LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropA(window, kControlProperty));
  if (!control && creatingControl && !creatingControl->handle_) {
    // The first message of the window being made: bind it now, once.
    control = std::exchange(creatingControl, nullptr);
    SetPropA(window, kControlProperty, control);
    control->handle_ = window;
  }
  if (!control) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return CallWindowProcA(BaseProcedure(name), window, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  // An exception from a handler ends that command, never the message loop.
  Guarded(
      [&] {
        control->WindowProc(message);
        return true;
      },
      false);
  if (msg == CM_RELEASE && control->InheritsFrom<TForm>()) {
    delete control; // after everyone hooked to it has seen the message
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(window, kControlProperty);
    control->handle_ = nullptr;
    control->mouseInside_ = false;
  }
  return message.Result;
}

// --- TUtilWindow ------------------------------------------------------------------------

TUtilWindow::TUtilWindow(THandler handler, bool messageOnly) : handler_(std::move(handler)) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TPUtilWindow";
  RegisterClassExA(&wc); // fails harmlessly when registered already
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0,
                            messageOnly ? HWND_MESSAGE : nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK TUtilWindow::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT result = 0;
  const int handled = Guarded([&] { return self && self->handler_ && self->handler_(msg, wParam, lParam, result) ? 1 : 0; },
                              -1);
  if (handled == 1) return result;
  if (handled == -1) return 0; // it failed: told, and nothing more done for it
  return DefWindowProcA(window, msg, wParam, lParam);
}

void ShowEscapedError(const std::string& text) noexcept {
  try {
    if (Application) {
      Application->ShowException(text);
    } else {
      MessageBoxA(nullptr, text.c_str(), "Plimet", MB_OK | MB_ICONSTOP);
    }
  } catch (...) {
    // nothing left to tell it with
  }
}
