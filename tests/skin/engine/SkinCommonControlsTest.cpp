// Skinned common controls under Wine: progress bars, tabs, track bars,
// up-down controls and combo boxes, their pixels on the screen compared with
// the skin's own bitmaps and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/ControlLayout.h"
#include "skin/SkinReader.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinWindow.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

class CommonForm : public TForm {
public:
  PLIMET_CLASS_NAME(CommonForm)
  CommonForm() : TForm(nullptr) {
    SetCaption("Common controls");
    SetBounds(100, 100, 420, 330);
    progress = new TProgressBar(this);
    progress->SetParent(this);
    progress->SetBounds(10, 10, 209, 16);
    progress->SetRange(0, 100);
    vertical = new TProgressBar(this);
    vertical->SetParent(this);
    vertical->SetOrientation(TProgressBarOrientation::pbVertical);
    vertical->SetBounds(380, 10, 16, 109);
    vertical->SetRange(0, 100);
    tabs = new TTabControl(this);
    tabs->SetParent(this);
    tabs->SetBounds(10, 40, 200, 90);
    tabs->SetTabs({"One", "Two", "Three"});
    track = new TTrackBar(this);
    track->SetParent(this);
    track->SetBounds(10, 140, 200, 40);
    track->SetRange(0, 10);
    upDown = new TUpDown(this);
    upDown->SetParent(this);
    upDown->SetBounds(230, 140, 17, 30);
    upDown->SetRange(0, 100);
    // The native control counts only with an associate.
    upEdit = new TEdit(this);
    upEdit->SetParent(this);
    upEdit->SetBounds(260, 140, 60, 21);
    upDown->SetAssociate(upEdit);
    combo = new TComboBox(this);
    combo->SetParent(this);
    combo->SetBounds(230, 40, 120, 24);
    combo->AddItem("First");
    combo->AddItem("Second");
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TProgressBar* progress;
  TProgressBar* vertical;
  TTabControl* tabs;
  TTrackBar* track;
  TUpDown* upDown;
  TEdit* upEdit;
  TComboBox* combo;
  TSkinEngine* Engine;
};

class SkinCommonControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(150);
  }
  TColor Color(TSkinColorKey key) { return skin::ToRgb(form.Engine->GetColor(key)); }
  TApplication app;
  CommonForm form;
};

std::unique_ptr<TBitmap> Shot(HWND window) {
  PumpFor(80);
  return TakeWindowShot(window);
}

// Where the skinned bar's filled piece ends along its middle row (or, for
// a vertical bar, where it begins along its middle column).
int FilledEnd(const TBitmap& shot, TColor filled) {
  int end = -1;
  for (int x = 0; x < shot.Width(); ++x)
    if (shot.Pixel(x, shot.Height() / 2) == filled) end = x + 1;
  return end;
}

} // namespace

TEST_F(SkinCommonControlsTest, TheProgressBarsFilledLengthFollowsThePosition) {
  TSkinProgressBarRes& res = form.Engine->ProgressBarRes();
  ASSERT_NE(res.Horz(2), nullptr);
  HWND bar = form.progress->Handle();
  RECT client{};
  GetClientRect(bar, &client);
  ASSERT_EQ(client.bottom, res.Horz(2)->Height()) << "a bar as high as the skin's pieces";
  const TColor filled = res.Horz(2)->Pixel(0, client.bottom / 2);
  const TColor empty = res.Horz(3)->Pixel(0, client.bottom / 2);
  ASSERT_NE(filled, empty);
  const int first = res.FirstWidth(), last = res.LastWidth();
  for (int position : {0, 1, 13, 50, 77, 99, 100}) {
    form.progress->SetPosition(position);
    const auto shot = Shot(bar);
    ASSERT_TRUE(shot);
    const int expected = first + (client.right - first - last) * position / 100;
    if (position == 0) {
      EXPECT_EQ(FilledEnd(*shot, filled), -1) << "nothing filled at the minimum";
    } else {
      EXPECT_EQ(FilledEnd(*shot, filled), expected) << "position " << position;
    }
    EXPECT_EQ(shot->Pixel(expected, client.bottom / 2), position == 100 ? res.Horz(4)->Pixel(0, client.bottom / 2) : empty)
        << "the empty rest right after the filled part, position " << position;
    EXPECT_EQ(shot->Pixel(0, client.bottom / 2), res.Horz(1)->Pixel(0, client.bottom / 2)) << "start cap";
  }
  SaveWindowShot(form.Handle(), "screenshots/skin-common-controls.bmp");
}

