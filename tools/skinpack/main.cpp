// skinpack: writes skin archives from a source folder, and lists them.
#include <iostream>

#include "skinpack/SkinPack.h"

int main(int argc, char** argv) {
  return RunSkinPack(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
