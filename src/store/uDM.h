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

void EnsureUserFolder();
void LoadUserData();
void SaveUserData();
void LoadFileData();
void SaveFileData();
void LoadPwdData();
void SavePwdData();
void CloseData();

// After CurUserPwd has changed from oldPwd: rewrites both password files
// for the new password, from the loaded tables when the password manager
// has them, else by opening the files with the old password.
void RekeyPwdData(const std::string& oldPwd);

// Opens a password-book file as the password manager does: inflates it,
// checks that it belongs to the user code and password, and leaves the
// stream at the table image. An absent or empty file leaves the stream
// empty. Raises "invalid File:" and the path on a mismatch.
void OpenPasswordBook(const std::string& path, const std::string& userCode, const std::string& password,
                      TMemoryStream& stream);
// The file content for a table image: the sealed content, compressed.
std::string SealPasswordBook(const std::string& userCode, const std::string& tableImage, const std::string& password);
