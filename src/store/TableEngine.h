#pragma once
// The in-memory table every table class of the program holds: column
// definitions, rows in table order, a cursor over a filtered and sorted
// view of them, browse/edit/insert states, and a file and stream form.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Errors.h"
#include "store/MemoryStream.h"

class EDataSetError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};

enum class TFieldType : std::uint8_t { String = 1, Integer = 2 };

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::String;
  int Size = 0; // characters, for string columns
  bool Required = false;
};

// Null, a 32-bit integer or single-byte text.
using TFieldValue = std::variant<std::monostate, std::int32_t, std::string>;
using TRecord = std::vector<TFieldValue>;

enum class TDataSetState { Inactive, Browse, Edit, Insert };

// What changed, for the controls that show the table.
enum class TDataEvent { DataSetChange, RecordChange, Scroll, StateChange };

class TClientDataSet;
struct TableImage;
struct TPackedRow;
struct TPackedRowDelete;

class IDataSetObserver {
public:
  virtual ~IDataSetObserver() = default;
  virtual void DataEvent(TClientDataSet& dataSet, TDataEvent event) = 0;
};

// One column of the current row (or of the row being edited).
class TField {
public:
  TField(TClientDataSet& dataSet, int index) : dataSet_(&dataSet), index_(index) {}
  const TFieldDef& Def() const;
  const std::string& FieldName() const { return Def().Name; }
  int Index() const { return index_; }
  bool IsNull() const;
  std::int32_t AsInteger() const;
  std::string AsString() const;
  void SetAsInteger(std::int32_t value);
  void SetAsString(const std::string& value);
  void Clear();

private:
  TFieldValue Value() const;
  TClientDataSet* dataSet_;
  int index_;
};

class TClientDataSet {
public:
  TClientDataSet();
  ~TClientDataSet();
  TClientDataSet(const TClientDataSet&) = delete;
  TClientDataSet& operator=(const TClientDataSet&) = delete;

  // Structure.
  void ClearFields();
  void AddFieldDef(std::string name, TFieldType type, int size, bool required);
  const std::vector<TFieldDef>& FieldDefs() const { return defs_; }
  int FieldCount() const { return static_cast<int>(defs_.size()); }
  int FindField(std::string_view name) const; // -1 when there is none
  void CreateDataSet();
  void Close();
  bool Active() const { return state_ != TDataSetState::Inactive; }

  // Navigation over the visible rows.
  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return view_.empty(); }
  int RecordCount() const { return static_cast<int>(view_.size()); }
  int RecNo() const; // 1-based; 0 when empty
  void SetRecNo(int recNo);
  // Moves to the first visible row whose column equals the value exactly;
  // the current row changes only when one is found.
  bool Locate(std::string_view field, const TFieldValue& value);

  TField Fields(int index);
  TField FieldByName(std::string_view name);
  // A visible row's value without moving the cursor (for grids).
  TFieldValue ValueAt(int recNo, int column) const;

  // Editing.
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void AppendRecord(const std::vector<TFieldValue>& values);
  void InsertRecord(const std::vector<TFieldValue>& values);
  TDataSetState State() const { return state_; }

  // Filter of the form "Column=number".
  const std::string& Filter() const { return filterText_; }
  void SetFilter(std::string filter);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);

  // A filter of the program's own, on top of the filter text: only rows it
  // accepts are visible; none to show every row again.
  using TRecordFilter = std::function<bool(const TRecord&)>;
  void SetRecordFilter(TRecordFilter accept);
  bool HasRecordFilter() const { return static_cast<bool>(recordFilter_); }

  // A mark of the current row, to come back to it when the view changed;
  // none for an empty view.
  using TBookmark = const void*;
  TBookmark GetBookmark() const;
  // Makes the marked row current; false when it is not visible now.
  bool GotoBookmark(TBookmark bookmark);

  // Temporary order by columns separated by ";" ("" is table order).
  const std::string& IndexFieldNames() const { return indexFieldNames_; }
  void SetIndexFieldNames(std::string names);

  // Runs when a new row starts, before any value is entered.
  std::function<void(TClientDataSet&)> AfterInsert;
  void AddObserver(IDataSetObserver* observer);
  void RemoveObserver(IDataSetObserver* observer);

  // Persistence: the stream form starts at the stream's position and
  // leaves bytes after it alone; a load replaces columns and rows and
  // raises EDataSetError, leaving the table closed, on damaged data.
  void SaveToStream(TMemoryStream& stream) const;
  void LoadFromStream(TMemoryStream& stream);
  void SaveToFile(const std::string& path) const;
  void LoadFromFile(const std::string& path);

private:
  friend class TField;
  struct FilterCondition {
    int column = -1;
    std::int32_t value = 0;
  };

  void Adopt(TableImage image);
  std::string Image() const;
  void CheckActive() const;
  void CheckBrowseMode();
  void CheckEditing() const;
  TPackedRow& CurrentRow();
  TFieldValue CurrentValue(int column) const;
  void SetValue(int column, TFieldValue value);
  TFieldValue Normalized(int column, TFieldValue value) const;
  void StartNew(bool append);
  void AddRecord(bool append, const std::vector<TFieldValue>& values);
  bool PlainView() const;
  bool Visible(const TPackedRow& row) const;
  void RebuildView(const TPackedRow* keep);
  std::size_t StoragePosition(const TPackedRow* row) const;
  void SetState(TDataSetState state);
  void Notify(TDataEvent event);

  std::vector<TFieldDef> defs_;
  // Rows in their stored form: a row is one allocation, loaded and saved
  // by copying its bytes.
  std::vector<std::unique_ptr<TPackedRow, TPackedRowDelete>> rows_; // table order
  std::vector<TPackedRow*> view_;                                    // visible rows, in view order
  int cursor_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  TDataSetState state_ = TDataSetState::Inactive;
  TRecord buffer_;       // the row being edited or inserted
  bool appending_ = false;

  std::string filterText_;
  bool filtered_ = false;
  FilterCondition filter_;
  bool filterActive_ = false;
  TRecordFilter recordFilter_;
  std::string indexFieldNames_;
  std::vector<int> sortColumns_;

  std::vector<IDataSetObserver*> observers_;
};
