// The login dialog and the password dialogs, driven as a person would.
#include <gtest/gtest.h>

#include "app/uBase.h"
#include "framework/win32/Forms.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/SkinnedProgramFolder.h"
#include "support/StoreFixture.h"
#include "support/TestSkins.h"
#include "ui/uChangePwd.h"
#include "ui/uInputPwd.h"
#include "ui/uLogin.h"

namespace {

// Focuses the account field's edit and types into it.
void TypeAccount(HWND login, const std::string& code) {
  auto* dialog = dynamic_cast<TfLogin*>(TWinControl::FromHandle(login));
  HWND edit = GetWindow(dialog->cmbAccount->Handle(), GW_CHILD);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  TypeText(code);
}

class LoginTest : public SkinnedWindowTest {
protected:
  LoginTest() { dm = std::make_unique<TDM>(); }
  void Answer(const std::string& windowClass, std::function<void(HWND)> action) {
    driver.When(windowClass, std::move(action));
  }
  void ExpectMessage(const std::string& text, WORD key = VK_RETURN) {
    driver.When("TMessageForm", [this, text, key](HWND box) {
      messages.push_back(MessageFormText(box));
      PressKey(key);
    });
    expectedMessages.push_back(text);
  }
  TApplication app;
  ModalDriver driver;
  std::unique_ptr<TDM> dm;
  std::vector<std::string> messages, expectedMessages;
};

} // namespace

TEST_F(LoginTest, ANewAccountIsConfirmedGivenAPasswordAndLoggedIn) {
  Answer("TfLogin", [](HWND login) {
    TypeAccount(login, "anna");
    PressKey(VK_RETURN);
  });
  ExpectMessage("the user is not exists, do you want to create it?");
  Answer("TfChangePwd", [](HWND) {
    // The old password stays empty.
    RunSteps({[] { PressKey(VK_TAB); }, [] { TypeText("pw"); }, [] { PressKey(VK_TAB); }, [] { TypeText("pw"); },
              [] { PressKey(VK_RETURN); }});
  });
  EXPECT_TRUE(ShowLoginDialog());
  EXPECT_EQ(messages, expectedMessages);
  EXPECT_EQ(CurUserCode, "anna");
  EXPECT_EQ(CurUserPwd, "pw");
  EXPECT_TRUE(PathExists(UserFolder())) << "the account folder is made at once";
  TUserList saved;
  ASSERT_TRUE(saved.LoadData(UserDataPath())) << "the account table was saved";
  EXPECT_TRUE(saved.CheckUser("anna", "pw"));
  EXPECT_TRUE(PathExists(folder / "config.ini"));
}

TEST_F(LoginTest, AnAccountFolderThatCannotBeMadeIsToldAtOnce) {
  FaultyFileSystem files;
  files.failCreateDir = true;
  platform::ScopedServices faulty(&files, nullptr);
  Answer("TfLogin", [](HWND login) {
    TypeAccount(login, "anna");
    PressKey(VK_RETURN);
  });
  ExpectMessage("the user is not exists, do you want to create it?");
  Answer("TfChangePwd", [](HWND) {
    RunSteps({[] { PressKey(VK_TAB); }, [] { TypeText("pw"); }, [] { PressKey(VK_TAB); }, [] { TypeText("pw"); },
              [] { PressKey(VK_RETURN); }});
  });
  ExpectMessage("Save faile, Can not create the directory! (" + folder.Path() + "anna)");
  EXPECT_TRUE(ShowLoginDialog());
  EXPECT_EQ(messages, expectedMessages);
  TUserList saved;
  ASSERT_TRUE(saved.LoadData(UserDataPath())) << "the account itself is saved";
  EXPECT_TRUE(saved.CheckUser("anna", "pw"));
}

