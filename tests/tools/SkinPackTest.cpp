#include "skinpack/SkinPack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "skin/SkinFile.h"
#include "skinpack/SkinWriter.h"
#include "support/SkinArchiveBuilder.h"
#include "support/TempFolder.h"

namespace {

struct Result {
  int status;
  std::string out, err;
};

Result Pack(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunSkinPack(args, out, err);
  return {status, out.str(), err.str()};
}

// A source folder: a manifest and two bitmaps.
std::string Source(const TempFolder& folder) {
  const std::string dir = folder / "src";
  std::filesystem::create_directories(dir);
  WriteFileBytes(dir + "/skin.txt",
                 "# a comment\n"
                 "integer SKIN2_TRANSCOLOR rgb(255, 0, 255)\n"
                 "integer SKIN2_TITLEBARCAPTIONTOP -5\r\n"
                 "integer Hex 0x10\n"
                 "flag SKIN2_BUTTONTRANS 1\n"
                 "string SKIN_NAME Deep Cyan\n");
  TBitmap button(63, 21);
  button.SetPixel(30, 10, 0x00ABCDEF);
  WriteFileBytes(dir + "/SKIN2_BUTTON.bmp", button.ToBmp());
  WriteFileBytes(dir + "/SKIN2_CHECKBOX.bmp", TBitmap(78, 13).ToBmp());
  return dir;
}

} // namespace

TEST(SkinPack, BuildsArchivesThatLoadBackWhole) {
  TempFolder folder;
  const std::string source = Source(folder);
  for (const auto& extra : {std::vector<std::string>{}, std::vector<std::string>{"--store"},
                            std::vector<std::string>{"--password", "pw"}}) {
    const std::string archive = folder / "out.ssk";
    std::vector<std::string> args = {"build", source, archive};
    args.insert(args.end(), extra.begin(), extra.end());
    const Result built = Pack(args);
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(ReadFileBytes(archive).substr(0, 2), "SK");
    const std::string password = extra.size() == 2 ? "pw" : "";
    const Tsk2SkinFileReader reader(archive, password);
    EXPECT_EQ(reader.GetInteger("SKIN2_TRANSCOLOR"), 0xFF00FF);
    EXPECT_EQ(reader.GetInteger("SKIN2_TITLEBARCAPTIONTOP"), -5);
    EXPECT_EQ(reader.GetInteger("Hex"), 16);
    EXPECT_TRUE(reader.GetBoolean("SKIN2_BUTTONTRANS"));
    EXPECT_EQ(reader.Strings().at(0).second, "Deep Cyan");
    ASSERT_NE(reader.GetBitmap("SKIN2_BUTTON"), nullptr);
    EXPECT_EQ(reader.GetBitmap("SKIN2_BUTTON")->Pixel(30, 10), 0x00ABCDEF);
    EXPECT_EQ(reader.GetBitmap("SKIN2_CHECKBOX")->Width(), 78);

    const Result listed = Pack({"list", archive, "--password", password});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("bitmap SKIN2_BUTTON 63x21\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("integer SKIN2_TITLEBARCAPTIONTOP=-5\n"), std::string::npos);
    EXPECT_NE(listed.out.find("flag SKIN2_BUTTONTRANS=1\n"), std::string::npos);
    EXPECT_NE(listed.out.find("string SKIN_NAME=Deep Cyan\n"), std::string::npos);
  }
}

TEST(SkinPack, AnUnreadableBitmapIsToldInItsOwnWords) {
  TempFolder folder;
  std::string bmp = TBitmap(4, 4).ToBmp();
  bmp[28] = 15; // bits per pixel no bitmap has
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData({BitmapValue("SKIN2_BUTTON", bmp)});
  WriteFileBytes(folder / "bad.ssk", BuildSkinArchive(spec));
  const Result listed = Pack({"list", folder / "bad.ssk"});
  EXPECT_EQ(listed.status, 1);
  EXPECT_EQ(listed.err, "Bitmap image is not valid (bits per pixel)\n");
}

TEST(SkinPack, EncryptedArchivesRefuseWrongPasswords) {
  TempFolder folder;
  const std::string archive = folder / "secret.ssk";
  ASSERT_EQ(Pack({"build", Source(folder), archive, "--password", "pw"}).status, 0);
  const Result none = Pack({"list", archive});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "Wrong password!\n");
  const Result wrong = Pack({"list", archive, "--password", "PW"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.err, "Wrong password!\n");
  EXPECT_EQ(Pack({"list", folder / "missing.ssk"}).err, "Failed to read skin file!\n");
}

TEST(SkinPack, BadSourcesAndUsage) {
  TempFolder folder;
  const std::string source = Source(folder);
  EXPECT_EQ(Pack({}).status, 2);
  EXPECT_EQ(Pack({"build", source}).status, 2);
  WriteFileBytes(source + "/skin.txt", "integer X twelve\n");
  const Result bad = Pack({"build", source, folder / "x.ssk"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("skin.txt line 1"), std::string::npos) << bad.err;
  WriteFileBytes(source + "/skin.txt", "flag X 256\n");
  EXPECT_EQ(Pack({"build", source, folder / "x.ssk"}).status, 1);
  WriteFileBytes(source + "/skin.txt", "colour X 1\n");
  EXPECT_EQ(Pack({"build", source, folder / "x.ssk"}).status, 1);
}

#ifdef PLIMET_DEFAULT_SKIN
TEST(DefaultSkin, CarriesAllValues) {
  const Tsk2SkinFileReader reader(PLIMET_DEFAULT_SKIN, "");
  EXPECT_EQ(reader.Bitmaps().size(), 34u);
  EXPECT_EQ(reader.Integers().size(), 32u + 9u);
  EXPECT_EQ(reader.Bytes().size(), 9u);
  EXPECT_EQ(reader.GetBitmap("SKIN2_TITLEBUTTONS")->Width() % 18, 0);
}
#endif
