#include "ui/SkinShelf.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "skin/SkinFile.h"

namespace {

std::string Folded(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) {
    if (c == '/') c = '\\';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded;
}

std::string FileTitle(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// A file's path without the "Skins" folder every offer lies in.
std::string PlaceInShelf(const std::string& file) {
  const std::string shelf = "skins\\";
  return Folded(file).rfind(shelf, 0) == 0 ? file.substr(shelf.size()) : file;
}

} // namespace

std::string SkinNameOf(const std::string& path, const std::string& password) {
  const Tsk2SkinFileReader reader(path, password);
  for (const auto& [key, value] : reader.Strings())
    if (Folded(key) == "skin_name") return value;
  return "";
}

std::vector<TSkinOffer> OfferSkins(const std::string& programFolder, const std::vector<std::string>& files,
                                   const std::string& password) {
  std::vector<TSkinOffer> offers;
  for (const std::string& file : files) {
    TSkinOffer offer{file, "", true};
    try {
      offer.Name = SkinNameOf(programFolder + file, password);
    } catch (const std::exception&) {
      offer.Readable = false;
    }
    if (offer.Name.empty()) offer.Name = FileTitle(file);
    offers.push_back(std::move(offer));
  }
  std::sort(offers.begin(), offers.end(), [](const TSkinOffer& a, const TSkinOffer& b) {
    const std::string an = Folded(a.Name), bn = Folded(b.Name);
    return an != bn ? an < bn : Folded(a.File) < Folded(b.File);
  });
  // Skins that call themselves the same are told apart by where they lie.
  for (std::size_t first = 0; first < offers.size();) {
    std::size_t end = first + 1;
    while (end < offers.size() && Folded(offers[end].Name) == Folded(offers[first].Name)) ++end;
    if (end - first > 1)
      for (std::size_t i = first; i < end; ++i) offers[i].Name += " (" + PlaceInShelf(offers[i].File) + ")";
    first = end;
  }
  return offers;
}

bool SameSkinFile(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }
