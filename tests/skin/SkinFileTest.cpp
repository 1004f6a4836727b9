#include "skin/SkinFile.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/Services.h"
#include "skinpack/SkinWriter.h"
#include "support/SkinArchiveBuilder.h"
#include "support/TempFolder.h"
#include "support/TestDoubles.h"

namespace {

std::string SmallBmp(int width, int height, std::uint32_t rgb) {
  TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, static_cast<TColor>(rgb));
  return bitmap.ToBmp();
}

std::vector<TSkinValue> SampleValues() {
  return {IntegerValue("SKIN2_TRANSCOLOR", 0xFF00FF), IntegerValue("Minus", -5), ByteValue("SKIN2_TITLEFIVESECT", 1),
          ByteValue("Zero", 0),   StringValue("SKIN_NAME", "Sample"),  BitmapValue("SKIN2_BUTTON", SmallBmp(63, 21, 0x123456)),
          IntegerValue("minus", 7), ByteValue("Two", 2), ByteValue("Full", 255)};
}

class SkinFileTest : public ::testing::Test {
protected:
  std::string Archive(const SkinArchiveSpec& spec, const std::string& name = "skin.ssk") {
    const std::string path = folder / name;
    WriteFileBytes(path, BuildSkinArchive(spec));
    return path;
  }
  std::string Message(const std::string& path, const std::string& password = "") {
    try {
      Tsk2SkinFileReader reader(path, password);
    } catch (const ESkinError& error) {
      return error.what();
    }
    return "";
  }
  // No temporary file may stay behind, whatever happened.
  void TearDown() override {
    for (const auto& name : FolderEntries(platform::Files().TempFolder()))
      EXPECT_FALSE(name.size() == 38 && name.front() == '{' && name.back() == '}' && leftovers.count(name) == 0)
          << "temporary file left: " << name;
  }
  TempFolder folder;
  std::set<std::string> leftovers = [] {
    std::set<std::string> names;
    for (const auto& name : FolderEntries(platform::Files().TempFolder())) names.insert(name);
    return names;
  }();
};

} // namespace

TEST_F(SkinFileTest, LoadsEveryKindOfValueAndLooksThemUpWithoutCase) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  const Tsk2SkinFileReader reader(Archive(spec), "");
  EXPECT_EQ(reader.GetInteger("SKIN2_TRANSCOLOR"), 0xFF00FF);
  EXPECT_EQ(reader.GetInteger("minus"), -5) << "first match wins, any case";
  EXPECT_EQ(reader.GetInteger("missing"), -1);
  EXPECT_TRUE(reader.GetBoolean("skin2_titlefivesect"));
  EXPECT_FALSE(reader.GetBoolean("Zero"));
  EXPECT_TRUE(reader.GetBoolean("Two")) << "any value but 0 is true";
  EXPECT_TRUE(reader.GetBoolean("Full"));
  EXPECT_FALSE(reader.GetBoolean("missing"));
  ASSERT_NE(reader.GetBitmap("skin2_button"), nullptr);
  EXPECT_EQ(reader.GetBitmap("SKIN2_BUTTON")->Width(), 63);
  EXPECT_EQ(reader.GetBitmap("SKIN2_BUTTON")->Pixel(5, 5), 0x123456);
  EXPECT_EQ(reader.GetBitmap("missing"), nullptr);
  ASSERT_EQ(reader.Strings().size(), 1u);
  EXPECT_EQ(reader.Strings()[0].second, "Sample");
}

TEST_F(SkinFileTest, TheTemporaryFileIsWrittenReadBackAndRemovedWithoutWaitingForTheDisk) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  const std::string path = Archive(spec);
  FaultyFileSystem files;
  platform::ScopedServices recording(&files, nullptr);
  Tsk2SkinFileReader reader(path, "");
  ASSERT_EQ(files.written.size(), 1u);
  EXPECT_EQ(files.written[0].rfind(platform::Files().TempFolder() + "{", 0), 0u) << files.written[0];
  EXPECT_TRUE(files.flushed.empty()) << "a file deleted a moment later needs no flush";
  EXPECT_FALSE(files.FileExists(files.written[0]));
  EXPECT_EQ(reader.GetInteger("Minus"), -5);

  std::string content;
  EXPECT_EQ(Tsk2SkinFileReader::ExtractEntryToMemory(path, "skindata.sk2", content, ""), 0);
  EXPECT_EQ(content, spec.content) << "the same entry, kept in memory";
  EXPECT_EQ(Tsk2SkinFileReader::ExtractEntryToMemory(path, "missing", content, ""), 1);
  EXPECT_TRUE(content.empty());
}

