#pragma once
// The login dialog: pick or type a user code, type the password, log in or
// create the account on the spot.
#include "app/uBase.h"
#include "framework/win32/ActnList.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/StdCtrls.h"

class TfLogin : public TfBase {
public:
  explicit TfLogin(TComponent* owner);
  PLIMET_CLASS_NAME(TfLogin)

  void FormCreate(TComponent* sender) override;

  TImage* imgLogin;
  TGroupBox* GroupBox1;
  TLabel* Label1;
  TComboBox* cmbAccount;
  TLabel* Label2;
  TEdit* edtPwd;
  TBitBtn* btnLogin;
  TBitBtn* btnCancel;
  TActionList* ActionList1;
  TAction* actLogin;
  TAction* actCancel;

private:
  void FormCloseQuery(TComponent* sender, bool& canClose);
  void actLoginExecute(TComponent* sender);
  void actCancelExecute(TComponent* sender);
};

// Shows the dialog once; CurUserCode and CurUserPwd get what was typed.
// True exactly when the user logged in.
bool ShowLoginDialog();

// Before the login: true when the account table is open, or was damaged
// and starts empty beside its kept copy (the user was told). False when it
// could not be read at all (the user was told): then the program ends
// without writing anything.
bool AccountTableReady();
