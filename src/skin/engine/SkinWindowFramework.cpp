#include "skin/engine/SkinWindowFramework.h"

#include <algorithm>
#include <cmath>

#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "platform/Errors.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinResources.h"

namespace {

constexpr const char* kClientFrameProperty = "PlimetSkinMDIFrame";

bool AnchoredTopAndBottom(const TControl* control) {
  return (control->Anchors & akTop) && (control->Anchors & akBottom);
}

// A form being freed: by delete (its state says so), or going out of scope,
// where it has left the application's forms before its components go.
bool FormGoingAway(TForm* form) {
  if (form->ComponentState() & csDestroying) return true;
  if (!Application) return true;
  const auto& forms = Application->Forms();
  return std::find(forms.begin(), forms.end(), form) == forms.end();
}

TShortCut ShortCutOfKey(WPARAM key) {
  TShortCut shortCut = static_cast<TShortCut>(key & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
  return shortCut;
}

} // namespace

TSkinWindowFramework::TSkinWindowFramework(TComponent* owner, bool fromHook, TSkinEngine& engine)
    : TSkinWindow(owner, fromHook, engine) {}

TSkinWindowFramework::~TSkinWindowFramework() = default;

HWND TSkinWindowFramework::Handle() { return handle_; }

// --- what the form says -------------------------------------------------------------

bool TSkinWindowFramework::CanShapeRegion() {
  return !Form->Parent() && Form->BorderStyle != TFormBorderStyle::bsNone;
}

int TSkinWindowFramework::MenuBarHeight() {
  return MenuBar && MenuBar->Visible() ? MenuBar->Height() : 0;
}

HICON TSkinWindowFramework::IconHandle() { return Form->Icon; }
bool TSkinWindowFramework::HasHelpButton() { return Form->BorderIcons.Help; }
bool TSkinWindowFramework::IsMDIForm() { return Form->FormStyle == TFormStyle::fsMDIForm; }
bool TSkinWindowFramework::IsMDIChild() { return Form->FormStyle == TFormStyle::fsMDIChild; }
bool TSkinWindowFramework::IsDialog() { return Form->BorderStyle == TFormBorderStyle::bsDialog; }

bool TSkinWindowFramework::HasSystemIcon() {
  return (Form->BorderStyle == TFormBorderStyle::bsSingle || Form->BorderStyle == TFormBorderStyle::bsSizeable) &&
         Form->BorderIcons.SystemMenu;
}

bool TSkinWindowFramework::HasCloseButton() { return Form->BorderIcons.SystemMenu; }

namespace {
bool SizesLikeAWindow(TFormBorderStyle style) {
  return style != TFormBorderStyle::bsDialog && style != TFormBorderStyle::bsToolWindow &&
         style != TFormBorderStyle::bsSizeToolWin;
}
} // namespace

bool TSkinWindowFramework::HasMaximizeButton() {
  return Form->BorderIcons.Maximize && Form->BorderIcons.SystemMenu && SizesLikeAWindow(Form->BorderStyle);
}

bool TSkinWindowFramework::HasMinimizeButton() {
  return Form->BorderIcons.Minimize && Form->BorderIcons.SystemMenu && SizesLikeAWindow(Form->BorderStyle);
}

void TSkinWindowFramework::CallDefault(TMessage& message) {
  if (savedWindowProc_) savedWindowProc_(message);
}

// --- attaching ---------------------------------------------------------------------

void TSkinWindowFramework::Attach(HWND window) {
  SkinAllDone = InSize = ControlsShifted = MinWidthSet = MinHeightSet = false;
  Form = skin::FormOfHandle(window);
  if (!Form) throw EPlimetError("Skin: Skinning form failed!");
  handle_ = window;
  Form->AutoScroll = false;
  MenuBar = new TSkinMenuBar(Form, *this);
  FreeNotification(MenuBar);
  MenuBar->SetVisible(false);
  MenuBar->SetParent(Form);
  if (IsMDIForm()) {
    const std::unique_ptr<TBitmap> glyphs = LoadResourceBitmap("SKIN_MDI_CONTROLER");
    for (int i = 1; i <= 3; ++i) {
      auto* button = new TSkinMenuBarControlButton(Form);
      button->SetVisible(false);
      button->SetParent(Form);
      button->Anchors = akTop | akRight;
      button->SetBounds(Form->Width() - 25 - 18 * (i - 1), 1, 18, 18);
      if (glyphs) {
        ExtractCell(glyphs.get(), button->Glyph, 3, 4 - i);
        button->Glyph.SetTransparent(true);
      }
      button->Tag = -(i + 1380);
      button->SetColor(Engine.Metrics().MenuColors[0]);
      button->OnClick = [this, tag = button->Tag](TComponent*) { MDIButtonClick(tag); };
      MDIButtons[static_cast<std::size_t>(i - 1)] = button;
      FreeNotification(button);
    }
    clientWindow_ = Form->ClientHandle();
    if (clientWindow_) {
      SetPropA(clientWindow_, kClientFrameProperty, this);
      savedClientProc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(clientWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClientProc)));
    }
  }
  if (!IsMDIChild()) {
    Events = new TApplicationEvents(this);
    Events->OnMessage = [this](MSG& message, bool& handled) { HandleAppMessage(message, handled); };
  }
  savedWindowProc_ = Form->WindowProc;
  Form->WindowProc = [this](TMessage& message) { WindowProc(message); };
  hooked_ = true;
  SetCaptionVisible(!Form->Parent() && Form->BorderStyle != TFormBorderStyle::bsNone);
  SetBorderVisible(Form->BorderStyle != TFormBorderStyle::bsNone);
  if (IsMDIChild())
    if (TForm* main = Application ? Application->MainForm() : nullptr; main && main->HandleAllocated())
      SendMessageA(main->Handle(), WM_SKIN_REFRESHWINDOWLIST, 0, 0);
}

