#pragma once
// Controls over Win32 windows. Every window of ours runs through one window
// procedure that finds its object; the object's WindowProc is a replaceable
// handler whose default can be saved and called by whoever replaces it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/ActnList.h"
#include "framework/win32/Messages.h"
#include "platform/Color.h"

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Which edges of its parent an unaligned control keeps its distance to.
enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, WPARAM keys, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, WORD& key, WPARAM keys)>;

constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
COLORREF ColorToRGB(TColor color);
// Fills a rectangle with a colour (system colours included).
void FillColor(HDC dc, const RECT& rect, TColor color);
// A window's whole text.
std::string WindowText(HWND window);

// A font description and the GDI font made from it, made again when it changes.
class TFont {
public:
  TFont();
  ~TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;
  const std::string& Name() const { return name_; }
  int Size() const { return size_; }
  int Height() const; // pixels, negative as GDI takes it (8 points: -11 at 96 dpi)
  bool Bold() const { return bold_; }
  TColor Color = clWindowText;
  void Set(const std::string& name, int size, bool bold = false);
  void Assign(const TFont& other);
  HFONT Handle() const;
  std::function<void()> OnChange;

private:
  std::string name_ = "Tahoma";
  int size_ = 8;
  bool bold_ = false;
  mutable gdi::TFontHandle handle_;
};

class TWinControl;

class TControl : public TComponent, public IActionClient {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  PLIMET_CLASS_NAME(TControl)

  // A bound action gives the control its caption and state, and runs on a click.
  TAction* Action() const { return action_; }
  void SetAction(TAction* action);
  void ActionChanged(TAction& action) override;
  void ActionGone() override { action_ = nullptr; }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return {0, 0, width_, height_}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  unsigned Anchors = akLeft | akTop;
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor = false;
  TFont Font;
  bool ParentFont = true;
  const std::string& Caption() const { return text_; }
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& text);
  void SetCaption(const std::string& text) { SetText(text); }
  TComponentRef<TComponent> PopupMenu{this}; // linked: forgotten when it goes

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TKeyEvent OnKeyDown;

  virtual void Click();
  virtual void Invalidate();

  // The replaceable handler of every control, windowed or not: save it,
  // install your own, call the saved one. A control without a window of its
  // own gets its paint and mouse messages from its parent through Perform.
  TWndMethod WindowProc;
  // What WindowProc does until someone replaces it.
  virtual void WndProc(TMessage& message);
  // Sends a message straight to the control's WindowProc.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Draws a control that has no window of its own, on its parent's DC, in
  // the parent's coordinates (WM_PAINT with the DC in wParam calls it).
  virtual void PaintOn(HDC) {}

  // Properties the skin engine asks about. A control that has none answers
  // that it is not published.
  struct TPublishedValue {
    bool published = false;
    std::string typeName;
    int value = 0;
  };
  virtual TPublishedValue BorderStyleProperty() const { return {}; }
  virtual TPublishedValue BevelEdgesProperty() const { return {}; }
  virtual TPublishedValue EdgeBordersProperty() const { return {}; }
  // The font the control draws with: its own, or its parent's when ParentFont.
  const TFont& EffectiveFont() const;

protected:
  friend class TWinControl;
  // A popup menu that goes is forgotten, not left dangling.
  void Notification(TComponent* component, TOperation operation) override;
  virtual void BoundsChanged() {}

  TWinControl* parent_ = nullptr;
  TAction* action_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  std::string text_;
};

// Window creation parameters.
struct TCreateParams {
  std::string WinClassName;  // our class name, registered on first use
  std::string BaseClassName; // a system class it is built on, or empty
  DWORD Style = 0;
  DWORD ExStyle = 0;
  HWND WndParent = nullptr;
  int X = 0, Y = 0, Width = 0, Height = 0;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  // Destroys the window, then the child controls still here.
  ~TWinControl() override;
  // Destroys the window while the whole object still hears its messages.
  void BeforeDestruction() override;
  PLIMET_CLASS_NAME(TWinControl)

