// The real shell and file system, through Win32 (run under Wine in CI).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Services.h"
#include "store/uFun.h"
#include "support/DialogAnswerer.h"
#include "support/TempFolder.h"

TEST(Win32Shell, DeleteToRecycleBinTakesAFileOrAFolderAway) {
  TempFolder folder;
  const std::string file = folder / "bin me.txt";
  const std::string sub = folder / "a folder";
  WriteFileBytes(file, "x");
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  WriteFileBytes(sub + "\\inner.txt", "y");
  {
    DialogAnswerer yes(IDYES); // the shell asks its own confirmation
    DeleteToRecycleBin(file);
    DeleteToRecycleBin(sub);
  }
  EXPECT_FALSE(PathExists(file));
  EXPECT_FALSE(PathExists(sub));
}

TEST(Win32Shell, CopyAndMoveFilesIntoAFolder) {
  TempFolder folder;
  const std::string source = folder / "report.txt";
  const std::string target = folder / "Target";
  WriteFileBytes(source, "content");
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  EXPECT_TRUE(ShellCopyMove(source, target, false));
  EXPECT_EQ(ReadFileBytes(target + "\\report.txt"), "content");
  EXPECT_TRUE(PathExists(source));

  const std::string other = folder / "other.txt";
  WriteFileBytes(other, "moved");
  EXPECT_TRUE(ShellCopyMove(other, target, true));
  EXPECT_EQ(ReadFileBytes(target + "\\other.txt"), "moved");
  EXPECT_FALSE(PathExists(other));
  EXPECT_FALSE(ShellCopyMove(folder / "missing.txt", target, false));
}

TEST(Win32Shell, FilesHaveASmallIconFoldersNone) {
  TempFolder folder;
  const std::string file = folder / "note.txt";
  WriteFileBytes(file, "x");
  const auto icon = GetFileIcon(file);
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(icon->Handle()), &info));
  BITMAP bitmap{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  EXPECT_EQ(GetFileIcon(folder.Path()), nullptr);
  EXPECT_EQ(GetFileIcon(folder / "missing.txt"), nullptr);
}

TEST(Win32Shell, TheDriveListHoldsTheSystemDrive) {
  std::vector<std::string> drives;
  GetDriveList(drives);
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "C:\\");
}

TEST(Win32Files, SharingModesAreHonoured) {
  TempFolder folder;
  const std::string path = folder / "UserData.cds";
  WriteFileBytes(path, "old");
  platform::IFileSystem& files = platform::SystemFiles();
  {
    // Another reader does not stop us from reading.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.ReadAll(path), "old");
    // A file held open without delete sharing cannot be replaced: the old one stays, whole.
    EXPECT_THROW(platform::WriteFileAtomically(files, path, "new"), EFileError);
    CloseHandle(reader);
  }
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_FALSE(PathExists(platform::AtomicTempName(path)));
  {
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_THROW(files.ReadAll(path), EFileError) << "a file locked for writing cannot be read";
    CloseHandle(writer);
  }
  platform::WriteFileAtomically(files, path, "new");
  EXPECT_EQ(ReadFileBytes(path), "new");
}
