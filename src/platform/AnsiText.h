#pragma once
// Single-byte (ANSI) text as the program compares it.
#include <string>

// ASCII and the Latin-1 letters of the ANSI code page folded to lower case.
std::string FoldAnsiCase(std::string text);

namespace platform {

// Whether the file system takes the two names for one (Windows folds
// letter case by its own table; elsewhere the fold above stands in).
bool SameFileName(const std::string& a, const std::string& b);

} // namespace platform
