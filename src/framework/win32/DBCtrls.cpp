#include "framework/win32/DBCtrls.h"

#include "framework/win32/Gdi.h"
#include "framework/win32/MessageParams.h"

#include <algorithm>

// --- TDataSource --------------------------------------------------------------------

TDataSource::~TDataSource() {
  if (dataSet_) dataSet_->RemoveObserver(this);
}

void TDataSource::SetDataSet(TClientDataSet* dataSet) {
  if (dataSet_) dataSet_->RemoveObserver(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddObserver(this);
  const auto links = links_;
  for (IDataLink* link : links) link->DataChanged(TDataEvent::DataSetChange);
}

void TDataSource::AddLink(IDataLink* link) { links_.push_back(link); }

void TDataSource::RemoveLink(IDataLink* link) { links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end()); }

void TDataSource::DataEvent(TClientDataSet&, TDataEvent event) {
  const auto links = links_;
  for (IDataLink* link : links) link->DataChanged(event);
}

// --- TDBEdit -------------------------------------------------------------------------

TDBEdit::~TDBEdit() {
  if (source_) source_->RemoveLink(this);
}

void TDBEdit::SetDataSource(TDataSource* source) {
  if (source_) source_->RemoveLink(this);
  source_ = source;
  if (source_) source_->AddLink(this);
  ShowField();
}

void TDBEdit::HandleCreated() {
  TCustomMaskEdit::HandleCreated();
  ShowField();
}

void TDBEdit::DataChanged(TDataEvent) { ShowField(); }

void TDBEdit::ShowField() {
  if (!HandleAllocated() || typing_) return; // what the user types is not overwritten while it is stored
  std::string text;
  TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
  if (table && table->Active() && table->FindField(DataField) >= 0) {
    const TField field = table->FieldByName(DataField);
    text = field.AsString();
    if (field.Def().DataType == TFieldType::String) SetMaxLength(field.Def().Size);
  }
  if (text == Text()) return;
  showing_ = true;
  SetText(text);
  showing_ = false;
}

void TDBEdit::CommandNotify(WORD code) {
  TCustomMaskEdit::CommandNotify(code);
  if (code != EN_CHANGE || showing_) return;
  TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
  if (!table || !table->Active() || table->FindField(DataField) < 0) return;
  if (table->State() == TDataSetState::Browse && table->IsEmpty()) {
    ShowField(); // nothing to edit: the typing is undone
    return;
  }
  typing_ = true;
  try {
    if (table->State() == TDataSetState::Browse) table->Edit(); // typing into a browsed record starts editing it
    table->FieldByName(DataField).SetAsString(Text());
  } catch (...) {
    typing_ = false;
    throw;
  }
  typing_ = false;
}

// --- TDBGrid --------------------------------------------------------------------------

TDBGrid::TDBGrid(TComponent* owner) : TCustomGrid(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 320;
  height_ = 120;
}

TDBGrid::~TDBGrid() {
  if (source_) source_->RemoveLink(this);
}

void TDBGrid::SetDataSource(TDataSource* source) {
  if (source_) source_->RemoveLink(this);
  source_ = source;
  if (source_) source_->AddLink(this);
  DataChanged(TDataEvent::DataSetChange);
}

void TDBGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_VSCROLL | WS_HSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TDBGrid::VisibleRows() const {
  const RECT r = ClientRect();
  return std::max(1, static_cast<int>(r.bottom - r.top - kRowHeight) / kRowHeight);
}

int TDBGrid::TotalWidth() const {
  int total = 0;
  for (const TColumn& column : Columns) total += column.Width;
  return total;
}

void TDBGrid::DataChanged(TDataEvent) {
  ScrollToCurrent();
  UpdateScrollBars();
  Invalidate();
}

void TDBGrid::ScrollToCurrent() {
  TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
  const int current = table && table->Active() ? table->RecNo() : 0;
  const int rows = table && table->Active() ? table->RecordCount() : 0;
  if (current > 0 && current < topRow_) topRow_ = current;
  if (current >= topRow_ + VisibleRows()) topRow_ = current - VisibleRows() + 1;
  topRow_ = std::max(1, std::min(topRow_, std::max(1, rows - VisibleRows() + 1)));
}