void TSkinWindowFramework::Detach() {
  if (hooked_) {
    Form->WindowProc = savedWindowProc_;
    hooked_ = false;
  }
  if (clientWindow_ && savedClientProc_) {
    if (IsWindow(clientWindow_)) {
      SetWindowLongPtrA(clientWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedClientProc_));
      RemovePropA(clientWindow_, kClientFrameProperty);
    }
    savedClientProc_ = nullptr;
  }
  // The bar draws through this frame: it goes with the frame unless the
  // form, which owns it, is being freed anyway.
  if (Engine.Detaching() || !FormGoingAway(Form)) {
    delete MenuBar;
    MenuBar = nullptr;
    for (auto*& button : MDIButtons) {
      delete button;
      button = nullptr;
    }
    if (IsWindow(handle_)) FrameChanged();
  }
  for (TMenuItem* item : WindowListItems) delete item;
  WindowListItems.clear();
  delete Events;
  Events = nullptr;
}

// The form's own components (its menus, and the bar and buttons made on
// it) may be freed before this frame: a form that frees its components in
// its destructor, or one that is not made by new, keeps its window until
// after they are gone. The frame hears of each and stops using it.
void TSkinWindowFramework::Notification(TComponent* component, TOperation operation) {
  TSkinWindow::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == MenuBar) {
    MenuBar = nullptr;
    FormLeaving = true;
  }
  for (auto*& button : MDIButtons)
    if (button == component) button = nullptr;
  for (TMainMenu** menu : {&FormMenu, &MDIMenu, &ShownMenu})
    if (*menu == component) *menu = nullptr;
}

void TSkinWindowFramework::HoldMenu(TMainMenu*& held, TMainMenu* menu) {
  held = menu;
  if (menu) FreeNotification(menu);
}

