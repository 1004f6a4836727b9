#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
// Path() is in the program's form and ends with the separator, as the
// program folder does.
#include <filesystem>
#include <string>
#include <vector>

class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

private:
  std::filesystem::path root_;
  std::string path_;
};

// Whole-file helpers for checking what the program wrote.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// Makes a folder and the folders above it that are missing.
void MakeFolders(const std::string& path);
// Names of the entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
