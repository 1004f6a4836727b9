// Choosing a skin from the side-bar's menus: every open window takes it at
// once, "config.ini" keeps it for the next start, and a skin that does not
// load is refused with a message while the one in use stays.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/MenuItems.h"
#include "support/GdiObjectCount.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/SkinnedProgramFolder.h"
#include "support/TestDoubles.h"
#include "support/WindowCount.h"
#include "ui/uLogin.h"
#include "ui/uMain.h"
#include "ui/uPWDManage.h"

namespace {

constexpr const char* kFiveSect = "Skins\\Five\\FiveSect.ssk";
constexpr const char* kNoRegion = "Skins\\NoRegion.ssk";
constexpr const char* kBroken = "Skins\\Bad\\Broken.ssk";

// Clicks, with the real pointer, the item of that caption in whichever open
// menu shows it; false while no open menu does.
bool ClickOpenMenuItem(const std::string& caption) {
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32768", nullptr); window;
       window = FindWindowExA(nullptr, window, "#32768", nullptr)) {
    if (!IsWindowVisible(window)) continue;
    auto* menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      char text[128] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      RECT r{};
      if (caption != text || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) continue;
      RealClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      return true;
    }
  }
  return false;
}

// Follows the captions through the open menus, one click each, as they
// open; false when one did not show within a few seconds (every menu is
// closed then). The clicks come from a timer: an open menu runs a message
// loop of its own.
bool ClickThroughMenus(const std::vector<std::string>& captions) {
  static std::vector<std::string> left;
  left = captions;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    if (!left.empty() && ClickOpenMenuItem(left.front())) left.erase(left.begin());
  });
  const DWORD end = GetTickCount() + 5000;
  while (!left.empty() && static_cast<int>(end - GetTickCount()) > 0) PumpFor(50);
  KillTimer(nullptr, timer);
  const bool done = left.empty();
  if (!done)
    for (int i = 0; i < 3; ++i) RealKey(VK_ESCAPE);
  PumpFor(100);
  return done;
}

class SkinChooserTest : public SkinnedWindowTest {
protected:
  SkinChooserTest() {
    CreateDirectoryA((folder / "Skins\\Five").c_str(), nullptr);
    CreateDirectoryA((folder / "Skins\\Bad").c_str(), nullptr);
    CopyFileA(TestSkinFile("FiveSect").c_str(), (folder / kFiveSect).c_str(), FALSE);
    CopyFileA(TestSkinFile("NoRegion").c_str(), (folder / kNoRegion).c_str(), FALSE);
    WriteFileBytes(folder / kBroken, "SK\x03\x04 damaged on the way");
    dm = std::make_unique<TDM>();
    LogIn("anna", "pw");
    main = new TfMain(&app);
    app.SetMainForm(main);
    main->SetUp();
    main->Show();
    SetForegroundWindow(main->Handle());
    PumpFor(100);
  }
  ~SkinChooserTest() override {
    PumpFor(50);
    delete main;
  }
  // A pixel of the window's top caption row, past the caption's left piece,
  // as the screen shows it.
  static TColor CaptionPixel(TSkinEngine& engine, HWND window) {
    const auto shot = TakeWindowShot(window);
    if (!shot) return kNoColor;
    const TBitmap* left = engine.GetBitmap(TSkinBitmapKey::SKIN2_TITLEBAR1);
    return shot->Pixel(left->Width() + 3, 1);
  }
  // Whether the colour shows in the rectangle of the control's client area.
  static bool ShowsColor(HWND control, const RECT& area, TColor color) {
    const auto shot = TakeWindowShot(control);
    for (int y = area.top; shot && y < std::min<int>(area.bottom, shot->Height()); ++y)
      for (int x = area.left; x < std::min<int>(area.right, shot->Width()); ++x)
        if (shot->Pixel(x, y) == color) return true;
    return false;
  }
  // Whether the colour is one the skin's caption pieces have in their top row.
  static bool InCaptionPiece(TSkinEngine& engine, TColor color) {
    for (const TSkinBitmapKey key : {TSkinBitmapKey::SKIN2_TITLEBAR1, TSkinBitmapKey::SKIN2_TITLEBAR2,
                                     TSkinBitmapKey::SKIN2_TITLEBAR3, TSkinBitmapKey::SKIN2_TITLEBAR4,
                                     TSkinBitmapKey::SKIN2_TITLEBAR5}) {
      const TBitmap* piece = engine.GetBitmap(key);
      for (int x = 0; piece && x < piece->Width(); ++x)
        if (piece->Pixel(x, 1) == color) return true;
    }
    return false;
  }
  TApplication app;
  ModalDriver driver;
  std::unique_ptr<TDM> dm;
  TfMain* main;
};

} // namespace

