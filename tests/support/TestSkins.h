#pragma once
// The packed test skins: FiveSect, ThinBorder, NoRegion, SystemColors.
// Natively they lie in the native build's TestSkins folder; the Windows test
// program finds them in the TestSkins folder beside itself.
#include <string>

std::string TestSkinFile(const std::string& name);
