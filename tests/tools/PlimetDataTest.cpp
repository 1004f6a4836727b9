#include "plimet-data/PlimetData.h"

#include <gtest/gtest.h>

#include <algorithm>
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
