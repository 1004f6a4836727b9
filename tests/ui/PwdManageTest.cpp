// The password manager: catalogs, records, command states and the files
// written after each change.
#include <gtest/gtest.h>

#include "support/WindowCount.h"
#include "support/GdiObjectCount.h"

#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "skin/engine/SkinScrollBars.h"
#include "support/SkinnedProgramFolder.h"
#include "support/SkinnerLookup.h"
#include "support/StoreFixture.h"
#include "framework/win32/Clipboard.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "ui/uGenerateOptions.h"
#include "ui/uPWDManage.h"

namespace {

class PwdManageTest : public SkinnedWindowTest {
protected:
  PwdManageTest() {
    dm = std::make_unique<TDM>();
    LogIn("anna", "pw");
    window = new TfPWDManage(&app);
    window->SetUp();
    window->Show();
  }
  ~PwdManageTest() override { delete window; }
  std::string States() {
    std::string states;
    for (TAction* a : {window->actNewType, window->actDelType, window->actNew, window->actEdit, window->actDel,
                       window->actSave, window->actCancel})
      states += a->Enabled() ? '1' : '0';
    return states;
  }
  TTreeNode* AddCatalog(const std::string& name, TTreeNode* under = nullptr) {
    window->PressedNode = under;
    driver.When("TForm", [name](HWND) {
      TypeText(name);
      PressKey(VK_RETURN);
    });
    window->actNewType->Execute();
    return PubList->FindNode(PubList->GetMaxId());
  }
  void AddRecord(const std::string& title) {
    window->actNew->Execute();
    SetWindowTextA(window->DBEdit1->Handle(), title.c_str());
    SendMessageA(window->DBEdit1->Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                 reinterpret_cast<LPARAM>(window->DBEdit1->Handle()));
    window->actSave->Execute();
  }
  std::string BookOf(const std::string& name) {
    TMemoryStream stream;
    OpenPasswordBook(UserPath(name), "anna", "pw", stream);
    TClientDataSet table;
    table.LoadFromStream(stream);
    std::string rows;
    for (table.First(); !table.Eof(); table.Next()) rows += table.Fields(1).AsString() + ";";
    return rows;
  }
  TApplication app;
  ModalDriver driver;
  std::unique_ptr<TDM> dm;
  TfPWDManage* window;
};

} // namespace

TEST_F(PwdManageTest, CatalogsRecordsAndTheirFiles) {
  EXPECT_EQ(States(), "1100000") << "at set-up: only the catalog commands";
  TTreeNode* mail = AddCatalog("Mail");
  EXPECT_EQ(BookOf("PwdType.cds"), "Mail;") << "written at once";
  window->tv->SetSelected(mail);
  EXPECT_EQ(window->CurrentCatalogId, 1);
  EXPECT_EQ(States(), "1111000") << "a catalog selected, no record yet";
  window->actNew->Execute();
  EXPECT_EQ(States(), "0000011") << "after New only Save and Cancel";
  EXPECT_EQ(PubData->DataSet().FieldByName("FTypeId").AsInteger(), 1);
  window->actCancel->Execute();
  AddRecord("Post");
  EXPECT_EQ(States(), "1111100");
  window->actEdit->Execute();
  EXPECT_EQ(PubData->DataSet().State(), TDataSetState::Edit);
  EXPECT_EQ(States(), "0000011") << "while editing only Save and Cancel";
  EXPECT_EQ(GetFocus(), window->DBEdit1->Handle()) << "the focus on the title";
  window->actCancel->Execute();
  EXPECT_EQ(States(), "1111100");
  EXPECT_EQ(BookOf("PwdFile.cds"), "Post;") << "the record is in the file at once";
  EXPECT_EQ(PubData->DataSet().FieldByName("FTypeId").AsInteger(), 1) << "filed under catalog 1";

  // Another catalog: its records only.
  TTreeNode* bank = AddCatalog("Bank");
  window->tv->SetSelected(bank);
  EXPECT_EQ(PubData->DataSet().RecordCount(), 0);
  AddRecord("Savings");
  window->tv->SetSelected(mail);
  EXPECT_EQ(PubData->DataSet().RecordCount(), 1);
  EXPECT_EQ(PubData->DataSet().FieldByName("FTitle").AsString(), "Post");

  RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  app.ProcessMessages();
  Sleep(200);
  app.ProcessMessages();
  EXPECT_TRUE(SaveWindowShot(window->Handle(), "screenshots/password-manager.bmp"));
  // What must show: the grid's header in its colour, the catalogs' icons.
  const auto shot = TakeWindowShot(window->Handle());
  ASSERT_NE(shot, nullptr);
  RECT frame;
  GetWindowRect(window->Handle(), &frame);
  auto at = [&](HWND control, POINT client) {
    ClientToScreen(control, &client);
    return shot->Pixel(client.x - frame.left, client.y - frame.top);
  };
  // Skinned, the grid's fixed cells take the form colour.
  EXPECT_EQ(at(window->grdData->Handle(), {60, 3}), static_cast<TColor>(skin::ToRgb(window->SkinEngine1->FormColor())))
      << "the grid's header row";
  RECT text{};
  TreeView_GetItemRect(window->tv->Handle(), window->tv->ItemOf(mail), &text, TRUE);
  const TColor background = at(window->tv->Handle(), {text.right + 20, (text.top + text.bottom) / 2});
  int iconPixels = 0;
  for (int y = text.top; y < text.bottom; ++y)
    for (int x = text.left - 19; x < text.left - 2; ++x)
      if (at(window->tv->Handle(), {x, y}) != background) ++iconPixels;
  EXPECT_GT(iconPixels, 40) << "the catalog's icon is drawn beside its name";
}

