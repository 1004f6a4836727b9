#include "store/TableEngine.h"

#include <algorithm>
#include <charconv>

#include "platform/AtomicFile.h"
#include "platform/Services.h"
#include "store/TableImage.h"

namespace {

bool ParseInt32(std::string_view text, std::int32_t& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

// Nulls first, then numbers by value and text by bytes; a column holds
// values of its own type only.
int CompareValues(const TPackedRow& a, const TPackedRow& b, std::size_t column, TFieldType type) {
  const bool nullA = a.IsNull(column), nullB = b.IsNull(column);
  if (nullA || nullB) return nullA == nullB ? 0 : (nullA ? -1 : 1);
  if (type == TFieldType::Integer) {
    const std::int32_t x = a.Integer(column), y = b.Integer(column);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  const int order = a.Text(column).compare(b.Text(column));
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// Whether a row's value equals a value of the column's own type.
bool ValueEquals(const TPackedRow& row, std::size_t column, const TFieldValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return row.IsNull(column);
  if (row.IsNull(column)) return false;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return row.Integer(column) == *number;
  return row.Text(column) == std::get<std::string>(value);
}

} // namespace

// --- TField -----------------------------------------------------------------

const TFieldDef& TField::Def() const { return dataSet_->defs_.at(static_cast<std::size_t>(index_)); }

TFieldValue TField::Value() const { return dataSet_->CurrentValue(index_); }

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(Value()); }

std::int32_t TField::AsInteger() const {
  const TFieldValue value = Value();
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::int32_t number = 0;
    if (!ParseInt32(*text, number)) throw EDataSetError("'" + *text + "' is not a valid integer value");
    return number;
  }
  return 0;
}

std::string TField::AsString() const {
  TFieldValue value = Value();
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  if (auto* text = std::get_if<std::string>(&value)) return std::move(*text);
  return {};
}

void TField::SetAsInteger(std::int32_t value) { dataSet_->SetValue(index_, value); }
void TField::SetAsString(const std::string& value) { dataSet_->SetValue(index_, value); }
void TField::Clear() { dataSet_->SetValue(index_, TFieldValue{}); }

// --- TClientDataSet: structure ------------------------------------------------

TClientDataSet::TClientDataSet() = default;
TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::ClearFields() {
  Close();
  defs_.clear();
}

void TClientDataSet::AddFieldDef(std::string name, TFieldType type, int size, bool required) {
  if (Active()) throw EDataSetError("Cannot perform this operation on an open dataset");
  if (name.empty() || FindField(name) >= 0) throw EDataSetError("Duplicate or empty field name '" + name + "'");
  if (type == TFieldType::String && (size < 1 || size > kMaxStringFieldSize))
    throw EDataSetError("Invalid size for field '" + name + "'");
  defs_.push_back({std::move(name), type, type == TFieldType::String ? size : 0, required});
}

int TClientDataSet::FindField(std::string_view name) const {
  for (std::size_t i = 0; i < defs_.size(); ++i)
    if (defs_[i].Name == name) return static_cast<int>(i);
  return -1;
}

void TClientDataSet::CreateDataSet() {
  if (defs_.empty()) throw EDataSetError("Missing data provider or data packet");
  Close();
  SetState(TDataSetState::Browse);
  RebuildView(nullptr);
  Notify(TDataEvent::DataSetChange);
}

void TClientDataSet::Close() {
  rows_.clear();
  view_.clear();
  buffer_.clear();
  cursor_ = 0;
  eof_ = bof_ = true;
  if (Active()) {
    SetState(TDataSetState::Inactive);
    Notify(TDataEvent::DataSetChange);
  }
}

void TClientDataSet::CheckActive() const {
  if (!Active()) throw EDataSetError("Cannot perform this operation on a closed dataset");
}

void TClientDataSet::CheckBrowseMode() {
  CheckActive();
  if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) Post();
}

void TClientDataSet::CheckEditing() const {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
    throw EDataSetError("Dataset not in edit or insert mode");
}

// --- navigation ---------------------------------------------------------------

void TClientDataSet::First() {
  CheckBrowseMode();
  cursor_ = 0;
  bof_ = true;
  eof_ = view_.empty();
  Notify(TDataEvent::Scroll);
}

void TClientDataSet::Last() {
  CheckBrowseMode();
  cursor_ = view_.empty() ? 0 : static_cast<int>(view_.size()) - 1;
  eof_ = true;
  bof_ = view_.empty();
  Notify(TDataEvent::Scroll);
}

void TClientDataSet::Next() {
  CheckBrowseMode();
  if (cursor_ + 1 < static_cast<int>(view_.size())) {
    ++cursor_;
    bof_ = false;
    Notify(TDataEvent::Scroll);
  } else {
    eof_ = true;
  }
}

