#include "store/uDM.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"
#include <zlib.h>

#include <functional>

#include "store/AMD5.h"
#include "store/uFun.h"
#include "support/StoreFixture.h"

namespace {

std::string Inflate(const std::string& file) {
  std::uint64_t n = 0;
  for (int i = 7; i >= 0; --i) n = (n << 8) | static_cast<std::uint8_t>(file[static_cast<std::size_t>(i)]);
  std::string out(static_cast<std::size_t>(n), '\0');
  uLongf size = static_cast<uLongf>(n);
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                       reinterpret_cast<const Bytef*>(file.data() + 8), static_cast<uLong>(file.size() - 8)),
            Z_OK);
  EXPECT_EQ(size, n);
  return out;
}

std::string Deflate(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
           static_cast<uLong>(data.size()));
  out.resize(size);
  std::string prefix(8, '\0');
  for (int i = 0; i < 8; ++i) prefix[static_cast<std::size_t>(i)] = static_cast<char>(data.size() >> (8 * i));
  return prefix + out;
}


} // namespace

class DataModuleTest : public StoreTest {
protected:
  // Opens the password manager's tables as it does, with one catalog and record.
  void OpenBook(bool withContent = true) {
    PubList = std::make_unique<TPubList>(&tree);
    PubData = std::make_unique<TPubData>();
    PubList->OnDeleteType = [](std::int32_t id) { PubData->DeleteByType(id); };
    PubList->OnSelectType = [](std::int32_t id) { PubData->SelectType(id); };
    LoadPwdData();
    if (!withContent) return;
    PubList->AddType(nullptr, "Mail");
    PubData->SelectType(1);
    PubData->DataSet().AppendRecord({1, std::string("Post"), std::string("https://post.example"),
                                     std::string("anna"), std::string("pa55")});
  }
  TTreeModel tree;
};

TEST_F(DataModuleTest, CreationOpensTheAccountTable) {
  TDM dm;
  ASSERT_TRUE(UserList);
  EXPECT_TRUE(UserList->DataSet().Active());
  EXPECT_FALSE(PathExists(UserDataPath())) << "nothing is written before a save point";
  UserList->AddUser("anna", "pw");
  SaveUserData();
  UserList.reset();
  TDM again;
  EXPECT_TRUE(UserList->CheckUser("anna", "pw"));
}

TEST_F(DataModuleTest, TheAccountFolderIsCreatedByTheFirstSave) {
  LogIn("anna", "pw");
  FileList = std::make_unique<TFileList>(&tree);
  LoadFileData();
  EXPECT_FALSE(PathExists(UserFolder()));
  FileList->AddCatalog(nullptr, "Docs");
  SaveFileData();
  EXPECT_TRUE(PathExists(UserPath("DataFile.cds")));
  FileList = std::make_unique<TFileList>(&tree);
  LoadFileData();
  EXPECT_TRUE(FileList->DataSet().Locate("FShortName", std::string("Docs")));
}

TEST_F(DataModuleTest, AFolderThatCannotBeCreatedIsReported) {
  FaultyFileSystem files;
  files.failCreateDir = true;
  platform::ScopedServices faulty(&files, nullptr);
  LogIn("anna", "pw");
  EXPECT_EQ(ErrorOf(EnsureUserFolder), "Save faile, Can not create the directory!");
  FileList = std::make_unique<TFileList>(&tree);
  FileList->CreateTable();
  EXPECT_FALSE(FileList->SaveData(FileDataPath())) << "absorbed by the table's save";
  OpenBook();
  EXPECT_EQ(ErrorOf(SavePwdData), "Save faile, Can not create the directory!");
  CurUserCode.clear();
  EXPECT_NO_THROW(EnsureUserFolder()) << "the program folder itself exists";
}

TEST_F(DataModuleTest, PasswordBookEnvelopeIsExact) {
  LogIn("anna", "pw");
  OpenBook();
  SavePwdData();
  for (const auto& [name, table] : {std::pair{"PwdType.cds", static_cast<TTableObject*>(PubList.get())},
                                    std::pair{"PwdFile.cds", static_cast<TTableObject*>(PubData.get())}}) {
    const std::string file = ReadFileBytes(UserPath(name));
    TMemoryStream image;
    table->DataSet().SaveToStream(image);
    const std::string sealed = sMD5::MD5Hex("anna") + image.Bytes() + sMD5::MD5Hex("pw");
    EXPECT_EQ(Inflate(file), sealed) << name;
    EXPECT_EQ(file, Deflate(sealed)) << name << ": the length and one default-level zlib stream";
  }
}

