#include "ui/uAbout.h"

#include <shellapi.h>

#include "framework/win32/ExtCtrls.h"
#include "framework/win32/StdCtrls.h"
#include "platform/Services.h"
#include "ui/uMain.h"

TfAbout::TfAbout(TComponent* owner) : TfBase(owner) {
  SetCaption("About");
  BorderStyle = TFormBorderStyle::bsNone;
  SetBounds(0, 0, 300, 170);
  auto* panel = new TPanel(this);
  panel->SetParent(this);
  panel->SetAlign(TAlign::alClient);
  auto* picture = new TImage(this);
  picture->SetParent(panel);
  picture->SetBounds(16, 16, 32, 32);
  picture->Icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
  auto* name = new TLabel(this);
  name->SetParent(panel);
  name->ParentFont = false;
  name->Font.Set("Tahoma", 18, true);
  name->SetBounds(64, 16, 200, 30);
  name->SetCaption("Plimet");
  auto* version = new TLabel(this);
  version->SetParent(panel);
  version->SetBounds(66, 56, 200, 13);
  version->SetCaption("Vsersion 1.0");
  auto* link = new TLinkLabel(this);
  link->SetParent(panel);
  link->SetBounds(66, 84, 200, 15);
  link->SetCaption(kWebsite);
  link->OnLinkClick = [this](TComponent*) {
    platform::Shell().Execute({"open", kWebsite, "", "", SW_SHOW, reinterpret_cast<std::uintptr_t>(Handle())});
  };
  auto* ok = new TButton(this);
  ok->SetParent(panel);
  ok->SetBounds(112, 128, 75, 25);
  ok->SetCaption("OK");
  ok->ModalResult = mrOk;
  DefaultButton = ok;
  CancelButton = ok;
}

void ShowAboutBox() {
  TfAbout box(Application);
  box.ShowModal();
}
