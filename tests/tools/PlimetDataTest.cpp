#include "plimet-data/PlimetData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/StoreFixture.h"

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result Tool(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunPlimetData(args, out, err);
  return {status, out.str(), err.str()};
}

} // namespace

TEST(PlimetData, Md5PrintsTheDigest) {
  const Result result = Tool({"md5", "abc"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "900150983cd24fb0d6963f7d28e17f72\n");
}

TEST(PlimetData, WrongUsageAndMissingFilesFailWithOneLine) {
  EXPECT_EQ(Tool({}).status, 2);
  EXPECT_EQ(Tool({"frobnicate"}).status, 2);
  TempFolder folder;
  const Result missing = Tool({"show", folder / "none.cds"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
}

class PlimetDataFiles : public StoreTest {};

TEST_F(PlimetDataFiles, ShowPrintsColumnsAndRows) {
  TDM dm;
  UserList->AddUser("anna", "secret");
  SaveUserData();
  const Result result = Tool({"show", UserDataPath()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("FCode string(20)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("anna\tsecret\n"), std::string::npos) << result.out;
  WriteFileBytes(UserDataPath(), "damaged");
  EXPECT_EQ(Tool({"show", UserDataPath()}).status, 1);
}

TEST_F(PlimetDataFiles, ShowBookOpensItAsThePasswordManagerDoes) {
  LogIn("anna", "pw");
  TTreeModel tree;
  PubList = std::make_unique<TPubList>(&tree);
  PubData = std::make_unique<TPubData>();
  LoadPwdData();
  PubList->AddType(nullptr, "Mail");
  SavePwdData();
  const Result good = Tool({"show-book", PwdTypePath(), "anna", "pw"});
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_NE(good.out.find("1\tMail\t0\t0\t0"), std::string::npos) << good.out;
  const Result wrong = Tool({"show-book", PwdTypePath(), "anna", "PW"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("invalid File:" + PwdTypePath()), std::string::npos) << wrong.err;
}

TEST_F(PlimetDataFiles, ShowChecksAFileAsTheTableItsNameSays) {
  TDM dm;
  UserList->AddUser("anna", "secret");
  SaveUserData();
  LogIn("anna", "secret");
  TTreeModel tree;
  FileList = std::make_unique<TFileList>(&tree);
  FileList->CreateTable();
  FileList->AddCatalog(nullptr, "Docs");
  SaveFileData();
  EXPECT_EQ(Tool({"show", FileDataPath()}).status, 0);

  // The entries table under the account table's name loads as a table, but not as the accounts.
  const std::string copy = folder / "UserData.cds";
  WriteFileBytes(copy, ReadFileBytes(FileDataPath()));
  const Result wrong = Tool({"show", copy});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.err, "plimet-data: the file holds another table, not the one expected here\n");
  EXPECT_FALSE(PathExists(copy + ".damaged")) << "a check writes nothing";
  EXPECT_EQ(Tool({"show", folder / "other.cds"}).status, 1) << "missing";
  WriteFileBytes(folder / "other.cds", ReadFileBytes(FileDataPath()));
  EXPECT_EQ(Tool({"show", folder / "other.cds"}).status, 0) << "any table under another name";

  // A file far larger than any table is refused at once, unread.
  std::string huge = folder / "DataFile.cds";
#ifndef _WIN32
  std::replace(huge.begin(), huge.end(), '\\', '/');
#endif
  WriteFileBytes(folder / "DataFile.cds", "");
  std::filesystem::resize_file(huge, std::uint64_t{1} << 30);
  const Result tooLarge = Tool({"show", folder / "DataFile.cds"});
  EXPECT_EQ(tooLarge.status, 1);
  EXPECT_NE(tooLarge.err.find("larger than 64 MB"), std::string::npos) << tooLarge.err;
  EXPECT_EQ(Tool({"show", PwdTypePath()}).status, 1) << "a book is shown with show-book";
}
