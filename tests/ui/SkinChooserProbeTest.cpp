// Probes of the skin chooser from the places a person meets it first: the
// keyboard in the skinned menus, odd folders, a settings file that cannot
// be written, the skin already in use, a window that is open meanwhile.
#include <gtest/gtest.h>

#include "skin/SkinFile.h"
#include "support/MenuItems.h"
#include "support/ModalDriver.h"
#include "support/SkinArchiveBuilder.h"
#include "support/RealInput.h"
#include "support/SkinnedProgramFolder.h"
#include "support/TestDoubles.h"
#include "ui/uLogin.h"
#include "ui/uMain.h"
#include "ui/uPWDManage.h"

namespace {

constexpr const char* kFiveSect = "Skins\\Five\\FiveSect.ssk";
constexpr const char* kDeep = "Skins\\Deep\\DeepCyan.ssk";

// With the keyboard alone, as a person does it: Down until the item of the
// next caption is highlighted in the innermost open menu, then Right to
// open it (Enter for the last); false when the path was not walked.
bool KeyboardThroughMenus(const std::vector<std::string>& captions) {
  static std::vector<std::string> left;
  static int presses;
  left = captions;
  presses = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND inner = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
      if (IsWindowVisible(w) && !inner) inner = w; // the topmost in z-order: the last opened
    if (!inner || left.empty()) return;
    if (++presses > 40) {
      RealKey(VK_ESCAPE);
      return;
    }
    auto* menu = reinterpret_cast<HMENU>(SendMessageA(inner, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      if (!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)) continue;
      char text[256] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      if (left.front() == text) {
        left.erase(left.begin());
        RealKey(left.empty() ? VK_RETURN : VK_RIGHT);
        return;
      }
    }
    RealKey(VK_DOWN);
  });
  const DWORD end = GetTickCount() + 8000;
  while (!left.empty() && static_cast<int>(end - GetTickCount()) > 0) PumpFor(50);
  KillTimer(nullptr, timer);
  PumpFor(300);
  const bool done = left.empty() && presses <= 40;
  if (!done)
    for (int i = 0; i < 3; ++i) RealKey(VK_ESCAPE);
  return done;
}

// A copy of a test skin that carries no name of its own.
void WriteNamelessSkin(const std::string& from, const std::string& to) {
  SkinArchiveSpec spec;
  ASSERT_EQ(Tsk2SkinFileReader::ExtractEntryToMemory(from, "SKINDATA.SK2", spec.content, ""), 0);
  for (std::size_t at = spec.content.find("SKIN_NAME"); at != std::string::npos; at = spec.content.find("SKIN_NAME"))
    spec.content[at + 8] = 'X';
  WriteFileBytes(to, BuildSkinArchive(spec));
}

class SkinChooserProbeTest : public SkinnedWindowTest {
protected:
  SkinChooserProbeTest() {
    CreateDirectoryA((folder / "Skins\\Five").c_str(), nullptr);
    CopyFileA(TestSkinFile("FiveSect").c_str(), (folder / kFiveSect).c_str(), FALSE);
    dm = std::make_unique<TDM>();
    LogIn("anna", "pw");
    main = new TfMain(&app);
    app.SetMainForm(main);
    main->SetUp();
    main->Show();
    SetForegroundWindow(main->Handle());
    PumpFor(100);
    driver.When("TMessageForm", [this](HWND box) {
      said.push_back(MessageFormText(box));
      PressKey(VK_RETURN);
    });
  }
  ~SkinChooserProbeTest() override {
    PumpFor(50);
    delete main;
    RemoveDirectoryA((folder / "config.ini").c_str());
  }
  TApplication app;
  ModalDriver driver;
  std::unique_ptr<TDM> dm;
  TfMain* main;
  std::vector<std::string> said;
};

} // namespace

TEST_F(SkinChooserProbeTest, TheKeyboardAloneChoosesASkinFromTheFileMenu) {
  // F10 and Down open File; Down to Skins, Right, Down to FiveSect, Enter.
  RealKey(VK_F10);
  RealKey(VK_DOWN);
  ASSERT_TRUE(KeyboardThroughMenus({"Skins", "FiveSect"}));
  PumpFor(300);
  EXPECT_EQ(main->SkinFile(), AppPath + kFiveSect);
  EXPECT_EQ(ReadSkinSetting(), kFiveSect);
  EXPECT_TRUE(said.empty());
}

