// The skinned menu bar and the menus the engine draws, driven with real keys
// and the real pointer under Wine: Alt and a mnemonic, the mnemonic alone,
// F10, shortcuts of a menu the window no longer has, and the colours of an
// open pull-down.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinMenuBar.h"
#include "skin/engine/SkinWindowFramework.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

class MenuForm : public TForm {
public:
  PLIMET_CLASS_NAME(MenuForm)
  MenuForm() : TForm(nullptr) {
    SetCaption("Menus");
    SetBounds(100, 100, 360, 240);
    menu = new TMainMenu(this);
    file = Item(menu->Items(), "&File");
    open = Item(file, "&Open");
    open->ShortCut = scCtrl | 'O';
    open->OnClick = [this](TComponent*) { ++opened; };
    Item(file, "-");
    auto* quit = Item(file, "&Quit");
    quit->SetChecked(true);
    auto* edit = Item(menu->Items(), "&Edit");
    Item(edit, "&Copy");
    SetMenu(menu);
    box = new TEdit(this);
    box->SetParent(this);
    box->SetBounds(10, 10, 200, 21);
    ActiveControl = box;
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("FiveSect"));
  }
  TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  TSkinMenuBar* Bar() { return static_cast<TSkinWindowFramework*>(Engine->FrameOf(Handle()))->MenuBar; }
  TMainMenu* menu;
  TMenuItem* file;
  TMenuItem* open;
  TEdit* box;
  TSkinEngine* Engine;
  int opened = 0;
};

// Whether a pull-down is open a moment after the input, then closes it.
class MenuWatch {
public:
  MenuWatch() { SetTimer(nullptr, 0, 300, &MenuWatch::Look); }
  static bool Seen() { return seen_; }
  static std::unique_ptr<TBitmap>& Picture() { return picture_; }

private:
  static void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND menu = FindWindowA("#32768", nullptr);
    seen_ = menu && IsWindowVisible(menu);
    if (seen_) picture_ = TakeWindowShot(menu);
    EndMenu();
  }
  static inline bool seen_ = false;
  static inline std::unique_ptr<TBitmap> picture_;
};

class SkinMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.Show();
    SetForegroundWindow(form.Handle());
    form.box->SetFocus();
    PumpFor(150);
  }
  TApplication app;
  MenuForm form;
};

} // namespace

TEST_F(SkinMenuTest, AltAndAMnemonicOpenThePullDown) {
  ASSERT_EQ(GetMenu(form.Handle()), nullptr);
  ASSERT_TRUE(form.Bar()->Visible());
  MenuWatch watch;
  RealKey('F', {VK_MENU});
  PumpFor(600);
  EXPECT_TRUE(MenuWatch::Seen());
  EXPECT_EQ(form.box->Text(), "") << "the letter went to the bar, not the edit";
}

TEST_F(SkinMenuTest, AnItemWithoutAMnemonicAnswersToItsFirstLetter) {
  form.file->SetCaption("File");
  form.Engine->SetSkinFile(TestSkinFile("FiveSect")); // the bar is built again
  PumpFor(100);
  form.box->SetFocus();
  MenuWatch watch;
  RealKey('F', {VK_MENU});
  PumpFor(600);
  EXPECT_TRUE(MenuWatch::Seen());
}

TEST_F(SkinMenuTest, TheMnemonicAloneIsTypedWhileNoBarButtonIsLit) {
  MenuWatch watch;
  RealKey('F');
  PumpFor(600);
  EXPECT_FALSE(MenuWatch::Seen());
  EXPECT_EQ(form.box->Text(), "f");
}

TEST_F(SkinMenuTest, F10EntersTheBar) {
  MenuWatch watch;
  RealKey(VK_F10);
  PumpFor(600);
  EXPECT_TRUE(MenuWatch::Seen());
}

TEST_F(SkinMenuTest, AShortcutFiresThoughTheWindowHasNoMenuAnyMore) {
  RealKey('O', {VK_CONTROL});
  PumpFor(200);
  EXPECT_EQ(form.opened, 1);
  form.Engine->SetActive(false);
  PumpFor(100);
  RealKey('O', {VK_CONTROL});
  PumpFor(200);
  EXPECT_EQ(form.opened, 2) << "unskinned, the window's own menu takes it, once";
}

TEST_F(SkinMenuTest, APullDownIsPaintedInTheSkinsMenuColours) {
  MenuWatch watch;
  const RECT r = form.Bar()->Buttons(0)->ButtonRect();
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(form.Bar()->Handle(), &at);
  RealClick(at);
  PumpFor(600);
  ASSERT_TRUE(MenuWatch::Seen());
  const auto& picture = MenuWatch::Picture();
  ASSERT_NE(picture, nullptr);
  // Rows past the menu's own frame: the first item (not selected) is laid
  // out with the left bar and the item colour.
  bool leftBar = false, itemColour = false;
  for (int y = 2; y < 20; ++y) {
    leftBar |= picture->Pixel(10, y) == Rgb(153, 139, 134);
    itemColour |= picture->Pixel(60, y) == Rgb(27, 141, 50);
  }
  EXPECT_TRUE(leftBar);
  EXPECT_TRUE(itemColour);
  EXPECT_TRUE(form.menu->OwnerDraw());
}