TEST_F(DataModuleTest, PasswordBookRoundTrips) {
  LogIn("anna", "pw");
  OpenBook();
  SavePwdData();
  OpenBook(false);
  EXPECT_EQ(PubList->DataSet().RecordCount(), 1);
  FillTypeTree(tree, *PubList);
  EXPECT_EQ(tree.Items.Count(), 1);
  PubData->SelectType(1);
  EXPECT_EQ(PubData->DataSet().FieldByName("FPassword").AsString(), "pa55");
}

TEST_F(DataModuleTest, BooksOfAnotherAccountOrPasswordAreInvalid) {
  LogIn("anna", "pw");
  OpenBook();
  SavePwdData();
  const std::string type = PwdTypePath();

  LogIn("Anna", "pw"); // same folder on Windows, different digest
  std::string copy = ReadFileBytes(type);
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "bob");
  LogIn("bob", "pw");
  WriteFileBytes(PwdTypePath(), copy);
  EXPECT_EQ(ErrorOf([] { LoadPwdData(); }), "invalid File:" + PwdTypePath());

  LogIn("anna", "changed");
  EXPECT_EQ(ErrorOf([] { LoadPwdData(); }), "invalid File:" + type);
  EXPECT_EQ(ReadFileBytes(type), copy) << "a refused file is left alone";
}

TEST_F(DataModuleTest, AFailingTypeFileStopsBeforeTheRecordFile) {
  LogIn("anna", "pw");
  OpenBook();
  SavePwdData();
  WriteFileBytes(PwdTypePath(), Deflate(sMD5::MD5Hex("bob") + "x" + sMD5::MD5Hex("pw")));
  PubList = std::make_unique<TPubList>(&tree);
  PubData = std::make_unique<TPubData>();
  EXPECT_THROW(LoadPwdData(), EStoreError);
  EXPECT_FALSE(PubData->DataSet().Active()) << "PwdFile.cds was not read";
}

TEST_F(DataModuleTest, EmptyOrAbsentBooksOpenEmpty) {
  LogIn("anna", "pw");
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "anna");
  WriteFileBytes(PwdTypePath(), "");
  OpenBook(false);
  EXPECT_TRUE(PubList->DataSet().Active());
  EXPECT_TRUE(PubList->DataSet().IsEmpty());
  EXPECT_TRUE(PubData->DataSet().Active());
  EXPECT_EQ(PubData->DataSet().FieldCount(), 5);
}

TEST_F(DataModuleTest, DamagedBooksAreReportedKeptAndNeverOverwritten) {
  LogIn("anna", "pw");
  OpenBook();
  SavePwdData();
  const std::string good = ReadFileBytes(PwdTypePath());
  const std::string sealed = Inflate(good);
  const std::vector<std::string> damaged = {
      good.substr(0, good.size() / 2),                                   // truncated
      good.substr(0, 8) + "zlib? no",                                    // not zlib
      Deflate(sMD5::MD5Hex("anna") + sMD5::MD5Hex("pw")).substr(0, 20), // cut in the stream
      Deflate(sealed.substr(0, 40)),                                     // shorter than both digests
      Deflate(sMD5::MD5Hex("anna") + "not a table" + sMD5::MD5Hex("pw")),
      Deflate(sealed.substr(0, 50) + sealed.substr(51)), // one byte of the image gone
  };
  for (const std::string& bytes : damaged) {
    WriteFileBytes(PwdTypePath(), bytes);
    const std::string message = ErrorOf([this] { OpenBook(false); });
    EXPECT_NE(message, "") << "refused";
    EXPECT_NE(message.find(PwdTypePath()), std::string::npos) << message;
    EXPECT_FALSE(PubList->DataSet().Active());
    SavePwdData(); // the closing save and a password change must not write over it
    EXPECT_EQ(ReadFileBytes(PwdTypePath()), bytes);
  }
  EXPECT_TRUE(PathExists(PwdTypePath() + ".damaged"));
}

TEST_F(DataModuleTest, ChangingThePasswordRewritesLoadedBooks) {
  TDM dm;
  UserList->AddUser("anna", "old");
  LogIn("anna", "old");
  OpenBook();
  SavePwdData();
  ChangeAccountPassword("new");
  EXPECT_EQ(CurUserPwd, "new");
  for (const std::string& path : {PwdTypePath(), PwdFilePath()}) {
    const std::string sealed = Inflate(ReadFileBytes(path));
    EXPECT_EQ(sealed.substr(sealed.size() - 32), sMD5::MD5Hex("new")) << path;
  }
  UserList.reset();
  TDM again;
  EXPECT_TRUE(UserList->CheckUser("anna", "new")) << "the account table was written with the books";
  OpenBook(false);
  EXPECT_EQ(PubData->DataSet().RecordCount(), 1);
}