void TClientDataSet::Prior() {
  CheckBrowseMode();
  if (cursor_ > 0) {
    --cursor_;
    eof_ = false;
    Notify(TDataEvent::Scroll);
  } else {
    bof_ = true;
  }
}

int TClientDataSet::RecNo() const { return view_.empty() ? 0 : cursor_ + 1; }

void TClientDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  if (recNo < 1 || recNo > static_cast<int>(view_.size())) return;
  cursor_ = recNo - 1;
  eof_ = bof_ = false;
  Notify(TDataEvent::Scroll);
}

bool TClientDataSet::Locate(std::string_view field, const TFieldValue& value) {
  CheckBrowseMode();
  const int column = FindField(field);
  if (column < 0) throw EDataSetError("Field '" + std::string(field) + "' not found");
  if (std::holds_alternative<std::monostate>(value)) return false;
  // The whole value is compared: text longer than the column holds matches nothing.
  TFieldValue wanted = value;
  if (defs_[static_cast<std::size_t>(column)].DataType == TFieldType::String) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) wanted = std::to_string(*number);
  } else if (const auto* text = std::get_if<std::string>(&value)) {
    std::int32_t number = 0;
    if (!ParseInt32(*text, number)) return false;
    wanted = number;
  }
  for (std::size_t i = 0; i < view_.size(); ++i) {
    if (ValueEquals(*view_[i], static_cast<std::size_t>(column), wanted)) {
      cursor_ = static_cast<int>(i);
      eof_ = bof_ = false;
      Notify(TDataEvent::Scroll);
      return true;
    }
  }
  return false;
}

TField TClientDataSet::Fields(int index) {
  if (index < 0 || index >= FieldCount()) throw EDataSetError("Field index out of range");
  return TField(*this, index);
}

TField TClientDataSet::FieldByName(std::string_view name) {
  const int index = FindField(name);
  if (index < 0) throw EDataSetError("Field '" + std::string(name) + "' not found");
  return TField(*this, index);
}

TFieldValue TClientDataSet::ValueAt(int recNo, int column) const {
  if (recNo < 1 || recNo > static_cast<int>(view_.size()) || column < 0 || column >= FieldCount())
    throw EDataSetError("Record or field index out of range");
  const auto c = static_cast<std::size_t>(column);
  return view_[static_cast<std::size_t>(recNo - 1)]->Value(c, defs_[c].DataType);
}

TFieldValue TClientDataSet::CurrentValue(int column) const {
  CheckActive();
  if (column < 0 || column >= FieldCount()) throw EDataSetError("Field index out of range");
  const auto c = static_cast<std::size_t>(column);
  if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) return buffer_[c];
  if (view_.empty()) return {};
  return view_[static_cast<std::size_t>(cursor_)]->Value(c, defs_[c].DataType);
}

TPackedRow& TClientDataSet::CurrentRow() {
  if (view_.empty()) throw EDataSetError("Cannot perform this operation on an empty dataset");
  return *view_[static_cast<std::size_t>(cursor_)];
}

TFieldValue TClientDataSet::Normalized(int column, TFieldValue value) const {
  const TFieldDef& def = defs_[static_cast<std::size_t>(column)];
  if (std::holds_alternative<std::monostate>(value)) return value;
  if (def.DataType == TFieldType::String) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) value = std::to_string(*number);
    auto& text = std::get<std::string>(value);
    if (text.size() > static_cast<std::size_t>(def.Size)) text.resize(static_cast<std::size_t>(def.Size));
    return value;
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::int32_t number = 0;
    if (!ParseInt32(*text, number)) throw EDataSetError("'" + *text + "' is not a valid integer value");
    return number;
  }
  return value;
}

void TClientDataSet::SetValue(int column, TFieldValue value) {
  CheckActive();
  CheckEditing();
  buffer_.at(static_cast<std::size_t>(column)) = Normalized(column, std::move(value));
  Notify(TDataEvent::RecordChange);
}

// --- editing ----------------------------------------------------------------------

void TClientDataSet::StartNew(bool append) {
  CheckBrowseMode();
  buffer_.assign(defs_.size(), TFieldValue{});
  appending_ = append || view_.empty();
  SetState(TDataSetState::Insert);
  if (AfterInsert) AfterInsert(*this);
}

void TClientDataSet::Append() { StartNew(true); }
void TClientDataSet::Insert() { StartNew(false); }

void TClientDataSet::Edit() {
  CheckActive();
  if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) return;
  buffer_ = UnpackRow(CurrentRow(), defs_);
  SetState(TDataSetState::Edit);
}