TEST_F(PwdManageTest, TheGridsBarIsSkinned) {
  window->SetBounds(100, 100, 500, 380); // narrower than the grid's columns
  PumpFor(200);
  TSkinScrollWinControl* skinner = SkinnerOf<TSkinScrollWinControl>(*window->SkinEngine1, window->Handle(), window->grdData);
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(skinner->HorzPanel(), nullptr);
  // The columns are wider than the grid: its horizontal bar shows, under the skin's.
  EXPECT_TRUE(IsWindowVisible(skinner->HorzPanel()->Handle()));
  EXPECT_TRUE(SameScreenRect(skinner->HorzPanel()->Handle(), NativeScrollBar(window->grdData->Handle(), OBJID_HSCROLL)));
  const auto shot = TakeWindowShot(skinner->HorzPanel()->Handle());
  ASSERT_TRUE(shot);
  const TBitmap* left = window->SkinEngine1->ScrollBtnRes().HorzButton(1);
  ASSERT_TRUE(left && !left->Empty());
  EXPECT_EQ(shot->Pixel(shot->Height() / 2, shot->Height() / 2), left->Pixel(left->Width() / 2, left->Height() / 2))
      << "the skin's left arrow";
}

TEST_F(PwdManageTest, OnlyOkDeletesARecord) {
  window->tv->SetSelected(AddCatalog("Mail"));
  AddRecord("Post");
  driver.When("TMessageForm", [](HWND) { PressKey(VK_ESCAPE); }); // No
  window->actDel->Execute();
  driver.When("TMessageForm", [](HWND form) { CloseByCloseBox(form); });
  window->actDel->Execute();
  EXPECT_EQ(PubData->DataSet().RecordCount(), 1) << "the close box is not OK";
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  window->actDel->Execute();
  EXPECT_EQ(PubData->DataSet().RecordCount(), 0);
  EXPECT_EQ(BookOf("PwdFile.cds"), "");
}

TEST_F(PwdManageTest, DeletingACatalogTakesItsSubCatalogsAndRecordsWithoutAsking) {
  TTreeNode* top = AddCatalog("Top");
  TTreeNode* a = AddCatalog("A", top);
  AddCatalog("B", top);
  window->tv->SetSelected(a);
  AddRecord("in A");
  TTreeNode* other = AddCatalog("Other");
  window->tv->SetSelected(other);
  AddRecord("kept");
  window->PressedNode = top;
  window->actDelType->Execute();
  EXPECT_EQ(BookOf("PwdType.cds"), "Other;");
  EXPECT_EQ(BookOf("PwdFile.cds"), "kept;") << "only the record of the catalog left";
  EXPECT_EQ(window->PressedNode, nullptr);
}