TEST_F(LoginTest, AWrongPasswordKeepsWhatWasTyped) {
  UserList->AddUser("bob", "secret");
  std::string codeAfter, pwdAfter;
  Answer("TfLogin", [](HWND) {
    TypeText("wrong");
    PressKey(VK_RETURN);
  });
  ExpectMessage("invalid UserCode or User Password!");
  Answer("TfLogin", [&](HWND login) { // active again after the message
    auto* dialog = dynamic_cast<TfLogin*>(TWinControl::FromHandle(login));
    codeAfter = dialog->cmbAccount->Text();
    pwdAfter = dialog->edtPwd->Text();
    SendMessageA(dialog->edtPwd->Handle(), EM_SETSEL, 0, -1);
    TypeText("secret");
    PressKey(VK_RETURN);
  });
  EXPECT_TRUE(ShowLoginDialog());
  EXPECT_EQ(codeAfter, "bob") << "the first account is chosen";
  EXPECT_EQ(pwdAfter, "wrong");
  EXPECT_EQ(messages, expectedMessages);
  EXPECT_EQ(CurUserPwd, "secret");
}

TEST_F(LoginTest, ACancelledCreationAddsNothing) {
  Answer("TfLogin", [](HWND login) {
    TypeAccount(login, "carol");
    PressKey(VK_RETURN);
  });
  ExpectMessage("the user is not exists, do you want to create it?");
  Answer("TfChangePwd", [](HWND) { PressKey(VK_ESCAPE); });
  ExpectMessage("invalid UserCode or User Password!");
  Answer("TfLogin", [](HWND) { PressKey(VK_ESCAPE); });
  EXPECT_FALSE(ShowLoginDialog());
  EXPECT_EQ(messages, expectedMessages);
  EXPECT_FALSE(UserList->UserExists("carol"));
  EXPECT_FALSE(PathExists(UserDataPath())) << "nothing was saved";
}

TEST_F(LoginTest, ANewCodeDifferingOnlyInCaseIsRefusedBeforeAnythingIsWritten) {
  UserList->AddUser("Anna", "pw");
  UserList->SaveData(UserDataPath());
  const std::string accounts = ReadFileBytes(UserDataPath());
  Answer("TfLogin", [](HWND login) {
    TypeAccount(login, "anna");
    PressKey(VK_RETURN);
  });
  ExpectMessage("The account \"Anna\" already exists. A new account's user code must differ from it in more than "
                "letter case.");
  Answer("TfLogin", [](HWND) { PressKey(VK_ESCAPE); });
  EXPECT_FALSE(ShowLoginDialog());
  EXPECT_EQ(messages, expectedMessages);
  EXPECT_FALSE(UserList->UserExists("anna"));
  EXPECT_EQ(ReadFileBytes(UserDataPath()), accounts);
  EXPECT_FALSE(PathExists(folder / "anna"));
}

TEST_F(LoginTest, AStoredCodeThatLeavesTheProgramFolderIsRefused) {
  // Codes the dialog would never make, edited into the account table.
  for (const std::string code : {"..\\outside", "C:\\elsewhere", "nul"}) {
    TApplication fresh;
    ModalDriver local;
    std::vector<std::string> seen;
    UserList->DataSet().InsertRecord({code, std::string("pw")});
    local.When("TfLogin", [code](HWND login) {
      TypeAccount(login, code);
      auto* dialog = dynamic_cast<TfLogin*>(TWinControl::FromHandle(login));
      SetFocus(dialog->edtPwd->Handle());
      TypeText("pw");
      PressKey(VK_RETURN);
    });
    local.When("TMessageForm", [&seen](HWND box) {
      seen.push_back(MessageFormText(box));
      PressKey(VK_RETURN);
    });
    local.When("TfLogin", [](HWND) { PressKey(VK_ESCAPE); });
    EXPECT_FALSE(ShowLoginDialog()) << code;
    ASSERT_EQ(seen.size(), 1u) << code;
    EXPECT_EQ(seen[0].rfind("The account \"" + code + "\" can not be used. ", 0), 0u) << seen[0];
    EXPECT_NE(seen[0].find("user code"), std::string::npos) << seen[0];
  }
  // An ordinary account goes on logging in.
  UserList->AddUser("bob", "pw");
  TApplication fresh;
  ModalDriver local;
  local.When("TfLogin", [](HWND login) {
    TypeAccount(login, "bob");
    auto* dialog = dynamic_cast<TfLogin*>(TWinControl::FromHandle(login));
    SetFocus(dialog->edtPwd->Handle());
    TypeText("pw");
    PressKey(VK_RETURN);
  });
  EXPECT_TRUE(ShowLoginDialog());
}

TEST_F(LoginTest, AnAccountTableHeldByAnotherProgramEndsTheProgramUnwritten) {
  UserList->AddUser("bob", "pw");
  UserList->SaveData(UserDataPath());
  const std::string accounts = ReadFileBytes(UserDataPath());
  HANDLE holder = CreateFileA(UserDataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  UserList.reset();
  TDM started; // as at start-up
  CloseHandle(holder);
  ExpectMessage("");
  EXPECT_FALSE(AccountTableReady());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Unable to read " + UserDataPath() + ": ", 0), 0u) << messages[0];
  EXPECT_NE(messages[0].find(kEndsUnwritten), std::string::npos);
  SaveUserData(); // whatever runs later writes nothing over it
  EXPECT_EQ(ReadFileBytes(UserDataPath()), accounts);
  EXPECT_FALSE(PathExists(UserDataPath() + ".damaged"));

  // A damaged one is kept, told, and replaced by an empty table.
  WriteFileBytes(UserDataPath(), "damaged");
  UserList.reset();
  TDM again;
  messages.clear();
  ExpectMessage("");
  EXPECT_TRUE(AccountTableReady());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(".damaged"), std::string::npos) << messages[0];
  EXPECT_TRUE(UserList->DataSet().Active());
}

TEST_F(LoginTest, EscapeCancelAndTheCloseBoxEndTheProgram) {
  UserList->AddUser("bob", "secret");
  for (int way = 0; way < 3; ++way) {
    TApplication fresh; // each way ends the application
    ModalDriver local;
    local.When("TfLogin", [way](HWND login) {
      auto* dialog = dynamic_cast<TfLogin*>(TWinControl::FromHandle(login));
      TypeText("secret"); // even a right password does not matter
      if (way == 0) PressKey(VK_ESCAPE);
      if (way == 1) ClickOn(dialog->btnCancel->Handle());
      if (way == 2) CloseByCloseBox(login);
    });
    EXPECT_FALSE(ShowLoginDialog()) << way;
    EXPECT_FALSE(PathExists(UserDataPath()));
  }
}

TEST_F(LoginTest, CodesThatCannotNameAFolderAreRefusedFirst) {
  Answer("TfLogin", [](HWND login) {
    TypeAccount(login, "..\\evil");
    PressKey(VK_RETURN);
  });
  ExpectMessage("A user code can not contain any of the characters \\ / : * ? \" < > |");
  Answer("TfLogin", [](HWND) { PressKey(VK_ESCAPE); });
  EXPECT_FALSE(ShowLoginDialog());
  EXPECT_EQ(messages, expectedMessages);
  EXPECT_EQ(UserList->DataSet().RecordCount(), 0);
  EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Skins", "config.ini"}));
}

TEST_F(LoginTest, TheFieldsHoldWhatTheTableKeeps) {
  Answer("TfLogin", [](HWND login) {
    auto* dialog = dynamic_cast<TfLogin*>(TWinControl::FromHandle(login));
    TypeAccount(login, std::string(25, 'c'));
    SetFocus(dialog->edtPwd->Handle());
    TypeText(std::string(40, 'p'));
    PostMessageA(login, WM_NULL, 0, 0);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
      KillTimer(nullptr, timer);
      PressKey(VK_ESCAPE);
    });
  });
  ShowLoginDialog();
  EXPECT_EQ(CurUserCode.size(), 20u);
  EXPECT_EQ(CurUserPwd.size(), 32u);
}

TEST_F(LoginTest, TheChangePasswordChecks) {
  struct Case {
    const char *old, *fresh, *again, *message;
  };
  const Case cases[] = {{"bad", "x", "y", "Password is Error!"},      // both wrong: only the first
                        {"old", "new", "nex", "New Password is Error!"},
                        {"old", "new", "new", nullptr}};
  for (const Case& c : cases) {
    messages.clear();
    Answer("TfChangePwd", [c](HWND) {
      RunSteps({[c] { TypeText(c.old); }, [] { PressKey(VK_TAB); }, [c] { TypeText(c.fresh); },
                [] { PressKey(VK_TAB); }, [c] { TypeText(c.again); }, [] { PressKey(VK_RETURN); }});
    });
    if (c.message) {
      ExpectMessage(c.message);
      Answer("TfChangePwd", [](HWND) { PressKey(VK_ESCAPE); });
    }
    std::string newPwd;
    const bool confirmed = ShowChangePwdDialog("old", newPwd);
    EXPECT_EQ(confirmed, c.message == nullptr) << c.fresh;
    EXPECT_EQ(newPwd, c.fresh);
    if (c.message) {
      EXPECT_EQ(messages, (std::vector<std::string>{c.message}));
    }
  }
  Answer("TfInputPwd", [](HWND) {
    TypeText("typed");
    PressKey(VK_RETURN);
  });
  std::string typed;
  EXPECT_TRUE(ShowInputPwdDialog(typed));
  EXPECT_EQ(typed, "typed");
}

TEST_F(LoginTest, TheBaseFormReadsAndWritesTheSettingsFile) {
  TfBase form(&app);
  form.Loaded();
  EXPECT_EQ(form.SkinFile(), AppPath + "Skins\\Deep\\DeepCyan.ssk");
  const std::string ini = ReadFileBytes(folder / "config.ini");
  EXPECT_NE(ini.find("[Form]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("skinfile=Skins\\Deep\\DeepCyan.ssk"), std::string::npos) << ini;
  WriteFileBytes(folder / "config.ini", "[Form]\r\nskinfile=C:\\elsewhere.ssk\r\n");
  TfBase second(&app);
  second.Loaded();
  EXPECT_EQ(second.SkinFile(), AppPath + "C:\\elsewhere.ssk") << "always joined to the program folder";
}

TEST_F(LoginTest, TheBaseFormSkinsItselfFromTheSettingsFile) {
  TfBase form(&app);
  form.Loaded();
  EXPECT_TRUE(form.SkinEngine1->InEffect());
  EXPECT_EQ(SendMessageA(form.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(form.SkinEngine1->DisabledTag, 9999);
  EXPECT_TRUE(form.SkinEngine1->SkinAllForms());
}

TEST_F(LoginTest, ADamagedSkinIsSaidOnceAndTheWindowGoesOnWithItsOwnLook) {
  WriteFileBytes(folder / "config.ini", "[Form]\r\nskinfile=Broken.ssk\r\n");
  WriteFileBytes(folder / "Broken.ssk", "SK, and then nothing a skin is made of");
  std::string said;
  driver.When("#32770", [&said](HWND box) {
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    said = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  TfBase form(&app);
  form.Loaded();
  EXPECT_EQ(said, "Failed to read skin file!");
  EXPECT_NE(form.Handle(), nullptr);
  EXPECT_FALSE(form.SkinEngine1->Ready());
  EXPECT_EQ(SendMessageA(form.Handle(), WM_SKIN_QUERY, 0, 0), 0) << "unskinned";
  EXPECT_NE(ReadFileBytes(folder / "config.ini").find("skinfile=Broken.ssk"), std::string::npos)
      << "the setting is kept as the user wrote it";
}

TEST_F(LoginTest, TabAndShiftTabMoveThroughTheAccountFieldWithRealKeys) {
  UserList->AddUser("bob", "secret");
  UserList->AddUser("anna", "pw");
  // The dialog opens in the password field: back to the account, type it,
  // on to the password, type it, log in.
  Answer("TfLogin", [](HWND) {
    RunSteps({[] { RealKey(VK_TAB, {VK_SHIFT}); }, [] { RealType("anna"); }, [] { RealKey(VK_TAB); },
              [] { RealType("pw"); }, [] { RealKey(VK_RETURN); }});
  });
  // Any question would mean the keys went astray: it is answered No and noted.
  driver.When("TMessageForm", [this](HWND box) {
    messages.push_back(MessageFormText(box));
    PressKey(VK_ESCAPE);
  });
  // Keys gone astray leave the dialog open: it is closed after a while.
  const UINT_PTR guard = SetTimer(nullptr, 0, 4000, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND login = FindWindowA("TfLogin", nullptr)) PostMessageA(login, WM_COMMAND, IDCANCEL, 0);
    if (HWND login = FindWindowA("TfLogin", nullptr)) CloseByCloseBox(login);
  });
  EXPECT_TRUE(ShowLoginDialog());
  KillTimer(nullptr, guard);
  EXPECT_EQ(CurUserCode, "anna") << "Shift+Tab went back to the account field";
  EXPECT_EQ(CurUserPwd, "pw") << "Tab left the account field for the password";
  EXPECT_TRUE(messages.empty()) << messages.front();
}