void TSkinWindowFramework::SaveOriginal() {
  RECT client{};
  GetClientRect(handle_, &client);
  SavedClientWidth = client.right;
  SavedClientHeight = client.bottom;
  HoldMenu(FormMenu, Form->Menu());
  const int nativeMenu = FormMenu && !IsMDIChild() ? (skin::IsWindowsVista() ? 22 : 19) : 0;
  TForm* main = Application ? Application->MainForm() : nullptr;
  if (IsMDIChild() && main && main->ClientHandle()) {
    NativeTop = static_cast<int>(SendMessageA(main->ClientHandle(), WM_SKIN_GETTOP, 0, 0));
    NativeBottom = static_cast<int>(SendMessageA(main->ClientHandle(), WM_SKIN_GETBOTTOM, 0, 0));
    NativeSide = static_cast<int>(SendMessageA(main->ClientHandle(), WM_SKIN_GETSIDE, 0, 0));
  } else {
    RECT window{};
    GetWindowRect(handle_, &window);
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    NativeTop = client.top - window.top - nativeMenu;
    NativeBottom = window.bottom - client.bottom;
    NativeSide = client.left - window.left;
  }
  SavedColor = Form->Color();
}

// --- the controls ------------------------------------------------------------------------

void TSkinWindowFramework::SkinChildren() { WalkComponents(Form); }

void TSkinWindowFramework::WalkComponents(TComponent* owner) {
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* control = dynamic_cast<TControl*>(owner->Components(i));
    if (!control || control->Designing()) continue;
    if (Engine.DisabledTag != 0 && control->Tag == Engine.DisabledTag) continue;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->HandleAllocated() && SendMessageA(windowed->Handle(), WM_SKIN_QUERY, 0, 0) == 1) continue;
    const std::string name = control->ClassName();
    // The engine's own controls (the menu bar, its buttons, the panels it lays over controls).
    if (name.rfind("TSkin", 0) == 0 && name != "TSkinInternalUpDown") continue;
    if (!control->Parent()) continue;
    if (auto* form = dynamic_cast<TForm*>(control)) {
      // A form used as a child takes the form colour, and its controls are skinned with ours.
      if (!form->Name.empty()) {
        form->SetColor(Engine.FormColor());
        WalkComponents(form);
      }
      continue;
    }
    const TSkinControlRegistry::TRow* row = TSkinControlRegistry::Standard().Find(*control);
    if (row) {
      try {
        AddChild(row->Make(*this, *control));
        if (Children.back()->WantsParentColor()) control->ParentColor = true;
      } catch (...) {
        // A control whose skinner cannot be made keeps its own look.
      }
    }
    if (name != "TDBLookupComboBox") WalkComponents(control);
  }
}

// --- applying ------------------------------------------------------------------------

void TSkinWindowFramework::ShiftControls(int by) {
  for (int i = 0; i < Form->ControlCount(); ++i) {
    TControl* control = Form->Controls(i);
    if (control == MenuBar) continue;
    if (AnchoredTopAndBottom(control))
      control->SetBounds(control->Left(), control->Top() + by, control->Width(), control->Height() - by);
    else if (!(control->Anchors & akBottom))
      control->SetBounds(control->Left(), control->Top() + by, control->Width(), control->Height());
  }
}

void TSkinWindowFramework::SetMinimumSize(bool set) {
  if (!set) {
    if (MinHeightSet) Form->Constraints.MinHeight = 0;
    if (MinWidthSet) Form->Constraints.MinWidth = 0;
    MinHeightSet = MinWidthSet = false;
    return;
  }
  if (Form->Constraints.MinHeight == 0 || MinHeightSet) {
    Form->Constraints.MinHeight = MenuBarHeight() + CaptionHeight() + 6;
    MinHeightSet = true;
  }
  if ((Form->Constraints.MinWidth == 0 && !FromHook) || MinWidthSet) {
    Form->Constraints.MinWidth = Engine.Metrics().MinFrameWidth;
    MinWidthSet = true;
  }
}

