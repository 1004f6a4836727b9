// Writes the starting inputs of the fuzz targets: real table images and a
// real password book, so that mutations start from well-formed data.
#include <filesystem>
#include <fstream>

#include "store/AMD5.h"
#include "store/Compression.h"
#include "store/uData.h"
#include "store/uDM.h"

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
  if (argc != 2) return 2;
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
  return 0;
}
