// The skins offered for choosing: named by what they carry, listed in a
// steady order, unreadable ones offered under their file names.
#include "ui/SkinShelf.h"

#include <gtest/gtest.h>

#include "skinpack/SkinWriter.h"
#include "support/SkinArchiveBuilder.h"
#include "support/TempFolder.h"

namespace {

void WriteSkin(const TempFolder& folder, const std::string& file, const std::vector<TSkinValue>& values,
               const std::string& password = "") {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(values);
  spec.password = password;
  WriteFileBytes(folder / file, BuildSkinArchive(spec));
}

} // namespace

TEST(SkinShelfTest, SkinsAreNamedByTheirOwnNameElseByTheirFileAndListedByName) {
  TempFolder folder;
  WriteSkin(folder, "zeta.ssk", {StringValue("SKIN_AUTHOR", "us"), StringValue("skin_name", "Amber")});
  WriteSkin(folder, "Nameless.ssk", {IntegerValue("SKIN2_FORMCOLOR", 0x123456)});
  WriteSkin(folder, "beta.ssk", {StringValue("SKIN_NAME", "amber")}); // the same name: the file tells them apart
  WriteFileBytes(folder / "broken.ssk", "SK\x03\x04 not an archive at all");

  const std::vector<TSkinOffer> offers =
      OfferSkins(folder.Path(), {"zeta.ssk", "Nameless.ssk", "beta.ssk", "broken.ssk"}, "");
  ASSERT_EQ(offers.size(), 4u);
  EXPECT_EQ(offers[0].File, "beta.ssk");
  EXPECT_EQ(offers[0].Name, "amber (beta.ssk)");
  EXPECT_EQ(offers[1].File, "zeta.ssk");
  EXPECT_EQ(offers[1].Name, "Amber (zeta.ssk)");
  EXPECT_EQ(offers[2].Name, "broken");
  EXPECT_FALSE(offers[2].Readable) << "listed, so that choosing it can say why it cannot be used";
  EXPECT_EQ(offers[3].Name, "Nameless");
  EXPECT_TRUE(offers[3].Readable);
}

TEST(SkinShelfTest, SkinsOfOneNameInTheirFoldersShowWhereEachLies) {
  TempFolder folder;
  MakeFolders(folder / "Skins\\Deep");
  MakeFolders(folder / "Skins\\Shallow");
  WriteSkin(folder, "Skins\\Deep\\Sea.ssk", {StringValue("SKIN_NAME", "Sea")});
  WriteSkin(folder, "Skins\\Deep\\Sea2.ssk", {StringValue("SKIN_NAME", "Sea")});
  WriteSkin(folder, "Skins\\Shallow\\Sea.ssk", {StringValue("SKIN_NAME", "SEA")});
  WriteSkin(folder, "Skins\\Sky.ssk", {StringValue("SKIN_NAME", "Sky")});
  const std::vector<TSkinOffer> offers = OfferSkins(
      folder.Path(), {"Skins\\Shallow\\Sea.ssk", "Skins\\Sky.ssk", "Skins\\Deep\\Sea2.ssk", "Skins\\Deep\\Sea.ssk"}, "");
  ASSERT_EQ(offers.size(), 4u);
  EXPECT_EQ(offers[0].Name, "Sea (Deep\\Sea.ssk)");
  EXPECT_EQ(offers[1].Name, "Sea (Deep\\Sea2.ssk)");
  EXPECT_EQ(offers[2].Name, "SEA (Shallow\\Sea.ssk)");
  EXPECT_EQ(offers[3].Name, "Sky") << "a name of its own stays as it is";
  EXPECT_EQ(offers[3].File, "Skins\\Sky.ssk");
}

TEST(SkinShelfTest, ASkinSealedWithAnotherPasswordIsOfferedButNotReadable) {
  TempFolder folder;
  WriteSkin(folder, "sealed.ssk", {StringValue("SKIN_NAME", "Sealed")}, "other");
  const std::vector<TSkinOffer> offers = OfferSkins(folder.Path(), {"sealed.ssk"}, "");
  ASSERT_EQ(offers.size(), 1u);
  EXPECT_EQ(offers[0].Name, "sealed");
  EXPECT_FALSE(offers[0].Readable);
  EXPECT_EQ(OfferSkins(folder.Path(), {"sealed.ssk"}, "other")[0].Name, "Sealed");
  EXPECT_THROW(SkinNameOf(folder / "missing.ssk", ""), std::exception);
}

TEST(SkinShelfTest, SettingsValuesNameTheSameFileWhateverTheCaseAndSlashes) {
  EXPECT_TRUE(SameSkinFile("Skins\\Deep\\DeepCyan.ssk", "skins/deep/DEEPCYAN.SSK"));
  EXPECT_FALSE(SameSkinFile("Skins\\Deep\\DeepCyan.ssk", "Skins\\DeepCyan.ssk"));
}
