#include "support/TempFolder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::filesystem::path Native(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  return std::filesystem::path(p);
#endif
}

} // namespace

TempFolder::TempFolder() {
  static std::atomic<int> serial{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  root_ = std::filesystem::temp_directory_path() /
          ("plimet-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
  std::filesystem::create_directories(root_);
  path_ = root_.string();
#ifdef _WIN32
  std::replace(path_.begin(), path_.end(), '/', '\\');
  path_ += '\\';
#else
  path_ += '/';
#endif
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool PathExists(const std::string& path) { return std::filesystem::exists(Native(path)); }

void MakeFolders(const std::string& path) { std::filesystem::create_directories(Native(path)); }

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Native(folder)))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