void TClientDataSet::Post() {
  CheckActive();
  CheckEditing();
  for (std::size_t i = 0; i < defs_.size(); ++i)
    if (defs_[i].Required && std::holds_alternative<std::monostate>(buffer_[i]))
      throw EDataSetError("Field '" + defs_[i].Name + "' must have a value");

  if (state_ == TDataSetState::Edit) {
    // The row keeps its place in the table; its stored form is made anew.
    TPackedRow* old = &CurrentRow();
    TPackedRowPtr changed = PackRow(buffer_);
    TPackedRow* row = changed.get();
    rows_[StoragePosition(old)] = std::move(changed);
    view_[static_cast<std::size_t>(cursor_)] = row;
    buffer_.clear();
    SetState(TDataSetState::Browse);
    if (!PlainView()) RebuildView(row);
    Notify(TDataEvent::DataSetChange);
    return;
  }

  TPackedRowPtr record = PackRow(buffer_);
  buffer_.clear();
  TPackedRow* added = record.get();
  if (PlainView()) {
    // Table order and view order are the same: one insertion each.
    const std::size_t at = appending_ ? rows_.size() : static_cast<std::size_t>(cursor_);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
    view_.insert(view_.begin() + static_cast<std::ptrdiff_t>(at), added);
    cursor_ = static_cast<int>(at);
  } else {
    const std::size_t at = appending_ ? rows_.size() : StoragePosition(&CurrentRow());
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
    RebuildView(added);
  }
  eof_ = bof_ = false;
  SetState(TDataSetState::Browse);
  Notify(TDataEvent::DataSetChange);
}

void TClientDataSet::Cancel() {
  CheckActive();
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert) return;
  buffer_.clear();
  SetState(TDataSetState::Browse);
  Notify(TDataEvent::DataSetChange);
}

void TClientDataSet::Delete() {
  CheckActive();
  if (state_ == TDataSetState::Insert) {
    Cancel();
    return;
  }
  if (state_ == TDataSetState::Edit) Cancel();
  TPackedRow* row = &CurrentRow();
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(StoragePosition(row)));
  view_.erase(view_.begin() + cursor_);
  if (cursor_ >= static_cast<int>(view_.size())) cursor_ = view_.empty() ? 0 : static_cast<int>(view_.size()) - 1;
  eof_ = bof_ = view_.empty();
  Notify(TDataEvent::DataSetChange);
}

void TClientDataSet::AppendRecord(const std::vector<TFieldValue>& values) { AddRecord(true, values); }
void TClientDataSet::InsertRecord(const std::vector<TFieldValue>& values) { AddRecord(false, values); }

void TClientDataSet::AddRecord(bool append, const std::vector<TFieldValue>& values) {
  StartNew(append);
  try {
    for (std::size_t i = 0; i < values.size() && i < defs_.size(); ++i) SetValue(static_cast<int>(i), values[i]);
    Post();
  } catch (...) {
    Cancel();
    throw;
  }
}

// --- view: filter and sort order --------------------------------------------------

void TClientDataSet::SetFilter(std::string filter) {
  filterText_ = std::move(filter);
  if (filtered_) SetFiltered(true);
}

void TClientDataSet::SetFiltered(bool filtered) {
  if (Active()) CheckBrowseMode();
  filterActive_ = false;
  if (filtered && !Trimmed(filterText_).empty()) {
    const auto equals = filterText_.find('=');
    const int column = equals == std::string::npos ? -1 : FindField(Trimmed(filterText_.substr(0, equals)));
    std::int32_t value = 0;
    if (column < 0 || !ParseInt32(filterText_.substr(equals + 1), value)) {
      filtered_ = false;
      if (Active()) RebuildView(nullptr);
      throw EDataSetError("Invalid filter: " + filterText_);
    }
    filter_ = {column, value};
    filterActive_ = true;
  }
  filtered_ = filtered;
  if (Active()) {
    RebuildView(nullptr);
    cursor_ = 0;
    bof_ = true;
    eof_ = view_.empty();
    Notify(TDataEvent::DataSetChange);
  }
}

void TClientDataSet::SetIndexFieldNames(std::string names) {
  if (Active()) CheckBrowseMode();
  std::vector<int> columns;
  std::string_view rest = names;
  while (!rest.empty()) {
    const auto separator = rest.find(';');
    const std::string name = Trimmed(rest.substr(0, separator));
    rest = separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
    if (name.empty()) continue;
    const int column = FindField(name);
    if (column < 0) throw EDataSetError("Field '" + name + "' not found");
    columns.push_back(column);
  }
  indexFieldNames_ = std::move(names);
  sortColumns_ = std::move(columns);
  if (Active()) {
    TPackedRow* current = view_.empty() ? nullptr : view_[static_cast<std::size_t>(cursor_)];
    RebuildView(current);
    Notify(TDataEvent::DataSetChange);
  }
}

bool TClientDataSet::PlainView() const { return !filterActive_ && sortColumns_.empty(); }

