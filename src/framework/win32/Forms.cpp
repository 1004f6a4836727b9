#include "framework/win32/Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "framework/win32/FormResources.h"
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

namespace {
// The focus in a combo box, or in its edit, while its list is dropped.
bool InDroppedCombo(HWND window) {
  for (int depth = 0; window && depth < 2; ++depth, window = GetParent(window)) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(window, &info)) return SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
  }
  return false;
}

// A control that takes the key itself (a memo takes Enter, a dropped list
// Enter and Escape) keeps it from the form's dialog keys.
// (Asked without the message: an edit told of one takes itself to be in a
// dialog box and acts on Escape by closing its parent.)
bool WantsDialogKey(const MSG& message) {
  // Enter chooses the item of a dropped list and Escape closes it, as in a
  // dialog box; neither is the form's default or cancel button's.
  if ((message.wParam == VK_RETURN || message.wParam == VK_ESCAPE) && InDroppedCombo(message.hwnd)) return true;
  const LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, 0);
  if (message.wParam == VK_TAB) return (code & DLGC_WANTTAB) != 0;
  return (code & DLGC_WANTALLKEYS) != 0;
}
} // namespace

bool TApplication::ProcessMessage(MSG& message) {
  TComponent::NotifyInserted(); // components made by the last message are heard of before the next
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
  if (IsMDIKey(message)) return true;
  if (message.message == WM_KEYDOWN &&
      (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE || message.wParam == VK_TAB) &&
      !WantsDialogKey(message)) {
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

bool TApplication::IsMDIKey(MSG& message) {
  // Ctrl+F6, Ctrl+Tab (with Shift: backwards) and Ctrl+F4 act on the active
  // child, but only for keys meant for the MDI form: the system would take
  // them from any window of the thread, a dialog shown over it included.
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (!mainForm_ || mainForm_->FormStyle != TFormStyle::fsMDIForm || !mainForm_->ClientHandle()) return false;
  const HWND frame = mainForm_->Handle();
  if (message.hwnd != frame && !IsChild(frame, message.hwnd)) return false;
  return TranslateMDISysAccel(mainForm_->ClientHandle(), &message) != FALSE;
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

namespace {

// Keeps the MDI client window in the area the form's aligned controls
// leave: an aligned control of its own, so every layout of the form places it.
class TMDIClientArea : public TGraphicControl {
public:
  explicit TMDIClientArea(TForm* form) : TGraphicControl(nullptr), form_(form) {}
  PLIMET_CLASS_NAME(TMDIClientArea)
  void SetBounds(int left, int top, int width, int height) override {
    TGraphicControl::SetBounds(left, top, width, height);
    if (HWND client = form_->ClientHandle())
      SetWindowPos(client, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

private:
  TForm* form_;
};

// The native sub-menu of an item of a menu, found by the item each native item carries.
HMENU SubMenuOf(HMENU menu, const TMenuItem* item) {
  if (!menu || !item) return nullptr;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (reinterpret_cast<const TMenuItem*>(info.dwItemData) == item) return info.hSubMenu;
    if (HMENU found = SubMenuOf(info.hSubMenu, item)) return found;
  }
  return nullptr;
}

// The id of the first child in the window list; above every menu command of ours.
constexpr UINT kFirstMDIChildId = 0xFF00;

} // namespace

void TForm::SetBounds(int left, int top, int width, int height) {
  if (Constraints.MinWidth > 0) width = std::max(width, Constraints.MinWidth);
  if (Constraints.MaxWidth > 0) width = std::min(width, Constraints.MaxWidth);
  if (Constraints.MinHeight > 0) height = std::max(height, Constraints.MinHeight);
  if (Constraints.MaxHeight > 0) height = std::min(height, Constraints.MaxHeight);
  TScrollingWinControl::SetBounds(left, top, width, height);
}

void TForm::BeforeDestruction() {
  if (!std::exchange(destroyTold_, true) && OnDestroy) OnDestroy(this);
  FreeMDIChildren();
  DestroyMDIChildWindow(false);
  TScrollingWinControl::BeforeDestruction();
}

void TForm::FreeMDIChildren() {
  if (FormStyle != TFormStyle::fsMDIForm) return;
  // The children's windows live inside this one: they go first, whole.
  freeingChildren_ = true;
  std::vector<TForm*> children;
  for (int i = 0; i < MDIChildCount(); ++i) children.push_back(MDIChildren(i));
  for (TForm* child : children) delete child;
}

void TForm::DestroyMDIChildWindow(bool componentsFirst) {
  if (FormStyle != TFormStyle::fsMDIChild || !HandleAllocated()) return;
  TForm* frame = MDIParent();
  // Its menu must not be shown by the MDI form once the child is gone.
  if (frame) frame->UpdateMDIMenu(this, false);
  if (componentsFirst) DestroyComponents();
  // The MDI client destroys the window: it activates the next child and
  // updates its window list.
  if (frame && frame->ClientHandle()) {
    SendMessageA(frame->ClientHandle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
    frame->MDIActiveChanged(frame->ActiveMDIChild(), this);
    if (frame->lastActiveChild_ == this) frame->lastActiveChild_ = nullptr;
  }
}

TForm::~TForm() {
  if (!std::exchange(destroyTold_, true) && OnDestroy) OnDestroy(this);
  // A form not made by new: the same, its components going before its window.
  FreeMDIChildren();
  DestroyMDIChildWindow(true);
  if (Application) {
    auto& forms = Application->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
  }
}

void TForm::Loaded() {
  TComponent::NotifyInserted(); // every component made so far is heard of before any is loaded
  if (loaded_) return;
  // The stored properties come first, so that every Loaded and OnCreate see
  // them; a stored form that cannot be read leaves the form unloaded.
  LoadFormResource(*this);
  loaded_ = true;
  for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
  TScrollingWinControl::Loaded();
  if (OnCreate) OnCreate(this);
}

void TForm::Notification(TComponent* component, TOperation operation) {
  // References to components of the form that go are forgotten, not left dangling.
  if (operation == TOperation::opRemove) {
    ActiveControl.Forget(component);
    DefaultButton.Forget(component);
    CancelButton.Forget(component);
    if (menu_ && static_cast<TComponent*>(menu_) == component) {
      menu_ = nullptr;
      // The MDI form stops showing a menu that is gone.
      if (TForm* frame = FormStyle == TFormStyle::fsMDIChild ? MDIParent() : this; frame && !frame->freeingChildren_)
        frame->UpdateMDIMenu(nullptr, true);
    }
    if (windowMenu_ && static_cast<TComponent*>(windowMenu_) == component) windowMenu_ = nullptr;
    if (mdiShownMenu_ && static_cast<TComponent*>(mdiShownMenu_) == component) mdiShownMenu_ = nullptr;
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
  params.WndParent = popupOwner_ ? popupOwner_ : Application ? Application->Handle() : nullptr;
  if (FormStyle == TFormStyle::fsMDIChild) {
    params.Style = (params.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
    params.ExStyle = (params.ExStyle & ~WS_EX_TOPMOST) | WS_EX_MDICHILD;
    TForm* frame = MDIParent();
    params.WndParent = frame ? frame->ClientHandle() : nullptr;
    if (Position == TPosition::poDefaultPosOnly) params.X = params.Y = CW_USEDEFAULT;
  }
}

TForm* TForm::MDIParent() const {
  if (FormStyle != TFormStyle::fsMDIChild) return nullptr;
  // An MDI form that owns the child holds it; else the application's main form.
  if (auto* owner = dynamic_cast<TForm*>(Owner()); owner && owner->FormStyle == TFormStyle::fsMDIForm) return owner;
  if (!Application) return nullptr;
  TForm* main = Application->MainForm();
  return main && main != this && main->FormStyle == TFormStyle::fsMDIForm ? main : nullptr;
}

void TForm::CreateWnd() {
  if (FormStyle == TFormStyle::fsMDIChild) {
    TForm* frame = MDIParent();
    if (frame) frame->HandleNeeded();
    if (!frame || !frame->ClientHandle()) throw std::runtime_error("Cannot create form. No MDI forms are currently active");
  }
  // An MDI child made with WS_EX_MDICHILD is made by the MDI client as
  // WM_MDICREATE does it: placed, added to the window list, activated.
  TScrollingWinControl::CreateWnd();
}

void TForm::CreateMDIClient() {
  CLIENTCREATESTRUCT create{};
  HMENU windowMenu = menu_ ? SubMenuOf(menu_->Handle(), windowMenu_) : nullptr;
  if (!windowMenu) windowMenu = ParkingMenu();
  create.hWindowMenu = windowMenu;
  create.idFirstChild = kFirstMDIChildId;
  const RECT area = ClientRect();
  clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                  area.left, area.top, area.right - area.left, area.bottom - area.top, Handle(),
                                  nullptr, GetModuleHandleA(nullptr), &create);
  if (!clientHandle_) throw std::runtime_error("Unable to create the MDI client window");
  mdiShownMenu_ = menu_;
  mdiWindowMenu_ = windowMenu;
  if (!clientArea_) {
    clientArea_ = new TMDIClientArea(this); // owned by nobody: freed as a child control of the form
    clientArea_->SetAlign(TAlign::alClient);
    clientArea_->SetParent(this);
  }
  Realign();
}

void TForm::DefaultHandler(TMessage& m) {
  if (!HandleAllocated()) return;
  if (FormStyle == TFormStyle::fsMDIChild) {
    m.Result = DefMDIChildProcA(Handle(), m.Msg, m.WParam, m.LParam);
    return;
  }
  // The frame's default would stretch the client over the whole client
  // area; the form lays it out itself, beside its aligned controls.
  if (FormStyle == TFormStyle::fsMDIForm && m.Msg != WM_SIZE) {
    m.Result = DefFrameProcA(Handle(), clientHandle_, m.Msg, m.WParam, m.LParam);
    return;
  }
  TScrollingWinControl::DefaultHandler(m);
}

TForm* TForm::ActiveMDIChild() {
  if (!clientHandle_) return nullptr;
  auto* child = dynamic_cast<TForm*>(
      TWinControl::FromHandle(reinterpret_cast<HWND>(SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0))));
  return child && child->FormStyle == TFormStyle::fsMDIChild ? child : nullptr;
}

namespace {
std::vector<TForm*> ChildrenOf(HWND client) {
  std::vector<TForm*> children;
  if (!client) return children;
  for (HWND window = GetWindow(client, GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT))
    if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
        form && form->FormStyle == TFormStyle::fsMDIChild)
      children.push_back(form);
  return children;
}
} // namespace

int TForm::MDIChildCount() { return static_cast<int>(ChildrenOf(clientHandle_).size()); }

TForm* TForm::MDIChildren(int index) { return ChildrenOf(clientHandle_).at(static_cast<std::size_t>(index)); }

void TForm::SetWindowMenu(TMenuItem* item) {
  windowMenu_ = item;
  if (item) item->FreeNotification(this);
  UpdateMDIMenu(nullptr, true);
}

void TForm::Cascade() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TForm::Tile() {
  if (clientHandle_)
    SendMessageA(clientHandle_, WM_MDITILE,
                 TileMode == TTileMode::tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TForm::ArrangeIcons() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}

void TForm::Next() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDINEXT, 0, 0);
}

void TForm::Previous() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDINEXT, 0, 1);
}

TMainMenu* TForm::ShownMenu() {
  if (FormStyle == TFormStyle::fsMDIForm)
    if (TForm* active = ActiveMDIChild(); active && active->menu_) return active->menu_;
  return menu_;
}

void TForm::UpdateMDIMenu(TForm* going, bool force) {
  if (FormStyle != TFormStyle::fsMDIForm || !clientHandle_) return;
  TForm* active = ActiveMDIChild();
  if (active == going) active = nullptr;
  TMainMenu* shown = active && active->menu_ ? active->menu_ : menu_;
  // The system keeps its window list in one menu, which must stay alive:
  // the shown menu's window menu, else the form's own (hidden while a
  // child's menu is shown), else the parking menu.
  HMENU windowMenu = shown && shown != menu_ ? SubMenuOf(shown->Handle(), active->windowMenu_) : nullptr;
  if (!windowMenu && menu_) windowMenu = SubMenuOf(menu_->Handle(), windowMenu_);
  if (!windowMenu) windowMenu = ParkingMenu();
  if (!force && shown == mdiShownMenu_ && windowMenu == mdiWindowMenu_) return;
  // Window menu and frame menu in two steps: given both at once, Wine
  // changes the frame menu but leaves the window list where it was.
  if (windowMenu != mdiWindowMenu_ || force)
    SendMessageA(clientHandle_, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(windowMenu));
  if (shown) {
    SendMessageA(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(shown->Handle()), 0);
  } else {
    ::SetMenu(Handle(), nullptr);
  }
  mdiShownMenu_ = shown;
  mdiWindowMenu_ = windowMenu;
  DrawMenuBar(Handle());
}

HMENU TForm::ParkingMenu() {
  if (!parkingMenu_) parkingMenu_.reset(CreatePopupMenu());
  return parkingMenu_.get();
}

void TForm::MenuRebuilding() {
  // The system cannot move its window list out of a menu already
  // destroyed: it waits in the parking menu while the menus change.
  TForm* frame = FormStyle == TFormStyle::fsMDIChild ? MDIParent() : FormStyle == TFormStyle::fsMDIForm ? this : nullptr;
  if (!frame || !frame->clientHandle_ || frame->mdiWindowMenu_ == frame->ParkingMenu()) return;
  SendMessageA(frame->clientHandle_, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(frame->ParkingMenu()));
  frame->mdiWindowMenu_ = frame->ParkingMenu();
}

void TForm::MDIActiveChanged(TForm* active, TForm* going) {
  if (freeingChildren_) return;
  UpdateMDIMenu(going, false);
  if (active == lastActiveChild_) return;
  lastActiveChild_ = active;
  ActiveMDIChildChanged();
}

void TForm::ActiveMDIChildChanged() {
  if (OnActiveMDIChildChange) OnActiveMDIChildChange(this);
}

void TForm::MenuRebuilt() {
  if (!HandleAllocated()) return;
  // A new build makes new sub-menus: the window list moves into the new one.
  if (FormStyle == TFormStyle::fsMDIChild) {
    if (TForm* frame = MDIParent()) frame->UpdateMDIMenu(nullptr, true);
    return;
  }
  if (FormStyle == TFormStyle::fsMDIForm && clientHandle_) {
    UpdateMDIMenu(nullptr, true);
    return;
  }
  DrawMenuBar(Handle());
}

void TForm::SetOwnerWindow(HWND owner) {
  SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void TForm::ReleaseOwnerWindow() {
  // The opener may go before this form: back to the application's window.
  if (!std::exchange(popupOwner_, nullptr) || !HandleAllocated()) return;
  SetOwnerWindow(Application ? Application->Handle() : nullptr);
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu_) menu_->Window = nullptr;
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  if (menu_ && HandleAllocated()) menu_->Window = Handle();
  if (!HandleAllocated()) return;
  if (FormStyle == TFormStyle::fsMDIChild) {
    // A child has no menu bar: its menu is shown by the MDI form while it is active.
    if (TForm* frame = MDIParent()) frame->UpdateMDIMenu(nullptr, true);
  } else if (FormStyle == TFormStyle::fsMDIForm && clientHandle_) {
    UpdateMDIMenu(nullptr, true);
  } else {
    ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
  }
}

bool TForm::IsShortCut(WPARAM key) {
  // In an MDI child the shortcuts are those of the menu the MDI form shows.
  if (TForm* frame = MDIParent()) return frame->IsShortCut(key);
  TMainMenu* shown = ShownMenu();
  if (!shown || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  TShortCut shortCut = static_cast<TShortCut>(key & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
  TMenuItem* item = shown->Items()->FindShortCut(shortCut);
  if (!item) return false;
  item->Click();
  return true;
}

void TForm::HandleCreated() {
  if (menu_) {
    menu_->Window = Handle();
    if (FormStyle != TFormStyle::fsMDIChild) ::SetMenu(Handle(), menu_->Handle());
  }
  if (FormStyle == TFormStyle::fsMDIForm) CreateMDIClient();
  if (Icon) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon));
  }
}

