// Writes the starting inputs of the fuzz targets: real table images, a real
// password book, and the skin archives given after the folder (the shipped
// skins), so that mutations start from well-formed data.
//   MakeSeeds OUTPUT_FOLDER [SKIN.ssk ...]
#include <filesystem>
#include <fstream>

#include "store/AMD5.h"
#include "store/Compression.h"
#include "store/uData.h"
#include "store/uDM.h"
#include "framework/FormResource.h"
#include "skin/SkinBitmap.h"
#include "skinpack/SkinWriter.h"

namespace {

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Image(TTableObject& table) {
  TMemoryStream stream;
  table.DataSet().SaveToStream(stream);
  return stream.Bytes();
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::filesystem::path out(argv[1]);
  TUserList users;
  users.CreateTable();
  users.AddUser("anna", "secret");
  users.AddUser("", "");
  Write(out / "table" / "users", Image(users));

  TFileList entries(nullptr);
  entries.CreateTable();
  entries.DataSet().AppendRecord({1, std::string("Docs"), std::string("Docs"), 0, 0, 1, 0});
  entries.DataSet().AppendRecord({2, std::string("a.txt"), std::string("C:\\a.txt"), 1, 1, 3, 0});
  Write(out / "table" / "entries", Image(entries));

  TPubData records;
  records.CreateTable();
  records.DataSet().AppendRecord({1, std::string("Mail"), TFieldValue{}, std::string("anna"), std::string("pw")});
  Write(out / "table" / "records", Image(records));
  Write(out / "compressed" / "book", SealPasswordBook("anna", Image(records), "pw"));
  TMemoryStream empty;
  CompressStream(empty, 0);
  Write(out / "compressed" / "empty", empty.Bytes());

  // Skin archives: plain, stored and encrypted, with bitmaps of every shape the resources cut.
  auto bmp = [](int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, (x * 7 + y * 13) % 3 ? 0x00C08040 : 0x00FF00FF);
    return b.ToBmp();
  };
  const std::string skin = EncodeSkinData(
      {IntegerValue("SKIN2_TRANSCOLOR", 0xFF00FF), IntegerValue("SKIN2_FORMCOLOR", 0xEEEEEE),
       IntegerValue("SKIN2_SCROLLBARCOLOR", 0xDDDDDD), ByteValue("SKIN2_BUTTONTRANS", 1),
       StringValue("SKIN_NAME", "seed"), BitmapValue("SKIN2_BUTTON", bmp(63, 21)),
       BitmapValue("SKIN2_SCROLLBAR", bmp(16, 33)), BitmapValue("SKIN2_SCROLLBARUPBUTTON", bmp(48, 16)),
       BitmapValue("SKIN2_TABCONTROL", bmp(60, 22)), BitmapValue("SKIN2_TRACKBAR", bmp(12, 5)),
       BitmapValue("SKIN2_PROGRESSBAR1", bmp(4, 16))});
  std::filesystem::create_directories(out / "skin");
  WriteSkinArchive((out / "skin" / "plain").string(), skin, {});
  WriteSkinArchive((out / "skin" / "stored").string(), skin, {"", true});
  WriteSkinArchive((out / "skin" / "secret").string() , skin, {"pw", false});
  // An encrypted archive is tried with "pw" when its size is odd.
  std::string secret;
  {
    std::ifstream in(out / "skin" / "secret", std::ios::binary);
    secret.assign(std::istreambuf_iterator<char>(in), {});
  }
  if (secret.size() % 2 == 0) Write(out / "skin" / "secret", secret + '\0');
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path skinFile(argv[i]);
    std::error_code error;
    std::filesystem::copy_file(skinFile, out / "skin" / skinFile.filename(),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) return 1;
  }
  // Stored forms: every value type, nested components, an empty one.
  auto stored = [](const TStoredObject& form) {
    const std::vector<std::uint8_t> bytes = WriteFormResource(form);
    return std::string(bytes.begin(), bytes.end());
  };
  const TStoredObject part{"Part", "TStoreProbe", {{"Data", TPropertyValue::OfBinary({0xDE, 0xAD, 0xBE, 0xEF})}}, {}};
  const TStoredObject edit{"Name", "TEdit", {{"Text", TPropertyValue::OfString("stored text")},
                                            {"MaxLength", TPropertyValue::OfInteger(20)}}, {part}};
  Write(out / "form" / "every-kind",
        stored({"ResTestForm", "TResTestForm",
                {{"Caption", TPropertyValue::OfString("Stored caption")}, {"Width", TPropertyValue::OfInteger(-420)},
                 {"KeyPreview", TPropertyValue::OfBoolean(true)}, {"BorderStyle", TPropertyValue::OfEnumeration("bsSingle")},
                 {"SkinData", TPropertyValue::OfBinary({0x50, 0x4B, 0x03, 0x04, 0x00})}},
                {edit, part}}));
  Write(out / "form" / "empty", stored({"F", "TF", {}, {}}));
  // Collections: items of every value type, an empty item, an empty
  // collection, and a collection inside an item.
  const TStoredItem sizeItem{{{"Size", TPropertyValue::OfInteger(3)}}};
  const TStoredItem skinItem{{{"SkinFile", TPropertyValue::OfString("Blue.ssk")},
                              {"Password", TPropertyValue::OfString("pw")},
                              {"SkinData", TPropertyValue::OfBinary({0x50, 0x4B, 0x03, 0x04, 0x0A})},
                              {"Shown", TPropertyValue::OfBoolean(true)},
                              {"Kind", TPropertyValue::OfEnumeration("ikLast")},
                              {"Parts", TPropertyValue::OfCollection({sizeItem, TStoredItem{}})}}};
  const TStoredObject shelf{"Skins", "TSkinShelf",
                            {{"Items", TPropertyValue::OfCollection({skinItem, TStoredItem{}, skinItem})},
                             {"None", TPropertyValue::OfCollection({})}},
                            {}};
  Write(out / "form" / "collection", stored({"ResCollectionForm", "TResCollectionForm",
                                             {{"Caption", TPropertyValue::OfString("Shelf")}}, {shelf}}));
  return 0;
}
