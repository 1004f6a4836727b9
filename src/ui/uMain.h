#pragma once
// The main side-bar: the account's catalog tree in an always-on-top window
// that docks to screen edges and slides away, lives in the notification
// area, takes files dropped from the shell, and offers the catalog and
// file commands.
#include <string>
#include <vector>

#include "app/uBase.h"
#include "framework/win32/ActnList.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/Menus.h"
#include "framework/win32/TrayIcon.h"
#include "ui/Docking.h"
#include "ui/SkinChooser.h"

constexpr UINT WM_PLIMET_WAKEUP = WM_USER + 0x1000; // 0x1400, posted by a second start

class TfMain : public TfBase {
public:
  explicit TfMain(TComponent* owner);
  ~TfMain() override;
  PLIMET_CLASS_NAME(TfMain)

  // The set-up of a new main window, in the order the window needs it.
  // False when the account's entries could not be read (the user was told):
  // the window must not be used, and nothing may be saved.
  bool SetUp();

  TPageControl* PageControl1;
  TTabSheet* TabSheet1;
  TTreeView* tvObj;
  TStatusBar* StatusBar1;
  TMainMenu* MainMenu1;
  TPopupMenu* PopupMenu1;
  TPopupMenu* ppType;
  TPopupMenu* ppDir;
  TPopupMenu* ppFile;
  TTimer* Timer1;
  TTrayIcon* TrayIcon1;
  TOpenDialog* OpenDialog1;
  TImageList* ImageList1;
  TImageList* ImageList2;
  TImageList* ImageList3;
  TActionList* ActionList1;
  TMenuItem* mnuDisk;
  TMenuItem* mnuCatalog;
  TMenuItem* mnuFolder;
  TMenuItem* mnuFile;
  // The skin chooser and its submenus in the File menu and the tray menu.
  TSkinChooser Skins{this};
  TMenuItem* mnuSkins;
  TMenuItem* itmTraySkins;
  // The items of ppDir that a drop on a folder hides or shows.
  TMenuItem *itmOpenFolder, *itmFind, *sepDir1, *itmCopyFiles, *itmMoveFiles, *sepDir2, *itmRemoveFolder,
      *itmDeleteFolder;

  // What every command acts on: the node under the last press or drop, or
  // the node selected since (from the keyboard or by a command).
  TTreeNode* CurrentNode = nullptr;
  std::vector<std::string> DropList;
  const TDocking& Docking() const { return docking_; }

  TAction *actChangePwd, *actPwdMng, *actExit, *actAddType, *actRemoveType, *actDeleteType, *actAddFiles, *actOpenFolder,
      *actFind, *actCopyFiles, *actMoveFiles, *actRemoveFolder, *actDeleteFolder, *actOpenFile,
      *actOpenFolderOfFile, *actRemoveFile, *actDeleteFile, *actMyComputer, *actExplorer, *actDocuments, *actNNb,
      *actReccyleBin, *actHelp, *actWebsite, *actAboutMe;

  void WndProc(TMessage& message) override;

  // The handlers, named after what they answer.
  void tvObjMouseDown(TComponent* sender, TMouseButton button, WPARAM keys, int x, int y);
  void tvObjChange(TComponent* sender, TTreeNode* node);
  void tvObjDblClick(TComponent* sender);
  void tvObjKeyDown(TComponent* sender, WORD& key, WPARAM keys);
  void Timer1Timer(TComponent* sender);
  void DropFiles(HDROP drop);

private:
  void BuildMenus();
  void BuildDiskMenu();
  // The context menu and the Edit submenu for the node's kind.
  void ChooseMenus(TTreeNode* node, bool catalogWithoutNode);
  TTreeNode* AddDroppedName(const std::string& name, std::vector<std::string>& skipped);
  void ShowFileIcon(TTreeNode* node, const std::string& path);
  void ShowAdded(TTreeNode* node);
  bool Confirm(const std::string& question);
  void RemoveCurrent(const char* question, bool fromDisk);
  // Writes the entries table after a change; a failure is told, naming the file.
  bool SaveEntries();
  // The Exit command: saves what the session changed; when a save fails the
  // user may retry, quit anyway, or stay.
  void ExitSaving();
  void ShellRun(const char* verb, const std::string& file, const std::string& parameters, int show);

  TDocking docking_;
  TWndMethod savedTreeProc_;
  bool pressing_ = false; // while the tree handles a mouse press
  std::vector<gdi::TIconHandle> icons_; // the window's own icons, freed with it
};

// Creates the main window, sets it up, shows it modally until the
// application terminates, and destroys it. False when the account's
// entries could not be read and the window was not shown.
bool ShowMainWindow();

// The product page the Help menu and the about box open.
constexpr const char* kWebsite = "https://plimet.example.org/";