TEST_F(SkinChooserProbeTest, OddFolderAndFileNamesShowAsThemselves) {
  // A skin without a name of its own is shown by its file name: "&" must
  // not turn into a mnemonic.
  CreateDirectoryA((folder / "Skins\\R&D").c_str(), nullptr);
  WriteNamelessSkin(TestSkinFile("SystemColors"), folder / "Skins\\R&D\\&.ssk");
  const std::string longName(150, 'L');
  WriteNamelessSkin(TestSkinFile("SystemColors"), folder / ("Skins\\" + longName + ".ssk"));
  // A copy of the skin in use elsewhere: the two are told apart by their folders.
  CreateDirectoryA((folder / "Skins\\Copy").c_str(), nullptr);
  CopyFileA(TestSkinFile("DeepCyan").c_str(), (folder / "Skins\\Copy\\DeepCyan.ssk").c_str(), FALSE);
  // Neither a folder named like a skin nor a file two levels down is offered.
  CreateDirectoryA((folder / "Skins\\Folder.ssk").c_str(), nullptr);
  CreateDirectoryA((folder / "Skins\\Five\\Deeper").c_str(), nullptr);
  CopyFileA(TestSkinFile("ThinBorder").c_str(), (folder / "Skins\\Five\\Deeper\\Thin.ssk").c_str(), FALSE);
  main->Skins.Refresh();
  EXPECT_EQ(Captions(main->mnuSkins),
            (std::vector<std::string>{"&&", "DeepCyan (Copy\\DeepCyan.ssk)", "DeepCyan (Deep\\DeepCyan.ssk)*", "FiveSect",
                                      longName, "-", "More skins..."}));
  // The native menu shows "&" for "&&".
  HMENU skins = GetSubMenu(main->PopupMenu1->Handle(), 3);
  ASSERT_NE(skins, nullptr);
  char text[256] = {};
  GetMenuStringA(skins, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&&");

  // Choosing "&" works and keeps its file.
  ItemNamed(main->mnuSkins, "&&")->Click();
  PumpFor(100);
  EXPECT_TRUE(said.empty()) << (said.empty() ? "" : said[0]);
  EXPECT_EQ(ReadSkinSetting(), "Skins\\R&D\\&.ssk");
  EXPECT_EQ(Checked(main->mnuSkins), "&&");
}

TEST_F(SkinChooserProbeTest, AnEmptyOrMissingSkinsFolderLeavesOnlyMoreSkins) {
  DeleteFileA((folder / kFiveSect).c_str());
  RemoveDirectoryA((folder / "Skins\\Five").c_str());
  DeleteFileA((folder / kDeep).c_str());
  RemoveDirectoryA((folder / "Skins\\Deep").c_str());
  main->Skins.Refresh();
  EXPECT_EQ(Captions(main->mnuSkins), (std::vector<std::string>{"More skins..."})) << "empty folder";
  ASSERT_TRUE(RemoveDirectoryA((folder / "Skins").c_str()));
  main->Skins.Refresh();
  EXPECT_EQ(Captions(main->itmTraySkins), (std::vector<std::string>{"More skins..."})) << "no folder";
  RecordingShell recording;
  platform::ScopedServices recorded(nullptr, &recording);
  ItemNamed(main->mnuSkins, "More skins...")->Click();
  EXPECT_TRUE(PathExists(folder / "Skins")) << "made, so the folder window has somewhere to open";
  ASSERT_EQ(recording.executions.size(), 1u);
  EXPECT_EQ(recording.executions[0].file, AppPath + "Skins");
  EXPECT_TRUE(main->SkinEngine1->InEffect()) << "the skin in use stays though its file went";
}

// A settings file that cannot be written: the user is told, and the skin
// in use stays, so the menus, the open windows and the windows opened
// afterwards agree.
TEST_F(SkinChooserProbeTest, AnUnwritableSettingsFileLeavesTheSkinInUse) {
  // Read-only is not honoured for root under Wine: a folder in its place
  // refuses the write the same way.
  ASSERT_TRUE(DeleteFileA((folder / "config.ini").c_str()));
  ASSERT_TRUE(CreateDirectoryA((folder / "config.ini").c_str(), nullptr));
  ASSERT_FALSE(WriteSkinSetting(kDeep)) << "the system refuses the write";
  EXPECT_FALSE(main->Skins.Choose(kFiveSect));
  PumpFor(100);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0], "Unable to write to " + AppPath + "config.ini");
  EXPECT_EQ(main->SkinFile(), AppPath + kDeep);
  EXPECT_EQ(Checked(main->mnuSkins), "DeepCyan");
  said.clear();
  // The error box the new window shows for the same file.
  driver.When("#32770", [this](HWND box) {
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    said.push_back(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  TfPWDManage manager(&app);
  manager.SetUp();
  manager.Show();
  PumpFor(100);
  EXPECT_EQ(manager.SkinFile(), main->SkinFile());
  manager.Close();
}

// Loaded again, every window would be hidden and shown for nothing.
TEST_F(SkinChooserProbeTest, ChoosingTheSkinInUseChangesNothing) {
  int loads = 0;
  main->SkinEngine1->OnSkinChanged = [&loads](TComponent*) { ++loads; };
  const DWORD before = GetTickCount();
  ItemNamed(main->mnuSkins, "DeepCyan")->Click();
  PumpFor(100);
  main->SkinEngine1->OnSkinChanged = nullptr;
  EXPECT_TRUE(said.empty());
  EXPECT_EQ(main->SkinFile(), AppPath + kDeep);
  EXPECT_EQ(loads, 0) << "the skin in use was loaded again and every window hidden and shown again for nothing ("
                      << (GetTickCount() - before) << " ms)";
}

// The password manager is modal in the program: the side-bar is disabled
// meanwhile and its tray menu is the way to the chooser.
TEST_F(SkinChooserProbeTest, ASkinChosenFromTheTrayWhileTheManagerIsOpenKeepsTheManagerActive) {
  TfPWDManage manager(&app);
  manager.SetUp();
  EnableWindow(main->Handle(), FALSE);
  manager.Show();
  SetForegroundWindow(manager.Handle());
  PumpFor(200);
  ASSERT_EQ(GetActiveWindow(), manager.Handle());
  ItemNamed(main->itmTraySkins, "FiveSect")->Click();
  PumpFor(300);
  EXPECT_EQ(manager.SkinFile(), AppPath + kFiveSect);
  EXPECT_TRUE(IsWindowVisible(manager.Handle()));
  EXPECT_EQ(GetActiveWindow(), manager.Handle()) << "the modal window lost the keyboard to the disabled side-bar";
  EnableWindow(main->Handle(), TRUE);
  manager.Close();
}
