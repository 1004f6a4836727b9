// The two password dialogs.
#include "framework/win32/Dialogs.h"
#include "ui/uChangePwd.h"
#include "ui/uInputPwd.h"

namespace {

constexpr std::size_t kStoredPasswordLength = 32; // the account table's "FPwd" column

TEdit* PasswordEdit(TForm* form, int left, int top) {
  auto* edit = Place<TEdit>(form, form, left, top, 150, 21);
  edit->SetPasswordChar('*');
  edit->SetMaxLength(kStoredPasswordLength);
  return edit;
}

void OkCancel(TForm* form, TBitBtn*& ok, TBitBtn*& cancel, int top) {
  ok = Place<TBitBtn>(form, form, 108, top, 75, 25);
  ok->SetCaption("OK");
  ok->ModalResult = mrOk;
  ok->Default = true;
  cancel = Place<TBitBtn>(form, form, 192, top, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->ModalResult = mrCancel;
  cancel->Cancel = true;
  form->DefaultButton = ok;
  form->CancelButton = cancel;
}

} // namespace

TfChangePwd::TfChangePwd(TComponent* owner) : TfBase(owner) {
  SetCaption("Change Password");
  BorderStyle = TFormBorderStyle::bsDialog;
  SetClientSize(282, 126);
  const char* captions[3] = {"Old Password:", "New Password:", "Validate:"};
  for (int i = 0; i < 3; ++i) Place<TLabel>(this, this, 16, 15 + 28 * i, 80, 13)->SetCaption(captions[i]);
  edtOldPwd = PasswordEdit(this, 116, 12);
  edtNewPwd = PasswordEdit(this, 116, 40);
  edtValidate = PasswordEdit(this, 116, 68);
  OkCancel(this, btnOk, btnCancel, 96);
  ActiveControl = edtOldPwd;
  OnCloseQuery = [this](TComponent* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

void TfChangePwd::FormCloseQuery(TComponent*, bool& canClose) {
  if (ModalResult != mrOk) return;
  std::string message;
  if (edtOldPwd->Text() != ExpectedOldPwd) {
    message = "Password is Error!";
  } else if (edtNewPwd->Text() != edtValidate->Text()) {
    message = "New Password is Error!";
  }
  if (message.empty()) return;
  MessageDlg(message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  canClose = false;
}

bool ShowChangePwdDialog(const std::string& oldPwd, std::string& newPwd) {
  TfChangePwd dialog(Application);
  dialog.ExpectedOldPwd = oldPwd;
  const bool confirmed = dialog.ShowModal() == mrOk;
  newPwd = dialog.edtNewPwd->Text();
  return confirmed;
}

TfInputPwd::TfInputPwd(TComponent* owner) : TfBase(owner) {
  SetCaption("Input Password");
  BorderStyle = TFormBorderStyle::bsDialog;
  SetClientSize(281, 105);
  Place<TLabel>(this, this, 24, 27, 60, 13)->SetCaption("Password:");
  Edit1 = PasswordEdit(this, 96, 24);
  OkCancel(this, BitBtn1, BitBtn2, 66);
  ActiveControl = Edit1;
}

bool ShowInputPwdDialog(std::string& password) {
  TfInputPwd dialog(nullptr);
  const bool confirmed = dialog.ShowModal() == mrOk;
  password = dialog.Edit1->Text();
  return confirmed;
}