TEST_F(PwdManageTest, ARecordBeingTypedIsPostedWhenTheWindowCloses) {
  window->tv->SetSelected(AddCatalog("Mail"));
  window->actNew->Execute();
  SetWindowTextA(window->DBEdit1->Handle(), "typed");
  SendMessageA(window->DBEdit1->Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
               reinterpret_cast<LPARAM>(window->DBEdit1->Handle()));
  window->Close();
  EXPECT_EQ(PubData->DataSet().State(), TDataSetState::Browse);
  EXPECT_EQ(PubData->DataSet().RecordCount(), 1);
  SavePwdData(); // as the caller does after the window
  EXPECT_EQ(BookOf("PwdFile.cds"), "typed;");
}

// --- for daily use: copy, open, generate, find ------------------------------------------------

namespace {

// A key pressed with Ctrl held, at the focus, as the keyboard gives it.
void PressWithCtrl(TApplication& app, WORD key) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  PressKey(key);
  app.ProcessMessages();
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

// The user copies something of their own.
void UserCopies(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

void Wait(TApplication& app, DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  while (GetTickCount() < until) {
    app.ProcessMessages();
    Sleep(20);
  }
}

} // namespace

class PwdDailyUseTest : public PwdManageTest {
protected:
  PwdDailyUseTest() {
    mail = AddCatalog("Mail");
    bank = AddCatalog("Bank");
    window->tv->SetSelected(bank);
    AddRecord("Savings");
    SetField("FURL", "bank.example/login");
    SetField("FUser", "bob");
    SetField("FPassword", "b4nk");
    window->tv->SetSelected(mail);
    AddRecord("Post Office");
    SetField("FURL", "https://post.example");
    SetField("FUser", "anna");
    SetField("FPassword", "pa55");
    window->grdData->SetFocus();
    app.ProcessMessages();
  }
  void SetField(const char* field, const std::string& value) {
    PubData->DataSet().Edit();
    PubData->DataSet().FieldByName(field).SetAsString(value);
    PubData->DataSet().Post();
    SavePwdData();
  }
  std::string Titles() {
    std::string titles;
    TClientDataSet& table = PubData->DataSet();
    for (int row = 1; row <= table.RecordCount(); ++row)
      titles += std::get<std::string>(table.ValueAt(row, 1)) + ";";
    return titles;
  }
  TTreeNode* mail;
  TTreeNode* bank;
};

TEST_F(PwdDailyUseTest, ACopiedPasswordStaysOutOfTheHistoryAndIsTakenBack) {
  PressWithCtrl(app, 'C');
  EXPECT_EQ(ClipboardText(nullptr), "pa55");
  for (const char* format : {kExcludeFromMonitoring, kCanIncludeInHistory, kCanUploadToCloud})
    EXPECT_TRUE(ClipboardHasFormat(format)) << format;
  EXPECT_EQ(window->lblClipboard->Caption(), "The clipboard is cleared in 12 s.");
  EXPECT_EQ(window->SecretClipboard->DelaySeconds, 12);
  PressWithCtrl(app, 'B');
  EXPECT_EQ(ClipboardText(nullptr), "anna");

  // After the delay the clipboard is empty again.
  window->SecretClipboard->DelaySeconds = 2;
  PressWithCtrl(app, 'C');
  Wait(app, 1200);
  EXPECT_EQ(window->lblClipboard->Caption(), "The clipboard is cleared in 1 s.");
  Wait(app, 1500);
  EXPECT_EQ(ClipboardText(nullptr), "");
  EXPECT_EQ(window->lblClipboard->Caption(), "");

  // What the user copies meanwhile is theirs: it stays.
  PressWithCtrl(app, 'C');
  UserCopies("my own note");
  Wait(app, 2600);
  EXPECT_EQ(ClipboardText(nullptr), "my own note");
  // Even the same text copied again by the user is theirs.
  PressWithCtrl(app, 'C');
  UserCopies("pa55");
  Wait(app, 2600);
  EXPECT_EQ(ClipboardText(nullptr), "pa55");

  // Ctrl+C in an edit copies the edit's text, not the password.
  window->DBEdit1->SetFocus();
  SendMessageA(window->DBEdit1->Handle(), EM_SETSEL, 0, -1);
  PressWithCtrl(app, 'C');
  EXPECT_EQ(window->SecretClipboard->SecondsLeft(), 0) << "the shortcut is the grid's and the tree's";

  // Closing the window takes a pending secret back at once.
  window->grdData->SetFocus();
  window->SecretClipboard->DelaySeconds = 12;
  PressWithCtrl(app, 'C');
  EXPECT_EQ(ClipboardText(nullptr), "pa55");
  delete window;
  window = nullptr;
  EXPECT_EQ(ClipboardText(nullptr), "");
}

TEST_F(PwdDailyUseTest, OpenUrlOpensWebAddressesOnly) {
  RecordingShell recorder;
  platform::ScopedServices recording(nullptr, &recorder);
  PressWithCtrl(app, 'U');
  ASSERT_EQ(recorder.executions.size(), 1u);
  EXPECT_EQ(recorder.executions[0].operation, "open");
  EXPECT_EQ(recorder.executions[0].file, "https://post.example");
  window->tv->SetSelected(bank);
  window->grdData->SetFocus();
  PressWithCtrl(app, 'U');
  ASSERT_EQ(recorder.executions.size(), 2u);
  EXPECT_EQ(recorder.executions[1].file, "https://bank.example/login") << "https:// added";
  // A stored file, script or command is never handed to the shell.
  for (const char* url : {"file:///C:/Windows/System32/calc.exe", "javascript:alert(1)", "cmd.exe /c calc"}) {
    SetField("FURL", url);
    driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    window->grdData->SetFocus();
    PressWithCtrl(app, 'U');
    EXPECT_EQ(recorder.executions.size(), 2u) << url;
    ASSERT_FALSE(driver.MessageBoxTexts().empty()) << url;
    EXPECT_EQ(driver.MessageBoxTexts().back().rfind("The URL \"" + std::string(url) + "\" is not opened", 0), 0u)
        << driver.MessageBoxTexts().back();
  }
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(PwdDailyUseTest, CommandStatesFollowTheCurrentRecord) {
  auto states = [this] {
    std::string s;
    for (TAction* a : {window->actCopyUser, window->actCopyPassword, window->actCopyURL, window->actOpenURL,
                       window->actGenerate})
      s += a->Enabled() ? '1' : '0';
    return s;
  };
  EXPECT_EQ(states(), "11110");
  SetField("FURL", "");
  EXPECT_EQ(states(), "11000") << "no URL: nothing to open or copy";
  window->actEdit->Execute();
  EXPECT_EQ(states(), "11001") << "Generate while a record is edited";
  window->actCancel->Execute();
  TTreeNode* empty = AddCatalog("Empty");
  window->tv->SetSelected(empty);
  EXPECT_EQ(states(), "00000") << "no current record";
  EXPECT_EQ(States(), "1111000") << "the window's own command states stay as they are";
}

TEST_F(PwdDailyUseTest, GeneratedPasswordsFollowTheOptionsKeptPerAccount) {
  window->actEdit->Execute();
  ClickOn(window->btnGenerate->Handle());
  app.ProcessMessages();
  const std::string first = PubData->DataSet().FieldByName("FPassword").AsString();
  EXPECT_EQ(first.size(), 20u);
  EXPECT_EQ(window->DBEdit4->Text(), first) << "shown in the password's edit";
  // A length of 32 without symbols, set in the small dialog.
  driver.When("TfGenerateOptions", [](HWND dialog) {
    auto* form = dynamic_cast<TfGenerateOptions*>(TWinControl::FromHandle(dialog));
    form->edtLength->SetText("32");
    ClickOn(form->chkSymbols->Handle());
    RunSteps({[] {}, [form] { ClickOn(form->btnOk->Handle()); }});
  });
  ClickOn(window->btnGenerateOptions->Handle());
  app.ProcessMessages();
  EXPECT_EQ(driver.Pending(), 0u);
  ClickOn(window->btnGenerate->Handle());
  app.ProcessMessages();
  const std::string second = PubData->DataSet().FieldByName("FPassword").AsString();
  EXPECT_EQ(second.size(), 32u);
  EXPECT_EQ(second.find_first_of("!#$%&()*+,-./:;<=>?@[]^_{|}~"), std::string::npos) << second;
  window->actSave->Execute();
  EXPECT_EQ(GetPrivateProfileIntA("Generator", "Length", 0, UserPath("settings.ini").c_str()), 32);
  EXPECT_EQ(GetPrivateProfileIntA("Generator", "Symbols", 1, UserPath("settings.ini").c_str()), 0);
  char skin[64] = {};
  GetPrivateProfileStringA("Generator", "Length", "", skin, sizeof skin, (folder / "config.ini").c_str());
  EXPECT_STREQ(skin, "") << "config.ini keeps only the skin file";
  // A wrong length is refused in the dialog, which stays open.
  driver.When("TfGenerateOptions", [](HWND dialog) {
    auto* form = dynamic_cast<TfGenerateOptions*>(TWinControl::FromHandle(dialog));
    form->edtLength->SetText("2");
    ClickOn(form->btnOk->Handle());
  });
  driver.When("TMessageForm", [](HWND) { PressKey(VK_RETURN); });
  driver.When("TfGenerateOptions", [](HWND) { PressKey(VK_ESCAPE); });
  window->actGenerateOptions->Execute();
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_FALSE(window->actGenerate->Enabled()) << "only while a record is edited";
}

TEST_F(PwdDailyUseTest, FindFiltersEveryCatalogSelectsTheFoundRecordAndEscapeRestores) {
  EXPECT_EQ(Titles(), "Post Office;");
  PressWithCtrl(app, 'F');
  ASSERT_TRUE(window->pnlFind->Visible());
  EXPECT_TRUE(window->edtFind->Focused());
  TypeText("BANK");
  app.ProcessMessages();
  EXPECT_EQ(Titles(), "Savings;") << "the URL of a record of another catalog matches";
  EXPECT_FALSE(window->actNew->Enabled()) << "a new record needs a catalog";
  window->edtFind->SetText("");
  TypeText("b4nk");
  app.ProcessMessages();
  EXPECT_EQ(Titles(), "") << "passwords are never searched";
  SendMessageA(window->edtFind->Handle(), EM_SETSEL, 0, -1);
  TypeText("o");
  app.ProcessMessages();
  EXPECT_EQ(Titles(), "Savings;Post Office;");
  PubData->DataSet().SetRecNo(1);
  PressKey(VK_RETURN);
  app.ProcessMessages();
  EXPECT_FALSE(window->pnlFind->Visible());
  EXPECT_EQ(window->tv->Selected(), bank) << "the found record's catalog";
  EXPECT_EQ(Titles(), "Savings;");
  EXPECT_EQ(PubData->DataSet().FieldByName("FTitle").AsString(), "Savings");
  EXPECT_TRUE(window->actNew->Enabled());

  // Escape closes the box and gives back the catalog view as it was.
  PressWithCtrl(app, 'F');
  TypeText("zzz");
  app.ProcessMessages();
  EXPECT_EQ(Titles(), "");
  PressKey(VK_ESCAPE);
  app.ProcessMessages();
  EXPECT_FALSE(window->pnlFind->Visible());
  EXPECT_EQ(Titles(), "Savings;");
  EXPECT_EQ(window->CurrentCatalogId, bank->Data()->FId);
}

TEST_F(PwdDailyUseTest, FindingNeverCutsACatalogShortNorLeavesAnEditUnsaved) {
  window->tv->SetSelected(mail);
  AddRecord("Mail two");
  window->grdData->SetFocus();
  // Enter on a record of the catalog selected already: its catalog view comes back.
  PressWithCtrl(app, 'F');
  TypeText("two");
  app.ProcessMessages();
  PressKey(VK_RETURN);
  app.ProcessMessages();
  EXPECT_EQ(Titles(), "Post Office;Mail two;") << "the catalog's records, not every record";
  EXPECT_EQ(PubData->DataSet().FieldByName("FTitle").AsString(), "Mail two");
  // A catalog chosen in the tree ends the search; Escape has nothing left to restore.
  window->grdData->SetFocus();
  PressWithCtrl(app, 'F');
  TypeText("o");
  app.ProcessMessages();
  window->tv->SetSelected(bank);
  EXPECT_FALSE(window->pnlFind->Visible());
  EXPECT_EQ(Titles(), "Savings;");
  EXPECT_EQ(window->CurrentCatalogId, bank->Data()->FId);
  // Deleting a catalog while finding takes all its records, not only those found.
  window->tv->SetSelected(mail);
  window->grdData->SetFocus();
  PressWithCtrl(app, 'F');
  TypeText("office");
  app.ProcessMessages();
  window->PressedNode = mail;
  window->actDelType->Execute();
  EXPECT_EQ(BookOf("PwdFile.cds"), "Savings;") << "no record is left without its catalog";
  // An edit pending when the view changes is saved, not silently posted.
  window->tv->SetSelected(bank);
  window->actEdit->Execute();
  EXPECT_FALSE(window->actFind->Enabled()) << "the record being typed comes first";
  PubData->DataSet().FieldByName("FUser").SetAsString("bobby");
  window->actFind->SetEnabled(true); // as if the key came anyway
  window->actFind->Execute();
  PressKey(VK_ESCAPE);
  app.ProcessMessages();
  EXPECT_EQ(PubData->DataSet().State(), TDataSetState::Browse);
  TMemoryStream stream;
  OpenPasswordBook(UserPath("PwdFile.cds"), "anna", "pw", stream);
  EXPECT_NE(stream.Bytes().find("bobby"), std::string::npos) << "written, as every change that reaches the table";
}

TEST_F(PwdDailyUseTest, TheContextMenuActsOnTheRowPressed) {
  window->tv->SetSelected(mail);
  AddRecord("Second");
  SetField("FPassword", "s3cond");
  PubData->DataSet().SetRecNo(1);
  ASSERT_EQ(PubData->DataSet().FieldByName("FTitle").AsString(), "Post Office");
  static bool closed;
  closed = false;
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageA(GetFocus() ? GetFocus() : GetActiveWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
    closed = true;
  });
  const int y = TDBGrid::kRowHeight * 2 + TDBGrid::kRowHeight / 2; // the second row
  PostMessageA(window->grdData->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, y));
  PostMessageA(window->grdData->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(30, y));
  while (!closed) app.HandleMessage();
  app.ProcessMessages();
  EXPECT_EQ(PubData->DataSet().FieldByName("FTitle").AsString(), "Second");
  window->actCopyPassword->Execute();
  EXPECT_EQ(ClipboardText(nullptr), "s3cond");
  // The keep-out formats say no (0), and the session's end takes the secret back.
  ASSERT_TRUE(OpenClipboard(nullptr));
  for (const char* format : {kCanIncludeInHistory, kCanUploadToCloud}) {
    HANDLE data = GetClipboardData(RegisterClipboardFormatA(format));
    ASSERT_NE(data, nullptr) << format;
    EXPECT_EQ(*static_cast<const DWORD*>(GlobalLock(data)), 0u) << format;
    GlobalUnlock(data);
  }
  CloseClipboard();
  SendMessageA(window->Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(ClipboardText(nullptr), "");
}

TEST_F(PwdDailyUseTest, HiddenPasswordsAreRememberedAndTheMenuIsPictured) {
  EXPECT_FALSE(window->itmHidePasswords->Checked()) << "shown by default";
  EXPECT_EQ(window->grdData->Columns[3].Mask, "");
  window->actHidePasswords->Execute();
  EXPECT_TRUE(window->itmHidePasswords->Checked());
  EXPECT_EQ(window->grdData->Columns[3].Mask, "********");
  EXPECT_EQ(GetPrivateProfileIntA("View", "HidePasswords", 0, UserPath("settings.ini").c_str()), 1);
  delete window;
  window = new TfPWDManage(&app);
  window->SetUp();
  window->Show();
  EXPECT_TRUE(window->itmHidePasswords->Checked()) << "remembered for the account";
  window->actHidePasswords->Execute();

  // The picture: the find box open, and the grid's context menu over it.
  window->tv->SetSelected(window->tv->Items().GetFirstNode());
  window->grdData->SetFocus();
  PressWithCtrl(app, 'F');
  TypeText("o");
  app.ProcessMessages();
  static HWND shotWindow;
  static bool shot;
  shotWindow = window->Handle();
  shot = false;
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    RECT r;
    GetWindowRect(shotWindow, &r);
    shot = SaveWindowShot(GetDesktopWindow(), "screenshots/password-manager-daily.bmp");
    PostMessageA(GetFocus() ? GetFocus() : GetActiveWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
  });
  RECT grid;
  GetWindowRect(window->grdData->Handle(), &grid);
  window->ppGrid->Popup(grid.left + 60, grid.top + 40);
  app.ProcessMessages();
  EXPECT_TRUE(shot);
}

