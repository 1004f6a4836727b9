// The main side-bar in the program's own process: docking, drops, the
// choice of menus and the catalog commands.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "support/ModalDriver.h"
#include "support/Screenshot.h"
#include "support/SkinnedProgramFolder.h"
#include "support/StoreFixture.h"
#include "framework/win32/StdCtrls.h"
#include "store/uFun.h"
#include "ui/uMain.h"

namespace {

// A drop from the shell: names at a point of the tree.
HDROP MakeDrop(const std::vector<std::string>& names, POINT at) {
  std::string list;
  for (const std::string& name : names) list += name + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->pt = at;
  header->fNC = FALSE;
  header->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

POINT MiddleOf(TTreeView* tree, TTreeNode* node) {
  RECT r{};
  TreeView_GetItemRect(tree->Handle(), tree->ItemOf(node), &r, TRUE);
  return {r.left + 2, (r.top + r.bottom) / 2};
}

std::string Shape(const TTreeNodes& nodes) {
  std::string text;
  for (TTreeNode* node = nodes.GetFirstNode(); node; node = node->GetNext())
    text += std::string(static_cast<std::size_t>(node->Level()), '.') + node->Text() + ";";
  return text;
}

// The entries table as the next start would find it.
std::string SavedShape() {
  TTreeModel tree;
  TFileList saved(&tree);
  if (!saved.LoadData(FileDataPath())) return "(not saved)";
  FillFileTree(tree, saved);
  return Shape(tree.Items);
}

class MainTest : public SkinnedWindowTest {
protected:
  MainTest() : services_(nullptr, &platform::SystemShell()) {
    dm = std::make_unique<TDM>();
    LogIn("anna", "pw");
    main = new TfMain(&app);
    app.SetMainForm(main);
    main->SetUp();
    main->Show();
  }
  ~MainTest() override { delete main; }
  void Drop(const std::vector<std::string>& names, POINT at) {
    SendMessageA(main->tvObj->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names, at)), 0);
  }
  TApplication app;
  ModalDriver driver;
  std::unique_ptr<TDM> dm;
  TfMain* main;

private:
  platform::ScopedServices services_; // the real shell, for icons and file operations
};

} // namespace

