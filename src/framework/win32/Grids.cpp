#include "framework/win32/Grids.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "framework/win32/Gdi.h"

// --- TCustomDrawGrid ------------------------------------------------------------------

TCustomDrawGrid::TCustomDrawGrid(TComponent* owner) : TCustomGrid(owner) {
  TabStop = true;
  color_ = clWindow;
  width_ = 320;
  height_ = 120;
}

void TCustomDrawGrid::CreateParams(TCreateParams& params) {
  TCustomGrid::CreateParams(params);
  params.Style |= WS_HSCROLL | WS_VSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomDrawGrid::HandleCreated() { SizeChanged(); }

void TCustomDrawGrid::SetColCount(int count) {
  colCount_ = std::max(1, count);
  fixedCols_ = std::min(fixedCols_, colCount_ - 1);
  colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth_);
  col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
  SizeChanged();
}

void TCustomDrawGrid::SetRowCount(int count) {
  rowCount_ = std::max(1, count);
  fixedRows_ = std::min(fixedRows_, rowCount_ - 1);
  rowHeights_.resize(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
  row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
  SizeChanged();
}

void TCustomDrawGrid::SetFixedCols(int count) {
  if (count < 0 || count >= colCount_) throw std::invalid_argument("Fixed column count must be less than column count");
  fixedCols_ = count;
  col_ = std::max(col_, fixedCols_);
  leftCol_ = std::max(leftCol_, fixedCols_);
  SizeChanged();
}

void TCustomDrawGrid::SetFixedRows(int count) {
  if (count < 0 || count >= rowCount_) throw std::invalid_argument("Fixed row count must be less than row count");
  fixedRows_ = count;
  row_ = std::max(row_, fixedRows_);
  topRow_ = std::max(topRow_, fixedRows_);
  SizeChanged();
}

void TCustomDrawGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(0, width);
  colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth_);
  SizeChanged();
}

void TCustomDrawGrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(0, height);
  rowHeights_.assign(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
  SizeChanged();
}

int TCustomDrawGrid::ColWidths(int col) const {
  return col >= 0 && col < static_cast<int>(colWidths_.size()) ? colWidths_[static_cast<std::size_t>(col)]
                                                                : defaultColWidth_;
}

void TCustomDrawGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= colCount_) throw std::out_of_range("Grid index out of range");
  colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth_);
  colWidths_[static_cast<std::size_t>(col)] = std::max(0, width);
  SizeChanged();
}

int TCustomDrawGrid::RowHeights(int row) const {
  return row >= 0 && row < static_cast<int>(rowHeights_.size()) ? rowHeights_[static_cast<std::size_t>(row)]
                                                                 : defaultRowHeight_;
}

void TCustomDrawGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= rowCount_) throw std::out_of_range("Grid index out of range");
  rowHeights_.resize(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
  rowHeights_[static_cast<std::size_t>(row)] = std::max(0, height);
  SizeChanged();
}

int TCustomDrawGrid::FixedWidth() const {
  int width = 0;
  for (int c = 0; c < fixedCols_; ++c) width += ColWidths(c) + GridLineWidth;
  return width;
}

int TCustomDrawGrid::FixedHeight() const {
  int height = 0;
  for (int r = 0; r < fixedRows_; ++r) height += RowHeights(r) + GridLineWidth;
  return height;
}

int TCustomDrawGrid::ColumnX(int col) const {
  int x = 0;
  if (col < fixedCols_) {
    for (int c = 0; c < col; ++c) x += ColWidths(c) + GridLineWidth;
    return x;
  }
  x = FixedWidth();
  for (int c = leftCol_; c < col; ++c) x += ColWidths(c) + GridLineWidth;
  return x;
}

int TCustomDrawGrid::RowY(int row) const {
  int y = 0;
  if (row < fixedRows_) {
    for (int r = 0; r < row; ++r) y += RowHeights(r) + GridLineWidth;
    return y;
  }
  y = FixedHeight();
  for (int r = topRow_; r < row; ++r) y += RowHeights(r) + GridLineWidth;
  return y;
}

