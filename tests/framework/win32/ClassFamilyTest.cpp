// Where each control stands in the class family decides which skinner it
// gets: the skin engine's table is searched from its last row to its first,
// and the first row whose class the control is or descends from wins.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/DBCtrls.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Grids.h"
#include "framework/win32/StdCtrls.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/Frames.h"
#include "framework/win32/Mask.h"
#include "framework/win32/Spin.h"

namespace {

struct TRow {
  std::string controlClass;
  std::string skinner;
  std::function<bool(const TControl*)> matches;
};

template <typename T>
TRow Row(const char* controlClass, const char* skinner) {
  return {controlClass, skinner, [](const TControl* control) { return control->InheritsFrom<T>(); }};
}

// The engine's table, in row order (later rows win), for the classes the
// framework has.
std::vector<TRow> RegistrationTable() {
  return {
      Row<TCustomControl>("TCustomControl", "TSkinScrollWinControl"),
      Row<TCustomFrame>("TCustomFrame", "TSkinFrame"),
      Row<TScrollBox>("TScrollBox", "TSkinScrollWinControl"),
      Row<TCoolBar>("TCoolBar", "TSkinPanel"),
      Row<TToolBar>("TToolBar", "TSkinToolBar"),
      Row<TCustomStatusBar>("TCustomStatusBar", "TSkinStatusBar"),
      Row<TDateTimePicker>("TDateTimePicker", "TSkinDateTimePicker"),
      Row<TCustomTreeView>("TCustomTreeView", "TSkinScrollWinControl"),
      Row<TCustomUpDown>("TCustomUpDown", "TSkinUpDown"),
      Row<TCustomHotKey>("TCustomHotKey", "TSkinBorderWinControl"),
      Row<TProgressBar>("TProgressBar", "TSkinProgressBar"),
      Row<TTrackBar>("TTrackBar", "TSkinTrackBar"),
      Row<TCustomTabControl>("TCustomTabControl", "TSkinTabControl"),
      Row<TCustomGrid>("TCustomGrid", "TSkinGrid"),
      Row<TSpeedButton>("TSpeedButton", "TSkinSpeedButton"),
      Row<TCustomPanel>("TCustomPanel", "TSkinPanel"),
      Row<TCustomGroupBox>("TCustomGroupBox", "TSkinGroupBox"),
      Row<TScrollBar>("TScrollBar", "TSkinScrollBar"),
      Row<TCustomListControl>("TCustomListControl", "TSkinScrollWinControl"),
      Row<TCustomListView>("TCustomListView", "TSkinListView"),
      Row<TRadioButton>("TRadioButton", "TSkinRadioButton"),
      Row<TCustomComboBox>("TCustomComboBox", "TSkinComboBox"),
      Row<TCustomComboBoxEx>("TCustomComboBoxEx", "TSkinComboBoxEx"),
      Row<TCustomCheckBox>("TCustomCheckBox", "TSkinCheckBox"),
      Row<TCustomEdit>("TCustomEdit", "TSkinScrollWinControl"),
      Row<TButton>("TButton", "TSkinButton"),
      Row<TLabel>("TLabel", "TSkinLabel"),
  };
}

// The row a control is matched by, or "" when no row takes it.
std::string MatchingRow(const std::vector<TRow>& table, const TControl& control) {
  for (auto row = table.rbegin(); row != table.rend(); ++row)
    if (row->matches(&control)) return row->controlClass;
  return "";
}

class ClassFamilyTest : public ::testing::Test {
protected:
  TApplication app;
};

} // namespace

