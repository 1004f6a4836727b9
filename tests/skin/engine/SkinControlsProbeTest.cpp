// Skinned controls and scroll bars driven the way a person drives them:
// double clicks, held keys, presses that wander off and come back, tabbing,
// check boxes and combo boxes worked with mouse and keys, skinned scroll
// bars clicked, held and dragged, message-box buttons, and the engine
// turned off and on many times. Each skinned result is compared with what
// the same control does unskinned where the two must agree.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <set>

#include "GalleryForm.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinButtons.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinScrollBars.h"
#include "skin/engine/SkinWindow.h"
#include "support/GdiObjectCount.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"
#include "support/WindowCount.h"
#include "support/SkinnerLookup.h"

namespace {

class ProbeForm : public TForm {
public:
  PLIMET_CLASS_NAME(ProbeForm)
  ProbeForm() : TForm(nullptr) {
    SetCaption("Probe");
    SetBounds(80, 80, 520, 360);
    button = Place<TButton>(20, 20, 90, 26);
    button->SetCaption("Count");
    button->OnClick = [this](TComponent*) { ++clicks; };
    byDefault = Place<TButton>(130, 20, 90, 26);
    byDefault->SetCaption("Default");
    byDefault->Default = true;
    DefaultButton = byDefault;
    byDefault->OnClick = [this](TComponent*) { ++defaultClicks; };
    check = Place<TCheckBox>(20, 60, 120, 20);
    check->SetCaption("Check");
    radio = Place<TRadioButton>(20, 90, 120, 20);
    radio->SetCaption("Radio");
    radio->OnDblClick = [this](TComponent*) { ++radioDoubleClicks; };
    combo = Place<TComboBox>(20, 120, 150, 24);
    for (const char* item : {"Alpha", "Beta", "Gamma"}) combo->AddItem(item);
    list = Place<TListBox>(20, 160, 150, 120);
    memo = Place<TMemo>(240, 20, 200, 160);
    memo->SetWordWrap(false);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("line " + std::to_string(i));
    memo->SetLines(lines);
    bar = new TScrollBar(this);
    bar->SetParent(this);
    bar->SetKind(TScrollBarKind::sbVertical);
    bar->SetBounds(460, 20, 17, 200);
    bar->SetParams(0, 0, 100);
    bar->SmallChange = 1;
    bar->LargeChange = 10;
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  template <typename T>
  T* Place(int left, int top, int width, int height) {
    auto* control = new T(this);
    control->SetParent(this);
    control->SetBounds(left, top, width, height);
    return control;
  }
  TButton* button;
  TButton* byDefault;
  TCheckBox* check;
  TRadioButton* radio;
  TComboBox* combo;
  TListBox* list;
  TMemo* memo;
  TScrollBar* bar;
  TSkinEngine* Engine;
  int clicks = 0;
  int defaultClicks = 0;
  int radioDoubleClicks = 0;
};

POINT Middle(TWinControl* control) { return ScreenPoint(control->Handle(), {control->Width() / 2, control->Height() / 2}); }

RECT NativeBar(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, object, &info);
  return info.rcScrollBar;
}

SCROLLBARINFO BarInfo(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, object, &info);
  return info;
}

// A key held long enough to repeat: the system sends its down message again
// before the one release.
void HeldKey(WORD key, int repeats) {
  std::vector<INPUT> inputs;
  for (int i = 0; i < repeats; ++i) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  INPUT up{};
  up.type = INPUT_KEYBOARD;
  up.ki.wVk = key;
  up.ki.dwFlags = KEYEVENTF_KEYUP;
  inputs.push_back(up);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A hand on the mouse while this thread is inside a control's own
// tracking loop (a scroll bar tracks until the button goes up): the hand
// works from another thread, this one handles messages meanwhile.
void WithHand(const std::function<void()>& hand, DWORD pumpMilliseconds) {
  std::thread worker(hand);
  PumpFor(pumpMilliseconds);
  worker.join();
  PumpFor(100);
}

// Presses at a point, moves the pointer by (0, dy) in steps and lets go there.
void DragBy(POINT from, int dy, int steps) {
  RealMove(from);
  Sleep(80);
  RealLeftButton(true);
  Sleep(120);
  for (int step = 1; step <= steps; ++step) {
    RealMove({from.x, from.y + dy * step / steps});
    Sleep(40);
  }
  RealLeftButton(false);
}

class SkinControlsProbe : public ::testing::Test {
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
  void Unskin() {
    form.Engine->SetActive(false);
    PumpFor(150);
  }
  int MemoLine() { return GetScrollPos(form.memo->Handle(), SB_VERT); }
  void MemoToTop() {
    SendMessageA(form.memo->Handle(), WM_VSCROLL, SB_TOP, 0);
    PumpFor(100);
  }
  TColor BarColor() {
    return static_cast<TColor>(skin::ToRgb(form.Engine->GetColor(TSkinColorKey::SKIN2_SCROLLBARCOLOR)));
  }
  // The middle pixel of a mark frame of a skin strip.
  TColor MarkMiddle(TSkinBitmapKey key, int frames, int frame) {
    TBitmap cell;
    form.Engine->CopyBitmap(key, cell, frames, frame);
    return cell.Pixel(cell.Width() / 2, cell.Height() / 2);
  }
  // The screen pixel in the middle of the mark of a check box.
  TColor ShownCheckMark() {
    PumpFor(100);
    const TBitmap* strip = form.Engine->GetBitmap(TSkinBitmapKey::SKIN2_CHECKBOX);
    const int w = strip->Width() / 6, h = strip->Height();
    const auto shot = TakeWindowShot(form.check->Handle());
    return shot ? shot->Pixel(w / 2, (form.check->Height() - h) / 2 + h / 2) : kNoColor;
  }
  TApplication app;
  ProbeForm form;
};

} // namespace

