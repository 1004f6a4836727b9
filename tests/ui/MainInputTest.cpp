// The side-bar driven through the system's input queue: double clicks,
// the caption's minimize button, the keyboard's menu keys, the tree's
// keys, and the notification-area icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "skin/engine/SkinScrollBars.h"
#include "support/SkinnedProgramFolder.h"
#include "support/SkinnerLookup.h"
#include "support/StoreFixture.h"
#include "support/TestDoubles.h"
#include "ui/uMain.h"

namespace {

// The screen's pixels in a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& r) {
  std::vector<COLORREF> pixels;
  HDC screen = GetDC(nullptr);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The open menu window, or none.
HWND OpenMenuWindow() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

class MainInputTest : public SkinnedWindowTest {
protected:
  MainInputTest() {
    dm = std::make_unique<TDM>();
    LogIn("anna", "pw");
    main = new TfMain(&app);
    app.SetMainForm(main);
    main->SetUp();
    main->Show();
    SetForegroundWindow(main->Handle());
    PumpFor(100);
  }
  ~MainInputTest() override {
    // No key may stay held or queued for the next test.
    PumpFor(50);
    delete main;
  }
  RECT ItemRect(TTreeNode* node) {
    RECT r{};
    TreeView_GetItemRect(main->tvObj->Handle(), main->tvObj->ItemOf(node), &r, TRUE);
    return r;
  }
  POINT ScreenOf(TTreeNode* node) {
    const RECT r = ItemRect(node);
    return ScreenPoint(main->tvObj->Handle(), {r.left + 4, (r.top + r.bottom) / 2});
  }
  // Runs the keys, then, once a menu is open, looks at it and closes it.
  // Returns the menu's handle (none when no menu opened) and its window rectangle.
  HMENU WhileMenuOpen(const std::function<void()>& keys, RECT* at = nullptr) {
    static HMENU seen;
    static RECT rect;
    static bool done;
    capturedWhileOpen.clear();
    static const RECT* capture;
    static std::vector<COLORREF>* captured;
    static std::string* firstItem;
    capture = &captureRect;
    captured = &capturedWhileOpen;
    firstItem = &openedFirstItem;
    openedFirstItem.clear();
    seen = nullptr;
    rect = {};
    done = false;
    keys();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
      if (done) return;
      if (HWND menu = OpenMenuWindow()) {
        seen = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        char first[128] = {};
        GetMenuStringA(seen, 0, first, sizeof first, MF_BYPOSITION);
        *firstItem = first;
        GetWindowRect(menu, &rect);
        if (capture->right > capture->left) *captured = ScreenPixels(*capture);
        done = true;
        RealKey(VK_ESCAPE);
        RealKey(VK_ESCAPE);
      }
    });
    const DWORD end = GetTickCount() + 1500;
    while (!done && static_cast<int>(end - GetTickCount()) > 0) PumpFor(20);
    KillTimer(nullptr, timer);
    done = true;
    PumpFor(150);
    if (at) *at = rect;
    return seen;
  }
  TApplication app;
  ModalDriver driver;
  std::unique_ptr<TDM> dm;
  TfMain* main;
  RECT captureRect{}; // a screen area photographed while the menu is open
  std::vector<COLORREF> capturedWhileOpen;
  std::string openedFirstItem; // the first item of the menu WhileMenuOpen saw
};

} // namespace

TEST_F(MainInputTest, ADoubleClickOpensTheEntryOnce) {
  RecordingShell recording;
  platform::ScopedServices recorded(nullptr, &recording);
  TTreeNode* file = FileList->AddNode(nullptr, "C:\\Data\\Report.txt", kNoteFile);
  PumpFor(50);
  RealClick(ScreenOf(file), false, 2);
  PumpFor(400);
  ASSERT_EQ(recording.executions.size(), 1u) << "one double click, one open";
  EXPECT_EQ(recording.executions[0].file, "C:\\Data\\Report.txt");
}

