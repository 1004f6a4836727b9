#pragma once
// The four tables of the program and the records their tree nodes carry.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/TreeNodes.h"
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

// Plain table files and password books larger than this are not tables of
// ours: they are refused before they are read.
constexpr std::uint64_t kMaxTableFileSize = 64u * 1024 * 1024;

// Why the file of a table did not load.
enum class TLoadFailure {
  None,
  // Damaged, another table, or too large: a copy was kept (or the file moved
  // aside), so the table may start empty and be saved over it.
  Damaged,
  // It could not be read (held by another program, no access), or no copy
  // of it could be kept: nothing may be written over it.
  Unreadable,
};

// What every table class shares: the owned table, its columns, and what
// happened when its file could not be read or written.
class TTableObject {
public:
  TTableObject();
  virtual ~TTableObject();
  TTableObject(const TTableObject&) = delete;
  TTableObject& operator=(const TTableObject&) = delete;

  TClientDataSet& DataSet() { return *dataSet_; }
  const TClientDataSet& DataSet() const { return *dataSet_; }

  // The columns of the table, in order, as a new file gets them.
  virtual std::vector<TFieldDef> Columns() const = 0;
  // An empty, open table with those columns.
  virtual void CreateTable();

  // Reads a table file exactly as LoadData does, but raises what is wrong
  // with it instead of keeping a copy (for checking a file).
  void ReadTableFile(const std::string& path);
  // Reads a table image from the stream's position and checks its columns.
  void ReadTableImage(TMemoryStream& stream);

  // After a failed load of an existing file: the message for the user,
  // naming the file and why; empty otherwise.
  const std::string& LoadErrorText() const { return loadError_; }
  TLoadFailure LoadFailure() const { return loadFailure_; }
  // After a failed or partial save: the message for the user, naming the
  // file or folder and the reason; empty after a save that went well.
  const std::string& SaveErrorText() const { return saveError_; }

protected:
  // The common load of a table from a file, as every LoadData does it.
  bool LoadTableFile(const std::string& path);
  bool SaveTableFile(const std::string& path);
  virtual void SaveToFile(const std::string& path);
  // The stream forms: an empty stream counts as an absent file.
  bool LoadTableStream(TMemoryStream& stream);
  bool SaveTableStream(TMemoryStream& stream);
  virtual void LoadFromStream(TMemoryStream& stream) { DataSet().LoadFromStream(stream); }
  virtual void SaveToStream(TMemoryStream& stream) { DataSet().SaveToStream(stream); }
  void DefineTable(const std::vector<TFieldDef>& columns);
  // Raises EDataSetError when the loaded table is not this class's table.
  void CheckColumns() const;
  // A part of the save that went wrong although the file was written.
  void AddSaveProblem(const std::string& text);

private:
  void FailLoad(TLoadFailure failure, std::string text);

  std::unique_ptr<TClientDataSet> dataSet_;
  std::string loadError_;
  TLoadFailure loadFailure_ = TLoadFailure::None;
  std::string saveError_;
};

class TUserList : public TTableObject {
public:
  TUserList() = default;
  std::vector<TFieldDef> Columns() const override;
  bool LoadData(const std::string& path) { return LoadTableFile(path); }
  bool SaveData(const std::string& path) { return SaveTableFile(path); }

protected:
  // The account table lies in the program folder: it is written even when
  // the account's folder cannot be made.
  void SaveToFile(const std::string& path) override;

public:
  bool UserExists(const std::string& code);
  // The stored code that differs from code only in letter case; empty when
  // there is none (the same code is not such a one).
  std::string CodeDifferingInCase(const std::string& code);
  bool CheckUser(const std::string& code, const std::string& pwd);
  // Refuses a code that exists, differs from one only in letter case (both
  // would name one folder), or cannot name an account folder.
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

// An entry whose file or folder could not be sent to the recycle bin.
struct TDeleteFailure {
  std::string path;
  std::string reason;
};

class TFileList : public TTreeTable {
public:
  explicit TFileList(TTreeModel* tree) : TTreeTable(tree) {}
  std::vector<TFieldDef> Columns() const override;
  bool LoadData(const std::string& path) { return LoadTableFile(path); }
  bool SaveData(const std::string& path) { return SaveTableFile(path); }

  TTreeNode* AddNode(TTreeNode* parentNode, const std::string& path, std::int32_t kind);
  TTreeNode* AddCatalog(TTreeNode* parentNode, const std::string& name);
  void OpenNode(TTreeNode* node, bool containingFolder);
  // Removes node and all below it. With fromDisk the files and folders
  // they name go to the recycle bin first; an entry whose file or folder
  // does not go stays, with the catalogs above it, and is listed in
  // failures with the reason. True when everything was removed.
  bool DeleteNode(TTreeNode* node, bool fromDisk, std::vector<TDeleteFailure>* failures = nullptr);
};

class TPubList : public TTreeTable {
public:
  explicit TPubList(TTreeModel* tree) : TTreeTable(tree) {}
  std::vector<TFieldDef> Columns() const override;
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
  std::vector<TFieldDef> Columns() const override;
  bool LoadData(TMemoryStream& stream) { return LoadTableStream(stream); }
  bool SaveData(TMemoryStream& stream) { return SaveTableStream(stream); }

  virtual void DoAfterInsert(TClientDataSet& table);

  void SelectType(std::int32_t typeId);
  void DeleteByType(std::int32_t typeId);
  std::int32_t TypeId = 0;
};
