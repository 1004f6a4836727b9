#include "framework/win32/ComCtrls.h"

#include <algorithm>

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
  TabStop = true;
  width_ = 289;
  height_ = 193;
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr; // the sheets go with the window's children
  pages_.clear();
  active_ = nullptr;
}

void TPageControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = WC_TABCONTROLA;
  params.Style |= WS_CLIPCHILDREN;
}

void TPageControl::HandleCreated() { UpdateTabs(); }

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
  RECT area = ClientRect();
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
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

void TPageControl::NotifyNotify(NMHDR& header, TMessage&) {
  if (header.code != TCN_SELCHANGE) return;
  const int selected = static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
  TCITEMA item{};
  item.mask = TCIF_PARAM;
  if (SendMessageA(Handle(), TCM_GETITEMA, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item))) {
    active_ = reinterpret_cast<TTabSheet*>(item.lParam);
    PlacePages();
    if (OnChange) OnChange(this);
  }
}

void TPageControl::WndProc(TMessage& message) {
  TWinControl::WndProc(message);
  if (message.Msg == WM_SIZE) PlacePages();
}

// --- TToolButton and TToolBar ---------------------------------------------------------

namespace {
int nextToolCommand = 1000;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner), command_(nextToolCommand++) {}

TToolButton::~TToolButton() { SetToolBar(nullptr); }

void TToolButton::SetToolBar(TToolBar* toolBar) {
  if (toolBar_) {
    auto& buttons = toolBar_->buttons_;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), this), buttons.end());
    toolBar_->RebuildButtons();
  }
  toolBar_ = toolBar;
  if (toolBar_) {
    toolBar_->buttons_.push_back(this);
    toolBar_->RebuildButtons();
  }
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
  for (TToolButton* button : buttons_) button->toolBar_ = nullptr;
  buttons_.clear();
}

void TToolBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = TOOLBARCLASSNAMEA;
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (Flat ? TBSTYLE_FLAT : 0) | TBSTYLE_TOOLTIPS;
}

void TToolBar::HandleCreated() {
  SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  RebuildButtons();
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
  const bool fixedSize = ButtonWidth > 0 && ButtonHeight > 0;
  if (fixedSize) SendMessageA(Handle(), TB_SETBUTTONWIDTH, 0, MAKELPARAM(ButtonWidth, ButtonWidth));
  while (SendMessageA(Handle(), TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(Handle(), TB_DELETEBUTTON, 0, 0);
  for (TToolButton* button : buttons_) {
    if (!button->Visible()) continue;
    TBBUTTON native{};
    native.idCommand = button->command_;
    if (button->Style == TToolButtonStyle::tbsSeparator) {
      native.fsStyle = BTNS_SEP;
      native.iBitmap = 8;
    } else {
      native.iBitmap = button->ImageIndex >= 0 ? button->ImageIndex : I_IMAGENONE;
      native.fsStyle = BTNS_BUTTON | (fixedSize ? 0 : BTNS_AUTOSIZE);
      native.fsState = button->Enabled() ? TBSTATE_ENABLED : 0;
      native.iString = ShowCaptions ? reinterpret_cast<INT_PTR>(button->Caption().c_str()) : -1;
    }
    SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&native));
  }
  // The size is set after the buttons: adding one sizes them to their text again.
  if (fixedSize) SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(ButtonWidth, ButtonHeight));
  SendMessageA(Handle(), TB_AUTOSIZE, 0, 0);
}

void TToolBar::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND) {
    const int command = LOWORD(message.WParam);
    for (TToolButton* button : buttons_)
      if (button->command_ == command) {
        button->Click();
        return;
      }
    return;
  }
  TWinControl::WndProc(message);
}

void TToolBar::NotifyNotify(NMHDR& header, TMessage& message) {
  if (header.code != NM_CUSTOMDRAW || !OnCustomDrawButton) return;
  auto& draw = reinterpret_cast<NMTBCUSTOMDRAW&>(header);
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
    message.Result = CDRF_NOTIFYITEMDRAW;
    return;
  }
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;
  TToolButton* button = nullptr;
  for (TToolButton* candidate : buttons_)
    if (static_cast<DWORD_PTR>(candidate->command_) == draw.nmcd.dwItemSpec) button = candidate;
  bool defaultDraw = true;
  if (button) OnCustomDrawButton(this, button, draw, defaultDraw);
  message.Result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
}
