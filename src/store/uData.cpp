#include "store/uData.h"

#include <algorithm>
#include <set>

#include "platform/AnsiText.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"
#include "store/UserCode.h"
#include "store/uDM.h"
#include "store/uFun.h"

namespace {

// Switches a table's filter off again however the walk under it ends.
class FilterGuard {
public:
  explicit FilterGuard(TClientDataSet& table) : table_(table) {}
  ~FilterGuard() {
    try {
      table_.SetFiltered(false);
    } catch (...) {
    }
  }
  FilterGuard(const FilterGuard&) = delete;
  FilterGuard& operator=(const FilterGuard&) = delete;

private:
  TClientDataSet& table_;
};

std::string AfterLastSeparator(const std::string& path) {
  const auto separator = path.find_last_of("\\:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string UpToLastSeparator(const std::string& path) {
  const auto separator = path.find_last_of("\\:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

void CollectSubtreeIds(const TTreeNode* node, std::vector<std::string>& list) {
  if (!node) return;
  list.push_back(std::to_string(node->Data() ? node->Data()->FId : 0));
  for (int i = 0; i < node->Count(); ++i) CollectSubtreeIds(node->Item(i), list);
}

std::int32_t ParentIdOf(const TTreeNode* node) { return node && node->Data() ? node->Data()->FId : 0; }

} // namespace

// --- TTableObject -----------------------------------------------------------

TTableObject::TTableObject() : dataSet_(std::make_unique<TClientDataSet>()) {}
TTableObject::~TTableObject() = default;

void TTableObject::CreateTable() { DefineTable(Columns()); }

void TTableObject::SaveToFile(const std::string& path) {
  EnsureUserFolder();
  if (DataSet().Active()) DataSet().SaveToFile(path);
}

void TTableObject::CheckColumns() const {
  const std::vector<TFieldDef> expected = Columns();
  const std::vector<TFieldDef>& found = DataSet().FieldDefs();
  const bool same = std::equal(expected.begin(), expected.end(), found.begin(), found.end(),
                               [](const TFieldDef& a, const TFieldDef& b) {
                                 return a.Name == b.Name && a.DataType == b.DataType && a.Size == b.Size &&
                                        a.Required == b.Required;
                               });
  if (!same) throw EDataSetError("the file holds another table, not the one expected here");
}

void TTableObject::ReadTableFile(const std::string& path) {
  TMemoryStream stream(platform::Files().ReadAllAtMost(path, kMaxTableFileSize));
  ReadTableImage(stream);
  if (stream.Remaining() != 0) {
    DataSet().Close();
    throw EDataSetError("The table data is damaged (unexpected data after the table)");
  }
}

void TTableObject::ReadTableImage(TMemoryStream& stream) {
  try {
    LoadFromStream(stream);
    CheckColumns();
  } catch (...) {
    DataSet().Close();
    throw;
  }
}

void TTableObject::FailLoad(TLoadFailure failure, std::string text) {
  DataSet().Close();
  loadFailure_ = failure;
  loadError_ = std::move(text);
}

bool TTableObject::LoadTableFile(const std::string& path) {
  loadError_.clear();
  loadFailure_ = TLoadFailure::None;
  platform::IFileSystem& files = platform::Files();
  if (!files.FileExists(path)) {
    CreateTable();
    return false;
  }
  const std::string unable = "Unable to read " + path + ": ";
  try {
    ReadTableFile(path);
    return true;
  } catch (const EFileTooLarge& error) {
    // Not a table of ours. Copying it would cost as much as reading it:
    // it is moved aside instead, so that a new table can take its name.
    try {
      const std::string aside = platform::MoveDamagedFileAside(files, path);
      FailLoad(TLoadFailure::Damaged, unable + AsSentence(error.Reason()) + " It was moved aside as " + aside + ".");
    } catch (const EFileError& moveError) {
      FailLoad(TLoadFailure::Unreadable, unable + AsSentence(error.Reason()) + " It could not be moved aside (" +
                                             moveError.what() + ") and was left as it is.");
    }
  } catch (const EFileError& error) {
    // Held by another program, no access: the file may well be whole.
    FailLoad(TLoadFailure::Unreadable,
             unable + AsSentence(error.Reason().empty() ? error.what() : error.Reason()) + " The file was left as it is.");
  } catch (const std::exception& error) {
    const std::string why = unable + AsSentence(error.what());
    // Keep the damaged file before anything could overwrite it.
    try {
      FailLoad(TLoadFailure::Damaged, why + " A copy of it was kept as " + platform::KeepDamagedCopy(files, path) + ".");
    } catch (const std::exception& copyError) {
      FailLoad(TLoadFailure::Unreadable,
               why + " No copy of it could be kept (" + copyError.what() + "), so it was left as it is.");
    }
  }
  return false;
}

bool TTableObject::LoadTableStream(TMemoryStream& stream) {
  if (stream.Size() == 0) {
    CreateTable();
    return false;
  }
  try {
    ReadTableImage(stream);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TTableObject::SaveTableStream(TMemoryStream& stream) {
  try {
    SaveToStream(stream);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TTableObject::AddSaveProblem(const std::string& text) {
  saveError_ += saveError_.empty() ? text : "\n" + text;
}

bool TTableObject::SaveTableFile(const std::string& path) {
  saveError_.clear();
  try {
    SaveToFile(path);
  } catch (const EStoreError& error) {
    // The account's folder could not be made.
    AddSaveProblem("Unable to write to " + path + ": " + error.what() + " (" + UserFolder() + ")");
  } catch (const std::exception& error) {
    AddSaveProblem(AsSentence(error.what()));
  }
  return saveError_.empty();
}

void TTableObject::DefineTable(const std::vector<TFieldDef>& columns) {
  TClientDataSet& table = DataSet();
  table.ClearFields();
  for (const TFieldDef& column : columns) table.AddFieldDef(column.Name, column.DataType, column.Size, column.Required);
  table.CreateDataSet();
}

// --- TTreeTable ---------------------------------------------------------------------

std::int32_t TTreeTable::GetMaxId() {
  TClientDataSet& table = DataSet();
  const int index = table.FieldByName("FId").Index();
  std::int32_t result = 0;
  for (table.First(); !table.Eof(); table.Next()) result = std::max(result, table.Fields(index).AsInteger());
  return result;
}

std::int32_t TTreeTable::GetMaxIndex(std::int32_t parentId) {
  TClientDataSet& table = DataSet();
  table.SetFilter("FParentId=" + std::to_string(parentId));
  FilterGuard guard(table);
  table.SetFiltered(true);
  const int index = table.FieldByName("FIndex").Index();
  std::int32_t result = 0;
  for (table.First(); !table.Eof(); table.Next()) result = std::max(result, table.Fields(index).AsInteger());
  return result;
}

std::int32_t TTreeTable::GetLevel(std::int32_t id) {
  TClientDataSet& table = DataSet();
  if (!table.Locate("FId", id)) return -1;
  return table.FieldByName("FLevel").AsInteger();
}

void TTreeTable::CollectIds(TTreeNode* node, std::vector<std::string>& list) const { CollectSubtreeIds(node, list); }

TTreeNode* TTreeTable::FindNode(std::int32_t id) const { return tree_ ? FindTreeNode(id, *tree_) : nullptr; }

TTreeTable::TNewRow TTreeTable::PlaceNewRow(TTreeNode* parentNode) {
  TNewRow row{};
  row.parentId = ParentIdOf(parentNode);
  row.id = GetMaxId() + 1;
  row.index = GetMaxIndex(row.parentId);
  row.level = GetLevel(row.parentId) + 1;
  return row;
}

TTreeNode* TTreeTable::AddTreeNode(TTreeNode* parentNode, const std::string& text,
                                   std::unique_ptr<TNodeRecord> record) {
  return tree_ ? tree_->Items.AddChild(parentNode, text, std::move(record)) : nullptr;
}

bool TTreeTable::DeleteSubtree(TTreeNode* node, const std::function<void(std::int32_t)>& beforeDelete) {
  if (!node) return false;
  std::vector<std::string> ids;
  CollectIds(node, ids);
  TClientDataSet& table = DataSet();
  for (const std::string& text : ids) {
    const std::int32_t id = std::stoi(text);
    if (!table.Locate("FId", id)) continue;
    beforeDelete(id);
    table.Locate("FId", id); // the handler may have moved the cursor
    table.Delete();
  }
  if (tree_) tree_->Items.Delete(node);
  return true;
}

// --- TUserList ----------------------------------------------------------------

std::vector<TFieldDef> TUserList::Columns() const {
  return {{"FCode", TFieldType::String, 20, false}, {"FPwd", TFieldType::String, 32, false}};
}

void TUserList::SaveToFile(const std::string& path) {
  try {
    EnsureUserFolder();
  } catch (const EStoreError& error) {
    AddSaveProblem(std::string(error.what()) + " (" + UserFolder() + ")");
  }
  if (DataSet().Active()) DataSet().SaveToFile(path);
}

bool TUserList::UserExists(const std::string& code) { return DataSet().Locate("FCode", code); }

std::string TUserList::CodeDifferingInCase(const std::string& code) {
  TClientDataSet& table = DataSet();
  if (!table.Active()) return {};
  const int column = table.FieldByName("FCode").Index();
  for (int recNo = 1; recNo <= table.RecordCount(); ++recNo) {
    const TFieldValue& value = table.ValueAt(recNo, column);
    const std::string* stored = std::get_if<std::string>(&value);
    if (stored && *stored != code && platform::SameFileName(*stored, code)) return *stored;
  }
  return {};
}

bool TUserList::CheckUser(const std::string& code, const std::string& pwd) {
  return UserExists(code) && DataSet().FieldByName("FPwd").AsString() == pwd;
}

bool TUserList::AddUser(const std::string& code, const std::string& pwd) {
  if (!UserCodeProblem(code).empty()) return false;
  if (UserExists(code) || !CodeDifferingInCase(code).empty()) return false;
  DataSet().InsertRecord({code, pwd});
  return true;
}

bool TUserList::ChangePassword(const std::string& code, const std::string& oldPwd, const std::string& newPwd) {
  if (!UserExists(code)) return false;
  TClientDataSet& table = DataSet();
  if (table.FieldByName("FPwd").AsString() != oldPwd) return false;
  table.Edit();
  table.FieldByName("FPwd").SetAsString(newPwd);
  table.Post();
  return true;
}

// --- TFileList ------------------------------------------------------------------

std::vector<TFieldDef> TFileList::Columns() const {
  return {{"FId", TFieldType::Integer, 0, true},        {"FShortName", TFieldType::String, 256, false},
          {"FFullName", TFieldType::String, 256, false}, {"FLevel", TFieldType::Integer, 0, true},
          {"FParentId", TFieldType::Integer, 0, true},   {"NoteType", TFieldType::Integer, 0, true},
          {"FIndex", TFieldType::Integer, 0, true}};
}

TTreeNode* TFileList::AddNode(TTreeNode* parentNode, const std::string& path, std::int32_t kind) {
  const TNewRow row = PlaceNewRow(parentNode);
  const std::string shortName = kind == kNoteCatalog ? path : AfterLastSeparator(path);
  TClientDataSet& table = DataSet();
  table.AppendRecord({row.id, shortName, path, row.level, row.parentId, kind, row.index});

  // The record holds what the row holds (texts cut to their columns).
  auto record = std::make_unique<TNodeData>();
  record->FId = row.id;
  record->FShortName = table.Fields(1).AsString();
  record->FFullName = table.Fields(2).AsString();
  record->FLevel = row.level;
  record->FParentId = row.parentId;
  record->NoteType = kind;
  record->FIndex = row.index;
  const std::string text = record->FShortName;
  return AddTreeNode(parentNode, text, std::move(record));
}

TTreeNode* TFileList::AddCatalog(TTreeNode* parentNode, const std::string& name) {
  TTreeNode* node = AddNode(parentNode, name, kNoteCatalog);
  if (node) {
    node->SetImageIndex(0);
    node->SetSelectedIndex(0);
    node->SetStateIndex(0);
  }
  return node;
}

void TFileList::OpenNode(TTreeNode* node, bool containingFolder) {
  const auto* data = node ? dynamic_cast<const TNodeData*>(node->Data()) : nullptr;
  if (!data || data->NoteType == kNoteCatalog) return;
  TClientDataSet& table = DataSet();
  if (!table.Locate("FId", data->FId)) return;
  std::string path = table.FieldByName("FFullName").AsString();
  if (containingFolder) path = UpToLastSeparator(path);
  platform::Shell().Execute({"", path, "", "", platform::kSwShowNoActivate});
}

bool TFileList::DeleteNode(TTreeNode* node, bool fromDisk, std::vector<TDeleteFailure>* failures) {
  if (!node) return false;
  if (!fromDisk) return DeleteSubtree(node, [](std::int32_t) {});

  // The files and folders go first; an entry whose file stays keeps its
  // place, and so do the catalogs above it.
  std::set<const TTreeNode*> kept;
  std::vector<TTreeNode*> entries; // depth first, parents first
  std::function<void(TTreeNode*)> collect = [&entries, &collect](TTreeNode* at) {
    entries.push_back(at);
    for (int i = 0; i < at->Count(); ++i) collect(at->Item(i));
  };
  collect(node);
  for (TTreeNode* entry : entries) {
    const auto* data = dynamic_cast<const TNodeData*>(entry->Data());
    if (!data || data->NoteType == kNoteCatalog) continue;
    const std::string why = DeleteToRecycleBin(data->FFullName);
    if (why.empty()) continue;
    if (failures) failures->push_back({data->FFullName, why});
    for (const TTreeNode* up = entry; up; up = up == node ? nullptr : up->Parent()) kept.insert(up);
  }
  if (kept.empty()) return DeleteSubtree(node, [](std::int32_t) {});
  // Remove every subtree that holds nothing kept, from the top down.
  std::vector<TTreeNode*> walk{node};
  while (!walk.empty()) {
    TTreeNode* parent = walk.back();
    walk.pop_back();
    std::vector<TTreeNode*> children;
    for (int i = 0; i < parent->Count(); ++i) children.push_back(parent->Item(i));
    for (TTreeNode* child : children) {
      if (kept.count(child)) {
        walk.push_back(child);
      } else {
        DeleteSubtree(child, [](std::int32_t) {});
      }
    }
  }
  return false;
}

// --- TPubList -------------------------------------------------------------------

std::vector<TFieldDef> TPubList::Columns() const {
  return {{"FId", TFieldType::Integer, 0, true},
          {"FTypeName", TFieldType::String, 256, false},
          {"FLevel", TFieldType::Integer, 0, true},
          {"FParentId", TFieldType::Integer, 0, true},
          {"FIndex", TFieldType::Integer, 0, true}};
}


TTreeNode* TPubList::AddType(TTreeNode* parentNode, const std::string& name) {
  const TNewRow row = PlaceNewRow(parentNode);
  TClientDataSet& table = DataSet();
  table.AppendRecord({row.id, name, row.level, row.parentId, row.index});

  auto record = std::make_unique<TTypeNodeData>();
  record->FId = row.id;
  record->FTypeName = table.Fields(1).AsString();
  record->FLevel = row.level;
  record->FParentId = row.parentId;
  record->FIndex = row.index;
  const std::string text = record->FTypeName;
  return AddTreeNode(parentNode, text, std::move(record));
}

bool TPubList::DeleteType(TTreeNode* node) {
  return DeleteSubtree(node, [this](std::int32_t id) {
    if (OnDeleteType) OnDeleteType(id);
  });
}

// --- TPubData -------------------------------------------------------------------

TPubData::TPubData() {
  DataSet().AfterInsert = [this](TClientDataSet& table) { DoAfterInsert(table); };
}

std::vector<TFieldDef> TPubData::Columns() const {
  return {{"FTypeId", TFieldType::Integer, 0, true},
          {"FTitle", TFieldType::String, 256, false},
          {"FURL", TFieldType::String, 256, false},
          {"FUser", TFieldType::String, 256, false},
          {"FPassword", TFieldType::String, 256, false}};
}


void TPubData::DoAfterInsert(TClientDataSet& table) { table.FieldByName("FTypeId").SetAsInteger(TypeId); }

void TPubData::SelectType(std::int32_t typeId) {
  TypeId = typeId;
  TClientDataSet& table = DataSet();
  table.SetFiltered(false);
  table.SetFilter("FTypeId=" + std::to_string(typeId));
  table.SetFiltered(true);
}

void TPubData::DeleteByType(std::int32_t typeId) {
  SelectType(typeId);
  TClientDataSet& table = DataSet();
  FilterGuard guard(table);
  while (!table.Eof()) table.Delete();
}
