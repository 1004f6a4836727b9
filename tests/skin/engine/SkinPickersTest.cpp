// Skinned date-time pickers and list views under Wine: the picker's button
// panel and up-down in place of the native ones, the list view's header in
// the skin's colours, checked on the screen and driven with real input.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Gdi.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinListView.h"
#include "skin/engine/SkinPickers.h"
#include "skin/engine/SkinWindow.h"
#include "support/GdiObjectCount.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"
#include "support/WindowCount.h"
#include "support/SkinnerLookup.h"

namespace {

class PickerForm : public TForm {
public:
  PLIMET_CLASS_NAME(PickerForm)
  PickerForm() : TForm(nullptr) {
    SetCaption("Pickers");
    SetBounds(100, 100, 460, 260);
    date = Picker(10, 10, 180);
    time = Picker(10, 50, 120);
    time->SetKind(TDateTimeKind::dtkTime);
    kept = Picker(10, 90, 120);
    kept->SetKind(TDateTimeKind::dtkTime);
    kept->Tag = kKeepNativeUpDownTag;
    list = new TListView(this);
    list->SetParent(this);
    list->SetBounds(210, 10, 220, 160);
    list->SetViewStyle(TViewStyle::vsReport);
    const char* captions[] = {"Title", "User", "Centred"};
    const TColumnAlignment alignments[] = {TColumnAlignment::taLeftJustify, TColumnAlignment::taRightJustify,
                                           TColumnAlignment::taCenter};
    for (int i = 0; i < 3; ++i) {
      TListColumn* column = list->Columns().Add();
      column->SetCaption(captions[i]);
      column->SetAlignment(alignments[i]);
      column->SetWidth(60);
    }
    for (int i = 0; i < 40; ++i) {
      TListItem* item = list->Items().Add();
      item->SetCaption("Entry " + std::to_string(i));
      item->AddSubItem("anna");
      item->AddSubItem("x");
    }
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TDateTimePicker* Picker(int left, int top, int width) {
    auto* picker = new TDateTimePicker(this);
    picker->SetParent(this);
    picker->SetBounds(left, top, width, 22);
    return picker;
  }
  TDateTimePicker* date;
  TDateTimePicker* time;
  TDateTimePicker* kept;
  TListView* list;
  TSkinEngine* Engine;
};

class SkinPickersTest : public ::testing::Test {
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
  TColor Color(TSkinColorKey key) { return skin::ToRgb(form.Engine->GetColor(key)); }
  TColor FormColor() { return skin::ToRgb(form.Engine->FormColor()); }
  static bool Shown(HWND window) { return window && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }
  static std::unique_ptr<TBitmap> Shot(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    PumpFor(100);
    return TakeWindowShot(window);
  }
  TApplication app;
  PickerForm form;
};

} // namespace

TEST_F(SkinPickersTest, ADatePickersButtonIsTheSkinsAndAClickOnItDropsTheCalendar) {
  auto* skinner = SkinnerOf<TSkinDateTimePicker>(form.date);
  ASSERT_NE(skinner, nullptr) << "the picker's own row";
  TSkinInternalComboButton* button = skinner->ComboButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(skinner->UpDown(), nullptr) << "a drop-down date has no up-down";
  ASSERT_TRUE(IsWindowVisible(button->Handle()));
  RECT client{};
  GetClientRect(form.date->Handle(), &client);
  EXPECT_EQ(button->Width(), 16);
  EXPECT_EQ(button->Left() + button->Width(), client.right) << "aligned right";
  EXPECT_EQ(button->Height(), client.bottom);

  auto expectFace = [&](TColor arrow) {
    const auto shot = Shot(button->Handle());
    ASSERT_TRUE(shot);
    const int w = shot->Width(), h = shot->Height();
    EXPECT_EQ(shot->Pixel(w - 2, 1), Color(TSkinColorKey::SKIN2_CONTROLCOLOR));
    EXPECT_EQ(shot->Pixel(0, h / 2), Color(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR)) << "the line on its left";
    const int x = w / 2 - 3, y = h / 2 - 2;
    EXPECT_EQ(shot->Pixel(x + 3, y + 1), arrow) << "the arrow's middle";
    EXPECT_EQ(shot->Pixel(x + 3, y + 5), Color(TSkinColorKey::SKIN2_CONTROLCOLOR)) << "below the arrow";
  };
  expectFace(0);
  form.date->SetEnabled(false);
  expectFace(0x808080);
  form.date->SetEnabled(true);
  PumpFor(50);

  HWND calendar = reinterpret_cast<HWND>(SendMessageA(form.date->Handle(), DTM_GETMONTHCAL, 0, 0));
  EXPECT_FALSE(calendar && IsWindowVisible(calendar));
  RealClick(ScreenPoint(button->Handle(), {button->Width() / 2, button->Height() / 2}));
  PumpFor(200);
  calendar = reinterpret_cast<HWND>(SendMessageA(form.date->Handle(), DTM_GETMONTHCAL, 0, 0));
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(IsWindowVisible(calendar)) << "the click went through to the picker";
  SaveWindowShot(form.Handle(), "screenshots/skin-date-picker-dropped.bmp");
  RealKey(VK_ESCAPE);
  PumpFor(150);

  // Off, the native button shows again; on, the skinned one is back.
  form.Engine->SetActive(false);
  PumpFor(100);
  EXPECT_FALSE(IsWindowVisible(button->Handle()));
  form.Engine->SetActive(true);
  PumpFor(100);
  EXPECT_TRUE(IsWindowVisible(button->Handle()));
}

TEST_F(SkinPickersTest, ATimePickerShowsTheSkinnedUpDownWhichStepsTheTime) {
  auto* skinner = SkinnerOf<TSkinDateTimePicker>(form.time);
  ASSERT_NE(skinner, nullptr);
  EXPECT_FALSE(skinner->ComboButton() && IsWindowVisible(skinner->ComboButton()->Handle()))
      << "no button for a time";
  TSkinInternalUpDown* upDown = skinner->UpDown();
  ASSERT_NE(upDown, nullptr);
  HWND native = skinner->NativeUpDown();
  ASSERT_NE(native, nullptr) << "the picker has an up-down of its own";
  EXPECT_FALSE(Shown(native));
  ASSERT_TRUE(IsWindowVisible(upDown->Handle()));
  EXPECT_EQ(SendMessageA(upDown->Handle(), WM_SKIN_QUERY, 0, 0), 1) << "painted by the up-down skinner";
  RECT client{};
  GetClientRect(form.time->Handle(), &client);
  EXPECT_EQ(upDown->Left() + upDown->Width(), client.right);
  const auto shot = Shot(upDown->Handle());
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->Pixel(0, 0), Color(TSkinColorKey::SKIN2_TOOLBARBORDERCOLOR));
  EXPECT_EQ(shot->Pixel(3, 3), FormColor());

