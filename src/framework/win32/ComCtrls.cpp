#include "framework/win32/ComCtrls.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The common control classes a window needs, registered before its first use.
void NeedCommonControls(DWORD classes) {
  static DWORD registered = 0; // process-wide, as the window classes are
  if ((registered & classes) == classes) return;
  INITCOMMONCONTROLSEX init{sizeof init, classes};
  if (InitCommonControlsEx(&init)) registered |= classes;
}

} // namespace

// --- TImageList -------------------------------------------------------------------

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width),
      height_(height) {}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

int TImageList::AddIcon(HICON icon) { return icon ? ImageList_AddIcon(handle_, icon) : -1; }

int TImageList::AddIcon(std::unique_ptr<platform::TIcon> icon) {
  // The list keeps its own copy; the icon object frees the handle it owns.
  return icon ? AddIcon(reinterpret_cast<HICON>(icon->Handle())) : -1;
}

int TImageList::AddMasked(HBITMAP bitmap, COLORREF maskColor) { return ImageList_AddMasked(handle_, bitmap, maskColor); }

int TImageList::Count() const { return ImageList_GetImageCount(handle_); }

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, CLR_NONE, enabled ? CLR_DEFAULT : GetSysColor(COLOR_BTNFACE),
                   enabled ? ILD_TRANSPARENT : ILD_BLEND50);
}

void TImageList::Clear() { ImageList_RemoveAll(handle_); }

// --- TTreeView -----------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 121;
  height_ = 97;
  model_.Items.SetObserver(this);
}

TCustomTreeView::~TCustomTreeView() { model_.Items.SetObserver(nullptr); }

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = WC_TREEVIEWA;
  params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                  (HideSelection ? 0 : TVS_SHOWSELALWAYS) | (ReadOnly ? 0 : TVS_EDITLABELS);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::HandleCreated() {
  if (images_) SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
  SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  items_.clear();
  for (int i = 0; i < model_.Items.TopCount(); ++i) InsertSubtree(*model_.Items.TopItem(i));
}

void TCustomTreeView::SetImages(TImageList* images) {
  images_ = images;
  model_.Images = images;
  if (HandleAllocated())
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TCustomTreeView::SetIndent(int indent) {
  indent_ = indent;
  if (HandleAllocated()) SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
}

HTREEITEM TCustomTreeView::ItemOf(const TTreeNode* node) const {
  const auto found = items_.find(node);
  return found == items_.end() ? nullptr : found->second;
}

namespace {

TTreeNode* NodeOfItem(HWND tree, HTREEITEM item) {
  if (!item) return nullptr;
  TVITEMA data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  return reinterpret_cast<TTreeNode*>(data.lParam);
}

void Describe(TVITEMA& item, TTreeNode& node) {
  item.mask |= TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  item.pszText = const_cast<char*>(node.Text().c_str());
  // A node without an image shows none (-1 would ask the owner for one).
  item.iImage = node.ImageIndex() < 0 ? I_IMAGENONE : node.ImageIndex();
  item.iSelectedImage = node.SelectedIndex() < 0 ? I_IMAGENONE : node.SelectedIndex();
  item.lParam = reinterpret_cast<LPARAM>(&node);
}

} // namespace

TTreeNode* TCustomTreeView::Selected() {
  if (!HandleAllocated()) return nullptr;
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  return NodeOfItem(Handle(), item);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? ItemOf(node) : nullptr));
}

void TCustomTreeView::MakeVisible(TTreeNode* node) {
  if (HTREEITEM item = node ? ItemOf(node) : nullptr) SendMessageA(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) {
  TVHITTESTINFO hit{};
  hit.pt = {x, y};
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return hit.flags & TVHT_ONITEM ? NodeOfItem(Handle(), item) : nullptr;
}

void TCustomTreeView::InsertItem(TTreeNode& node) {
  if (!HandleAllocated()) return;
  TVINSERTSTRUCTA insert{};
  insert.hParent = node.Parent() ? ItemOf(node.Parent()) : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  Describe(insert.item, node);
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item) items_[&node] = item;
}

void TCustomTreeView::InsertSubtree(TTreeNode& node) {
  InsertItem(node);
  for (int i = 0; i < node.Count(); ++i) InsertSubtree(*node.Item(i));
}

void TCustomTreeView::ForgetSubtree(const TTreeNode& node) {
  items_.erase(&node);
  for (int i = 0; i < node.Count(); ++i) ForgetSubtree(*node.Item(i));
}

void TCustomTreeView::NodeAdded(TTreeNode& node) { InsertItem(node); }

void TCustomTreeView::NodeDeleting(TTreeNode& node) {
  if (HTREEITEM item = ItemOf(&node)) SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  ForgetSubtree(node);
}

void TCustomTreeView::NodeChanged(TTreeNode& node) {
  HTREEITEM item = ItemOf(&node);
  if (!item) return;
  TVITEMA data{};
  data.mask = TVIF_HANDLE;
  data.hItem = item;
  Describe(data, node);
  SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void TCustomTreeView::Cleared() {
  if (HandleAllocated()) SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  items_.clear();
}

void TCustomTreeView::UpdateBegun() {
  if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomTreeView::UpdateEnded() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomTreeView::NotifyNotify(NMHDR& header, TMessage& message) {
  switch (header.code) {
  case TVN_SELCHANGEDA:
  case TVN_SELCHANGEDW:
    if (OnChange) OnChange(this, NodeOfItem(Handle(), reinterpret_cast<NMTREEVIEWA&>(header).itemNew.hItem));
    break;
  case NM_DBLCLK:
    if (OnDblClick) OnDblClick(this);
    break;
  case TVN_BEGINLABELEDITA:
  case TVN_BEGINLABELEDITW:
    message.Result = ReadOnly; // nonzero refuses editing
    break;
  default:
    break;
  }
}

POINT TCustomTreeView::KeyboardMenuPoint() {
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  RECT r{};
  if (!item || !TreeView_GetItemRect(Handle(), item, &r, TRUE)) return {0, 0};
  return {r.left + 8, (r.top + r.bottom) / 2};
}

void TCustomTreeView::WndProc(TMessage& message) {
  if (message.Msg == WM_DESTROY) items_.clear();
  TWinControl::WndProc(message);
}

// --- TStatusBar -----------------------------------------------------------------------

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner) {
  height_ = 19;
  align_ = TAlign::alBottom;
}

void TCustomStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = STATUSCLASSNAMEA;
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (SizeGrip ? SBARS_SIZEGRIP : 0);
}

