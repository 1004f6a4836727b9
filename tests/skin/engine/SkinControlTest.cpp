// Control skinners under Wine: which skinner a control gets, and the push
// buttons of forms and of system dialogs driven with the real pointer and
// keys, their faces compared with the skin's own button bitmap.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win32/Buttons.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinButtons.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindow.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

class ButtonForm : public TForm {
public:
  PLIMET_CLASS_NAME(ButtonForm)
  ButtonForm() : TForm(nullptr) {
    SetCaption("Buttons");
    SetBounds(120, 120, 300, 160);
    button = new TButton(this);
    button->SetParent(this);
    button->SetCaption("Press");
    button->SetBounds(20, 20, 90, 26);
    button->OnClick = [this](TComponent*) { ++clicks; };
    other = new TButton(this);
    other->SetParent(this);
    other->SetCaption("Other");
    other->SetBounds(140, 20, 90, 26);
    native = new TButton(this);
    native->SetParent(this);
    native->SetCaption("Native");
    native->Tag = 9999;
    native->SetBounds(20, 70, 90, 26);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TButton* button;
  TButton* other;
  TButton* native;
  TSkinEngine* Engine;
  int clicks = 0;
};

POINT Middle(TWinControl* control) { return ScreenPoint(control->Handle(), {control->Width() / 2, control->Height() / 2}); }

class SkinControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(150);
  }
  TApplication app;
  ButtonForm form;
};

// A pixel of the button's face near its top edge, middle column, where no text lies.
TColor FacePixel(TWinControl* button) {
  PumpFor(80);
  const auto shot = TakeWindowShot(button->Handle());
  return shot ? shot->Pixel(button->Width() / 2, 3) : kNoColor;
}

TColor SkinFacePixel(TSkinEngine& engine, int frame) {
  TBitmap cell;
  engine.CopyBitmap(TSkinBitmapKey::SKIN2_BUTTON, cell, 3, frame);
  return cell.Pixel(cell.Width() / 2, 3);
}

} // namespace

TEST_F(SkinControlTest, ALaterRowWinsOverAnEarlierOne) {
  TSkinControlRegistry registry;
  registry.Register<TWinControl, TSkinButton>("TWinControl");
  registry.Register<TButton, TSkinButton>("TButton");
  registry.Register<TLabel, TSkinButton>("TLabel");
  ASSERT_NE(registry.Find(*form.button), nullptr);
  EXPECT_EQ(registry.Find(*form.button)->ClassName, "TButton") << "not the general row before it";
  TEdit edit(nullptr);
  EXPECT_EQ(registry.Find(edit)->ClassName, "TWinControl");
  EXPECT_EQ(TSkinControlRegistry::Standard().Find(*form.button)->ClassName, "TButton");
}