TEST_F(MainTest, TheWindowIsTheSideBar) {
  char name[32] = {};
  GetClassNameA(main->Handle(), name, sizeof name);
  EXPECT_STREQ(name, "Plimet");
  EXPECT_EQ(FindWindowA("Plimet", nullptr), main->Handle());
  EXPECT_TRUE(GetWindowLongPtrA(main->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r;
  GetWindowRect(main->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 224);
  SetWindowPos(main->Handle(), nullptr, 0, 0, 150, 300, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(main->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 240) << "below 200 wide becomes 240";
  EXPECT_EQ(r.bottom - r.top, 410);
  EXPECT_TRUE(main->TrayIcon1->Visible());
  // Closing only minimizes.
  SendMessageA(main->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(main->Handle()));
  EXPECT_FALSE(app.Terminated());
  // The wake-up message of a second start brings it back.
  SendMessageA(main->Handle(), WM_PLIMET_WAKEUP, 0, 0);
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  // The end of the log-on ends the program.
  EXPECT_EQ(SendMessageA(main->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_TRUE(app.Terminated());
}

TEST_F(MainTest, DraggingAgainstAnEdgeDocksAndStartsTheTimer) {
  RECT r;
  GetWindowRect(main->Handle(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT proposed{-30, 50, -30 + w, 50 + h};
  SendMessageA(main->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.left, 0);
  EXPECT_EQ(main->Docking().Edges(), deLeft);
  EXPECT_TRUE(main->Timer1->Enabled());
  // The pointer far away: the next tick slides the window out to a 2-pixel strip.
  SetWindowPos(main->Handle(), nullptr, 0, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
  main->Timer1Timer(nullptr);
  GetWindowRect(main->Handle(), &r);
  EXPECT_EQ(r.left, 2 - w);
  SetCursorPos(1, 100); // on the strip
  main->Timer1Timer(nullptr);
  GetWindowRect(main->Handle(), &r);
  EXPECT_EQ(r.left, 0);
  RECT away{300, 200, 300 + w, 200 + h};
  SendMessageA(main->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&away));
  EXPECT_FALSE(main->Timer1->Enabled());
}

TEST_F(MainTest, DropsAddEntriesAndAreSaved) {
  const std::string file = folder / "Report.txt";
  WriteFileBytes(file, "x");
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "Data");
  Drop({file, folder / "Data"}, {5, 150}); // empty space
  EXPECT_EQ(Shape(main->tvObj->Items()), "Report.txt;Data;");
  ASSERT_TRUE(PathExists(UserPath("DataFile.cds"))) << "written after the drop";
  TTreeNode* report = main->tvObj->Items().Item(0);
  EXPECT_GE(report->ImageIndex(), 2) << "the file's own icon, appended";
  EXPECT_EQ(main->tvObj->Items().Item(1)->ImageIndex(), 1);

  // Onto a catalog: inside it. Onto a file: ignored.
  main->CurrentNode = nullptr;
  FileList->AddCatalog(nullptr, "Cat");
  app.ProcessMessages();
  Drop({file}, MiddleOf(main->tvObj, main->tvObj->Items().Item(2)));
  EXPECT_EQ(Shape(main->tvObj->Items()), "Report.txt;Data;Cat;.Report.txt;");
  Drop({file}, MiddleOf(main->tvObj, report));
  EXPECT_EQ(main->tvObj->Items().Count(), 4);

  // A name longer than an entry holds is not stored cut short; the user hears which.
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  Drop({"C:\\" + std::string(300, 'x')}, {5, 300});
  EXPECT_EQ(main->tvObj->Items().Count(), 4);
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, ADropOnAFolderOffersCopyAndMove) {
  const std::string target = folder / "Target";
  std::filesystem::create_directories(std::filesystem::path(target));
  const std::string file = folder / "moved.txt";
  WriteFileBytes(file, "content");
  TTreeNode* dir = FileList->AddNode(nullptr, target, kNoteFolder);
  app.ProcessMessages();
  std::vector<std::string> shown;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND focus = GetFocus() ? GetFocus() : GetActiveWindow();
    PostMessageA(focus, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(focus, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1); // the second item: move
  });
  Drop({file}, MiddleOf(main->tvObj, dir));
  EXPECT_EQ(main->DropList, (std::vector<std::string>{file}));
  EXPECT_TRUE(main->itmOpenFolder->Visible()) << "the folder menu is back as it was";
  EXPECT_FALSE(main->itmCopyFiles->Visible());
  app.ProcessMessages(); // the chosen command runs now
  EXPECT_TRUE(PathExists(target + "\\moved.txt"));
  EXPECT_FALSE(PathExists(file));
  EXPECT_EQ(main->tvObj->Items().Count(), 1) << "the catalog itself does not change";
}

TEST_F(MainTest, APressChoosesTheMenusAndCommandsActOnItsNode) {
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* dir = FileList->AddNode(cat, "C:\\windows", kNoteFolder);
  app.ProcessMessages();
  main->tvObj->SetSelected(nullptr);
  auto press = [&](POINT at) {
    PostMessageA(main->tvObj->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(main->tvObj->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    // The context menu opens on the release: close it again, and wait
    // until that has happened so no key is left for later windows.
    static bool closed, menuShown;
    closed = menuShown = false;
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
      KillTimer(nullptr, timer);
      HWND menu = FindWindowA("#32768", nullptr);
      menuShown = menu && IsWindowVisible(menu);
      PostMessageA(GetFocus() ? GetFocus() : GetActiveWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
      closed = true;
    });
    while (!closed) app.HandleMessage();
    app.ProcessMessages();
    EXPECT_TRUE(menuShown) << "the context menu opened";
  };
  main->tvObj->Items().Item(0); // expanded below
  SendMessageA(main->tvObj->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(main->tvObj->ItemOf(cat)));
  press(MiddleOf(main->tvObj, dir));
  EXPECT_EQ(main->CurrentNode, dir);
  EXPECT_EQ(main->tvObj->PopupMenu, main->ppDir);
  EXPECT_TRUE(main->mnuFolder->Enabled());
  EXPECT_FALSE(main->mnuCatalog->Enabled());
  press({5, 300}); // empty space
  EXPECT_EQ(main->CurrentNode, nullptr);
  EXPECT_EQ(main->tvObj->PopupMenu, main->ppType);
  EXPECT_TRUE(main->mnuCatalog->Enabled());

  // "Add Catalog" under nothing: a top-level catalog, named as typed.
  driver.When("TForm", [](HWND) {
    TypeText("Work");
    PressKey(VK_RETURN);
  });
  main->actAddType->Execute();
  EXPECT_EQ(Shape(main->tvObj->Items()), "Cat;.windows;Work;");
  // "Remove Catalog" on Cat: its subtree goes, nothing on disk is touched.
  main->CurrentNode = cat;
  driver.When("TMessageForm", [](HWND form) { CloseByCloseBox(form); }); // not OK: nothing happens
  main->actRemoveType->Execute();
  EXPECT_EQ(main->tvObj->Items().Count(), 3);
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  main->actRemoveType->Execute();
  EXPECT_EQ(Shape(main->tvObj->Items()), "Work;");
  EXPECT_EQ(main->CurrentNode, main->tvObj->Selected()) << "what is selected now is what the commands act on";
  EXPECT_TRUE(PathExists("C:\\windows"));
  EXPECT_EQ(FileList->DataSet().RecordCount(), 1);
}

TEST_F(MainTest, DeletingANestedCatalogRecyclesEveryReferenceDepthFirst) {
  // Files and a folder on disk, referenced from a nested catalog.
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "Folder");
  for (const char* name : {"a.txt", "b.txt", "keep.txt"}) WriteFileBytes(folder / name, name);
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* sub = FileList->AddCatalog(cat, "Sub");
  FileList->AddNode(sub, folder / "a.txt", kNoteFile);
  FileList->AddNode(cat, folder / "Folder", kNoteFolder);
  FileList->AddNode(sub, folder / "b.txt", kNoteFile);
  FileList->AddNode(nullptr, folder / "keep.txt", kNoteFile);
  app.ProcessMessages();
  main->CurrentNode = cat;
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); }); // "Delete the Catalog, Sure?"
  // The shell asks once per file or folder; each question is answered Yes.
  std::vector<std::string> asked;
  for (int i = 0; i < 3; ++i)
    driver.When("#32770", [&asked](HWND box) {
      char text[256] = {};
      GetWindowTextA(box, text, sizeof text);
      asked.push_back(text);
      PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
  main->actDeleteType->Execute();
  EXPECT_EQ(asked.size(), 3u) << "one shell question per referenced file or folder";
  EXPECT_FALSE(PathExists(folder / "a.txt"));
  EXPECT_FALSE(PathExists(folder / "b.txt"));
  EXPECT_FALSE(PathExists(folder / "Folder"));
  EXPECT_TRUE(PathExists(folder / "keep.txt"));
  EXPECT_EQ(Shape(main->tvObj->Items()), "keep.txt;");
  EXPECT_EQ(FileList->DataSet().RecordCount(), 1);
}

TEST_F(MainTest, ChangingThePasswordRewritesTheAccountAndBothBooks) {
  UserList->AddUser("anna", "pw");
  // A password book written under the old password, not opened in this run.
  TTreeModel tree;
  PubList = std::make_unique<TPubList>(&tree);
  PubData = std::make_unique<TPubData>();
  LoadPwdData();
  PubList->AddType(nullptr, "Mail");
  SavePwdData();
  PubList.reset();
  PubData.reset();
  driver.When("TfChangePwd", [](HWND) {
    RunSteps({[] { TypeText("pw"); }, [] { PressKey(VK_TAB); }, [] { TypeText("new"); }, [] { PressKey(VK_TAB); },
              [] { TypeText("new"); }, [] { PressKey(VK_RETURN); }});
  });
  main->actChangePwd->Execute();
  EXPECT_EQ(CurUserPwd, "new");
  TUserList saved;
  ASSERT_TRUE(saved.LoadData(UserDataPath()));
  EXPECT_TRUE(saved.CheckUser("anna", "new"));
  for (const char* book : {"PwdType.cds", "PwdFile.cds"}) {
    TMemoryStream stream;
    EXPECT_NO_THROW(OpenPasswordBook(UserPath(book), "anna", "new", stream)) << book;
    EXPECT_THROW(OpenPasswordBook(UserPath(book), "anna", "pw", stream), EStoreError) << book;
  }
}

TEST_F(MainTest, TheSideBarWithCatalogsFoldersAndFiles) {
  WriteFileBytes(folder / "Report.txt", "x");
  WriteFileBytes(folder / "Notes.txt", "x");
  TTreeNode* work = FileList->AddCatalog(nullptr, "Work");
  FileList->AddCatalog(nullptr, "Private");
  TTreeNode* docs = FileList->AddCatalog(work, "Documents");
  SendMessageA(main->tvObj->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(main->tvObj->ItemOf(work)));
  app.ProcessMessages();
  Drop({folder / "Report.txt", folder / "Notes.txt", folder.Path().substr(0, folder.Path().size() - 1)},
       MiddleOf(main->tvObj, docs));
  SendMessageA(main->tvObj->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(main->tvObj->ItemOf(docs)));
  EXPECT_EQ(Shape(main->tvObj->Items()).substr(0, 16), "Work;.Documents;");
  EXPECT_EQ(main->tvObj->Items().Count(), 6);
  RedrawWindow(main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  app.ProcessMessages();
  Sleep(200);
  app.ProcessMessages();
  EXPECT_TRUE(SaveWindowShot(main->Handle(), "screenshots/side-bar.bmp"));
}

TEST_F(MainTest, AddFilesHelpAndCommandsOnTheWrongKindOfNode) {
  for (const char* name : {"one.txt", "two.txt", "three.txt"}) WriteFileBytes(folder / name, name);
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  main->CurrentNode = cat;
  main->OpenDialog1->InitialDir = folder.Path();
  driver.When("#32770", [](HWND box) {
    SetDlgItemTextA(box, 0x47C, "\"one.txt\" \"two.txt\" \"three.txt\"");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  main->actAddFiles->Execute();
  EXPECT_EQ(cat->Count(), 3) << "three file entries under the catalog";
  for (int i = 0; i < cat->Count(); ++i) {
    EXPECT_GE(cat->Item(i)->ImageIndex(), 2) << "each with its own icon";
    EXPECT_EQ(static_cast<const TNodeData*>(cat->Item(i)->Data())->NoteType, kNoteFile);
  }

  // Find and copy act only on a folder entry: on a file they do nothing.
  main->CurrentNode = cat->Item(0);
  main->DropList = {folder / "two.txt"};
  main->actCopyFiles->Execute();
  main->actFind->Execute();
  // The three files, "config.ini", the skins, and the account's folder with the entries saved after Add Files.
  EXPECT_EQ(FolderEntries(folder.Path()).size(), 6u) << "nothing copied anywhere";
  EXPECT_EQ(SavedShape(), Shape(main->tvObj->Items())) << "the added files were saved at once";

  // Without a help file beside the program: a notice, nothing else.
  std::string notice;
  driver.When("TMessageForm", [&notice](HWND box) {
    notice = MessageFormText(box);
    PressKey(VK_RETURN);
  });
  main->actHelp->Execute();
  EXPECT_EQ(notice, "System help file is not exist!");

  // Remove with no current node does nothing, and asks nothing.
  main->CurrentNode = nullptr;
  main->actRemoveFile->Execute();
  EXPECT_EQ(FileList->DataSet().RecordCount(), 4);
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, OpenFindSystemHelpAndWebCommandsAskTheShellExactly) {
  RecordingShell recording;
  platform::ScopedServices recorded(nullptr, &recording);
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* dir = FileList->AddNode(cat, "C:\\Data\\Sub", kNoteFolder);
  TTreeNode* file = FileList->AddNode(cat, "C:\\Data\\Report.txt", kNoteFile);
  const auto owner = reinterpret_cast<std::uintptr_t>(main->Handle());
  struct Expected {
    std::string operation, file, parameters;
    int show;
    std::uintptr_t owner;
  };
  auto last = [&recording]() {
    const auto& r = recording.executions.back();
    return Expected{r.operation, r.file, r.parameters, r.show, r.owner};
  };
  auto same = [](const Expected& a, const Expected& b) {
    return a.operation == b.operation && a.file == b.file && a.parameters == b.parameters && a.show == b.show &&
           a.owner == b.owner;
  };
  main->CurrentNode = file;
  main->actOpenFile->Execute();
  EXPECT_TRUE(same(last(), {"", "C:\\Data\\Report.txt", "", SW_SHOWNOACTIVATE, 0}));
  main->actOpenFolderOfFile->Execute();
  EXPECT_TRUE(same(last(), {"", "C:\\Data\\", "", SW_SHOWNOACTIVATE, 0}));
  main->CurrentNode = dir;
  main->actOpenFolder->Execute();
  EXPECT_TRUE(same(last(), {"", "C:\\Data\\Sub", "", SW_SHOWNOACTIVATE, 0}));
  main->actFind->Execute();
  EXPECT_TRUE(same(last(), {"find", "C:\\Data\\Sub", "", SW_SHOWNORMAL, owner}));
  const std::size_t before = recording.executions.size();
  main->CurrentNode = cat;
  main->actOpenFolder->Execute();
  main->actFind->Execute();
  EXPECT_EQ(recording.executions.size(), before) << "a catalog opens nothing and has nothing to search";

  main->actMyComputer->Execute();
  EXPECT_TRUE(same(last(), {"Open", "explorer", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", SW_SHOWNORMAL, owner}));
  main->actExplorer->Execute();
  EXPECT_TRUE(same(last(), {"explore", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "", SW_SHOWNORMAL, owner}));
  main->actDocuments->Execute();
  EXPECT_TRUE(same(last(), {"Open", "explorer", "", SW_SHOWNORMAL, owner}));
  main->actNNb->Execute();
  EXPECT_TRUE(same(last(), {"Open", "explorer", "::{208D2C60-3AEA-1069-A2D7-08002B30309D}", SW_SHOWNORMAL, owner}));
  main->actReccyleBin->Execute();
  EXPECT_TRUE(same(last(), {"Open", "explorer", "::{645FF040-5081-101B-9F08-00AA002F954E}", SW_SHOWNORMAL, owner}));
  main->actWebsite->Execute();
  EXPECT_TRUE(same(last(), {"open", kWebsite, "", SW_SHOW, owner}));
  WriteFileBytes(folder / "help.chm", "help");
  main->actHelp->Execute();
  EXPECT_TRUE(same(last(), {"", folder / "help.chm", "", SW_SHOW, owner}));
  // Each drive root of the Disk menu explores it.
  recording.driveStrings.clear();
  if (main->mnuDisk->Count() > 0) {
    main->mnuDisk->Items(0)->Click();
    EXPECT_EQ(last().operation, "explore");
    EXPECT_EQ(last().file, main->mnuDisk->Items(0)->Caption());
    EXPECT_EQ(last().show, SW_SHOWNOACTIVATE);
  }
  // The about box opens and closes.
  driver.When("TfAbout", [](HWND) { PressKey(VK_RETURN); });
  main->actAboutMe->Execute();
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, TheSlideFollowsTheRealPointerAtEveryEdgeAndCorner) {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  RECT r;
  GetWindowRect(main->Handle(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  struct Case {
    int dragLeft, dragTop, outLeft, outTop, inLeft, inTop;
  };
  const Case cases[] = {{-9, 50, 2 - w, 50, 0, 50},           {50, -9, 50, 2 - h, 50, 0},
                        {sw, 50, sw - 2, 50, sw - w, 50},     {50, sh, 50, sh - 2, 50, sh - h},
                        {-9, -9, 2 - w, 2 - h, 0, 0},         {sw, sh, sw - 2, sh - 2, sw - w, sh - h},
                        {-9, sh, 2 - w, sh - 2, 0, sh - h},   {sw, -9, sw - 2, 2 - h, sw - w, 0}};
  for (const Case& c : cases) {
    RECT proposed{c.dragLeft, c.dragTop, c.dragLeft + w, c.dragTop + h};
    SendMessageA(main->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
    SetWindowPos(main->Handle(), nullptr, proposed.left, proposed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(main->Timer1->Enabled());
    SetCursorPos(proposed.left < sw / 2 ? sw - 1 : 0, proposed.top < sh / 2 ? sh - 1 : 0);
    main->Timer1Timer(nullptr);
    GetWindowRect(main->Handle(), &r);
    EXPECT_EQ(r.left, c.outLeft) << c.dragLeft << "," << c.dragTop;
    EXPECT_EQ(r.top, c.outTop) << c.dragLeft << "," << c.dragTop;
    SetCursorPos(std::clamp(static_cast<int>(r.left) + 1, 0, sw - 1), std::clamp(static_cast<int>(r.top) + 1, 0, sh - 1));
    main->Timer1Timer(nullptr);
    GetWindowRect(main->Handle(), &r);
    EXPECT_EQ(r.left, c.inLeft) << c.dragLeft << "," << c.dragTop;
    EXPECT_EQ(r.top, c.inTop) << c.dragLeft << "," << c.dragTop;
  }
}

TEST(MainWindowSetUp, ADamagedEntriesFileIsReportedKeptAndReplacedByAnEmptyTable) {
  TempFolder folder;
  ResetDataModule();
  AppPath = folder.Path();
  CurUserCode = "anna";
  CurUserPwd = "pw";
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "anna");
  WriteFileBytes(folder / "anna\\DataFile.cds", "not a table");
  TApplication app;
  ModalDriver driver;
  TDM dm;
  std::string message;
  driver.When("TMessageForm", [&message](HWND box) {
    message = MessageFormText(box);
    PressKey(VK_RETURN);
  });
  {
    TfMain main(&app);
    main.SetUp();
    EXPECT_NE(message.find("DataFile.cds"), std::string::npos) << message;
    EXPECT_TRUE(FileList->DataSet().Active()) << "the program goes on with an empty table";
    FileList->AddCatalog(nullptr, "New");
  }
  EXPECT_EQ(ReadFileBytes(folder / "anna\\DataFile.cds.damaged"), "not a table") << "the damaged file is kept";
  CloseData();
  ResetDataModule();
}

// --- what the user stored survives every command -------------------------------------------


TEST_F(MainTest, EveryChangeOfTheCatalogIsSavedAtOnce) {
  driver.When("TForm", [](HWND) {
    TypeText("Work");
    PressKey(VK_RETURN);
  });
  main->actAddType->Execute();
  EXPECT_EQ(SavedShape(), "Work;") << "a new catalog is on disk before anything else happens";
  main->CurrentNode = main->tvObj->Items().GetFirstNode();
  driver.When("TForm", [](HWND) {
    TypeText("Inner");
    PressKey(VK_RETURN);
  });
  main->actAddType->Execute();
  EXPECT_EQ(SavedShape(), "Work;.Inner;");
  main->CurrentNode = main->tvObj->Items().GetFirstNode()->Item(0);
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  main->actRemoveType->Execute();
  EXPECT_EQ(SavedShape(), "Work;");
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, AFailedSaveIsToldAndExitLetsTheUserRetryQuitOrStay) {
  FaultyFileSystem files;
  files.failWritesAfter = 0; // a full disk
  platform::ScopedServices full(&files, nullptr);
  driver.When("TForm", [](HWND) {
    TypeText("Work");
    PressKey(VK_RETURN);
  });
  std::vector<std::string> texts;
  auto answer = [this, &texts](WORD key) {
    driver.When("TMessageForm", [&texts, key](HWND box) {
      texts.push_back(MessageFormText(box));
      PressKey(key);
    });
  };
  answer(VK_RETURN);
  main->actAddType->Execute();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "Unable to write to " + FileDataPath() + ": There is not enough space on the disk.");
  EXPECT_EQ(Shape(main->tvObj->Items()), "Work;") << "the catalog stays in the window";

  // Exit: Cancel goes back to the program, nothing lost.
  answer(VK_ESCAPE);
  main->actExit->Execute();
  EXPECT_FALSE(app.Terminated());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[1].find(UserDataPath()), std::string::npos) << texts[1];
  EXPECT_NE(texts[1].find(FileDataPath()), std::string::npos) << texts[1];
  EXPECT_NE(texts[1].find("Retry"), std::string::npos) << texts[1];
  // Retry (the default) once there is room: saved, and the program ends.
  driver.When("TMessageForm", [&files](HWND) {
    files.failWritesAfter = SIZE_MAX;
    PressKey(VK_RETURN);
  });
  main->actExit->Execute();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(SavedShape(), "Work;");
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, ExitCanQuitAnywayWhenTheDiskStaysFull) {
  FaultyFileSystem files;
  files.failWritesAfter = 0;
  platform::ScopedServices full(&files, nullptr);
  driver.When("TMessageForm", [](HWND box) {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(box));
    for (int i = 0; form && i < form->ComponentCount(); ++i)
      if (auto* button = dynamic_cast<TButton*>(form->Components(i)); button && button->Caption() == "&Ignore")
        ClickOn(button->Handle());
  });
  main->actExit->Execute();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, TheKeyboardSelectionIsWhatTheCommandsActOn) {
  WriteFileBytes(folder / "precious.txt", "keep me");
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  TTreeNode* file = FileList->AddNode(nullptr, folder / "precious.txt", kNoteFile);
  app.ProcessMessages();
  RecordingShell recorder;
  platform::ScopedServices recording(nullptr, &recorder);
  // A real click on the file, then Up to the catalog.
  const POINT at = MiddleOf(main->tvObj, file);
  SetFocus(main->tvObj->Handle());
  PostMessageA(main->tvObj->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(main->tvObj->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  app.ProcessMessages();
  ASSERT_EQ(main->CurrentNode, file);
  PressKey(VK_UP);
  app.ProcessMessages();
  EXPECT_EQ(main->tvObj->Selected(), cat);
  EXPECT_EQ(main->CurrentNode, cat) << "the selected catalog, not the file clicked before";
  EXPECT_TRUE(main->mnuCatalog->Enabled());
  EXPECT_FALSE(main->mnuFile->Enabled());
  // "Delete Catalog" now deletes the catalog and nothing of the file.
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  main->actDeleteType->Execute();
  EXPECT_TRUE(recorder.operations.empty()) << "no file went to the recycle bin";
  EXPECT_EQ(Shape(main->tvObj->Items()), "precious.txt;");
  EXPECT_EQ(ReadFileBytes(folder / "precious.txt"), "keep me");
  // Down and up again onto the file: Open File and Remove File act on it.
  // (The keyboard came back to the tree after the question; it leaves and
  // enters again with nothing selected, which selects the first entry.)
  main->tvObj->SetSelected(nullptr);
  SetFocus(main->Handle());
  SetFocus(main->tvObj->Handle());
  PressKey(VK_HOME);
  app.ProcessMessages();
  EXPECT_EQ(main->CurrentNode, file);
  main->actOpenFile->Execute();
  ASSERT_EQ(recorder.executions.size(), 1u);
  EXPECT_EQ(recorder.executions[0].file, folder / "precious.txt");
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  main->actRemoveFile->Execute();
  EXPECT_EQ(Shape(main->tvObj->Items()), "");
  EXPECT_TRUE(recorder.operations.empty()) << "removing an entry touches no file";
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(MainTest, AfterADropTheCommandsActOnTheNodeDroppedOn) {
  WriteFileBytes(folder / "precious.txt", "keep me");
  WriteFileBytes(folder / "new.txt", "new");
  TTreeNode* file = FileList->AddNode(nullptr, folder / "precious.txt", kNoteFile);
  TTreeNode* cat = FileList->AddCatalog(nullptr, "Cat");
  app.ProcessMessages();
  const POINT at = MiddleOf(main->tvObj, file);
  PostMessageA(main->tvObj->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(main->tvObj->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  app.ProcessMessages();
  ASSERT_EQ(main->CurrentNode, file);
  Drop({folder / "new.txt"}, MiddleOf(main->tvObj, cat));
  EXPECT_EQ(main->tvObj->Selected(), cat) << "what the commands act on is what is selected";
  EXPECT_EQ(main->CurrentNode, cat);
  EXPECT_TRUE(main->mnuCatalog->Enabled());
  EXPECT_FALSE(main->mnuFile->Enabled()) << "no file command offered for the catalog";
  EXPECT_EQ(main->tvObj->PopupMenu, main->ppType);
}

TEST_F(MainTest, ADeclinedRecycleBinQuestionKeepsTheEntryAndSaysWhy) {
  WriteFileBytes(folder / "wanted.txt", "x");
  TTreeNode* file = FileList->AddNode(nullptr, folder / "wanted.txt", kNoteFile);
  app.ProcessMessages();
  main->CurrentNode = file;
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); }); // "Delete the file, Sure?"
  driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDNO, 0); }); // the shell's own question
  std::string told;
  driver.When("TMessageForm", [&told](HWND box) {
    told = MessageFormText(box);
    PressKey(VK_RETURN);
  });
  main->actDeleteFile->Execute();
  EXPECT_TRUE(PathExists(folder / "wanted.txt"));
  EXPECT_EQ(Shape(main->tvObj->Items()), "wanted.txt;") << "the reference stays";
  EXPECT_EQ(told, "This entry was kept, because its file or folder was not deleted:\n" + folder / "wanted.txt" +
                      ": the deletion was cancelled.");
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST(MainWindowSetUp, AnEntriesFileHeldByAnotherProgramEndsWithoutWritingIt) {
  TempFolder folder;
  ResetDataModule();
  AppPath = folder.Path();
  CurUserCode = "anna";
  CurUserPwd = "pw";
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "anna");
  {
    TTreeModel tree;
    TFileList entries(&tree);
    entries.CreateTable();
    entries.AddCatalog(nullptr, "Precious");
    entries.SaveData(folder / "anna\\DataFile.cds");
  }
  const std::string before = ReadFileBytes(folder / "anna\\DataFile.cds");
  TApplication app;
  ModalDriver driver;
  TDM dm;
  std::string message;
  driver.When("TMessageForm", [&message](HWND box) {
    message = MessageFormText(box);
    PressKey(VK_RETURN);
  });
  HANDLE holder = CreateFileA((folder / "anna\\DataFile.cds").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  {
    TfMain main(&app);
    EXPECT_FALSE(main.SetUp()) << "the side-bar is not used";
  }
  CloseHandle(holder);
  EXPECT_EQ(message.rfind("Unable to read " + folder / "anna\\DataFile.cds: ", 0), 0u) << message;
  EXPECT_NE(message.find(kEndsUnwritten), std::string::npos) << message;
  EXPECT_EQ(message.find(".."), std::string::npos) << message;
  EXPECT_EQ(ReadFileBytes(folder / "anna\\DataFile.cds"), before);
  EXPECT_EQ(FolderEntries(folder / "anna"), std::vector<std::string>{"DataFile.cds"}) << "no copy, no new file";
  ResetDataModule();
}