// --- push buttons ------------------------------------------------------------------------

TEST_F(SkinControlsProbe, ADoubleClickOnASkinnedButtonClicksAsOftenAsTheNativeOne) {
  RealClick(Middle(form.button), false, 2);
  PumpFor(250);
  const int skinned = form.clicks;
  Unskin();
  form.clicks = 0;
  RealClick(Middle(form.button), false, 2);
  PumpFor(250);
  EXPECT_EQ(skinned, form.clicks) << "a quick second click is not lost";
}

TEST_F(SkinControlsProbe, EnterOnAFocusedButtonClicksItOnceAndNotTheDefaultOne) {
  form.button->SetFocus();
  PumpFor(50);
  RealKey(VK_RETURN);
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(form.defaultClicks, 0);
  // From a control that is not a button, Enter is the default button's.
  form.check->SetFocus();
  PumpFor(50);
  RealKey(VK_RETURN);
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(form.defaultClicks, 1);
}

TEST_F(SkinControlsProbe, ASpaceHeldUntilItRepeatsClicksOnce) {
  form.button->SetFocus();
  PumpFor(50);
  HeldKey(VK_SPACE, 4);
  PumpFor(200);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(form.defaultClicks, 0);
}

// Space pressed on one button and let go after Tab took the focus on clicks
// neither: the button that sees the release never saw the press.
TEST_F(SkinControlsProbe, ASpaceReleasedAfterTabClicksNeitherButton) {
  auto spaceThenTab = [&] {
    form.button->SetFocus();
    PumpFor(80);
    std::vector<INPUT> keys(4);
    for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_SPACE;
    keys[1].ki.wVk = VK_TAB;
    keys[2].ki.wVk = VK_TAB;
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_SPACE;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    PumpFor(250);
  };
  spaceThenTab();
  ASSERT_EQ(GetFocus(), form.byDefault->Handle()) << "Tab moved on to the next button";
  const int skinned = form.clicks + form.defaultClicks;
  Unskin();
  form.clicks = form.defaultClicks = 0;
  spaceThenTab();
  EXPECT_EQ(form.clicks + form.defaultClicks, 0) << "unskinned";
  EXPECT_EQ(skinned, 0) << "skinned";
}

// A press that wanders off the button and comes back before the release
// clicks, skinned or not: the button holds the mouse until the release.
TEST_F(SkinControlsProbe, APressThatLeavesAndComesBackClicksAsNatively) {
  auto wander = [&] {
    RealMove(Middle(form.button));
    PumpFor(80);
    RealLeftButton(true);
    PumpFor(80);
    RealMove(ScreenPoint(form.Handle(), {150, 300}));
    PumpFor(150);
    RealMove(Middle(form.button));
    PumpFor(150);
    RealLeftButton(false);
    PumpFor(150);
  };
  wander();
  const int skinned = form.clicks;
  Unskin();
  form.clicks = 0;
  wander();
  EXPECT_EQ(skinned, 1) << "released over the button it was pressed on";
  EXPECT_EQ(skinned, form.clicks);
}

// A held press that something else ends: the skin turned off, the button
// disabled, another window taking the mouse. The button lets the mouse go,
// does not click, and a later click anywhere is that control's own.
TEST_F(SkinControlsProbe, AHeldPressEndedFromOutsideLetsTheMouseGoAndDoesNotClick) {
  auto holdThen = [&](const std::function<void()>& meanwhile) {
    RealMove(Middle(form.button));
    PumpFor(80);
    RealLeftButton(true);
    PumpFor(100);
    meanwhile();
    PumpFor(80);
    RealLeftButton(false);
    PumpFor(150);
  };
  auto checkClickIsTheChecksOwn = [&](const char* when) {
    EXPECT_NE(GetCapture(), form.button->Handle()) << when;
    const bool was = form.check->Checked();
    RealClick(Middle(form.check));
    PumpFor(150);
    EXPECT_NE(form.check->Checked(), was) << when;
  };
  // Disabled while held, enabled again after the release.
  holdThen([&] { form.button->SetEnabled(false); });
  form.button->SetEnabled(true);
  PumpFor(80);
  EXPECT_EQ(form.clicks, 0) << "disabled while held";
  checkClickIsTheChecksOwn("disabled while held");
  // Another window takes the mouse while the button is held.
  holdThen([&] { SetCapture(form.memo->Handle()); });
  if (GetCapture() == form.memo->Handle()) ReleaseCapture();
  EXPECT_EQ(form.clicks, 0) << "mouse taken";
  if (auto* skinner = SkinnerOf<TSkinButton>(form.button)) {
    EXPECT_FALSE(skinner->Pressed());
  }
  checkClickIsTheChecksOwn("mouse taken");
  // Still a button that clicks.
  RealClick(Middle(form.button));
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
  // The skin turned off while held.
  form.clicks = 0;
  holdThen([&] { form.Engine->SetActive(false); });
  checkClickIsTheChecksOwn("skin turned off while held");
  form.Engine->SetActive(true);
  PumpFor(150);
  RealMove(ScreenPoint(form.Handle(), {150, 300}));
  PumpFor(80);
  RealLeftButton(true);
  PumpFor(80);
  RealMove(Middle(form.button));
  PumpFor(80);
  RealLeftButton(false);
  PumpFor(150);
  EXPECT_EQ(form.clicks, 0) << "a release that was never pressed on the button does not click it";
}

