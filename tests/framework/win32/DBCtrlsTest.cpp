// The grid and the edits follow the table: its cursor, its filter and its edits.
#include <gtest/gtest.h>

#include <variant>

#include "framework/win32/DBCtrls.h"
#include "framework/win32/Forms.h"
#include "support/RealInput.h"

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

namespace {

// A lookup of kinds: the key FKindId, the text FName.
class DBLookupTest : public ::testing::Test {
protected:
  DBLookupTest() : form(&app), source(&form) {
    kinds.AddFieldDef("FKindId", TFieldType::Integer, 0, true);
    kinds.AddFieldDef("FName", TFieldType::String, 40, false);
    kinds.CreateDataSet();
    kinds.AppendRecord({10, "Alpha"});
    kinds.AppendRecord({20, "Beta"});
    kinds.AppendRecord({30, "Gamma"});
    kinds.First();
    source.SetDataSet(&kinds);
    form.SetBounds(100, 100, 300, 250);
    combo = new TDBLookupComboBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(10, 10, 150, 21);
    combo->KeyField = "FKindId";
    combo->ListField = "FName";
    combo->SetListSource(&source);
    combo->OnChange = [this](TComponent*) { ++changes; };
    cancel = new TButton(&form);
    cancel->SetParent(&form);
    cancel->SetBounds(10, 150, 75, 25);
    cancel->OnClick = [this](TComponent*) { ++cancels; };
    form.CancelButton = cancel;
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~DBLookupTest() override { PumpFor(30); }
  void Key(WORD key, std::initializer_list<WORD> held = {}) {
    RealKey(key, held);
    PumpFor(60);
  }
  std::int32_t Key() const { return std::get<std::int32_t>(combo->KeyValue()); }
  TApplication app;
  TForm form;
  TClientDataSet kinds;
  TDataSource source;
  TDBLookupComboBox* combo;
  TButton* cancel;
  int changes = 0, cancels = 0;
};

} // namespace

TEST_F(DBLookupTest, ShowsTheTextOfItsKeyAndPicksARowFromTheDroppedList) {
  EXPECT_EQ(combo->Text(), "");
  combo->SetKeyValue(20);
  EXPECT_EQ(combo->Text(), "Beta");
  EXPECT_EQ(changes, 0) << "set by the program";

  RealClick(ScreenPoint(combo->Handle(), {140, 10}));
  PumpFor(100);
  ASSERT_TRUE(combo->ListVisible());
  HWND list = combo->ListHandle();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(GetForegroundWindow(), form.Handle()) << "the list never takes the activation";
  RECT at, box;
  GetWindowRect(list, &at);
  GetWindowRect(combo->Handle(), &box);
  EXPECT_EQ(at.top, box.bottom) << "dropped below the box";
  RECT inside;
  GetClientRect(list, &inside);
  const int rowHeight = inside.bottom / 3;
  RealClick(ScreenPoint(list, {20, rowHeight * 2 + rowHeight / 2})); // the third row
  PumpFor(100);
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(Key(), 30);
  EXPECT_EQ(combo->Text(), "Gamma");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(kinds.RecNo(), 1) << "the list dataset's cursor is left where it was";

  // From the keyboard: F4 drops, the arrows move, Enter picks, Escape only closes.
  combo->SetFocus();
  Key(VK_F4);
  ASSERT_TRUE(combo->ListVisible());
  Key(VK_UP);
  Key(VK_RETURN);
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_EQ(Key(), 20);
  Key(VK_DOWN, {VK_MENU});
  ASSERT_TRUE(combo->ListVisible());
  Key(VK_UP);
  Key(VK_ESCAPE);
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_EQ(Key(), 20);
  EXPECT_EQ(cancels, 0) << "Escape closed the list, not the form";
  Key(VK_ESCAPE);
  EXPECT_EQ(cancels, 1) << "with the list up, Escape is the form's again";
  // Closed, the arrows step through the rows.
  Key(VK_DOWN);
  EXPECT_EQ(Key(), 30);
  Key(VK_DOWN);
  EXPECT_EQ(Key(), 30);
  EXPECT_EQ(changes, 3);

  // A click outside closes the list without a change.
  Key(VK_F4);
  ASSERT_TRUE(combo->ListVisible());
  RealClick(ScreenPoint(form.Handle(), {250, 200}));
  PumpFor(100);
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_EQ(Key(), 30);
}

TEST_F(DBLookupTest, FollowsItsListAndForgetsASourceThatGoes) {
  combo->SetKeyValue(30);
  kinds.Last();
  kinds.Edit();
  kinds.FieldByName("FName").SetAsString("Gamma ray");
  kinds.Post();
  EXPECT_EQ(combo->Text(), "Gamma ray");
  combo->SetKeyValue(99);
  EXPECT_EQ(combo->Text(), "") << "no row has that key";
  EXPECT_EQ(combo->KeyRow(), -1);
  combo->SetKeyValue(10);
  auto* other = new TDataSource(nullptr);
  other->SetDataSet(&kinds);
  combo->SetListSource(other);
  EXPECT_EQ(combo->Text(), "Alpha");
  delete other; // freed before the combo box
  EXPECT_EQ(combo->ListSource(), nullptr);
  EXPECT_EQ(combo->Text(), "");
  combo->DropDown();
  EXPECT_TRUE(combo->ListVisible()) << "an empty list drops and closes as any other";
  combo->CloseUp(true);
  EXPECT_EQ(Key(), 10);
}