void TSkinWindowFramework::ApplySkin() {
  // The bar goes only with the form: what is left of it is not touched.
  if (FormLeaving) return;
  ReapplyChildren(false);
  if (Skinned) {
    LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, style & ~WS_SYSMENU);
    Form->SetColor(Engine.FormColor());
    if (Form->Menu()) HoldMenu(FormMenu, Form->Menu());
    Form->SetMenu(nullptr);
    Form->AutoScroll = false;
    Form->Scaled = false;
    if (FormMenu) {
      MenuBar->SetBounds(MenuBar->Left(), -100, MenuBar->Width(), MenuBar->Height());
      MenuBar->ParentColor = false;
      MenuBar->SetColor(Engine.Metrics().MenuColors[0]);
    }
    if (IsMDIChild()) {
      TForm* main = Application ? Application->MainForm() : nullptr;
      if (main && main->MDIChildCount() > 1 && main->MDIChildren(0) == Form) {
        TForm* active = main->ActiveMDIChild();
        for (int i = 0; i < main->MDIChildCount(); ++i)
          if (TForm* child = main->MDIChildren(i); child && child->HandleAllocated())
            SendMessageA(child->Handle(), WM_MDIACTIVATE, 0,
                         reinterpret_cast<LPARAM>(active ? active->Handle() : nullptr));
      }
    }
    RefreshMenuBar(true);
    if (IsMDIForm()) PlaceMDIButtons();
    SetMinimumSize(true);
    if (!ControlsShifted) {
      shiftedBy_ = MenuBarHeight();
      ShiftControls(shiftedBy_);
      ControlsShifted = true;
    }
    if (!IsZoomed(handle_))
      Form->SetClientSize(std::max(4, Engine.Metrics().LeftBorderWidth) + SavedClientWidth +
                              std::max(4, Engine.Metrics().RightBorderWidth) - 8,
                          MenuBarHeight() + SavedClientHeight);
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* menu = dynamic_cast<TMenu*>(Form->Components(i)); menu && menu->Tag != Engine.DisabledTag)
        Engine.MakeMenuOwnerDrawn(menu);
  } else {
    // A form on its way out is left as it is; one that stays (its frame let
    // go by SkinAllForms or with another form's engine) gets its own look back.
    if (FormGoingAway(Form)) return;
    LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, style | WS_SYSMENU);
    Form->SetMenu(FormMenu);
    Form->SetColor(SavedColor);
    SetMinimumSize(false);
    Form->Constraints.MinHeight = 0;
    Form->Constraints.MinWidth = 0;
    if (!IsZoomed(handle_)) Form->SetClientSize(SavedClientWidth, SavedClientHeight);
    if (ControlsShifted) {
      // Back by as much as they were moved; the next skinning moves them again.
      ShiftControls(-shiftedBy_);
      ControlsShifted = false;
    }
    for (TMenuItem* item : WindowListItems) delete item;
    WindowListItems.clear();
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* menu = dynamic_cast<TMenu*>(Form->Components(i))) Engine.MakeMenuPlain(menu);
    MenuBar->SetVisible(false);
    HideMDIButtons();
    SetWindowRgn(handle_, nullptr, TRUE);
  }
  FrameChanged();
}

void TSkinWindowFramework::FollowFrameStyle(bool always) {
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  if (Skinned && (style & WS_SYSMENU)) SetWindowLongA(handle_, GWL_STYLE, style & ~WS_SYSMENU);
  const bool framed = !Form->Parent() && Form->BorderStyle != TFormBorderStyle::bsNone;
  if (!always && framed == CaptionVisible) return;
  SetCaptionVisible(framed);
  SetBorderVisible(framed);
  SetMinimumSize(framed);
  PaintFrame();
}

// --- messages --------------------------------------------------------------------------

