// Spin edits: the arrows on the keyboard and on the screen step the value,
// which stays within its limits.
#include <gtest/gtest.h>

#include "framework/win32/Forms.h"
#include "framework/win32/Spin.h"
#include "support/RealInput.h"

namespace {

class SpinEditTest : public ::testing::Test {
protected:
  SpinEditTest() : form(&app) {
    form.SetBounds(100, 100, 300, 150);
    spin = new TSpinEdit(&form);
    spin->SetParent(&form);
    spin->SetBounds(10, 10, 100, 22);
    next = new TEdit(&form);
    next->SetParent(&form);
    next->SetBounds(10, 50, 100, 21);
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~SpinEditTest() override { PumpFor(30); }
  void Key(WORD key) {
    RealKey(key);
    PumpFor(60);
  }
  TApplication app;
  TForm form;
  TSpinEdit* spin;
  TEdit* next;
};

} // namespace

TEST_F(SpinEditTest, ArrowKeysAndTheUpDownStepTheValueWithinItsLimits) {
  spin->SetMinValue(0);
  spin->SetMaxValue(20);
  spin->Increment = 5;
  spin->SetValue(10);
  EXPECT_EQ(WindowText(spin->Handle()), "10");
  int changes = 0;
  spin->OnChange = [&](TComponent*) { ++changes; };
  spin->SetFocus();
  Key(VK_UP);
  EXPECT_EQ(spin->Value(), 15);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(spin->Value(), 20) << "not past MaxValue";
  Key(VK_DOWN);
  EXPECT_EQ(spin->Value(), 15);
  EXPECT_EQ(changes, 3) << "15, 20, 15: the step stopped at the limit changed nothing";

  // The up-down sits inside the edit, on its right.
  HWND upDown = spin->UpDownHandle();
  ASSERT_NE(upDown, nullptr);
  EXPECT_EQ(GetParent(upDown), spin->Handle());
  RECT r;
  GetClientRect(upDown, &r);
  RealClick(ScreenPoint(upDown, {r.right / 2, r.bottom * 3 / 4}));
  PumpFor(100);
  EXPECT_EQ(spin->Value(), 10) << "the lower arrow";
  RealClick(ScreenPoint(upDown, {r.right / 2, r.bottom / 4}));
  PumpFor(100);
  EXPECT_EQ(spin->Value(), 15) << "the upper arrow";
}

TEST_F(SpinEditTest, OnlyANumberCanBeTypedAndLeavingShowsTheValueItStandsFor) {
  spin->SetMinValue(-5);
  spin->SetMaxValue(50);
  spin->SetFocus();
  SendMessageA(spin->Handle(), EM_SETSEL, 0, -1);
  RealType("7x9");
  PumpFor(100);
  EXPECT_EQ(WindowText(spin->Handle()), "79") << "the letter refused";
  EXPECT_EQ(spin->Value(), 50) << "read within the limits";
  RealKey(VK_TAB);
  PumpFor(60);
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(WindowText(spin->Handle()), "50");
  spin->SetText("-");
  EXPECT_EQ(spin->Value(), -5) << "no number reads as MinValue";
  spin->SetMaxValue(-5); // equal limits: no limits
  spin->SetValue(1000);
  EXPECT_EQ(spin->Value(), 1000);
}
