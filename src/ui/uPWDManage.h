#pragma once
// The password book: the account's tree of password catalogs, the records
// of the selected catalog in a grid and in edit fields, and the commands
// for both. Every change that reaches the tables is written at once.
#include "app/uBase.h"
#include "framework/win32/ActnList.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/DBCtrls.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "ui/SecretClipboard.h"

#include <memory>

class TfPWDManage : public TfBase {
public:
  explicit TfPWDManage(TComponent* owner);
  ~TfPWDManage() override;
  PLIMET_CLASS_NAME(TfPWDManage)

  // The set-up: tables created, connected, bound and loaded (raises what
  // loading raises), then the tree filled.
  void SetUp();
  void UpdateCommandStates();

  TToolBar* ToolBar1;
  TTreeView* tv;
  TSplitter* Splitter1;
  TDBGrid* grdData;
  TPanel* Panel1;
  TDBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4;
  TDataSource* dtsData;
  TPopupMenu* PopupMenu1;
  TImageList* ImageList1;
  TActionList* ActionList1;
  TAction *actNewType, *actDelType, *actNew, *actEdit, *actDel, *actSave, *actCancel;

  int CurrentCatalogId = 0;
  TTreeNode* PressedNode = nullptr;

  // For daily use: copy without traces, open the site, make a password, find.
  TPopupMenu* ppGrid;
  TMenuItem* itmHidePasswords;
  TAction *actCopyUser, *actCopyPassword, *actCopyURL, *actOpenURL, *actFind, *actHidePasswords, *actGenerate,
      *actGenerateOptions;
  TButton *btnGenerate, *btnGenerateOptions;
  TLabel* lblClipboard;
  TPanel* pnlFind;
  TEdit* edtFind;
  std::unique_ptr<TSecretClipboard> SecretClipboard;
  bool Finding() const { return finding_; }
  void UpdateRecordCommands();
  void WndProc(TMessage& message) override;

private:
  void ShowCatalogImage(TTreeNode* node);
  void WritePasswordTables();
  void BuildDailyCommands();
  // The current record's field, "" when there is none.
  std::string CurrentField(const char* field) const;
  bool Editing() const;
  void OpenFind();
  void ApplyFind();
  // The found record: its catalog selected in the tree, itself in the grid.
  void ChooseFound();
  void CloseFind();
  void PostPendingRecord();
  void SetPasswordsHidden(bool hidden);
  void ShortCutKeys(WORD& key);

  bool finding_ = false;
  bool filteredBeforeFind_ = false;
  std::string filterBeforeFind_;
  class TRecordWatch;
  std::unique_ptr<TRecordWatch> recordWatch_;
};

// Creates the window, sets it up, shows it modally and destroys it.
void ShowPwdManageWindow();