void TCustomStatusBar::HandleCreated() {
  SendMessageA(Handle(), SB_SIMPLE, SimplePanel, 0);
  SendMessageA(Handle(), SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::WndProc(TMessage& message) {
  TWinControl::WndProc(message);
  // The bar draws its size grip at its right end: all of it is painted again
  // when its size changes, or the grip would stay where it was.
  if (message.Msg == WM_SIZE) InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomStatusBar::SetSimpleText(const std::string& text) {
  simpleText_ = text;
  if (HandleAllocated()) SendMessageA(Handle(), SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- TCustomTabControl and TTabControl -----------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) { TabStop = true; }

void TCustomTabControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_TAB_CLASSES);
  params.BaseClassName = WC_TABCONTROLA;
  params.Style |= WS_CLIPCHILDREN;
  switch (tabPosition_) {
  case TTabPosition::tpTop:
    break;
  case TTabPosition::tpBottom:
    params.Style |= TCS_BOTTOM;
    break;
  case TTabPosition::tpLeft:
    params.Style |= TCS_VERTICAL | TCS_MULTILINE;
    break;
  case TTabPosition::tpRight:
    params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
    break;
  }
}

void TCustomTabControl::HandleCreated() {
  if (images_) SendMessageA(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
}

void TCustomTabControl::SetImages(TImageList* images) {
  if (images_) RemoveFreeNotification(images_);
  images_ = images;
  if (images_) FreeNotification(images_);
  if (HandleAllocated())
    SendMessageA(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TCustomTabControl::SetTabPosition(TTabPosition position) {
  if (position == tabPosition_) return;
  tabPosition_ = position;
  RecreateWnd();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
  TWinControl::Notification(component, operation);
}

RECT TCustomTabControl::DisplayRect() {
  RECT area = TWinControl::ClientRect();
  if (HandleAllocated()) SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  return area;
}

int TCustomTabControl::NativeSelection() {
  return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)) : -1;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  width_ = 289;
  height_ = 193;
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
  tabs_ = tabs;
  if (tabIndex_ >= static_cast<int>(tabs_.size())) tabIndex_ = tabs_.empty() ? -1 : 0;
  if (tabIndex_ < 0 && !tabs_.empty()) tabIndex_ = 0;
  FillTabs();
}

void TTabControl::AddTab(const std::string& caption) {
  tabs_.push_back(caption);
  if (tabIndex_ < 0) tabIndex_ = 0;
  FillTabs();
}

int TTabControl::TabIndex() {
  if (HandleAllocated()) tabIndex_ = NativeSelection();
  return tabIndex_;
}

void TTabControl::SetTabIndex(int index) {
  tabIndex_ = index >= 0 && index < static_cast<int>(tabs_.size()) ? index : -1;
  if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

RECT TTabControl::ClientRect() const {
  RECT area = TWinControl::ClientRect();
  if (HandleAllocated())
    SendMessageA(const_cast<TTabControl*>(this)->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  return area;
}

void TTabControl::HandleCreated() {
  TCustomTabControl::HandleCreated();
  FillTabs();
}

void TTabControl::FillTabs() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(tabs_[i].c_str());
    item.iImage = Images() ? static_cast<int>(i) : -1; // tab n shows image n
    SendMessageA(Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
  Realign();
}

void TTabControl::NotifyNotify(NMHDR& header, TMessage& message) {
  if (header.code == TCN_SELCHANGING) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    message.Result = allow ? FALSE : TRUE;
  } else if (header.code == TCN_SELCHANGE) {
    tabIndex_ = NativeSelection();
    if (OnChange) OnChange(this);
  }
}

// --- TTabSheet and TPageControl ------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  ParentColor = true;
  visible_ = false;
}

TTabSheet::~TTabSheet() {
  if (pageControl_) {
    auto& pages = pageControl_->pages_;
    pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
    if (pageControl_->active_ == this) pageControl_->active_ = nullptr;
  }
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl_) {
    auto& pages = pageControl_->pages_;
    pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
    if (pageControl_->active_ == this) pageControl_->active_ = nullptr;
    pageControl_->UpdateTabs();
  }
  pageControl_ = pageControl;
  SetParent(pageControl);
  if (pageControl_) {
    pageControl_->pages_.push_back(this);
    if (!pageControl_->active_ && tabVisible_) pageControl_->SetActivePage(this);
    pageControl_->UpdateTabs();
  }
}

void TTabSheet::SetTabVisible(bool visible) {
  tabVisible_ = visible;
  if (!pageControl_) return;
  if (!visible && pageControl_->active_ == this) {
    pageControl_->active_ = nullptr;
    for (TTabSheet* page : pageControl_->pages_)
      if (page->tabVisible_) {
        pageControl_->SetActivePage(page);
        break;
      }
    SetVisible(false);
  }
  pageControl_->UpdateTabs();
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
  width_ = 289;
  height_ = 193;
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr; // the sheets go with the window's children
  pages_.clear();
  active_ = nullptr;
}

void TPageControl::HandleCreated() {
  TCustomTabControl::HandleCreated();
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (TTabSheet* page : pages_) {
    if (!page->tabVisible_) continue;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(page->Caption().c_str());
    item.lParam = reinterpret_cast<LPARAM>(page);
    SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (page == active_) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ++index;
  }
  PlacePages();
}

void TPageControl::PlacePages() {
  if (!HandleAllocated()) return;
  const RECT area = DisplayRect();
  for (TTabSheet* page : pages_) {
    page->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    page->SetVisible(page == active_);
  }
}

void TPageControl::SetActivePage(TTabSheet* page) {
  active_ = page;
  if (HandleAllocated()) UpdateTabs();
  if (OnChange) OnChange(this);
}

void TPageControl::NotifyNotify(NMHDR& header, TMessage& message) {
  if (header.code == TCN_SELCHANGING) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    message.Result = allow ? FALSE : TRUE;
    return;
  }
  if (header.code != TCN_SELCHANGE) return;
  const int selected = NativeSelection();
  TCITEMA item{};
  item.mask = TCIF_PARAM;
  if (SendMessageA(Handle(), TCM_GETITEMA, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item))) {
    active_ = reinterpret_cast<TTabSheet*>(item.lParam);
    PlacePages();
    if (OnChange) OnChange(this);
  }
}

void TPageControl::WndProc(TMessage& message) {
  TCustomTabControl::WndProc(message);
  if (message.Msg == WM_SIZE) PlacePages();
}

// --- TToolWindow -----------------------------------------------------------------------

void TToolWindow::CreateWnd() {
  framedEdges_ = EdgeBorders;
  framedWidth_ = BorderWidth;
  TWinControl::CreateWnd();
}

void TToolWindow::FrameChanged() {
  if (!HandleAllocated() || (EdgeBorders == framedEdges_ && BorderWidth == framedWidth_)) return;
  framedEdges_ = EdgeBorders;
  framedWidth_ = BorderWidth;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TToolWindow::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_NCCALCSIZE:
    TWinControl::WndProc(message);
    if (EdgeBorders || BorderWidth) {
      RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0];
      const int edge = 2; // an etched line
      r.left += BorderWidth + (EdgeBorders & ebLeft ? edge : 0);
      r.top += BorderWidth + (EdgeBorders & ebTop ? edge : 0);
      r.right -= BorderWidth + (EdgeBorders & ebRight ? edge : 0);
      r.bottom -= BorderWidth + (EdgeBorders & ebBottom ? edge : 0);
      if (r.right < r.left) r.right = r.left;
      if (r.bottom < r.top) r.bottom = r.top;
    }
    return;
  case WM_NCPAINT:
    TWinControl::WndProc(message);
    if (EdgeBorders || BorderWidth) {
      const gdi::TWindowDC dc(Handle());
      RECT window, client;
      GetWindowRect(Handle(), &window);
      GetClientRect(Handle(), &client);
      MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
      OffsetRect(&client, -window.left, -window.top);
      RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
      ExcludeClipRect(dc.Get(), client.left, client.top, client.right, client.bottom);
      FillColor(dc.Get(), whole, Color());
      UINT sides = 0;
      if (EdgeBorders & ebLeft) sides |= BF_LEFT;
      if (EdgeBorders & ebTop) sides |= BF_TOP;
      if (EdgeBorders & ebRight) sides |= BF_RIGHT;
      if (EdgeBorders & ebBottom) sides |= BF_BOTTOM;
      if (sides) DrawEdge(dc.Get(), &whole, EDGE_ETCHED, sides);
    }
    return;
  default:
    break;
  }
  TWinControl::WndProc(message);
}

// --- TToolButton and TToolBar ---------------------------------------------------------

namespace {
int nextToolCommand = 1000;
// The bar whose menu is open on this thread, and the hook that watches the
// menu's loop for it.
thread_local TToolBar* menuTrackingBar = nullptr;
thread_local HHOOK menuFilterHook = nullptr;
} // namespace

