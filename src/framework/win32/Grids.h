#pragma once
// Grids: rows and columns of cells the control paints itself.
#include <functional>
#include <string>
#include <vector>

#include "framework/win32/Controls.h"

// The base of every grid (string grids, data grids).
class TCustomGrid : public TCustomControl {
public:
  explicit TCustomGrid(TComponent* owner) : TCustomControl(owner) {}
  PLIMET_CLASS_NAME(TCustomGrid)
  // The colour of the fixed (title) rows and columns.
  TColor FixedColor = clBtnFace;
  // The text colour of the fixed cells; kNoColor: the font's.
  TColor FixedFontColor = kNoColor;
};

enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TDrawCellEvent = std::function<void(TComponent* sender, int col, int row, const RECT& rect, unsigned state, HDC dc)>;
using TSelectCellEvent = std::function<void(TComponent* sender, int col, int row, bool& canSelect)>;

// A grid of ColCount x RowCount cells, the first FixedCols columns and
// FixedRows rows fixed (they do not scroll and cannot be selected). One
// cell is current; a click or the arrow keys move it, and the grid scrolls
// to keep it in view, with scroll bars when the cells do not fit.
class TCustomDrawGrid : public TCustomGrid {
public:
  explicit TCustomDrawGrid(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomDrawGrid)
  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixedCols(int count);
  void SetFixedRows(int count);
  int DefaultColWidth() const { return defaultColWidth_; }
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int GridLineWidth = 1;
  // The current cell.
  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetCol(int col) { MoveCurrent(col, row_); }
  void SetRow(int row) { MoveCurrent(col_, row); }
  // The first scrolled column and row shown.
  int LeftCol() const { return leftCol_; }
  int TopRow() const { return topRow_; }
  void SetLeftCol(int col);
  void SetTopRow(int row);
  // How many scrolled columns and rows are wholly in view.
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // The cell under a point of the client area: false outside every cell.
  bool MouseToCell(int x, int y, int& col, int& row) const;
  // A cell's rectangle in the client area (empty when not in view).
  RECT CellRect(int col, int row) const;
  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void Paint(HDC dc) override;
  // Draws the inside of one cell (its background is painted already).
  virtual void DrawCell(int col, int row, const RECT& rect, unsigned state, HDC dc);
  // Moves the current cell when the cell may be selected; true when moved.
  bool MoveCurrent(int col, int row);
  void SizeChanged();

private:
  int ColumnX(int col) const; // left edge in the client area, for a column in view
  int RowY(int row) const;
  int FixedWidth() const;
  int FixedHeight() const;
  int LastLeftCol() const; // the left column that shows the last one whole
  int LastTopRow() const;
  void ScrollInView(int col, int row);
  void UpdateScrollBars();
  void KeyDown(WPARAM key);
  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 64, defaultRowHeight_ = 24;
  std::vector<int> colWidths_, rowHeights_;
  int col_ = 1, row_ = 1, leftCol_ = 1, topRow_ = 1;
};

class TDrawGrid : public TCustomDrawGrid {
public:
  using TCustomDrawGrid::TCustomDrawGrid;
  PLIMET_CLASS_NAME(TDrawGrid)
};

// A grid that holds a text for every cell and draws it.
class TStringGrid : public TDrawGrid {
public:
  explicit TStringGrid(TComponent* owner) : TDrawGrid(owner) {}
  PLIMET_CLASS_NAME(TStringGrid)
  // A cell's text ("" for a cell never set).
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

protected:
  void DrawCell(int col, int row, const RECT& rect, unsigned state, HDC dc) override;

private:
  std::vector<std::vector<std::string>> cells_; // [row][col], grown as cells are set
};
