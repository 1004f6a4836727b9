// Skinned scroll bars and bordered controls under Wine: the panels lie
// exactly over the native bars, the size box and the borders take the
// skin's colours, and a real click on a skinned arrow scrolls as the
// native arrow does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinScrollBars.h"
#include "skin/engine/SkinWindow.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"
#include "support/SkinnerLookup.h"

namespace {

class ScrollForm : public TForm {
public:
  PLIMET_CLASS_NAME(ScrollForm)
  ScrollForm() : TForm(nullptr) {
    SetCaption("Scrolling");
    SetBounds(100, 100, 420, 300);
    memo = new TMemo(this);
    memo->SetParent(this);
    memo->SetWordWrap(false);
    memo->SetScrollBars(TScrollStyle::ssBoth);
    memo->SetBounds(10, 10, 220, 160);
    std::vector<std::string> lines;
    for (int i = 0; i < 80; ++i) lines.push_back("line " + std::to_string(i) + std::string(120, 'x'));
    memo->SetLines(lines);
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(250, 10, 140, 22);
    bar = new TScrollBar(this);
    bar->SetParent(this);
    bar->SetKind(TScrollBarKind::sbVertical);
    bar->SetBounds(370, 60, 17, 150);
    bar->SetParams(30, 0, 100);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TMemo* memo;
  TEdit* edit;
  TScrollBar* bar;
  TSkinEngine* Engine;
};

class SkinScrollTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(200);
  }
  template <typename Skinner>
  Skinner* SkinnerOf(TControl* control) {
    return ::SkinnerOf<Skinner>(*form.Engine, form.Handle(), control);
  }
  static RECT ScreenRect(TWinControl* control) {
    RECT r{};
    GetWindowRect(control->Handle(), &r);
    return r;
  }
  // The skin's bar colour as the screen shows it.
  COLORREF BarColor() { return skin::ToRgb(form.Engine->GetColor(TSkinColorKey::SKIN2_SCROLLBARCOLOR)); }
  int MemoLine() { return GetScrollPos(form.memo->Handle(), SB_VERT); }
  TApplication app;
  ScrollForm form;
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_F(SkinScrollTest, AMemoWithBothBarsGetsTwoPanelsExactlyOverThem) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.memo);
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(skinner->VertPanel(), nullptr);
  ASSERT_NE(skinner->HorzPanel(), nullptr);
  EXPECT_TRUE(IsWindowVisible(skinner->VertPanel()->Handle()));
  EXPECT_TRUE(IsWindowVisible(skinner->HorzPanel()->Handle()));
  EXPECT_TRUE(SameRect(ScreenRect(skinner->VertPanel()), NativeScrollBar(form.memo->Handle(), OBJID_VSCROLL)));
  EXPECT_TRUE(SameRect(ScreenRect(skinner->HorzPanel()), NativeScrollBar(form.memo->Handle(), OBJID_HSCROLL)));
  // The screen shows the skin's picture: the up arrow is the skin's, scaled to the bar.
  const auto shot = TakeWindowShot(skinner->VertPanel()->Handle());
  ASSERT_TRUE(shot);
  const TBitmap* up = form.Engine->ScrollBtnRes().VertButton(1);
  ASSERT_TRUE(up && !up->Empty());
  EXPECT_EQ(shot->Pixel(shot->Width() / 2, shot->Width() / 2), up->Pixel(up->Width() / 2, up->Height() / 2));
  SaveWindowShot(form.Handle(), "screenshots/skin-scrollbars.bmp");
}

TEST_F(SkinScrollTest, ASingleLineEditGetsNoPanelsButItsBorderIsSkinned) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.edit);
  ASSERT_NE(skinner, nullptr) << "skinned as a bordered control";
  EXPECT_EQ(skinner->VertPanel(), nullptr);
  EXPECT_EQ(skinner->HorzPanel(), nullptr);
  EXPECT_EQ(form.edit->ImeMode, imSAlpha) << "a plain edit that did not care about input modes";
  InvalidateRect(form.edit->Handle(), nullptr, TRUE);
  PumpFor(100);
  const auto shot = TakeWindowShot(form.edit->Handle());
  ASSERT_TRUE(shot);
  const COLORREF border = skin::ToRgb(form.Engine->GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR));
  const COLORREF inner = skin::ToRgb(form.edit->Color());
  ASSERT_NE(border, inner);
  const int w = shot->Width(), h = shot->Height();
  for (POINT p : {POINT{0, 0}, POINT{w / 2, 0}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}, POINT{0, h - 1}})
    EXPECT_EQ(shot->Pixel(p.x, p.y), static_cast<TColor>(border)) << p.x << "," << p.y;
  for (POINT p : {POINT{w / 2, 1}, POINT{1, h / 2}, POINT{w - 2, h / 2}, POINT{w / 2, h - 2}})
    EXPECT_EQ(shot->Pixel(p.x, p.y), static_cast<TColor>(inner)) << p.x << "," << p.y;
}

