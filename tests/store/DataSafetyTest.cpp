// Failures of the disk and of other programs, driven into the store: what
// the user stored must survive every one of them.
#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/AtomicFile.h"
#include "store/AMD5.h"
#include "support/StoreFixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {


// A path in the program's form as this build's file system names it.
std::string NativeName(std::string path) {
#ifndef _WIN32
  for (char& c : path)
    if (c == '\\') c = '/';
#endif
  return path;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

class DataSafetyTest : public StoreTest {
protected:
  // An account with a saved catalog and a saved password book.
  void MakeAccount(const std::string& code, const std::string& pwd) {
    if (!UserList) {
      UserList = std::make_unique<TUserList>();
      UserList->CreateTable();
    }
    ASSERT_TRUE(UserList->AddUser(code, pwd));
    ASSERT_TRUE(SaveUserData());
    LogIn(code, pwd);
    FileList = std::make_unique<TFileList>(&tree);
    LoadFileData();
    FileList->AddCatalog(nullptr, "Docs");
    ASSERT_TRUE(SaveFileData());
    OpenBook();
    PubList->AddType(nullptr, "Mail");
    PubData->SelectType(1);
    PubData->DataSet().AppendRecord({1, std::string("Post"), std::string("u"), std::string(code), std::string("p")});
    SavePwdData();
  }
  void OpenBook() {
    PubList = std::make_unique<TPubList>(&tree);
    PubData = std::make_unique<TPubData>();
    PubList->OnDeleteType = [](std::int32_t id) { PubData->DeleteByType(id); };
    PubList->OnSelectType = [](std::int32_t id) { PubData->SelectType(id); };
    LoadPwdData();
  }
  // The password both books and the account table open with now, from the disk.
  void ExpectEverythingOpensWith(const std::string& pwd) {
    auto users = std::make_unique<TUserList>();
    ASSERT_TRUE(users->LoadData(UserDataPath()));
    EXPECT_TRUE(users->CheckUser(CurUserCode, pwd)) << "account table";
    for (const std::string& path : {PwdTypePath(), PwdFilePath()}) {
      TMemoryStream stream;
      EXPECT_EQ(ErrorOf([&] { OpenPasswordBook(path, CurUserCode, pwd, stream); }), "") << path;
      EXPECT_GT(stream.Size(), 64u) << path;
    }
  }
  TTreeModel tree;
};

// --- files that cannot be read ----------------------------------------------------------

TEST_F(DataSafetyTest, AFileHeldByAnotherProgramIsNeverWrittenOver) {
  MakeAccount("anna", "pw");
  const std::string accounts = ReadFileBytes(UserDataPath());
  const std::string entries = ReadFileBytes(FileDataPath());
  FaultyFileSystem files;
  platform::ScopedServices faulty(&files, nullptr);
  for (const std::string& path : {UserDataPath(), FileDataPath()}) {
    files.lockedFile = path;
    std::unique_ptr<TTableObject> table;
    if (path == UserDataPath()) {
      auto users = std::make_unique<TUserList>();
      EXPECT_FALSE(users->LoadData(path));
      table = std::move(users);
    } else {
      auto list = std::make_unique<TFileList>(&tree);
      EXPECT_FALSE(list->LoadData(path));
      table = std::move(list);
    }
    EXPECT_EQ(table->LoadFailure(), TLoadFailure::Unreadable) << path;
    EXPECT_EQ(table->LoadErrorText(),
              "Unable to read " + path + ": Sharing violation. The file was left as it is.");
    EXPECT_FALSE(PathExists(path + ".damaged")) << "nothing to copy from";
    EXPECT_FALSE(table->DataSet().Active());
  }
  // Whatever the program does next, a closed table writes nothing.
  UserList = std::make_unique<TUserList>();
  files.lockedFile = UserDataPath();
  LoadUserData();
  SaveUserData();
  files.lockedFile.clear();
  EXPECT_EQ(ReadFileBytes(UserDataPath()), accounts);
  EXPECT_EQ(ReadFileBytes(FileDataPath()), entries);
}

#ifdef _WIN32
TEST_F(DataSafetyTest, ARealSharingViolationIsToldWithOneFullStop) {
  MakeAccount("anna", "pw");
  HANDLE holder = CreateFileA(UserDataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  TUserList users;
  EXPECT_FALSE(users.LoadData(UserDataPath()));
  CloseHandle(holder);
  EXPECT_EQ(users.LoadFailure(), TLoadFailure::Unreadable);
  EXPECT_TRUE(Contains(users.LoadErrorText(), UserDataPath())) << users.LoadErrorText();
  EXPECT_FALSE(Contains(users.LoadErrorText(), "..")) << users.LoadErrorText();
  EXPECT_TRUE(users.LoadData(UserDataPath())) << "whole once the other program lets go";
}
#endif

TEST_F(DataSafetyTest, ADamagedFileOfWhichNoCopyCanBeKeptIsNotWrittenOver) {
  MakeAccount("anna", "pw");
  WriteFileBytes(UserDataPath(), "damaged, and the disk is full");
  FaultyFileSystem files;
  files.failWritesAfter = 0;
  platform::ScopedServices faulty(&files, nullptr);
  TUserList users;
  EXPECT_FALSE(users.LoadData(UserDataPath()));
  EXPECT_EQ(users.LoadFailure(), TLoadFailure::Unreadable);
  EXPECT_TRUE(Contains(users.LoadErrorText(), "No copy of it could be kept")) << users.LoadErrorText();
}

TEST_F(DataSafetyTest, AFileOfAnotherTableIsDamagedAndKept) {
  MakeAccount("anna", "pw");
  const std::string entries = ReadFileBytes(FileDataPath());
  WriteFileBytes(UserDataPath(), entries); // "DataFile.cds" copied over "UserData.cds"
  TUserList users;
  EXPECT_FALSE(users.LoadData(UserDataPath()));
  EXPECT_EQ(users.LoadFailure(), TLoadFailure::Damaged);
  EXPECT_EQ(users.LoadErrorText(), "Unable to read " + UserDataPath() +
                                       ": the file holds another table, not the one expected here. A copy of it was "
                                       "kept as " +
                                       UserDataPath() + ".damaged.");
  EXPECT_EQ(ReadFileBytes(UserDataPath() + ".damaged"), entries);
  EXPECT_FALSE(users.DataSet().Active()) << "no field look-up on the wrong table";

  // A sealed book holding the other book's table is damaged too.
  WriteFileBytes(PwdTypePath(), ReadFileBytes(PwdFilePath()));
  const std::string message = ErrorOf([this] { OpenBook(); });
  EXPECT_EQ(message.rfind("Unable to read " + PwdTypePath() + ": the password book is damaged.", 0), 0u) << message;
  EXPECT_FALSE(PubList->DataSet().Active());
}

// --- limits ------------------------------------------------------------------------------

TEST_F(DataSafetyTest, AHugeFileIsRefusedUnreadAndMovedAside) {
  MakeAccount("anna", "pw");
  // A file past the limit, made without writing it (sparse where the file system can).
  const std::string path = UserDataPath();
  std::filesystem::resize_file(NativeName(path), kMaxTableFileSize + 1);
  TUserList users;
  EXPECT_FALSE(users.LoadData(path));
  EXPECT_EQ(users.LoadFailure(), TLoadFailure::Damaged);
  EXPECT_TRUE(Contains(users.LoadErrorText(), "larger than 64 MB")) << users.LoadErrorText();
  EXPECT_TRUE(Contains(users.LoadErrorText(), "moved aside as " + path + ".damaged")) << users.LoadErrorText();
  EXPECT_FALSE(PathExists(path)) << "the name is free for a new table";
  // A book past the limit is refused with a message, before it is read.
  std::filesystem::resize_file(NativeName(PwdTypePath()), kMaxTableFileSize + 1);
  EXPECT_TRUE(Contains(ErrorOf([this] { OpenBook(); }), "larger than 64 MB"));
}

TEST_F(DataSafetyTest, DamagedCopiesAreFewAndNotRepeated) {
  const std::string path = folder / "UserData.cds";
  platform::IFileSystem& files = platform::Files();
  // The same damage seen at every start is kept once.
  WriteFileBytes(path, "the same damage");
  for (int start = 0; start < 4; ++start) EXPECT_EQ(platform::KeepDamagedCopy(files, path), path + ".damaged");
  // Different damage fills the names up to the limit; then the oldest copy gives way.
  for (int n = 2; n <= platform::kMaxDamagedCopies + 2; ++n) {
    WriteFileBytes(path, "damage " + std::to_string(n));
    platform::KeepDamagedCopy(files, path);
  }
  std::vector<std::string> expected{"UserData.cds"};
  for (int n = 1; n <= platform::kMaxDamagedCopies; ++n)
    expected.push_back("UserData.cds.damaged" + (n > 1 ? std::to_string(n) : std::string()));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderEntries(folder.Path()), expected);
  EXPECT_EQ(ReadFileBytes(path + ".damaged" + std::to_string(platform::kMaxDamagedCopies)),
            "damage " + std::to_string(platform::kMaxDamagedCopies + 2))
      << "the newest copy is the last";
  EXPECT_EQ(ReadFileBytes(path + ".damaged"), "damage 3") << "the two oldest gave way";
  // A copy the user deleted leaves a gap: the copies close it and the newest stays last.
  files.Remove(path + ".damaged2");
  WriteFileBytes(path, "damage 8");
  EXPECT_EQ(platform::KeepDamagedCopy(files, path), path + ".damaged5");
  EXPECT_EQ(ReadFileBytes(path + ".damaged4"), "damage 7");
  EXPECT_EQ(ReadFileBytes(path + ".damaged"), "damage 3") << "nothing else gave way";
  WriteFileBytes(path, "damage 9");
  platform::KeepDamagedCopy(files, path);
  EXPECT_FALSE(PathExists(path + ".damaged") && ReadFileBytes(path + ".damaged") == "damage 3") << "now the oldest goes";
  EXPECT_EQ(ReadFileBytes(path + ".damaged5"), "damage 9");
  // A folder of a copy's name is not ours: it is passed over, never moved.
  const std::string other = folder / "DataFile.cds";
  std::filesystem::create_directories(NativeName(other + ".damaged"));
  WriteFileBytes(other, "damaged entries");
  EXPECT_EQ(platform::KeepDamagedCopy(files, other), other + ".damaged2");
  EXPECT_TRUE(files.DirectoryExists(other + ".damaged"));
}

// --- saves that fail -----------------------------------------------------------------------

TEST_F(DataSafetyTest, AFailedSaveSaysWhichFileAndWhy) {
  MakeAccount("anna", "pw");
  const std::string entries = ReadFileBytes(FileDataPath());
  FileList->AddCatalog(nullptr, "New");
  FaultyFileSystem files;
  files.failWritesAfter = 10;
  platform::ScopedServices faulty(&files, nullptr);
  EXPECT_FALSE(SaveFileData());
  EXPECT_EQ(FileList->SaveErrorText(),
            "Unable to write to " + FileDataPath() + ": There is not enough space on the disk.");
  EXPECT_FALSE(Contains(FileList->SaveErrorText(), ".~")) << "the temporary file is not what the user knows";
  EXPECT_EQ(ReadFileBytes(FileDataPath()), entries);
  files.failWritesAfter = SIZE_MAX;
  EXPECT_TRUE(SaveFileData()) << "a retry once there is room";
  EXPECT_EQ(FileList->SaveErrorText(), "");
}

TEST_F(DataSafetyTest, TheAccountTableIsSavedWhenTheAccountFolderCannotBeMade) {
  TDM dm;
  UserList->AddUser("anna", "pw");
  LogIn("anna", "pw");
  FaultyFileSystem files;
  files.failCreateDir = true;
  platform::ScopedServices faulty(&files, nullptr);
  EXPECT_FALSE(SaveUserData()) << "the folder failure is reported";
  EXPECT_EQ(UserList->SaveErrorText(), "Save faile, Can not create the directory! (" + UserFolder() + ")");
  TUserList again;
  ASSERT_TRUE(again.LoadData(UserDataPath())) << "but the account table was written";
  EXPECT_TRUE(again.UserExists("anna"));
  FileList = std::make_unique<TFileList>(&tree);
  FileList->CreateTable();
  EXPECT_FALSE(SaveFileData());
  EXPECT_TRUE(Contains(FileList->SaveErrorText(), FileDataPath())) << FileList->SaveErrorText();
  EXPECT_TRUE(Contains(FileList->SaveErrorText(), "Save faile, Can not create the directory!"));
}

// --- the password change -------------------------------------------------------------------

TEST_F(DataSafetyTest, APasswordChangeIsAllOrNothingAtEveryStep) {
  // Each write of a backup or a new file fails in turn, then each replace.
  struct Fault {
    int write;
    int replace;
  };
  std::vector<Fault> faults;
  for (int n = 1; n <= 6; ++n) faults.push_back({n, 0});
  for (int n = 1; n <= 4; ++n) faults.push_back({0, n}); // the journal, then the three files
  for (const Fault& fault : faults) {
    TempFolder own;
    AppPath = own.Path();
    UserList.reset();
    MakeAccount("anna", "old");
    PubList.reset(); // not opened in this run: the books are resealed from the files
    PubData.reset();
    FaultyFileSystem files;
    files.failReplaceNumber = fault.replace;
    files.failWriteNumber = fault.write;
    {
      platform::ScopedServices faulty(&files, nullptr);
      const std::string message = ErrorOf([] { ChangeAccountPassword("new"); });
      EXPECT_EQ(message.rfind("The password was not changed: ", 0), 0u) << message;
    }
    SCOPED_TRACE("write " + std::to_string(fault.write) + ", replace " + std::to_string(fault.replace));
    EXPECT_EQ(CurUserPwd, "old");
    EXPECT_TRUE(UserList->CheckUser("anna", "old"));
    ExpectEverythingOpensWith("old");
    const std::vector<std::string> left = FolderEntries(UserFolder());
    EXPECT_EQ(left, (std::vector<std::string>{"DataFile.cds", "PwdFile.cds", "PwdType.cds"})) << "no files left over";
    EXPECT_EQ(FolderEntries(AppPath), (std::vector<std::string>{"UserData.cds", "anna"}));
    // And the change goes through once the disk lets it.
    ChangeAccountPassword("new");
    ExpectEverythingOpensWith("new");
  }
}

TEST_F(DataSafetyTest, AnOldFileThatCannotBePutBackIsKeptAndTheAccountRewritten) {
  MakeAccount("anna", "old");
  PubList.reset();
  PubData.reset();
  const std::string accounts = ReadFileBytes(UserDataPath());
  FaultyFileSystem files;
  files.failReplaceNumber = 3;     // (after the journal and the account table) the first book does not go in
  files.alsoFailReplaceNumber = 4; // and the old account table does not go back
  std::string message;
  {
    platform::ScopedServices faulty(&files, nullptr);
    message = ErrorOf([] { ChangeAccountPassword("new"); });
  }
  EXPECT_TRUE(Contains(message, "The old content of " + UserDataPath() + " could not be put back; it is kept in "))
      << message;
  const std::string kept = message.substr(message.rfind(" in ") + 4, message.size() - message.rfind(" in ") - 5);
  EXPECT_EQ(ReadFileBytes(kept), accounts) << "the backup is not removed";
  EXPECT_EQ(CurUserPwd, "old");
  ExpectEverythingOpensWith("old"); // the account table was written again with the old password
}

TEST_F(DataSafetyTest, APasswordChangeCutShortByAKillIsFinishedAtTheNextStart) {
  // Killed before the first, between the first and the second, and before the last replace.
  for (int kill = 2; kill <= 4; ++kill) {
    TempFolder own;
    AppPath = own.Path();
    UserList.reset();
    MakeAccount("anna", "old");
    FaultyFileSystem files;
    files.killAtReplace = kill; // the journal's own replace is the first
    {
      platform::ScopedServices faulty(&files, nullptr);
      EXPECT_THROW(ChangeAccountPassword("new"), TKilled) << kill;
    }
    EXPECT_TRUE(PathExists(PasswordChangeJournalPath())) << kill;
    // The next start.
    UserList.reset();
    PubList.reset();
    PubData.reset();
    TDM started;
    CurUserPwd = "new";
    SCOPED_TRACE("killed at replace " + std::to_string(kill));
    EXPECT_TRUE(UserList->CheckUser("anna", "new"));
    ExpectEverythingOpensWith("new");
    EXPECT_EQ(FolderEntries(AppPath), (std::vector<std::string>{"UserData.cds", "anna"})) << "journal and backups gone";
    EXPECT_EQ(FolderEntries(UserFolder()), (std::vector<std::string>{"DataFile.cds", "PwdFile.cds", "PwdType.cds"}));
  }
}

TEST_F(DataSafetyTest, AFailedAccountSaveLeavesTheBooksSealedForTheOldPassword) {
  MakeAccount("anna", "old");
  const std::string type = ReadFileBytes(PwdTypePath());
  FaultyFileSystem files;
  files.failReplaceNumber = 2; // the account table is replaced first, after the journal
  platform::ScopedServices faulty(&files, nullptr);
  EXPECT_THROW(ChangeAccountPassword("new"), EStoreError);
  EXPECT_EQ(ReadFileBytes(PwdTypePath()), type);
  EXPECT_EQ(CurUserPwd, "old");
}

// --- two writers ----------------------------------------------------------------------------

TEST_F(DataSafetyTest, TwoWritersNeverTearEachOthersFile) {
  const std::string path = folder / "DataFile.cds";
  const std::string first(40000, 'a'), second(60000, 'b');
  WriteFileBytes(path, first);
  EXPECT_NE(platform::AtomicTempName(path), platform::AtomicTempName(path)) << "a name of its own for every write";
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 60; ++i) {
      try {
        platform::WriteFileAtomically(platform::SystemFiles(), path, bytes);
      } catch (const EFileError&) {
        ++failures; // the other writer held the target at that moment: the old file stays whole
      }
    }
  };
  std::thread a(writer, first), b(writer, second);
  int reads = 0;
  std::thread reader([&] {
    while (!done) {
      try {
        const std::string seen = platform::SystemFiles().ReadAll(path);
        EXPECT_TRUE(seen == first || seen == second) << "a torn file of " << seen.size() << " bytes";
        ++reads;
      } catch (const EFileError&) {
        // being replaced at this moment
      }
    }
  });
  a.join();
  b.join();
  done = true;
  reader.join();
  const std::string last = ReadFileBytes(path);
  EXPECT_TRUE(last == first || last == second);
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"DataFile.cds"}) << "no temporary file left";
  EXPECT_GT(reads, 0);
}

// --- accounts ---------------------------------------------------------------------------------

TEST_F(DataSafetyTest, CodesDifferingOnlyInLetterCaseAreOneAccount) {
  TDM dm;
  ASSERT_TRUE(UserList->AddUser("bob", "pw"));
  EXPECT_EQ(UserList->CodeDifferingInCase("Bob"), "bob");
  EXPECT_EQ(UserList->CodeDifferingInCase("BOB"), "bob");
  EXPECT_EQ(UserList->CodeDifferingInCase("bob"), "") << "the same code is the account itself";
  EXPECT_EQ(UserList->CodeDifferingInCase("bobby"), "");
  EXPECT_FALSE(UserList->AddUser("Bob", "other"));
  ASSERT_TRUE(UserList->AddUser("\xC9lise", "pw")); // ANSI letters fold as the file system folds them
  EXPECT_FALSE(UserList->AddUser("\xE9lise", "pw"));
  // Existing accounts of that kind still log in exactly as they are.
  UserList->DataSet().InsertRecord({std::string("BOB"), std::string("old")});
  EXPECT_TRUE(UserList->CheckUser("BOB", "old"));
  EXPECT_FALSE(UserList->CheckUser("Bob", "old"));
}
