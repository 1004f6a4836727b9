#include "framework/win32/Dialogs.h"

#include "framework/win32/Gdi.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/win32/StdCtrls.h"

namespace {

class TMessageForm : public TForm {
public:
  PLIMET_CLASS_NAME(TMessageForm)
  explicit TMessageForm(TComponent* owner) : TForm(owner) {
    BorderStyle = TFormBorderStyle::bsDialog;
    Position = TPosition::poScreenCenter;
  }
  HICON TypeIcon = nullptr;

protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PAINT && TypeIcon) {
      const gdi::TPaintDC dc(Handle());
      DrawIconEx(dc.Get(), 12, 12, TypeIcon, 32, 32, 0, nullptr, DI_NORMAL);
      PaintGraphicChildren(dc.Get());
      return;
    }
    TForm::WndProc(m);
  }
};

const char* ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
  case TMsgDlgBtn::mbYes: return "&Yes";
  case TMsgDlgBtn::mbNo: return "&No";
  case TMsgDlgBtn::mbOK: return "OK";
  case TMsgDlgBtn::mbCancel: return "Cancel";
  case TMsgDlgBtn::mbRetry: return "&Retry";
  case TMsgDlgBtn::mbIgnore: return "&Ignore";
  }
  return "";
}

int ButtonResult(TMsgDlgBtn button) {
  switch (button) {
  case TMsgDlgBtn::mbYes: return mrYes;
  case TMsgDlgBtn::mbNo: return mrNo;
  case TMsgDlgBtn::mbOK: return mrOk;
  case TMsgDlgBtn::mbCancel: return mrCancel;
  case TMsgDlgBtn::mbRetry: return mrRetry;
  case TMsgDlgBtn::mbIgnore: return mrIgnore;
  }
  return mrNone;
}

SIZE TextSize(const TFont& font, const std::string& text, int maxWidth) {
  const gdi::TClientDC screen(nullptr);
  const gdi::TSelection selected(screen.Get(), font.Handle());
  RECT r{0, 0, maxWidth, 0};
  DrawTextA(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return {r.right, r.bottom};
}

} // namespace

int MessageDlg(const std::string& text, TMsgDlgType type, const std::vector<TMsgDlgBtn>& buttons) {
  TMessageForm form(Application);
  static const char* const captions[] = {"Warning", "Error", "Information", "Confirm"};
  static const LPCSTR icons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION};
  form.SetCaption(captions[static_cast<int>(type)]);
  form.TypeIcon = LoadIconA(nullptr, icons[static_cast<int>(type)]);

  const SIZE textSize = TextSize(form.Font, text, 320);
  auto* message = new TLabel(&form);
  message->SetParent(&form);
  message->WordWrap = true;
  message->SetBounds(56, 12 + std::max(0, (32 - static_cast<int>(textSize.cy)) / 2), textSize.cx, textSize.cy);
  message->SetCaption(text);

  const int buttonWidth = 75, buttonHeight = 25, gap = 6;
  const int buttonsWidth = static_cast<int>(buttons.size()) * (buttonWidth + gap) - gap;
  const int clientWidth = std::max(56 + static_cast<int>(textSize.cx) + 12, buttonsWidth + 24);
  const int buttonsTop = 12 + std::max(32, static_cast<int>(textSize.cy)) + 14;
  form.SetClientSize(clientWidth, buttonsTop + buttonHeight + 12);
  int x = (clientWidth - buttonsWidth) / 2;
  for (const TMsgDlgBtn kind : buttons) {
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetCaption(ButtonCaption(kind));
    button->SetBounds(x, buttonsTop, buttonWidth, buttonHeight);
    button->ModalResult = ButtonResult(kind);
    const bool okFirst = kind == TMsgDlgBtn::mbOK;
    const bool fallback = (kind == TMsgDlgBtn::mbYes || kind == TMsgDlgBtn::mbRetry) && !form.DefaultButton &&
                          std::find(buttons.begin(), buttons.end(), TMsgDlgBtn::mbOK) == buttons.end();
    if (okFirst || fallback) {
      button->Default = true;
      form.DefaultButton = button;
    }
    if (kind == TMsgDlgBtn::mbCancel || (kind == TMsgDlgBtn::mbNo && !form.CancelButton)) form.CancelButton = button;
    x += buttonWidth + gap;
  }
  if (form.CancelButton && form.CancelButton->ModalResult == mrNo) {
    // The close box answers as the cancel button does.
    form.OnCloseQuery = [&form](TComponent*, bool&) {
      if (form.ModalResult == mrCancel) form.ModalResult = mrNo;
    };
  }
  form.ActiveControl = form.DefaultButton;
  return form.ShowModal();
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  TForm form(Application); // a plain form: window class "TForm"
  form.BorderStyle = TFormBorderStyle::bsDialog;
  form.Position = TPosition::poScreenCenter;
  form.SetCaption(caption);
  form.SetClientSize(260, 96);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(12, 12, 236, 13);
  label->SetCaption(prompt);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(12, 30, 236, 21);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetCaption("OK");
  ok->SetBounds(92, 62, 75, 25);
  ok->ModalResult = mrOk;
  ok->Default = true;
  auto* cancel = new TButton(&form);
  cancel->SetParent(&form);
  cancel->SetCaption("Cancel");
  cancel->SetBounds(173, 62, 75, 25);
  cancel->ModalResult = mrCancel;
  form.DefaultButton = ok;
  form.CancelButton = cancel;
  if (form.ShowModal() != mrOk) return false;
  value = edit->Text();
  return true;
}

bool TOpenDialog::Execute() {
  files_.clear();
  std::string buffer(32768, '\0');
  std::string filter = Filter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter += std::string(2, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
              (AllowMultiSelect ? OFN_ALLOWMULTISELECT : 0);
  if (!GetOpenFileNameA(&ofn)) return false;
  // One file: its full path. Several: the folder, then each name, NUL-separated.
  const std::string first(buffer.c_str());
  std::size_t at = first.size() + 1;
  if (buffer[at] == '\0') {
    files_.push_back(first);
    return true;
  }
  const std::string folder = first.back() == '\\' ? first : first + "\\";
  while (at < buffer.size() && buffer[at] != '\0') {
    const std::string name(buffer.c_str() + at);
    files_.push_back(folder + name);
    at += name.size() + 1;
  }
  return !files_.empty();
}
