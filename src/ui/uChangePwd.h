#pragma once
// The change-password dialog: old password, new password, the new one
// again. It compares what was typed and hands the result back; it touches
// no table.
#include <string>

#include "app/uBase.h"
#include "framework/win32/StdCtrls.h"

class TfChangePwd : public TfBase {
public:
  explicit TfChangePwd(TComponent* owner);
  PLIMET_CLASS_NAME(TfChangePwd)
  std::string ExpectedOldPwd;
  TEdit* edtOldPwd;
  TEdit* edtNewPwd;
  TEdit* edtValidate;
  TBitBtn* btnOk;
  TBitBtn* btnCancel;

private:
  void FormCloseQuery(TComponent* sender, bool& canClose);
};

// Shows the dialog; confirmed when it closed with OK. newPwd gets the text
// of "New Password:" whatever the outcome.
bool ShowChangePwdDialog(const std::string& oldPwd, std::string& newPwd);
