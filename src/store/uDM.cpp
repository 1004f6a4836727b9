#include "store/uDM.h"

#include "platform/AtomicFile.h"
#include "platform/Services.h"
#include "store/AMD5.h"
#include "store/Compression.h"

#include <vector>

std::string AppPath;
std::string CurUserCode;
std::string CurUserPwd;

std::unique_ptr<TUserList> UserList;
std::unique_ptr<TFileList> FileList;
std::unique_ptr<TPubList> PubList;
std::unique_ptr<TPubData> PubData;

namespace {

constexpr std::size_t kDigestSize = 32;

std::string InvalidFile(const std::string& path) { return "invalid File:" + path; }

// Reads one password file into its table; the table stays untouched when
// the file fails its checks.
void LoadBookFile(const std::string& path, TTableObject* table,
                  bool (*load)(TTableObject&, TMemoryStream&)) {
  if (!table) return;
  TMemoryStream stream;
  OpenPasswordBook(path, CurUserCode, CurUserPwd, stream);
  const bool hadContent = stream.Size() > 0;
  const bool loaded = load(*table, stream);
  if (hadContent && (!loaded || stream.Position() != stream.Size() - kDigestSize)) {
    table->DataSet().Close();
    std::string message = "Unable to read " + path + ": the password book is damaged.";
    try {
      message += " A copy of it was kept as " + platform::KeepDamagedCopy(platform::Files(), path) + ".";
    } catch (const std::exception&) {
    }
    throw EStoreError(message);
  }
}

void WriteBookFile(const std::string& path, TTableObject* table, bool (*save)(TTableObject&, TMemoryStream&)) {
  // A table that is not open (its file failed to load) is not written over its file.
  if (!table || !table->DataSet().Active()) return;
  TMemoryStream image;
  if (!save(*table, image)) throw EStoreError("Unable to write to " + path);
  platform::WriteFileAtomically(platform::Files(), path, SealPasswordBook(CurUserCode, image.Bytes(), CurUserPwd));
}

bool LoadPubList(TTableObject& table, TMemoryStream& stream) { return static_cast<TPubList&>(table).LoadData(stream); }
bool LoadPubData(TTableObject& table, TMemoryStream& stream) { return static_cast<TPubData&>(table).LoadData(stream); }
bool SavePubList(TTableObject& table, TMemoryStream& stream) { return static_cast<TPubList&>(table).SaveData(stream); }
bool SavePubData(TTableObject& table, TMemoryStream& stream) { return static_cast<TPubData&>(table).SaveData(stream); }

} // namespace

void TDM::DataModuleCreate(TDM*) {
  // A password change cut short (the process killed between its files) is
  // finished first, so that the account and its books agree again.
  try {
    platform::FinishInterruptedReplace(platform::Files(), PasswordChangeJournalPath());
  } catch (const std::exception&) {
    // tried again at the next start; the files are as the change left them
  }
  UserList = std::make_unique<TUserList>();
  LoadUserData();
}

std::string PasswordChangeJournalPath() { return AppPath + "UserData.cds.~change"; }

std::string UserFolder() { return AppPath + CurUserCode; }
std::string UserDataPath() { return AppPath + "UserData.cds"; }
std::string FileDataPath() { return UserFolder() + "\\DataFile.cds"; }
std::string PwdTypePath() { return UserFolder() + "\\PwdType.cds"; }
std::string PwdFilePath() { return UserFolder() + "\\PwdFile.cds"; }

void EnsureUserFolder() {
  platform::IFileSystem& files = platform::Files();
  const std::string folder = UserFolder();
  if (files.DirectoryExists(folder)) return;
  if (!files.CreateDir(folder)) throw EStoreError("Save faile, Can not create the directory!");
}

void LoadUserData() {
  if (UserList) UserList->LoadData(UserDataPath());
}

bool SaveUserData() { return !UserList || UserList->SaveData(UserDataPath()); }

void LoadFileData() {
  if (FileList) FileList->LoadData(FileDataPath());
}

bool SaveFileData() { return !FileList || FileList->SaveData(FileDataPath()); }

