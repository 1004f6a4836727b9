#pragma once
// What a menu holds, read from its items as the program made them.
#include <string>
#include <vector>

#include "framework/win32/Menus.h"

// The captions of a menu's items, each checked one marked with "*".
inline std::vector<std::string> Captions(TMenuItem* menu) {
  std::vector<std::string> captions;
  for (int i = 0; i < menu->Count(); ++i)
    captions.push_back(menu->Items(i)->Caption() + (menu->Items(i)->Checked() ? "*" : ""));
  return captions;
}

inline TMenuItem* ItemNamed(TMenuItem* menu, const std::string& caption) {
  for (int i = 0; i < menu->Count(); ++i)
    if (menu->Items(i)->Caption() == caption) return menu->Items(i);
  return nullptr;
}

// The caption of the checked item, or "".
inline std::string Checked(TMenuItem* menu) {
  for (int i = 0; i < menu->Count(); ++i)
    if (menu->Items(i)->Checked()) return menu->Items(i)->Caption();
  return "";
}