TEST_F(SkinScrollTest, AnUnavailableBarHasNoThumb) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.memo);
  ASSERT_TRUE(skinner && skinner->VertPanel());
  HWND panel = skinner->VertPanel()->Handle();
  // Between the two arrows: somewhere the thumb when the bar is usable.
  auto barOnly = [&] {
    PumpFor(100);
    const auto shot = TakeWindowShot(panel);
    if (!shot) return false;
    const int side = shot->Width();
    for (int y = side; y < shot->Height() - side; ++y)
      if (shot->Pixel(side / 2, y) != static_cast<TColor>(BarColor())) return false;
    return true;
  };
  EXPECT_FALSE(barOnly()) << "a usable bar shows its thumb";
  EnableScrollBar(form.memo->Handle(), SB_VERT, ESB_DISABLE_BOTH);
  InvalidateRect(form.memo->Handle(), nullptr, TRUE);
  EXPECT_TRUE(barOnly());
}

TEST_F(SkinScrollTest, TheCornerBetweenTheBarsHasTheFormColour) {
  InvalidateRect(form.memo->Handle(), nullptr, TRUE);
  PumpFor(100);
  const RECT vertical = NativeScrollBar(form.memo->Handle(), OBJID_VSCROLL);
  const RECT horizontal = NativeScrollBar(form.memo->Handle(), OBJID_HSCROLL);
  const auto shot = TakeWindowShot(form.memo->Handle());
  ASSERT_TRUE(shot);
  const int x = shot->Width() - 2 - (vertical.right - vertical.left) / 2;
  const int y = shot->Height() - 2 - (horizontal.bottom - horizontal.top) / 2;
  EXPECT_EQ(shot->Pixel(x, y), static_cast<TColor>(skin::ToRgb(form.Engine->FormColor())));
}

TEST_F(SkinScrollTest, ClickingASkinnedArrowScrollsAsTheNativeArrowDoes) {
  const RECT bar = NativeScrollBar(form.memo->Handle(), OBJID_VSCROLL);
  const int side = bar.right - bar.left;
  const POINT downArrow{bar.left + side / 2, bar.bottom - side / 2};
  ASSERT_EQ(MemoLine(), 0);
  RealClick(downArrow);
  PumpFor(200);
  const int skinned = MemoLine();
  RealClick(downArrow);
  PumpFor(200);
  const int skinnedTwice = MemoLine();

  form.Engine->SetActive(false);
  PumpFor(200);
  SendMessageA(form.memo->Handle(), WM_VSCROLL, SB_TOP, 0);
  PumpFor(100);
  ASSERT_EQ(MemoLine(), 0);
  const RECT nativeBar = NativeScrollBar(form.memo->Handle(), OBJID_VSCROLL);
  const POINT nativeArrow{nativeBar.left + side / 2, nativeBar.bottom - side / 2};
  RealClick(nativeArrow);
  PumpFor(200);
  EXPECT_EQ(MemoLine(), skinned);
  RealClick(nativeArrow);
  PumpFor(200);
  EXPECT_EQ(MemoLine(), skinnedTwice);
  EXPECT_GT(skinnedTwice, skinned);
  EXPECT_GT(skinned, 0);
}

TEST_F(SkinScrollTest, TurningTheEngineOffHidesThePanelsAndOnShowsThemAgain) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.memo);
  auto* barSkinner = SkinnerOf<TSkinScrollBar>(form.bar);
  ASSERT_TRUE(skinner && skinner->VertPanel() && barSkinner && barSkinner->Panel());
  EXPECT_TRUE(IsWindowVisible(barSkinner->Panel()->Handle()));
  form.Engine->SetActive(false);
  PumpFor(150);
  ASSERT_EQ(SkinnerOf<TSkinScrollWinControl>(form.memo), skinner) << "the skinners stay";
  EXPECT_FALSE(IsWindowVisible(skinner->VertPanel()->Handle()));
  EXPECT_FALSE(IsWindowVisible(skinner->HorzPanel()->Handle()));
  EXPECT_FALSE(IsWindowVisible(barSkinner->Panel()->Handle()));
  form.Engine->SetActive(true);
  PumpFor(200);
  EXPECT_TRUE(IsWindowVisible(skinner->VertPanel()->Handle()));
  EXPECT_TRUE(IsWindowVisible(barSkinner->Panel()->Handle()));
}

TEST_F(SkinScrollTest, AStandAloneBarIsCoveredAndItsThumbFollowsThePosition) {
  auto* skinner = SkinnerOf<TSkinScrollBar>(form.bar);
  ASSERT_TRUE(skinner && skinner->Panel());
  EXPECT_TRUE(SameRect(ScreenRect(skinner->Panel()), ScreenRect(form.bar)));
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(form.bar->Handle(), OBJID_CLIENT, &info);
  const TBitmap& image = skinner->Panel()->Image;
  const int middle = (info.xyThumbTop + info.xyThumbBottom) / 2;
  EXPECT_NE(image.Pixel(image.Width() / 2, middle), static_cast<TColor>(BarColor())) << "the thumb";
  form.bar->SetPosition(90);
  PumpFor(100);
  EXPECT_EQ(image.Pixel(image.Width() / 2, middle), static_cast<TColor>(BarColor())) << "moved away";
}
