#pragma once
// The skins a user can choose from: the archives found in the program's
// "Skins" folder, each named by the name it carries, and which of them the
// settings file names.
#include <string>
#include <vector>

struct TSkinOffer {
  std::string File; // relative to the program folder, as the settings file holds it
  std::string Name; // the skin's own name, else its file name without the extension
  bool Readable = true;
};

// The offers for the given archives (paths relative to programFolder), by
// name and then by file, so the menu reads the same at every start. An
// archive that cannot be read is offered all the same, under its file name:
// choosing it says why it cannot be used. Skins of the same name are told
// apart by their file: "Name (Folder\\File.ssk)".
std::vector<TSkinOffer> OfferSkins(const std::string& programFolder, const std::vector<std::string>& files,
                                   const std::string& password);

// The name an archive gives itself ("SKIN_NAME"); empty when it gives none.
// Raises the archive's error when it cannot be read.
std::string SkinNameOf(const std::string& path, const std::string& password);

// Whether two settings values name the same file: letter case and the kind
// of slash do not matter on Windows.
bool SameSkinFile(const std::string& a, const std::string& b);