RECT TCustomDrawGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {0, 0, 0, 0};
  if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return {0, 0, 0, 0};
  const int x = ColumnX(col), y = RowY(row);
  const RECT client = ClientRect();
  if (x >= client.right || y >= client.bottom) return {0, 0, 0, 0};
  return {x, y, x + ColWidths(col), y + RowHeights(row)};
}

bool TCustomDrawGrid::MouseToCell(int x, int y, int& col, int& row) const {
  auto find = [](int at, int fixed, int first, int count, int line, auto size, int& found) {
    int edge = 0;
    for (int i = 0; i < count; ++i) {
      const int index = i < fixed ? i : first + (i - fixed);
      if (index >= count) break;
      const int next = edge + size(index) + line;
      if (at >= edge && at < next) {
        found = index;
        return true;
      }
      edge = next;
    }
    return false;
  };
  return x >= 0 && y >= 0 &&
         find(x, fixedCols_, leftCol_, colCount_, GridLineWidth, [this](int c) { return ColWidths(c); }, col) &&
         find(y, fixedRows_, topRow_, rowCount_, GridLineWidth, [this](int r) { return RowHeights(r); }, row);
}

int TCustomDrawGrid::VisibleColCount() const {
  const RECT client = ClientRect();
  int x = FixedWidth(), count = 0;
  for (int c = leftCol_; c < colCount_; ++c) {
    x += ColWidths(c) + GridLineWidth;
    if (x > client.right + GridLineWidth) break;
    ++count;
  }
  return std::max(count, colCount_ > fixedCols_ ? 1 : 0);
}

int TCustomDrawGrid::VisibleRowCount() const {
  const RECT client = ClientRect();
  int y = FixedHeight(), count = 0;
  for (int r = topRow_; r < rowCount_; ++r) {
    y += RowHeights(r) + GridLineWidth;
    if (y > client.bottom + GridLineWidth) break;
    ++count;
  }
  return std::max(count, rowCount_ > fixedRows_ ? 1 : 0);
}

int TCustomDrawGrid::LastLeftCol() const {
  const RECT client = ClientRect();
  int room = client.right - FixedWidth() + GridLineWidth;
  int col = colCount_;
  while (col > fixedCols_ && room >= ColWidths(col - 1) + GridLineWidth) room -= ColWidths(--col) + GridLineWidth;
  return std::clamp(col, fixedCols_, colCount_ - 1);
}

int TCustomDrawGrid::LastTopRow() const {
  const RECT client = ClientRect();
  int room = client.bottom - FixedHeight() + GridLineWidth;
  int row = rowCount_;
  while (row > fixedRows_ && room >= RowHeights(row - 1) + GridLineWidth) room -= RowHeights(--row) + GridLineWidth;
  return std::clamp(row, fixedRows_, rowCount_ - 1);
}

void TCustomDrawGrid::SetLeftCol(int col) {
  col = std::clamp(col, fixedCols_, std::max(fixedCols_, LastLeftCol()));
  if (col == leftCol_) return;
  leftCol_ = col;
  UpdateScrollBars();
  Invalidate();
}

void TCustomDrawGrid::SetTopRow(int row) {
  row = std::clamp(row, fixedRows_, std::max(fixedRows_, LastTopRow()));
  if (row == topRow_) return;
  topRow_ = row;
  UpdateScrollBars();
  Invalidate();
}

void TCustomDrawGrid::SizeChanged() {
  colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth_);
  rowHeights_.resize(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
  if (!HandleAllocated()) return;
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, LastLeftCol()));
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, LastTopRow()));
  UpdateScrollBars();
  Invalidate();
}

void TCustomDrawGrid::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  // In cells: the bar's range is the scrolled columns (rows), its page
  // those in view; it hides itself when they all fit.
  const bool colsFit = LastLeftCol() <= fixedCols_;
  SCROLLINFO horizontal{sizeof horizontal, SIF_RANGE | SIF_PAGE | SIF_POS, fixedCols_, colCount_ - 1,
                        static_cast<UINT>(colsFit ? colCount_ : VisibleColCount()), leftCol_, 0};
  SetScrollInfo(Handle(), SB_HORZ, &horizontal, TRUE);
  const bool rowsFit = LastTopRow() <= fixedRows_;
  SCROLLINFO vertical{sizeof vertical, SIF_RANGE | SIF_PAGE | SIF_POS, fixedRows_, rowCount_ - 1,
                      static_cast<UINT>(rowsFit ? rowCount_ : VisibleRowCount()), topRow_, 0};
  SetScrollInfo(Handle(), SB_VERT, &vertical, TRUE);
}

