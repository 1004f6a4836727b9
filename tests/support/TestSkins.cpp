#include "support/TestSkins.h"

#ifdef _WIN32
#include <windows.h>
#endif

std::string TestSkinFile(const std::string& name) {
#ifdef _WIN32
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder + "TestSkins\\" + name + ".ssk";
#else
  return std::string(PLIMET_TEST_SKINS) + "/" + name + ".ssk";
#endif
}