TEST_F(SkinControlTest, ButtonsAreSkinnedButTheDisabledTagKeepsItsOwnLook) {
  EXPECT_EQ(SendMessageA(form.button->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageA(form.native->Handle(), WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(form.Engine->FrameOf(form.Handle())->Children.size(), 2u);
  // Its native face, not the skin's.
  EXPECT_NE(FacePixel(form.native), SkinFacePixel(*form.Engine, 1));
}

TEST_F(SkinControlTest, TheFaceFollowsTheButtonsStateFromTheSkin) {
  RealMove({0, 0});
  PumpFor(100);
  EXPECT_EQ(FacePixel(form.other), SkinFacePixel(*form.Engine, 1)) << "normal";
  RealMove(Middle(form.other));
  PumpFor(150);
  EXPECT_EQ(FacePixel(form.other), SkinFacePixel(*form.Engine, 2)) << "hot";
  RealLeftButton(true);
  PumpFor(150);
  EXPECT_EQ(FacePixel(form.other), SkinFacePixel(*form.Engine, 3)) << "pressed";
  RealLeftButton(false);
  PumpFor(100);
  SaveWindowShot(form.Handle(), "screenshots/skin-buttons.bmp");
}

TEST_F(SkinControlTest, APressReleasedOutsideTheButtonDoesNotClick) {
  RealMove(Middle(form.button));
  PumpFor(80);
  RealLeftButton(true);
  PumpFor(80);
  RealMove(Middle(form.other));
  PumpFor(80);
  RealLeftButton(false);
  PumpFor(150);
  EXPECT_EQ(form.clicks, 0);
  // And a release over it, with no press there first, does not click either.
  RealMove(Middle(form.button));
  PumpFor(80);
  RealLeftButton(false);
  PumpFor(100);
  EXPECT_EQ(form.clicks, 0);
  RealClick(Middle(form.button));
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
}

TEST_F(SkinControlTest, EnterAndSpaceClickAFocusedButtonOnce) {
  form.button->SetFocus();
  PumpFor(50);
  RealKey(VK_SPACE);
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1);
  RealKey(VK_RETURN);
  PumpFor(150);
  EXPECT_EQ(form.clicks, 2);
}

TEST_F(SkinControlTest, TurningTheEngineOffGivesButtonsTheirOwnLookAndKeepsTheSkinners) {
  TSkinWindow* frame = form.Engine->FrameOf(form.Handle());
  form.Engine->SetActive(false);
  PumpFor(100);
  EXPECT_EQ(frame->Children.size(), 2u);
  EXPECT_EQ(FacePixel(form.button), FacePixel(form.native)) << "the same native face";
  RealClick(Middle(form.button));
  PumpFor(150);
  EXPECT_EQ(form.clicks, 1) << "clicks come from the button itself";
  form.Engine->SetActive(true);
  PumpFor(100);
  const TColor face = FacePixel(form.button);
  EXPECT_TRUE(face == SkinFacePixel(*form.Engine, 1) || face == SkinFacePixel(*form.Engine, 2)) << "skinned again";
}

TEST_F(SkinControlTest, AMessageBoxsButtonIsSkinnedAndClicksWithThePointer) {
  ModalDriver driver;
  LRESULT skinned = 0;
  driver.When("#32770", [&](HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    skinned = SendMessageA(ok, WM_SKIN_QUERY, 0, 0);
    PumpFor(100);
    RECT r{};
    GetWindowRect(ok, &r);
    RealClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  });
  const int answer = MessageBoxA(form.Handle(), "Skinned OK", "Box", MB_OKCANCEL);
  EXPECT_EQ(skinned, 1);
  EXPECT_EQ(answer, IDOK);
}

namespace {

class MixedForm : public TForm {
public:
  PLIMET_CLASS_NAME(MixedForm)
  MixedForm() : TForm(nullptr) {
    SetCaption("Controls");
    SetBounds(100, 100, 360, 260);
    check = Place<TCheckBox>(10, 10, 120, 20);
    check->SetCaption("Check");
    radio = Place<TRadioButton>(10, 40, 120, 20);
    radio->SetCaption("Radio");
    group = Place<TGroupBox>(150, 10, 180, 80);
    group->SetCaption("Group");
    label = Place<TLabel>(10, 70, 100, 16);
    label->SetCaption("Label");
    speed = Place<TSpeedButton>(10, 100, 60, 24);
    speed->SetCaption("Speed");
    own = Place<TSpeedButton>(80, 100, 60, 24);
    own->SetCaption("Own");
    own->Tag = 999999;
    status = new TStatusBar(this);
    status->SetParent(this);
    status->SetAlign(TAlign::alBottom);
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
  TCheckBox* check;
  TRadioButton* radio;
  TGroupBox* group;
  TLabel* label;
  TSpeedButton* speed;
  TSpeedButton* own;
  TStatusBar* status;
  TSkinEngine* Engine;
};

class SkinSimpleControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(200);
  }
  // The middle pixel of a mark frame of a skin strip.
  TColor MarkMiddle(TSkinBitmapKey key, int frames, int frame) {
    TBitmap cell;
    form.Engine->CopyBitmap(key, cell, frames, frame);
    return cell.Pixel(cell.Width() / 2, cell.Height() / 2);
  }
  // The screen pixel in the middle of the mark of a check box or radio button.
  TColor ShownMark(TWinControl* control, TSkinBitmapKey key, int frames) {
    PumpFor(80);
    const TBitmap* strip = form.Engine->GetBitmap(key);
    const int w = strip->Width() / frames, h = strip->Height();
    const auto shot = TakeWindowShot(control->Handle());
    return shot->Pixel(w / 2, (control->Height() - h) / 2 + h / 2);
  }
  TApplication app;
  MixedForm form;
};

} // namespace

TEST_F(SkinSimpleControlsTest, CheckBoxAndRadioMarksComeFromTheSkinForEveryState) {
  const auto check = [&](int frame) { return MarkMiddle(TSkinBitmapKey::SKIN2_CHECKBOX, 6, frame); };
  const auto radio = [&](int frame) { return MarkMiddle(TSkinBitmapKey::SKIN2_RADIOBUTTON, 4, frame); };
  EXPECT_EQ(ShownMark(form.check, TSkinBitmapKey::SKIN2_CHECKBOX, 6), check(3)) << "unchecked";
  form.check->SetChecked(true);
  EXPECT_EQ(ShownMark(form.check, TSkinBitmapKey::SKIN2_CHECKBOX, 6), check(1)) << "checked";
  form.check->SetEnabled(false);
  EXPECT_EQ(ShownMark(form.check, TSkinBitmapKey::SKIN2_CHECKBOX, 6), check(4)) << "checked, disabled";
  EXPECT_EQ(ShownMark(form.radio, TSkinBitmapKey::SKIN2_RADIOBUTTON, 4), radio(2)) << "unchecked";
  RealClick(ScreenPoint(form.radio->Handle(), {6, form.radio->Height() / 2}));
  PumpFor(150);
  EXPECT_TRUE(form.radio->Checked());
  EXPECT_EQ(ShownMark(form.radio, TSkinBitmapKey::SKIN2_RADIOBUTTON, 4), radio(1)) << "checked by a click";
  form.radio->SetEnabled(false);
  EXPECT_EQ(ShownMark(form.radio, TSkinBitmapKey::SKIN2_RADIOBUTTON, 4), radio(3)) << "checked, disabled";
  SaveWindowShot(form.Handle(), "screenshots/skin-simple-controls.bmp");
}

TEST_F(SkinSimpleControlsTest, CaptionsTakeTheSkinsColoursAndGiveThemBack) {
  const TColor skinned = form.Engine->GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR);
  EXPECT_EQ(form.label->EffectiveFont().Color, skinned);
  EXPECT_EQ(form.check->EffectiveFont().Color, skinned);
  EXPECT_TRUE(form.group->ParentColor) << "group boxes take the form colour";
  form.Engine->SetActive(false);
  PumpFor(50);
  EXPECT_EQ(form.label->EffectiveFont().Color, form.EffectiveFont().Color) << "its own again";
  EXPECT_TRUE(form.label->ParentFont);
}