unsigned CustomDrawState(const NMCUSTOMDRAW& draw) {
  const UINT state = draw.uItemState;
  unsigned result = 0;
  if (state & CDIS_SELECTED) result |= cdsSelected;
  if (state & CDIS_GRAYED) result |= cdsGrayed;
  if (state & CDIS_DISABLED) result |= cdsDisabled;
  if (state & CDIS_CHECKED) result |= cdsChecked;
  if (state & CDIS_FOCUS) result |= cdsFocused;
  if (state & CDIS_HOT) result |= cdsHot;
  if (state & CDIS_MARKED) result |= cdsMarked;
  if (state & CDIS_INDETERMINATE) result |= cdsIndeterminate;
  return result;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner), command_(nextToolCommand++) {}

TToolButton::~TToolButton() { SetToolBar(nullptr); }

void TToolButton::SetToolBar(TToolBar* toolBar) {
  if (toolBar_) {
    auto& buttons = toolBar_->buttons_;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), this), buttons.end());
    if (toolBar_->tracking_ == this) toolBar_->tracking_ = nullptr;
    toolBar_->RebuildButtons();
  }
  toolBar_ = toolBar;
  if (toolBar_) {
    toolBar_->buttons_.push_back(this);
    toolBar_->RebuildButtons();
  }
}

bool TToolButton::Down() const {
  if (toolBar_ && toolBar_->HandleAllocated() && visible_)
    return SendMessageA(toolBar_->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(command_), 0) != 0;
  return down_;
}

void TToolButton::SetDown(bool down) {
  down_ = down;
  if (toolBar_ && toolBar_->HandleAllocated()) {
    SendMessageA(toolBar_->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(command_), MAKELONG(down, 0));
    toolBar_->ReadDownStates(); // a grouped one released the others
  }
}

void TToolButton::SetMenuItem(TMenuItem* item) {
  if (menuItem_) RemoveFreeNotification(menuItem_);
  menuItem_ = item;
  if (item) {
    FreeNotification(item);
    text_ = item->Caption();
    ImageIndex = item->ImageIndex;
    enabled_ = item->Enabled();
    visible_ = item->Visible();
  }
  if (toolBar_) toolBar_->RebuildButtons();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  if (dropdownMenu_) RemoveFreeNotification(dropdownMenu_);
  dropdownMenu_ = menu;
  if (menu) FreeNotification(menu);
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) {
    Images.Forget(component);
    HotImages.Forget(component);
  }
  TToolWindow::Notification(component, operation);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) {
    if (component == menuItem_) menuItem_ = nullptr;
    if (component == dropdownMenu_) dropdownMenu_ = nullptr;
  }
  TGraphicControl::Notification(component, operation);
}

RECT TToolButton::ButtonRect() const {
  RECT r{};
  if (toolBar_ && toolBar_->HandleAllocated())
    SendMessageA(toolBar_->Handle(), TB_GETRECT, static_cast<WPARAM>(command_), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TToolButton::Click() {
  if (menuItem_) {
    // A menu button drops its sub-items; an item without any is chosen.
    if (menuItem_->Count() > 0 && toolBar_) {
      toolBar_->TrackMenu(this);
    } else {
      menuItem_->Click();
    }
    return;
  }
  TGraphicControl::Click();
}

void TToolButton::ActionChanged(TAction& action) {
  if (!ownCaption_) text_ = action.Caption();
  enabled_ = action.Enabled();
  visible_ = action.Visible();
  if (action.ImageIndex >= 0) ImageIndex = action.ImageIndex;
  if (toolBar_) toolBar_->RebuildButtons();
}

void TToolButton::SetText(const std::string& text) {
  text_ = text;
  ownCaption_ = action_ != nullptr; // a caption of its own outlives the action's changes
  if (toolBar_) toolBar_->RebuildButtons();
}

void TToolButton::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (toolBar_ && toolBar_->HandleAllocated())
    SendMessageA(toolBar_->Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(command_), MAKELONG(enabled, 0));
}

TToolBar::TToolBar(TComponent* owner) : TToolWindow(owner) {
  align_ = TAlign::alTop;
  height_ = 42;
}

TToolBar::~TToolBar() {
  if (menuTrackingBar == this) menuTrackingBar = nullptr; // its menu's loop tells nobody now
  for (TToolButton* button : buttons_) button->toolBar_ = nullptr;
  buttons_.clear();
}

DWORD TToolBar::NativeStyle() const {
  return (Flat ? TBSTYLE_FLAT : 0) | (List ? TBSTYLE_LIST : 0) | (Wrapable ? TBSTYLE_WRAPABLE : 0) |
         (Transparent ? TBSTYLE_TRANSPARENT : 0);
}

void TToolBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_BAR_CLASSES);
  params.BaseClassName = TOOLBARCLASSNAMEA;
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS | NativeStyle();
}

void TToolBar::HandleCreated() {
  SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  RebuildButtons();
}

TToolButton* TToolBar::ButtonOfCommand(int command) const {
  for (TToolButton* button : buttons_)
    if (button->command_ == command) return button;
  return nullptr;
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated()) return;
  HWND bar = Handle();
  constexpr DWORD kOurStyles = TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_WRAPABLE | TBSTYLE_TRANSPARENT;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(bar, GWL_STYLE));
  if ((style & kOurStyles) != NativeStyle()) {
    // The window's style for whoever reads it, the bar's own for its layout.
    SetWindowLongPtrA(bar, GWL_STYLE, static_cast<LONG_PTR>((style & ~kOurStyles) | NativeStyle()));
    SendMessageA(bar, TB_SETSTYLE, 0, (style & ~kOurStyles) | NativeStyle());
  }
  SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  FrameChanged();
  SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
  SendMessageA(bar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(HotImages ? HotImages->Handle() : nullptr));
  const bool fixedSize = ButtonWidth > 0 && ButtonHeight > 0;
  if (fixedSize) SendMessageA(bar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(ButtonWidth, ButtonWidth));
  // The states of the buttons going away, so that the new ones keep them.
  ReadDownStates();
  while (SendMessageA(bar, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(bar, TB_DELETEBUTTON, 0, 0);
  for (TToolButton* button : buttons_) {
    if (!button->Visible()) continue;
    TBBUTTON native{};
    native.idCommand = button->command_;
    if (button->Style == TToolButtonStyle::tbsSeparator || button->Style == TToolButtonStyle::tbsDivider) {
      native.fsStyle = BTNS_SEP;
      native.iBitmap = 8;
    } else {
      native.iBitmap = button->ImageIndex >= 0 ? button->ImageIndex : I_IMAGENONE;
      native.fsStyle = BTNS_BUTTON | (fixedSize && !button->AutoSize ? 0 : BTNS_AUTOSIZE);
      if (button->Style == TToolButtonStyle::tbsCheck) native.fsStyle |= BTNS_CHECK | (button->Grouped ? BTNS_GROUP : 0);
      if (button->Style == TToolButtonStyle::tbsDropDown) native.fsStyle |= BTNS_DROPDOWN;
      // Without images a list-mode caption stands alone.
      if (List && !Images) native.fsStyle |= BTNS_SHOWTEXT;
      native.fsState = (button->Enabled() ? TBSTATE_ENABLED : 0) | (button->down_ ? TBSTATE_CHECKED : 0);
      native.iString = ShowCaptions ? reinterpret_cast<INT_PTR>(button->Caption().c_str()) : -1;
    }
    SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&native));
  }
  // The size is set after the buttons: adding one sizes them to their text again.
  if (fixedSize) SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(ButtonWidth, ButtonHeight));
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
  FitHeight();
  InvalidateRect(bar, nullptr, TRUE);
}

void TToolBar::ReadDownStates() {
  if (!HandleAllocated()) return;
  for (TToolButton* button : buttons_)
    if (button->Style == TToolButtonStyle::tbsCheck &&
        SendMessageA(Handle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(button->command_), 0) >= 0)
      button->down_ = SendMessageA(Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(button->command_), 0) != 0;
}

