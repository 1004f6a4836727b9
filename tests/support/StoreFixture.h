#pragma once
// A program folder of its own for each test, with the data module's
// values reset before and after.
#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/TestDoubles.h"
#include "store/uDM.h"

inline void ResetDataModule() {
  AppPath.clear();
  CurUserCode.clear();
  CurUserPwd.clear();
  UserList.reset();
  FileList.reset();
  PubList.reset();
  PubData.reset();
}

class StoreTest : public ::testing::Test {
protected:
  StoreTest() : services_(nullptr, &shell) {
    ResetDataModule();
    AppPath = folder.Path();
  }
  ~StoreTest() override { ResetDataModule(); }

  // Logs in as an account, as the login dialog leaves the values.
  void LogIn(const std::string& code, const std::string& pwd) {
    CurUserCode = code;
    CurUserPwd = pwd;
  }
  std::string UserPath(const std::string& name) const { return UserFolder() + "\\" + name; }

  TempFolder folder;
  RecordingShell shell;

private:
  platform::ScopedServices services_;
};
