#pragma once
// Asks for the account password once more.
#include <string>

#include "app/uBase.h"
#include "framework/win32/StdCtrls.h"

class TfInputPwd : public TfBase {
public:
  explicit TfInputPwd(TComponent* owner);
  PLIMET_CLASS_NAME(TfInputPwd)
  TEdit* Edit1;
  TBitBtn* BitBtn1;
  TBitBtn* BitBtn2;
};

// Confirmed when the dialog closed with OK; password gets what was typed.
bool ShowInputPwdDialog(std::string& password);
