// String grids: cells painted by the grid, the current cell moved by
// clicks and arrow keys, scrolled into view.
#include <gtest/gtest.h>

#include <string>

#include "framework/win32/Forms.h"
#include "framework/win32/Grids.h"
#include "support/RealInput.h"

namespace {

class StringGridTest : public ::testing::Test {
protected:
  StringGridTest() : form(&app) {
    form.SetBounds(100, 100, 420, 300);
    grid = new TStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 360, 200);
    grid->SetColCount(5);
    grid->SetRowCount(30);
    grid->SetDefaultRowHeight(20);
    for (int row = 0; row < 30; ++row)
      for (int col = 0; col < 5; ++col) grid->SetCells(col, row, std::to_string(col) + ":" + std::to_string(row));
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~StringGridTest() override { PumpFor(30); }
  void Key(WORD key, std::initializer_list<WORD> held = {}) {
    RealKey(key, held);
    PumpFor(50);
  }
  void ClickCell(int col, int row) {
    const RECT r = grid->CellRect(col, row);
    RealClick(ScreenPoint(grid->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    PumpFor(80);
  }
  COLORREF Pixel(int x, int y) {
    RedrawWindow(grid->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(grid->Handle());
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(grid->Handle(), dc);
    return pixel;
  }
  TApplication app;
  TForm form;
  TStringGrid* grid;
};

bool Shown(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  return GetScrollBarInfo(window, object, &info) && !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

} // namespace

TEST_F(StringGridTest, ClicksAndArrowKeysMoveTheCurrentCellAndScrollItIntoView) {
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 1);
  int clicks = 0;
  grid->OnClick = [&](TComponent*) { ++clicks; };
  ClickCell(3, 4);
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(clicks, 1);
  ClickCell(0, 6); // a fixed cell cannot be current
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 4);

  Key(VK_RIGHT);
  EXPECT_EQ(grid->Col(), 4);
  Key(VK_RIGHT);
  EXPECT_EQ(grid->Col(), 4) << "the last column";
  for (int i = 0; i < 5; ++i) Key(VK_LEFT);
  EXPECT_EQ(grid->Col(), 1) << "not into the fixed column";

  // Down past the bottom: the rows scroll, the current one stays in view.
  EXPECT_TRUE(Shown(grid->Handle(), OBJID_VSCROLL));
  EXPECT_FALSE(Shown(grid->Handle(), OBJID_HSCROLL)) << "the five columns fit";
  const int visible = grid->VisibleRowCount();
  for (int i = 0; i < visible + 2; ++i) Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 4 + visible + 2);
  EXPECT_GT(grid->TopRow(), 1);
  EXPECT_LT(grid->Row(), grid->TopRow() + grid->VisibleRowCount());
  EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), grid->TopRow());
  const RECT current = grid->CellRect(grid->Col(), grid->Row());
  EXPECT_GT(current.bottom, current.top) << "in view";
  int col = -1, row = -1;
  ASSERT_TRUE(grid->MouseToCell(current.left + 1, current.top + 1, col, row));
  EXPECT_EQ(col, grid->Col());
  EXPECT_EQ(row, grid->Row());
  Key(VK_END, {VK_CONTROL});
  EXPECT_EQ(grid->Row(), 29);
  Key(VK_HOME, {VK_CONTROL});
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TopRow(), 1);

  // The scroll bar moves the view, not the current cell.
  SendMessageA(grid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid->TopRow(), 1 + visible);
  EXPECT_EQ(grid->Row(), 1);

  // A handler can refuse a cell.
  grid->OnSelectCell = [](TComponent*, int c, int, bool& canSelect) { canSelect = c != 2; };
  ClickCell(2, grid->TopRow());
  EXPECT_EQ(grid->Col(), 1);
}

TEST_F(StringGridTest, TheGridPaintsFixedCellsCurrentCellAndNarrowColumnsScroll) {
  grid->FixedColor = RGB(200, 30, 40); // as a skin sets it
  const RECT fixed = grid->CellRect(2, 0);
  EXPECT_EQ(Pixel(fixed.right - 3, fixed.bottom - 3), RGB(200, 30, 40));
  const RECT current = grid->CellRect(1, 1);
  EXPECT_EQ(Pixel(current.right - 3, current.top + 3), GetSysColor(COLOR_HIGHLIGHT));
  const RECT plain = grid->CellRect(3, 3);
  EXPECT_EQ(Pixel(plain.right - 3, plain.top + 3), GetSysColor(COLOR_WINDOW));
  // Its text is drawn: some pixel of the cell is not the background.
  bool inked = false;
  for (int x = plain.left; x < plain.left + 30 && !inked; ++x)
    for (int y = plain.top; y < plain.bottom && !inked; ++y) inked = Pixel(x, y) != GetSysColor(COLOR_WINDOW);
  EXPECT_TRUE(inked);
  EXPECT_EQ(grid->Cells(3, 3), "3:3");
  EXPECT_EQ(grid->Cells(7, 3), "");
  EXPECT_THROW(grid->SetCells(5, 0, "x"), std::out_of_range);

  grid->SetColWidths(2, 200);
  EXPECT_TRUE(Shown(grid->Handle(), OBJID_HSCROLL));
  grid->SetFocus();
  Key(VK_END);
  EXPECT_EQ(grid->Col(), 4);
  EXPECT_GT(grid->LeftCol(), 1);
  const RECT last = grid->CellRect(4, grid->Row());
  EXPECT_LE(last.right, grid->ClientRect().right);
  EXPECT_EQ(grid->CellRect(1, 1).right, 0) << "scrolled out of view";
}
