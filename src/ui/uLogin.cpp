#include "ui/uLogin.h"

#include "framework/win32/Dialogs.h"
#include "platform/Services.h"
#include "store/UserCode.h"
#include "store/uDM.h"
#include "ui/uChangePwd.h"

namespace {

constexpr int kStoredCodeLength = 20;     // the account table's "FCode" column
constexpr int kStoredPasswordLength = 32; // and its "FPwd" column

} // namespace

TfLogin::TfLogin(TComponent* owner) : TfBase(owner) {
  SetCaption("Login");
  BorderStyle = TFormBorderStyle::bsSingle;
  BorderIcons = {true, true, false, false};
  SetClientSize(301, 156);

  imgLogin = Place<TImage>(this, this, 0, 0, 301, 156);
  imgLogin->SetAlign(TAlign::alClient);
  GroupBox1 = Place<TGroupBox>(this, this, 8, 9, 281, 105);
  Label1 = Place<TLabel>(GroupBox1, this, 24, 30, 60, 13);
  Label1->SetCaption("Account:");
  cmbAccount = Place<TComboBox>(GroupBox1, this, 96, 26, 161, 21);
  Label2 = Place<TLabel>(GroupBox1, this, 24, 66, 60, 13);
  Label2->SetCaption("Password:");
  edtPwd = Place<TEdit>(GroupBox1, this, 96, 62, 161, 21);
  edtPwd->SetPasswordChar('*');
  edtPwd->SetMaxLength(kStoredPasswordLength);

  ActionList1 = new TActionList(this);
  actLogin = ActionList1->Add("actLogin", "Login", "", [this](TComponent* s) { actLoginExecute(s); });
  actCancel = ActionList1->Add("actCancel", "Cancel", "", [this](TComponent* s) { actCancelExecute(s); });
  btnLogin = Place<TBitBtn>(this, this, 132, 122, 75, 25);
  btnLogin->SetAction(actLogin);
  btnLogin->Default = true;
  btnCancel = Place<TBitBtn>(this, this, 214, 122, 75, 25);
  btnCancel->SetAction(actCancel);
  btnCancel->Cancel = true;
  DefaultButton = btnLogin;
  CancelButton = btnCancel;
  ActiveControl = edtPwd;
  OnCloseQuery = [this](TComponent* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

void TfLogin::FormCreate(TComponent* sender) {
  TfBase::FormCreate(sender);
  // The user code field holds what the account table can keep.
  SendMessageA(cmbAccount->Handle(), CB_LIMITTEXT, kStoredCodeLength, 0);
  cmbAccount->ClearItems();
  if (UserList && UserList->DataSet().Active()) {
    TClientDataSet& table = UserList->DataSet();
    for (table.First(); !table.Eof(); table.Next()) cmbAccount->AddItem(table.Fields(0).AsString());
  }
  if (!cmbAccount->Items().empty()) cmbAccount->SetItemIndex(0);
}

void TfLogin::actLoginExecute(TComponent*) { ModalResult = mrOk; }

void TfLogin::actCancelExecute(TComponent*) { Application->Terminate(); }

void TfLogin::FormCloseQuery(TComponent*, bool& canClose) {
  if (ModalResult != mrOk) return;
  const std::string code = cmbAccount->Text();
  if (UserList->UserExists(code)) {
    // A stored code that names no plain folder here (edited into the file)
    // would read and write outside the program folder.
    if (const std::string problem = UserCodeProblem(code); !problem.empty()) {
      MessageDlg("The account \"" + code + "\" can not be used. " + problem, TMsgDlgType::mtWarning,
                 {TMsgDlgBtn::mbOK});
      canClose = false;
      cmbAccount->SetFocus();
      return;
    }
  } else {
    // A code that cannot name the account's folder is refused before anything is made.
    if (const std::string problem = UserCodeProblem(code); !problem.empty()) {
      MessageDlg(problem, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
      canClose = false;
      cmbAccount->SetFocus();
      return;
    }
    // Codes differing only in letter case would share one folder, and so one catalog.
    if (const std::string existing = UserList->CodeDifferingInCase(code); !existing.empty()) {
      MessageDlg("The account \"" + existing + "\" already exists. A new account's user code must differ from it "
                 "in more than letter case.",
                 TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
      canClose = false;
      cmbAccount->SetFocus();
      return;
    }
    if (MessageDlg("the user is not exists, do you want to create it?", TMsgDlgType::mtWarning,
                   {TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK}) != mrOk) {
      canClose = false;
      return;
    }
    std::string newPwd;
    if (ShowChangePwdDialog("", newPwd)) {
      UserList->AddUser(code, newPwd);
      if (!UserList->SaveData(UserDataPath()))
        MessageDlg(UserList->SaveErrorText(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
      platform::IFileSystem& files = platform::Files();
      if (!files.CreateDir(AppPath + code) && !files.DirectoryExists(AppPath + code))
        MessageDlg("Save faile, Can not create the directory! (" + AppPath + code + ")", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
      cmbAccount->AddItem(code);
      edtPwd->SetText(newPwd);
    }
  }
  if (!UserList->CheckUser(code, edtPwd->Text())) {
    MessageDlg("invalid UserCode or User Password!", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    edtPwd->SetFocus();
    canClose = false;
  }
}

bool ShowLoginDialog() {
  TfLogin dialog(Application);
  const bool loggedIn = dialog.ShowModal() == mrOk;
  CurUserCode = dialog.cmbAccount->Text();
  CurUserPwd = dialog.edtPwd->Text();
  return loggedIn;
}

bool AccountTableReady() {
  switch (UserList->LoadFailure()) {
  case TLoadFailure::None:
    return true;
  case TLoadFailure::Damaged:
    MessageDlg(UserList->LoadErrorText(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    UserList->CreateTable(); // go on with an empty table; the damaged file was kept
    return true;
  case TLoadFailure::Unreadable:
    break;
  }
  MessageDlg(UserList->LoadErrorText() + "\n\n" + kEndsUnwritten, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  return false;
}
