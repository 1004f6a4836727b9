#pragma once
// Control skinners: each child control of a skinned window gets one, which
// sees the control's messages before and after the control does, paints the
// control (or parts of it) from the skin and gives it back untouched when
// skinning ends. Framework controls are reached through their replaceable
// window procedure, plain system controls by subclassing.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/win32/Controls.h"
#include "skin/SkinBitmap.h"

class TSkinWindow;
class TSkinEngine;

class TSkinControl {
public:
  explicit TSkinControl(TSkinWindow& frame);
  virtual ~TSkinControl();
  TSkinControl(const TSkinControl&) = delete;
  TSkinControl& operator=(const TSkinControl&) = delete;

  TSkinWindow& Frame;
  TSkinEngine& Engine;
  enum : unsigned { kHover = 1, kPressed = 2 };
  unsigned State = 0;
  bool Released = false;
  bool Hover() const { return (State & kHover) != 0; }
  bool Pressed() const { return (State & kPressed) != 0; }
  void SetHover(bool on) { State = on ? State | kHover : State & ~kHover; }
  void SetPressed(bool on) { State = on ? State | kPressed : State & ~kPressed; }

  // False keeps the message from the control's own procedure.
  virtual bool BeforeMessage(TMessage&) { return true; }
  virtual void AfterMessage(TMessage& message);
  virtual void Paint() {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void MouseDown() {}
  virtual void MouseUp() {}
  virtual void KeyDown(WPARAM) {}
  virtual void KeyUp(WPARAM) {}
  // At attach and at every re-apply of the skin (skin change, engine on or off).
  virtual void Apply() {}
  virtual void Init() {}
  virtual void Release() { Released = true; }
  virtual RECT GetBounds() = 0;
  virtual HWND Handle() = 0;
  virtual bool IsEnabled() = 0;
  virtual bool WantsParentColor() { return false; }
  // Takes the window procedure over; Detach gives it back.
  virtual void Attach() = 0;
  virtual void Detach() = 0;
  // The control went away on its own: nothing is given back.
  virtual void Forget() {}

  // Paints only while the engine is in effect.
  void PaintIfInEffect();
  // The buffer over the control's bounds, then the text centred on one
  // line: grey when disabled, a pixel lower right while pressed.
  void DrawBufferAndText(const TBitmap& buffer, const std::string& text, RECT textRect, HFONT font, TColor color);

protected:
  // The routing every skinner shares: the message to BeforeMessage, the
  // control, AfterMessage; `callControl` runs the control's own procedure.
  void Route(TMessage& message, const std::function<void(TMessage&)>& callControl, bool disabled);

private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A skinner of one of the program's controls.
class TSkinControlFramework : public TSkinControl {
public:
  TSkinControlFramework(TSkinWindow& frame, TControl& control);
  TControl* Control;
  RECT GetBounds() override { return Control->ClientRect(); }
  HWND Handle() override;
  bool IsEnabled() override { return Control->Enabled(); }
  void Attach() override;
  void Detach() override;
  void Forget() override;
  // The control's own procedure, for a skinner that handles a message itself.
  void CallControl(TMessage& message) {
    if (saved_) saved_(message);
  }

private:
  TWndMethod saved_;
  bool attached_ = false;
};

// A skinner of a plain system control.
class TSkinControlWnd : public TSkinControl {
public:
  TSkinControlWnd(TSkinWindow& frame, HWND window);
  HWND Window;
  RECT GetBounds() override;
  HWND Handle() override { return Window; }
  bool IsEnabled() override { return IsWindowEnabled(Window) != FALSE; }
  void Attach() override;
  void Detach() override;
  LRESULT CallControl(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(saved_, Window, msg, wParam, lParam);
  }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  WNDPROC saved_ = nullptr;
};

// Which skinner a control gets. Rows are searched from the last to the
// first: a later, more special row wins over an earlier, general one.
class TSkinControlRegistry {
public:
  using TMatch = std::function<bool(TControl&)>;
  using TMake = std::function<std::unique_ptr<TSkinControlFramework>(TSkinWindow&, TControl&)>;
  using TMakeWnd = std::function<std::unique_ptr<TSkinControlWnd>(TSkinWindow&, HWND)>;
  struct TRow {
    std::string ClassName;
    TMatch Matches;
    TMake Make;
  };
  struct TWndRow {
    std::string Key;
    TMakeWnd Make;
  };
  // The rows every skinned window uses.
  static TSkinControlRegistry& Standard();

  template <typename Control, typename Skinner>
  void Register(const std::string& className) {
    rows_.push_back({className, [](TControl& c) { return dynamic_cast<Control*>(&c) != nullptr; },
                     [](TSkinWindow& frame, TControl& c) -> std::unique_ptr<TSkinControlFramework> {
                       return std::make_unique<Skinner>(frame, c);
                     }});
  }
  template <typename Skinner>
  void RegisterWnd(const std::string& key) {
    wndRows_.push_back({key, [](TSkinWindow& frame, HWND w) -> std::unique_ptr<TSkinControlWnd> {
                          return std::make_unique<Skinner>(frame, w);
                        }});
  }
  // The row that matches the control, from the last row up; none when no row does.
  const TRow* Find(TControl& control) const;
  const TWndRow* FindWnd(const std::string& key) const;
  const std::vector<TRow>& Rows() const { return rows_; }

private:
  std::vector<TRow> rows_;
  std::vector<TWndRow> wndRows_;
};

// The key of a plain child window in the plain table ("BUTTON_CHECKBOX",
// ...), or empty when such a window is not skinned.
std::string PlainControlKey(HWND window);
