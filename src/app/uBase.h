#pragma once
// The base of every window of the program: the same font, placement and
// skin. On creation it reads the skin file's name from "config.ini" beside
// the program and writes it back.
#include <string>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "skin/engine/SkinEngine.h"

class TfBase : public TForm {
public:
  explicit TfBase(TComponent* owner);
  PLIMET_CLASS_NAME(TfBase)

  // The base creation step: every window runs it first when it is created.
  virtual void FormCreate(TComponent* sender);
  // The skin archive the window's skin engine is to load: AppPath and the
  // value of "skinfile".
  const std::string& SkinFile() const { return skinFile_; }
  // The window takes the skin archive at path (chosen while it is open).
  void UseSkin(const std::string& path);

  // Paints this window, the program's other windows and the system's
  // dialogs from the skin.
  TSkinEngine* SkinEngine1;

private:
  std::string skinFile_;
};

// The settings file and its one key.
std::string ConfigPath();
constexpr const char* kDefaultSkinFile = "Skins\\Deep\\DeepCyan.ssk";
// The "skinfile" value, relative to the program folder; the default when
// the file or the key is absent.
std::string ReadSkinSetting();
// Writes the "skinfile" value; false when the settings file cannot be written.
bool WriteSkinSetting(const std::string& value);
// Every open window of the program takes the skin archive at path at once.
void UseSkinEverywhere(const std::string& path);

// Adds the images of a bitmap strip in the program's resources (16 pixels
// each, magenta transparent) to an image list.
void AddResourceImages(TImageList* list, const char* name);

// A new control owned by owner, on parent, at the given bounds.
template <typename T>
T* Place(TWinControl* parent, TComponent* owner, int left, int top, int width, int height) {
  auto* control = new T(owner);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

// Said when a data file that could not be read ends the program unwritten.
constexpr const char* kEndsUnwritten =
    "Plimet ends now and writes nothing. Start it again once the file can be read: close the program that "
    "uses it, give access to it, or make room on the disk.";
