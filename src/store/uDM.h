#pragma once
// The data module: the program-wide values, the four table objects and the
// procedures that open and save their files.
#include <memory>
#include <string>

#include "platform/Errors.h"
#include "store/MemoryStream.h"
#include "store/uData.h"

// A data operation the user must hear about; the text is the message.
class EStoreError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};

// Program folder, ending with "\".
extern std::string AppPath;
extern std::string CurUserCode;
extern std::string CurUserPwd;

extern std::unique_ptr<TUserList> UserList;
extern std::unique_ptr<TFileList> FileList;
extern std::unique_ptr<TPubList> PubList;
extern std::unique_ptr<TPubData> PubData;

class TDM {
public:
  TDM() { DataModuleCreate(this); }
  TDM(const TDM&) = delete;
  TDM& operator=(const TDM&) = delete;
  void DataModuleCreate(TDM* sender);
};

// The account folder: AppPath + CurUserCode, no trailing separator.
std::string UserFolder();
std::string UserDataPath();
std::string FileDataPath();
std::string PwdTypePath();
std::string PwdFilePath();

// Where a password change writes down what it is about to replace.
std::string PasswordChangeJournalPath();

void EnsureUserFolder();
void LoadUserData();
// The saves report whether the file was written whole; the table object's
// SaveErrorText says what went wrong.
bool SaveUserData();
void LoadFileData();
bool SaveFileData();
void LoadPwdData();
void SavePwdData();
void CloseData();

// Changes the logged-in account's password from CurUserPwd to newPwd as one
// step: the account table and both password books (from the loaded tables
// when the password manager has them, else from the files, opened with the
// old password) are all written for the new password, or, after any
// failure, the table in memory and every file keep the old one and
// EStoreError says why. CurUserPwd changes only on success.
void ChangeAccountPassword(const std::string& newPwd);

// Opens a password-book file as the password manager does: inflates it,
// checks that it belongs to the user code and password, and leaves the
// stream at the table image. An absent or empty file leaves the stream
// empty. Raises "invalid File:" and the path on a mismatch.
void OpenPasswordBook(const std::string& path, const std::string& userCode, const std::string& password,
                      TMemoryStream& stream);
// The file content for a table image: the sealed content, compressed.
std::string SealPasswordBook(const std::string& userCode, const std::string& tableImage, const std::string& password);
