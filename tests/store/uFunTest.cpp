#include "store/uFun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "store/uData.h"
#include "support/StoreFixture.h"

namespace {

std::string Shape(const TTreeNodes& nodes) {
  std::string text;
  for (TTreeNode* node = nodes.GetFirstNode(); node; node = node->GetNext())
    text += std::string(static_cast<std::size_t>(node->Level()), '.') + node->Text() + ";";
  return text;
}

} // namespace

class TreeBuilderTest : public StoreTest {
protected:
  TreeBuilderTest() : entries(&shown) {
    entries.CreateTable();
    rebuilt.Images = &images;
  }
  void Row(int id, const std::string& name, int parent, int kind, const std::string& path = "") {
    entries.DataSet().AppendRecord({id, name, path.empty() ? name : path, 0, parent, kind, 0});
  }
  TTreeModel shown;   // the tree the entries were made in
  TTreeModel rebuilt; // the tree built again from the table
  RecordingImages images;
  TFileList entries;
};

TEST_F(TreeBuilderTest, RebuildsTheTreeThatWasShown) {
  TTreeNode* a = entries.AddCatalog(nullptr, "A");
  TTreeNode* b = entries.AddCatalog(nullptr, "B");
  TTreeNode* a1 = entries.AddCatalog(a, "A1");
  entries.AddCatalog(b, "B1");
  entries.AddCatalog(a1, "A1x");
  entries.AddCatalog(a, "A2");
  entries.AddCatalog(nullptr, "C");
  FillFileTree(rebuilt, entries);
  EXPECT_EQ(Shape(rebuilt.Items), Shape(shown.Items));
  EXPECT_EQ(Shape(rebuilt.Items), "A;.A1;..A1x;.A2;B;.B1;C;");
}

TEST_F(TreeBuilderTest, OrphansAndForwardParentsLandAtTheTopLevel) {
  Row(8, "G", 0, 1);
  Row(2, "P", 8, 1);      // its parent is placed after the rows under it
  Row(5, "C", 2, 1);      // so this row finds no parent yet
  Row(3, "orphan", 42, 1); // parent row missing
  Row(1, "top", 0, 1);
  FillFileTree(rebuilt, entries);
  EXPECT_EQ(Shape(rebuilt.Items), "top;G;.P;C;orphan;");
}

TEST_F(TreeBuilderTest, RecordsImagesAndIcons) {
  const std::string file = folder / "present.txt";
  WriteFileBytes(file, "x");
  Row(1, "cat", 0, 1);
  Row(2, "folder", 1, 2, folder / "does-not-matter");
  Row(3, "present.txt", 1, 3, file);
  Row(4, "gone.txt", 1, 3, folder / "gone.txt");
  FillFileTree(rebuilt, entries);
  const TTreeNode* cat = rebuilt.Items.Item(0);
  EXPECT_EQ(cat->ImageIndex(), 0);
  EXPECT_EQ(rebuilt.Items.Item(1)->ImageIndex(), 1) << "folders show image 1, present or not";
  EXPECT_EQ(rebuilt.Items.Item(2)->ImageIndex(), 2) << "the first icon appended after two images";
  EXPECT_EQ(rebuilt.Items.Item(2)->SelectedIndex(), 2);
  EXPECT_EQ(rebuilt.Items.Item(2)->StateIndex(), 2);
  EXPECT_EQ(rebuilt.Items.Item(3)->ImageIndex(), -1) << "a missing file has no image";
  ASSERT_EQ(shell.iconRequests.size(), 1u);
  EXPECT_EQ(shell.iconRequests[0].second, 0x101u);
  const auto& data = static_cast<const TNodeData&>(*rebuilt.Items.Item(2)->Data());
  EXPECT_EQ(data.FFullName, file);
  EXPECT_EQ(data.NoteType, 3);
  EXPECT_EQ(data.FParentId, 1);

  FillFileTree(rebuilt, entries);
  EXPECT_EQ(images.icons.size(), 2u) << "each build appends the icons again";
  EXPECT_EQ(rebuilt.Items.Count(), 4);

  TTreeModel noImages;
  FillFileTree(noImages, entries);
  EXPECT_EQ(noImages.Items.Item(2)->ImageIndex(), 1) << "without an image list, files show image 1";
}