void TToolBar::FitHeight() {
  if (!AutoSize || fitting_ || !HandleAllocated()) return;
  int bottom = 0;
  const int count = static_cast<int>(SendMessageA(Handle(), TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
      bottom = std::max(bottom, static_cast<int>(r.bottom));
  }
  RECT window, client;
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  const int frame = (window.bottom - window.top) - (client.bottom - client.top);
  const int height = bottom + frame;
  if (height == height_) return;
  fitting_ = true;
  SetBounds(left_, top_, width_, height);
  fitting_ = false;
}

TToolButton* TToolBar::ButtonAt(POINT client) {
  const int index = static_cast<int>(SendMessageA(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client)));
  if (index < 0) return nullptr;
  TBBUTTON native{};
  if (!SendMessageA(Handle(), TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&native))) return nullptr;
  return ButtonOfCommand(native.idCommand);
}

namespace {

// Whether the caption's mnemonic ("&F" in "&File") is the character, in either case.
bool MnemonicMatches(const std::string& caption, char c) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i; // "&&" is a plain ampersand
      continue;
    }
    return CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(caption[i + 1])))) ==
           CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(c))));
  }
  return false;
}

} // namespace

LRESULT CALLBACK ToolBarMenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  const bool swallowed = Guarded(
      [&] {
        return code == MSGF_MENU && menuTrackingBar &&
               menuTrackingBar->MenuLoopMessage(*reinterpret_cast<const MSG*>(lParam));
      },
      false);
  return swallowed ? 1 : CallNextHookEx(menuFilterHook, code, wParam, lParam);
}

TToolButton* TToolBar::NeighbourMenuButton(bool forward) const {
  const auto at = std::find(buttons_.begin(), buttons_.end(), tracking_);
  if (at == buttons_.end()) return nullptr;
  const std::size_t count = buttons_.size(), start = static_cast<std::size_t>(at - buttons_.begin());
  for (std::size_t step = 1; step < count; ++step) {
    TToolButton* candidate = buttons_[(start + (forward ? step : count - step)) % count];
    if (candidate->Visible() && candidate->Enabled() && candidate->MenuItem() && candidate->MenuItem()->Count() > 0)
      return candidate;
  }
  return nullptr;
}

bool TToolBar::MenuLoopMessage(const MSG& message) {
  TToolButton* next = nullptr;
  if (message.message == WM_MOUSEMOVE) {
    // A menu appearing under a resting pointer tells of a move too: only a
    // pointer that really moved goes to another button.
    if (message.pt.x == menuPointer_.x && message.pt.y == menuPointer_.y) return false;
    menuPointer_ = message.pt;
    POINT at = message.pt;
    ScreenToClient(Handle(), &at);
    TToolButton* under = ButtonAt(at);
    if (under && under != tracking_ && under->Enabled() && under->MenuItem() && under->MenuItem()->Count() > 0)
      next = under;
  } else if (message.message == WM_KEYDOWN && (message.wParam == VK_LEFT || message.wParam == VK_RIGHT)) {
    // Right opens a highlighted item's sub-menu and Left closes a sub-menu,
    // as in any menu; at the first level they go to the next menu button.
    const bool forward = message.wParam == VK_RIGHT;
    const bool atFirstLevel = selectedMenu_ == nullptr || selectedMenu_ == trackedPopup_;
    if (atFirstLevel && !(forward && selectedOpensMenu_)) next = NeighbourMenuButton(forward);
  }
  if (!next) return false;
  trackNext_ = next;
  nextByKey_ = message.message == WM_KEYDOWN;
  EndMenu();
  return true;
}

namespace {

// While a bar's menu is open: the bar is the one the menu's loop tells of
// its messages, through a message filter hook of this thread.
class TMenuLoopWatch {
public:
  explicit TMenuLoopWatch(TToolBar* bar)
      : outerBar_(std::exchange(menuTrackingBar, bar)),
        hook_(SetWindowsHookExA(WH_MSGFILTER, ToolBarMenuFilter, nullptr, GetCurrentThreadId())),
        outerHook_(std::exchange(menuFilterHook, hook_)) {}
  ~TMenuLoopWatch() {
    if (hook_) UnhookWindowsHookEx(hook_);
    menuFilterHook = outerHook_;
    menuTrackingBar = outerBar_;
  }
  TMenuLoopWatch(const TMenuLoopWatch&) = delete;
  TMenuLoopWatch& operator=(const TMenuLoopWatch&) = delete;

private:
  TToolBar* outerBar_;
  HHOOK hook_;
  HHOOK outerHook_;
};

struct TMenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); } // its sub-menus with it
};
using TOwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDestroyer>;

} // namespace

void TToolBar::TrackMenu(TToolButton* button, bool byKey) {
  if (tracking_ || !HandleAllocated()) return;
  HWND bar = Handle();
  TMenuItem* chosenFrom = nullptr;
  UINT chosen = 0;
  {
    const TMenuLoopWatch watch(this);
    while (button && button->MenuItem() && button->MenuItem()->Count() > 0) {
      TMenuItem* item = button->MenuItem();
      RECT r = button->ButtonRect();
      MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
      const TOwnedMenu popup(CreatePopupMenu());
      item->AppendTo(popup.get());
      tracking_ = button;
      trackNext_ = nullptr;
      nextByKey_ = false;
      trackedPopup_ = popup.get();
      GetCursorPos(&menuPointer_);
      selectedMenu_ = nullptr;
      selectedOpensMenu_ = false;
      SendMessageA(bar, TB_PRESSBUTTON, static_cast<WPARAM>(button->command_), MAKELONG(TRUE, 0));
      UpdateWindow(bar);
      // The menu's loop takes the key from the queue: its first item lights up.
      if (byKey) PostMessageA(bar, WM_KEYDOWN, VK_DOWN, 0);
      // Under the button, or above it where the screen ends; never over it.
      TPMPARAMS keepClear{sizeof keepClear, r};
      chosen = static_cast<UINT>(TrackPopupMenuEx(popup.get(),
                                                  TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD |
                                                      TPM_LEFTBUTTON,
                                                  r.left, r.bottom, bar, &keepClear));
      // The bar or the button may have gone while the menu was open.
      if (TWinControl::FromHandle(bar) != this || tracking_ != button) return;
      trackedPopup_ = nullptr;
      SendMessageA(bar, TB_PRESSBUTTON, static_cast<WPARAM>(button->command_), MAKELONG(FALSE, 0));
      tracking_ = nullptr;
      chosenFrom = item;
      button = chosen ? nullptr : std::exchange(trackNext_, nullptr);
      byKey = nextByKey_;
    }
  }
  // Chosen once the menu is gone, as any menu's command.
  if (chosen && chosenFrom)
    if (TMenuItem* picked = chosenFrom->Find(chosen)) picked->Click();
}

void TToolBar::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CN_COMMAND:
    if (TToolButton* button = ButtonOfCommand(LOWORD(message.WParam))) {
      ReadDownStates();
      button->Click();
    }
    return;
  case WM_LBUTTONDOWN: {
    // A menu button drops its menu as the button goes down, as a menu bar does.
    const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    TToolButton* button = ButtonAt(at);
    if (button && button->Enabled() && button->MenuItem() && button->MenuItem()->Count() > 0) {
      TrackMenu(button);
      return;
    }
    break;
  }
  case CM_DIALOGCHAR:
    // A mnemonic: the button whose caption has it is pressed, a menu
    // button dropping its menu as from the keyboard.
    for (TToolButton* button : buttons_)
      if (button->Visible() && button->Enabled() && MnemonicMatches(button->Caption(), static_cast<char>(message.WParam))) {
        if (button->MenuItem() && button->MenuItem()->Count() > 0) {
          TrackMenu(button, true);
        } else {
          button->Click();
        }
        message.Result = 1;
        return;
      }
    break;
  case WM_MENUSELECT:
    // Where the highlight is in the open menu, for Left and Right.
    selectedMenu_ = reinterpret_cast<HMENU>(message.LParam);
    selectedOpensMenu_ = (HIWORD(message.WParam) & MF_POPUP) != 0;
    break;
  case WM_MEASUREITEM:
  case WM_DRAWITEM:
    // The items of a dropped menu are ours to measure and paint.
    if (DispatchMenuOwnerDraw(message.Msg, message.LParam, message.Result)) return;
    break;
  case WM_ERASEBKGND:
    if (!Transparent) {
      RECT r;
      GetClientRect(Handle(), &r);
      FillColor(reinterpret_cast<HDC>(message.WParam), r, Color());
      message.Result = 1;
      return;
    }
    break;
  case WM_SIZE:
    TToolWindow::WndProc(message);
    if (Wrapable && !fitting_) {
      // Buttons go to other rows by the new width.
      SendMessageA(Handle(), TB_AUTOSIZE, 0, 0);
      FitHeight();
    }
    return;
  default:
    break;
  }
  TToolWindow::WndProc(message);
}