bool TSkinWindowFramework::BeforeDefault(TMessage& message) {
  switch (message.Msg) {
  case CM_DIALOGCHAR:
    // The menu lives in the bar now: its mnemonics are the bar's.
    if (Skinned && MenuBar && MenuBar->Visible() && MenuBar->Perform(CM_DIALOGCHAR, message.WParam, message.LParam)) {
      message.Result = 1;
      return false;
    }
    break;
  case WM_SYSCOMMAND:
    if ((message.WParam & 0xFFF0) == SC_KEYMENU && message.LParam == 0 && Skinned && MenuBar && MenuBar->Visible()) {
      MenuBar->EnterFromKeyboard();
      return false;
    }
    break;
  default:
    break;
  }
  return true;
}

void TSkinWindowFramework::AfterDefault(TMessage& message) {
  TForm* main = Application ? Application->MainForm() : nullptr;
  switch (message.Msg) {
  case WM_MDIACTIVATE:
    if (reinterpret_cast<HWND>(message.LParam) == handle_) {
      if (main && main->HandleAllocated())
        SendMessageA(main->Handle(), WM_SKIN_SETMDIMENU, reinterpret_cast<WPARAM>(Form),
                     reinterpret_cast<LPARAM>(FormMenu));
      Active = true;
    } else {
      Active = false;
    }
    PaintFrame();
    break;
  case WM_MDIREFRESHMENU:
    PaintFrame();
    break;
  case WM_MDIRESTORE:
    HideMDIButtons();
    break;
  case WM_MDIMAXIMIZE:
    ShowMDIButtons();
    break;
  case WM_SKIN_SETMDIMENU:
    HoldMenu(MDIMenu, reinterpret_cast<TMainMenu*>(message.LParam));
    RefreshMenuBar(true);
    break;
  case WM_SHOWWINDOW:
  case CM_VISIBLECHANGED:
    if (!SkinAllDone && Form == main && Engine.SkinAllForms()) {
      SkinAllDone = true;
      Engine.SkinAllFormsPass();
    }
    break;
  case WM_SIZE:
    if (IsZoomed(handle_) && !IsMDIChild()) {
      RECT work = skin::WorkArea();
      InflateRect(&work, 4, 4);
      if (Form->Height() < work.bottom - work.top || Form->Width() < work.right - work.left)
        Form->SetBounds(work.left, work.top, work.right - work.left, work.bottom - work.top);
    }
    if (IsMDIChild() && main && main->HandleAllocated()) {
      if (IsZoomed(handle_)) {
        if (!MDIMaximizedSent) {
          MDIMaximizedSent = true;
          SendMessageA(main->Handle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(handle_), 0);
        }
      } else if (MDIMaximizedSent) {
        MDIMaximizedSent = false;
        SendMessageA(main->Handle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(handle_), 0);
      }
    }
    InSize = true;
    UpdateRegion();
    InSize = false;
    break;
  case WM_WINDOWPOSCHANGED:
    if (IsMDIChild() && main && main->HandleAllocated()) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
      if (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
        SendMessageA(main->Handle(), WM_SKIN_REFRESHWINDOWLIST, 0, 0);
    }
    break;
  case WM_PARENTNOTIFY:
    if (LOWORD(message.WParam) == WM_CREATE) FollowFrameStyle(false);
    break;
  case CM_RECREATEWND:
  case CM_FLOAT:
    FollowFrameStyle(true);
    break;
  case WM_SKIN_REFRESHWINDOWLIST:
    RefreshWindowList();
    break;
  default:
    break;
  }
}

