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
  TEdit::HandleCreated();
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
  TEdit::CommandNotify(code);
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
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
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