// Pressed and let go outside, the button shows neither pressed nor hot;
// the right button and a held double click's wandering second press do not click.
TEST_F(SkinControlsProbe, AReleaseOutsideLeavesAPlainFaceAndTheRightButtonDoesNotClick) {
  auto* skinner = SkinnerOf<TSkinButton>(form.button);
  ASSERT_TRUE(skinner);
  for (POINT away : {ScreenPoint(form.Handle(), {150, 300}), POINT{2, 2}}) {
    RealMove(Middle(form.button));
    PumpFor(80);
    RealLeftButton(true);
    PumpFor(80);
    RealMove(away);
    PumpFor(150);
    RealLeftButton(false);
    PumpFor(200);
    EXPECT_FALSE(skinner->Pressed());
    EXPECT_FALSE(skinner->Hover());
    EXPECT_NE(GetCapture(), form.button->Handle());
  }
  EXPECT_EQ(form.clicks, 0);
  auto rightAndWander = [&] {
    RealClick(Middle(form.button), true);
    PumpFor(150);
    // A double click whose second press leaves before it is let go.
    RealClick(Middle(form.button));
    RealLeftButton(true);
    PumpFor(80);
    RealMove(ScreenPoint(form.Handle(), {150, 300}));
    PumpFor(100);
    RealLeftButton(false);
    PumpFor(200);
  };
  rightAndWander();
  const int skinned = form.clicks;
  Unskin();
  form.clicks = 0;
  rightAndWander();
  EXPECT_EQ(skinned, 1);
  EXPECT_EQ(skinned, form.clicks);
}

TEST_F(SkinControlsProbe, TabbingCarriesTheFocusRectangleFromButtonToButton) {
  RealMove({0, 0});
  PumpFor(100);
  form.check->SetFocus();
  PumpFor(100);
  const auto plain = TakeWindowShot(form.button->Handle());
  form.button->SetFocus();
  PumpFor(100);
  const auto focused = TakeWindowShot(form.button->Handle());
  RealKey(VK_TAB);
  PumpFor(150);
  EXPECT_NE(GetFocus(), form.button->Handle()) << "Tab moved the focus on";
  const auto left = TakeWindowShot(form.button->Handle());
  ASSERT_TRUE(plain && focused && left);
  const int w = plain->Width(), h = plain->Height();
  int focusDiffers = 0, leftDiffers = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      focusDiffers += plain->Pixel(x, y) != focused->Pixel(x, y);
      leftDiffers += plain->Pixel(x, y) != left->Pixel(x, y);
    }
  EXPECT_GT(focusDiffers, 0) << "a focused button shows its focus";
  EXPECT_EQ(leftDiffers, 0) << "the focus rectangle goes with the focus";
  // Shift+Tab brings it back.
  RealKey(VK_TAB, {VK_SHIFT});
  PumpFor(150);
  EXPECT_EQ(GetFocus(), form.button->Handle());
}

// The button's own state keeps up while skinned, so that turning the engine
// off shows no focus on a button that lost it long ago.
TEST_F(SkinControlsProbe, AButtonThatLostTheFocusWhileSkinnedShowsNoFocusUnskinned) {
  form.button->SetFocus();
  PumpFor(80);
  RealKey(VK_TAB);
  PumpFor(150);
  ASSERT_NE(GetFocus(), form.button->Handle());
  EXPECT_EQ(SendMessageA(form.button->Handle(), BM_GETSTATE, 0, 0) & BST_FOCUS, 0) << "skinned";
  Unskin();
  EXPECT_EQ(SendMessageA(form.button->Handle(), BM_GETSTATE, 0, 0) & BST_FOCUS, 0) << "unskinned";
}

// --- check boxes, radio buttons, combo boxes ------------------------------------------------

TEST_F(SkinControlsProbe, ACheckBoxsMarkFollowsMouseSpaceAndDoubleClick) {
  const TColor checkedMark = MarkMiddle(TSkinBitmapKey::SKIN2_CHECKBOX, 6, 1);
  const TColor uncheckedMark = MarkMiddle(TSkinBitmapKey::SKIN2_CHECKBOX, 6, 3);
  ASSERT_NE(checkedMark, uncheckedMark);
  const POINT box = ScreenPoint(form.check->Handle(), {6, form.check->Height() / 2});
  EXPECT_EQ(ShownCheckMark(), uncheckedMark);
  RealClick(box);
  PumpFor(150);
  EXPECT_TRUE(form.check->Checked());
  EXPECT_EQ(ShownCheckMark(), checkedMark) << "after a click";
  RealKey(VK_SPACE);
  PumpFor(150);
  EXPECT_FALSE(form.check->Checked());
  EXPECT_EQ(ShownCheckMark(), uncheckedMark) << "after Space";
  RealKey(VK_TAB);
  PumpFor(100);
  RealKey(VK_TAB, {VK_SHIFT});
  PumpFor(100);
  EXPECT_EQ(ShownCheckMark(), uncheckedMark) << "after the focus came back";
  RealClick(box, false, 2);
  PumpFor(250);
  const bool skinnedAfterDouble = form.check->Checked();
  EXPECT_EQ(ShownCheckMark(), skinnedAfterDouble ? checkedMark : uncheckedMark) << "after a double click";
  Unskin();
  form.check->SetChecked(false);
  RealClick(box, false, 2);
  PumpFor(250);
  EXPECT_EQ(skinnedAfterDouble, form.check->Checked()) << "a double click toggles as the native box does";
}

