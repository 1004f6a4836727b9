#pragma once
// The small dialog that sets how new passwords are made.
#include "app/uBase.h"
#include "framework/win32/StdCtrls.h"
#include "ui/PasswordTools.h"

class TfGenerateOptions : public TfBase {
public:
  explicit TfGenerateOptions(TComponent* owner);
  PLIMET_CLASS_NAME(TfGenerateOptions)
  void Show(const TPasswordOptions& options);
  // What the dialog holds; a length that is no number reads as 0.
  TPasswordOptions Options() const;

  TEdit* edtLength;
  TCheckBox *chkUpper, *chkLower, *chkDigits, *chkSymbols, *chkAvoidLookAlike;
  TButton *btnOk, *btnCancel;

private:
  void FormCloseQuery(TComponent* sender, bool& canClose);
};

// Shows the dialog with the options; true and the new options on OK.
bool ShowGenerateOptions(TPasswordOptions& options);