void TForm::SetClientSize(int width, int height) {
  if (HandleAllocated()) {
    // The frame the window has now (a skinned frame is not the style's).
    RECT client{};
    GetClientRect(Handle(), &client);
    SetBounds(left_, top_, width_ - client.right + width, height_ - client.bottom + height);
    return;
  }
  TCreateParams params;
  CreateParams(params);
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TForm::Show() {
  Loaded();
  SetBounds(left_, top_, width_, height_); // within Constraints set since
  if (FormStyle == TFormStyle::fsMDIChild) {
    TForm* frame = MDIParent();
    // While the user works with maximized children, a new one comes
    // maximized too (asked before it is made: that restores the other).
    TForm* active = frame ? frame->ActiveMDIChild() : nullptr;
    const bool joinMaximized = active && active != this && IsZoomed(active->Handle());
    HWND window = Handle();
    visible_ = true;
    ShowWindow(window, WindowState == TWindowState::wsMaximized || joinMaximized ? SW_SHOWMAXIMIZED
                       : WindowState == TWindowState::wsMinimized                ? SW_SHOWMINIMIZED
                                                                                 : SW_SHOWNORMAL);
    if (frame) SendMessageA(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
    if (ActiveControl && ActiveControl->Visible() && ActiveControl->Enabled()) {
      ActiveControl->SetFocus();
    } else {
      SelectNext(true);
    }
    Perform(CM_VISIBLECHANGED, TRUE);
    if (OnShow) OnShow(this);
    return;
  }
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
  if (FormStyle == TFormStyle::fsMDIChild) throw std::runtime_error("Cannot make an MDI child window modal");
  ModalResult = mrNone;
  modal_ = true;
  HWND activeBefore = GetActiveWindow();
  // A dialog belongs to the window it is opened from: owned by it, it stays
  // above it, even when that one is always on top (else the dialog would
  // open behind it, unseen and unpaintable).
  TForm* opener = dynamic_cast<TForm*>(TWinControl::FromHandle(activeBefore));
  if (!opener && Application) opener = Application->mainForm_;
  popupOwner_ = opener && opener != this && opener->HandleAllocated() && IsWindowVisible(opener->Handle())
                    ? opener->Handle()
                    : nullptr;
  if (popupOwner_ && HandleAllocated()) SetOwnerWindow(popupOwner_);
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
    ReleaseOwnerWindow();
    throw;
  }
  for (HWND window : disabled) EnableWindow(window, TRUE);
  Hide();
  modal_ = false;
  ReleaseOwnerWindow();
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
  // A closed MDI child (a document window) goes away; other forms hide.
  TCloseAction action = FormStyle == TFormStyle::fsMDIChild ? TCloseAction::caFree : TCloseAction::caHide;
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
  case WM_ACTIVATE:
    // The control that had the keyboard gets it back when the form is
    // active again (after a message box, say), as in a dialog.
    if (HandleAllocated() && FormStyle != TFormStyle::fsMDIChild) {
      if (LOWORD(m.WParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) focusBefore_ = focus;
        break;
      }
      DefaultHandler(m);
      if (focusBefore_ && IsWindow(focusBefore_) && IsChild(Handle(), focusBefore_) && !HIWORD(m.WParam) &&
          IsWindowVisible(focusBefore_) && IsWindowEnabled(focusBefore_))
        ::SetFocus(focusBefore_);
      return;
    }
    break;
  case WM_COMMAND:
    // A menu command: no control, notification code 0. On an MDI form it
    // comes from the menu shown, which may be the active child's.
    if (m.LParam == 0 && HIWORD(m.WParam) == 0) {
      if (TMainMenu* shown = ShownMenu())
        if (TMenuItem* item = shown->Items()->Find(LOWORD(m.WParam))) {
          item->Click();
          return;
        }
      // A menu the window does not show as its own (one shown in a bar of
      // buttons instead) still runs the commands sent to the form.
      for (int i = 0; i < ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMainMenu*>(Components(i)))
          if (TMenuItem* item = menu->Items()->Find(LOWORD(m.WParam))) {
            item->Click();
            return;
          }
    }
    break;
  case WM_MDIACTIVATE:
    // Sent to the child that loses and to the one that gains; the change is
    // told once the client answers with the new one.
    DefaultHandler(m);
    if (TForm* frame = MDIParent()) frame->MDIActiveChanged(frame->ActiveMDIChild(), nullptr);
    return;
  case WM_DESTROY:
    clientHandle_ = nullptr; // it goes with this window; the frame's default works without it
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
