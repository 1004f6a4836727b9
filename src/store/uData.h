#pragma once
// The four tables of the program and the records their tree nodes carry.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/TreeNodes.h"
#include "store/MemoryStream.h"
#include "store/TableEngine.h"

// Record of a node of the main tree: the values of its catalog entry row.
struct TNodeData : TNodeRecord {
  std::string FShortName;
  std::string FFullName;
  std::int32_t FLevel = 0;
  std::int32_t FParentId = 0;
  std::int32_t NoteType = 0;
  std::int32_t FIndex = 0;
};

// Record of a node of the password catalog tree.
struct TTypeNodeData : TNodeRecord {
  std::string FTypeName;
  std::int32_t FLevel = 0;
  std::int32_t FParentId = 0;
  std::int32_t FIndex = 0;
};

// Kinds of catalog entry.
constexpr std::int32_t kNoteCatalog = 1;
constexpr std::int32_t kNoteFolder = 2;
constexpr std::int32_t kNoteFile = 3;

// What every table class shares: the owned table, and what happened when
// its file could not be read.
class TTableObject {
public:
  TTableObject();
  virtual ~TTableObject();
  TTableObject(const TTableObject&) = delete;
  TTableObject& operator=(const TTableObject&) = delete;

  TClientDataSet& DataSet() { return *dataSet_; }
  const TClientDataSet& DataSet() const { return *dataSet_; }

  virtual void CreateTable() = 0;

  // After a failed load of an existing file: the message for the user,
  // naming the file and the copy kept of it; empty otherwise.
  const std::string& LoadErrorText() const { return loadError_; }

protected:
  // The common load of a table from a file, as every LoadData does it.
  bool LoadTableFile(const std::string& path);
  bool SaveTableFile(const std::string& path);
  virtual void LoadFromFile(const std::string& path);
  virtual void SaveToFile(const std::string& path);
  // The stream forms: an empty stream counts as an absent file.
  bool LoadTableStream(TMemoryStream& stream);
  bool SaveTableStream(TMemoryStream& stream);
  virtual void LoadFromStream(TMemoryStream& stream) { DataSet().LoadFromStream(stream); }
  virtual void SaveToStream(TMemoryStream& stream) { DataSet().SaveToStream(stream); }
  void DefineTable(const std::vector<TFieldDef>& columns);

private:
  std::unique_ptr<TClientDataSet> dataSet_;
  std::string loadError_;
};

class TUserList : public TTableObject {
public:
  TUserList() = default;
  void CreateTable() override;
  bool LoadData(const std::string& path) { return LoadTableFile(path); }
  bool SaveData(const std::string& path) { return SaveTableFile(path); }
  bool UserExists(const std::string& code);
  bool CheckUser(const std::string& code, const std::string& pwd);
  // Refuses a code that exists or cannot name an account folder.
  bool AddUser(const std::string& code, const std::string& pwd);
  bool ChangePassword(const std::string& code, const std::string& oldPwd, const std::string& newPwd);
};

// A flat table whose rows form a tree ("FId", "FParentId", "FLevel",
// "FIndex"), kept in step with the nodes of a tree view.
class TTreeTable : public TTableObject {
public:
  // The tree is not owned; it may be none for work on the table alone.
  explicit TTreeTable(TTreeModel* tree) : tree_(tree) {}

  // Largest "FId", 0 for an empty table.
  virtual std::int32_t GetMaxId();
  // Largest "FIndex" among the children of parentId, 0 for none.
  virtual std::int32_t GetMaxIndex(std::int32_t parentId);
  // "FLevel" of the row of id (now the current row), -1 for none.
  virtual std::int32_t GetLevel(std::int32_t id);

  // The ids of node and of all below it, depth first, parents first.
  void CollectIds(TTreeNode* node, std::vector<std::string>& list) const;
  TTreeNode* FindNode(std::int32_t id) const;
  TTreeModel* Tree() const { return tree_; }
  // Forget the tree (its window is gone); the table stays usable.
  void DetachTree() { tree_ = nullptr; }

protected:
  struct TNewRow {
    std::int32_t parentId, id, index, level;
  };
  // Where a new row under parentNode goes.
  TNewRow PlaceNewRow(TTreeNode* parentNode);
  // Adds the node for a new row; none without a tree.
  TTreeNode* AddTreeNode(TTreeNode* parentNode, const std::string& text, std::unique_ptr<TNodeRecord> record);
  // Deletes the rows of node's subtree, running beforeDelete on each row
  // found first, then the node with its subtree.
  bool DeleteSubtree(TTreeNode* node, const std::function<void(std::int32_t)>& beforeDelete);

private:
  TTreeModel* tree_;
};

class TFileList : public TTreeTable {
public:
  explicit TFileList(TTreeModel* tree) : TTreeTable(tree) {}
  void CreateTable() override;
  bool LoadData(const std::string& path) { return LoadTableFile(path); }
  bool SaveData(const std::string& path) { return SaveTableFile(path); }

  TTreeNode* AddNode(TTreeNode* parentNode, const std::string& path, std::int32_t kind);
  TTreeNode* AddCatalog(TTreeNode* parentNode, const std::string& name);
  void OpenNode(TTreeNode* node, bool containingFolder);
  bool DeleteNode(TTreeNode* node, bool fromDisk);
};

class TPubList : public TTreeTable {
public:
  explicit TPubList(TTreeModel* tree) : TTreeTable(tree) {}
  void CreateTable() override;
  bool LoadData(TMemoryStream& stream) { return LoadTableStream(stream); }
  bool SaveData(TMemoryStream& stream) { return SaveTableStream(stream); }

  TTreeNode* AddType(TTreeNode* parentNode, const std::string& name);
  bool DeleteType(TTreeNode* node);

  std::function<void(std::int32_t)> OnDeleteType;
  std::function<void(std::int32_t)> OnSelectType;
};

class TPubData : public TTableObject {
public:
  TPubData();
  void CreateTable() override;
  bool LoadData(TMemoryStream& stream) { return LoadTableStream(stream); }
  bool SaveData(TMemoryStream& stream) { return SaveTableStream(stream); }

  virtual void DoAfterInsert(TClientDataSet& table);

  void SelectType(std::int32_t typeId);
  void DeleteByType(std::int32_t typeId);
  std::int32_t TypeId = 0;
};