TEST_F(ClassFamilyTest, EveryControlIsMatchedByTheRowOfItsNearestTableClass) {
  TForm form(nullptr);
  const auto table = RegistrationTable();
  struct TCase {
    TControl* control;
    const char* row;
  };
  const std::vector<TCase> cases = {
      {new TButton(&form), "TButton"},         // not TCustomControl's row: later rows win
      {new TBitBtn(&form), "TButton"},
      {new TCheckBox(&form), "TCustomCheckBox"},
      {new TEdit(&form), "TCustomEdit"},
      {new TDBEdit(&form), "TCustomEdit"},
      {new TComboBox(&form), "TCustomComboBox"},
      {new TLabel(&form), "TLabel"},
      {new TPanel(&form), "TCustomPanel"},     // a custom control, yet the panel row
      {new TGroupBox(&form), "TCustomGroupBox"},
      {new TDBGrid(&form), "TCustomGrid"},
      {new TTreeView(&form), "TCustomTreeView"},
      {new TStatusBar(&form), "TCustomStatusBar"},
      {new TPageControl(&form), "TCustomTabControl"},
      {new TToolBar(&form), "TToolBar"},
      {new TCustomControl(&form), "TCustomControl"},
      {new TCoolBar(&form), "TCoolBar"}, // a tool window, not a tool bar
      {new TDateTimePicker(&form), "TDateTimePicker"},
      {new TUpDown(&form), "TCustomUpDown"},
      {new THotKey(&form), "TCustomHotKey"},
      {new TProgressBar(&form), "TProgressBar"},
      {new TTrackBar(&form), "TTrackBar"},
      {new TTabControl(&form), "TCustomTabControl"},
      {new TListView(&form), "TCustomListView"},       // not TCustomListControl's row: later rows win
      {new TComboBoxEx(&form), "TCustomComboBoxEx"},   // not TCustomComboBox's row
      // Controls no row takes: they keep their own look.
      {new TTabSheet(&form), ""},
      {new TSplitter(&form), ""},  // a graphic control, not a custom one
      {new TLinkLabel(&form), ""}, // a windowed control, not a custom one
      {new TImage(&form), ""},
      {new TToolButton(&form), ""},
      {new TRadioButton(&form), "TRadioButton"},      // a button control, not a check box
      {new TScrollBar(&form), "TScrollBar"},
      {new TMemo(&form), "TCustomEdit"},
      {new TMaskEdit(&form), "TCustomEdit"},
      {new TSpinEdit(&form), "TCustomEdit"},
      {new TListBox(&form), "TCustomListControl"},
      {new TStringGrid(&form), "TCustomGrid"},
      {new TDrawGrid(&form), "TCustomGrid"},
      {new TDBLookupComboBox(&form), "TCustomControl"}, // no combo box of the system's
      {new TFrame(&form), "TCustomFrame"},
      {new TScrollBox(&form), "TScrollBox"},          // a scrolling control, not a frame
      {new TSpeedButton(&form), "TSpeedButton"},      // a graphic control
  };
  for (const TCase& each : cases)
    EXPECT_EQ(MatchingRow(table, *each.control), each.row) << each.control->ClassName();
  // The scroll skinner leaves masked edits alone, and data edits are masked edits.
  EXPECT_STREQ(cases[4].control->ClassName(), "TDBEdit");
  EXPECT_TRUE(cases[4].control->InheritsFrom<TCustomMaskEdit>());
  EXPECT_FALSE(cases[3].control->InheritsFrom<TCustomMaskEdit>());
}

TEST_F(ClassFamilyTest, ControlsWithoutAWindowCanBeHookedAndGetPaintAndMouseFromTheirParent) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetCaption("Name:");
  label->SetBounds(20, 30, 60, 16);
  int clicks = 0;
  label->OnClick = [&](TComponent*) { ++clicks; };
  std::vector<std::string> seen;
  const TWndMethod saved = label->WindowProc;
  label->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT) seen.push_back(m.WParam ? "paint with a DC" : "paint without a DC");
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP)
      seen.push_back((m.Msg == WM_LBUTTONDOWN ? "down at " : "up at ") + std::to_string(GET_X_LPARAM(m.LParam)) +
                     "," + std::to_string(GET_Y_LPARAM(m.LParam)));
    if (m.Msg == CM_MOUSEENTER) seen.push_back("enter");
    if (m.Msg == CM_MOUSELEAVE) seen.push_back("leave");
    saved(m);
  };
  form.Show();
  UpdateWindow(form.Handle());
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "paint with a DC");
  seen.clear();

  // In the form's coordinates at (25, 35): (5, 5) in the label's.
  SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(25, 35));
  SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
  // Pressed on the label, released outside it: the label hears it, and no click.
  SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 150));
  SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 150));
  EXPECT_EQ(seen, (std::vector<std::string>{"enter", "down at 5,5", "up at 5,5", "down at 5,5", "up at 130,120",
                                            "leave"}));
  EXPECT_EQ(clicks, 1);
  label->WindowProc = saved;
}

TEST_F(ClassFamilyTest, AControlWithoutAWindowFreedByItsOwnPressLetsTheMouseGo) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetCaption("Close");
  label->SetBounds(20, 30, 60, 16);
  label->OnMouseDown = [&](TComponent*, TMouseButton, WPARAM, int, int) { delete label; };
  form.Show();
  SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  EXPECT_EQ(form.ControlCount(), 0);
  EXPECT_NE(GetCapture(), form.Handle()) << "the form does not keep the mouse for a control that is gone";
  SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(25, 35)); // reaches nothing freed
}
