#include "ui/uGenerateOptions.h"

#include <cstdlib>

#include "framework/win32/Dialogs.h"

TfGenerateOptions::TfGenerateOptions(TComponent* owner) : TfBase(owner) {
  SetCaption("Password Options");
  BorderStyle = TFormBorderStyle::bsDialog;
  SetClientSize(281, 196);
  Place<TLabel>(this, this, 16, 15, 60, 13)->SetCaption("Length:");
  edtLength = Place<TEdit>(this, this, 96, 12, 60, 21);
  edtLength->SetMaxLength(3);
  const char* captions[5] = {"Upper case letters (A-Z)", "Lower case letters (a-z)", "Digits (0-9)",
                             "Symbols (!#$%&...)", "No look-alikes (I l 1 O 0 o |)"};
  TCheckBox** boxes[5] = {&chkUpper, &chkLower, &chkDigits, &chkSymbols, &chkAvoidLookAlike};
  for (int i = 0; i < 5; ++i) {
    *boxes[i] = Place<TCheckBox>(this, this, 16, 44 + 22 * i, 250, 17);
    (*boxes[i])->SetCaption(captions[i]);
  }
  btnOk = Place<TButton>(this, this, 108, 160, 75, 25);
  btnOk->SetCaption("OK");
  btnOk->ModalResult = mrOk;
  btnOk->Default = true;
  btnCancel = Place<TButton>(this, this, 192, 160, 75, 25);
  btnCancel->SetCaption("Cancel");
  btnCancel->ModalResult = mrCancel;
  btnCancel->Cancel = true;
  DefaultButton = btnOk;
  CancelButton = btnCancel;
  ActiveControl = edtLength;
  OnCloseQuery = [this](TComponent* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

void TfGenerateOptions::Show(const TPasswordOptions& options) {
  edtLength->SetText(std::to_string(options.Length));
  chkUpper->SetChecked(options.Upper);
  chkLower->SetChecked(options.Lower);
  chkDigits->SetChecked(options.Digits);
  chkSymbols->SetChecked(options.Symbols);
  chkAvoidLookAlike->SetChecked(options.AvoidLookAlike);
}

TPasswordOptions TfGenerateOptions::Options() const {
  TPasswordOptions options;
  const std::string& length = edtLength->Text();
  const bool number = !length.empty() && length.find_first_not_of("0123456789") == std::string::npos;
  options.Length = number ? std::atoi(length.c_str()) : 0;
  options.Upper = chkUpper->Checked();
  options.Lower = chkLower->Checked();
  options.Digits = chkDigits->Checked();
  options.Symbols = chkSymbols->Checked();
  options.AvoidLookAlike = chkAvoidLookAlike->Checked();
  return options;
}

void TfGenerateOptions::FormCloseQuery(TComponent*, bool& canClose) {
  if (ModalResult != mrOk) return;
  const std::string problem = PasswordOptionsProblem(Options());
  if (problem.empty()) return;
  MessageDlg(problem, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
  canClose = false;
}

bool ShowGenerateOptions(TPasswordOptions& options) {
  TfGenerateOptions dialog(Application);
  dialog.Show(options);
  if (dialog.ShowModal() != mrOk) return false;
  options = dialog.Options();
  return true;
}