void TSkinWindowFramework::HandleAppMessage(MSG& message, bool& handled) {
  if (!Engine.InEffect() || !Skinned || !ShownMenu) return;
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
  if (!down && !up) return;
  const bool active = skin::IsFormActive(Form) && (IsMDIForm() || GetActiveWindow() == handle_);
  if (!active) return;
  const WPARAM key = message.wParam == VK_LMENU || message.wParam == VK_RMENU ? VK_MENU : message.wParam;
  if (down) {
    // F10, or Alt pressed and released alone, enters the bar as it would a menu bar.
    const bool repeat = (message.lParam & (1 << 30)) != 0;
    if ((key == VK_F10 || key == VK_MENU) && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0) {
      if (!repeat) menuKey_ = key;
      handled = key == VK_F10;
      return;
    }
    menuKey_ = 0;
    if (key == VK_SHIFT || key == VK_CONTROL) return;
    if (TMenuItem* item = ShownMenu->Items()->FindShortCut(ShortCutOfKey(key)); item && item->Enabled()) {
      item->Click();
      handled = true;
    }
    return;
  }
  if ((key == VK_F10 || key == VK_MENU) && menuKey_ == key) {
    menuKey_ = 0;
    if (MenuBar && MenuBar->Visible()) {
      MenuBar->EnterFromKeyboard();
      handled = true;
    }
  }
}

// --- the menu bar ------------------------------------------------------------------------

void TSkinWindowFramework::RefreshMenuBar(bool force) {
  if (FormLeaving) return;
  TMainMenu* menu = IsMDIForm() ? (MDIMenu ? MDIMenu : FormMenu) : FormMenu;
  if (!menu) {
    MenuBar->SetVisible(false);
  } else if (force || ShownMenu != menu || !MenuBar->Visible()) {
    BuildMenuBar(menu);
  }
  ShownMenu = menu;
  if (IsMDIForm()) RefreshWindowList();
}

void TSkinWindowFramework::BuildMenuBar(TMainMenu* menu) {
  MenuBar->AutoSize = false;
  auto* images = dynamic_cast<TImageList*>(menu->Images.Get());
  if (images == TSkinEngine::MenuImages()) images = nullptr; // the engine's empty list shows nothing
  MenuBar->Images = images;
  LOGFONTA font{};
  if (skin::MenuFont(font)) {
    const int points = std::abs(font.lfHeight) * 72 / 96;
    MenuBar->Font.Set(font.lfFaceName, points > 0 ? points : 8, font.lfWeight >= FW_BOLD);
    MenuBar->Font.Color = SystemColor(COLOR_MENUTEXT);
  }
  MenuBar->List = images != nullptr;
  while (MenuBar->ButtonCount() > 0) delete MenuBar->Buttons(MenuBar->ButtonCount() - 1);
  TMenuItem* items = menu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (!item->Visible()) continue;
    auto* button = new TToolButton(MenuBar);
    button->Grouped = true;
    button->AutoSize = true;
    button->SetMenuItem(item);
    button->SetToolBar(MenuBar);
  }
  MenuBar->AutoSize = true;
  MenuBar->RebuildButtons();
  if (!IsMDIChild()) MenuBar->SetVisible(true);
  ShownMenu = menu;
}

void TSkinWindowFramework::MenuButtonDraw(TToolBar*, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw) {
  defaultDraw = false;
  HDC dc = draw.nmcd.hdc;
  LOGFONTA log{};
  if (!skin::MenuFont(log)) {
    log.lfHeight = -11;
    lstrcpyA(log.lfFaceName, "Tahoma");
  }
  const gdi::TFontHandle font(CreateFontIndirectA(&log));
  const gdi::TSelection chosen(dc, font.Get());
  const unsigned state = CustomDrawState(draw.nmcd);
  RECT rect = draw.nmcd.rc;
  TImageList* images = MenuBar->Images;
  TMenuItem* item = button->MenuItem();
  const bool hasImage = images && item && item->ImageIndex >= 0 && item->ImageIndex < images->Count();
  const int imageWidth = hasImage ? images->Width() : 0;
  const bool selected = (state & cdsSelected) != 0;
  const std::string caption = button->Caption();
  SetBkMode(dc, TRANSPARENT);
  RECT text = rect;
  TColor color;
  if (state & (cdsHot | cdsSelected)) {
    button->Tag = kHotMenuButtonTag;
    if (selected) rect.right -= 2;
    const gdi::TBrush fill(CreateSolidBrush(skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_TOPSELECTEDMENUCOLOR))));
    FillRect(dc, &rect, fill.Get());
    const gdi::TBrush border(
        CreateSolidBrush(skin::ToRgb(Engine.GetColor(TSkinColorKey::SKIN2_TOPSELECTEDMENUBORDERCOLOR))));
    FrameRect(dc, &rect, border.Get());
    text = rect;
    if (hasImage) text.left += imageWidth;
    if (selected) text.left += 2;
    text.top += 2;
    color = Engine.GetColor(TSkinColorKey::SKIN2_TOPSELECTEDMENUFONTCOLOR);
  } else {
    button->Tag = 0;
    text.top += 2;
    text.left += imageWidth;
    color = button->Enabled() ? Engine.GetColor(TSkinColorKey::SKIN2_TOPMENUFONTCOLOR) : 0x808080;
  }
  SetTextColor(dc, skin::ToRgb(color));
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  if (hasImage) images->Draw(dc, text.left - imageWidth + (selected ? 0 : 2), text.top + 2, item->ImageIndex, true);
}