TEST_F(MainInputTest, TheMinimizeButtonSendsTheWindowToTheNotificationArea) {
  POINT button{};
  ASSERT_TRUE(SkinnedCaptionButton(*main->SkinEngine1, main->Handle(), 3, button));
  RealClick(button);
  PumpFor(300);
  EXPECT_FALSE(IsWindowVisible(main->Handle())) << "no strip left on the desktop";
  EXPECT_TRUE(main->TrayIcon1->Visible());
  // The system menu's Minimize does the same.
  Application->Restore();
  PumpFor(100);
  ASSERT_TRUE(IsWindowVisible(main->Handle()));
  SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpFor(100);
  EXPECT_FALSE(IsWindowVisible(main->Handle()));
  Application->Restore();
  PumpFor(100);
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  EXPECT_FALSE(IsIconic(main->Handle()));
}

TEST_F(MainInputTest, F10AndAltOpenTheMainMenuFromTheKeyboard) {
  // The menu lives in the skinned bar: each opening drops a pull-down of File's items.
  ASSERT_EQ(GetMenu(main->Handle()), nullptr);
  main->tvObj->SetFocus();
  EXPECT_NE(WhileMenuOpen([] {
              RealKey(VK_F10);
              RealKey(VK_DOWN);
            }),
            nullptr);
  EXPECT_EQ(openedFirstItem, "Change Password") << "F10, then Down opens File";
  EXPECT_NE(WhileMenuOpen([] {
              RealKey(VK_MENU);
              RealKey(VK_DOWN);
            }),
            nullptr);
  EXPECT_EQ(openedFirstItem, "Change Password") << "Alt alone, then Down opens File";
  // Unskinned, the window's own menu bar answers the same keys.
  main->SkinEngine1->SetActive(false);
  PumpFor(100);
  HMENU file = GetSubMenu(GetMenu(main->Handle()), 0);
  ASSERT_NE(file, nullptr);
  main->tvObj->SetFocus();
  EXPECT_EQ(WhileMenuOpen([] {
              RealKey(VK_F10);
              RealKey(VK_DOWN);
            }),
            file);
}

TEST_F(MainInputTest, ShiftF10AndTheMenuKeyOpenTheContextMenuAtTheSelectedEntry) {
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* dir = FileList->AddNode(nullptr, "C:\\windows", kNoteFolder);
  PumpFor(50);
  main->tvObj->SetFocus();
  main->tvObj->SetSelected(dir);
  PumpFor(50);
  // The entry above stays painted while the menu is open.
  const RECT catRow = ItemRect(cat);
  const POINT catAt = ScreenPoint(main->tvObj->Handle(), {0, catRow.top});
  RECT treeClient;
  GetClientRect(main->tvObj->Handle(), &treeClient);
  captureRect = {catAt.x, catAt.y, catAt.x + treeClient.right, catAt.y + (catRow.bottom - catRow.top)};
  const std::vector<COLORREF> before = ScreenPixels(captureRect);
  RECT menuAt{};
  EXPECT_EQ(WhileMenuOpen([] { RealKey(VK_F10, {VK_SHIFT}); }, &menuAt), main->ppDir->Handle());
  EXPECT_EQ(capturedWhileOpen, before) << "the tree's entries stay painted";
  captureRect = {};
  const RECT item = ItemRect(dir);
  const POINT itemAt = ScreenPoint(main->tvObj->Handle(), {item.left, item.top});
  EXPECT_GE(menuAt.top, itemAt.y) << "at the selected entry, not the tree's corner";
  EXPECT_LE(menuAt.top, itemAt.y + (item.bottom - item.top) + 2);
  main->tvObj->SetSelected(cat);
  PumpFor(50);
  EXPECT_EQ(WhileMenuOpen([] { RealKey(VK_APPS); }), main->ppType->Handle());
}