TEST_F(TreeBuilderTest, TheTableOrderIsRestoredAndTheTreeRedrawnOnce) {
  FillFileTree(rebuilt, entries);
  EXPECT_EQ(rebuilt.Items.Count(), 0);
  EXPECT_EQ(entries.DataSet().IndexFieldNames(), "");
  entries.DataSet().SetIndexFieldNames("FId");
  Row(2, "b", 0, 1);
  Row(1, "a", 0, 1);
  struct EndCounter : ITreeNodesObserver {
    int ends = 0, added = 0;
    void NodeAdded(TTreeNode&) override { ++added; }
    void NodeDeleting(TTreeNode&) override {}
    void NodeChanged(TTreeNode&) override {}
    void Cleared() override {}
    void UpdateEnded() override { ++ends; }
  } counter;
  rebuilt.Items.SetObserver(&counter);
  FillFileTree(rebuilt, entries);
  rebuilt.Items.SetObserver(nullptr);
  EXPECT_EQ(counter.added, 2);
  EXPECT_EQ(counter.ends, 1);
  EXPECT_FALSE(rebuilt.Items.Updating());
  EXPECT_EQ(entries.DataSet().IndexFieldNames(), "FId");
}

namespace {

// The builder as first written: each row's parent found by the linear
// FindTreeNode over the tree built so far. The builders must make exactly
// its tree.
void LinearFileTree(TTreeModel& tree, TClientDataSet& table) {
  const std::string saved = table.IndexFieldNames();
  tree.Items.Clear();
  table.SetIndexFieldNames("FParentId;FId");
  for (table.First(); !table.Eof(); table.Next()) {
    auto record = std::make_unique<TNodeData>();
    record->FId = table.Fields(0).AsInteger();
    record->FShortName = table.Fields(1).AsString();
    record->FFullName = table.Fields(2).AsString();
    record->FLevel = table.Fields(3).AsInteger();
    record->FParentId = table.Fields(4).AsInteger();
    record->NoteType = table.Fields(5).AsInteger();
    record->FIndex = table.Fields(6).AsInteger();
    const int image = record->NoteType == kNoteCatalog ? 0 : 1;
    TTreeNode* parent = FindTreeNode(record->FParentId, tree);
    std::string text = record->FShortName;
    TTreeNode* node = tree.Items.AddChild(parent, std::move(text), std::move(record));
    node->SetImageIndex(image);
    node->SetSelectedIndex(image);
    node->SetStateIndex(image);
  }
  table.SetIndexFieldNames(saved);
}

// Every node in tree order: its depth, text, images and whole record.
std::string Dump(const TTreeNodes& nodes) {
  std::string text;
  for (TTreeNode* node = nodes.GetFirstNode(); node; node = node->GetNext()) {
    const auto& d = static_cast<const TNodeData&>(*node->Data());
    text += std::to_string(node->Level()) + " " + node->Text() + " " + std::to_string(node->ImageIndex()) + "/" +
            std::to_string(node->SelectedIndex()) + "/" + std::to_string(node->StateIndex()) + " [" +
            std::to_string(d.FId) + " " + d.FShortName + " " + d.FFullName + " " + std::to_string(d.FLevel) + " " +
            std::to_string(d.FParentId) + " " + std::to_string(d.NoteType) + " " + std::to_string(d.FIndex) + "]\n";
  }
  return text;
}

} // namespace

TEST_F(TreeBuilderTest, BuildsTheSameTreeAsTheLinearSearchInAnyRowOrder) {
  // A deep and wide catalog: each row under a row with a smaller id, some
  // under missing or later rows, some ids repeated (a damaged table).
  struct Entry {
    int id, parent, kind;
  };
  std::mt19937 random(2026);
  std::vector<Entry> made;
  for (int id = 1; id <= 600; ++id) {
    int parent = id == 1 || random() % 8 == 0 ? 0 : static_cast<int>(1 + random() % (id - 1));
    if (random() % 40 == 0) parent = 5000 + id;                   // its parent row is missing
    if (random() % 40 == 0) parent = id + 1 + random() % 50;      // its parent comes later
    const int repeated = random() % 30 == 0 ? static_cast<int>(1 + random() % id) : id;
    made.push_back({repeated, parent, 1 + static_cast<int>(random() % 3)});
  }
  std::vector<std::pair<std::string, std::vector<Entry>>> orders = {{"insertion order", made}};
  orders.push_back({"reversed", {made.rbegin(), made.rend()}});
  std::vector<Entry> shuffled = made;
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  orders.push_back({"shuffled", shuffled});

  for (const auto& [name, rows] : orders) {
    entries.CreateTable();
    for (std::size_t i = 0; i < rows.size(); ++i)
      Row(rows[i].id, "n" + std::to_string(i), rows[i].parent, rows[i].kind, "C:\\f" + std::to_string(i));
    TTreeModel fast, linear;
    FillFileTree(fast, entries);
    LinearFileTree(linear, entries.DataSet());
    ASSERT_EQ(fast.Items.Count(), static_cast<int>(rows.size())) << name;
    EXPECT_EQ(Dump(fast.Items), Dump(linear.Items)) << name;
  }
}

