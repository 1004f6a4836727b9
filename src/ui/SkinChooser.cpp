#include "ui/SkinChooser.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <memory>

#include "app/uBase.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/Forms.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "skin/SkinReader.h"
#include "skin/engine/SkinEngine.h"
#include "store/uDM.h"

namespace {

// One search of a folder, closed when it goes.
class TFolderSearch {
public:
  TFolderSearch(const std::string& pattern) : handle_(FindFirstFileA(pattern.c_str(), &found_)) {}
  ~TFolderSearch() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  TFolderSearch(const TFolderSearch&) = delete;
  TFolderSearch& operator=(const TFolderSearch&) = delete;

  // Calls visit with each entry found.
  template <typename Visit>
  void ForEach(Visit visit) {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    do visit(found_);
    while (FindNextFileA(handle_, &found_));
  }

private:
  WIN32_FIND_DATAA found_{};
  HANDLE handle_;
};

bool IsFolder(const WIN32_FIND_DATAA& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Every open window shows the skin at path, loaded whole.
bool InUseEverywhere(const std::string& path) {
  if (!Application) return false;
  for (TForm* form : Application->Forms())
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* engine = dynamic_cast<TSkinEngine*>(form->Components(i));
          engine && !(engine->Ready() && SameSkinFile(engine->SkinFile(), path)))
        return false;
  return true;
}

void AddArchives(const std::string& programFolder, const std::string& relativeFolder, std::vector<std::string>& files) {
  TFolderSearch(programFolder + relativeFolder + "*.ssk").ForEach([&](const WIN32_FIND_DATAA& entry) {
    // The pattern also matches short names: "x.sskold" is not a skin.
    const std::string name = entry.cFileName;
    const bool archive = name.size() > 4 && SameSkinFile(name.substr(name.size() - 4), ".ssk");
    if (!IsFolder(entry) && archive) files.push_back(relativeFolder + name);
  });
}

// "&" shows as itself in a menu.
std::string MenuText(const std::string& name) {
  std::string text;
  for (char c : name) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

} // namespace

std::vector<std::string> FindSkinFiles(const std::string& programFolder) {
  std::vector<std::string> files;
  AddArchives(programFolder, "Skins\\", files);
  std::vector<std::string> folders;
  TFolderSearch(programFolder + "Skins\\*").ForEach([&](const WIN32_FIND_DATAA& entry) {
    const std::string name = entry.cFileName;
    if (IsFolder(entry) && name != "." && name != "..") folders.push_back(name);
  });
  for (const std::string& folder : folders) AddArchives(programFolder, "Skins\\" + folder + "\\", files);
  return files;
}

TMenuItem* TSkinChooser::AddMenu(TMenuItem* parent) {
  auto* menu = new TMenuItem(owner_);
  menu->SetCaption("Skins");
  parent->Add(menu);
  menus_.push_back(menu);
  if (filled_) Fill(menu);
  return menu;
}

void TSkinChooser::Refresh() {
  std::vector<TSkinOffer> offers = OfferSkins(AppPath, FindSkinFiles(AppPath), Password);
  const std::string current = ReadSkinSetting();
  const bool same = filled_ && current == current_ && offers.size() == offers_.size() &&
                    std::equal(offers.begin(), offers.end(), offers_.begin(), [](const TSkinOffer& a, const TSkinOffer& b) {
                      return a.File == b.File && a.Name == b.Name;
                    });
  if (same) return;
  offers_ = std::move(offers);
  current_ = current;
  filled_ = true;
  for (TMenuItem* menu : menus_) Fill(menu);
}

void TSkinChooser::Fill(TMenuItem* menu) {
  while (menu->Count() > 0) delete menu->Items(menu->Count() - 1);
  for (const TSkinOffer& offer : offers_) {
    auto* item = new TMenuItem(owner_);
    item->SetCaption(MenuText(offer.Name));
    item->SetChecked(SameSkinFile(offer.File, current_));
    const std::string file = offer.File;
    item->OnClick = [this, file](TComponent*) { Choose(file); };
    menu->Add(item);
  }
  if (!offers_.empty()) {
    auto* separator = new TMenuItem(owner_);
    separator->SetCaption("-");
    menu->Add(separator);
  }
  auto* more = new TMenuItem(owner_);
  more->SetCaption("More skins...");
  more->OnClick = [this](TComponent*) { OpenSkinsFolder(); };
  menu->Add(more);
}

// Taken by value: the menu item whose handler calls this is refilled (and
// freed) before it returns.
bool TSkinChooser::Choose(std::string file) {
  const std::string path = AppPath + file;
  // The skin in use chosen again: loading it anew would only make every
  // window flicker.
  if (SameSkinFile(file, current_) && InUseEverywhere(path)) return true;
  // Loaded apart first: an engine whose skin fails to load is left without one.
  try {
    TSkinReader trial("", "");
    trial.Load(path, Password);
    if (!trial.Ready()) throw std::runtime_error("The file is not there any more.");
  } catch (const std::exception& error) {
    MessageDlg("The skin \"" + file + "\" cannot be used: " + error.what() + "\nThe skin in use stays.",
               TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    return false;
  }
  // Every window made later reads the settings file: a skin it cannot keep
  // would leave new windows in the old skin and the check on the old one.
  if (!WriteSkinSetting(file)) {
    MessageDlg("Unable to write to " + ConfigPath(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return false;
  }
  try {
    UseSkinEverywhere(path);
  } catch (const std::exception& error) {
    MessageDlg(error.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  }
  Refresh();
  return true;
}

void TSkinChooser::OpenSkinsFolder() {
  const std::string folder = AppPath + "Skins";
  CreateDirectoryA(folder.c_str(), nullptr); // an empty folder to put skins in, when there is none yet
  platform::Shell().Execute({"open", folder, "", "", SW_SHOWNORMAL, reinterpret_cast<std::uintptr_t>(Owner)});
}