TEST_F(SkinSimpleControlsTest, TheGroupBoxFrameIsTheSkinsBorderColour) {
  PumpFor(80);
  const auto shot = TakeWindowShot(form.group->Handle());
  const TColor border = form.Engine->GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR);
  EXPECT_EQ(shot->Pixel(0, form.group->Height() / 2), border);
  EXPECT_EQ(shot->Pixel(form.group->Width() - 1, form.group->Height() / 2), border);
  EXPECT_EQ(shot->Pixel(form.group->Width() / 2, form.group->Height() - 1), border);
}

TEST_F(SkinSimpleControlsTest, ASpeedButtonTaggedToPaintItselfKeepsItsPaintingUnderAThinFrame) {
  PumpFor(80);
  const auto shot = TakeWindowShot(form.Handle());
  RECT client{};
  GetClientRect(form.Handle(), &client);
  POINT origin{0, 0};
  ClientToScreen(form.Handle(), &origin);
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  // The skinned one: the form colour inside; the own one: a button-face frame.
  EXPECT_EQ(shot->Pixel(dx + form.speed->Left() + 3, dy + form.speed->Top() + 3), form.Engine->FormColor());
  EXPECT_EQ(shot->Pixel(dx + form.own->Left(), dy + form.own->Top() + 10),
            static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(SkinControlTest, AGlyphButtonsComputedMarginAndSpacingAreWrittenBack) {
  auto* glyphButton = new TBitBtn(&form);
  glyphButton->SetParent(&form);
  glyphButton->SetCaption("Go");
  glyphButton->SetBounds(20, 110, 100, 30);
  HDC screen = GetDC(nullptr);
  HBITMAP glyph = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  glyphButton->Glyph = glyph;
  glyphButton->Margin = -1;
  glyphButton->Spacing = -1;
  form.Engine->FrameOf(form.Handle())->SkinChildren(); // the new button joins the skinned ones
  glyphButton->Invalidate();
  PumpFor(150);
  ASSERT_EQ(SendMessageA(glyphButton->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  RECT text{0, 0, 0, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, glyphButton->Font.Handle());
  DrawTextA(dc, "Go", -1, &text, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  RECT client{};
  GetClientRect(glyphButton->Handle(), &client);
  EXPECT_EQ(glyphButton->Margin, (client.right - 16 - text.right) / 3);
  EXPECT_EQ(glyphButton->Spacing, glyphButton->Margin) << "both set to the same value";
  DeleteObject(glyph);
}

// Forms placed on a form as parts of it, named or not: they take the form
// colour and their controls are skinned, without a caption of their own.
TEST(SkinControlWalk, ControlsOnFormsUsedAsChildrenAreSkinned) {
  TApplication app;
  ButtonForm form;
  const auto part = [&form](const std::string& name, int left) {
    auto* child = new TForm(&form);
    child->Name = name;
    child->BorderStyle = TFormBorderStyle::bsNone;
    child->SetParent(&form);
    child->SetBounds(left, 100, 120, 40);
    auto* button = new TButton(child);
    button->SetParent(child);
    button->SetCaption(name.empty() ? "Unnamed" : "Named");
    button->SetBounds(4, 4, 80, 24);
    child->Show();
    return std::pair{child, button};
  };
  const auto [named, namedButton] = part("Part", 20);
  const auto [unnamed, unnamedButton] = part("", 150);
  form.SetBounds(120, 120, 300, 200);
  form.Show();
  PumpFor(150);
  ASSERT_EQ(SendMessageA(form.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageA(namedButton->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageA(unnamedButton->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  for (TForm* child : {named, unnamed}) {
    EXPECT_EQ(child->Color(), form.Engine->FormColor());
    RECT window{}, client{};
    GetWindowRect(child->Handle(), &window);
    GetClientRect(child->Handle(), &client);
    EXPECT_EQ(window.bottom - window.top, client.bottom) << "no caption or border drawn on a part";
  }
}