TEST_F(SkinControlsProbe, ARadioButtonsDoubleClickIsToldOnceAndChecksIt) {
  RealClick(ScreenPoint(form.radio->Handle(), {6, form.radio->Height() / 2}), false, 2);
  PumpFor(250);
  EXPECT_TRUE(form.radio->Checked());
  EXPECT_EQ(form.radioDoubleClicks, 1);
  const TBitmap* strip = form.Engine->GetBitmap(TSkinBitmapKey::SKIN2_RADIOBUTTON);
  const int w = strip->Width() / 4, h = strip->Height();
  const auto shot = TakeWindowShot(form.radio->Handle());
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->Pixel(w / 2, (form.radio->Height() - h) / 2 + h / 2),
            MarkMiddle(TSkinBitmapKey::SKIN2_RADIOBUTTON, 4, 1));
}

TEST_F(SkinControlsProbe, AComboDropsByClickAndByAltDownAndTakesTheChosenItem) {
  HWND combo = form.combo->Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  const POINT arrow = ScreenPoint(combo, {(info.rcButton.left + info.rcButton.right) / 2,
                                          (info.rcButton.top + info.rcButton.bottom) / 2});
  RealClick(arrow);
  PumpFor(200);
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << "dropped by a click on the skinned button";
  RealKey(VK_ESCAPE);
  PumpFor(150);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  form.combo->SetFocus();
  PumpFor(50);
  RealKey(VK_DOWN, {VK_MENU});
  PumpFor(200);
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << "dropped by Alt+Down";
  RealKey(VK_DOWN);
  RealKey(VK_DOWN);
  RealKey(VK_UP, {VK_MENU});
  PumpFor(200);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << "closed by Alt+Up";
  EXPECT_EQ(form.combo->ItemIndex(), 1);
  // Closed again, the button is the skin's.
  RealMove({0, 0});
  PumpFor(150);
  const auto shot = TakeWindowShot(combo);
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->Pixel(info.rcButton.right - 2, info.rcButton.top + 2),
            static_cast<TColor>(skin::ToRgb(form.Engine->GetColor(TSkinColorKey::SKIN2_CONTROLCOLOR))));
}

// Enter in a dropped list chooses the item and closes the list, as in any
// dialog; it is not the form's default button's. (The same happens
// unskinned: the form takes Enter before the list sees it.)
TEST_F(SkinControlsProbe, EnterAndEscapeInADroppedComboListAreTheListsNotTheFormButtons) {
  HWND combo = form.combo->Handle();
  form.combo->SetFocus();
  PumpFor(50);
  RealKey(VK_DOWN, {VK_MENU});
  PumpFor(200);
  ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  RealKey(VK_DOWN);
  RealKey(VK_DOWN);
  RealKey(VK_RETURN);
  PumpFor(200);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(form.combo->ItemIndex(), 1);
  EXPECT_EQ(form.defaultClicks, 0);

  // Escape closes the list and leaves the choice; the cancel button is not pressed.
  int cancels = 0;
  auto* cancel = new TButton(&form);
  cancel->SetParent(&form);
  cancel->SetBounds(240, 200, 90, 26);
  cancel->Cancel = true;
  cancel->OnClick = [&cancels](TComponent*) { ++cancels; };
  form.CancelButton = cancel;
  form.combo->SetFocus();
  PumpFor(50);
  RealKey(VK_DOWN, {VK_MENU});
  PumpFor(200);
  ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  RealKey(VK_ESCAPE);
  PumpFor(200);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(cancels, 0);
  // Closed, Enter and Escape are the form's again.
  RealKey(VK_RETURN);
  RealKey(VK_ESCAPE);
  PumpFor(200);
  EXPECT_EQ(form.defaultClicks, 1);
  EXPECT_EQ(cancels, 1);
}

// --- scroll bars -----------------------------------------------------------------------------

TEST_F(SkinControlsProbe, DraggingTheSkinnedThumbScrollsAndThePictureFollows) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.memo);
  ASSERT_TRUE(skinner && skinner->VertPanel());
  const SCROLLBARINFO before = BarInfo(form.memo->Handle(), OBJID_VSCROLL);
  const RECT bar = before.rcScrollBar;
  const int x = (bar.left + bar.right) / 2;
  const int thumbMiddle = bar.top + (before.xyThumbTop + before.xyThumbBottom) / 2;
  WithHand([&] { DragBy({x, thumbMiddle}, 60, 6); }, 1000);
  EXPECT_GT(MemoLine(), 0) << "the drag scrolled the memo";
  const SCROLLBARINFO after = BarInfo(form.memo->Handle(), OBJID_VSCROLL);
  ASSERT_GT(after.xyThumbTop, before.xyThumbBottom) << "the thumb moved past its old place";
  const TBitmap& image = skinner->VertPanel()->Image;
  EXPECT_NE(image.Pixel(image.Width() / 2, (after.xyThumbTop + after.xyThumbBottom) / 2), BarColor())
      << "the picture shows the thumb where the bar has it";
  EXPECT_EQ(image.Pixel(image.Width() / 2, (before.xyThumbTop + before.xyThumbBottom) / 2), BarColor())
      << "and not where it was";
  const auto shot = TakeWindowShot(skinner->VertPanel()->Handle());
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->Pixel(shot->Width() / 2, (after.xyThumbTop + after.xyThumbBottom) / 2),
            image.Pixel(image.Width() / 2, (after.xyThumbTop + after.xyThumbBottom) / 2))
      << "the screen shows the picture";
}