void TToolBar::NotifyNotify(NMHDR& header, TMessage& message) {
  if (header.code == TBN_DROPDOWN) {
    auto& drop = reinterpret_cast<NMTOOLBARA&>(header);
    TToolButton* button = ButtonOfCommand(drop.iItem);
    if (button && button->DropdownMenu()) {
      RECT r = button->ButtonRect();
      MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
      button->DropdownMenu()->PopupComponent = button;
      button->DropdownMenu()->Popup(r.left, r.bottom);
    }
    message.Result = TBDDRET_DEFAULT;
    return;
  }
  if (header.code != NM_CUSTOMDRAW || !OnCustomDrawButton) return;
  auto& draw = reinterpret_cast<NMTBCUSTOMDRAW&>(header);
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
    message.Result = CDRF_NOTIFYITEMDRAW;
    return;
  }
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;
  TToolButton* button = ButtonOfCommand(static_cast<int>(draw.nmcd.dwItemSpec));
  bool defaultDraw = true;
  if (button) OnCustomDrawButton(this, button, draw, defaultDraw);
  message.Result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
}

// --- TTrackBar ---------------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  width_ = 150;
  height_ = 45;
}

void TTrackBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_BAR_CLASSES);
  params.BaseClassName = TRACKBAR_CLASSA;
  if (orientation_ == TTrackBarOrientation::trVertical) params.Style |= TBS_VERT;
  switch (tickMarks_) {
  case TTickMark::tmBottomRight:
    break; // TBS_BOTTOM and TBS_RIGHT are the default
  case TTickMark::tmTopLeft:
    params.Style |= TBS_TOP; // the same bit as TBS_LEFT
    break;
  case TTickMark::tmBoth:
    params.Style |= TBS_BOTH;
    break;
  }
  if (tickStyle_ == TTickStyle::tsAuto) params.Style |= TBS_AUTOTICKS;
  if (tickStyle_ == TTickStyle::tsNone) params.Style |= TBS_NOTICKS;
}

void TTrackBar::HandleCreated() {
  HWND bar = Handle();
  SendMessageA(bar, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(bar, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageA(bar, TBM_SETLINESIZE, 0, LineSize);
  SendMessageA(bar, TBM_SETPAGESIZE, 0, PageSize);
  SendMessageA(bar, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageA(bar, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, max_);
  SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0); // ticks follow the range
}

int TTrackBar::Position() {
  if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
  return position_;
}

// Set by the program: no OnChange, which tells of the user's moves.
void TTrackBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  // The size turns with the bar, as a designer turns it.
  SetBounds(left_, top_, height_, width_);
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark marks) {
  if (marks == tickMarks_) return;
  tickMarks_ = marks;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle style) {
  if (style == tickStyle_) return;
  tickStyle_ = style;
  RecreateWnd();
}

void TTrackBar::SetFrequency(int frequency) {
  frequency_ = std::max(1, frequency);
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    // The bar tells of every key and drag step, and of the end of each:
    // the user sees one change per move of the slider.
    const int previous = position_;
    if (Position() != previous && OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(message);
}

// --- TProgressBar -------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_PROGRESS_CLASS);
  params.BaseClassName = PROGRESS_CLASSA;
  if (orientation_ == TProgressBarOrientation::pbVertical) params.Style |= PBS_VERTICAL;
}

void TProgressBar::HandleCreated() {
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  if (HandleAllocated()) {
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  }
}

int TProgressBar::Position() {
  if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
  return position_;
}

void TProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  SetBounds(left_, top_, height_, width_);
  RecreateWnd();
}

void TProgressBar::SetStep(int step) {
  step_ = step;
  if (HandleAllocated()) SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

void TProgressBar::StepIt() {
  if (HandleAllocated()) {
    SendMessageA(Handle(), PBM_STEPIT, 0, 0);
    Position();
    return;
  }
  position_ += step_;
  if (position_ > max_) position_ = min_ + (position_ - max_);
}

void TProgressBar::StepBy(int delta) {
  if (HandleAllocated()) {
    SendMessageA(Handle(), PBM_DELTAPOS, static_cast<WPARAM>(delta), 0);
    Position();
    return;
  }
  position_ = std::clamp(position_ + delta, min_, max_);
}

// --- TCustomUpDown -------------------------------------------------------------------------

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) {
  width_ = 17;
  height_ = 25;
}

void TCustomUpDown::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_UPDOWN_CLASS);
  params.BaseClassName = UPDOWN_CLASSA;
  params.Style |= UDS_SETBUDDYINT | (ArrowKeys ? UDS_ARROWKEYS : 0) | (Wrap ? UDS_WRAP : 0) |
                  (Thousands ? 0 : UDS_NOTHOUSANDS) | (orientation_ == TUDOrientation::udHorizontal ? UDS_HORZ : 0);
}

void TCustomUpDown::HandleCreated() {
  SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  UDACCEL accel{0, static_cast<UINT>(std::max(1, Increment))};
  SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  Bind();
  SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::Bind() {
  if (!HandleAllocated()) return;
  HWND buddy = associate_ ? associate_->Handle() : nullptr;
  SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  // The buddy shows the position from the start.
  if (buddy) SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  position_ = std::clamp(position_, std::min(min, max), std::max(min, max));
  if (HandleAllocated()) SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TCustomUpDown::Position() {
  if (HandleAllocated()) {
    BOOL failed = FALSE;
    const int native = static_cast<int>(SendMessageA(Handle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (!failed) position_ = native;
  }
  return position_;
}

void TCustomUpDown::SetPosition(int position) {
  position_ = std::clamp(position, std::min(min_, max_), std::max(min_, max_));
  if (HandleAllocated()) SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::SetOrientation(TUDOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  SetBounds(left_, top_, height_, width_);
  RecreateWnd();
}

void TCustomUpDown::SetAssociate(TWinControl* control) {
  if (associate_) RemoveFreeNotification(associate_);
  associate_ = control;
  if (associate_) FreeNotification(associate_);
  Bind();
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component == associate_) {
    associate_ = nullptr;
    if (HandleAllocated()) SendMessageA(Handle(), UDM_SETBUDDY, 0, 0);
  }
  TWinControl::Notification(component, operation);
}

void TCustomUpDown::NotifyNotify(NMHDR& header, TMessage& message) {
  if (header.code != UDN_DELTAPOS) return;
  const auto& delta = reinterpret_cast<NMUPDOWN&>(header);
  lastButton_ = delta.iDelta > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev;
  bool allow = true;
  if (OnChangingEx)
    OnChangingEx(this, allow, delta.iPos + delta.iDelta,
                 delta.iDelta > 0 ? TUpDownDirection::updUp
                 : delta.iDelta < 0 ? TUpDownDirection::updDown
                                    : TUpDownDirection::updNone);
  message.Result = allow ? FALSE : TRUE; // nonzero keeps the position
  refused_ = !allow;
}

void TCustomUpDown::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    // Told after each step, once the position (and the buddy's text) moved.
    // A step the program refused is no click.
    if (LOWORD(message.WParam) == SB_THUMBPOSITION && !std::exchange(refused_, false)) {
      Position();
      if (OnClick) OnClick(this, lastButton_);
    }
    return;
  }
  TWinControl::WndProc(message);
}

// --- TCustomHotKey ------------------------------------------------------------------------

TCustomHotKey::TCustomHotKey(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 121;
  height_ = 19;
}

void TCustomHotKey::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_HOTKEY_CLASS);
  params.BaseClassName = HOTKEY_CLASSA;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

namespace {

WPARAM NativeHotKey(TShortCut key) {
  BYTE flags = 0;
  if (key & scShift) flags |= HOTKEYF_SHIFT;
  if (key & scCtrl) flags |= HOTKEYF_CONTROL;
  if (key & scAlt) flags |= HOTKEYF_ALT;
  return MAKEWORD(LOBYTE(key), flags);
}

TShortCut ShortCutOfHotKey(WORD native) {
  const BYTE flags = HIBYTE(native);
  TShortCut key = LOBYTE(native);
  if (flags & HOTKEYF_SHIFT) key |= scShift;
  if (flags & HOTKEYF_CONTROL) key |= scCtrl;
  if (flags & HOTKEYF_ALT) key |= scAlt;
  return key;
}

} // namespace

void TCustomHotKey::HandleCreated() { SendMessageA(Handle(), HKM_SETHOTKEY, NativeHotKey(hotKey_), 0); }

TShortCut TCustomHotKey::HotKey() {
  if (HandleAllocated()) hotKey_ = ShortCutOfHotKey(static_cast<WORD>(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0)));
  return hotKey_;
}