TEST_F(MainInputTest, ARightClickOpensTheEntrysMenuAndTheTreeStaysPainted) {
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* dir = FileList->AddNode(nullptr, "C:\\windows", kNoteFolder);
  PumpFor(100);
  const RECT catRow = ItemRect(cat);
  const POINT catAt = ScreenPoint(main->tvObj->Handle(), {0, catRow.top});
  RECT treeClient;
  GetClientRect(main->tvObj->Handle(), &treeClient);
  captureRect = {catAt.x, catAt.y, catAt.x + treeClient.right, catAt.y + (catRow.bottom - catRow.top)};
  const std::vector<COLORREF> before = ScreenPixels(captureRect);
  const COLORREF background = before.front();
  EXPECT_TRUE(std::any_of(before.begin(), before.end(), [background](COLORREF c) { return c != background; }))
      << "the catalog's row shows something";
  const POINT at = ScreenOf(dir);
  EXPECT_EQ(WhileMenuOpen([at] { RealClick(at, true); }), main->ppDir->Handle());
  EXPECT_EQ(main->CurrentNode, dir);
  EXPECT_EQ(capturedWhileOpen, before) << "the tree's entries stay painted";
}

TEST_F(MainInputTest, ADoubleClickOnTheTrayIconRestoresTheWindowAndAPressOpensItsMenu) {
  // Without a desktop shell's task bar, Wine shows the icons in a small
  // tray window of its own, each icon a window; ours is the only one.
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  HWND iconWindow = tray ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr;
  ASSERT_NE(iconWindow, nullptr);
  RECT r;
  GetWindowRect(iconWindow, &r);
  const POINT icon{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpFor(100);
  ASSERT_FALSE(IsWindowVisible(main->Handle()));
  EXPECT_EQ(WhileMenuOpen([icon] { RealClick(icon, false, 2); }), nullptr) << "a double click opens no menu";
  PumpFor(GetDoubleClickTime() + 100);
  EXPECT_TRUE(IsWindowVisible(main->Handle())) << "the double click restored the window";
  EXPECT_FALSE(IsIconic(main->Handle()));
  // One press of either button opens the tray menu.
  EXPECT_EQ(WhileMenuOpen([icon] { RealClick(icon); }), main->PopupMenu1->Handle());
  EXPECT_EQ(WhileMenuOpen([icon] { RealClick(icon, true); }), main->PopupMenu1->Handle());
}


TEST_F(MainInputTest, TheTreeFromTheKeyboardEnterOpensDeleteRemovesAndNewEntriesShow) {
  RecordingShell recording;
  platform::ScopedServices recorded(nullptr, &recording);
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* file = FileList->AddNode(cat, "C:\\Data\\Report.txt", kNoteFile);
  PumpFor(50);
  ASSERT_FALSE(TreeView_GetItemState(main->tvObj->Handle(), main->tvObj->ItemOf(cat), TVIS_EXPANDED) & TVIS_EXPANDED);

  // A catalog added from the catalog's menu under the collapsed one shows, selected.
  driver.When("TForm", [](HWND) { RunSteps({[] { RealType("Sub"); }, [] { RealKey(VK_RETURN); }}); });
  // Once the menu is open, Down and Enter choose its first item, "Add Catalog".
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
    if (!OpenMenuWindow()) return;
    KillTimer(nullptr, timer);
    RealKey(VK_DOWN);
    RealKey(VK_RETURN);
  });
  RealClick(ScreenOf(cat), true);
  PumpFor(1500);
  ASSERT_EQ(cat->Count(), 2);
  TTreeNode* sub = cat->Item(1);
  EXPECT_EQ(sub->Text(), "Sub");
  EXPECT_TRUE(TreeView_GetItemState(main->tvObj->Handle(), main->tvObj->ItemOf(cat), TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(main->tvObj->Selected(), sub);

  // Enter on a file opens it, once; on a catalog nothing.
  SetForegroundWindow(main->Handle());
  main->tvObj->SetFocus();
  PumpFor(100);
  RealKey(VK_RETURN);
  PumpFor(200);
  EXPECT_TRUE(recording.executions.empty()) << "a catalog opens nothing";
  RealKey(VK_UP); // the file, above the new catalog
  PumpFor(100);
  ASSERT_EQ(main->tvObj->Selected(), file);
  RealKey(VK_RETURN);
  PumpFor(200);
  ASSERT_EQ(recording.executions.size(), 1u);
  EXPECT_EQ(recording.executions[0].file, "C:\\Data\\Report.txt");

  // Delete asks as "Remove File" does; No keeps the entry, OK removes it.
  std::vector<std::string> asked;
  for (WORD answer : {VK_ESCAPE, VK_RETURN})
    driver.When("TMessageForm", [&asked, answer](HWND box) {
      asked.push_back(MessageFormText(box));
      RealKey(answer);
    });
  RealKey(VK_DELETE);
  PumpFor(600);
  EXPECT_EQ(cat->Count(), 2) << "Escape keeps it";
  SetForegroundWindow(main->Handle());
  main->tvObj->SetFocus();
  PumpFor(100);
  RealKey(VK_DELETE);
  PumpFor(600);
  EXPECT_EQ(cat->Count(), 1);
  EXPECT_EQ(asked, (std::vector<std::string>{"Remove the file, Sure?", "Remove the file, Sure?"}));
  EXPECT_EQ(FileList->DataSet().RecordCount(), 2);
}

namespace {

// A native menu as a person reads it: captions (shortcut after a tab),
// "-" for a separator, "(off)" for a disabled item, "[...]" around a submenu.
std::string Read(HMENU menu) {
  std::string text;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    char caption[128] = {};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = caption;
    info.cch = sizeof caption;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    if (!text.empty()) text += "|";
    if (info.fType & MFT_SEPARATOR) {
      text += "-";
      continue;
    }
    text += caption;
    if (info.fState & MFS_DISABLED) text += "(off)";
    if (info.hSubMenu) text += "[" + Read(info.hSubMenu) + "]";
  }
  return text;
}

} // namespace

