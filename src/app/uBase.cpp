#include "app/uBase.h"

#include <windows.h>

#include "framework/win32/Gdi.h"
#include "store/uDM.h"

std::string ConfigPath() { return AppPath + "config.ini"; }

TfBase::TfBase(TComponent* owner) : TForm(owner) {
  SetCaption("BaseForm");
  Position = TPosition::poScreenCenter;
  Font.Set("Tahoma", 8);
  // The engine's settings as the base form stores them; the skin file is
  // set when the window is created.
  SkinEngine1 = new TSkinEngine(this);
  SkinEngine1->Name = "SkinEngine1";
  SkinEngine1->SetLoading(true);
  SkinEngine1->SetActive(true);
  SkinEngine1->DisabledTag = 9999;
  SkinEngine1->SetDrawScrollBar(true);
  SkinEngine1->SetBuiltIn(false);
  SkinEngine1->SkinDialogs = true;
  SkinEngine1->SetSkinAllForms(true);
  SkinEngine1->SetResSysMenuMin("Mi&nimize");
  SkinEngine1->SetResSysMenuMax("Ma&ximize/Restore");
  SkinEngine1->SetResSysMenuClose("&Close");
  SkinEngine1->SetLoading(false);
  OnCreate = [this](TComponent* sender) { FormCreate(sender); };
}

void TfBase::FormCreate(TComponent*) {
  const std::string path = ConfigPath();
  char value[1024] = {};
  GetPrivateProfileStringA("Form", "skinfile", kDefaultSkinFile, value, sizeof value, path.c_str());
  // Always joined to the program folder: only a relative path names a file in it.
  skinFile_ = AppPath + value;
  try {
    SkinEngine1->SetSkinFile(skinFile_);
  } catch (const std::exception& error) {
    // A damaged skin, or one sealed with another password: said once, and
    // the window goes on with its own look.
    if (Application) Application->ShowException(error.what());
  }
  // The value is written back each time, so the file shows the setting in use.
  if (!WritePrivateProfileStringA("Form", "skinfile", value, path.c_str())) {
    // Shown by the error box; the window is created all the same.
    if (Application) Application->ShowException("Unable to write to " + path);
  }
}

void AddResourceImages(TImageList* list, const char* name) {
  const gdi::TBitmap bitmap(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
  if (bitmap) list->AddMasked(bitmap.Get(), RGB(255, 0, 255));
}