void TCustomHotKey::SetHotKey(TShortCut key) {
  hotKey_ = key;
  if (HandleAllocated()) SendMessageA(Handle(), HKM_SETHOTKEY, NativeHotKey(key), 0);
}

// --- Dates and TDateTimePicker -------------------------------------------------------------

namespace {

// Days from 1 January 1970 of a civil date (proleptic Gregorian).
long long DaysFromCivil(int year, unsigned month, unsigned day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

void CivilFromDays(long long days, int& year, unsigned& month, unsigned& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(yearOfEra + era * 400) + (month <= 2);
}

constexpr long long kDaysFrom1899To1970 = 25569; // 30 December 1899 to 1 January 1970

} // namespace

double EncodeDateTime(const SYSTEMTIME& time) {
  const long long days = DaysFromCivil(time.wYear, time.wMonth, time.wDay) + kDaysFrom1899To1970;
  const double fraction =
      (time.wHour * 3600000.0 + time.wMinute * 60000.0 + time.wSecond * 1000.0 + time.wMilliseconds) / 86400000.0;
  return static_cast<double>(days) + fraction;
}

SYSTEMTIME DecodeDateTime(double value) {
  // Whole milliseconds, so that a value made by EncodeDateTime comes back exactly.
  const long long total = std::llround(value * 86400000.0);
  long long days = total / 86400000;
  long long ms = total % 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  SYSTEMTIME time{};
  int year = 0;
  unsigned month = 0, day = 0;
  CivilFromDays(days - kDaysFrom1899To1970, year, month, day);
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wDayOfWeek = static_cast<WORD>(((days % 7) + 7 + 6) % 7); // day 0 was a Saturday
  time.wHour = static_cast<WORD>(ms / 3600000);
  time.wMinute = static_cast<WORD>(ms / 60000 % 60);
  time.wSecond = static_cast<WORD>(ms / 1000 % 60);
  time.wMilliseconds = static_cast<WORD>(ms % 1000);
  return time;
}

TCommonCalendar::TCommonCalendar(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  color_ = clWindow;
  SYSTEMTIME now;
  GetLocalTime(&now);
  now.wMilliseconds = 0;
  value_ = EncodeDateTime(now);
}

double TCommonCalendar::DateTime() {
  if (HandleAllocated()) value_ = NativeValue();
  return value_;
}

void TCommonCalendar::SetDateTime(double value) {
  value_ = value;
  if (HandleAllocated()) SetNativeValue(value);
}

double TCommonCalendar::Date() { return std::floor(DateTime()); }

void TCommonCalendar::SetDate(double date) { SetDateTime(std::floor(date) + Time()); }

double TCommonCalendar::Time() {
  const double value = DateTime();
  return value - std::floor(value);
}

void TCommonCalendar::SetTime(double time) { SetDateTime(Date() + (time - std::floor(time))); }

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCommonCalendar(owner) {
  width_ = 186;
  height_ = 21;
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_DATE_CLASSES);
  params.BaseClassName = DATETIMEPICK_CLASSA;
  params.ExStyle |= WS_EX_CLIENTEDGE;
  params.Style |= WS_CLIPCHILDREN; // the picker never paints over controls laid on it
  if (kind_ == TDateTimeKind::dtkTime) {
    params.Style |= DTS_TIMEFORMAT;
  } else {
    params.Style |= DTS_SHORTDATEFORMAT | (dateMode_ == TDTDateMode::dmUpDown ? DTS_UPDOWN : 0);
  }
}

void TDateTimePicker::HandleCreated() { SetNativeValue(value_); }

void TDateTimePicker::SetKind(TDateTimeKind kind) {
  if (kind == kind_) return;
  DateTime(); // kept across the new window
  kind_ = kind;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode mode) {
  if (mode == dateMode_) return;
  DateTime();
  dateMode_ = mode;
  RecreateWnd();
}