TEST_F(MainInputTest, TheMenusAsTheyShowAndChoosingFromThem) {
  // The menus' structure as the window's own menu bar holds it: the skin
  // draws the same items in its bar.
  main->SkinEngine1->SetActive(false);
  PumpFor(100);
  const std::string system = "MyComputer|Explorer|My Documents|Network Neiborhood|Recycle Bin";
  HMENU bar = GetMenu(main->Handle());
  std::string disk;
  for (int i = 0; i < main->mnuDisk->Count(); ++i) disk += (i ? "|" : "") + main->mnuDisk->Items(i)->Caption();
  const std::string edit = "Edit[Catalog[Add Catalog|Remove Catalog|Delete Catalog|-|Add Files]|"
                           "Folder[Open Folder|Find...|-|Remove Folder|Delete Folder]|"
                           "File[Open File|Open Folder of the File|-|Remove File|Delete File]]";
  const std::string skins = "Skins[DeepCyan|-|More skins...]"; // the one skin of the program folder
  EXPECT_EQ(Read(bar), "File[Change Password|-|Password Manager|" + skins + "|-|Exit]|" + edit + "|" +
                           (disk.empty() ? std::string("Disk") : "Disk[" + disk + "]") + "|System[" + system +
                           "]|Help[Help on line|Plimet on the Web|About Me]");
  EXPECT_EQ(Read(main->ppType->Handle()), "Add Catalog|Remove Catalog|Delete Catalog|-|Add Files");
  EXPECT_EQ(Read(main->ppDir->Handle()), "Open Folder|Find...|-|Remove Folder|Delete Folder");
  EXPECT_EQ(Read(main->ppFile->Handle()), "Open File|Open Folder of the File|-|Remove File|Delete File");
  EXPECT_EQ(Read(main->PopupMenu1->Handle()),
            "Change Password|Tools[" + system + "]|Password Manager|" + skins + "|Minimize|Restore|-|Exit");

  // A press on a folder leaves only the Edit menu's Folder submenu on.
  TTreeNode* dir = FileList->AddNode(nullptr, "C:\\windows", kNoteFolder);
  PumpFor(50);
  WhileMenuOpen([this, dir] { RealClick(ScreenOf(dir), true); });
  EXPECT_EQ(Read(GetSubMenu(bar, 1)), "Catalog(off)[Add Catalog|Remove Catalog|Delete Catalog|-|Add Files]|"
                                      "Folder[Open Folder|Find...|-|Remove Folder|Delete Folder]|"
                                      "File(off)[Open File|Open Folder of the File|-|Remove File|Delete File]");

  // Help > About Me chosen with the keyboard opens the about box, which shows what it must.
  std::vector<std::string> texts;
  bool bold = false;
  driver.When("TfAbout", [&texts, &bold](HWND box) {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(box));
    for (int i = 0; form && i < form->ComponentCount(); ++i) {
      auto* control = dynamic_cast<TControl*>(form->Components(i));
      if (!control || control->Caption().empty()) continue;
      texts.push_back(control->Caption());
      if (control->Caption() == "Plimet") bold = control->Font.Bold() && control->Font.Size() >= 14;
    }
    PumpFor(100);
    SaveWindowShot(box, "screenshots/skin-about.bmp");
    RealKey(VK_RETURN);
  });
  SetForegroundWindow(main->Handle());
  main->tvObj->SetFocus();
  // Keys gone astray would leave a menu open: it is closed after a while.
  const UINT_PTR guard = SetTimer(nullptr, 0, 4000, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (int i = 0; i < 3; ++i) RealKey(VK_ESCAPE);
  });
  RealKey(VK_F10);
  for (int i = 0; i < 4; ++i) RealKey(VK_RIGHT); // File, Edit, Disk, System, Help
  RealKey(VK_DOWN);
  RealKey(VK_UP); // round to the last item: About Me
  RealKey(VK_RETURN);
  PumpFor(1500);
  KillTimer(nullptr, guard);
  EXPECT_EQ(driver.Pending(), 0u) << "the about box opened";
  EXPECT_EQ(texts, (std::vector<std::string>{"Plimet", "Vsersion 1.0", kWebsite, "OK"}));
  EXPECT_TRUE(bold) << "the product name in large bold type";
}

