#pragma once
// The "Skins" submenus of the side-bar: every skin in the program's "Skins"
// folder by its name, the one in use checked. Choosing one loads it apart
// first, so a skin that does not load never takes the place of one that
// works; then every open window takes it at once and "config.ini" keeps it.
#include <string>
#include <vector>

#include "framework/win32/Menus.h"
#include "ui/SkinShelf.h"

// Every ".ssk" in the program's "Skins" folder and in its folders one level
// down, relative to the program folder ("Skins\Deep\DeepCyan.ssk").
std::vector<std::string> FindSkinFiles(const std::string& programFolder);

class TSkinChooser {
public:
  // The items are owned by owner (the window the menus belong to).
  explicit TSkinChooser(TComponent* owner) : owner_(owner) {}

  // A "Skins" submenu added to parent; it is kept filled with the others.
  TMenuItem* AddMenu(TMenuItem* parent);
  // Looks at the folder and the settings again and refills the submenus
  // when what they show has changed. Call it while no menu is open.
  void Refresh();
  const std::vector<TSkinOffer>& Offers() const { return offers_; }

  // The skin at file (relative to the program folder) for every window.
  // False when it does not load: the user is told why, and the skin in use stays.
  bool Choose(std::string file);
  // Opens the "Skins" folder, where the user puts more skins.
  void OpenSkinsFolder();

  // The password the program's skins are sealed with.
  std::string Password;
  // The window that owns the messages and the folder window.
  HWND Owner = nullptr;

private:
  void Fill(TMenuItem* menu);

  TComponent* owner_;
  std::vector<TMenuItem*> menus_;
  std::vector<TSkinOffer> offers_;
  std::string current_; // the settings value the menus were filled for
  bool filled_ = false;
};