TEST_F(SkinControlsProbe, DoubleClicksHeldPressesAndTroughClicksScrollAsTheNativeBarDoes) {
  const RECT bar = NativeBar(form.memo->Handle(), OBJID_VSCROLL);
  const int side = bar.right - bar.left;
  const POINT downArrow{bar.left + side / 2, bar.bottom - side / 2};
  const POINT trough{bar.left + side / 2, bar.bottom - side - 10};
  auto work = [&](std::vector<int>& lines) {
    MemoToTop();
    RealClick(downArrow, false, 2);
    PumpFor(250);
    lines.push_back(MemoLine());
    MemoToTop();
    RealClick(trough);
    PumpFor(250);
    lines.push_back(MemoLine());
    MemoToTop();
    WithHand(
        [&] {
          RealMove(downArrow);
          Sleep(80);
          RealLeftButton(true);
          Sleep(700);
          RealLeftButton(false);
        },
        1100);
    lines.push_back(MemoLine());
  };
  std::vector<int> skinned, native;
  work(skinned);
  Unskin();
  work(native);
  ASSERT_EQ(skinned.size(), 3u);
  EXPECT_EQ(skinned[0], native[0]) << "double click on the arrow";
  EXPECT_EQ(skinned[1], native[1]) << "click in the trough";
  EXPECT_GT(skinned[2], 2) << "a held arrow repeats";
  EXPECT_NEAR(skinned[2], native[2], 3) << "a held arrow repeats as the native one";
}

TEST_F(SkinControlsProbe, AStandAloneBarWorksWithThePointerThroughItsPanel) {
  auto* skinner = SkinnerOf<TSkinScrollBar>(form.bar);
  ASSERT_TRUE(skinner && skinner->Panel());
  RECT r{};
  GetWindowRect(form.bar->Handle(), &r);
  const int side = r.right - r.left;
  RealClick({r.left + side / 2, r.bottom - side / 2});
  PumpFor(200);
  EXPECT_EQ(form.bar->Position(), 1) << "one small change";
  RealClick({r.left + side / 2, r.bottom - side - 10});
  PumpFor(200);
  EXPECT_EQ(form.bar->Position(), 11) << "and one large change";
  // Dragging the thumb through the panel.
  const SCROLLBARINFO info = BarInfo(form.bar->Handle(), OBJID_CLIENT);
  const int thumb = r.top + (info.xyThumbTop + info.xyThumbBottom) / 2;
  WithHand([&] { DragBy({r.left + side / 2, thumb}, 50, 5); }, 1000);
  EXPECT_GT(form.bar->Position(), 11) << "the thumb was dragged";
  const SCROLLBARINFO moved = BarInfo(form.bar->Handle(), OBJID_CLIENT);
  const TBitmap& image = skinner->Panel()->Image;
  EXPECT_NE(image.Pixel(image.Width() / 2, (moved.xyThumbTop + moved.xyThumbBottom) / 2), BarColor());
}

TEST_F(SkinControlsProbe, APanelComesAndGoesWithItsBarAndFollowsTheControl) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.list);
  ASSERT_TRUE(skinner && skinner->VertPanel());
  HWND panel = skinner->VertPanel()->Handle();
  HWND list = form.list->Handle();
  EXPECT_FALSE(IsWindowVisible(panel)) << "an empty list has no bar";
  for (int i = 0; i < 40; ++i) form.list->AddItem("item " + std::to_string(i));
  PumpFor(200);
  ASSERT_FALSE(BarInfo(list, OBJID_VSCROLL).rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the list shows its bar";
  EXPECT_TRUE(IsWindowVisible(panel)) << "the panel came with the bar";
  RECT shown{};
  GetWindowRect(panel, &shown);
  const RECT bar = NativeBar(list, OBJID_VSCROLL);
  EXPECT_TRUE(EqualRect(&shown, &bar));
  // Moved and made taller, the panel keeps lying on the bar.
  form.list->SetBounds(30, 150, 160, 150);
  PumpFor(200);
  GetWindowRect(panel, &shown);
  const RECT moved = NativeBar(list, OBJID_VSCROLL);
  EXPECT_TRUE(EqualRect(&shown, &moved)) << "after the list moved";
  // Hidden with its control, shown with it.
  form.list->SetVisible(false);
  PumpFor(150);
  EXPECT_FALSE(IsWindowVisible(panel));
  form.list->SetVisible(true);
  PumpFor(200);
  EXPECT_TRUE(IsWindowVisible(panel));
  // Emptied, the bar goes and the panel must not stay over the list's items.
  form.list->ClearItems();
  PumpFor(200);
  ASSERT_TRUE(BarInfo(list, OBJID_VSCROLL).rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the bar went";
  EXPECT_FALSE(IsWindowVisible(panel)) << "the panel went with it";
  // Nor does the skin applied again bring back the panel of a bar that is gone.
  form.Engine->SetActive(false);
  PumpFor(100);
  form.Engine->SetActive(true);
  PumpFor(250);
  EXPECT_FALSE(IsWindowVisible(panel)) << "after the engine was off and on";
  EXPECT_FALSE(IsWindowVisible(skinner->HorzPanel()->Handle())) << "a list without a horizontal bar";
}

TEST_F(SkinControlsProbe, TheThumbFollowsTheWheelAndTheKeys) {
  auto* skinner = SkinnerOf<TSkinScrollWinControl>(form.memo);
  ASSERT_TRUE(skinner && skinner->VertPanel());
  const TBitmap& image = skinner->VertPanel()->Image;
  auto thumbShown = [&] {
    const SCROLLBARINFO info = BarInfo(form.memo->Handle(), OBJID_VSCROLL);
    return image.Pixel(image.Width() / 2, (info.xyThumbTop + info.xyThumbBottom) / 2) != BarColor();
  };
  form.memo->SetFocus();
  RealMove(Middle(form.memo));
  PumpFor(80);
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-3 * WHEEL_DELTA);
  SendInput(1, &wheel, sizeof wheel);
  PumpFor(200);
  EXPECT_GT(MemoLine(), 0) << "the wheel scrolled";
  EXPECT_TRUE(thumbShown()) << "after the wheel";
  RealKey(VK_END, {VK_CONTROL});
  PumpFor(200);
  EXPECT_GT(MemoLine(), 100) << "Ctrl+End went down";
  EXPECT_TRUE(thumbShown()) << "after Ctrl+End";
  RealKey(VK_HOME, {VK_CONTROL});
  PumpFor(200);
  EXPECT_EQ(MemoLine(), 0);
  EXPECT_TRUE(thumbShown()) << "after Ctrl+Home";
}

