#include "app/uBase.h"

#include <windows.h>

#include "framework/win32/Gdi.h"
#include "store/uDM.h"

std::string ConfigPath() { return AppPath + "config.ini"; }

TfBase::TfBase(TComponent* owner) : TForm(owner) {
  SetCaption("BaseForm");
  Position = TPosition::poScreenCenter;
  Font.Set("Tahoma", 8);
  OnCreate = [this](TComponent* sender) { FormCreate(sender); };
}

void TfBase::FormCreate(TComponent*) {
  const std::string path = ConfigPath();
  char value[1024] = {};
  GetPrivateProfileStringA("Form", "skinfile", kDefaultSkinFile, value, sizeof value, path.c_str());
  // Always joined to the program folder: only a relative path names a file in it.
  skinFile_ = AppPath + value;
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
