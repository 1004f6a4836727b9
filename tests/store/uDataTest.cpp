#include "store/uData.h"

#include <gtest/gtest.h>

#include "support/StoreFixture.h"

namespace {

std::vector<std::string> Codes(TUserList& users) {
  std::vector<std::string> codes;
  TClientDataSet& table = users.DataSet();
  for (table.First(); !table.Eof(); table.Next()) codes.push_back(table.Fields(0).AsString());
  return codes;
}

std::string TreeText(const TTreeNodes& nodes) {
  std::string text;
  for (TTreeNode* node = nodes.GetFirstNode(); node; node = node->GetNext())
    text += std::string(static_cast<std::size_t>(node->Level()), '.') + node->Text() + ";";
  return text;
}

const TNodeData& Entry(const TTreeNode* node) { return static_cast<const TNodeData&>(*node->Data()); }

} // namespace

// --- accounts -------------------------------------------------------------------

class UserListTest : public StoreTest {
protected:
  UserListTest() { users.CreateTable(); }
  TUserList users;
};

TEST_F(UserListTest, AddCheckAndChangePasswordAreExact) {
  EXPECT_TRUE(users.AddUser("anna", "secret"));
  EXPECT_FALSE(users.AddUser("anna", "other")) << "codes are unique";
  EXPECT_FALSE(users.AddUser("Anna", "x")) << "a new code may not share its folder with another";
  users.DataSet().InsertRecord({std::string("Anna"), std::string("x")}); // as an older file may hold
  EXPECT_TRUE(users.CheckUser("anna", "secret"));
  EXPECT_FALSE(users.CheckUser("anna", "Secret"));
  EXPECT_FALSE(users.CheckUser("anna", "secret "));
  EXPECT_FALSE(users.CheckUser("bob", ""));
  EXPECT_FALSE(users.ChangePassword("anna", "wrong", "new"));
  EXPECT_FALSE(users.ChangePassword("bob", "", "new"));
  EXPECT_TRUE(users.ChangePassword("anna", "secret", "new"));
  EXPECT_TRUE(users.CheckUser("anna", "new"));
  EXPECT_FALSE(users.CheckUser("anna", "secret"));
  EXPECT_TRUE(users.CheckUser("Anna", "x")) << "the other account is untouched";
}

TEST_F(UserListTest, EmptyCodeAndPasswordAreOrdinaryValues) {
  EXPECT_TRUE(users.AddUser("", ""));
  EXPECT_EQ(users.DataSet().RecordCount(), 1);
  EXPECT_TRUE(users.CheckUser("", ""));
  EXPECT_FALSE(users.CheckUser("", "x"));
}

TEST_F(UserListTest, NewAccountsGoBeforeTheCurrentRow) {
  EXPECT_TRUE(users.AddUser("first", "1"));
  EXPECT_TRUE(users.AddUser("second", "2"));
  EXPECT_EQ(Codes(users), (std::vector<std::string>{"second", "first"}));
  // The login dialog walks the table to its end before an account is added.
  users.DataSet().Last();
  EXPECT_TRUE(users.AddUser("third", "3"));
  EXPECT_EQ(Codes(users), (std::vector<std::string>{"second", "third", "first"}));
}

TEST_F(UserListTest, LongCodesAndPasswordsAreCutWhenStored) {
  const std::string code(25, 'c');
  const std::string pwd(40, 'p');
  EXPECT_TRUE(users.AddUser(code, pwd));
  users.DataSet().First();
  EXPECT_EQ(users.DataSet().Fields(0).AsString(), std::string(20, 'c'));
  EXPECT_EQ(users.DataSet().Fields(1).AsString(), std::string(32, 'p'));
  EXPECT_FALSE(users.UserExists(code));
  EXPECT_TRUE(users.UserExists(std::string(20, 'c')));
  EXPECT_FALSE(users.CheckUser(std::string(20, 'c'), pwd));
  EXPECT_TRUE(users.CheckUser(std::string(20, 'c'), std::string(32, 'p')));
  EXPECT_TRUE(users.AddUser(code, pwd)) << "the long code still matches no row";
  EXPECT_EQ(users.DataSet().RecordCount(), 2);
}

TEST_F(UserListTest, CodesThatCannotNameAFolderAreRefused) {
  for (const char* code : {"..", "a\\b", "..\\..\\Windows", "x:", "CON", "end."}) {
    EXPECT_FALSE(users.AddUser(code, "p")) << code;
  }
  EXPECT_TRUE(users.DataSet().IsEmpty());
}

