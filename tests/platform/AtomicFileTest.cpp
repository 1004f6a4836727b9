#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "support/TempFolder.h"
#include "support/TestDoubles.h"

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporary) {
  TempFolder folder;
  const std::string path = folder / "table.cds";
  WriteFileBytes(path, "old content");
  platform::WriteFileAtomically(platform::SystemFiles(), path, std::string("new\0content", 11));
  EXPECT_EQ(ReadFileBytes(path), std::string("new\0content", 11));
  EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"table.cds"}));
}

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFileWhole) {
  TempFolder folder;
  const std::string path = folder / "table.cds";
  WriteFileBytes(path, "the old, complete file");
  for (const std::size_t budget : {std::size_t{0}, std::size_t{5}, std::size_t{999}}) {
    FaultyFileSystem files;
    files.failWritesAfter = budget;
    EXPECT_THROW(platform::WriteFileAtomically(files, path, std::string(1000, 'x')), EFileError);
    EXPECT_EQ(ReadFileBytes(path), "the old, complete file") << "budget " << budget;
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"table.cds"})) << "temporary removed";
  }
  FaultyFileSystem files;
  files.failReplace = true;
  EXPECT_THROW(platform::WriteFileAtomically(files, path, "new"), EFileError);
  EXPECT_EQ(ReadFileBytes(path), "the old, complete file");
  EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"table.cds"}));
}

TEST(WriteFileAtomically, AMissingFolderIsAnError) {
  TempFolder folder;
  EXPECT_THROW(platform::WriteFileAtomically(platform::SystemFiles(), folder / "no\\such\\file", "x"), EFileError);
  EXPECT_THROW(platform::WriteFileAtomically(platform::SystemFiles(), folder / "nofolder\\file", "x"), EFileError);
}

TEST(KeepDamagedCopy, NeverOverwritesAnEarlierCopy) {
  TempFolder folder;
  const std::string path = folder / "UserData.cds";
  WriteFileBytes(path, "first damage");
  EXPECT_EQ(platform::KeepDamagedCopy(platform::SystemFiles(), path), path + ".damaged");
  WriteFileBytes(path, "second damage");
  EXPECT_EQ(platform::KeepDamagedCopy(platform::SystemFiles(), path), path + ".damaged2");
  EXPECT_EQ(ReadFileBytes(path + ".damaged"), "first damage");
  EXPECT_EQ(ReadFileBytes(path + ".damaged2"), "second damage");
  EXPECT_EQ(ReadFileBytes(path), "second damage") << "the original stays";
}

TEST(SystemFiles, ExistenceFoldersAndReading) {
  TempFolder folder;
  platform::IFileSystem& files = platform::SystemFiles();
  const std::string sub = folder / "sub";
  EXPECT_FALSE(files.DirectoryExists(sub));
  EXPECT_TRUE(files.CreateDir(sub));
  EXPECT_FALSE(files.CreateDir(sub)) << "already there";
  EXPECT_FALSE(files.CreateDir(folder / "a\\b")) << "one level only";
  EXPECT_TRUE(files.DirectoryExists(sub));
  EXPECT_FALSE(files.FileExists(sub)) << "a folder is not a file";
  const std::string file = sub + "\\data.bin";
  WriteFileBytes(file, std::string("\0\1\2", 3));
  EXPECT_TRUE(files.FileExists(file));
  EXPECT_FALSE(files.DirectoryExists(file));
  EXPECT_EQ(files.ReadAll(file), std::string("\0\1\2", 3));
  EXPECT_THROW(files.ReadAll(sub + "\\missing"), EFileError);
  EXPECT_TRUE(files.Remove(file));
  EXPECT_FALSE(files.FileExists(file));
}
