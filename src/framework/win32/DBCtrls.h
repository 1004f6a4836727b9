#pragma once
// Data-aware controls: a data source over a table, an edit bound to one
// field of the current row, and a read-only grid of the visible rows.
#include <string>
#include <vector>

#include "framework/win32/Grids.h"
#include "framework/win32/Mask.h"
#include "framework/win32/StdCtrls.h"
#include "store/TableEngine.h"

// Whatever shows a table through a data source.
class IDataLink {
public:
  virtual ~IDataLink() = default;
  virtual void DataChanged(TDataEvent event) = 0;
};

class TDataSource : public TComponent, private IDataSetObserver {
public:
  explicit TDataSource(TComponent* owner) : TComponent(owner) {}
  ~TDataSource() override;
  PLIMET_CLASS_NAME(TDataSource)
  TClientDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TClientDataSet* dataSet);
  void AddLink(IDataLink* link);
  void RemoveLink(IDataLink* link);

private:
  void DataEvent(TClientDataSet& dataSet, TDataEvent event) override;
  TClientDataSet* dataSet_ = nullptr;
  std::vector<IDataLink*> links_;
};

class TDBEdit : public TCustomMaskEdit, private IDataLink {
public:
  explicit TDBEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
  ~TDBEdit() override;
  PLIMET_CLASS_NAME(TDBEdit)
  void SetDataSource(TDataSource* source);
  std::string DataField;

protected:
  void HandleCreated() override;
  void CommandNotify(WORD code) override;

private:
  void DataChanged(TDataEvent event) override;
  void ShowField();
  TDataSource* source_ = nullptr;
  bool showing_ = false;
  bool typing_ = false;
};

struct TColumn {
  std::string FieldName;
  int Width = 64;
  std::string Title; // the field name when empty
  std::string Mask;  // shown instead of a value that is not empty, when set
};

class TDBGrid : public TCustomGrid, private IDataLink {
public:
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;
  PLIMET_CLASS_NAME(TDBGrid)
  void SetDataSource(TDataSource* source);
  std::vector<TColumn> Columns;
  static constexpr int kRowHeight = 18;
  // The first visible row (1-based) and how many fit.
  int TopRow() const { return topRow_; }
  int VisibleRows() const;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(HDC dc) override;

private:
  void DataChanged(TDataEvent event) override;
  void UpdateScrollBars();
  void ScrollToCurrent();
  int TotalWidth() const;
  TDataSource* source_ = nullptr;
  int topRow_ = 1;
  int leftOffset_ = 0;
};

// The base of the lookup controls: shows, for a key value, the text of the
// row of a list dataset whose key field holds it.
class TDBLookupControl : public TCustomControl, protected IDataLink {
public:
  explicit TDBLookupControl(TComponent* owner);
  ~TDBLookupControl() override;
  PLIMET_CLASS_NAME(TDBLookupControl)
  TDataSource* ListSource() const { return listSource_; }
  void SetListSource(TDataSource* source);
  // The field the key values come from, and the one whose text is shown.
  std::string KeyField;
  std::string ListField;
  const TFieldValue& KeyValue() const { return keyValue_; }
  void SetKeyValue(const TFieldValue& value);
  // The rows of the list: each row's key and its text.
  struct TListRow {
    TFieldValue key;
    std::string text;
  };
  std::vector<TListRow> ListRows() const;
  // The row of the key value among ListRows, or -1.
  int KeyRow() const;
  // After the user picked another key value.
  TNotifyEvent OnChange;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

protected:
  void Notification(TComponent* component, TOperation operation) override;
  void DataChanged(TDataEvent event) override;
  // The user picked a row: the key value changes and OnChange is told.
  void SelectRow(int row);
  void UpdateText();

private:
  TDataSource* listSource_ = nullptr;
  TFieldValue keyValue_;
};

class TPopupDataList;

// A lookup shown like a drop-down list: a click, F4 or Alt+Down drops the
// list's rows; a click on one, or the arrows and Enter, picks it.
class TDBLookupComboBox : public TDBLookupControl {
public:
  explicit TDBLookupComboBox(TComponent* owner);
  PLIMET_CLASS_NAME(TDBLookupComboBox)
  int DropDownRows = 7;
  bool ListVisible() const { return dropped_; }
  void DropDown();
  // Closes the list, picking its selected row when accept is true.
  void CloseUp(bool accept);
  // The dropped list's window (for tests); none before the first drop.
  HWND ListHandle() const;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(HDC dc) override;

private:
  bool OverList(POINT client, int& row);
  TPopupDataList* list_ = nullptr; // owned as a component
  bool dropped_ = false;
};