  // A person picks the hours and presses the arrows.
  RealClick(ScreenPoint(form.time->Handle(), {8, client.bottom / 2}));
  PumpFor(100);
  const double before = form.time->Time();
  RealClick(ScreenPoint(upDown->Handle(), {upDown->Width() / 2, 3}));
  PumpFor(150);
  const double up = form.time->Time();
  EXPECT_NE(up, before) << "the upper arrow steps the picker";
  RealClick(ScreenPoint(upDown->Handle(), {upDown->Width() / 2, upDown->Height() - 3}));
  PumpFor(150);
  EXPECT_DOUBLE_EQ(form.time->Time(), before) << "and the lower one steps it back";
  SaveWindowShot(form.Handle(), "screenshots/skin-time-picker.bmp");

  form.Engine->SetActive(false);
  PumpFor(100);
  EXPECT_TRUE(Shown(native)) << "unskinned, the native up-down is back";
  EXPECT_FALSE(upDown->Visible());
  form.Engine->SetActive(true);
  PumpFor(100);
  EXPECT_FALSE(Shown(native));
  EXPECT_TRUE(upDown->Visible());
}

TEST_F(SkinPickersTest, APickerTaggedToKeepItsUpDownKeepsTheNativeOne) {
  auto* skinner = SkinnerOf<TSkinDateTimePicker>(form.kept);
  ASSERT_NE(skinner, nullptr) << "skinned all the same (its border)";
  EXPECT_EQ(skinner->UpDown(), nullptr);
  EXPECT_TRUE(Shown(skinner->NativeUpDown()));
}

TEST_F(SkinPickersTest, APickerFreedWhileSkinnedTakesItsUpDownsSkinnerAlong) {
  TSkinWindow* frame = form.Engine->FrameOf(form.Handle());
  ASSERT_NE(frame, nullptr);
  auto* skinner = SkinnerOf<TSkinDateTimePicker>(form.time);
  ASSERT_TRUE(skinner && skinner->UpDown());
  TControl* upDown = skinner->UpDown();
  ASSERT_NE(SkinnerOf<TSkinControlFramework>(upDown), nullptr);
  const std::size_t before = frame->Children.size();
  delete form.time;
  PumpFor(50);
  EXPECT_EQ(frame->Children.size(), before - 2) << "the picker's skinner and its up-down's";
  // Unskinning the rest (a skin change) still goes cleanly.
  form.Engine->SetSkinFile(TestSkinFile("FiveSect"));
  PumpFor(100);
  EXPECT_NE(SkinnerOf<TSkinDateTimePicker>(form.kept), nullptr);
}