TEST_F(TreeBuilderTest, ARepeatedIdTakesItsParentFromTheFirstNodeInTreeOrder) {
  // Two rows with id 5: the later one is placed under catalog 1 and so
  // comes first in tree order; the rows under 5 go to it.
  Row(1, "one", 0, 1);
  Row(5, "five-top", 0, 1);
  Row(5, "five-under-one", 1, 1);
  Row(7, "seven", 5, 1);
  FillFileTree(rebuilt, entries);
  EXPECT_EQ(Shape(rebuilt.Items), "one;.five-under-one;..seven;five-top;");
}

TEST_F(TreeBuilderTest, TypeTreesCarryTheirRecordsAndNoImages) {
  TPubList types(&shown);
  types.CreateTable();
  TTreeNode* mail = types.AddType(nullptr, "Mail");
  types.AddType(mail, "Work");
  types.AddType(nullptr, "Bank");
  FillTypeTree(rebuilt, types);
  EXPECT_EQ(Shape(rebuilt.Items), "Mail;.Work;Bank;");
  const auto& work = static_cast<const TTypeNodeData&>(*rebuilt.Items.Item(1)->Data());
  EXPECT_EQ(work.FId, 2);
  EXPECT_EQ(work.FTypeName, "Work");
  EXPECT_EQ(work.FLevel, 1);
  EXPECT_EQ(work.FParentId, 1);
  EXPECT_EQ(rebuilt.Items.Item(1)->ImageIndex(), -1);
  EXPECT_EQ(FindTreeNode(3, rebuilt), rebuilt.Items.Item(2));
  EXPECT_EQ(FindTreeNode(0, rebuilt), nullptr);
}

TEST_F(StoreTest, DriveListFollowsTheSystemsBuffer) {
  std::vector<std::string> drives{"stale"};
  shell.driveStrings = std::string("C:\\\0D:\\\0Z:\\\0\0", 13) + std::string(243, '\0');
  GetDriveList(drives);
  EXPECT_EQ(drives, (std::vector<std::string>{"C:\\", "D:\\", "Z:\\"}));
  EXPECT_EQ(shell.lastDriveBufferSize, 256u);
  shell.driveStrings.clear(); // the call returned 0
  GetDriveList(drives);
  EXPECT_TRUE(drives.empty());
}

TEST_F(StoreTest, ShellFileOperationsAskExactlyForWhatTheyDo) {
  DeleteToRecycleBin("C:\\x\\file.txt");
  EXPECT_TRUE(ShellCopyMove("C:\\a.txt", "D:\\dest", false));
  shell.fileOperationResult = 1223; // cancelled by the user
  EXPECT_FALSE(ShellCopyMove("C:\\b.txt", "D:\\dest", true));
  ASSERT_EQ(shell.operations.size(), 3u);
  EXPECT_EQ(shell.operations[0].function, 3u);
  EXPECT_EQ(shell.operations[0].flags, 0x440u);
  EXPECT_EQ(shell.operations[0].to, "");
  EXPECT_EQ(shell.operations[1].function, 2u);
  EXPECT_EQ(shell.operations[1].flags, 0u);
  EXPECT_EQ(shell.operations[1].to, "D:\\dest");
  EXPECT_EQ(shell.operations[2].function, 1u);
}

TEST_F(StoreTest, FileIconsOnlyForExistingFiles) {
  const std::string file = folder / "a.txt";
  WriteFileBytes(file, "x");
  EXPECT_NE(GetFileIcon(file), nullptr);
  EXPECT_EQ(GetFileIcon(folder.Path()), nullptr) << "a folder has none";
  EXPECT_EQ(GetFileIcon(folder / "missing.txt"), nullptr);
  EXPECT_EQ(shell.iconRequests.size(), 1u);
}