TEST_F(SkinCommonControlsTest, AVerticalProgressBarGrowsFromTheBottom) {
  TSkinProgressBarRes& res = form.Engine->ProgressBarRes();
  ASSERT_NE(res.Vert(2), nullptr);
  HWND bar = form.vertical->Handle();
  RECT client{};
  GetClientRect(bar, &client);
  ASSERT_EQ(client.right, res.Vert(2)->Width());
  const TColor filled = res.Vert(2)->Pixel(client.right / 2, 0);
  form.vertical->SetPosition(40);
  const auto shot = Shot(bar);
  ASSERT_TRUE(shot);
  const int first = res.FirstWidth(), last = res.LastWidth();
  const int length = (client.bottom - first - last) * 40 / 100;
  int top = -1, bottom = -1;
  for (int y = 0; y < shot->Height(); ++y)
    if (shot->Pixel(client.right / 2, y) == filled) {
      if (top < 0) top = y;
      bottom = y + 1;
    }
  EXPECT_EQ(bottom, client.bottom - first);
  EXPECT_EQ(bottom - top, length);
}

TEST_F(SkinCommonControlsTest, TheSelectedTabShowsTheSkinsSelectedFace) {
  HWND tabs = form.tabs->Handle();
  EXPECT_EQ(SendMessageA(tabs, WM_SKIN_QUERY, 0, 0), 1);
  TBitmap* selectedFace = form.Engine->TabRes().FirstCell(0);
  TBitmap* otherFace = form.Engine->TabRes().SecondCell(0);
  ASSERT_TRUE(selectedFace && otherFace);
  // The selected face's accent row, which the other face does not have.
  const TColor accent = selectedFace->Pixel(selectedFace->Width() / 2, 1);
  ASSERT_NE(accent, otherFace->Pixel(otherFace->Width() / 2, 1));
  auto accentIn = [&](const TBitmap& shot, int tab) {
    RECT r{};
    SendMessageA(tabs, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r));
    for (int y = r.top; y < r.top + 4; ++y)
      if (shot.Pixel(r.left + 4, y) == accent) return true;
    return false;
  };
  form.tabs->SetTabIndex(0);
  auto shot = Shot(tabs);
  ASSERT_TRUE(shot);
  EXPECT_TRUE(accentIn(*shot, 0));
  EXPECT_FALSE(accentIn(*shot, 1));
  // The faces' transparent pixels never show, stretched or not.
  const TColor key = skin::ToRgb(form.Engine->Metrics().TransparentColor);
  int keyed = 0;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = 0; x < shot->Width(); ++x) keyed += shot->Pixel(x, y) == key;
  EXPECT_EQ(keyed, 0);
  RECT second{};
  SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  RealClick(ScreenPoint(tabs, {(second.left + second.right) / 2, (second.top + second.bottom) / 2}));
  PumpFor(150);
  EXPECT_EQ(form.tabs->TabIndex(), 1);
  shot = Shot(tabs);
  EXPECT_FALSE(accentIn(*shot, 0));
  EXPECT_TRUE(accentIn(*shot, 1)) << "the face follows the click";
  // The page is framed in the border colour, on the skin's form colour.
  RECT page{};
  GetClientRect(tabs, &page);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 2, 2);
  EXPECT_EQ(shot->Pixel(page.left, (page.top + page.bottom) / 2), Color(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR));
  EXPECT_EQ(shot->Pixel(page.left + 5, (page.top + page.bottom) / 2), skin::ToRgb(form.Engine->FormColor()));
}

TEST_F(SkinCommonControlsTest, TheTrackBarsSliderSitsOnTheThumb) {
  HWND track = form.track->Handle();
  TBitmap slider;
  ASSERT_TRUE(form.Engine->CopyBitmap(TSkinBitmapKey::SKIN2_TRACKBARSLIDER, slider));
  for (int position : {0, 4, 10}) {
    form.track->SetPosition(position);
    const auto shot = Shot(track);
    ASSERT_TRUE(shot);
    RECT thumb{};
    SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int x = (thumb.left + thumb.right - slider.Width()) / 2;
    const int y = (thumb.top + thumb.bottom - slider.Height()) / 2;
    // Its outline and its middle, where the slider is not transparent.
    EXPECT_EQ(shot->Pixel(x + slider.Width() / 2, y), slider.Pixel(slider.Width() / 2, 0)) << position;
    EXPECT_EQ(shot->Pixel(x + slider.Width() / 2, y + slider.Height() / 2),
              slider.Pixel(slider.Width() / 2, slider.Height() / 2))
        << position;
  }
}

