// Speed buttons: no window of their own, yet pressed, hovered, clicked
// and held down in groups as a person sees it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/win32/Buttons.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "support/RealInput.h"

TEST(GlyphPlacementTest, MarginAndSpacingOfMinusOneShareTheFreeRoom) {
  // 100 wide, a 16 x 16 glyph, a 30 x 13 caption: 54 free, a third each.
  auto placed = PlaceGlyphAndCaption(100, 24, {16, 16}, {30, 13}, TButtonLayout::blGlyphLeft, -1, -1);
  EXPECT_EQ(placed.glyph.x, 18);
  EXPECT_EQ(placed.caption.left, 18 + 16 + 18);
  EXPECT_EQ(placed.glyph.y, 4);
  EXPECT_EQ(placed.caption.top, 6);
  // A margin of -1 alone centres the pair; the glyph on the right.
  placed = PlaceGlyphAndCaption(100, 24, {16, 16}, {30, 13}, TButtonLayout::blGlyphRight, -1, 4);
  EXPECT_EQ(placed.glyph.x, 100 - 25 - 16);
  EXPECT_EQ(placed.caption.right, placed.glyph.x - 4);
  // On top, along the height.
  placed = PlaceGlyphAndCaption(40, 60, {16, 16}, {30, 13}, TButtonLayout::blGlyphTop, 5, -1);
  EXPECT_EQ(placed.glyph.y, 5);
  EXPECT_EQ(placed.caption.top, 5 + 16 + (60 - 5 - 16 - 13) / 2);
  EXPECT_EQ(placed.glyph.x, 12);
  // No caption: no spacing either.
  placed = PlaceGlyphAndCaption(40, 40, {16, 16}, {0, 0}, TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(placed.glyph.x, 12);
}

namespace {

class SpeedButtonTest : public ::testing::Test {
protected:
  SpeedButtonTest() : form(&app) {
    form.SetBounds(100, 100, 300, 150);
    form.SetColor(RGB(10, 120, 30));
    for (int i = 0; i < 3; ++i) {
      auto* button = new TSpeedButton(&form);
      button->SetParent(&form);
      button->SetBounds(10 + 30 * i, 10, 25, 25);
      button->GroupIndex = 1;
      button->OnClick = [this, i](TComponent*) { clicks.push_back(i); };
      buttons.push_back(button);
    }
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~SpeedButtonTest() override { PumpFor(30); }
  void Click(TSpeedButton* button) {
    RealClick(ScreenPoint(form.Handle(), {button->Left() + 12, button->Top() + 12}));
    PumpFor(80);
  }
  COLORREF PixelOf(TSpeedButton* button, int x, int y) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(form.Handle());
    const COLORREF pixel = GetPixel(dc, button->Left() + x, button->Top() + y);
    ReleaseDC(form.Handle(), dc);
    return pixel;
  }
  TApplication app;
  TForm form;
  std::vector<TSpeedButton*> buttons;
  std::vector<int> clicks;
};

} // namespace

TEST_F(SpeedButtonTest, AButtonOfAGroupStaysDownUntilAnotherIsClicked) {
  Click(buttons[0]);
  EXPECT_TRUE(buttons[0]->Down());
  Click(buttons[2]);
  EXPECT_TRUE(buttons[2]->Down());
  EXPECT_FALSE(buttons[0]->Down());
  Click(buttons[2]);
  EXPECT_TRUE(buttons[2]->Down()) << "the group keeps one down";
  EXPECT_EQ(clicks, (std::vector<int>{0, 2, 2}));

  for (TSpeedButton* button : buttons) button->AllowAllUp = true;
  Click(buttons[2]);
  EXPECT_FALSE(buttons[2]->Down()) << "all may be up now";
  buttons[1]->SetDown(true);
  buttons[0]->SetDown(true);
  EXPECT_FALSE(buttons[1]->Down());

  // Outside a group a button comes back up.
  buttons[1]->GroupIndex = 0;
  Click(buttons[1]);
  EXPECT_FALSE(buttons[1]->Down());
  EXPECT_TRUE(buttons[0]->Down()) << "not its group any more";
  EXPECT_EQ(clicks.back(), 1);
}

TEST_F(SpeedButtonTest, PressedAndReleasedElsewhereItIsNotClicked) {
  HWND window = form.Handle();
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_TRUE(buttons[0]->MouseInControl());
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_TRUE(buttons[0]->Pressed());
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 100));
  EXPECT_FALSE(buttons[0]->Pressed()) << "up while the mouse is away";
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(21, 21));
  EXPECT_TRUE(buttons[0]->Pressed()) << "down again when it comes back";
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 100));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
  EXPECT_TRUE(clicks.empty());
  EXPECT_FALSE(buttons[0]->Down());
  EXPECT_FALSE(buttons[0]->Pressed());
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(201, 100));
  EXPECT_FALSE(buttons[0]->MouseInControl()) << "the first move after the release leaves it";
}

TEST_F(SpeedButtonTest, AFlatButtonShowsAFrameOnlyWhenHotOrDown) {
  TSpeedButton* flat = buttons[0];
  flat->Flat = true;
  flat->SetCaption("A");
  const COLORREF background = RGB(10, 120, 30);
  EXPECT_EQ(PixelOf(flat, 0, 0), background) << "at rest: the parent's colour to the edge";
  SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(flat->Left() + 5, flat->Top() + 5));
  EXPECT_NE(PixelOf(flat, 0, 0), background) << "under the mouse: a raised frame";
  SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(250, 100));
  EXPECT_EQ(PixelOf(flat, 0, 0), background);
  flat->SetDown(true);
  EXPECT_EQ(PixelOf(flat, 0, 0), GetSysColor(COLOR_BTNSHADOW)) << "down: sunken";
  // A button that is not flat always has its frame.
  EXPECT_NE(PixelOf(buttons[1], 1, 1), background);
}

TEST(GroupBoxTest, ButtonsAndLabelsInAGroupBoxAreClickedToo) {
  TApplication app;
  TForm form(&app);
  form.SetBounds(100, 100, 320, 220);
  auto* group = new TGroupBox(&form);
  group->SetParent(&form);
  group->SetBounds(10, 10, 280, 150);
  group->SetCaption("Tools");
  auto* button = new TSpeedButton(&form);
  button->SetParent(group);
  button->SetBounds(20, 30, 40, 30);
  auto* label = new TLabel(&form);
  label->SetParent(group);
  label->SetCaption("Label");
  label->SetBounds(20, 80, 60, 16);
  int buttonClicks = 0, labelClicks = 0;
  button->OnClick = [&](TComponent*) { ++buttonClicks; };
  label->OnClick = [&](TComponent*) { ++labelClicks; };
  form.Show();
  PumpFor(100);
  RealClick(ScreenPoint(group->Handle(), {button->Left() + 10, button->Top() + 10}));
  PumpFor(150);
  RealClick(ScreenPoint(group->Handle(), {label->Left() + 5, label->Top() + 5}));
  PumpFor(150);
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_EQ(labelClicks, 1);
}