TEST_F(SkinPickersTest, TheListViewsHeaderIsPaintedInTheSkinsColours) {
  auto* skinner = SkinnerOf<TSkinListView>(form.list);
  ASSERT_NE(skinner, nullptr) << "the list view's own row";
  HWND header = form.list->HeaderHandle();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(skinner->Header(), header);
  const TColor border = Color(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR);
  const TColor font = Color(TSkinColorKey::SKIN2_CONTROLFONTCOLOR);
  ASSERT_NE(FormColor(), border);
  ASSERT_NE(FormColor(), font);
  auto shot = Shot(header);
  ASSERT_TRUE(shot);
  const int h = shot->Height();
  int lastRight = 0;
  for (int i = 0; i < 3; ++i) {
    RECT r{};
    ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(shot->Pixel(r.left + 1, r.top + 1), FormColor()) << "section " << i;
    EXPECT_EQ(shot->Pixel(r.right - 1, (r.top + r.bottom) / 2), border) << "divider of section " << i;
    EXPECT_EQ(shot->Pixel(r.left + 1, h - 1), border) << "bottom line under section " << i;
    // The caption in the control font colour, where its alignment puts it.
    int first = -1, last = -1;
    for (int x = r.left; x < r.right - 1; ++x)
      for (int y = r.top; y < r.bottom - 1; ++y)
        if (shot->Pixel(x, y) == font) {
          if (first < 0) first = x;
          last = x;
        }
    ASSERT_GE(first, 0) << "caption of section " << i;
    const int middle = (r.left + r.right) / 2;
    if (i == 0) {
      EXPECT_LT(last, middle) << "left-justified";
    } else if (i == 1) {
      EXPECT_GT(first, middle - 4) << "right-justified";
    } else {
      EXPECT_LE(std::abs((first + last) / 2 - middle), 3) << "centred";
    }
    lastRight = r.right;
  }
  EXPECT_EQ(shot->Pixel((lastRight + shot->Width()) / 2, 2), FormColor()) << "the space after the last section";
  SaveWindowShot(form.Handle(), "screenshots/skin-list-view.bmp");

  // Changing a column repaints the header in the skin's look.
  form.list->Columns().Items(0)->SetCaption("Renamed");
  PumpFor(100);
  shot = TakeWindowShot(header);
  RECT r{};
  SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(shot->Pixel(r.right - 1, (r.top + r.bottom) / 2), border);

  form.Engine->SetActive(false);
  shot = Shot(header);
  EXPECT_NE(shot->Pixel(r.left + 1, r.top + 2), FormColor()) << "unskinned, the header paints itself";
  EXPECT_NE(shot->Pixel(r.right - 1, (r.top + r.bottom) / 2), border);
  form.Engine->SetActive(true);
  shot = Shot(header);
  EXPECT_EQ(shot->Pixel(r.right - 1, (r.top + r.bottom) / 2), border);
}

TEST_F(SkinPickersTest, TheListViewGetsScrollPanelsOverItsBars) {
  auto* skinner = SkinnerOf<TSkinListView>(form.list);
  ASSERT_TRUE(skinner && skinner->VertPanel() && skinner->HorzPanel());
  InvalidateRect(form.list->Handle(), nullptr, TRUE);
  PumpFor(150);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(form.list->Handle(), OBJID_VSCROLL, &info));
  ASSERT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "forty items need a bar";
  RECT panel{};
  GetWindowRect(skinner->VertPanel()->Handle(), &panel);
  EXPECT_TRUE(IsWindowVisible(skinner->VertPanel()->Handle()));
  EXPECT_TRUE(EqualRect(&panel, &info.rcScrollBar));
  EXPECT_FALSE(IsWindowVisible(skinner->HorzPanel()->Handle())) << "the columns fit";
}

// The button panels, the up-downs with their skinners and the taken-over
// header go with their form, or with the engine when it goes first.
TEST(SkinPickersLeak, SkinnedPickersAndListViewsComeAndGoWithoutATrace) {
  TApplication app;
  const auto cycle = [](bool engineFirst) {
    auto* form = new PickerForm;
    form->Show();
    PumpFor(20);
    if (engineFirst) {
      delete form->Engine;
      PumpFor(10);
    }
    delete form;
    PumpFor(10);
  };
  cycle(false);
  cycle(true);
  const int components = TComponent::LiveCount(), windows = ThreadWindowCount(), owned = gdi::LiveObjects(),
            process = ProcessGdiObjects();
  for (int i = 0; i < 30; ++i) cycle(i % 2 == 0);
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(gdi::LiveObjects(), owned);
  EXPECT_EQ(ProcessGdiObjects(), process) << ProcessGdiObjectKinds();
}