TEST_F(MainInputTest, TheSideBarInAnotherSkin) {
  main->SkinEngine1->SetSkinFile(TestSkinFile("FiveSect"));
  PumpFor(200);
  POINT close{};
  ASSERT_TRUE(SkinnedCaptionButton(*main->SkinEngine1, main->Handle(), 1, close));
  EXPECT_EQ(main->SkinEngine1->Metrics().CaptionHeight, 24);
  EXPECT_TRUE(SaveWindowShot(main->Handle(), "screenshots/skin-sidebar-fivesect.bmp"));
}

TEST_F(MainInputTest, TheCloseBoxHidesTheWindowAndKeepsTheProgram) {
  POINT close{};
  ASSERT_TRUE(SkinnedCaptionButton(*main->SkinEngine1, main->Handle(), 1, close));
  RealClick(close);
  PumpFor(300);
  EXPECT_FALSE(IsWindowVisible(main->Handle())) << "sent to the notification area";
  EXPECT_TRUE(main->TrayIcon1->Visible());
  EXPECT_FALSE(app.Terminated());
  EXPECT_TRUE(IsWindow(main->Handle()));
}

class DiskMenuTest : public SkinnedWindowTest {
protected:
  DiskMenuTest() {
    recording.driveStrings = std::string("C:\\\0D:\\\0", 8) + '\0';
    dm = std::make_unique<TDM>();
    LogIn("anna", "pw");
    main = std::make_unique<TfMain>(&app);
    app.SetMainForm(main.get());
    main->SetUp();
    main->Show();
  }
  RecordingShell recording;
  platform::ScopedServices recorded{nullptr, &recording};
  TApplication app;
  std::unique_ptr<TDM> dm;
  std::unique_ptr<TfMain> main;
};

TEST_F(DiskMenuTest, OneItemPerDriveEachExploringItsRoot) {
  ASSERT_EQ(main->mnuDisk->Count(), 2);
  EXPECT_EQ(main->mnuDisk->Items(0)->Caption(), "C:\\");
  EXPECT_EQ(main->mnuDisk->Items(1)->Caption(), "D:\\");
  EXPECT_EQ(main->mnuDisk->Items(1)->ImageIndex, 1);
  // Chosen in the menu bar: the menu's command message runs it.
  SendMessageA(main->Handle(), WM_COMMAND, main->mnuDisk->Items(1)->Command(), 0);
  ASSERT_FALSE(recording.executions.empty());
  EXPECT_EQ(recording.executions.back().operation, "explore");
  EXPECT_EQ(recording.executions.back().file, "D:\\");
  EXPECT_EQ(recording.executions.back().show, SW_SHOWNOACTIVATE);
  EXPECT_EQ(recording.executions.back().owner, reinterpret_cast<std::uintptr_t>(main->Handle()));
}

