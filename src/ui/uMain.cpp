#include "ui/uMain.h"

#include "framework/win32/MessageParams.h"

#include <shellapi.h>

#include "platform/Services.h"
#include "store/uDM.h"
#include "store/uFun.h"
#include "ui/uAbout.h"
#include "ui/uChangePwd.h"
#include "ui/uInputPwd.h"
#include "ui/uPWDManage.h"

namespace {

constexpr std::size_t kEntryPathLength = 256; // the entries table's "FFullName" column

std::string DroppedName(HDROP drop, UINT index) {
  // Read at the full length: a name cut to a fixed buffer names another place.
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  std::string name(length + 1, '\0');
  DragQueryFileA(drop, index, name.data(), length + 1);
  name.resize(length);
  return name;
}

const TNodeData* EntryOf(const TTreeNode* node) {
  return node ? dynamic_cast<const TNodeData*>(node->Data()) : nullptr;
}

} // namespace

TfMain::TfMain(TComponent* owner) : TfBase(owner) {
  SetCaption("Plimet");
  WindowClassName = "Plimet";
  FormStyle = TFormStyle::fsStayOnTop;
  BorderStyle = TFormBorderStyle::bsSizeable;
  BorderIcons = {true, true, true, false};
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 224, 458);

  ImageList1 = new TImageList(this);
  AddResourceImages(ImageList1, "TREEIMAGES"); // 0 catalog, 1 folder
  ImageList3 = new TImageList(this);
  AddResourceImages(ImageList3, "TREEIMAGES");
  Icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 16, 16, 0));
  if (Icon) icons_.emplace_back(Icon);
  ImageList2 = new TImageList(this);
  ImageList2->AddIcon(Icon);

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetParent(this);
  StatusBar1->SetBounds(0, 0, 224, 19);
  PageControl1 = new TPageControl(this);
  PageControl1->SetParent(this);
  PageControl1->SetAlign(TAlign::alClient);
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetCaption("WorkSpace");
  TabSheet1->SetPageControl(PageControl1);
  TabSheet1->SetTabVisible(false);
  PageControl1->SetActivePage(TabSheet1);
  tvObj = new TTreeView(this);
  tvObj->SetParent(TabSheet1);
  tvObj->SetAlign(TAlign::alClient);
  tvObj->SetImages(ImageList1);
  tvObj->SetIndent(28);
  tvObj->ReadOnly = true;
  tvObj->OnMouseDown = [this](TComponent* s, TMouseButton b, WPARAM k, int x, int y) { tvObjMouseDown(s, b, k, x, y); };
  tvObj->OnChange = [this](TComponent* s, TTreeNode* n) { tvObjChange(s, n); };
  tvObj->OnDblClick = [this](TComponent* s) { tvObjDblClick(s); };
  tvObj->OnKeyDown = [this](TComponent* s, WORD& key, WPARAM keys) { tvObjKeyDown(s, key, keys); };

  Timer1 = new TTimer(this);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(300);
  Timer1->OnTimer = [this](TComponent* s) { Timer1Timer(s); };
  OpenDialog1 = new TOpenDialog(this);
  BuildMenus();

  TrayIcon1 = new TTrayIcon(this);
  TrayIcon1->Icon = Icon;
  TrayIcon1->Hint = "Assistant";
  TrayIcon1->PopupMenu = PopupMenu1;
  TrayIcon1->OnDblClick = [](TComponent*) {
    Application->Restore();
    Application->BringToFront();
  };

  OnCanResize = [](TComponent*, int& width, int& height, bool& resize) {
    LimitSideBarSize(width, height);
    resize = true;
  };
  OnCloseQuery = [this](TComponent*, bool& canClose) {
    // Closing sends the program to the notification area; only Exit ends it.
    canClose = false;
    Application->Minimize();
    TrayIcon1->ApplicationMinimized();
  };
}

TfMain::~TfMain() {
  if (savedTreeProc_) tvObj->WindowProc = savedTreeProc_; // the tree's own procedure back
  TrayIcon1->SetVisible(false);
  // The entries table outlives the window (it is saved at exit); its tree does not.
  if (FileList) FileList->DetachTree();
}