void TDBGrid::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
  const int rows = table && table->Active() ? table->RecordCount() : 0;
  SCROLLINFO vertical{sizeof vertical, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, rows - 1),
                      static_cast<UINT>(VisibleRows()), topRow_ - 1, 0};
  SetScrollInfo(Handle(), SB_VERT, &vertical, TRUE);
  const RECT r = ClientRect();
  SCROLLINFO horizontal{sizeof horizontal, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, TotalWidth() - 1),
                        static_cast<UINT>(std::max(1L, r.right - r.left)), leftOffset_, 0};
  SetScrollInfo(Handle(), SB_HORZ, &horizontal, TRUE);
}

void TDBGrid::Paint(HDC dc) {
  const RECT client = ClientRect();
  FillColor(dc, client, Color());
  gdi::TSelection font(dc, EffectiveFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  const gdi::TPen gridPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  gdi::TSelection pen(dc, gridPen.Get());

  TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
  const bool open = table && table->Active();
  // The header row in the fixed colour.
  RECT header{client.left, 0, client.right, kRowHeight};
  FillColor(dc, header, FixedColor);
  int x = -leftOffset_;
  for (const TColumn& column : Columns) {
    RECT cell{x + 2, 0, x + column.Width - 2, kRowHeight};
    SetTextColor(dc, FixedFontColor != kNoColor ? ColorToRGB(FixedFontColor) : GetSysColor(COLOR_BTNTEXT));
    const std::string& title = column.Title.empty() ? column.FieldName : column.Title;
    DrawTextA(dc, title.c_str(), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    RECT edge{x, 0, x + column.Width, kRowHeight};
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    x += column.Width;
  }
  if (open) {
    const int current = table->RecNo();
    const int last = std::min(table->RecordCount(), topRow_ + VisibleRows());
    for (int row = topRow_; row <= last; ++row) {
      const int y = kRowHeight + (row - topRow_) * kRowHeight;
      const bool selected = row == current;
      if (selected) {
        RECT band{client.left, y, std::min<LONG>(client.right, TotalWidth() - leftOffset_), y + kRowHeight};
        FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
      }
      SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      x = -leftOffset_;
      for (const TColumn& column : Columns) {
        const int index = table->FindField(column.FieldName);
        std::string text;
        if (index >= 0) {
          const TFieldValue& value = table->ValueAt(row, index);
          if (const auto* s = std::get_if<std::string>(&value)) text = *s;
          if (const auto* n = std::get_if<std::int32_t>(&value)) text = std::to_string(*n);
          if (!column.Mask.empty() && !text.empty()) text = column.Mask;
        }
        RECT cell{x + 2, y, x + column.Width - 2, y + kRowHeight};
        DrawTextA(dc, text.c_str(), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        x += column.Width;
        MoveToEx(dc, x - 1, y, nullptr);
        LineTo(dc, x - 1, y + kRowHeight);
      }
      MoveToEx(dc, -leftOffset_, y + kRowHeight - 1, nullptr);
      LineTo(dc, TotalWidth() - leftOffset_, y + kRowHeight - 1);
    }
  }
}

void TDBGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_SIZE:
    TCustomControl::WndProc(m);
    UpdateScrollBars();
    return;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN: { // the context menu is for the row pressed
    SetFocus();
    TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
    const int y = msg::Point(m).y;
    if (table && table->Active() && y >= kRowHeight) {
      const int row = topRow_ + (y - kRowHeight) / kRowHeight;
      if (row <= table->RecordCount()) table->SetRecNo(row); // the grid follows through the notification
    }
    break;
  }
  case WM_VSCROLL: {
    TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
    const int rows = table && table->Active() ? table->RecordCount() : 0;
    switch (LOWORD(m.WParam)) {
    case SB_LINEUP: --topRow_; break;
    case SB_LINEDOWN: ++topRow_; break;
    case SB_PAGEUP: topRow_ -= VisibleRows(); break;
    case SB_PAGEDOWN: topRow_ += VisibleRows(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: topRow_ = HIWORD(m.WParam) + 1; break;
    default: break;
    }
    topRow_ = std::max(1, std::min(topRow_, std::max(1, rows - VisibleRows() + 1)));
    UpdateScrollBars();
    Invalidate();
    m.Result = 0;
    return;
  }
  case WM_HSCROLL: {
    const RECT r = ClientRect();
    const int page = static_cast<int>(r.right - r.left);
    switch (LOWORD(m.WParam)) {
    case SB_LINELEFT: leftOffset_ -= 16; break;
    case SB_LINERIGHT: leftOffset_ += 16; break;
    case SB_PAGELEFT: leftOffset_ -= page; break;
    case SB_PAGERIGHT: leftOffset_ += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: leftOffset_ = HIWORD(m.WParam); break;
    default: break;
    }
    leftOffset_ = std::max(0, std::min(leftOffset_, std::max(0, TotalWidth() - page)));
    UpdateScrollBars();
    Invalidate();
    m.Result = 0;
    return;
  }
  case WM_KEYDOWN: {
    TClientDataSet* table = source_ ? source_->DataSet() : nullptr;
    if (table && table->Active()) {
      if (m.WParam == VK_DOWN) table->Next();
      if (m.WParam == VK_UP) table->Prior();
    }
    break;
  }
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

// --- TDBLookupControl -------------------------------------------------------------------

TDBLookupControl::TDBLookupControl(TComponent* owner) : TCustomControl(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 145;
  height_ = 21;
}

TDBLookupControl::~TDBLookupControl() {
  if (listSource_) listSource_->RemoveLink(this);
}

void TDBLookupControl::SetListSource(TDataSource* source) {
  if (listSource_) {
    listSource_->RemoveLink(this);
    RemoveFreeNotification(listSource_);
  }
  listSource_ = source;
  if (listSource_) {
    listSource_->AddLink(this);
    FreeNotification(listSource_); // a source freed first is forgotten, not left dangling
  }
  UpdateText();
}

void TDBLookupControl::Notification(TComponent* component, TOperation operation) {
  // The source is on its way out (its links are gone already): only forget it.
  if (operation == TOperation::opRemove && component == listSource_) {
    listSource_ = nullptr;
    UpdateText();
  }
  TCustomControl::Notification(component, operation);
}

void TDBLookupControl::DataChanged(TDataEvent) { UpdateText(); }

std::vector<TDBLookupControl::TListRow> TDBLookupControl::ListRows() const {
  std::vector<TListRow> rows;
  TClientDataSet* table = listSource_ ? listSource_->DataSet() : nullptr;
  if (!table || !table->Active()) return rows;
  const int key = table->FindField(KeyField);
  const int list = table->FindField(ListField.empty() ? KeyField : ListField);
  if (key < 0 || list < 0) return rows;
  for (int row = 1; row <= table->RecordCount(); ++row) {
    const TFieldValue text = table->ValueAt(row, list);
    std::string shown;
    if (const auto* s = std::get_if<std::string>(&text)) shown = *s;
    if (const auto* n = std::get_if<std::int32_t>(&text)) shown = std::to_string(*n);
    rows.push_back({table->ValueAt(row, key), shown});
  }
  return rows;
}

int TDBLookupControl::KeyRow() const {
  if (std::holds_alternative<std::monostate>(keyValue_)) return -1;
  const auto rows = ListRows();
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].key == keyValue_) return static_cast<int>(i);
  return -1;
}

void TDBLookupControl::SetKeyValue(const TFieldValue& value) {
  keyValue_ = value;
  UpdateText();
}

void TDBLookupControl::SelectRow(int row) {
  const auto rows = ListRows();
  if (row < 0 || row >= static_cast<int>(rows.size()) || rows[static_cast<std::size_t>(row)].key == keyValue_) return;
  SetKeyValue(rows[static_cast<std::size_t>(row)].key);
  if (OnChange) OnChange(this);
}

void TDBLookupControl::UpdateText() {
  const int row = KeyRow();
  const std::string text = row >= 0 ? ListRows()[static_cast<std::size_t>(row)].text : "";
  if (text != text_) {
    SetText(text);
  }
  Invalidate();
}

// --- TPopupDataList ---------------------------------------------------------------------

// The dropped list of a lookup combo box: a top-level window that never
// takes the activation or the focus; the combo box keeps both and hands it
// the mouse and the keys.
class TPopupDataList : public TCustomControl {
public:
  TPopupDataList(TDBLookupComboBox& combo) : TCustomControl(&combo), combo_(combo) { visible_ = false; }
  PLIMET_CLASS_NAME(TPopupDataList)
  std::vector<std::string> Items;
  int Selected = -1;
  int TopIndex = 0;
  int RowHeight() const { return std::max(16, -EffectiveFont().Height() + 5); }
  int VisibleRows() const {
    const RECT r = ClientRect();
    return std::max(1, static_cast<int>(r.bottom) / RowHeight());
  }
  int RowAt(int y) const {
    const int row = TopIndex + y / RowHeight();
    return y >= 0 && row < static_cast<int>(Items.size()) ? row : -1;
  }
  void Select(int row) {
    if (Items.empty()) return;
    row = std::clamp(row, 0, static_cast<int>(Items.size()) - 1);
    if (row < TopIndex) TopIndex = row;
    if (row >= TopIndex + VisibleRows()) TopIndex = row - VisibleRows() + 1;
    if (row != Selected) {
      Selected = row;
      Invalidate();
    }
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_MOUSEACTIVATE) {
      m.Result = MA_NOACTIVATE;
      return;
    }
    TCustomControl::WndProc(m);
  }

protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = GetAncestor(combo_.Handle(), GA_ROOT);
  }
  void Paint(HDC target) override {
    const RECT client = ClientRect();
    if (client.right <= 0 || client.bottom <= 0) return;
    const gdi::TMemoryDC buffer(target, client.right, client.bottom);
    HDC dc = buffer.Get();
    FillColor(dc, client, clWindow);
    const gdi::TSelection font(dc, EffectiveFont().Handle());
    SetBkMode(dc, TRANSPARENT);
    for (int row = TopIndex; row < static_cast<int>(Items.size()); ++row) {
      const int y = (row - TopIndex) * RowHeight();
      if (y >= client.bottom) break;
      RECT line{0, y, client.right, y + RowHeight()};
      if (row == Selected) FillColor(dc, line, SystemColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(row == Selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      line.left += 2;
      DrawTextA(dc, Items[static_cast<std::size_t>(row)].c_str(), -1, &line,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    buffer.CopyTo(target, 0, 0);
  }

private:
  TDBLookupComboBox& combo_;
};

// --- TDBLookupComboBox ------------------------------------------------------------------

TDBLookupComboBox::TDBLookupComboBox(TComponent* owner) : TDBLookupControl(owner) {}

void TDBLookupComboBox::CreateParams(TCreateParams& params) {
  TDBLookupControl::CreateParams(params);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

HWND TDBLookupComboBox::ListHandle() const { return list_ && list_->HandleAllocated() ? list_->Handle() : nullptr; }

void TDBLookupComboBox::Paint(HDC target) {
  const RECT client = ClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  const gdi::TMemoryDC buffer(target, client.right, client.bottom);
  HDC dc = buffer.Get();
  FillColor(dc, client, Color());
  const int buttonWidth = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), client.right);
  RECT button{client.right - buttonWidth, 0, client.right, client.bottom};
  DrawFrameControl(dc, &button, DFC_SCROLL,
                   DFCS_SCROLLCOMBOBOX | (dropped_ ? DFCS_PUSHED : 0) | (enabled_ ? 0 : DFCS_INACTIVE));
  RECT text{1, 1, button.left - 1, client.bottom - 1};
  const bool focused = Focused() && !dropped_;
  if (focused) FillColor(dc, text, SystemColor(COLOR_HIGHLIGHT));
  const gdi::TSelection font(dc, EffectiveFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, !enabled_ ? GetSysColor(COLOR_GRAYTEXT)
                   : focused ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                             : ColorToRGB(EffectiveFont().Color));
  RECT inside = text;
  inside.left += 2;
  DrawTextA(dc, text_.c_str(), -1, &inside, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (focused) DrawFocusRect(dc, &text);
  buffer.CopyTo(target, 0, 0);
}

void TDBLookupComboBox::DropDown() {
  if (dropped_ || !enabled_) return;
  if (!list_) list_ = new TPopupDataList(*this);
  list_->Font.Assign(EffectiveFont());
  list_->Items.clear();
  for (const TListRow& row : ListRows()) list_->Items.push_back(row.text);
  if (OnDropDown) OnDropDown(this);
  RECT at;
  GetWindowRect(Handle(), &at);
  const int rows = std::clamp(static_cast<int>(list_->Items.size()), 1, std::max(1, DropDownRows));
  const int height = rows * list_->RowHeight() + 2 * GetSystemMetrics(SM_CYBORDER);
  HWND list = list_->Handle();
  SetWindowPos(list, HWND_TOPMOST, at.left, at.bottom, at.right - at.left, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  list_->TopIndex = 0;
  list_->Selected = -1;
  if (const int key = KeyRow(); key >= 0) list_->Select(key);
  list_->Invalidate();
  dropped_ = true;
  SetCapture(Handle()); // a click anywhere comes here: on the list it picks, elsewhere it closes
  Invalidate();
}

void TDBLookupComboBox::CloseUp(bool accept) {
  if (!dropped_) return;
  dropped_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (list_ && list_->HandleAllocated()) ShowWindow(list_->Handle(), SW_HIDE);
  Invalidate();
  if (accept && list_) SelectRow(list_->Selected);
  if (OnCloseUp) OnCloseUp(this);
}

bool TDBLookupComboBox::OverList(POINT client, int& row) {
  row = -1;
  if (!list_ || !list_->HandleAllocated()) return false;
  POINT at = client;
  MapWindowPoints(Handle(), list_->Handle(), &at, 1);
  const RECT inside = list_->ClientRect();
  if (!PtInRect(&inside, at)) return false;
  row = list_->RowAt(at.y);
  return true;
}

void TDBLookupComboBox::WndProc(TMessage& m) {
  const POINT at = msg::Point(m);
  int row = -1;
  switch (m.Msg) {
  case WM_GETDLGCODE:
    // While the list is down, Enter and Escape are the list's, not the form's.
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTALLKEYS : 0);
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (dropped_) {
      if (!OverList(at, row)) CloseUp(false); // on the box itself or outside: the list goes
      return;
    }
    SetFocus();
    DropDown();
    return;
  case WM_MOUSEMOVE:
    if (dropped_ && OverList(at, row) && row >= 0) list_->Select(row);
    break;
  case WM_LBUTTONUP:
    if (dropped_ && OverList(at, row) && row >= 0) {
      list_->Select(row);
      CloseUp(true);
      return;
    }
    break;
  case WM_CAPTURECHANGED:
    if (dropped_ && reinterpret_cast<HWND>(m.LParam) != Handle()) CloseUp(false);
    break;
  case WM_KILLFOCUS:
    CloseUp(false);
    TDBLookupControl::WndProc(m);
    Invalidate();
    return;
  case WM_SETFOCUS:
    TDBLookupControl::WndProc(m);
    Invalidate();
    return;
  case WM_SYSKEYDOWN:
    if (m.WParam == VK_DOWN || m.WParam == VK_UP) {
      dropped_ ? CloseUp(true) : DropDown();
      return;
    }
    break;
  case WM_KEYDOWN: {
    TDBLookupControl::WndProc(m); // OnKeyDown first
    const int rows = static_cast<int>(ListRows().size());
    if (m.WParam == VK_F4) {
      dropped_ ? CloseUp(true) : DropDown();
    } else if (dropped_) {
      if (m.WParam == VK_RETURN) CloseUp(true);
      if (m.WParam == VK_ESCAPE) CloseUp(false);
      if (m.WParam == VK_DOWN) list_->Select(list_->Selected + 1);
      if (m.WParam == VK_UP) list_->Select(std::max(0, list_->Selected - 1));
    } else if (rows > 0 && (m.WParam == VK_DOWN || m.WParam == VK_UP)) {
      const int current = KeyRow();
      SelectRow(std::clamp(current < 0 ? 0 : current + (m.WParam == VK_DOWN ? 1 : -1), 0, rows - 1));
    }
    return;
  }
  default:
    break;
  }
  TDBLookupControl::WndProc(m);
}
