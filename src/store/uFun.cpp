#include "store/uFun.h"

#include <algorithm>
#include <unordered_map>

#include "platform/Services.h"
#include "store/uData.h"

namespace {

// Holds the tree's redrawing and the table's order for the time of a build.
class TreeBuild {
public:
  TreeBuild(TTreeModel& tree, TClientDataSet& table)
      : tree_(tree), table_(table), savedOrder_(table.IndexFieldNames()) {
    tree_.Items.BeginUpdate();
  }
  ~TreeBuild() {
    try {
      table_.SetIndexFieldNames(savedOrder_);
    } catch (...) {
    }
    tree_.Items.EndUpdate();
  }
  TreeBuild(const TreeBuild&) = delete;
  TreeBuild& operator=(const TreeBuild&) = delete;

private:
  TTreeModel& tree_;
  TClientDataSet& table_;
  std::string savedOrder_;
};

// The positions of a node and its ancestors among their siblings, from the top.
std::vector<int> TreePath(const TTreeNode& node) {
  std::vector<int> path;
  for (const TTreeNode* at = &node; at; at = at->Parent()) path.push_back(at->Index());
  std::reverse(path.begin(), path.end());
  return path;
}

// Whether a comes before b in tree order (an ancestor before its descendants).
bool PrecedesInTreeOrder(const TTreeNode& a, const TTreeNode& b) {
  const std::vector<int> pathA = TreePath(a), pathB = TreePath(b);
  return std::lexicographical_compare(pathA.begin(), pathA.end(), pathB.begin(), pathB.end());
}

// The nodes of a tree being built, by id: for each id the node FindTreeNode
// would return, that is the first in tree order, found in constant time.
class NodesById {
public:
  explicit NodesById(std::size_t expected) { nodes_.reserve(expected); }
  TTreeNode* Find(std::int32_t id) const {
    const auto found = nodes_.find(id);
    return found == nodes_.end() ? nullptr : found->second;
  }
  void Add(TTreeNode& node) {
    const auto [at, added] = nodes_.try_emplace(node.Data()->FId, &node);
    // A repeated id (a damaged table): a node placed under an earlier
    // parent comes before nodes further down the tree.
    if (!added && PrecedesInTreeOrder(node, *at->second)) at->second = &node;
  }

private:
  std::unordered_map<std::int32_t, TTreeNode*> nodes_;
};

template <typename MakeRecord, typename AfterAdd>
void FillTree(TTreeModel& tree, TClientDataSet& table, const char* textColumn, MakeRecord makeRecord,
              AfterAdd afterAdd) {
  TreeBuild build(tree, table);
  tree.Items.Clear();
  table.SetIndexFieldNames("FParentId;FId");
  const int parentColumn = table.FieldByName("FParentId").Index();
  const int textIndex = table.FieldByName(textColumn).Index();
  // The tree was emptied above: every node it will hold is added here.
  NodesById nodes(static_cast<std::size_t>(table.RecordCount()));
  for (table.First(); !table.Eof(); table.Next()) {
    TTreeNode* parent = nodes.Find(table.Fields(parentColumn).AsInteger());
    TTreeNode* node = tree.Items.AddChild(parent, table.Fields(textIndex).AsString(), makeRecord(table));
    nodes.Add(*node);
    afterAdd(*node, table);
  }
}

} // namespace

TTreeNode* FindTreeNode(std::int32_t id, const TTreeModel& tree) {
  for (TTreeNode* node = tree.Items.GetFirstNode(); node; node = node->GetNext())
    if (node->Data() && node->Data()->FId == id) return node;
  return nullptr;
}

void FillFileTree(TTreeModel& tree, TFileList& fileList) {
  FillTree(
      tree, fileList.DataSet(), "FShortName",
      [](TClientDataSet& table) {
        auto record = std::make_unique<TNodeData>();
        record->FId = table.Fields(0).AsInteger();
        record->FShortName = table.Fields(1).AsString();
        record->FFullName = table.Fields(2).AsString();
        record->FLevel = table.Fields(3).AsInteger();
        record->FParentId = table.Fields(4).AsInteger();
        record->NoteType = table.Fields(5).AsInteger();
        record->FIndex = table.Fields(6).AsInteger();
        return record;
      },
      [&tree](TTreeNode& node, TClientDataSet&) {
        const auto& data = static_cast<const TNodeData&>(*node.Data());
        int image = data.NoteType == kNoteCatalog ? 0 : 1;
        if (tree.Images && data.NoteType == kNoteFile) {
          auto icon = GetFileIcon(data.FFullName);
          image = icon ? tree.Images->AddIcon(std::move(icon)) : -1;
        }
        node.SetImageIndex(image);
        node.SetSelectedIndex(image);
        node.SetStateIndex(image);
      });
}

void FillTypeTree(TTreeModel& tree, TPubList& pubList) {
  FillTree(
      tree, pubList.DataSet(), "FTypeName",
      [](TClientDataSet& table) {
        auto record = std::make_unique<TTypeNodeData>();
        record->FId = table.Fields(0).AsInteger();
        record->FTypeName = table.Fields(1).AsString();
        record->FLevel = table.Fields(2).AsInteger();
        record->FParentId = table.Fields(3).AsInteger();
        record->FIndex = table.Fields(4).AsInteger();
        return record;
      },
      [](TTreeNode&, TClientDataSet&) {});
}

void GetDriveList(std::vector<std::string>& list) {
  list.clear();
  const std::string buffer = platform::Shell().LogicalDriveStrings(256);
  std::size_t at = 0;
  while (at < buffer.size() && buffer[at] != '\0') {
    const std::size_t end = buffer.find('\0', at);
    const std::size_t stop = end == std::string::npos ? buffer.size() : end;
    list.push_back(buffer.substr(at, stop - at));
    at = stop + 1;
  }
}

std::unique_ptr<platform::TIcon> GetFileIcon(const std::string& path) {
  if (!platform::Files().FileExists(path)) return nullptr;
  return platform::Shell().FileInfoIcon(path, platform::kShgfiIcon | platform::kShgfiSmallIcon);
}

std::string DeleteToRecycleBin(const std::string& path) {
  constexpr int kCancelled = 1223; // ERROR_CANCELLED, as some shells answer a "No"
  const platform::FileOperationResult result = platform::Shell().FileOperation(
      {platform::kFoDelete, path, "", platform::kFofAllowUndo | platform::kFofNoErrorUi});
  if (result.Done()) return {};
  if (result.aborted || result.code == kCancelled) return "the deletion was cancelled";
  // Gone all the same (inside a folder sent before it, or deleted elsewhere).
  platform::IFileSystem& files = platform::Files();
  if (!files.FileExists(path) && !files.DirectoryExists(path)) return {};
  switch (result.code) {
  case 5: return "access to it is denied";
  case 32: return "another program is using it";
  default: return "the shell could not delete it (error " + std::to_string(result.code) + ")";
  }
}

bool ShellCopyMove(const std::string& source, const std::string& target, bool move) {
  return platform::Shell().FileOperation({move ? platform::kFoMove : platform::kFoCopy, source, target, 0}).Done();
}
