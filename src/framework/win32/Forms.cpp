#include "framework/win32/Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"

TApplication* Application = nullptr;

// --- TApplication ---------------------------------------------------------------

LRESULT CALLBACK TApplication::AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Guarded(
      [&]() -> LRESULT {
        if (msg == WM_CLOSE) {
          if (Application) Application->Terminate();
          return 0;
        }
        LRESULT result = 0;
        if (DispatchMenuOwnerDraw(msg, lParam, result)) return result;
        return DefWindowProcA(window, msg, wParam, lParam);
      },
      LRESULT{0});
}

TApplication::TApplication() : TComponent(nullptr), title_("Plimet"), previous_(Application) {
  Application = this;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TApplication";
  RegisterClassExA(&wc); // fails harmlessly when already registered
  handle_ = CreateWindowExA(0, "TApplication", title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

TApplication::~TApplication() {
  for (TApplicationEvents* events : events_) events->application_ = nullptr;
  // Forms go first, while the owner window still exists.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  while (!forms_.empty()) delete forms_.back();
  if (handle_) DestroyWindow(handle_);
  // The quit message of a terminated application goes with it.
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  if (Application == this) Application = previous_;
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title.c_str());
}

void TApplication::Run() {
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

bool TApplication::ProcessMessage(MSG& message) {
  if (message.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  // A copy: a handler may free its events object, or make another.
  const std::vector<TApplicationEvents*> listeners(events_.rbegin(), events_.rend());
  for (TApplicationEvents* events : listeners) {
    if (std::find(events_.begin(), events_.end(), events) == events_.end() || !events->OnMessage) continue;
    events->OnMessage(message, handled);
    if (handled) return true;
  }
  if (OnMessage) OnMessage(message, handled);
  if (handled) return true;
  if (message.message == WM_KEYDOWN &&
      (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE || message.wParam == VK_TAB)) {
    // The dialog keys belong to the form of the control that has the focus.
    HWND window = message.hwnd;
    TWinControl* control = nullptr;
    while (window && !(control = TWinControl::FromHandle(window))) window = GetParent(window);
    if (TForm* form = control ? GetParentForm(control) : nullptr; form && form->DialogKey(message.wParam)) return true;
  }
  if (message.message == WM_SYSCHAR) {
    // Alt and a letter: a mnemonic, offered to the form first.
    HWND window = message.hwnd;
    TWinControl* control = nullptr;
    while (window && !(control = TWinControl::FromHandle(window))) window = GetParent(window);
    if (TForm* form = control ? GetParentForm(control) : nullptr; form && form->Perform(CM_DIALOGCHAR, message.wParam, message.lParam))
      return true;
  }
  if (MenuKey(message)) return true;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    HWND window = message.hwnd;
    TWinControl* control = nullptr;
    while (window && !(control = TWinControl::FromHandle(window))) window = GetParent(window);
    if (TForm* form = control ? GetParentForm(control) : nullptr; form && form->IsShortCut(message.wParam)) return true;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

bool TApplication::MenuKey(const MSG& message) {
  // The keyboard's ways into menus, done here because not every control
  // hands these keys on to the system: F10 or Alt pressed and released
  // alone enter the menu bar; Shift+F10 and the menu key open the
  // context menu of the focused control.
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
  if (!down && !up) return false;
  const WPARAM key = message.wParam == VK_LMENU || message.wParam == VK_RMENU ? VK_MENU : message.wParam;
  if (down) {
    const bool repeat = (message.lParam & (1 << 30)) != 0;
    if (key == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
      menuKey_ = 0;
      SendMessageA(message.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(message.hwnd), MAKELPARAM(-1, -1));
      return true;
    }
    if (key == VK_APPS) {
      menuKey_ = 0;
      return true; // the menu opens on the release, as the system does it
    }
    if ((key == VK_F10 || key == VK_MENU) && GetKeyState(VK_CONTROL) >= 0) {
      if (!repeat) menuKey_ = key;
      return key == VK_F10;
    }
    if (key != VK_SHIFT) menuKey_ = 0; // Alt with another key is a shortcut or a mnemonic
    return false;
  }
  if (key == VK_APPS) {
    SendMessageA(message.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(message.hwnd), MAKELPARAM(-1, -1));
    return true;
  }
  if ((key == VK_F10 || key == VK_MENU) && menuKey_ == key) {
    menuKey_ = 0;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top && GetMenu(top)) {
      PostMessageA(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
      return true;
    }
  }
  return false;
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ProcessMessage(message);
    if (message.message == WM_QUIT) break;
  }
}

void TApplication::HandleMessage() {
  MSG message;
  const BOOL got = GetMessageA(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    terminated_ = true;
    return;
  }
  ProcessMessage(message);
}

void TApplication::Minimize() {
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

void TApplication::BringToFront() {
  HWND target = GetLastActivePopup(mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : handle_);
  if (target) SetForegroundWindow(target);
}

void TApplication::ShowException(const std::string& text) {
  if (showingException_) return; // one box at a time
  showingException_ = true;
  HWND owner = GetActiveWindow();
  MessageBoxA(owner ? owner : handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
  showingException_ = false;
}

// --- TApplicationEvents -------------------------------------------------------------

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner), application_(Application) {
  if (application_) application_->events_.push_back(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (!application_) return; // the application went first
  auto& events = application_->events_;
  events.erase(std::remove(events.begin(), events.end(), this), events.end());
}

// --- TForm ------------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TScrollingWinControl(owner) {
  visible_ = false;
  ParentFont = false;
  color_ = clBtnFace;
  width_ = 320;
  height_ = 240;
  if (Application) Application->forms_.push_back(this);
}

void TForm::BeforeDestruction() {
  if (!std::exchange(destroyTold_, true) && OnDestroy) OnDestroy(this);
  TScrollingWinControl::BeforeDestruction();
}

TForm::~TForm() {
  if (!std::exchange(destroyTold_, true) && OnDestroy) OnDestroy(this);
  if (Application) {
    auto& forms = Application->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
  }
}

void TForm::Loaded() {
  if (loaded_) return;
  loaded_ = true;
  for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
  TScrollingWinControl::Loaded();
  if (OnCreate) OnCreate(this);
}

void TForm::Notification(TComponent* component, TOperation operation) {
  // References to components of the form that go are forgotten, not left dangling.
  if (operation == TOperation::opRemove) {
    if (ActiveControl && static_cast<TComponent*>(ActiveControl) == component) ActiveControl = nullptr;
    if (DefaultButton && static_cast<TComponent*>(DefaultButton) == component) DefaultButton = nullptr;
    if (CancelButton && static_cast<TComponent*>(CancelButton) == component) CancelButton = nullptr;
  }
  TScrollingWinControl::Notification(component, operation);
}

void TForm::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.WinClassName = WindowClassName.empty() ? ClassName() : WindowClassName;
  params.Style = WS_CLIPCHILDREN;
  params.ExStyle = 0;
  const bool caption = BorderStyle != TFormBorderStyle::bsNone;
  switch (BorderStyle) {
  case TFormBorderStyle::bsNone: params.Style |= WS_POPUP; break;
  case TFormBorderStyle::bsSingle: params.Style |= WS_CAPTION | WS_BORDER; break;
  case TFormBorderStyle::bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
  case TFormBorderStyle::bsDialog:
    params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    params.ExStyle |= WS_EX_DLGMODALFRAME;
    break;
  case TFormBorderStyle::bsToolWindow:
    params.Style |= WS_CAPTION;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    break;
  case TFormBorderStyle::bsSizeToolWin:
    params.Style |= WS_CAPTION | WS_THICKFRAME;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    break;
  }
  if (caption && BorderIcons.SystemMenu) {
    params.Style |= WS_SYSMENU;
    const bool dialogLike = BorderStyle == TFormBorderStyle::bsDialog || BorderStyle == TFormBorderStyle::bsToolWindow ||
                            BorderStyle == TFormBorderStyle::bsSizeToolWin;
    if (!dialogLike && BorderIcons.Minimize) params.Style |= WS_MINIMIZEBOX;
    if (!dialogLike && BorderIcons.Maximize) params.Style |= WS_MAXIMIZEBOX;
    if (BorderIcons.Help) params.ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FormStyle == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  params.WndParent = Application ? Application->Handle() : nullptr;
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu_) menu_->Window = nullptr;
  menu_ = menu;
  if (menu_ && HandleAllocated()) menu_->Window = Handle();
  if (HandleAllocated()) ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
}

bool TForm::IsShortCut(WPARAM key) {
  if (!menu_ || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  TShortCut shortCut = static_cast<TShortCut>(key & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
  TMenuItem* item = menu_->Items()->FindShortCut(shortCut);
  if (!item) return false;
  item->Click();
  return true;
}

void TForm::HandleCreated() {
  if (menu_) {
    menu_->Window = Handle();
    ::SetMenu(Handle(), menu_->Handle());
  }
  if (Icon) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon));
  }
}

void TForm::SetClientSize(int width, int height) {
  TCreateParams params;
  CreateParams(params);
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TForm::Show() {
  Loaded();
  HWND window = Handle();
  if (Position == TPosition::poScreenCenter) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds(work.left + (work.right - work.left - width_) / 2, work.top + (work.bottom - work.top - height_) / 2,
              width_, height_);
  }
  if (Application && !Application->mainForm_ && !modal_) Application->mainForm_ = this;
  visible_ = true;
  ShowWindow(window, WindowState == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                     : WindowState == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                                : SW_SHOWNORMAL);
  SetForegroundWindow(window);
  if (ActiveControl && ActiveControl->Visible() && ActiveControl->Enabled()) {
    ActiveControl->SetFocus();
  } else {
    SelectNext(true);
  }
  Perform(CM_VISIBLECHANGED, TRUE);
  if (OnShow) OnShow(this);
}

void TForm::Hide() {
  visible_ = false;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  Perform(CM_VISIBLECHANGED, FALSE);
}

int TForm::ShowModal() {
  if (visible_ || modal_) throw std::runtime_error("Cannot make a visible window modal");
  ModalResult = mrNone;
  modal_ = true;
  HWND activeBefore = GetActiveWindow();
  // Every other window of the program waits while this one is shown.
  std::vector<HWND> disabled;
  if (Application) {
    for (TForm* form : Application->forms_)
      if (form != this && form->HandleAllocated() && IsWindowEnabled(form->Handle())) {
        EnableWindow(form->Handle(), FALSE);
        disabled.push_back(form->Handle());
      }
  }
  try {
    Show();
    while (ModalResult == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) ModalResult = mrCancel;
      // A form that may not close yet stays.
      if (ModalResult != mrNone && !Application->Terminated() && !CloseQuery()) ModalResult = mrNone;
    }
  } catch (...) {
    for (HWND window : disabled) EnableWindow(window, TRUE);
    modal_ = false;
    Hide();
    throw;
  }
  for (HWND window : disabled) EnableWindow(window, TRUE);
  Hide();
  modal_ = false;
  if (activeBefore && IsWindow(activeBefore)) SetActiveWindow(activeBefore);
  return ModalResult;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    ModalResult = mrCancel; // the modal loop asks OnCloseQuery
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  switch (action) {
  case TCloseAction::caNone: return;
  case TCloseAction::caHide: Hide(); break;
  case TCloseAction::caMinimize: ShowWindow(Handle(), SW_MINIMIZE); break;
  case TCloseAction::caFree: Release(); break;
  }
  if (Application && Application->MainForm() == this && action != TCloseAction::caMinimize) Application->Terminate();
}

void TForm::Release() {
  if (HandleAllocated()) PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TForm::CollectTabStops(TWinControl* parent, std::vector<TWinControl*>& list) {
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (auto* control = dynamic_cast<TWinControl*>(parent->Controls(i)); control && control->Visible() && control->Enabled()) {
      if (control->TabStop) list.push_back(control);
      CollectTabStops(control, list);
    }
}

void TForm::SelectNext(bool forward) {
  std::vector<TWinControl*> stops;
  CollectTabStops(this, stops);
  if (stops.empty()) return;
  // The focus may sit in a window inside a control (a combo box's edit):
  // the innermost stop that holds it is the current one.
  auto current = std::find_if(stops.rbegin(), stops.rend(), [](TWinControl* c) { return c->ContainsFocus(); });
  std::size_t next = 0;
  if (current != stops.rend()) {
    const std::size_t at = static_cast<std::size_t>(stops.rend() - current) - 1;
    next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
  } else if (!forward) {
    next = stops.size() - 1;
  }
  stops[next]->SetFocus();
}

bool TForm::DialogKey(WPARAM key) {
  if (key == VK_TAB) {
    SelectNext(GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  if (key == VK_RETURN) {
    if (auto* focused = dynamic_cast<TButton*>(TWinControl::FromHandle(GetFocus()))) {
      focused->Click();
      return true;
    }
    if (DefaultButton && DefaultButton->Visible() && DefaultButton->Enabled()) {
      DefaultButton->Click();
      return true;
    }
    return false;
  }
  if (key == VK_ESCAPE && CancelButton && CancelButton->Visible() && CancelButton->Enabled()) {
    CancelButton->Click();
    return true;
  }
  return false;
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_CLOSE:
    Close();
    return;
  case WM_COMMAND:
    // A menu command: no control, notification code 0.
    if (m.LParam == 0 && HIWORD(m.WParam) == 0 && menu_) {
      if (TMenuItem* item = menu_->Items()->Find(LOWORD(m.WParam))) {
        item->Click();
        return;
      }
    }
    break;
  case WM_MEASUREITEM:
  case WM_DRAWITEM:
    if (DispatchMenuOwnerDraw(m.Msg, m.LParam, m.Result)) return;
    break;
  case WM_GETMINMAXINFO: {
    DefaultHandler(m);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (Constraints.MinWidth > 0) info->ptMinTrackSize.x = Constraints.MinWidth;
    if (Constraints.MinHeight > 0) info->ptMinTrackSize.y = Constraints.MinHeight;
    if (Constraints.MaxWidth > 0) info->ptMaxTrackSize.x = Constraints.MaxWidth;
    if (Constraints.MaxHeight > 0) info->ptMaxTrackSize.y = Constraints.MaxHeight;
    return;
  }
  case WM_WINDOWPOSCHANGING: {
    auto* position = reinterpret_cast<WINDOWPOS*>(m.LParam);
    if (OnCanResize && !(position->flags & SWP_NOSIZE)) {
      bool resize = true;
      int w = position->cx, h = position->cy;
      OnCanResize(this, w, h, resize);
      if (!resize) {
        position->flags |= SWP_NOSIZE;
      } else {
        position->cx = w;
        position->cy = h;
      }
    }
    break;
  }
  default:
    break;
  }
  TScrollingWinControl::WndProc(m);
}

TForm* GetParentForm(TControl* control) {
  while (control && !dynamic_cast<TForm*>(control)) control = control->Parent();
  return dynamic_cast<TForm*>(control);
}
