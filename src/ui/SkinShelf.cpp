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
  return offers;
}

bool SameSkinFile(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }
