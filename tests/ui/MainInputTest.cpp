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

class MainInputTest : public StoreTest {
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
    capture = &captureRect;
    captured = &capturedWhileOpen;
    seen = nullptr;
    rect = {};
    done = false;
    keys();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
      if (done) return;
      if (HWND menu = OpenMenuWindow()) {
        seen = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
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
  ASSERT_TRUE(FindCaptionButton(main->Handle(), HTMINBUTTON, button));
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
  HMENU file = GetSubMenu(GetMenu(main->Handle()), 0);
  ASSERT_NE(file, nullptr);
  main->tvObj->SetFocus();
  EXPECT_EQ(WhileMenuOpen([] {
              RealKey(VK_F10);
              RealKey(VK_DOWN);
            }),
            file)
      << "F10, then Down opens File";
  EXPECT_EQ(WhileMenuOpen([] {
              RealKey(VK_MENU);
              RealKey(VK_DOWN);
            }),
            file)
      << "Alt alone, then Down opens File";
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
      auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(box));
      for (int i = 0; form && i < form->ComponentCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(form->Components(i))) asked.push_back(label->Caption());
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