void OpenPasswordBook(const std::string& path, const std::string& userCode, const std::string& password,
                      TMemoryStream& stream) {
  stream.Clear();
  platform::IFileSystem& files = platform::Files();
  if (!files.FileExists(path)) return;
  try {
    stream.Assign(files.ReadAllAtMost(path, kMaxTableFileSize));
  } catch (const EFileError& error) {
    throw EStoreError("Unable to read " + path + ": " + AsSentence(error.Reason().empty() ? error.what() : error.Reason()));
  }
  try {
    DecompressStream(stream);
  } catch (const ECompressionError& error) {
    stream.Clear();
    std::string message = "Unable to read " + path + ": " + error.what() + ".";
    try {
      message += " A copy of it was kept as " + platform::KeepDamagedCopy(files, path) + ".";
    } catch (const std::exception&) {
    }
    throw EStoreError(message);
  }
  if (stream.Size() == 0) return;
  const std::string& content = stream.Bytes();
  if (content.size() < 2 * kDigestSize || content.compare(0, kDigestSize, sMD5::MD5Hex(userCode)) != 0 ||
      content.compare(content.size() - kDigestSize, kDigestSize, sMD5::MD5Hex(password)) != 0) {
    stream.Clear();
    throw EStoreError(InvalidFile(path));
  }
  stream.SetPosition(kDigestSize);
}

std::string SealPasswordBook(const std::string& userCode, const std::string& tableImage, const std::string& password) {
  TMemoryStream sealed;
  sealed.Write(sMD5::MD5Hex(userCode));
  sealed.Write(tableImage);
  sealed.Write(sMD5::MD5Hex(password));
  CompressStream(sealed, 0);
  return sealed.Bytes();
}

void LoadPwdData() {
  LoadBookFile(PwdTypePath(), PubList.get(), LoadPubList);
  LoadBookFile(PwdFilePath(), PubData.get(), LoadPubData);
}

void SavePwdData() {
  EnsureUserFolder();
  WriteBookFile(PwdTypePath(), PubList.get(), SavePubList);
  WriteBookFile(PwdFilePath(), PubData.get(), SavePubData);
}

namespace {

// The file content of a book after a password change: from its loaded
// table when the password manager has it, else from the file itself,
// opened with the old password. Empty when there is no book to write.
std::string ResealedBook(const std::string& path, TTableObject* table, bool (*save)(TTableObject&, TMemoryStream&),
                         const std::string& oldPwd, const std::string& newPwd) {
  if (table && table->DataSet().Active()) {
    TMemoryStream image;
    if (!save(*table, image)) throw EStoreError("Unable to write to " + path);
    return SealPasswordBook(CurUserCode, image.Bytes(), newPwd);
  }
  TMemoryStream book;
  OpenPasswordBook(path, CurUserCode, oldPwd, book);
  const std::string& content = book.Bytes();
  if (content.empty()) return {};
  return SealPasswordBook(CurUserCode, content.substr(kDigestSize, content.size() - 2 * kDigestSize), newPwd);
}

} // namespace

void ChangeAccountPassword(const std::string& newPwd) {
  const std::string oldPwd = CurUserPwd;
  if (!UserList || !UserList->ChangePassword(CurUserCode, oldPwd, newPwd))
    throw EStoreError("The password was not changed: the account was not found.");
  try {
    std::vector<platform::FileContent> files;
    TMemoryStream accounts;
    UserList->DataSet().SaveToStream(accounts);
    files.push_back({UserDataPath(), accounts.Bytes()});
    const std::string books[2] = {PwdTypePath(), PwdFilePath()};
    const std::string sealed[2] = {ResealedBook(books[0], PubList.get(), SavePubList, oldPwd, newPwd),
                                   ResealedBook(books[1], PubData.get(), SavePubData, oldPwd, newPwd)};
    if (!sealed[0].empty() || !sealed[1].empty()) EnsureUserFolder();
    for (int i = 0; i < 2; ++i)
      if (!sealed[i].empty()) files.push_back({books[i], sealed[i]});
    platform::ReplaceFilesTogether(platform::Files(), files, PasswordChangeJournalPath());
  } catch (const std::exception& error) {
    UserList->ChangePassword(CurUserCode, newPwd, oldPwd);
    // Should the old account table not have gone back in place, the table
    // is written again with the old password, to match the books.
    SaveUserData();
    throw EStoreError("The password was not changed: " + AsSentence(error.what()));
  }
  CurUserPwd = newPwd;
}

void CloseData() {
  SaveUserData();
  SaveFileData();
  UserList.reset();
  FileList.reset();
  PubList.reset();
  PubData.reset();
}