TEST_F(SkinChooserTest, TheSkinsMenusListEverySkinByNameWithTheOneInUseChecked) {
  const std::vector<std::string> expected = {"Broken", "DeepCyan*", "FiveSect", "NoRegion", "-", "More skins..."};
  EXPECT_EQ(Captions(main->mnuSkins), expected) << "by name; the damaged one under its file name";
  EXPECT_EQ(Captions(main->itmTraySkins), expected);

  // A skin put into the folder while the program runs shows when the tray menu opens.
  CreateDirectoryA((folder / "Skins\\Later").c_str(), nullptr);
  CopyFileA(TestSkinFile("ThinBorder").c_str(), (folder / "Skins\\Later\\Thin.ssk").c_str(), FALSE);
  // Deeper than one level down is not looked at.
  CreateDirectoryA((folder / "Skins\\Later\\Deeper").c_str(), nullptr);
  CopyFileA(TestSkinFile("SystemColors").c_str(), (folder / "Skins\\Later\\Deeper\\Sys.ssk").c_str(), FALSE);
  // The tray menu as the tray icon opens it, closed again by Escape once it shows.
  const UINT_PTR closer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu)) RealKey(VK_ESCAPE);
  });
  main->PopupMenu1->Popup(10, 10);
  KillTimer(nullptr, closer);
  PumpFor(100);
  EXPECT_EQ(Captions(main->itmTraySkins),
            (std::vector<std::string>{"Broken", "DeepCyan*", "FiveSect", "NoRegion", "ThinBorder", "-", "More skins..."}));

  // "More skins..." opens the folder the skins are in.
  RecordingShell recording;
  platform::ScopedServices recorded(nullptr, &recording);
  ItemNamed(main->mnuSkins, "More skins...")->Click();
  ASSERT_EQ(recording.executions.size(), 1u);
  EXPECT_EQ(recording.executions[0].operation, "open");
  EXPECT_EQ(recording.executions[0].file, AppPath + "Skins");
}

TEST_F(SkinChooserTest, ChoosingASkinFromTheFileMenuReskinsEveryOpenWindowAndIsKept) {
  TfPWDManage manager(&app);
  manager.SetUp();
  manager.Show();
  PumpFor(100);
  SetForegroundWindow(main->Handle());
  PumpFor(100);
  const TColor mainBefore = CaptionPixel(*main->SkinEngine1, main->Handle());
  const TColor managerBefore = CaptionPixel(*manager.SkinEngine1, manager.Handle());
  ASSERT_TRUE(InCaptionPiece(*main->SkinEngine1, mainBefore)) << "DeepCyan's caption to begin with";

  // As a person does it: F10 and Down open File, then the pointer picks
  // Skins and FiveSect.
  RealKey(VK_F10);
  RealKey(VK_DOWN);
  ASSERT_TRUE(ClickThroughMenus({"Skins", "FiveSect"}));
  PumpFor(300);

  EXPECT_EQ(main->SkinFile(), AppPath + kFiveSect);
  EXPECT_EQ(manager.SkinFile(), AppPath + kFiveSect);
  EXPECT_EQ(ReadSkinSetting(), kFiveSect) << "config.ini names the chosen skin";
  EXPECT_EQ(Captions(main->mnuSkins),
            (std::vector<std::string>{"Broken", "DeepCyan", "FiveSect*", "NoRegion", "-", "More skins..."}));
  const TColor mainAfter = CaptionPixel(*main->SkinEngine1, main->Handle());
  const TColor managerAfter = CaptionPixel(*manager.SkinEngine1, manager.Handle());
  EXPECT_NE(mainAfter, mainBefore);
  EXPECT_NE(managerAfter, managerBefore);
  EXPECT_TRUE(InCaptionPiece(*main->SkinEngine1, mainAfter)) << "the side-bar's caption is FiveSect's";
  EXPECT_TRUE(InCaptionPiece(*manager.SkinEngine1, managerAfter)) << "the open manager's caption is FiveSect's";

  // The next start: a new side-bar reads the chosen skin.
  manager.Close();
  delete main;
  main = new TfMain(&app);
  app.SetMainForm(main);
  main->SetUp();
  main->Show();
  PumpFor(100);
  EXPECT_EQ(main->SkinFile(), AppPath + kFiveSect);
  EXPECT_TRUE(InCaptionPiece(*main->SkinEngine1, CaptionPixel(*main->SkinEngine1, main->Handle())));
}