void TCustomDrawGrid::ScrollInView(int col, int row) {
  if (col >= fixedCols_) {
    if (col < leftCol_) {
      SetLeftCol(col);
    } else {
      while (leftCol_ < col && col >= leftCol_ + VisibleColCount()) SetLeftCol(leftCol_ + 1);
    }
  }
  if (row >= fixedRows_) {
    if (row < topRow_) {
      SetTopRow(row);
    } else {
      while (topRow_ < row && row >= topRow_ + VisibleRowCount()) SetTopRow(topRow_ + 1);
    }
  }
}

bool TCustomDrawGrid::MoveCurrent(int col, int row) {
  col = std::clamp(col, fixedCols_, colCount_ - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  if (col == col_ && row == row_) return false;
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, col, row, canSelect);
  if (!canSelect) return false;
  col_ = col;
  row_ = row;
  ScrollInView(col, row);
  Invalidate();
  Click();
  return true;
}

void TCustomDrawGrid::KeyDown(WPARAM key) {
  const bool control = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
  case VK_LEFT: MoveCurrent(col_ - 1, row_); break;
  case VK_RIGHT: MoveCurrent(col_ + 1, row_); break;
  case VK_UP: MoveCurrent(col_, row_ - 1); break;
  case VK_DOWN: MoveCurrent(col_, row_ + 1); break;
  case VK_PRIOR: MoveCurrent(col_, row_ - std::max(1, VisibleRowCount())); break;
  case VK_NEXT: MoveCurrent(col_, row_ + std::max(1, VisibleRowCount())); break;
  case VK_HOME: control ? MoveCurrent(col_, fixedRows_) : MoveCurrent(fixedCols_, row_); break;
  case VK_END: control ? MoveCurrent(col_, rowCount_ - 1) : MoveCurrent(colCount_ - 1, row_); break;
  default: break;
  }
}

void TCustomDrawGrid::DrawCell(int col, int row, const RECT& rect, unsigned state, HDC dc) {
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state, dc);
}