  void WndProc(TMessage& message) override;

  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  // Makes the window again (after a change of style), then tells CM_RECREATEWND.
  void RecreateWnd();
  // The object of one of our windows, or none.
  static TWinControl* FromHandle(HWND window);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string& text) override;
  void Invalidate() override;
  void SetFocus();
  bool Focused() const;
  // The focus is on this window or on a window inside it.
  bool ContainsFocus() const;
  bool TabStop = false;
  // Lays out the aligned children in the client area.
  void Realign();

protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // Called once the window exists (text, font, children are set here).
  virtual void HandleCreated() {}
  // What the system does with a message (the window class's own procedure;
  // MDI forms use the frame's and the child's default procedures).
  virtual void DefaultHandler(TMessage& message);
  // Notifications from the parent about this control.
  // A control that tells its parent of double clicks itself raises
  // OnDblClick from that notification only.
  virtual bool NotifiesDblClick() const { return false; }
  // Where a context menu opened from the keyboard appears, in client coordinates.
  virtual POINT KeyboardMenuPoint() { return {0, 0}; }
  virtual void CommandNotify(WORD) {}
  virtual void NotifyNotify(NMHDR&, TMessage&) {}
  void ApplyFont();
  void PaintGraphicChildren(HDC dc);
  // Whether this window hands the mouse to its windowless children: our own
  // windows do; a system control places its own items, unless it is only a
  // container (a group box says so).
  virtual bool HoldsGraphicChildren() const { return defaultProc_ == DefWindowProcA; }
  // A child came, went, moved or changed size (a scrolling container
  // measures its contents again).
  virtual void ControlBoundsChanged() {}
  // Whether this window or one it sits in is on its way out: no window is
  // made again then.
  bool GoingAway() const;

private:
  friend class TControl;
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void TrackMouse();
  // Hands a mouse message over a control without a window to that control.
  bool RouteToGraphicChild(TMessage& message);

  TControl* GraphicChildAt(POINT point) const;

  HWND handle_ = nullptr;
  WNDPROC defaultProc_ = DefWindowProcA;
  std::vector<TControl*> controls_;
  bool mouseInside_ = false;
  TControl* mouseGraphic_ = nullptr;   // the windowless child the mouse is over
  TControl* captureGraphic_ = nullptr; // the one a button went down on
  int lastClientWidth_ = -1, lastClientHeight_ = -1; // for anchored children
  gdi::TBrush backgroundBrush_; // for children on our background
  TColor backgroundColor_ = kNoColor;
  bool destroying_ = false;
};

// A control drawn by its parent, with no window of its own.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  PLIMET_CLASS_NAME(TGraphicControl)
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TCustomControl)
  void WndProc(TMessage& message) override;

protected:
  virtual void Paint(HDC) {}
};

// A windowed control whose contents may scroll: the base of forms, frames
// and scroll boxes.
class TScrollingWinControl : public TWinControl {
public:
  explicit TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TScrollingWinControl)
};

// A hidden window of our own handing its messages to a handler: for timers,
// popup menus and the notification-area icon.
class TUtilWindow {
public:
  // True from the handler when it handled the message (result set).
  using THandler = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
  // A message-only window hears no broadcasts; a hidden top-level one does.
  explicit TUtilWindow(THandler handler, bool messageOnly = true);
  ~TUtilWindow();
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;
  HWND Handle() const { return window_; }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  THandler handler_;
  HWND window_ = nullptr;
};

// The one window procedure of every window of ours.
LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Shows what escaped a callback in the application's error box (a plain
// stop box before there is an application).
void ShowEscapedError(const std::string& text) noexcept;

// The one barrier every callback runs its work behind (window procedures,
// the application and utility windows, hooks): an exception ends that
// piece of work in the error box, never unwinds into the system, and the
// callback answers the fallback.
template <typename Work, typename Result>
Result Guarded(Work&& work, Result fallback) noexcept {
  try {
    return work();
  } catch (const std::exception& error) {
    ShowEscapedError(error.what());
  } catch (...) {
    ShowEscapedError("Unknown error");
  }
  return fallback;
}
