// plimet-data show FILE | show-book FILE USERCODE PASSWORD | md5 TEXT
#include <iostream>

#include "plimet-data/PlimetData.h"

int main(int argc, char** argv) {
  return RunPlimetData(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
