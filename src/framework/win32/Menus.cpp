#include "framework/win32/Menus.h"

#include "framework/win32/Gdi.h"

#include <cctype>

#include <algorithm>
#include <atomic>

#include "framework/win32/Forms.h"

namespace {
std::atomic<UINT> nextCommand{100};
}

std::string ShortCutToText(TShortCut shortCut) {
  if (!shortCut) return {};
  std::string text;
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  if (shortCut & scShift) text += "Shift+";
  const UINT key = shortCut & 0xFF;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return text + static_cast<char>(key);
  if (key >= VK_F1 && key <= VK_F24) return text + "F" + std::to_string(key - VK_F1 + 1);
  if (key == VK_DELETE) return text + "Del";
  if (key == VK_INSERT) return text + "Ins";
  if (key == VK_RETURN) return text + "Enter";
  if (key == VK_ESCAPE) return text + "Esc";
  char name[64] = {};
  GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16), name, sizeof name);
  return text + name;
}

// --- TMenuItem -------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(nextCommand++) {}

TMenuItem::~TMenuItem() {
  if (action_) action_->RemoveClient(this);
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    if (!child->Owner()) delete child; // sub-items nobody owns go with their parent
  }
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  ownCaption_ = action_ != nullptr; // a caption of its own outlives the action's changes
  Changed();
}
void TMenuItem::SetVisible(bool visible) {
  visible_ = visible;
  Changed();
}
void TMenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}
void TMenuItem::SetChecked(bool checked) {
  checked_ = checked;
  Changed();
}
void TMenuItem::SetDefault(bool isDefault) {
  default_ = isDefault;
  Changed();
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  items_.push_back(item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
  Changed();
}

TMenuItem* TMenuItem::Find(UINT command) {
  if (command == command_) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->Find(command)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
  for (TMenuItem* item : items_) {
    if (item->ShortCut == shortCut && item->visible_ && item->enabled_) return item;
    if (TMenuItem* found = item->FindShortCut(shortCut)) return found;
  }
  return nullptr;
}

void TMenuItem::SetAction(TAction* action) {
  if (action_) action_->RemoveClient(this);
  action_ = action;
  if (action_) action_->AddClient(this);
}

void TMenuItem::ActionChanged(TAction& action) {
  if (!ownCaption_) caption_ = action.Caption();
  enabled_ = action.Enabled();
  visible_ = action.Visible();
  ImageIndex = action.ImageIndex;
  Changed();
}

void TMenuItem::Click() {
  if (action_) {
    action_->Execute();
  } else if (OnClick) {
    OnClick(this);
  }
}

TMenu* TMenuItem::OwningMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::Changed() {
  if (TMenu* menu = OwningMenu()) menu->Rebuild();
}

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The mnemonic a caption has ("&x"), 0 for none.
char MnemonicOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return Upper(caption[i + 1]);
    ++i; // "&&" is a plain ampersand
  }
  return 0;
}

} // namespace

std::string TMenuItem::NativeCaption() const {
  const TMenu* menu = OwningMenu();
  if (!menu || !menu->AutoHotkeys() || caption_ == "-" || MnemonicOf(caption_) || !parent_) return caption_;
  // Letters taken by the items beside it: their own mnemonics, then the
  // automatic ones of the items before it.
  std::string taken;
  for (const TMenuItem* sibling : parent_->items_)
    if (char own = MnemonicOf(sibling->caption_)) taken += own;
  for (const TMenuItem* sibling : parent_->items_) {
    if (sibling == this) break;
    if (char own = MnemonicOf(sibling->NativeCaption()); own && !MnemonicOf(sibling->caption_)) taken += own;
  }
  for (std::size_t i = 0; i < caption_.size(); ++i) {
    const char c = caption_[i];
    if (std::isalnum(static_cast<unsigned char>(c)) && taken.find(Upper(c)) == std::string::npos)
      return caption_.substr(0, i) + "&" + caption_.substr(i);
  }
  return caption_;
}

