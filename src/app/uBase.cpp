#include "app/uBase.h"

#include <windows.h>

#include <exception>
#include <vector>

#include "framework/win32/Gdi.h"
#include "store/uDM.h"

std::string ConfigPath() { return AppPath + "config.ini"; }

std::string ReadSkinSetting() {
  char value[1024] = {};
  GetPrivateProfileStringA("Form", "skinfile", kDefaultSkinFile, value, sizeof value, ConfigPath().c_str());
  return value;
}

bool WriteSkinSetting(const std::string& value) {
  return WritePrivateProfileStringA("Form", "skinfile", value.c_str(), ConfigPath().c_str()) != FALSE;
}

void UseSkinEverywhere(const std::string& path) {
  if (!Application) return;
  // Every window is given the skin, even when one of them cannot take it.
  std::string failure;
  for (TForm* form : std::vector<TForm*>(Application->Forms())) {
    try {
      if (auto* window = dynamic_cast<TfBase*>(form)) {
        window->UseSkin(path);
        continue;
      }
      for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* engine = dynamic_cast<TSkinEngine*>(form->Components(i))) engine->SetSkinFile(path);
    } catch (const std::exception& error) {
      if (failure.empty()) failure = error.what();
    }
  }
  if (!failure.empty()) throw EPlimetError(failure);
}

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

void TfBase::UseSkin(const std::string& path) {
  skinFile_ = path;
  SkinEngine1->SetSkinFile(path);
}

void TfBase::FormCreate(TComponent*) {
  const std::string path = ConfigPath();
  const std::string value = ReadSkinSetting();
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
  if (!WriteSkinSetting(value)) {
    // Shown by the error box; the window is created all the same.
    if (Application) Application->ShowException("Unable to write to " + path);
  }
}

void AddResourceImages(TImageList* list, const char* name) {
  const gdi::TBitmap bitmap(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
  if (bitmap) list->AddMasked(bitmap.Get(), RGB(255, 0, 255));
}