double TDateTimePicker::NativeValue() {
  SYSTEMTIME time{};
  if (SendMessageA(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return value_;
  return EncodeDateTime(time);
}

void TDateTimePicker::SetNativeValue(double value) {
  SYSTEMTIME time = DecodeDateTime(value);
  SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void TDateTimePicker::NotifyNotify(NMHDR& header, TMessage&) {
  if (header.code != DTN_DATETIMECHANGE) return;
  const auto& change = reinterpret_cast<NMDATETIMECHANGE&>(header);
  if (change.dwFlags == GDT_VALID) value_ = EncodeDateTime(change.st);
  if (OnChange) OnChange(this);
}

// --- TListView ------------------------------------------------------------------------------

void TListColumn::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TListColumn::SetWidth(int width) {
  width_ = width;
  Changed();
}

void TListColumn::SetAlignment(TColumnAlignment alignment) {
  alignment_ = alignment;
  Changed();
}

void TListColumn::SetImageIndex(int index) {
  imageIndex_ = index;
  Changed();
}

void TListColumn::Changed() {
  if (listView_ && Collection()) listView_->ColumnChanged(*this);
}

void TListItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TListItem::AddSubItem(const std::string& text) {
  subItems_.push_back(text);
  Changed();
}

void TListItem::SetSubItem(int index, const std::string& text) {
  if (index < 0) return;
  if (index >= static_cast<int>(subItems_.size())) subItems_.resize(static_cast<std::size_t>(index) + 1);
  subItems_[static_cast<std::size_t>(index)] = text;
  Changed();
}

void TListItem::SetImageIndex(int index) {
  imageIndex_ = index;
  Changed();
}

void TListItem::Changed() {
  if (listView_ && Collection()) listView_->ItemChanged(*this);
}

TCustomListView::TCustomListView(TComponent* owner)
    : TCustomMultiSelectListControl(owner), columns_([this] { return std::make_unique<TListColumn>(this); }),
      items_([this] { return std::make_unique<TListItem>(this); }) {
  TabStop = true;
  color_ = clWindow;
  width_ = 250;
  height_ = 150;
  columns_.OnUpdate = [this](TCollection&) { FillColumns(); };
  items_.OnUpdate = [this](TCollection& items) {
    // An item added at the end goes in alone; anything else fills the list again.
    if (HandleAllocated() && items.Count() == nativeItems_ + 1) {
      InsertNativeItem(items.Count() - 1);
    } else {
      FillItems();
    }
  };
}

namespace {

DWORD ViewStyleBits(TViewStyle style) {
  switch (style) {
  case TViewStyle::vsIcon:
    return LVS_ICON;
  case TViewStyle::vsSmallIcon:
    return LVS_SMALLICON;
  case TViewStyle::vsList:
    return LVS_LIST;
  case TViewStyle::vsReport:
    return LVS_REPORT;
  }
  return LVS_ICON;
}

int ColumnFormat(TColumnAlignment alignment) {
  switch (alignment) {
  case TColumnAlignment::taLeftJustify:
    return LVCFMT_LEFT;
  case TColumnAlignment::taRightJustify:
    return LVCFMT_RIGHT;
  case TColumnAlignment::taCenter:
    return LVCFMT_CENTER;
  }
  return LVCFMT_LEFT;
}

} // namespace

void TCustomListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_LISTVIEW_CLASSES);
  params.BaseClassName = WC_LISTVIEWA;
  // The image lists belong to their components, not to the list view.
  params.Style |= ViewStyleBits(viewStyle_) | LVS_SHAREIMAGELISTS | (MultiSelect() ? 0 : LVS_SINGLESEL) |
                  (HideSelection ? 0 : LVS_SHOWSELALWAYS) | (ReadOnly ? 0 : LVS_EDITLABELS);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::HandleCreated() {
  if (RowSelect) SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  SetImageLists();
  FillColumns();
  FillItems();
}

void TCustomListView::SetViewStyle(TViewStyle style) {
  viewStyle_ = style;
  if (!HandleAllocated()) return;
  const LONG_PTR bits = GetWindowLongPtrA(Handle(), GWL_STYLE);
  SetWindowLongPtrA(Handle(), GWL_STYLE, (bits & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | ViewStyleBits(style));
}

void TCustomListView::SetImageLists() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(smallImages_ ? smallImages_->Handle() : nullptr));
  SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL,
               reinterpret_cast<LPARAM>(largeImages_ ? largeImages_->Handle() : nullptr));
}

void TCustomListView::SetSmallImages(TImageList* images) {
  if (smallImages_ && smallImages_ != largeImages_) RemoveFreeNotification(smallImages_);
  smallImages_ = images;
  if (images) FreeNotification(images);
  SetImageLists();
}

void TCustomListView::SetLargeImages(TImageList* images) {
  if (largeImages_ && largeImages_ != smallImages_) RemoveFreeNotification(largeImages_);
  largeImages_ = images;
  if (images) FreeNotification(images);
  SetImageLists();
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && (component == smallImages_ || component == largeImages_)) {
    if (component == smallImages_) smallImages_ = nullptr;
    if (component == largeImages_) largeImages_ = nullptr;
    SetImageLists();
  }
  TCustomMultiSelectListControl::Notification(component, operation);
}

void TCustomListView::FillColumns() {
  if (!HandleAllocated()) return;
  HWND list = Handle();
  while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < columns_.Count(); ++i) {
    const TListColumn& column = *columns_.Items(i);
    LVCOLUMNA native{};
    native.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    native.fmt = ColumnFormat(column.Alignment());
    native.cx = column.Width();
    native.pszText = const_cast<char*>(column.Caption().c_str());
    native.iSubItem = i;
    if (column.ImageIndex() >= 0) {
      native.mask |= LVCF_IMAGE;
      native.fmt |= LVCFMT_IMAGE;
      native.iImage = column.ImageIndex();
    }
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&native));
  }
}

void TCustomListView::ColumnChanged(const TListColumn& column) {
  if (!HandleAllocated()) return;
  const int index = column.Index();
  LVCOLUMNA native{};
  native.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  native.fmt = ColumnFormat(column.Alignment());
  native.cx = column.Width();
  native.pszText = const_cast<char*>(column.Caption().c_str());
  if (column.ImageIndex() >= 0) {
    native.mask |= LVCF_IMAGE;
    native.fmt |= LVCFMT_IMAGE;
    native.iImage = column.ImageIndex();
  }
  SendMessageA(Handle(), LVM_SETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&native));
}

void TCustomListView::InsertNativeItem(int index) {
  const TListItem& item = *items_.Items(index);
  LVITEMA native{};
  native.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  native.iItem = index;
  native.pszText = const_cast<char*>(item.Caption().c_str());
  native.iImage = item.ImageIndex() >= 0 ? item.ImageIndex() : I_IMAGENONE;
  native.lParam = reinterpret_cast<LPARAM>(&item);
  SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&native));
  ++nativeItems_;
  for (std::size_t sub = 0; sub < item.SubItems().size(); ++sub) {
    LVITEMA text{};
    text.iSubItem = static_cast<int>(sub) + 1;
    text.pszText = const_cast<char*>(item.SubItems()[sub].c_str());
    SendMessageA(Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
  }
}

void TCustomListView::FillItems() {
  nativeItems_ = 0;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < items_.Count(); ++i) InsertNativeItem(i);
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomListView::ItemChanged(const TListItem& item) {
  if (!HandleAllocated()) return;
  const int index = item.Index();
  if (index >= nativeItems_) return; // not in the window yet: it goes in whole
  LVITEMA native{};
  native.mask = LVIF_TEXT | LVIF_IMAGE;
  native.iItem = index;
  native.pszText = const_cast<char*>(item.Caption().c_str());
  native.iImage = item.ImageIndex() >= 0 ? item.ImageIndex() : I_IMAGENONE;
  SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&native));
  for (std::size_t sub = 0; sub < item.SubItems().size(); ++sub) {
    LVITEMA text{};
    text.iSubItem = static_cast<int>(sub) + 1;
    text.pszText = const_cast<char*>(item.SubItems()[sub].c_str());
    SendMessageA(Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
  }
}

int TCustomListView::ItemIndex() {
  if (!HandleAllocated()) return -1;
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int index) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (index < 0 || index >= items_.Count()) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

HWND TCustomListView::HeaderHandle() {
  return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}

void TCustomListView::NotifyNotify(NMHDR& header, TMessage&) {
  if (header.code != LVN_ITEMCHANGED) return;
  const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
  if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && OnChange)
    OnChange(this);
}

// --- TCoolBar -------------------------------------------------------------------------------

TCoolBand::~TCoolBand() {
  if (control_ && coolBar_) coolBar_->RemoveFreeNotification(control_);
}

void TCoolBand::SetControl(TWinControl* control) {
  if (control_ && coolBar_) coolBar_->RemoveFreeNotification(control_);
  control_ = control;
  if (control_ && coolBar_) {
    coolBar_->FreeNotification(control_);
    control_->SetParent(coolBar_); // the band's window sits in the bar
  }
  Changed();
}

void TCoolBand::SetText(const std::string& text) {
  text_ = text;
  Changed();
}

void TCoolBand::SetWidth(int width) {
  width_ = width;
  Changed();
}

void TCoolBand::SetMinHeight(int height) {
  minHeight_ = height;
  Changed();
}

void TCoolBand::SetBreak(bool value) {
  break_ = value;
  Changed();
}

void TCoolBand::Changed() {
  if (coolBar_ && Collection()) coolBar_->FillBands();
}

TCoolBar::TCoolBar(TComponent* owner)
    : TToolWindow(owner), bands_([this] { return std::make_unique<TCoolBand>(this); }) {
  align_ = TAlign::alTop;
  height_ = 75;
  width_ = 150;
  bands_.OnUpdate = [this](TCollection&) { FillBands(); };
}

