// The password manager: catalogs, records, command states and the files
// written after each change.
#include <gtest/gtest.h>

#include "support/ModalDriver.h"
#include "support/Screenshot.h"
#include "support/StoreFixture.h"
#include "ui/uPWDManage.h"

namespace {

class PwdManageTest : public StoreTest {
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