TEST_F(SkinChooserTest, ADamagedSkinIsRefusedWithAMessageAndTheSkinInUseStays) {
  const std::string before = ReadSkinSetting();
  std::vector<std::string> said;
  const auto answer = [&said](HWND box) {
    said.push_back(MessageFormText(box));
    PressKey(VK_RETURN);
  };
  driver.When("TMessageForm", answer);
  ItemNamed(main->mnuSkins, "Broken")->Click();
  PumpFor(100);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0], "The skin \"Skins\\Bad\\Broken.ssk\" cannot be used: Failed to read skin file!\n"
                     "The skin in use stays.");
  EXPECT_EQ(ReadSkinSetting(), before);
  EXPECT_EQ(main->SkinFile(), AppPath + "Skins\\Deep\\DeepCyan.ssk");
  EXPECT_TRUE(main->SkinEngine1->InEffect()) << "the engine keeps its skin";
  EXPECT_TRUE(InCaptionPiece(*main->SkinEngine1, CaptionPixel(*main->SkinEngine1, main->Handle())));

  // A skin removed after the menu was filled is refused the same way.
  DeleteFileA((folder / kNoRegion).c_str());
  driver.When("TMessageForm", answer);
  ItemNamed(main->mnuSkins, "NoRegion")->Click();
  PumpFor(100);
  ASSERT_EQ(said.size(), 2u);
  EXPECT_NE(said[1].find("is not there any more"), std::string::npos) << said[1];
  EXPECT_EQ(ReadSkinSetting(), before);
}

TEST_F(SkinChooserTest, FiftySwitchesBackAndForthLeaveTheCountsFlat) {
  const auto choose = [this](const char* name) {
    ItemNamed(main->mnuSkins, name)->Click();
    app.ProcessMessages();
  };
  choose("FiveSect");
  choose("DeepCyan");
  const int components = TComponent::LiveCount(), windows = ThreadWindowCount(), objects = ProcessGdiObjects();
  for (int i = 0; i < 25; ++i) {
    choose("FiveSect");
    choose("DeepCyan");
  }
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(ProcessGdiObjects(), objects) << "now " << ProcessGdiObjectKinds();
  EXPECT_EQ(main->SkinFile(), AppPath + "Skins\\Deep\\DeepCyan.ssk");
  EXPECT_EQ(ReadSkinSetting(), "Skins\\Deep\\DeepCyan.ssk");
}

// The login dialog, the side-bar and the password manager in each skin
// that comes with the program, each chosen from the menu while the others
// are open; the pictures go to screenshots/skins-NAME-WINDOW.bmp.
TEST_F(SkinChooserTest, TheProgramsWindowsInEachShippedSkin) {
  TfPWDManage manager(&app);
  manager.SetUp();
  // Side by side as the screen has room for them: the side-bar stands in the middle.
  manager.Position = TPosition::poDesigned;
  manager.SetBounds(770, 40, 500, 380);
  manager.Show();
  // Laid out as the program folder has them; DeepCyan is in place already.
  for (const auto& [name, file] : {std::pair{"DeepCyan", "Skins\\Deep\\DeepCyan.ssk"},
                                   std::pair{"Paper", "Skins\\Paper\\Paper.ssk"},
                                   std::pair{"Graphite", "Skins\\Graphite\\Graphite.ssk"}}) {
    SCOPED_TRACE(name);
    const std::string path = folder / file;
    CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
    if (!PathExists(folder / file)) CopyFileA(TestSkinFile(name).c_str(), (folder / file).c_str(), FALSE);
    main->Skins.Refresh();
    TMenuItem* item = ItemNamed(main->mnuSkins, name);
    ASSERT_NE(item, nullptr) << "listed by its own name";
    item->Click();
    TfLogin login(&app);
    login.SetBounds(10, 40, login.Width(), login.Height());
    login.Position = TPosition::poDesigned;
    login.Show();
    PumpFor(300);
    EXPECT_EQ(login.SkinFile(), AppPath + file) << "a window made afterwards reads the chosen skin";
    EXPECT_EQ(manager.ToolBar1->Color(), manager.SkinEngine1->GetColor(TSkinColorKey::SKIN2_TOOLBARSTARTCOLOR))
        << "the open manager's tool bar takes the new skin's colour";
    // Text on the skin's colours is in the skin's text colour: the grid's
    // headings and the tool bar's captions, in the dark skin too.
    const TColor text = manager.SkinEngine1->GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR);
    EXPECT_TRUE(ShowsColor(manager.grdData->Handle(), {0, 0, 200, 18}, text))
        << "the grid's headings";
    EXPECT_TRUE(ShowsColor(manager.ToolBar1->Handle(), {0, 0, 120, manager.ToolBar1->Height()}, text))
        << "the tool bar's captions";
    const std::pair<const char*, TfBase*> windows[] = {{"login", &login}, {"sidebar", main}, {"manager", &manager}};
    for (const auto& [what, window] : windows) {
      EXPECT_EQ(window->SkinFile(), AppPath + file) << what;
      EXPECT_TRUE(InCaptionPiece(*window->SkinEngine1, CaptionPixel(*window->SkinEngine1, window->Handle()))) << what;
      EXPECT_TRUE(SaveWindowShot(window->Handle(), std::string("screenshots/skins-") + name + "-" + what + ".bmp"));
    }
  }
}