TEST_F(DataModuleTest, ChangingThePasswordKeepsUnloadedBooksReadable) {
  TDM dm;
  UserList->AddUser("anna", "old");
  LogIn("anna", "old");
  OpenBook();
  SavePwdData();
  const std::string imageBefore = Inflate(ReadFileBytes(PwdFilePath())).substr(32);
  PubList.reset();
  PubData.reset();
  ChangeAccountPassword("new");
  const std::string sealed = Inflate(ReadFileBytes(PwdFilePath()));
  EXPECT_EQ(sealed.substr(32, sealed.size() - 64), imageBefore.substr(0, imageBefore.size() - 32));
  OpenBook(false);
  PubData->SelectType(1);
  EXPECT_EQ(PubData->DataSet().FieldByName("FUser").AsString(), "anna");

  // A book that does not open with the current password stops the change before anything is written.
  PubList.reset();
  PubData.reset();
  const std::string accounts = ReadFileBytes(UserDataPath());
  const std::string type = ReadFileBytes(PwdTypePath());
  WriteFileBytes(PwdFilePath(), Deflate(sMD5::MD5Hex("anna") + "x" + sMD5::MD5Hex("another")));
  const std::string message = ErrorOf([] { ChangeAccountPassword("newer"); });
  EXPECT_EQ(message, "The password was not changed: invalid File:" + PwdFilePath() + ".");
  EXPECT_EQ(CurUserPwd, "new");
  EXPECT_TRUE(UserList->CheckUser("anna", "new")) << "the table in memory keeps the old password";
  EXPECT_EQ(ReadFileBytes(UserDataPath()), accounts);
  EXPECT_EQ(ReadFileBytes(PwdTypePath()), type);
}

TEST_F(DataModuleTest, NoBooksNoRekeyFiles) {
  TDM dm;
  UserList->AddUser("anna", "old");
  LogIn("anna", "old");
  ChangeAccountPassword("new");
  EXPECT_FALSE(PathExists(UserFolder()));
  UserList.reset();
  TDM again;
  EXPECT_TRUE(UserList->CheckUser("anna", "new"));
}

TEST_F(DataModuleTest, CloseDataSavesAccountsAndEntriesNotBooks) {
  TDM dm;
  UserList->AddUser("anna", "pw");
  LogIn("anna", "pw");
  FileList = std::make_unique<TFileList>(&tree);
  LoadFileData();
  FileList->AddCatalog(nullptr, "Docs");
  OpenBook();
  CloseData();
  EXPECT_FALSE(UserList || FileList || PubList || PubData);
  EXPECT_TRUE(PathExists(UserDataPath()));
  EXPECT_TRUE(PathExists(UserPath("DataFile.cds")));
  EXPECT_FALSE(PathExists(PwdTypePath()));
}

TEST_F(DataModuleTest, AFailedWriteLeavesTheOldFileWhole) {
  TDM dm;
  UserList->AddUser("anna", "pw");
  SaveUserData();
  const std::string before = ReadFileBytes(UserDataPath());
  UserList->AddUser("bob", "pw2");
  for (const std::size_t budget : {std::size_t{0}, std::size_t{10}, before.size()}) {
    FaultyFileSystem files;
    files.failWritesAfter = budget;
    platform::ScopedServices faulty(&files, nullptr);
    SaveUserData();
    EXPECT_EQ(ReadFileBytes(UserDataPath()), before);
  }
  EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"UserData.cds"}));
  SaveUserData();
  UserList.reset();
  TDM again;
  EXPECT_TRUE(UserList->UserExists("bob"));
}

TEST_F(DataModuleTest, DamagedTableFilesAreReportedKeptAndNotOverwritten) {
  TDM dm;
  UserList->AddUser("anna", "pw");
  SaveUserData();
  const std::string good = ReadFileBytes(UserDataPath());
  std::string flipped = good;
  flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x10);
  const std::vector<std::string> damaged = {"", good.substr(0, good.size() - 1), flipped, "JUNK" + good.substr(4),
                                            good + "x"};
  int copies = 0;
  for (const std::string& bytes : damaged) {
    WriteFileBytes(UserDataPath(), bytes);
    UserList = std::make_unique<TUserList>();
    LoadUserData();
    ++copies;
    const std::string& message = UserList->LoadErrorText();
    EXPECT_NE(message.find(UserDataPath()), std::string::npos) << message;
    EXPECT_NE(message.find(".damaged"), std::string::npos) << message;
    EXPECT_FALSE(UserList->DataSet().Active());
    SaveUserData(); // as at exit: a closed table is not written
    EXPECT_EQ(ReadFileBytes(UserDataPath()), bytes);
  }
  EXPECT_EQ(ReadFileBytes(UserDataPath() + ".damaged"), damaged[0]);
  EXPECT_EQ(ReadFileBytes(UserDataPath() + ".damaged" + std::to_string(copies)), damaged.back());
  // The program can go on with an empty table.
  UserList->CreateTable();
  EXPECT_TRUE(UserList->AddUser("fresh", "start"));
}