TEST_F(SkinFileTest, EntryNamesMatchWithoutCaseAndStoredBlocksWork) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  spec.entryName = "skindata.sk2";
  spec.level = 0;
  EXPECT_EQ(Message(Archive(spec)), "");
}

TEST_F(SkinFileTest, ArchivesAsCommonZipToolsWriteThem) {
  // Extra fields in both headers, entry comments, and another entry first:
  // the directory walk and the data start must step over every one of them.
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  spec.localExtra = std::string("UT\x09\x00\x03\x5B\x88\x6A\x21\x5B\x88\x6A\x21", 13) +
                    std::string("ux\x0B\x00\x01\x04\xE8\x03\x00\x00\x04\xE8\x03\x00\x00", 15);
  spec.directoryExtra = std::string("UT\x05\x00\x03\x5B\x88\x6A\x21", 9);
  spec.entryComment = "made by hand";
  spec.leadingEntryName = "README.TXT";
  spec.leadingEntryContent = "A skin for Plimet.";
  const Tsk2SkinFileReader reader(Archive(spec), "");
  EXPECT_EQ(reader.GetInteger("SKIN2_TRANSCOLOR"), 0xFF00FF);
  ASSERT_NE(reader.GetBitmap("SKIN2_BUTTON"), nullptr);
  EXPECT_EQ(reader.GetBitmap("SKIN2_BUTTON")->Pixel(62, 20), 0x123456);
  // Each on its own: a comment alone, a directory extra field alone.
  for (int part = 0; part < 3; ++part) {
    SkinArchiveSpec one;
    one.content = spec.content;
    one.leadingEntryName = "README.TXT";
    one.leadingEntryContent = "A skin for Plimet.";
    if (part == 0) one.localExtra = spec.localExtra;
    if (part == 1) one.directoryExtra = spec.directoryExtra;
    if (part == 2) one.entryComment = spec.entryComment;
    EXPECT_EQ(Message(Archive(one, "part" + std::to_string(part) + ".ssk")), "") << part;
  }
}

TEST_F(SkinFileTest, NotASkinArchive) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  EXPECT_EQ(Message(folder / "none.ssk"), kSkinReadFailed);
  spec.magic = "PK";
  EXPECT_EQ(Message(Archive(spec)), kSkinReadFailed);
  spec.magic = "SK";
  spec.comment = "a comment";
  EXPECT_EQ(Message(Archive(spec)), kSkinReadFailed);
  spec.comment.clear();
  spec.entryName = "OTHER.SK2";
  EXPECT_EQ(Message(Archive(spec)), kSkinReadFailed);
  WriteFileBytes(folder / "tiny.ssk", "SK");
  EXPECT_EQ(Message(folder / "tiny.ssk"), kSkinReadFailed);
}

TEST_F(SkinFileTest, PasswordsAndTheCheckByte) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  spec.password = "s3cret";
  const std::string path = Archive(spec);
  EXPECT_EQ(Message(path, ""), kSkinWrongPassword) << "no password given";
  EXPECT_EQ(Message(path, "s3cret"), "");
  EXPECT_EQ(Message(path, "S3cret"), kSkinWrongPassword);
  spec.dataDescriptorFlag = true; // the check byte is then the time's high byte
  EXPECT_EQ(Message(Archive(spec, "bit3.ssk"), "s3cret"), "");
  // Over many wrong passwords, the check byte lets about one in 256 through;
  // the data then decodes to the wrong size: the same message every time.
  for (int i = 0; i < 300; ++i) EXPECT_EQ(Message(path, "guess" + std::to_string(i)), kSkinWrongPassword) << i;
}