TEST_F(SkinCommonControlsTest, TheUpDownsPressedHalfIsFilled) {
  HWND upDown = form.upDown->Handle();
  RECT client{};
  GetClientRect(upDown, &client);
  const TUpDownHalves halves = SplitUpDown(client.right, client.bottom, false);
  const TColor down = Color(TSkinColorKey::SKIN2_TOOLBARDOWNCOLOR), plain = skin::ToRgb(form.Engine->FormColor());
  auto inside = [](const TBitmap& shot, const TRect& r) { return shot.Pixel(r.Left + 2, r.Top + 2); };
  auto shot = Shot(upDown);
  ASSERT_TRUE(shot);
  EXPECT_EQ(inside(*shot, halves.First), plain);
  EXPECT_EQ(inside(*shot, halves.Second), plain);
  EXPECT_EQ(shot->Pixel(0, 0), Color(TSkinColorKey::SKIN2_TOOLBARBORDERCOLOR));
  const int before = form.upDown->Position();
  RealMove(ScreenPoint(upDown, {client.right / 2, client.bottom / 4}));
  RealLeftButton(true);
  shot = Shot(upDown);
  EXPECT_EQ(inside(*shot, halves.First), down) << "upper half pressed";
  EXPECT_EQ(inside(*shot, halves.Second), plain);
  RealLeftButton(false);
  shot = Shot(upDown);
  EXPECT_EQ(inside(*shot, halves.First), plain) << "released";
  EXPECT_GT(form.upDown->Position(), before) << "the control still counts";
  RealMove(ScreenPoint(upDown, {client.right / 2, client.bottom * 3 / 4}));
  RealLeftButton(true);
  shot = Shot(upDown);
  EXPECT_EQ(inside(*shot, halves.First), plain);
  EXPECT_EQ(inside(*shot, halves.Second), down) << "lower half pressed";
  RealLeftButton(false);
  PumpFor(80);
}

namespace {

// The skinned button part of a drop-down combo box: control colour, the
// border colour's line on its left, the black down arrow in its middle.
void ExpectSkinnedButton(HWND combo, TSkinEngine& engine, bool enabledArrow) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(skin::LateGetComboBoxInfo(combo, &info));
  const RECT b = info.rcButton;
  const auto shot = Shot(combo);
  ASSERT_TRUE(shot);
  // The shot is of the whole window; the button rectangle is in client coordinates.
  POINT origin{0, 0};
  ClientToScreen(combo, &origin);
  RECT window{};
  GetWindowRect(combo, &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  EXPECT_EQ(shot->Pixel(dx + b.right - 2, dy + b.top + 1), skin::ToRgb(engine.GetColor(TSkinColorKey::SKIN2_CONTROLCOLOR)));
  EXPECT_EQ(shot->Pixel(dx + b.left, dy + (b.top + b.bottom) / 2),
            skin::ToRgb(engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR)));
  const int ax = b.left + (b.right - b.left) / 2 - 3, ay = (b.bottom - b.top) / 2;
  EXPECT_EQ(shot->Pixel(dx + ax + 3, dy + ay + 1), enabledArrow ? 0 : 0x808080) << "the arrow";
  EXPECT_EQ(shot->Pixel(0, 0), skin::ToRgb(engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR))) << "outer frame";
}

// A dialog whose children are there before it is first shown, as in a dialog from a template.
INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_INITDIALOG) return FALSE;
  CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_SIMPLE, 8, 8, 120, 80, dialog,
                  reinterpret_cast<HMENU>(100), nullptr, nullptr);
  CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 140, 8, 120, 100, dialog,
                  reinterpret_cast<HMENU>(101), nullptr, nullptr);
  HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 8, 100, 200, 60, dialog,
                              reinterpret_cast<HMENU>(102), nullptr, nullptr);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("Page");
  SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return TRUE;
}

} // namespace

TEST_F(SkinCommonControlsTest, ADropDownCombosButtonIsPaintedFromTheSkin) {
  HWND combo = form.combo->Handle();
  EXPECT_EQ(SendMessageA(combo, WM_SKIN_QUERY, 0, 0), 1);
  ExpectSkinnedButton(combo, *form.Engine, true);
  // Dropping the list down and up again leaves the skinned button.
  RECT r{};
  GetWindowRect(combo, &r);
  RealClick({r.right - 6, (r.top + r.bottom) / 2});
  PumpFor(150);
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  RealKey(VK_ESCAPE);
  PumpFor(150);
  ExpectSkinnedButton(combo, *form.Engine, true);
  form.combo->SetEnabled(false);
  ExpectSkinnedButton(combo, *form.Engine, false);
}

TEST_F(SkinCommonControlsTest, ADialogsSimpleComboStaysNativeAndItsDropDownComboIsSkinned) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* layout = reinterpret_cast<DLGTEMPLATE*>(words.data());
  layout->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  layout->cx = 200;
  layout->cy = 120;
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), layout, form.Handle(), PlainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND simple = GetDlgItem(dialog, 100), dropDown = GetDlgItem(dialog, 101), tabs = GetDlgItem(dialog, 102);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  PumpFor(300);
  ASSERT_NE(form.Engine->FrameOf(dialog), nullptr);
  EXPECT_NE(SendMessageA(simple, WM_SKIN_QUERY, 0, 0), 1) << "a simple combo box keeps its own look";
  EXPECT_EQ(SendMessageA(dropDown, WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tabs, WM_SKIN_QUERY, 0, 0), 1);
  ExpectSkinnedButton(dropDown, *form.Engine, true);
  EnableWindow(dropDown, FALSE);
  // The plain combo box keeps the enabled look of its arrow.
  ExpectSkinnedButton(dropDown, *form.Engine, true);
  SaveWindowShot(dialog, "screenshots/skin-dialog-combos.bmp");
  DestroyWindow(dialog);
  PumpFor(50);
}
