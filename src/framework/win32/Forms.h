#pragma once
// The application object and forms: top-level windows owned by the
// application's hidden window, shown plainly or modally.
#include <windows.h>

#include <functional>
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "framework/win32/Controls.h"

enum TModalResult : int {
  mrNone = 0,
  mrOk = IDOK,
  mrCancel = IDCANCEL,
  mrAbort = IDABORT,
  mrRetry = IDRETRY,
  mrIgnore = IDIGNORE,
  mrYes = IDYES,
  mrNo = IDNO
};

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// An MDI form (fsMDIForm) holds the MDI client window; MDI children
// (fsMDIChild) live inside the client of the application's main form.
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
// poDefaultPosOnly: the system places the window (MDI children cascade), the size stays.
enum class TPosition { poDesigned, poDefaultPosOnly, poScreenCenter };
// tbHorizontal: the MDI children lie one above the other; tbVertical: side by side.
enum class TTileMode { tbHorizontal, tbVertical };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// Size limits of a form's outer size; 0 is no limit.
struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};
struct TBorderIcons {
  bool SystemMenu = true, Minimize = true, Maximize = true, Help = false;
};

class TForm;
class TButton;
class TMainMenu;
class TMenuItem;

class TApplicationEvents;

class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;
  PLIMET_CLASS_NAME(TApplication)

  // The hidden owner window of every form.
  HWND Handle() const { return handle_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }
  const std::vector<TForm*>& Forms() const { return forms_; }
  // Whether one of the program's windows is the active one.
  bool Active() const { return GetActiveWindow() != nullptr; }

  // Runs the message loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every waiting message and returns.
  void ProcessMessages();
  // Waits for one message and handles it.
  void HandleMessage();
  void Minimize();
  void Restore();
  void BringToFront();
  // The standard error box: stop icon, the title "Plimet", the text.
  void ShowException(const std::string& text);

  // Sees every message the loop takes before it is dispatched.
  std::function<void(MSG& message, bool& handled)> OnMessage;

private:
  friend class TForm;
  friend class TApplicationEvents;
  std::vector<TApplicationEvents*> events_; // in the order they were made
  bool ProcessMessage(MSG& message);
  // F10, Alt, Shift+F10 and the menu key. True when the key was used.
  bool MenuKey(const MSG& message);
  // The MDI form's keys for its children (Ctrl+F6, Ctrl+F4). True when used.
  bool IsMDIKey(MSG& message);
  WPARAM menuKey_ = 0; // F10 or Alt pressed alone and not yet released
  static LRESULT CALLBACK AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  std::string title_;
  TForm* mainForm_ = nullptr;
  std::vector<TForm*> forms_;
  bool terminated_ = false;
  bool showingException_ = false;
  TApplication* previous_; // a test may make one inside another
};

// The one application object of the process (set by its constructor).
extern TApplication* Application;

// The application's events for a component that needs them (a form's skin
// engine for the shortcuts of its menu bar). Several may live at once: each
// sees every message, the newest first, until one handles it; the
// application's own OnMessage comes last.
class TApplicationEvents : public TComponent {
public:
  explicit TApplicationEvents(TComponent* owner);
  ~TApplicationEvents() override;
  PLIMET_CLASS_NAME(TApplicationEvents)
  std::function<void(MSG& message, bool& handled)> OnMessage;

private:
  friend class TApplication;
  TApplication* application_; // none once the application has gone
};