TEST_F(SkinFileTest, TheOutputMustHaveTheDeclaredSize) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(SampleValues());
  spec.declaredSize = static_cast<std::int64_t>(spec.content.size()) + 1;
  EXPECT_EQ(Message(Archive(spec)), kSkinWrongPassword);
  spec.declaredSize = static_cast<std::int64_t>(spec.content.size()) - 1;
  EXPECT_EQ(Message(Archive(spec)), kSkinWrongPassword);
  spec.declaredSize = 0;
  spec.content.clear();
  EXPECT_EQ(Message(Archive(spec)), kSkinReadFailed) << "nothing produced";
  spec.rawData = std::string("\x07", 1); // reserved block type
  spec.content = "x";
  spec.declaredSize = -1;
  EXPECT_EQ(Message(Archive(spec)), kSkinWrongPassword);
}

TEST_F(SkinFileTest, DamagedSkinDataIsRefused) {
  const std::string good = EncodeSkinData(SampleValues());
  auto put32 = [](std::string data, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<char>(v >> (8 * i));
    return data;
  };
  const std::size_t first = 24; // the first record
  const std::vector<std::string> bad = {
      put32(good, 12, 25),                              // header size above 24
      put32(good, 12, 16),                              // header size below 24
      put32(good, 20, static_cast<std::uint32_t>(good.size())), // first record outside
      put32(good, first + 73, first),                   // a chain that loops to itself
      put32(good, first + 65, 0xFFFFFFF0),              // data outside the file
      put32(good, first + 69, 3),                       // an integer of three bytes
      good.substr(0, good.size() - 10),                 // the terminator cut off
      "short",
  };
  for (const std::string& content : bad) {
    SkinArchiveSpec spec;
    spec.content = content;
    EXPECT_EQ(Message(Archive(spec)), kSkinReadFailed);
  }
  // A bitmap whose declared size exceeds its data.
  std::vector<TSkinValue> values = {BitmapValue("B", SmallBmp(4, 4, 0))};
  values[0].data = put32(values[0].data, 22, 4000); // height 4000
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData(values);
  // The bitmap's own complaint reaches the caller, not the archive's.
  try {
    Tsk2SkinFileReader reader(Archive(spec), "");
    ADD_FAILURE() << "a bitmap without its pixels was taken";
  } catch (const EBitmapError& error) {
    EXPECT_STREQ(error.what(), "Bitmap image is not valid (pixel data)");
  }
}

TEST_F(SkinFileTest, AChainEndingAtOnceGivesEmptyListsAndUnknownKindsArePassedOver) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData({});
  const Tsk2SkinFileReader empty(Archive(spec), "");
  EXPECT_TRUE(empty.Bitmaps().empty() && empty.Integers().empty() && empty.Bytes().empty() && empty.Strings().empty());
  TSkinValue odd = StringValue("Odd", "???");
  odd.type = static_cast<TSkinValueType>(9);
  spec.content = EncodeSkinData({odd, IntegerValue("After", 3)});
  const Tsk2SkinFileReader reader(Archive(spec, "odd.ssk"), "");
  EXPECT_EQ(reader.GetInteger("After"), 3);
  EXPECT_TRUE(reader.Strings().empty());
}

TEST_F(SkinFileTest, TransparentColourGoesToEveryBitmap) {
  SkinArchiveSpec spec;
  spec.content = EncodeSkinData({BitmapValue("A", SmallBmp(2, 2, 1)), BitmapValue("B", SmallBmp(3, 3, 2))});
  Tsk2SkinFileReader reader(Archive(spec), "");
  reader.GetBitmap("A")->SetTransparent(true);
  reader.SetTransparentColor(0xFF00FF);
  for (const char* name : {"A", "B"}) {
    EXPECT_EQ(reader.GetBitmap(name)->TransparentMode(), TTransparentMode::Fixed);
    EXPECT_EQ(reader.GetBitmap(name)->TransparentColor(), 0xFF00FF);
  }
  EXPECT_TRUE(reader.GetBitmap("A")->Transparent()) << "whether it is drawn transparent is left alone";
  EXPECT_FALSE(reader.GetBitmap("B")->Transparent());
}