TEST_F(PwdManageTest, TheToolBarAndTheTreeMenuShowTheCatalogCommandsByTheirOwnNames) {
  HWND bar = window->ToolBar1->Handle();
  RECT button{};
  ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
  EXPECT_EQ(button.right - button.left, 68);
  EXPECT_EQ(button.bottom - button.top, 36);
  ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&button)));
  EXPECT_EQ(button.right - button.left, 68) << "every button, whatever its caption";
  EXPECT_EQ(window->actNewType->Caption(), "New Type");
  EXPECT_EQ(window->actDelType->Caption(), "Del Type");
  // A change of the commands' states leaves the names shown.
  window->actNew->Execute();
  window->actCancel->Execute();
  auto buttonText = [bar](int index) {
    TBBUTTON native{};
    SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&native));
    char text[64] = {};
    SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(native.idCommand), reinterpret_cast<LPARAM>(text));
    return std::string(text);
  };
  EXPECT_EQ(buttonText(0), "New Catalog");
  EXPECT_EQ(buttonText(1), "Del Catalog");
  EXPECT_EQ(buttonText(3), "New");
  HMENU menu = window->PopupMenu1->Handle();
  char item[64] = {};
  GetMenuStringA(menu, 0, item, sizeof item, MF_BYPOSITION);
  EXPECT_STREQ(item, "New Catalog");
  GetMenuStringA(menu, 1, item, sizeof item, MF_BYPOSITION);
  EXPECT_STREQ(item, "Del Catalog");
  EXPECT_EQ(window->tv->Images(), window->ImageList1);
}

namespace {
class PwdManageLeakTest : public SkinnedWindowTest {};
} // namespace

TEST_F(PwdManageLeakTest, AHundredWindowsLeaveNothingBehind) {
  TApplication app;
  TDM dm;
  LogIn("anna", "pw");
  auto cycle = [&app] {
    TfPWDManage window(&app);
    window.SetUp();
    window.Show();
    app.ProcessMessages();
    window.SecretClipboard->ClearNow();
  };
  cycle(); // the first one registers classes and loads what stays loaded
  const int components = TComponent::LiveCount(), gdiObjects = gdi::LiveObjects(), windows = ThreadWindowCount();
  const int processObjects = ProcessGdiObjects();
  for (int i = 0; i < 100; ++i) cycle();
  EXPECT_EQ(ProcessGdiObjects(), processObjects) << "every GDI object of the process, now " << ProcessGdiObjectKinds();
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(gdi::LiveObjects(), gdiObjects);
  EXPECT_EQ(ThreadWindowCount(), windows);
}