bool TfMain::SetUp() {
  // 1. The tree takes files dropped from the shell.
  DragAcceptFiles(tvObj->Handle(), TRUE);
  savedTreeProc_ = tvObj->WindowProc;
  tvObj->WindowProc = [this](TMessage& message) {
    if (message.Msg == WM_DROPFILES) {
      DropFiles(reinterpret_cast<HDROP>(message.WParam));
      return;
    }
    const bool press = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_RBUTTONDOWN ||
                       message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_RBUTTONDBLCLK;
    if (!press) {
      savedTreeProc_(message);
      return;
    }
    // A press decides the current node itself: what the tree selects while
    // it handles the press (the first item, when it takes the focus) does not.
    struct Pressing {
      bool& flag;
      bool before;
      explicit Pressing(bool& f) : flag(f), before(f) { flag = true; }
      ~Pressing() { flag = before; }
      Pressing(const Pressing&) = delete;
      Pressing& operator=(const Pressing&) = delete;
    } pressing(pressing_);
    savedTreeProc_(message);
  };
  // 2. to 8.
  BuildDiskMenu();
  FileList = std::make_unique<TFileList>(&tvObj->Model());
  LoadFileData();
  switch (FileList->LoadFailure()) {
  case TLoadFailure::None:
    break;
  case TLoadFailure::Damaged:
    MessageDlg(FileList->LoadErrorText(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    FileList->CreateTable(); // go on with an empty table; the damaged file was kept
    break;
  case TLoadFailure::Unreadable:
    MessageDlg(FileList->LoadErrorText() + "\n\n" + kEndsUnwritten, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return false;
  }
  FillFileTree(tvObj->Model(), *FileList);
  FormStyle = TFormStyle::fsStayOnTop;
  DropList.clear();
  SetCaption("Plimet");
  TrayIcon1->SetVisible(true);
  Skins.Password = SkinEngine1->Password;
  Skins.Owner = Handle();
  Skins.Refresh();
  return true;
}

// --- menus and commands --------------------------------------------------------------

void TfMain::BuildMenus() {
  ActionList1 = new TActionList(this);
  auto act = [this](const char* name, const char* caption, const char* category, std::function<void()> run) {
    return ActionList1->Add(name, caption, category, [run](TComponent*) { run(); });
  };
  actChangePwd = act("actChangePwd", "Change Password", "File", [this] {
    std::string newPwd;
    if (!ShowChangePwdDialog(CurUserPwd, newPwd)) return;
    // The account and both password books change together or not at all;
    // books not opened in this run are kept readable under the new password.
    ChangeAccountPassword(newPwd);
  });
  actPwdMng = act("actPwdMng", "Password Manager", "", [] {
    std::string typed;
    if (!ShowInputPwdDialog(typed)) return;
    if (!UserList->CheckUser(CurUserCode, typed)) {
      MessageDlg("Invalid Password!", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
      return;
    }
    ShowPwdManageWindow(); // an error while it loads its tables reaches the error box
    SavePwdData();
  });
  actExit = act("actExit", "Exit", "File", [this] { ExitSaving(); });
  actAddType = act("actAddType", "Add Catalog", "Edit", [this] {
    std::string name;
    if (!InputQuery("New Catalog", "Catalog Name", name)) return;
    // The new catalog is shown and selected: what the next command acts on.
    if (TTreeNode* added = FileList->AddCatalog(CurrentNode, name)) tvObj->SetSelected(added);
    SaveEntries();
  });
  actRemoveType = act("actRemoveType", "Remove Catalog", "Edit", [this] { RemoveCurrent("Remove the Catalog, Sure?", false); });
  actDeleteType = act("actDeleteType", "Delete Catalog", "Edit", [this] { RemoveCurrent("Delete the Catalog, Sure?", true); });
  actAddFiles = act("actAddFiles", "Add Files", "Edit", [this] {
    if (!OpenDialog1->Execute()) return;
    std::vector<std::string> skipped;
    TTreeNode* added = nullptr;
    for (const std::string& path : OpenDialog1->Files()) {
      if (path.size() > kEntryPathLength) {
        skipped.push_back(path);
        continue;
      }
      added = FileList->AddNode(CurrentNode, path, kNoteFile);
      ShowFileIcon(added, path);
    }
    ShowAdded(added);
    SaveEntries();
    if (!skipped.empty())
      MessageDlg("These files have paths longer than a catalog entry holds and were not added:\n" + skipped.front() +
                     (skipped.size() > 1 ? "\n(and " + std::to_string(skipped.size() - 1) + " more)" : ""),
                 TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
  });
  actOpenFolder = act("actOpenFolder", "Open Folder", "Edit", [this] { FileList->OpenNode(CurrentNode, false); });
  actFind = act("actFind", "Find...", "Edit", [this] {
    if (const TNodeData* entry = EntryOf(CurrentNode); entry && entry->NoteType == kNoteFolder)
      ShellRun("find", entry->FFullName, "", SW_SHOWNORMAL);
  });
  auto copyMove = [this](bool move) {
    const TNodeData* entry = EntryOf(CurrentNode);
    if (!entry || entry->NoteType != kNoteFolder) return;
    for (const std::string& name : DropList) ShellCopyMove(name, entry->FFullName, move);
  };
  actCopyFiles = act("actCopyFiles", "Copy Files to Folder", "Edit", [copyMove] { copyMove(false); });
  actMoveFiles = act("actMoveFiles", "Move Files to Folder", "Edit", [copyMove] { copyMove(true); });
  actRemoveFolder = act("actRemoveFolder", "Remove Folder", "Edit", [this] { RemoveCurrent("Remove the folder, Sure?", false); });
  actDeleteFolder = act("actDeleteFolder", "Delete Folder", "Edit", [this] { RemoveCurrent("Delete the folder, Sure?", true); });
  actOpenFile = act("actOpenFile", "Open File", "Edit", [this] { FileList->OpenNode(CurrentNode, false); });
  actOpenFolderOfFile =
      act("actOpenFolderOfFile", "Open Folder of the File", "Edit", [this] { FileList->OpenNode(CurrentNode, true); });
  actRemoveFile = act("actRemoveFile", "Remove File", "Edit", [this] { RemoveCurrent("Remove the file, Sure?", false); });
  actDeleteFile = act("actDeleteFile", "Delete File", "Edit", [this] { RemoveCurrent("Delete the file, Sure?", true); });
  actMyComputer = act("actMyComputer", "MyComputer", "system",
                      [this] { ShellRun("Open", "explorer", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", SW_SHOWNORMAL); });
  actExplorer = act("actExplorer", "Explorer", "system",
                    [this] { ShellRun("explore", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "", SW_SHOWNORMAL); });
  actDocuments = act("actDocuments", "My Documents", "system", [this] { ShellRun("Open", "explorer", "", SW_SHOWNORMAL); });
  actNNb = act("actNNb", "Network Neiborhood", "system",
               [this] { ShellRun("Open", "explorer", "::{208D2C60-3AEA-1069-A2D7-08002B30309D}", SW_SHOWNORMAL); });
  actReccyleBin = act("actReccyleBin", "Recycle Bin", "system",
                      [this] { ShellRun("Open", "explorer", "::{645FF040-5081-101B-9F08-00AA002F954E}", SW_SHOWNORMAL); });
  actHelp = act("actHelp", "Help on line", "Help", [this] {
    const std::string help = AppPath + "help.chm";
    if (platform::Files().FileExists(help)) {
      ShellRun("", help, "", SW_SHOW);
    } else {
      MessageDlg("System help file is not exist!", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    }
  });
  actWebsite = act("actWebsite", "Plimet on the Web", "Help", [this] { ShellRun("open", kWebsite, "", SW_SHOW); });
  actAboutMe = act("actAboutMe", "About Me", "Help", [] { ShowAboutBox(); });

  auto item = [this](TMenuItem* parent, TAction* action, const char* caption = nullptr) {
    auto* made = new TMenuItem(this);
    if (action) made->SetAction(action);
    if (caption) made->SetCaption(caption);
    parent->Add(made);
    return made;
  };
  auto separator = [&item](TMenuItem* parent) { return item(parent, nullptr, "-"); };

  MainMenu1 = new TMainMenu(this);
  TMenuItem* root = MainMenu1->Items();
  TMenuItem* file = item(root, nullptr, "File");
  item(file, actChangePwd);
  separator(file);
  item(file, actPwdMng);
  mnuSkins = Skins.AddMenu(file);
  separator(file);
  item(file, actExit);
  TMenuItem* edit = item(root, nullptr, "Edit");
  mnuCatalog = item(edit, nullptr, "Catalog");
  for (TAction* a : {actAddType, actRemoveType, actDeleteType}) item(mnuCatalog, a);
  separator(mnuCatalog);
  item(mnuCatalog, actAddFiles);
  mnuFolder = item(edit, nullptr, "Folder");
  item(mnuFolder, actOpenFolder);
  item(mnuFolder, actFind);
  separator(mnuFolder);
  item(mnuFolder, actRemoveFolder);
  item(mnuFolder, actDeleteFolder);
  mnuFile = item(edit, nullptr, "File");
  item(mnuFile, actOpenFile);
  item(mnuFile, actOpenFolderOfFile);
  separator(mnuFile);
  item(mnuFile, actRemoveFile);
  item(mnuFile, actDeleteFile);
  mnuDisk = item(root, nullptr, "Disk");
  TMenuItem* system = item(root, nullptr, "System");
  for (TAction* a : {actMyComputer, actExplorer, actDocuments, actNNb, actReccyleBin}) item(system, a);
  TMenuItem* help = item(root, nullptr, "Help");
  for (TAction* a : {actHelp, actWebsite, actAboutMe}) item(help, a);
  SetMenu(MainMenu1);

  ppType = new TPopupMenu(this);
  for (TAction* a : {actAddType, actRemoveType, actDeleteType}) item(ppType->Items(), a);
  separator(ppType->Items());
  item(ppType->Items(), actAddFiles);
  ppDir = new TPopupMenu(this);
  itmOpenFolder = item(ppDir->Items(), actOpenFolder);
  itmFind = item(ppDir->Items(), actFind);
  sepDir1 = separator(ppDir->Items());
  sepDir1->SetVisible(false); // hidden in every state
  itmCopyFiles = item(ppDir->Items(), actCopyFiles);
  itmMoveFiles = item(ppDir->Items(), actMoveFiles);
  itmCopyFiles->SetVisible(false);
  itmMoveFiles->SetVisible(false);
  sepDir2 = separator(ppDir->Items());
  itmRemoveFolder = item(ppDir->Items(), actRemoveFolder);
  itmDeleteFolder = item(ppDir->Items(), actDeleteFolder);
  ppFile = new TPopupMenu(this);
  item(ppFile->Items(), actOpenFile);
  item(ppFile->Items(), actOpenFolderOfFile);
  separator(ppFile->Items());
  item(ppFile->Items(), actRemoveFile);
  item(ppFile->Items(), actDeleteFile);

  PopupMenu1 = new TPopupMenu(this);
  item(PopupMenu1->Items(), actChangePwd);
  TMenuItem* tools = item(PopupMenu1->Items(), nullptr, "Tools");
  for (TAction* a : {actMyComputer, actExplorer, actDocuments, actNNb, actReccyleBin}) item(tools, a);
  item(PopupMenu1->Items(), actPwdMng);
  itmTraySkins = Skins.AddMenu(PopupMenu1->Items());
  // Skins put in the folder while the program runs show the next time the menu opens.
  PopupMenu1->OnPopup = [this](TComponent*) { Skins.Refresh(); };
  TMenuItem* minimize = item(PopupMenu1->Items(), nullptr, "Minimize");
  minimize->OnClick = [this](TComponent*) {
    Application->Minimize();
    TrayIcon1->ApplicationMinimized();
  };
  TMenuItem* restore = item(PopupMenu1->Items(), nullptr, "Restore");
  restore->OnClick = [](TComponent*) { Application->Restore(); };
  separator(PopupMenu1->Items());
  item(PopupMenu1->Items(), actExit);
}

void TfMain::BuildDiskMenu() {
  std::vector<std::string> drives;
  GetDriveList(drives);
  for (const std::string& root : drives) {
    auto* drive = new TMenuItem(this);
    drive->SetCaption(root);
    drive->ImageIndex = 1;
    drive->OnClick = [this, root](TComponent*) { ShellRun("explore", root, "", SW_SHOWNOACTIVATE); };
    mnuDisk->Add(drive);
  }
}

void TfMain::ShellRun(const char* verb, const std::string& file, const std::string& parameters, int show) {
  platform::Shell().Execute({verb, file, parameters, "", show, reinterpret_cast<std::uintptr_t>(Handle())});
}

bool TfMain::Confirm(const std::string& question) {
  // Only OK goes on; No, Escape and the close box do not.
  return MessageDlg(question, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK}) == mrOk;
}

void TfMain::RemoveCurrent(const char* question, bool fromDisk) {
  if (!CurrentNode || !Confirm(question)) return;
  TTreeNode* node = CurrentNode;
  CurrentNode = nullptr; // its entry goes now
  std::vector<TDeleteFailure> failures;
  FileList->DeleteNode(node, fromDisk, &failures);
  // What the selection moved to while the entries went is what the commands act on.
  CurrentNode = tvObj->Selected();
  SaveEntries();
  if (failures.empty()) return;
  std::string text = failures.size() == 1 ? "This entry was kept, because its file or folder was not deleted:"
                                           : "These entries were kept, because their files or folders were not deleted:";
  for (const TDeleteFailure& failure : failures) text += "\n" + failure.path + ": " + failure.reason + ".";
  MessageDlg(text, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
}

bool TfMain::SaveEntries() {
  if (SaveFileData()) return true;
  MessageDlg(FileList->SaveErrorText(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  return false;
}

void TfMain::ExitSaving() {
  for (;;) {
    std::string problems;
    if (!SaveUserData()) problems += UserList->SaveErrorText() + "\n";
    if (!SaveFileData()) problems += FileList->SaveErrorText() + "\n";
    if (problems.empty()) break;
    const int answer = MessageDlg(problems + "\nRetry to try again, Ignore to quit without these changes, or Cancel "
                                             "to go back to Plimet.",
                                  TMsgDlgType::mtError, {TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbIgnore, TMsgDlgBtn::mbCancel});
    if (answer == mrIgnore) break;
    if (answer != mrRetry) return;
  }
  Application->Terminate();
}

void TfMain::ShowFileIcon(TTreeNode* node, const std::string& path) {
  if (!node) return;
  if (auto icon = GetFileIcon(path)) {
    const int index = ImageList1->AddIcon(std::move(icon));
    node->SetImageIndex(index);
    node->SetSelectedIndex(index);
    node->SetStateIndex(index);
  }
}

// --- the tree ---------------------------------------------------------------------------

void TfMain::ChooseMenus(TTreeNode* node, bool catalogWithoutNode) {
  mnuCatalog->SetEnabled(false);
  mnuFolder->SetEnabled(false);
  mnuFile->SetEnabled(false);
  const TNodeData* entry = EntryOf(node);
  if (!entry || entry->NoteType == kNoteCatalog) {
    tvObj->PopupMenu = ppType;
    mnuCatalog->SetEnabled(entry != nullptr || catalogWithoutNode);
  } else if (entry->NoteType == kNoteFolder) {
    tvObj->PopupMenu = ppDir;
    mnuFolder->SetEnabled(true);
  } else {
    tvObj->PopupMenu = ppFile;
    mnuFile->SetEnabled(true);
  }
}

void TfMain::tvObjMouseDown(TComponent*, TMouseButton, WPARAM, int x, int y) {
  CurrentNode = tvObj->GetNodeAt(x, y);
  ChooseMenus(CurrentNode, true); // empty space offers the catalog commands
  if (CurrentNode) tvObj->SetSelected(CurrentNode);
}

void TfMain::tvObjChange(TComponent*, TTreeNode* node) {
  // The commands act on what the user sees selected, however it got there
  // (from the keyboard, or by a command), except during a press.
  if (!pressing_) CurrentNode = node;
  ChooseMenus(node, false);
}

void TfMain::tvObjDblClick(TComponent*) { FileList->OpenNode(CurrentNode, false); }

void TfMain::tvObjKeyDown(TComponent*, WORD& key, WPARAM) {
  // Enter opens the selected entry as a double click does; Delete asks to
  // remove it as the Edit menu's Remove command does.
  TTreeNode* selected = tvObj->Selected();
  const TNodeData* entry = EntryOf(selected);
  if (!entry) return;
  if (key == VK_RETURN) {
    FileList->OpenNode(selected, false);
    key = 0;
  } else if (key == VK_DELETE) {
    CurrentNode = selected;
    (entry->NoteType == kNoteCatalog ? actRemoveType
     : entry->NoteType == kNoteFolder ? actRemoveFolder
                                      : actRemoveFile)
        ->Execute();
    key = 0;
  }
}

void TfMain::ShowAdded(TTreeNode* node) {
  // The catalogs above a new entry open, so it is never hidden.
  if (node) tvObj->MakeVisible(node);
}

TTreeNode* TfMain::AddDroppedName(const std::string& name, std::vector<std::string>& skipped) {
  if (name.size() > kEntryPathLength) {
    skipped.push_back(name); // stored cut short it would name another place
    return nullptr;
  }
  const bool isFile = platform::Files().FileExists(name);
  TTreeNode* node = FileList->AddNode(CurrentNode, name, isFile ? kNoteFile : kNoteFolder);
  if (isFile) {
    ShowFileIcon(node, name);
  } else if (node) {
    node->SetImageIndex(1);
    node->SetSelectedIndex(1);
    node->SetStateIndex(1);
  }
  return node;
}

void TfMain::DropFiles(HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  POINT at{};
  DragQueryPoint(drop, &at);
  CurrentNode = tvObj->GetNodeAt(at.x, at.y);
  // The node dropped on is what the user sees selected, and what the menus offer.
  {
    TTreeNode* target = CurrentNode;
    tvObj->SetSelected(target);
    CurrentNode = target;
    ChooseMenus(target, true);
  }
  const TNodeData* entry = EntryOf(CurrentNode);
  if (entry && entry->NoteType == kNoteFile) {
    DragFinish(drop);
    return;
  }
  if (entry && entry->NoteType == kNoteFolder) {
    POINT screen = at;
    ClientToScreen(tvObj->Handle(), &screen);
    for (TMenuItem* item : {itmOpenFolder, itmFind, sepDir1, sepDir2, itmRemoveFolder, itmDeleteFolder})
      item->SetVisible(false);
    itmCopyFiles->SetVisible(true);
    itmMoveFiles->SetVisible(true);
    ppDir->Popup(screen.x, screen.y + 5);
    DropList.clear();
    for (UINT i = 0; i < count; ++i) DropList.push_back(DroppedName(drop, i));
    for (TMenuItem* item : {itmOpenFolder, itmFind, sepDir2, itmRemoveFolder, itmDeleteFolder}) item->SetVisible(true);
    for (TMenuItem* item : {sepDir1, itmCopyFiles, itmMoveFiles}) item->SetVisible(false);
    DragFinish(drop);
    SaveEntries();
    return;
  }
  std::vector<std::string> skipped;
  TTreeNode* last = nullptr;
  for (UINT i = 0; i < count; ++i)
    if (TTreeNode* added = AddDroppedName(DroppedName(drop, i), skipped)) last = added;
  DragFinish(drop);
  ShowAdded(last);
  SaveEntries();
  if (!skipped.empty())
    MessageDlg("These names are longer than a catalog entry holds and were not added:\n" + skipped.front() +
                   (skipped.size() > 1 ? "\n(and " + std::to_string(skipped.size() - 1) + " more)" : ""),
               TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
}

// --- docking, the timer and the window's messages ------------------------------------

void TfMain::Timer1Timer(TComponent*) {
  try {
    POINT pointer;
    GetCursorPos(&pointer);
    RECT r;
    GetWindowRect(Handle(), &r);
    int left = r.left, top = r.top;
    docking_.Tick(left, top, r.right - r.left, r.bottom - r.top, pointer.x, pointer.y,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (left != r.left || top != r.top)
      SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } catch (...) {
    // a failed tick is forgotten; the next one runs as usual
  }
}

void TfMain::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_MOVING: {
    RECT* proposed = &msg::ProposedRect(m);
    RECT current;
    GetWindowRect(Handle(), &current);
    const TDockRect placed = docking_.Moving({proposed->left, proposed->top, proposed->right, proposed->bottom},
                                             current.right - current.left, current.bottom - current.top,
                                             GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    *proposed = {placed.Left, placed.Top, placed.Right, placed.Bottom};
    Timer1->SetEnabled(docking_.TimerWanted());
    m.Result = TRUE;
    return;
  }
  case WM_SIZE:
    TfBase::WndProc(m);
    // Minimized by any way (caption button, system menu, the tray's item):
    // only the tray icon stays.
    if (m.WParam == SIZE_MINIMIZED) TrayIcon1->ApplicationMinimized();
    return;
  case WM_QUERYENDSESSION:
    Application->Terminate();
    m.Result = 1;
    return;
  case WM_PLIMET_WAKEUP:
    if (IsIconic(Handle()) || !IsWindowVisible(Handle())) {
      Application->Restore();
    } else {
      Application->BringToFront();
    }
    return;
  default:
    break;
  }
  TfBase::WndProc(m);
}

bool ShowMainWindow() {
  TfMain window(Application);
  Application->SetMainForm(&window);
  if (!window.SetUp()) return false;
  window.ShowModal();
  return true;
}
