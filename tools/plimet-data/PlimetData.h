#pragma once
// plimet-data: looks into Plimet's data files with the program's own store.
#include <ostream>
#include <string>
#include <vector>

// Runs one command; returns the exit status (0 done, 1 failed, 2 usage).
int RunPlimetData(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
