// The grid and the edits follow the table: its cursor, its filter and its edits.
#include <gtest/gtest.h>

#include "framework/win32/DBCtrls.h"
#include "framework/win32/Forms.h"

namespace {

class DBCtrlsTest : public ::testing::Test {
protected:
  DBCtrlsTest() : form(&app), source(&form) {
    table.AddFieldDef("FTypeId", TFieldType::Integer, 0, true);
    table.AddFieldDef("FTitle", TFieldType::String, 256, false);
    table.CreateDataSet();
    for (int i = 1; i <= 30; ++i) table.AppendRecord({i % 2 + 1, "Record " + std::to_string(i)});
    table.First();
    source.SetDataSet(&table);
    form.SetClientSize(400, 300);
    grid = new TDBGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 300, 4 * TDBGrid::kRowHeight + TDBGrid::kRowHeight + 4 + GetSystemMetrics(SM_CYHSCROLL));
    grid->Columns = {{"FTitle", 120, "", ""}, {"FTypeId", 60, "", ""}};
    grid->SetDataSource(&source);
    edit = new TDBEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(0, 200, 200, 21);
    edit->DataField = "FTitle";
    edit->SetDataSource(&source);
    form.Show();
  }
  SCROLLINFO Vertical() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(grid->Handle(), SB_VERT, &info);
    return info;
  }
  TApplication app;
  TForm form;
  TClientDataSet table;
  TDataSource source;
  TDBGrid* grid;
  TDBEdit* edit;
};

} // namespace

TEST_F(DBCtrlsTest, TheGridFollowsTheCursorAndHasRealScrollBars) {
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(Vertical().nMax, 29);
  table.SetRecNo(20);
  EXPECT_LE(grid->TopRow(), 20);
  EXPECT_GT(grid->TopRow() + grid->VisibleRows(), 20);
  EXPECT_EQ(Vertical().nPos, grid->TopRow() - 1);
  table.First();
  EXPECT_EQ(grid->TopRow(), 1);
  // A click on the third visible row makes it current.
  PostMessageA(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, TDBGrid::kRowHeight * 3 + 5));
  app.ProcessMessages();
  EXPECT_EQ(table.RecNo(), 3);
  // Scrolling moves the view, not the cursor.
  SendMessageA(grid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid->TopRow(), 1 + grid->VisibleRows());
  EXPECT_EQ(table.RecNo(), 3);
}

TEST_F(DBCtrlsTest, TheGridFollowsTheFilter) {
  table.SetFilter("FTypeId=1");
  table.SetFiltered(true);
  EXPECT_EQ(Vertical().nMax, 14);
  table.SetFiltered(false);
  EXPECT_EQ(Vertical().nMax, 29);
}

TEST_F(DBCtrlsTest, EditsShowTheCurrentRowAndTypingStartsAnEdit) {
  EXPECT_EQ(edit->Text(), "Record 1");
  table.Next();
  EXPECT_EQ(edit->Text(), "Record 2");
  EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 256) << "as long as the column";
  edit->SetFocus();
  SendMessageA(edit->Handle(), WM_CHAR, '!', 1);
  EXPECT_EQ(table.State(), TDataSetState::Edit);
  EXPECT_EQ(table.FieldByName("FTitle").AsString(), "!Record 2");
  table.Cancel();
  EXPECT_EQ(edit->Text(), "Record 2") << "a cancelled edit shows the stored value again";
  SetWindowTextA(edit->Handle(), "Renamed");
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(edit->Handle()));
  table.Post();
  table.First();
  table.Next();
  EXPECT_EQ(table.FieldByName("FTitle").AsString(), "Renamed");
  EXPECT_EQ(edit->Text(), "Renamed");
}

TEST_F(DBCtrlsTest, NewRowsAndEmptyTables) {
  table.Append();
  EXPECT_EQ(edit->Text(), "") << "a new row starts empty";
  SendMessageA(edit->Handle(), WM_CHAR, 'N', 1);
  table.FieldByName("FTypeId").SetAsInteger(1);
  table.Post();
  EXPECT_EQ(table.FieldByName("FTitle").AsString(), "N");
  table.SetFilter("FTypeId=99");
  table.SetFiltered(true);
  EXPECT_EQ(edit->Text(), "");
  SendMessageA(edit->Handle(), WM_CHAR, 'x', 1);
  EXPECT_EQ(table.State(), TDataSetState::Browse) << "nothing to edit in an empty view";
  EXPECT_EQ(edit->Text(), "");
}