TCoolBar::~TCoolBar() {
  bands_.OnUpdate = nullptr;
  for (int i = 0; i < bands_.Count(); ++i) bands_.Items(i)->coolBar_ = nullptr;
}

void TCoolBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_COOL_CLASSES);
  params.BaseClassName = REBARCLASSNAMEA;
  params.Style |= WS_CLIPCHILDREN | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | RBS_VARHEIGHT |
                  (BandBorders ? RBS_BANDBORDERS : 0);
}

void TCoolBar::HandleCreated() {
  REBARINFO info{};
  info.cbSize = sizeof info;
  SendMessageA(Handle(), RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  FillBands();
}

void TCoolBar::FillBands() {
  if (!HandleAllocated()) return;
  HWND bar = Handle();
  while (SendMessageA(bar, RB_GETBANDCOUNT, 0, 0) > 0) SendMessageA(bar, RB_DELETEBAND, 0, 0);
  for (int i = 0; i < bands_.Count(); ++i) {
    TCoolBand& band = *bands_.Items(i);
    REBARBANDINFOA native{};
    native.cbSize = sizeof native;
    native.fMask = RBBIM_STYLE | RBBIM_TEXT | RBBIM_SIZE | RBBIM_ID;
    native.fStyle = RBBS_CHILDEDGE | (band.Break() ? RBBS_BREAK : 0);
    native.lpText = const_cast<char*>(band.Text().c_str());
    native.cx = static_cast<UINT>(band.Width() > 0 ? band.Width() : width_);
    native.wID = static_cast<UINT>(i);
    if (TWinControl* control = band.Control()) {
      native.fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE;
      native.hwndChild = control->Handle();
      native.cxMinChild = 0;
      native.cyMinChild = static_cast<UINT>(std::max(band.MinHeight(), control->Height()));
    }
    SendMessageA(bar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&native));
  }
  FitHeight();
}

void TCoolBar::FitHeight() {
  if (!AutoSize || !HandleAllocated()) return;
  RECT window, client;
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  const int frame = (window.bottom - window.top) - (client.bottom - client.top);
  const int height = static_cast<int>(SendMessageA(Handle(), RB_GETBARHEIGHT, 0, 0)) + frame;
  if (height != height_) SetBounds(left_, top_, width_, height);
}

void TCoolBar::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    // The bar paints its bands only; the room below them is the bar's colour.
    RECT r;
    GetClientRect(Handle(), &r);
    FillColor(reinterpret_cast<HDC>(m.WParam), r, Color());
    TToolWindow::WndProc(m);
    m.Result = 1;
    return;
  }
  TToolWindow::WndProc(m);
}

void TCoolBar::NotifyNotify(NMHDR& header, TMessage&) {
  if (header.code == RBN_HEIGHTCHANGE) FitHeight();
}

void TCoolBar::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove)
    for (int i = 0; i < bands_.Count(); ++i)
      if (bands_.Items(i)->control_ == component) bands_.Items(i)->control_ = nullptr; // its window went with it
  TToolWindow::Notification(component, operation);
}

// --- TCustomComboBoxEx ------------------------------------------------------------------------

void TComboExItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TComboExItem::SetImageIndex(int index) {
  imageIndex_ = index;
  Changed();
}

void TComboExItem::SetSelectedImageIndex(int index) {
  selectedImageIndex_ = index;
  Changed();
}

void TComboExItem::SetIndent(int indent) {
  indent_ = indent;
  Changed();
}

void TComboExItem::Changed() {
  if (combo_ && Collection()) combo_->ItemChanged(*this);
}

TCustomComboBoxEx::TCustomComboBoxEx(TComponent* owner)
    : TCustomCombo(owner), items_([this] { return std::make_unique<TComboExItem>(this); }) {
  TabStop = true;
  color_ = clWindow;
  width_ = 145;
  height_ = 22;
  items_.OnUpdate = [this](TCollection& items) {
    if (HandleAllocated() && items.Count() == nativeItems_ + 1) {
      InsertNativeItem(items.Count() - 1);
    } else {
      FillItems();
    }
  };
}

void TCustomComboBoxEx::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  NeedCommonControls(ICC_USEREX_CLASSES);
  params.BaseClassName = WC_COMBOBOXEXA;
  switch (style_) {
  case TComboBoxExStyle::csExDropDown:
    params.Style |= CBS_DROPDOWN;
    break;
  case TComboBoxExStyle::csExDropDownList:
    params.Style |= CBS_DROPDOWNLIST;
    break;
  case TComboBoxExStyle::csExSimple:
    params.Style |= CBS_SIMPLE;
    break;
  }
  params.Style |= WS_VSCROLL;
  params.Height = std::max(height_, 200); // the height of the dropped-down list
}

void TCustomComboBoxEx::HandleCreated() {
  SendMessageA(Handle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
  FillItems();
}

void TCustomComboBoxEx::SetImages(TImageList* images) {
  if (images_) RemoveFreeNotification(images_);
  images_ = images;
  if (images_) FreeNotification(images_);
  if (HandleAllocated())
    SendMessageA(Handle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TCustomComboBoxEx::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
  TCustomCombo::Notification(component, operation);
}

void TCustomComboBoxEx::SetStyle(TComboBoxExStyle style) {
  if (style == style_) return;
  ItemIndex();
  style_ = style;
  RecreateWnd();
}

void TCustomComboBoxEx::InsertNativeItem(int index) {
  const TComboExItem& item = *items_.Items(index);
  COMBOBOXEXITEMA native{};
  native.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
  native.iItem = index;
  native.pszText = const_cast<char*>(item.Caption().c_str());
  native.iImage = item.ImageIndex();
  native.iSelectedImage = item.SelectedImageIndex() >= 0 ? item.SelectedImageIndex() : item.ImageIndex();
  native.iIndent = item.Indent();
  native.lParam = reinterpret_cast<LPARAM>(&item);
  SendMessageA(Handle(), CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&native));
  ++nativeItems_;
}

void TCustomComboBoxEx::FillItems() {
  nativeItems_ = 0;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_.Count(); ++i) InsertNativeItem(i);
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomComboBoxEx::ItemChanged(const TComboExItem& item) {
  if (!HandleAllocated() || item.Index() >= nativeItems_) return;
  COMBOBOXEXITEMA native{};
  native.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
  native.iItem = item.Index();
  native.pszText = const_cast<char*>(item.Caption().c_str());
  native.iImage = item.ImageIndex();
  native.iSelectedImage = item.SelectedImageIndex() >= 0 ? item.SelectedImageIndex() : item.ImageIndex();
  native.iIndent = item.Indent();
  SendMessageA(Handle(), CBEM_SETITEMA, 0, reinterpret_cast<LPARAM>(&native));
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TCustomComboBoxEx::ItemIndex() {
  if (HandleAllocated()) itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomComboBoxEx::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < items_.Count() ? index : -1;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  text_ = itemIndex_ >= 0 ? items_.Items(itemIndex_)->Caption() : text_;
}

HWND TCustomComboBoxEx::ComboBoxHandle() {
  return reinterpret_cast<HWND>(SendMessageA(Handle(), CBEM_GETCOMBOCONTROL, 0, 0));
}

HWND TCustomComboBoxEx::EditHandle() {
  return reinterpret_cast<HWND>(SendMessageA(Handle(), CBEM_GETEDITCONTROL, 0, 0));
}

void TCustomComboBoxEx::CommandNotify(WORD code) {
  if (code == CBN_SELCHANGE) {
    itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    if (itemIndex_ >= 0 && itemIndex_ < items_.Count()) text_ = items_.Items(itemIndex_)->Caption();
  } else if (code == CBN_EDITCHANGE) {
    text_ = WindowText(Handle());
    itemIndex_ = -1;
  } else {
    return;
  }
  Perform(CM_TEXTCHANGED);
  if (OnChange) OnChange(this);
}