void TMenuItem::AppendTo(HMENU menu) {
  const TMenu* owning = OwningMenu();
  const bool ownerDrawn = owning && owning->OwnerDraw();
  const UINT order = owning && owning->IsRightToLeft() ? MFT_RIGHTORDER | MFT_RIGHTJUSTIFY : 0;
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    if (item->caption_ == "-") {
      info.fMask = MIIM_FTYPE | MIIM_DATA;
      // An owner-drawn separator is measured and painted like any item.
      info.fType = MFT_SEPARATOR | order | (ownerDrawn || item->OnDrawItem ? MFT_OWNERDRAW : 0);
    } else {
      info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA;
      info.fType = (ownerDrawn || item->OnDrawItem ? MFT_OWNERDRAW : MFT_STRING) | order;
      std::string text = item->NativeCaption();
      if (item->ShortCut) text += "\t" + ShortCutToText(item->ShortCut);
      item->nativeText_ = text;
      info.dwTypeData = item->nativeText_.data();
      info.wID = item->command_;
      info.fState = (item->enabled_ ? MFS_ENABLED : MFS_DISABLED) | (item->checked_ ? MFS_CHECKED : 0) |
                    (item->default_ ? MFS_DEFAULT : 0);
      if (item->Bitmap) {
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = item->Bitmap;
      }
      if (!item->items_.empty()) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = CreatePopupMenu();
        item->AppendTo(info.hSubMenu);
      }
    }
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
  }
}

// --- TMenu ----------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

void TMenu::SetOwnerDraw(bool ownerDraw) {
  if (ownerDraw_ == ownerDraw) return;
  ownerDraw_ = ownerDraw;
  if (handle_) Rebuild();
}

void TMenu::SetAutoHotkeys(bool autoHotkeys) {
  if (autoHotkeys_ == autoHotkeys) return;
  autoHotkeys_ = autoHotkeys;
  if (handle_) Rebuild();
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  if (biDiMode_ == mode) return;
  biDiMode_ = mode;
  if (handle_) Rebuild();
}

TMenu::~TMenu() {
  items_->menu_ = nullptr;
  delete items_;
  if (handle_) DestroyMenu(handle_);
}

HMENU TMenu::Handle() {
  if (!handle_) Rebuild();
  return handle_;
}

void TMenu::Rebuild() {
  if (!handle_) {
    handle_ = CreateNative();
  } else {
    Rebuilding();
  }
  while (GetMenuItemCount(handle_) > 0) DeleteMenu(handle_, 0, MF_BYPOSITION); // sub-menus go with them
  items_->AppendTo(handle_);
  Rebuilt();
}

namespace {
TForm* FormOf(HWND window) { return window ? dynamic_cast<TForm*>(TWinControl::FromHandle(window)) : nullptr; }
} // namespace

TMainMenu::~TMainMenu() {
  if (TForm* form = FormOf(Window)) form->MenuRebuilding();
}

void TMainMenu::Rebuilding() {
  if (TForm* form = FormOf(Window)) form->MenuRebuilding();
}

void TMainMenu::Rebuilt() {
  if (!Window) return;
  // The form shows it again (an MDI form re-links its window list to the new sub-menus).
  if (TForm* form = FormOf(Window)) {
    form->MenuRebuilt();
  } else {
    DrawMenuBar(Window);
  }
}

// --- TPopupMenu -------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner)
    : TMenu(owner), window_(
                        [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                          if (msg == CM_EXECUTE) {
                            if (TMenuItem* item = Items()->Find(static_cast<UINT>(lParam))) item->Click();
                            (void)wParam;
                            return true;
                          }
                          return DispatchMenuOwnerDraw(msg, lParam, result);
                        },
                        false) {}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  Rebuild();
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(
      handle_, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, window_.Handle(), nullptr));
  if (command) PostMessageA(window_.Handle(), CM_EXECUTE, 0, static_cast<LPARAM>(command));
}

bool DispatchMenuOwnerDraw(UINT msg, LPARAM lParam, LRESULT& result) {
  if (msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType != ODT_MENU || !measure->itemData) return false;
    auto* item = reinterpret_cast<TMenuItem*>(measure->itemData);
    int width = 80, height = 21;
    if (item->OnMeasureItem) {
      const gdi::TClientDC screen(nullptr);
      item->OnMeasureItem(item, screen.Get(), width, height);
    }
    measure->itemWidth = static_cast<UINT>(width);
    measure->itemHeight = static_cast<UINT>(height);
    result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType != ODT_MENU || !draw->itemData) return false;
    auto* item = reinterpret_cast<TMenuItem*>(draw->itemData);
    if (item->OnDrawItem) item->OnDrawItem(item, draw->hDC, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
    result = TRUE;
    return true;
  }
  return false;
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) Images.Forget(component);
  TComponent::Notification(component, operation);
}
