// The plain controls driven as a person drives them: clicks and keys
// through the system's input queue.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <string>
#include <vector>

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "support/RealInput.h"

namespace {

class StdCtrlsTest : public ::testing::Test {
protected:
  StdCtrlsTest() : form(&app) {
    form.SetBounds(100, 100, 420, 340);
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~StdCtrlsTest() override { PumpFor(30); } // no key left queued for the next test
  template <typename T>
  T* Make(TWinControl* parent, int left, int top, int width, int height) {
    auto* control = new T(&form);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
  }
  void ClickAt(HWND window, POINT client) {
    RealClick(ScreenPoint(window, client));
    PumpFor(60);
  }
  TApplication app;
  TForm form;
};

bool MarkChecked(TWinControl* button) { return SendMessageA(button->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

} // namespace

TEST_F(StdCtrlsTest, ARadioButtonClickedUnchecksItsSiblingsOnly) {
  std::vector<TRadioButton*> radios;
  for (int i = 0; i < 3; ++i) radios.push_back(Make<TRadioButton>(&form, 10, 10 + 24 * i, 120, 20));
  auto* box = Make<TGroupBox>(&form, 200, 10, 180, 80);
  auto* apart = Make<TRadioButton>(box, 10, 20, 120, 20); // a group of its own
  apart->SetChecked(true);
  radios[0]->SetChecked(true);
  int clicks = 0;
  radios[1]->OnClick = [&](TComponent*) { ++clicks; };

  ClickAt(radios[1]->Handle(), {6, 10});
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_TRUE(MarkChecked(radios[1]));
  EXPECT_FALSE(radios[0]->Checked());
  EXPECT_FALSE(MarkChecked(radios[0]));
  EXPECT_TRUE(apart->Checked()) << "another parent is another group";
  EXPECT_EQ(clicks, 1);
  ClickAt(radios[1]->Handle(), {6, 10});
  EXPECT_TRUE(radios[1]->Checked()) << "a click on the checked one leaves it checked";
  EXPECT_EQ(clicks, 1);

  radios[2]->SetChecked(true);
  EXPECT_FALSE(radios[1]->Checked());
  EXPECT_FALSE(MarkChecked(radios[1]));

  // The caption on the left of the mark.
  EXPECT_FALSE(GetWindowLongA(radios[2]->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  radios[2]->SetAlignment(TAlignment::taLeftJustify);
  EXPECT_TRUE(GetWindowLongA(radios[2]->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_TRUE(MarkChecked(radios[2])) << "the new window shows the state";
  auto* check = Make<TCheckBox>(&form, 10, 100, 120, 20);
  check->SetChecked(true);
  check->SetAlignment(TAlignment::taLeftJustify);
  EXPECT_TRUE(GetWindowLongA(check->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_TRUE(MarkChecked(check));
}

TEST_F(StdCtrlsTest, AScrollBarMovesByItsStepsOnClicksAndKeys) {
  auto* bar = Make<TScrollBar>(&form, 20, 20, GetSystemMetrics(SM_CXVSCROLL), 200);
  bar->SetKind(TScrollBarKind::sbVertical);
  bar->SetBounds(20, 20, GetSystemMetrics(SM_CXVSCROLL), 200);
  bar->SmallChange = 5;
  bar->LargeChange = 20;
  int changes = 0;
  bar->OnChange = [&](TComponent*) { ++changes; };
  EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBS_VERT);

  const int arrow = GetSystemMetrics(SM_CYVSCROLL);
  ClickAt(bar->Handle(), {bar->Width() / 2, 200 - arrow / 2}); // the down arrow
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_EQ(changes, 1);
  ClickAt(bar->Handle(), {bar->Width() / 2, 200 - arrow - 10}); // the track below the thumb
  EXPECT_EQ(bar->Position(), 25);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 25);

  // Focused, the arrow keys step it.
  bar->SetFocus();
  RealKey(VK_DOWN);
  PumpFor(60);
  EXPECT_EQ(bar->Position(), 30);

  // The handler decides where a scroll ends.
  bar->OnScroll = [](TComponent*, TScrollCode code, int& position) {
    if (code == TScrollCode::scLineUp) position = 50;
  };
  ClickAt(bar->Handle(), {bar->Width() / 2, arrow / 2});
  EXPECT_EQ(bar->Position(), 50);

  // With a page, the position stops where the page reaches the end.
  bar->SetPageSize(10);
  bar->SetPosition(1000);
  EXPECT_EQ(bar->Position(), 91);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar->Handle(), SB_CTL, &info);
  EXPECT_EQ(info.nPage, 10u);
  EXPECT_EQ(info.nPos, 91);
  EXPECT_THROW(bar->SetParams(0, 10, 5), std::invalid_argument);
}

TEST_F(StdCtrlsTest, AMemoTakesEnterForItsLinesAndTabLeavesIt) {
  auto* memo = Make<TMemo>(&form, 10, 10, 200, 100);
  auto* next = Make<TEdit>(&form, 10, 120, 100, 21);
  auto* ok = Make<TButton>(&form, 220, 10, 75, 25);
  int okClicks = 0;
  ok->OnClick = [&](TComponent*) { ++okClicks; };
  form.DefaultButton = ok;
  memo->SetFocus();
  RealType("one");
  RealKey(VK_RETURN);
  RealType("two");
  PumpFor(100);
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(okClicks, 0) << "Enter made a line, not a click on the default button";
  RealKey(VK_TAB);
  PumpFor(60);
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(memo->Lines().size(), 2u) << "no tab typed into the memo";

  // Word wrap and scroll bars are window styles: the window is made again, the text stays.
  const DWORD wrapped = GetWindowLongA(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(wrapped & ES_MULTILINE);
  EXPECT_FALSE(wrapped & ES_AUTOHSCROLL);
  memo->SetWordWrap(false);
  memo->SetScrollBars(TScrollStyle::ssBoth);
  const DWORD unwrapped = GetWindowLongA(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(unwrapped & ES_AUTOHSCROLL);
  EXPECT_TRUE(unwrapped & WS_HSCROLL);
  EXPECT_TRUE(unwrapped & WS_VSCROLL);
  EXPECT_EQ(WindowText(memo->Handle()), "one\r\ntwo");
  memo->AddLine("three");
  EXPECT_EQ(SendMessageA(memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
}

TEST_F(StdCtrlsTest, AListBoxSelectsOnAClickAndTellsEachEventOnce) {
  auto* list = Make<TListBox>(&form, 10, 10, 150, 120);
  list->SetItems({"Alpha", "Beta", "Gamma", "Delta"});
  int clicks = 0, doubleClicks = 0;
  list->OnClick = [&](TComponent*) { ++clicks; };
  list->OnDblClick = [&](TComponent*) { ++doubleClicks; };
  RECT item{};
  SendMessageA(list->Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  ClickAt(list->Handle(), {item.left + 5, (item.top + item.bottom) / 2});
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubleClicks, 0);
  SendMessageA(list->Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  RealClick(ScreenPoint(list->Handle(), {item.left + 5, (item.top + item.bottom) / 2}), false, 2);
  PumpFor(100);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(doubleClicks, 1);
  RealKey(VK_DOWN);
  PumpFor(60);
  EXPECT_EQ(list->ItemIndex(), 2) << "the keys select too";

  // Several at once: kept through a new window.
  list->SetMultiSelect(true);
  EXPECT_TRUE(GetWindowLongA(list->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);
  EXPECT_EQ(list->Items().size(), 4u);
  list->SetSelected(0, true);
  list->SetSelected(3, true);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(3));
  EXPECT_FALSE(list->Selected(1));
  EXPECT_THROW(list->SetSelected(9, true), std::out_of_range);
}

TEST_F(StdCtrlsTest, ImeModeDisableTakesTheInputContextAwayAndTheOthersGiveItBack) {
  auto* edit = Make<TEdit>(&form, 10, 10, 120, 21);
  auto* other = Make<TEdit>(&form, 10, 40, 120, 21);
  edit->ImeMode = imDisable;
  edit->SetFocus();
  EXPECT_EQ(ImmGetContext(edit->Handle()), nullptr);
  other->SetFocus();
  edit->ImeMode = imOpen; // the field alone: it takes effect at the next focus
  EXPECT_EQ(ImmGetContext(edit->Handle()), nullptr);
  edit->SetFocus();
  HIMC context = ImmGetContext(edit->Handle());
  ASSERT_NE(context, nullptr);
  EXPECT_TRUE(ImmGetOpenStatus(context));
  ImmReleaseContext(edit->Handle(), context);
  edit->SetImeMode(imClose); // through the setter: at once
  context = ImmGetContext(edit->Handle());
  ASSERT_NE(context, nullptr);
  EXPECT_FALSE(ImmGetOpenStatus(context));
  ImmReleaseContext(edit->Handle(), context);
  edit->SetImeMode(imDisable);
  EXPECT_EQ(ImmGetContext(edit->Handle()), nullptr);
  EXPECT_EQ(other->ImeMode, imDontCare);
}
