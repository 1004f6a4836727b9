#pragma once
// Dialogs: message dialogs and the name prompt as framework forms, and the
// system's open-file dialog.
#include <string>
#include <vector>

#include "framework/win32/Forms.h"

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbRetry, mbIgnore };

// A modal message form (window class "TMessageForm") with the type's icon
// and caption ("Warning", "Error", ...) and the buttons in their order. OK
// (or else Yes, or else Retry) is the default; Escape answers No or Cancel; the close box never
// answers OK. Returns the modal result.
int MessageDlg(const std::string& text, TMsgDlgType type, const std::vector<TMsgDlgBtn>& buttons);

// Asks for a name: caption, prompt, an empty edit, OK and Cancel. True and
// the typed text on OK.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
  PLIMET_CLASS_NAME(TOpenDialog)
  std::string Title;
  std::string Filter = "All files (*.*)|*.*";
  std::string InitialDir;
  bool AllowMultiSelect = true;
  // Shows the system dialog; true when files were chosen.
  bool Execute();
  // Full paths of the chosen files.
  const std::vector<std::string>& Files() const { return files_; }

private:
  std::vector<std::string> files_;
};