class TForm : public TScrollingWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  PLIMET_CLASS_NAME(TForm)

  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons BorderIcons;
  TSizeConstraints Constraints;
  bool AutoScroll = false;
  bool Scaled = false;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  TPosition Position = TPosition::poDesigned;
  TWindowState WindowState = TWindowState::wsNormal;
  // The registered window class; the form's class name when empty.
  std::string WindowClassName;
  HICON Icon = nullptr;
  bool KeyPreview = false;
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // A menu shortcut for the key: runs the item and answers true.
  bool IsShortCut(WPARAM key);

  void SetClientSize(int width, int height);
  // Shown; the first form shown this way becomes the main form when none is set.
  void Show();
  void Hide();
  // Shows the form modally and runs a message loop until ModalResult is set.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult = mrNone;
  // Asks OnCloseQuery; a modal form then ends with mrCancel, another hides.
  void Close();
  // Frees the form once the messages already queued are handled.
  void Release();

  // The control that gets the focus when the form is shown (else the first that takes it).
  // Linked: forgotten when they go, whoever owns them.
  TComponentRef<TWinControl> ActiveControl{this};
  TComponentRef<TButton> DefaultButton{this};
  TComponentRef<TButton> CancelButton{this};

  // --- MDI. FormStyle is chosen before the window is made. An MDI child is
  // made inside the client window of the application's main form, which
  // must be an MDI form by then; it is a form like any other (its controls,
  // OnClose, Release), freed when it is closed unless its OnClose says
  // otherwise (a document window the user closes goes away, as in every
  // MDI program). An MDI form frees its children before itself: their
  // windows live inside its own (make them with new).
  HWND ClientHandle() const { return clientHandle_; }
  TForm* ActiveMDIChild();
  int MDIChildCount();
  // The children in their stacking order: 0 is the topmost (the active one).
  TForm* MDIChildren(int index);
  // The item whose sub-menu lists the children (the system fills it in).
  // It must have a sub-item of its own for the sub-menu to exist.
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item);
  TTileMode TileMode = TTileMode::tbHorizontal;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  // The main menu the window shows: on an MDI form the active child's own
  // menu when it has one (in place of the form's, not merged), else the form's.
  TMainMenu* ShownMenu();
  // On an MDI form: another child became active, or none is (the skin
  // engine's menu bar follows the shown menu from here).
  TNotifyEvent OnActiveMDIChildChange;
  // Told by a main menu of this form before it is built again or freed, and after it was built again.
  void MenuRebuilding();
  void MenuRebuilt();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  std::function<void(TComponent* sender, bool& canClose)> OnCloseQuery;
  std::function<void(TComponent* sender, TCloseAction& action)> OnClose;
  std::function<void(TComponent* sender, int& newWidth, int& newHeight, bool& resize)> OnCanResize;

  // The step after construction: every component the form owns is told it
  // is complete (Loaded), then OnCreate runs, once.
  void Loaded() override;
  // Keys a dialog handles itself: Enter, Escape, Tab. True when handled.
  bool DialogKey(WPARAM key);
  // Moves the focus to the next (or previous) control that takes it.
  void SelectNext(bool forward);

  void WndProc(TMessage& message) override;
  // OnDestroy, while the form and its window are whole; then the window goes.
  void BeforeDestruction() override;
  // Kept within Constraints whatever the border (the system asks about the
  // size of sizeable windows only).
  void SetBounds(int left, int top, int width, int height) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void HandleCreated() override;
  void DefaultHandler(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Runs OnActiveMDIChildChange; a form class may do more.
  virtual void ActiveMDIChildChanged();

private:
  bool CloseQuery();
  void CollectTabStops(TWinControl* parent, std::vector<TWinControl*>& list);
  // The MDI form this child lives in, or none.
  TForm* MDIParent() const;
  void CreateMDIClient();
  // The teardown of MDI windows: an MDI form frees its children, a child's
  // window is destroyed by the MDI client.
  void FreeMDIChildren();
  void DestroyMDIChildWindow(bool componentsFirst);
  // Shows the menu of the active child (never that of `going`) or the form's own.
  void UpdateMDIMenu(TForm* going, bool force);
  HMENU ParkingMenu();
  // A child was activated, or went: the menu follows, the change is told.
  void MDIActiveChanged(TForm* active, TForm* going);

  bool modal_ = false;
  void SetOwnerWindow(HWND owner);
  void ReleaseOwnerWindow();
  HWND popupOwner_ = nullptr; // the window a shown dialog was opened from
  HWND focusBefore_ = nullptr; // the control that had the keyboard when the form was last left
  bool loaded_ = false;
  bool destroyTold_ = false;
  TMainMenu* menu_ = nullptr;
  TMenuItem* windowMenu_ = nullptr;
  HWND clientHandle_ = nullptr;
  TControl* clientArea_ = nullptr; // keeps the client window where the aligned controls leave room
  TMainMenu* mdiShownMenu_ = nullptr;
  HMENU mdiWindowMenu_ = nullptr;
  struct TMenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
  };
  std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDestroyer> parkingMenu_; // holds the window list while no menu can
  TForm* lastActiveChild_ = nullptr; // compared only, never followed
  bool freeingChildren_ = false;
};

// The form a control sits on, or none.
TForm* GetParentForm(TControl* control);