TEST_F(MainInputTest, TheSizeGripFollowsTheWindowsSize) {
  HWND bar = main->StatusBar1->Handle();
  auto grip = [bar](const RECT& client) { // the pixels of the bar's right end that are not its face
    const POINT origin = ScreenPoint(bar, {0, 0});
    const COLORREF face =
        ScreenPixels({origin.x + 20, origin.y + client.bottom / 2, origin.x + 21, origin.y + client.bottom / 2 + 1})
            .front();
    const auto end = ScreenPixels(
        {origin.x + client.right - 14, origin.y + 2, origin.x + client.right, origin.y + client.bottom - 1});
    return end.size() - static_cast<std::size_t>(std::count(end.begin(), end.end(), face));
  };
  RECT normal;
  GetClientRect(bar, &normal);
  ASSERT_GT(grip(normal), 10u) << "the grip in the corner";
  POINT maximize{};
  ASSERT_TRUE(SkinnedCaptionButton(*main->SkinEngine1, main->Handle(), 2, maximize));
  RealClick(maximize);
  PumpFor(400);
  ASSERT_TRUE(IsZoomed(main->Handle()));
  RECT zoomed;
  GetClientRect(bar, &zoomed);
  ASSERT_GT(zoomed.right, normal.right + 40);
  EXPECT_EQ(grip(normal), 0u) << "nothing left where the grip was";
  ShowWindow(main->Handle(), SW_RESTORE);
  PumpFor(300);
  GetClientRect(bar, &normal);
  EXPECT_GT(grip(normal), 10u) << "the grip back in the corner";
}

TEST_F(MainInputTest, TheTreeScrollsUnderSkinnedBarsAsUnderItsOwn) {
  for (int i = 0; i < 80; ++i) FileList->AddNode(nullptr, "C:\\Data\\Note" + std::to_string(i) + ".txt", kNoteFile);
  PumpFor(200);
  HWND tree = main->tvObj->Handle();
  TSkinScrollWinControl* skinner = SkinnerOf<TSkinScrollWinControl>(*main->SkinEngine1, main->Handle(), main->tvObj);
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(skinner->VertPanel(), nullptr);
  const RECT bar = NativeScrollBar(tree, OBJID_VSCROLL);
  EXPECT_TRUE(IsWindowVisible(skinner->VertPanel()->Handle()));
  EXPECT_TRUE(SameScreenRect(skinner->VertPanel()->Handle(), bar)) << "the skin's bar lies over the tree's own";
  EXPECT_TRUE(SaveWindowShot(main->Handle(), "screenshots/skin-sidebar-scrolled.bmp"));

  // A real click on the skinned down arrow scrolls as the tree's own arrow does.
  const int side = bar.right - bar.left;
  const POINT down{bar.left + side / 2, bar.bottom - side / 2};
  ASSERT_EQ(GetScrollPos(tree, SB_VERT), 0);
  RealClick(down);
  PumpFor(200);
  RealClick(down);
  PumpFor(200);
  const int skinned = GetScrollPos(tree, SB_VERT);
  main->SkinEngine1->SetActive(false);
  PumpFor(200);
  SendMessageA(tree, WM_VSCROLL, SB_TOP, 0);
  PumpFor(100);
  const RECT own = NativeScrollBar(tree, OBJID_VSCROLL);
  const POINT ownDown{own.left + side / 2, own.bottom - side / 2};
  RealClick(ownDown);
  PumpFor(200);
  RealClick(ownDown);
  PumpFor(200);
  EXPECT_EQ(GetScrollPos(tree, SB_VERT), skinned);
  EXPECT_GT(skinned, 0);
}

