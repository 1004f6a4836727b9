#include "framework/win32/ComCtrls.h"

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

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 121;
  height_ = 97;
  model_.Items.SetObserver(this);
}

TTreeView::~TTreeView() { model_.Items.SetObserver(nullptr); }

void TTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = WC_TREEVIEWA;
  params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                  (HideSelection ? 0 : TVS_SHOWSELALWAYS) | (ReadOnly ? 0 : TVS_EDITLABELS);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::HandleCreated() {
  if (images_) SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
  SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  items_.clear();
  for (int i = 0; i < model_.Items.TopCount(); ++i) InsertSubtree(*model_.Items.TopItem(i));
}

void TTreeView::SetImages(TImageList* images) {
  images_ = images;
  model_.Images = images;
  if (HandleAllocated())
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TTreeView::SetIndent(int indent) {
  indent_ = indent;
  if (HandleAllocated()) SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
}

HTREEITEM TTreeView::ItemOf(const TTreeNode* node) const {
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
  item.iImage = node.ImageIndex();
  item.iSelectedImage = node.SelectedIndex();
  item.lParam = reinterpret_cast<LPARAM>(&node);
}

} // namespace

TTreeNode* TTreeView::Selected() {
  if (!HandleAllocated()) return nullptr;
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  return NodeOfItem(Handle(), item);
}

void TTreeView::SetSelected(TTreeNode* node) {
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? ItemOf(node) : nullptr));
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) {
  TVHITTESTINFO hit{};
  hit.pt = {x, y};
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return hit.flags & TVHT_ONITEM ? NodeOfItem(Handle(), item) : nullptr;
}

void TTreeView::InsertItem(TTreeNode& node) {
  if (!HandleAllocated()) return;
  TVINSERTSTRUCTA insert{};
  insert.hParent = node.Parent() ? ItemOf(node.Parent()) : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  Describe(insert.item, node);
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item) items_[&node] = item;
}

void TTreeView::InsertSubtree(TTreeNode& node) {
  InsertItem(node);
  for (int i = 0; i < node.Count(); ++i) InsertSubtree(*node.Item(i));
}

void TTreeView::ForgetSubtree(const TTreeNode& node) {
  items_.erase(&node);
  for (int i = 0; i < node.Count(); ++i) ForgetSubtree(*node.Item(i));
}

void TTreeView::NodeAdded(TTreeNode& node) { InsertItem(node); }

void TTreeView::NodeDeleting(TTreeNode& node) {
  if (HTREEITEM item = ItemOf(&node)) SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  ForgetSubtree(node);
}

void TTreeView::NodeChanged(TTreeNode& node) {
  HTREEITEM item = ItemOf(&node);
  if (!item) return;
  TVITEMA data{};
  data.mask = TVIF_HANDLE;
  data.hItem = item;
  Describe(data, node);
  SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void TTreeView::Cleared() {
  if (HandleAllocated()) SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  items_.clear();
}

void TTreeView::UpdateBegun() {
  if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeView::UpdateEnded() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TTreeView::NotifyNotify(NMHDR& header, TMessage& message) {
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

void TTreeView::WndProc(TMessage& message) {
  if (message.Msg == WM_DESTROY) items_.clear();
  TWinControl::WndProc(message);
}

// --- TStatusBar -----------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  height_ = 19;
  align_ = TAlign::alBottom;
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClassName = STATUSCLASSNAMEA;
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (SizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::HandleCreated() {
  SendMessageA(Handle(), SB_SIMPLE, SimplePanel, 0);
  SendMessageA(Handle(), SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetSimpleText(const std::string& text) {
  simpleText_ = text;
  if (HandleAllocated()) SendMessageA(Handle(), SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(text.c_str()));
}