// --- MDI ----------------------------------------------------------------------------------

void TSkinWindowFramework::PlaceMDIButtons() {
  int left = Form->Width() - Engine.Metrics().RightBorderWidth - 25;
  for (TSkinMenuBarControlButton* button : MDIButtons) {
    if (!button) continue;
    button->SetBounds(left, -MenuBarHeight(), 18, 18);
    button->SetColor(Engine.Metrics().MenuColors[0]);
    if (button->HandleAllocated())
      SetWindowPos(button->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    left -= 18;
  }
}

void TSkinWindowFramework::ShowMDIButtons() {
  TForm* child = Form->ActiveMDIChild();
  if (!child) return;
  const bool shown[3] = {child->BorderIcons.SystemMenu, child->BorderIcons.Maximize, child->BorderIcons.Minimize};
  for (std::size_t i = 0; i < MDIButtons.size(); ++i) {
    TSkinMenuBarControlButton* button = MDIButtons[i];
    if (!button) continue;
    button->SetColor(Engine.Metrics().MenuColors[0]);
    button->SetVisible(shown[i]);
    if (shown[i] && button->HandleAllocated())
      SetWindowPos(button->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TSkinWindowFramework::HideMDIButtons() {
  for (TSkinMenuBarControlButton* button : MDIButtons)
    if (button) button->SetVisible(false);
}

void TSkinWindowFramework::MDIButtonClick(int tag) {
  TForm* child = Form->ActiveMDIChild();
  if (!child) return;
  if (tag == -1383)
    ShowWindow(child->Handle(), SW_SHOWMINIMIZED);
  else if (tag == -1382)
    SendMessageA(Form->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  else if (tag == -1381)
    child->Close();
  if (Application) Application->ProcessMessages();
}

void TSkinWindowFramework::RefreshWindowList() {
  TMenuItem* windowMenu = Form->WindowMenu();
  if (!windowMenu || ShownMenu != FormMenu || !IsMDIForm()) return;
  for (TMenuItem* item : WindowListItems) delete item;
  WindowListItems.clear();
  auto* separator = new TMenuItem(this);
  separator->SetCaption("-");
  windowMenu->Add(separator);
  WindowListItems.push_back(separator);
  TForm* active = Form->ActiveMDIChild();
  for (int i = 0; i < Form->MDIChildCount(); ++i) {
    TForm* child = Form->MDIChildren(i);
    if (!child || !child->HandleAllocated() || !IsWindowVisible(child->Handle()) ||
        (child->ComponentState() & csDestroying))
      continue;
    auto* item = new TMenuItem(this);
    item->SetCaption(WindowText(child->Handle()));
    item->SetChecked(child == active);
    HWND childWindow = child->Handle();
    item->OnClick = [this, childWindow](TComponent*) {
      if (IsIconic(childWindow)) SendMessageA(Form->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(childWindow), 0);
      SendMessageA(Form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(childWindow), 0);
    };
    windowMenu->Add(item);
    WindowListItems.push_back(item);
  }
  if (Engine.InEffect())
    for (TMenuItem* item : WindowListItems)
      skin::SetMenuItemHandlers(
          item, [this](TMenuItem* i, HDC dc, int& w, int& h) { Engine.MeasureMenuItem(i, dc, w, h); },
          [this](TMenuItem* i, HDC dc, const RECT& r, bool s) { Engine.DrawMenuItem(i, dc, r, s); });
}

LRESULT CALLBACK TSkinWindowFramework::ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* frame = static_cast<TSkinWindowFramework*>(GetPropA(window, kClientFrameProperty));
  if (!frame || !frame->savedClientProc_) return DefWindowProcA(window, msg, wParam, lParam);
  return frame->ClientMessage(window, msg, wParam, lParam);
}

LRESULT TSkinWindowFramework::ClientMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_SKIN_GETTOP: return NativeTop;
  case WM_SKIN_GETBOTTOM: return NativeBottom;
  case WM_SKIN_GETSIDE: return NativeSide;
  default: break;
  }
  const WNDPROC own = savedClientProc_;
  const LRESULT result = CallWindowProcA(own, window, msg, wParam, lParam);
  if (!Engine.InEffect()) return result;
  switch (msg) {
  case WM_MDICASCADE:
    CascadeChildren();
    break;
  case WM_MDITILE:
    TileChildren(wParam != 0);
    break;
  case WM_MDIDESTROY:
    if (Form->MDIChildCount() <= 1) {
      if (TForm* main = Application ? Application->MainForm() : nullptr; main && main->HandleAllocated())
        SendMessageA(main->Handle(), WM_SKIN_SETMDIMENU, 0, 0);
      HideMDIButtons();
    }
    break;
  case WM_MDICREATE:
    RefreshWindowList();
    break;
  default:
    break;
  }
  return result;
}

void TSkinWindowFramework::CascadeChildren() {
  RECT client{};
  GetClientRect(clientWindow_, &client);
  const int width = static_cast<int>(std::lround(0.8 * client.right));
  const int height = static_cast<int>(std::lround(0.6 * client.bottom));
  int at = 0;
  for (int i = Form->MDIChildCount() - 1; i >= 0; --i) {
    TForm* child = Form->MDIChildren(i);
    if (!child || IsIconic(child->Handle())) continue;
    child->SetBounds(at, at, width, height);
    at += 22;
  }
}

void TSkinWindowFramework::TileChildren(bool vertically) {
  std::vector<TForm*> children;
  bool someMinimized = false;
  for (int i = 0; i < Form->MDIChildCount(); ++i) {
    TForm* child = Form->MDIChildren(i);
    if (!child) continue;
    if (IsIconic(child->Handle()))
      someMinimized = true;
    else
      children.push_back(child);
  }
  if (children.empty()) return;
  RECT client{};
  GetClientRect(handle_, &client);
  int height = client.bottom;
  for (int i = 0; i < Form->ControlCount(); ++i) {
    TControl* control = Form->Controls(i);
    if (control->Visible() && (control->Align() == TAlign::alTop || control->Align() == TAlign::alBottom))
      height -= control->Height();
  }
  if (someMinimized) height -= 25;
  const int count = static_cast<int>(children.size());
  const int width = client.right;
  for (int k = 0; k < count; ++k) {
    if (vertically) {
      const int each = height / count - 2 - (count == 1 ? 2 : 0);
      children[static_cast<std::size_t>(k)]->SetBounds(0, k * (height / count), width - 4, each);
    } else {
      const int each = width / count - 2;
      children[static_cast<std::size_t>(k)]->SetBounds(k * (width / count), 0, each, height - 4);
    }
  }
}