TEST_F(SkinControlsProbe, ADoubleClickOnAStandAloneBarsArrowStepsAsTheNativeOne) {
  RECT r{};
  GetWindowRect(form.bar->Handle(), &r);
  const int side = r.right - r.left;
  const POINT arrow{r.left + side / 2, r.bottom - side / 2};
  RealClick(arrow, false, 2);
  PumpFor(300);
  const int skinned = form.bar->Position();
  Unskin();
  form.bar->SetPosition(0);
  RealClick(arrow, false, 2);
  PumpFor(300);
  EXPECT_EQ(skinned, form.bar->Position()) << "the second click of a double click steps too";
}

// --- the engine off and on --------------------------------------------------------------------

TEST_F(SkinControlsProbe, TheEngineTurnedOffAndOnManyTimesLeavesNothingBehindAndStillWorks) {
  auto* memoSkinner = SkinnerOf<TSkinScrollWinControl>(form.memo);
  ASSERT_TRUE(memoSkinner);
  for (int i = 0; i < 4; ++i) {
    form.Engine->SetActive(false);
    form.Engine->SetActive(true);
  }
  PumpFor(150);
  const int windows = ThreadWindowCount();
  const int objects = ProcessGdiObjects();
  for (int i = 0; i < 60; ++i) {
    form.Engine->SetActive(false);
    app.ProcessMessages();
    form.Engine->SetActive(true);
    app.ProcessMessages();
  }
  PumpFor(200);
  EXPECT_EQ(ThreadWindowCount(), windows);
  if (objects >= 0) {
    EXPECT_LE(ProcessGdiObjects(), objects + 4) << ProcessGdiObjectKinds();
  }
  EXPECT_EQ(SkinnerOf<TSkinScrollWinControl>(form.memo), memoSkinner) << "the same skinners";
  // Still skinned and still answering the pointer.
  EXPECT_EQ(SendMessageA(form.button->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  RealClick(Middle(form.button));
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
  const RECT bar = NativeBar(form.memo->Handle(), OBJID_VSCROLL);
  RealClick({(bar.left + bar.right) / 2, bar.bottom - (bar.right - bar.left) / 2});
  PumpFor(200);
  EXPECT_EQ(MemoLine(), 1);
  EXPECT_TRUE(IsWindowVisible(memoSkinner->VertPanel()->Handle()));
}

TEST_F(SkinControlsProbe, ControlsFreedWhileSkinnedTakeTheirPanelsAlongAndTheRestStaysSkinned) {
  TSkinWindow* frame = form.Engine->FrameOf(form.Handle());
  ASSERT_TRUE(frame);
  const std::size_t skinners = frame->Children.size();
  const int windows = ThreadWindowCount();
  delete form.memo; // its two panels go with it
  PumpFor(100);
  EXPECT_EQ(ThreadWindowCount(), windows - 3);
  delete form.bar; // and the stand-alone bar's panel
  PumpFor(100);
  EXPECT_EQ(ThreadWindowCount(), windows - 5);
  delete form.combo;
  PumpFor(100);
  EXPECT_EQ(frame->Children.size(), skinners - 3);
  // The rest goes on: off, on, another skin, and a click.
  form.Engine->SetActive(false);
  form.Engine->SetActive(true);
  form.Engine->SetSkinFile(TestSkinFile("FiveSect"));
  form.Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  PumpFor(200);
  EXPECT_EQ(frame->Children.size(), skinners - 3);
  RealClick(Middle(form.button));
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
}

// --- the system's message boxes ----------------------------------------------------------------

TEST_F(SkinControlsProbe, AMessageBoxButtonPressedAndReleasedOutsideDoesNotAnswer) {
  ModalDriver driver;
  bool stillOpen = false;
  driver.When("#32770", [&](HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    RECT r{};
    GetWindowRect(ok, &r);
    RealMove({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    PumpFor(80);
    RealLeftButton(true);
    PumpFor(80);
    RECT whole{};
    GetWindowRect(box, &whole);
    RealMove({whole.right + 40, whole.bottom + 40});
    PumpFor(200);
    RealLeftButton(false);
    PumpFor(200);
    stillOpen = IsWindow(box) && IsWindowVisible(box);
    // Escape answers Cancel.
    SetForegroundWindow(box);
    RealKey(VK_ESCAPE);
  });
  const int answer = MessageBoxA(form.Handle(), "Press and leave", "Box", MB_OKCANCEL);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(SkinControlsProbe, SpaceOnAFocusedMessageBoxButtonAnswersOnce) {
  ModalDriver driver;
  driver.When("#32770", [&](HWND box) {
    HWND cancel = GetDlgItem(box, IDCANCEL);
    SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
    PumpFor(100);
    HeldKey(VK_SPACE, 3);
  });
  const int answer = MessageBoxA(form.Handle(), "Space", "Box", MB_OKCANCEL);
  EXPECT_EQ(answer, IDCANCEL);
  // A second box must not receive a click left over from the first one.
  ModalDriver second;
  second.When("#32770", [&](HWND box) {
    PumpFor(300);
    SetForegroundWindow(box);
    RealKey(VK_RETURN);
  });
  EXPECT_EQ(MessageBoxA(form.Handle(), "Enter", "Box", MB_OKCANCEL), IDOK);
}

TEST_F(SkinControlsProbe, AMessageBoxButtonIsHotUnderThePointerAndCoolsWhenItLeaves) {
  auto facePixel = [&](int frame) {
    TBitmap cell;
    form.Engine->CopyBitmap(TSkinBitmapKey::SKIN2_BUTTON, cell, 3, frame);
    return cell.Pixel(cell.Width() / 2, 3);
  };
  ASSERT_NE(facePixel(1), facePixel(2));
  std::vector<TColor> seen;
  ModalDriver driver;
  driver.When("#32770", [&](HWND box) {
    HWND cancel = GetDlgItem(box, IDCANCEL);
    RECT r{};
    GetWindowRect(cancel, &r);
    auto look = [&] {
      const auto shot = TakeWindowShot(cancel);
      seen.push_back(shot ? shot->Pixel(shot->Width() / 2, 3) : kNoColor);
    };
    RealMove({r.left - 30, r.top - 30});
    PumpFor(200);
    look();
    RealMove({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    PumpFor(200);
    look();
    // Far away in one jump: no move over the button tells it; its timer does.
    RealMove({5, 5});
    PumpFor(400);
    look();
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(form.Handle(), "Hover", "Box", MB_OKCANCEL);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], facePixel(1)) << "before the pointer came";
  EXPECT_EQ(seen[1], facePixel(2)) << "under the pointer";
  EXPECT_EQ(seen[2], facePixel(1)) << "after the pointer left";
}

// --- a plain dialog of the system's controls ------------------------------------------------

namespace {

constexpr WORD kCheckId = 101, kRadioId = 102, kListComboId = 103, kSimpleComboId = 104, kGroupId = 105;

// A dialog template in memory: the system's own check box, radio button,
// group box, combo boxes and push buttons, as a system dialog has them.
class TDialogTemplate {
public:
  TDialogTemplate() {
    Align();
    Dword(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    Dword(0);
    Word(7); // items
    Word(10), Word(10), Word(200), Word(120);
    Word(0), Word(0); // no menu, the standard class
    Text("Plain");
    Item(0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, kCheckId, 10, 10, 80, 12, "Check");
    Item(0x0080, BS_AUTORADIOBUTTON | WS_TABSTOP, kRadioId, 10, 26, 80, 12, "Radio");
    Item(0x0080, BS_GROUPBOX, kGroupId, 100, 6, 90, 40, "Group");
    Item(0x0085, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kListComboId, 10, 50, 80, 60, "");
    Item(0x0085, CBS_SIMPLE | WS_TABSTOP, kSimpleComboId, 100, 50, 90, 40, "");
    Item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 40, 98, 50, 14, "OK");
    Item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 110, 98, 50, 14, "Cancel");
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
  void Align() {
    while (words_.size() % 2) Word(0);
  }
  void Text(const char* text) {
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Item(WORD atom, DWORD style, WORD id, short x, short y, short cx, short cy, const char* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(x), Word(y), Word(cx), Word(cy), Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0); // no creation data
  }
  std::vector<WORD> words_;
};

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) {
    for (const char* item : {"One", "Two", "Three"}) {
      SendDlgItemMessageA(dialog, kListComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      SendDlgItemMessageA(dialog, kSimpleComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

} // namespace

TEST_F(SkinControlsProbe, APlainDialogsControlsAreSortedByStyleAndWorkWithMouseAndKeys) {
  const TDialogTemplate dialogTemplate;
  const TColor checked = MarkMiddle(TSkinBitmapKey::SKIN2_CHECKBOX, 6, 1);
  const TColor unchecked = MarkMiddle(TSkinBitmapKey::SKIN2_CHECKBOX, 6, 3);
  const TBitmap* strip = form.Engine->GetBitmap(TSkinBitmapKey::SKIN2_CHECKBOX);
  ASSERT_TRUE(strip);
  const int markWidth = strip->Width() / 6, markHeight = strip->Height();
  std::vector<LRESULT> skinned;
  std::vector<std::string> keys;
  std::vector<TColor> marks;
  std::vector<LRESULT> states;
  ModalDriver driver;
  driver.When("#32770", [&](HWND dialog) {
    PumpFor(150);
    for (const int id : {int{kCheckId}, int{kRadioId}, int{kGroupId}, int{kListComboId}, int{kSimpleComboId}, IDOK}) {
      HWND item = GetDlgItem(dialog, id);
      skinned.push_back(SendMessageA(item, WM_SKIN_QUERY, 0, 0));
      keys.push_back(PlainControlKey(item));
    }
    HWND check = GetDlgItem(dialog, kCheckId);
    auto mark = [&] {
      PumpFor(120);
      const auto shot = TakeWindowShot(check);
      marks.push_back(shot ? shot->Pixel(markWidth / 2, markHeight / 2) : kNoColor);
      states.push_back(SendMessageA(check, BM_GETCHECK, 0, 0));
    };
    mark();
    RECT r{};
    GetWindowRect(check, &r);
    RealClick({r.left + 6, (r.top + r.bottom) / 2});
    mark();
    RealKey(VK_SPACE); // the click left the focus on the box
    mark();
    RealKey(VK_TAB);
    PumpFor(80);
    RealKey(VK_TAB, {VK_SHIFT});
    mark();
    // Space on the focused OK button answers OK once.
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDOK)), TRUE);
    PumpFor(100);
    HeldKey(VK_SPACE, 3);
  });
  const INT_PTR answer =
      DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.Get(), form.Handle(), PlainDialogProc, 0);
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(skinned, (std::vector<LRESULT>{1, 1, 0, 1, 0, 1}));
  EXPECT_EQ(keys, (std::vector<std::string>{"BUTTON_CHECKBOX", "BUTTON_RADIOBUTTON", "", "COMBOBOX", "", "BUTTON"}));
  ASSERT_EQ(marks.size(), 4u);
  EXPECT_EQ(states, (std::vector<LRESULT>{BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED}));
  EXPECT_EQ(marks[0], unchecked) << "at first";
  EXPECT_EQ(marks[1], checked) << "after a click";
  EXPECT_EQ(marks[2], unchecked) << "after Space";
  EXPECT_EQ(marks[3], unchecked) << "after the focus went and came back";
}

// --- the gallery --------------------------------------------------------------------------------

TEST(SkinControlsProbeGallery, TabbingThroughTheSkinnedGalleryVisitsItsControlsAndKeepsTheSkin) {
  TApplication app;
  auto* gallery = new TGalleryForm(&app);
  gallery->Show();
  auto* engine = new TSkinEngine(gallery);
  engine->SetActive(true);
  engine->SetSkinFile(TestSkinFile("DeepCyan"));
  engine->Attach(gallery->Handle(), false);
  SetForegroundWindow(gallery->Handle());
  PumpFor(300);
  ASSERT_EQ(SendMessageA(gallery->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  std::set<HWND> visited;
  std::vector<HWND> order;
  for (int i = 0; i < 120; ++i) {
    RealKey(VK_TAB);
    PumpFor(40);
    HWND focus = GetFocus();
    ASSERT_TRUE(focus && (focus == gallery->Handle() || IsChild(gallery->Handle(), focus))) << "tab " << i;
    visited.insert(focus);
    order.push_back(focus);
  }
  EXPECT_GE(visited.size(), 8u) << "the focus went from control to control";
  // The skin stays whole: no control lost its skinner on the way.
  EXPECT_EQ(SendMessageA(gallery->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  const std::size_t skinners = engine->FrameOf(gallery->Handle())->Children.size();
  for (int i = 0; i < 10; ++i) {
    RealKey(VK_TAB, {VK_SHIFT});
    PumpFor(40);
  }
  EXPECT_EQ(engine->FrameOf(gallery->Handle())->Children.size(), skinners);
  delete gallery;
}

namespace {

// What a plain dialog looks like a while after the keys went in, seen from
// a timer of the dialog's own message loop (its keys are its loop's).
struct TDialogLook {
  HWND dialog = nullptr;
  HWND focus = nullptr;
  bool open = false;
};
TDialogLook dialogLook;

void CALLBACK LookAtDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  dialogLook.focus = GetFocus();
  dialogLook.open = IsWindow(dialogLook.dialog) && IsWindowVisible(dialogLook.dialog);
  if (dialogLook.open) PostMessageA(dialogLook.dialog, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST_F(SkinControlsProbe, APlainDialogsSpaceReleasedAfterTabAnswersNothing) {
  const TDialogTemplate dialogTemplate;
  dialogLook = {};
  HWND cancel = nullptr;
  ModalDriver driver;
  driver.When("#32770", [&](HWND dialog) {
    dialogLook.dialog = dialog;
    cancel = GetDlgItem(dialog, IDCANCEL);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDOK)), TRUE);
    std::vector<INPUT> keys(4);
    for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_SPACE;
    keys[1].ki.wVk = VK_TAB;
    keys[2].ki.wVk = VK_TAB;
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_SPACE;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    SetTimer(nullptr, 0, 400, LookAtDialog);
  });
  const INT_PTR answer =
      DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.Get(), form.Handle(), PlainDialogProc, 0);
  EXPECT_TRUE(dialogLook.open) << "a Space let go on Cancel after it went down on OK answers nothing; answer "
                               << answer;
  EXPECT_EQ(dialogLook.focus, cancel) << "Tab moved on to Cancel";
  EXPECT_EQ(answer, IDOK);
}