TEST_F(UserListTest, FilesRoundTripAndAbsentFilesGiveAnEmptyTable) {
  users.AddUser("anna", "a");
  users.AddUser("bob", "b");
  ASSERT_TRUE(users.SaveData(UserDataPath()));
  TUserList loaded;
  EXPECT_TRUE(loaded.LoadData(UserDataPath()));
  EXPECT_EQ(Codes(loaded), Codes(users));
  EXPECT_TRUE(loaded.CheckUser("bob", "b"));
  TUserList fresh;
  EXPECT_FALSE(fresh.LoadData(folder / "missing.cds"));
  EXPECT_TRUE(fresh.DataSet().Active());
  EXPECT_TRUE(fresh.DataSet().IsEmpty());
  EXPECT_EQ(fresh.DataSet().FieldDefs()[0].Name, "FCode");
  EXPECT_EQ(fresh.DataSet().FieldDefs()[1].Size, 32);
  EXPECT_EQ(fresh.LoadErrorText(), "");
}

// --- password catalogs ----------------------------------------------------------------

class PubListTest : public StoreTest {
protected:
  PubListTest() : types(&tree) {
    types.CreateTable();
    types.OnDeleteType = [this](std::int32_t id) { deleted.push_back(id); };
  }
  TTreeModel tree;
  TPubList types;
  std::vector<std::int32_t> deleted;
};

TEST_F(PubListTest, CatalogsGetIdsLevelsAndParents) {
  EXPECT_EQ(types.GetMaxId(), 0);
  EXPECT_EQ(types.GetLevel(7), -1);
  EXPECT_EQ(types.GetMaxIndex(0), 0);
  TTreeNode* mail = types.AddType(nullptr, "Mail");
  const auto& first = static_cast<const TTypeNodeData&>(*mail->Data());
  EXPECT_EQ(first.FId, 1);
  EXPECT_EQ(first.FLevel, 0);
  EXPECT_EQ(first.FParentId, 0);
  EXPECT_EQ(first.FIndex, 0);
  for (int i = 0; i < 3; ++i) types.AddType(nullptr, "T" + std::to_string(i));
  TTreeNode* five = types.AddType(nullptr, "Five");
  TTreeNode* child = types.AddType(five, "Child");
  const auto& sub = static_cast<const TTypeNodeData&>(*child->Data());
  EXPECT_EQ(sub.FId, 6);
  EXPECT_EQ(sub.FLevel, 1);
  EXPECT_EQ(sub.FParentId, 5);
  EXPECT_EQ(child->Parent(), five);
  EXPECT_FALSE(types.DataSet().Filtered()) << "the filter of GetMaxIndex is switched off again";
  EXPECT_EQ(types.FindNode(6), child);
  EXPECT_EQ(types.FindNode(99), nullptr);
}

TEST_F(PubListTest, DeletingACatalogDeletesItsSubtreeParentFirst) {
  TTreeNode* top = types.AddType(nullptr, "Top");
  TTreeNode* a = types.AddType(top, "A");
  types.AddType(a, "A1");
  types.AddType(top, "B");
  types.AddType(nullptr, "Other");
  std::vector<std::string> ids;
  types.CollectIds(top, ids);
  EXPECT_EQ(ids, (std::vector<std::string>{"1", "2", "3", "4"}));

  EXPECT_TRUE(types.DeleteType(top));
  EXPECT_EQ(deleted, (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(types.DataSet().RecordCount(), 1);
  EXPECT_EQ(TreeText(tree.Items), "Other;");
  EXPECT_FALSE(types.DeleteType(nullptr));
  EXPECT_EQ(deleted.size(), 4u);
}

TEST_F(PubListTest, TheLargestIdIsReusedOthersAreNot) {
  types.AddType(nullptr, "1");
  TTreeNode* second = types.AddType(nullptr, "2");
  TTreeNode* third = types.AddType(nullptr, "3");
  types.DeleteType(third);
  EXPECT_EQ(types.AddType(nullptr, "again")->Data()->FId, 3);
  types.DeleteType(second);
  EXPECT_EQ(types.AddType(nullptr, "next")->Data()->FId, 4);
}

TEST_F(PubListTest, StreamsRoundTripAndEmptyStreamsGiveAnEmptyTable) {
  TTreeNode* five = nullptr;
  for (int i = 1; i <= 5; ++i) five = types.AddType(nullptr, "T" + std::to_string(i));
  types.AddType(five, "Under five");
  TMemoryStream stream;
  ASSERT_TRUE(types.SaveData(stream));
  stream.SetPosition(0);
  TTreeModel other;
  TPubList loaded(&other);
  EXPECT_TRUE(loaded.LoadData(stream));
  EXPECT_TRUE(loaded.DataSet().Locate("FTypeName", std::string("Under five")));
  EXPECT_EQ(loaded.DataSet().FieldByName("FParentId").AsInteger(), 5);
  EXPECT_EQ(loaded.DataSet().FieldByName("FLevel").AsInteger(), 1);

  TMemoryStream empty;
  TPubList fresh(nullptr);
  EXPECT_FALSE(fresh.LoadData(empty));
  EXPECT_TRUE(fresh.DataSet().Active());
  EXPECT_EQ(fresh.DataSet().FieldCount(), 5);

  TMemoryStream garbage(std::string("garbage"));
  EXPECT_FALSE(fresh.LoadData(garbage));
  EXPECT_FALSE(fresh.DataSet().Active()) << "a failed load leaves the table closed";
}

// --- password records ------------------------------------------------------------------

class PubDataTest : public StoreTest {
protected:
  PubDataTest() {
    records.CreateTable();
    for (const auto& [type, title] : {std::pair{1, "a"}, std::pair{3, "b"}, std::pair{3, "c"}, std::pair{2, "d"}})
      records.DataSet().AppendRecord({type, std::string(title), std::string(), std::string(), std::string()});
  }
  std::string Titles() {
    std::string titles;
    TClientDataSet& table = records.DataSet();
    for (table.First(); !table.Eof(); table.Next()) titles += table.FieldByName("FTitle").AsString();
    return titles;
  }
  TPubData records;
};

TEST_F(PubDataTest, SelectTypeShowsOneCatalogAndFillsNewRows) {
  records.SelectType(3);
  EXPECT_EQ(Titles(), "bc");
  EXPECT_EQ(records.DataSet().RecordCount(), 2);
  TClientDataSet& table = records.DataSet();
  table.Append();
  EXPECT_EQ(table.FieldByName("FTypeId").AsInteger(), 3) << "filled before the user types";
  table.FieldByName("FTitle").SetAsString("e");
  table.Post();
  EXPECT_EQ(Titles(), "bce");
  records.SelectType(2);
  EXPECT_EQ(Titles(), "d");
}

TEST_F(PubDataTest, DeleteByTypeLeavesTheTableUnfiltered) {
  records.SelectType(1);
  records.DeleteByType(3);
  EXPECT_FALSE(records.DataSet().Filtered());
  EXPECT_EQ(records.TypeId, 3);
  EXPECT_EQ(Titles(), "ad");
  records.DeleteByType(42);
  EXPECT_EQ(Titles(), "ad");
}

TEST_F(PubDataTest, WithoutASelectionNewRowsBelongToNoCatalogButStillPost) {
  TClientDataSet& table = records.DataSet();
  table.Append();
  EXPECT_EQ(table.FieldByName("FTypeId").AsInteger(), 0);
  table.FieldByName("FPassword").SetAsString(std::string(300, 'p'));
  table.Post();
  EXPECT_EQ(table.FieldByName("FPassword").AsString().size(), 256u);
}

TEST_F(PubDataTest, DeletingNestedCatalogsRemovesAllTheirRecords) {
  TTreeModel tree;
  TPubList types(&tree);
  types.CreateTable();
  types.OnDeleteType = [this](std::int32_t id) { records.DeleteByType(id); };
  TTreeNode* one = types.AddType(nullptr, "one");
  types.AddType(nullptr, "two");
  types.AddType(one, "three");
  types.DeleteType(one);
  EXPECT_EQ(Titles(), "d");
}

// --- catalog entries ----------------------------------------------------------------------

class FileListTest : public StoreTest {
protected:
  FileListTest() : entries(&tree) { entries.CreateTable(); }
  TTreeModel tree;
  TFileList entries;
};

TEST_F(FileListTest, EntriesGetNamesKindsAndLevels) {
  TTreeNode* docs = entries.AddCatalog(nullptr, "Docs");
  EXPECT_EQ(Entry(docs).FId, 1);
  EXPECT_EQ(Entry(docs).FShortName, "Docs");
  EXPECT_EQ(Entry(docs).FFullName, "Docs");
  EXPECT_EQ(Entry(docs).NoteType, kNoteCatalog);
  EXPECT_EQ(docs->ImageIndex(), 0);
  EXPECT_EQ(docs->SelectedIndex(), 0);
  EXPECT_EQ(docs->StateIndex(), 0);

  TTreeNode* report = entries.AddNode(docs, "C:\\Data\\Report.txt", kNoteFile);
  EXPECT_EQ(report->Text(), "Report.txt");
  EXPECT_EQ(Entry(report).FLevel, 1);
  EXPECT_EQ(Entry(report).FParentId, 1);
  EXPECT_EQ(Entry(report).FIndex, 0);
  EXPECT_EQ(report->ImageIndex(), -1) << "images of references are the caller's";
  EXPECT_EQ(entries.AddNode(docs, "D:\\", kNoteFolder)->Text(), "");
  EXPECT_EQ(entries.AddNode(report, "E:name", kNoteFile)->Text(), "name");
  EXPECT_EQ(Entry(entries.FindNode(4)).FLevel, 2);

  TClientDataSet& table = entries.DataSet();
  ASSERT_TRUE(table.Locate("FId", 2));
  EXPECT_EQ(table.FieldByName("FShortName").AsString(), "Report.txt");
  EXPECT_EQ(table.FieldByName("FFullName").AsString(), "C:\\Data\\Report.txt");
  EXPECT_EQ(table.FieldByName("NoteType").AsInteger(), 3);
}

TEST_F(FileListTest, LongPathsAreCutAndTheRecordMatchesTheRow) {
  const std::string path = "C:\\" + std::string(300, 'x');
  TTreeNode* node = entries.AddNode(nullptr, path, kNoteFolder);
  EXPECT_EQ(Entry(node).FFullName, path.substr(0, 256));
  EXPECT_EQ(Entry(node).FShortName, std::string(256, 'x')) << "taken from the whole path, then cut";
}

TEST_F(FileListTest, OpenAsksTheShellForThePathOrItsFolder) {
  TTreeNode* catalog = entries.AddCatalog(nullptr, "Cat");
  TTreeNode* file = entries.AddNode(catalog, "C:\\Data\\Report.txt", kNoteFile);
  TTreeNode* dir = entries.AddNode(catalog, "C:\\Data\\Sub", kNoteFolder);
  entries.OpenNode(catalog, false);
  entries.OpenNode(nullptr, true);
  EXPECT_TRUE(shell.executions.empty()) << "catalogs and no node open nothing";
  entries.OpenNode(file, false);
  entries.OpenNode(file, true);
  entries.OpenNode(dir, true);
  ASSERT_EQ(shell.executions.size(), 3u);
  EXPECT_EQ(shell.executions[0].file, "C:\\Data\\Report.txt");
  EXPECT_EQ(shell.executions[1].file, "C:\\Data\\");
  EXPECT_EQ(shell.executions[2].file, "C:\\Data\\");
  for (const auto& call : shell.executions) {
    EXPECT_EQ(call.operation, "");
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.show, 4);
  }
}

TEST_F(FileListTest, RemovingACatalogTouchesNoFile) {
  TTreeNode* cat = entries.AddCatalog(nullptr, "Cat");
  entries.AddNode(cat, "C:\\a.txt", kNoteFile);
  entries.AddCatalog(nullptr, "Keep");
  EXPECT_TRUE(entries.DeleteNode(cat, false));
  EXPECT_TRUE(shell.operations.empty());
  EXPECT_EQ(entries.DataSet().RecordCount(), 1);
  EXPECT_EQ(TreeText(tree.Items), "Keep;");
  EXPECT_FALSE(entries.DeleteNode(nullptr, true));
}

TEST_F(FileListTest, DeletingFromDiskRecyclesEveryReferenceDepthFirst) {
  TTreeNode* cat = entries.AddCatalog(nullptr, "Cat");
  TTreeNode* sub = entries.AddCatalog(cat, "Sub");
  entries.AddNode(sub, "C:\\deep.txt", kNoteFile);
  entries.AddNode(cat, "C:\\Folder", kNoteFolder);
  entries.AddNode(sub, "C:\\deep2.txt", kNoteFile);
  entries.AddNode(nullptr, "C:\\keep.txt", kNoteFile);
  EXPECT_TRUE(entries.DeleteNode(cat, true));
  ASSERT_EQ(shell.operations.size(), 3u);
  EXPECT_EQ(shell.operations[0].from, "C:\\deep.txt");
  EXPECT_EQ(shell.operations[1].from, "C:\\deep2.txt");
  EXPECT_EQ(shell.operations[2].from, "C:\\Folder");
  for (const auto& op : shell.operations) {
    EXPECT_EQ(op.function, 3u);
    EXPECT_EQ(op.flags, 0x440u);
    EXPECT_EQ(op.to, "");
  }
  EXPECT_EQ(entries.DataSet().RecordCount(), 1);
  EXPECT_EQ(TreeText(tree.Items), "keep.txt;");
}

TEST_F(FileListTest, AnEntryWhoseFileStaysIsKeptWithItsCatalogs) {
  TTreeNode* cat = entries.AddCatalog(nullptr, "Cat");
  TTreeNode* sub = entries.AddCatalog(cat, "Sub");
  TTreeNode* other = entries.AddCatalog(cat, "Other");
  entries.AddNode(sub, "C:\\gone.txt", kNoteFile);
  entries.AddNode(sub, "C:\\declined.txt", kNoteFile);
  entries.AddNode(other, "C:\\gone2.txt", kNoteFile);
  entries.AddCatalog(nullptr, "Keep");
  struct Case {
    int code;
    bool aborted;
    const char* reason;
  };
  // A "No" to the shell's question, a cancel answered as an error, and a plain failure.
  for (const Case& c : {Case{0, true, "the deletion was cancelled"}, Case{1223, false, "the deletion was cancelled"},
                        Case{2, false, "the shell could not delete it (error 2)"}}) {
    TTreeModel model;
    TFileList list(&model);
    list.CreateTable();
    TTreeNode* top = list.AddCatalog(nullptr, "Cat");
    TTreeNode* inner = list.AddCatalog(top, "Sub");
    const std::string declined = folder / "declined.txt"; // still there: the shell kept it
    WriteFileBytes(declined, "x");
    list.AddNode(inner, declined, kNoteFile);
    shell.fileOperationResult = c.code;
    shell.fileOperationAborted = c.aborted;
    std::vector<TDeleteFailure> failures;
    EXPECT_FALSE(list.DeleteNode(top, true, &failures));
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, declined);
    EXPECT_EQ(failures[0].reason, c.reason);
    ASSERT_EQ(model.Items.Count(), 3) << "the entry and the catalogs above it stay";
    EXPECT_EQ(static_cast<const TNodeData*>(top->Item(0)->Item(0)->Data())->FFullName, declined);
    EXPECT_EQ(list.DataSet().RecordCount(), 3);
  }
  // Only the entry the shell kept stays; what went is removed, as are catalogs left with nothing kept.
  shell.fileOperationResult = 0;
  shell.fileOperationAborted = false;
  shell.operations.clear();
  struct DeclineOne final : platform::IShell {
    RecordingShell& inner;
    explicit DeclineOne(RecordingShell& s) : inner(s) {}
    std::string LogicalDriveStrings(std::size_t n) override { return inner.LogicalDriveStrings(n); }
    std::unique_ptr<platform::TIcon> FileInfoIcon(const std::string& p, unsigned f) override {
      return inner.FileInfoIcon(p, f);
    }
    void Execute(const platform::ShellExecuteRequest& r) override { inner.Execute(r); }
    platform::FileOperationResult FileOperation(const platform::FileOperationRequest& r) override {
      inner.operations.push_back(r);
      return {0, r.from == "C:\\declined.txt"};
    }
  } declineOne(shell);
  platform::ScopedServices declining(nullptr, &declineOne);
  std::vector<TDeleteFailure> failures;
  EXPECT_FALSE(entries.DeleteNode(cat, true, &failures));
  EXPECT_EQ(shell.operations.size(), 3u) << "every file was offered to the recycle bin";
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(TreeText(tree.Items), "Cat;.Sub;..declined.txt;Keep;");
  EXPECT_EQ(entries.DataSet().RecordCount(), 4);
  EXPECT_FALSE(entries.DataSet().Locate("FShortName", std::string("gone.txt")));
  EXPECT_FALSE(entries.DataSet().Locate("FShortName", std::string("Other")));

  // A file the shell could not find is gone all the same (inside a folder sent
  // before it, or deleted elsewhere): its entry goes too.
  TTreeNode* stale = entries.AddNode(nullptr, folder / "deleted elsewhere.txt", kNoteFile);
  shell.fileOperationResult = 2;
  failures.clear();
  platform::ScopedServices plain(nullptr, &shell);
  EXPECT_TRUE(entries.DeleteNode(stale, true, &failures));
  EXPECT_TRUE(failures.empty());
}

TEST_F(FileListTest, IdsFollowTheLargestExistingId) {
  entries.AddCatalog(nullptr, "1");
  TTreeNode* two = entries.AddCatalog(nullptr, "2");
  TTreeNode* three = entries.AddCatalog(nullptr, "3");
  entries.DeleteNode(three, false);
  EXPECT_EQ(entries.AddCatalog(nullptr, "3 again")->Data()->FId, 3);
  entries.DeleteNode(two, false);
  EXPECT_EQ(entries.AddCatalog(nullptr, "4")->Data()->FId, 4);
}