void TCustomDrawGrid::Paint(HDC target) {
  const RECT client = ClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  const gdi::TMemoryDC buffer(target, client.right, client.bottom);
  HDC dc = buffer.Get();
  FillColor(dc, client, Color());
  const gdi::TSelection font(dc, EffectiveFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  const bool focused = Focused();
  // Columns and rows in view: the fixed ones, then the scrolled ones from LeftCol / TopRow.
  std::vector<int> cols, rows;
  for (int c = 0; c < colCount_; ++c)
    if ((c < fixedCols_ || c >= leftCol_) && ColumnX(c) < client.right) cols.push_back(c);
  for (int r = 0; r < rowCount_; ++r)
    if ((r < fixedRows_ || r >= topRow_) && RowY(r) < client.bottom) rows.push_back(r);
  // The lines between cells: the area the cells cover, cells painted over it.
  if (!cols.empty() && !rows.empty()) {
    const RECT lines{0, 0, std::min<int>(client.right, ColumnX(cols.back()) + ColWidths(cols.back()) + GridLineWidth),
                     std::min<int>(client.bottom, RowY(rows.back()) + RowHeights(rows.back()) + GridLineWidth)};
    FillColor(dc, lines, SystemColor(COLOR_BTNFACE));
  }
  for (const int r : rows) {
    for (const int c : cols) {
      const RECT cell{ColumnX(c), RowY(r), ColumnX(c) + ColWidths(c), RowY(r) + RowHeights(r)};
      unsigned state = 0;
      if (c < fixedCols_ || r < fixedRows_) state |= gdFixed;
      if (c == col_ && r == row_) state |= gdSelected | (focused ? static_cast<unsigned>(gdFocused) : 0u);
      if (state & gdFixed) {
        FillColor(dc, cell, FixedColor);
        RECT edge = cell;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
      } else if (state & gdSelected) {
        FillColor(dc, cell, SystemColor(COLOR_HIGHLIGHT));
      } else {
        FillColor(dc, cell, Color());
      }
      TColor text = EffectiveFont().Color;
      if ((state & gdFixed) && FixedFontColor != kNoColor) text = FixedFontColor;
      SetTextColor(dc, (state & gdSelected) && !(state & gdFixed) ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(text));
      DrawCell(c, r, cell, state, dc);
      if ((state & gdFocused) && !(state & gdFixed)) DrawFocusRect(dc, &cell);
    }
  }
  buffer.CopyTo(target, 0, 0);
}

void TCustomDrawGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_GETDLGCODE:
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  case WM_ERASEBKGND:
    m.Result = 1; // Paint covers every pixel
    return;
  case WM_SIZE:
    TCustomGrid::WndProc(m);
    SizeChanged();
    return;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    TCustomGrid::WndProc(m);
    Invalidate();
    return;
  case WM_LBUTTONDOWN: {
    SetFocus();
    int col = 0, row = 0;
    if (MouseToCell(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), col, row) && col >= fixedCols_ && row >= fixedRows_)
      MoveCurrent(col, row);
    break;
  }
  case WM_KEYDOWN:
    TCustomGrid::WndProc(m); // OnKeyDown first
    KeyDown(m.WParam);
    return;
  case WM_MOUSEWHEEL:
    SetTopRow(topRow_ - GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA * 3);
    m.Result = 0;
    return;
  case WM_HSCROLL:
  case WM_VSCROLL: {
    if (m.LParam) break;
    const bool horizontal = m.Msg == WM_HSCROLL;
    int at = horizontal ? leftCol_ : topRow_;
    const int page = horizontal ? VisibleColCount() : VisibleRowCount();
    switch (LOWORD(m.WParam)) {
    case SB_LINEUP: --at; break;
    case SB_LINEDOWN: ++at; break;
    case SB_PAGEUP: at -= std::max(1, page); break;
    case SB_PAGEDOWN: at += std::max(1, page); break;
    case SB_TOP: at = 0; break;
    case SB_BOTTOM: at = horizontal ? colCount_ : rowCount_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(Handle(), horizontal ? SB_HORZ : SB_VERT, &info);
      at = info.nTrackPos;
      break;
    }
    default: break;
    }
    horizontal ? SetLeftCol(at) : SetTopRow(at);
    m.Result = 0;
    return;
  }
  default:
    break;
  }
  TCustomGrid::WndProc(m);
}

// --- TStringGrid -------------------------------------------------------------------------

const std::string& TStringGrid::Cells(int col, int row) const {
  static const std::string empty;
  if (row < 0 || row >= static_cast<int>(cells_.size())) return empty;
  const auto& line = cells_[static_cast<std::size_t>(row)];
  return col >= 0 && col < static_cast<int>(line.size()) ? line[static_cast<std::size_t>(col)] : empty;
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) throw std::out_of_range("Grid index out of range");
  if (cells_.size() <= static_cast<std::size_t>(row)) cells_.resize(static_cast<std::size_t>(row) + 1);
  auto& line = cells_[static_cast<std::size_t>(row)];
  if (line.size() <= static_cast<std::size_t>(col)) line.resize(static_cast<std::size_t>(col) + 1);
  line[static_cast<std::size_t>(col)] = text;
  const RECT r = CellRect(col, row);
  if (HandleAllocated() && r.right > r.left) InvalidateRect(Handle(), &r, FALSE);
}

void TStringGrid::DrawCell(int col, int row, const RECT& rect, unsigned state, HDC dc) {
  const std::string& text = Cells(col, row);
  if (!text.empty()) {
    RECT inside{rect.left + 2, rect.top, rect.right - 2, rect.bottom};
    DrawTextA(dc, text.c_str(), -1, &inside, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  TDrawGrid::DrawCell(col, row, rect, state, dc);
}