void TClientDataSet::SetRecordFilter(TRecordFilter accept) {
  if (Active()) CheckBrowseMode();
  recordFilter_ = std::move(accept);
  if (Active()) {
    RebuildView(nullptr);
    cursor_ = 0;
    bof_ = true;
    eof_ = view_.empty();
    Notify(TDataEvent::DataSetChange);
  }
}

TClientDataSet::TBookmark TClientDataSet::GetBookmark() const {
  return view_.empty() ? nullptr : view_[static_cast<std::size_t>(cursor_)];
}

bool TClientDataSet::GotoBookmark(TBookmark bookmark) {
  CheckBrowseMode();
  const auto found = std::find(view_.begin(), view_.end(), bookmark);
  if (!bookmark || found == view_.end()) return false;
  cursor_ = static_cast<int>(found - view_.begin());
  eof_ = bof_ = false;
  Notify(TDataEvent::Scroll);
  return true;
}

bool TClientDataSet::Visible(const TPackedRow& row) const {
  if (recordFilter_ && !recordFilter_(UnpackRow(row, defs_))) return false;
  if (!filterActive_) return true;
  const auto column = static_cast<std::size_t>(filter_.column);
  if (row.IsNull(column)) return false;
  if (defs_[column].DataType == TFieldType::Integer) return row.Integer(column) == filter_.value;
  return row.Text(column) == std::to_string(filter_.value);
}

void TClientDataSet::RebuildView(const TPackedRow* keep) {
  view_.clear();
  view_.reserve(rows_.size());
  for (const auto& row : rows_)
    if (Visible(*row)) view_.push_back(row.get());
  if (!sortColumns_.empty()) {
    std::stable_sort(view_.begin(), view_.end(), [this](const TPackedRow* a, const TPackedRow* b) {
      for (const int column : sortColumns_) {
        const auto c = static_cast<std::size_t>(column);
        const int order = CompareValues(*a, *b, c, defs_[c].DataType);
        if (order != 0) return order < 0;
      }
      return false;
    });
  }
  const auto found = keep ? std::find(view_.begin(), view_.end(), keep) : view_.end();
  if (found != view_.end()) {
    cursor_ = static_cast<int>(found - view_.begin());
  } else if (cursor_ >= static_cast<int>(view_.size())) {
    cursor_ = view_.empty() ? 0 : static_cast<int>(view_.size()) - 1;
  }
  eof_ = bof_ = view_.empty();
}

std::size_t TClientDataSet::StoragePosition(const TPackedRow* row) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].get() == row) return i;
  throw EDataSetError("Record not found");
}

// --- notifications ----------------------------------------------------------------

void TClientDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  Notify(TDataEvent::StateChange);
}

void TClientDataSet::AddObserver(IDataSetObserver* observer) { observers_.push_back(observer); }

void TClientDataSet::RemoveObserver(IDataSetObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TClientDataSet::Notify(TDataEvent event) {
  const auto observers = observers_; // an observer may remove itself
  for (IDataSetObserver* observer : observers) observer->DataEvent(*this, event);
}

// --- persistence --------------------------------------------------------------------

std::string TClientDataSet::Image() const {
  CheckActive();
  std::vector<const TPackedRow*> rows;
  rows.reserve(rows_.size());
  for (const auto& row : rows_) rows.push_back(row.get());
  return EncodeTableImage(defs_, rows);
}

void TClientDataSet::SaveToStream(TMemoryStream& stream) const { stream.Write(Image()); }

void TClientDataSet::LoadFromStream(TMemoryStream& stream) {
  Close();
  Adopt(DecodeTableImage(stream));
}

void TClientDataSet::Adopt(TableImage image) {
  defs_ = std::move(image.defs);
  rows_ = std::move(image.rows);
  // A filter or order that does not fit the loaded columns is dropped.
  filterActive_ = false;
  if (filtered_ && !filterText_.empty()) {
    try {
      SetFiltered(true);
    } catch (const EDataSetError&) {
      filtered_ = false;
    }
  }
  try {
    SetIndexFieldNames(indexFieldNames_);
  } catch (const EDataSetError&) {
    indexFieldNames_.clear();
    sortColumns_.clear();
  }
  SetState(TDataSetState::Browse);
  RebuildView(nullptr);
  cursor_ = 0;
  Notify(TDataEvent::DataSetChange);
}

void TClientDataSet::SaveToFile(const std::string& path) const {
  platform::WriteFileAtomically(platform::Files(), path, Image());
}

void TClientDataSet::LoadFromFile(const std::string& path) {
  Close();
  TMemoryStream stream(platform::Files().ReadAll(path));
  TableImage image = DecodeTableImage(stream);
  if (stream.Remaining() != 0) throw EDataSetError("The table data is damaged (unexpected data after the table)");
  Adopt(std::move(image));
}
