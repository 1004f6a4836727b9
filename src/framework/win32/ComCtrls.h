#pragma once
// Common controls: image lists, the tree view over the tree model, the
// status bar, tab controls, tool and cool bars, track and progress bars,
// up-downs, hot keys, date-time pickers, list views, extended combo boxes.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "model/TreeNodes.h"
#include "framework/Collection.h"
#include "framework/win32/Controls.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"

class TImageList : public TComponent, public ITreeImages {
public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);
  ~TImageList() override;
  PLIMET_CLASS_NAME(TImageList)
  HIMAGELIST Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Appends a copy of the icon; returns its index or -1.
  int AddIcon(HICON icon);
  int AddIcon(std::unique_ptr<platform::TIcon> icon) override;
  // Appends a bitmap whose pixels of the mask colour are transparent.
  int AddMasked(HBITMAP bitmap, COLORREF maskColor);
  int Count() const override;
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  void Clear();

private:
  HIMAGELIST handle_;
  int width_, height_;
};

using TTVChangedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;

// A SysTreeView32 that shows a tree model and keeps in step with it.
class TCustomTreeView : public TWinControl, private ITreeNodesObserver {
public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;
  PLIMET_CLASS_NAME(TCustomTreeView)

  TTreeNodes& Items() { return model_.Items; }
  TTreeModel& Model() { return model_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  int Indent() const { return indent_; }
  void SetIndent(int indent);
  bool ReadOnly = true;
  bool HideSelection = false;

  TTreeNode* Selected();
  void SetSelected(TTreeNode* node);
  // Opens the nodes above it and scrolls it into view; the selection stays.
  void MakeVisible(TTreeNode* node);
  // The node at a point of the client area, or none.
  TTreeNode* GetNodeAt(int x, int y);
  // The native item of a node (for tests and skinning).
  HTREEITEM ItemOf(const TTreeNode* node) const;

  TTVChangedEvent OnChange;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;
  bool NotifiesDblClick() const override { return true; }
  POINT KeyboardMenuPoint() override;

private:
  void NodeAdded(TTreeNode& node) override;
  void NodeDeleting(TTreeNode& node) override;
  void NodeChanged(TTreeNode& node) override;
  void Cleared() override;
  void UpdateBegun() override;
  void UpdateEnded() override;
  void InsertItem(TTreeNode& node);
  void InsertSubtree(TTreeNode& node);
  void ForgetSubtree(const TTreeNode& node);

  TTreeModel model_;
  TImageList* images_ = nullptr;
  int indent_ = 19;
  std::unordered_map<const TTreeNode*, HTREEITEM> items_;
};

class TTreeView : public TCustomTreeView {
public:
  using TCustomTreeView::TCustomTreeView;
  PLIMET_CLASS_NAME(TTreeView)
};

class TCustomStatusBar : public TWinControl {
public:
  explicit TCustomStatusBar(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomStatusBar)
  bool SimplePanel = true;
  bool SizeGrip = true;
  void SetSimpleText(const std::string& text);
  const std::string& SimpleText() const { return simpleText_; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

private:
  std::string simpleText_;
};

class TStatusBar : public TCustomStatusBar {
public:
  using TCustomStatusBar::TCustomStatusBar;
  PLIMET_CLASS_NAME(TStatusBar)
};

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// The base of the tab controls, the page control and the plain tab control:
// the native tab window, its images, where the tabs sit, the selection.
class TCustomTabControl : public TWinControl {
public:
  explicit TCustomTabControl(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomTabControl)
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TTabPosition TabPosition() const { return tabPosition_; }
  // Left and right tabs come in rows (the native control wants it so).
  void SetTabPosition(TTabPosition position);
  // The area inside the tabs and the page frame, in client coordinates.
  RECT DisplayRect();
  TNotifyEvent OnChange;
  // Asked before the selection moves; clear allowChange to keep it.
  std::function<void(TComponent* sender, bool& allowChange)> OnChanging;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The native selection, or -1.
  int NativeSelection();

private:
  TImageList* images_ = nullptr;
  TTabPosition tabPosition_ = TTabPosition::tpTop;
};

// A row of tabs above one area; the program shows what a tab means.
class TTabControl : public TCustomTabControl {
public:
  explicit TTabControl(TComponent* owner);
  PLIMET_CLASS_NAME(TTabControl)
  const std::vector<std::string>& Tabs() const { return tabs_; }
  void SetTabs(const std::vector<std::string>& tabs);
  void AddTab(const std::string& caption);
  int TabIndex();
  void SetTabIndex(int index);
  // Children are laid out in the display area.
  RECT ClientRect() const override;

protected:
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;

private:
  void FillTabs();
  std::vector<std::string> tabs_;
  int tabIndex_ = -1;
};

class TPageControl;

// One page of a page control; its tab can be hidden.
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  PLIMET_CLASS_NAME(TTabSheet)
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pageControl);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

class TPageControl : public TCustomTabControl {
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  PLIMET_CLASS_NAME(TPageControl)
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);

protected:
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;

private:
  friend class TTabSheet;
  void UpdateTabs();
  void PlacePages();
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
};

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

// A button of a tool bar. It has no window: the bar's native control draws
// it and tells of its clicks.
class TToolButton : public TGraphicControl {
public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  PLIMET_CLASS_NAME(TToolButton)
  TToolBar* ToolBar() const { return toolBar_; }
  void SetToolBar(TToolBar* toolBar);
  TToolButtonStyle Style = TToolButtonStyle::tbsButton;
  int ImageIndex = -1;
  // A check button of a group: pressing one releases the others of the
  // group (the check buttons beside it, up to a separator).
  bool Grouped = false;
  // The button is as wide as its caption and image need, whatever the
  // bar's button width.
  bool AutoSize = false;
  // Check buttons: whether it is down.
  bool Down() const;
  void SetDown(bool down);
  // A button standing for a menu item: it shows the item's caption and
  // drops the item's sub-items under itself; an item without sub-items is
  // clicked.
  TMenuItem* MenuItem() const { return menuItem_; }
  void SetMenuItem(TMenuItem* item);
  // The menu a drop-down button shows from its arrow.
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* menu);
  int Command() const { return command_; }
  // Its rectangle on the bar, or empty when it is not shown.
  RECT ButtonRect() const;
  void Click() override;
  void ActionChanged(TAction& action) override;
  void SetText(const std::string& text) override;
  void SetEnabled(bool enabled) override;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TToolBar;
  TToolBar* toolBar_ = nullptr;
  int command_;
  bool ownCaption_ = false;
  bool down_ = false;
  TMenuItem* menuItem_ = nullptr;
  TPopupMenu* dropdownMenu_ = nullptr;
};

// How a custom-drawn button stands (the native item state, named).
enum TCustomDrawStateFlag : unsigned {
  cdsSelected = 1, // pressed
  cdsGrayed = 2,
  cdsDisabled = 4,
  cdsChecked = 8,
  cdsFocused = 16,
  cdsHot = 32,
  cdsMarked = 64,
  cdsIndeterminate = 128,
};
unsigned CustomDrawState(const NMCUSTOMDRAW& draw);

// Tool bar buttons drawn by the program: the handler draws the button on
// draw.nmcd.hdc in draw.nmcd.rc (state: CustomDrawState(draw.nmcd)) and
// clears defaultDraw to keep the bar from drawing it too.
using TToolBarCustomDrawEvent =
    std::function<void(TToolBar* sender, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw)>;

// Edges a tool window draws around itself.
enum TEdgeBorder : unsigned { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };

// The base of the bars that hold buttons and bands: tool bars, cool bars.
// Its edges and margin lie outside the client area.
class TToolWindow : public TWinControl {
public:
  explicit TToolWindow(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TToolWindow)
  // Which edges get an etched line, and the plain margin inside them; a
  // change after the window exists takes effect at FrameChanged.
  unsigned EdgeBorders = 0;
  int BorderWidth = 0;
  void FrameChanged();
  TPublishedValue EdgeBordersProperty() const override { return {true, "TEdgeBorders", static_cast<int>(EdgeBorders)}; }
  void WndProc(TMessage& message) override;

protected:
  // The window is made with the frame as it is then.
  void CreateWnd() override;

private:
  unsigned framedEdges_ = 0; // the frame the window was last told of
  int framedWidth_ = 0;
};

// A bar of buttons over the native tool bar. Its settings are fields; a
// change after the window exists takes effect at RebuildButtons.
class TToolBar : public TToolWindow {
public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  PLIMET_CLASS_NAME(TToolBar)
  TComponentRef<TImageList> Images{this};
  // The images of the button under the pointer, when set.
  TComponentRef<TImageList> HotImages{this};
  bool ShowCaptions = true; // captions under the images
  // List mode: the image beside the caption.
  bool List = false;
  bool Flat = true;
  // The bar shows its parent through it.
  bool Transparent = false;
  // Buttons that do not fit the width go on to another row.
  bool Wrapable = false;
  // The bar's height follows its rows of buttons.
  bool AutoSize = false;
  // Every button this size when both are set; else each fits its caption.
  int ButtonWidth = 0;
  int ButtonHeight = 0;
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
  TToolBarCustomDrawEvent OnCustomDrawButton;
  // Builds the native buttons again, with the bar's current settings.
  void RebuildButtons();
  // Drops the sub-items of a button's menu item under it and tracks them
  // until one is chosen (and clicked) or the menu is cancelled (Escape, a
  // click elsewhere); the button stays pressed meanwhile. As on a menu bar,
  // the pointer moving onto another menu button, or Left and Right at the
  // menu's first level, moves the open menu to that button.
  // Opened from the keyboard, the menu comes with its first item highlighted.
  void TrackMenu(TToolButton* button, bool byKey = false);
  // The button whose menu is open, or none.
  TToolButton* TrackingButton() const { return tracking_; }

protected:
  void Notification(TComponent* component, TOperation operation) override;
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;

private:
  friend class TToolButton;
  friend LRESULT CALLBACK ToolBarMenuFilter(int code, WPARAM wParam, LPARAM lParam);
  TToolButton* ButtonOfCommand(int command) const;
  // A message of the open menu's loop: true when it moved the menu to
  // another button (the message is then swallowed).
  bool MenuLoopMessage(const MSG& message);
  // The menu button after (or before) the tracked one, round the bar.
  TToolButton* NeighbourMenuButton(bool forward) const;
  TToolButton* ButtonAt(POINT client);
  DWORD NativeStyle() const;
  void ReadDownStates();
  void FitHeight();
  std::vector<TToolButton*> buttons_;
  TToolButton* tracking_ = nullptr;
  TToolButton* trackNext_ = nullptr; // where the menu moves once the open one closed
  bool nextByKey_ = false;           // ... moved there by a key
  HMENU trackedPopup_ = nullptr;     // the first level of the open menu
  HMENU selectedMenu_ = nullptr;     // the menu of the highlighted item
  bool selectedOpensMenu_ = false;   // the highlighted item opens a sub-menu
  POINT menuPointer_{};              // where the pointer was last seen in the menu's loop
  bool fitting_ = false;
  unsigned framedEdges_ = 0; // the frame the window was last told of
  int framedWidth_ = 0;
};

// --- Track bar, progress bar, up-down, hot key ---------------------------------------

enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum class TTickStyle { tsNone, tsAuto, tsManual };

// A slider over a range (msctls_trackbar32).
class TTrackBar : public TWinControl {
public:
  explicit TTrackBar(TComponent* owner);
  PLIMET_CLASS_NAME(TTrackBar)
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  void SetMin(int min) { SetRange(min, max_); }
  void SetMax(int max) { SetRange(min_, max); }
  int Position();
  void SetPosition(int position);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation orientation);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark marks);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle style);
  // Every how many positions an automatic tick stands.
  int Frequency() const { return frequency_; }
  void SetFrequency(int frequency);
  int LineSize = 1;
  int PageSize = 2;
  // Once per change of the position by the user.
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

private:
  int min_ = 0, max_ = 10, position_ = 0, frequency_ = 1;
  TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
  TTickMark tickMarks_ = TTickMark::tmBottomRight;
  TTickStyle tickStyle_ = TTickStyle::tsAuto;
};

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// A bar filled to show how far work has come (msctls_progress32).
class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent* owner);
  PLIMET_CLASS_NAME(TProgressBar)
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  void SetMin(int min) { SetRange(min, max_); }
  void SetMax(int max) { SetRange(min_, max); }
  int Position();
  void SetPosition(int position);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation orientation);
  int Step() const { return step_; }
  void SetStep(int step);
  // Moves the position on by Step (back to Min past Max, as the control does).
  void StepIt();
  void StepBy(int delta);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
};

enum class TUDOrientation { udVertical, udHorizontal };
enum class TUDBtnType { btNext, btPrev };
enum class TUpDownDirection { updNone, updUp, updDown };

// Two arrow buttons that step a number, shown in an associated control
// (msctls_updown32).
class TCustomUpDown : public TWinControl {
public:
  explicit TCustomUpDown(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomUpDown)
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position();
  void SetPosition(int position);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation orientation);
  // The control whose text shows the position (an edit, usually).
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);
  int Increment = 1;
  bool Wrap = false;
  bool ArrowKeys = true;
  bool Thousands = true;
  // After the position moved, with the button that moved it.
  std::function<void(TComponent* sender, TUDBtnType button)> OnClick;
  // Before it moves: clear allowChange to keep the position.
  std::function<void(TComponent* sender, bool& allowChange, int newValue, TUpDownDirection direction)> OnChangingEx;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void Bind();
  int min_ = 0, max_ = 100, position_ = 0;
  TUDOrientation orientation_ = TUDOrientation::udVertical;
  TWinControl* associate_ = nullptr;
  TUDBtnType lastButton_ = TUDBtnType::btNext;
  bool refused_ = false; // the last step was refused by OnChangingEx
};

class TUpDown : public TCustomUpDown {
public:
  using TCustomUpDown::TCustomUpDown;
  PLIMET_CLASS_NAME(TUpDown)
};

// Takes a key combination as the user presses it (msctls_hotkey32).
class TCustomHotKey : public TWinControl {
public:
  explicit TCustomHotKey(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomHotKey)
  // The key with scShift, scCtrl and scAlt, as menu shortcuts are written.
  TShortCut HotKey();
  void SetHotKey(TShortCut key);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  TShortCut hotKey_ = 0;
};

class THotKey : public TCustomHotKey {
public:
  using TCustomHotKey::TCustomHotKey;
  PLIMET_CLASS_NAME(THotKey)
};

// --- Date and time -----------------------------------------------------------------------

// Dates and times as days since 30 December 1899, the time of day the fraction.
double EncodeDateTime(const SYSTEMTIME& time);
SYSTEMTIME DecodeDateTime(double value);

// The base of the calendar controls: a date and time value.
class TCommonCalendar : public TWinControl {
public:
  explicit TCommonCalendar(TComponent* owner);
  PLIMET_CLASS_NAME(TCommonCalendar)
  double DateTime();
  void SetDateTime(double value);
  // The whole days, and the fraction of the day.
  double Date();
  void SetDate(double date);
  double Time();
  void SetTime(double time);
  TNotifyEvent OnChange;

protected:
  virtual double NativeValue() = 0;
  virtual void SetNativeValue(double value) = 0;
  double value_;
};

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };

// A date or a time in a box; a date drops a calendar or steps with arrows
// (SysDateTimePick32).
class TDateTimePicker : public TCommonCalendar {
public:
  explicit TDateTimePicker(TComponent* owner);
  PLIMET_CLASS_NAME(TDateTimePicker)
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind kind);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode mode);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  double NativeValue() override;
  void SetNativeValue(double value) override;

private:
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
};

// --- List view ------------------------------------------------------------------------------

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TColumnAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomListView;

// A column of a list view in report style.
class TListColumn : public TCollectionItem {
public:
  explicit TListColumn(TCustomListView* listView) : listView_(listView) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Width() const { return width_; }
  void SetWidth(int width);
  TColumnAlignment Alignment() const { return alignment_; }
  void SetAlignment(TColumnAlignment alignment);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

private:
  void Changed();
  TCustomListView* listView_;
  std::string caption_;
  int width_ = 50;
  TColumnAlignment alignment_ = TColumnAlignment::taLeftJustify;
  int imageIndex_ = -1;
};

// An item of a list view: its caption and, in report style, the texts of
// the further columns.
class TListItem : public TCollectionItem {
public:
  explicit TListItem(TCustomListView* listView) : listView_(listView) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::vector<std::string>& SubItems() const { return subItems_; }
  void AddSubItem(const std::string& text);
  void SetSubItem(int index, const std::string& text);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  void* Data = nullptr;

private:
  void Changed();
  TCustomListView* listView_;
  std::string caption_;
  std::vector<std::string> subItems_;
  int imageIndex_ = -1;
};

// A collection whose items are all of one kind.
template <typename T>
class TTypedCollection : public TCollection {
public:
  using TCollection::TCollection;
  T* Add() { return static_cast<T*>(TCollection::Add()); }
  T* Items(int index) const { return static_cast<T*>(TCollection::Items(index)); }
};

// Items as icons, a list or a report with columns (SysListView32).
class TCustomListView : public TCustomMultiSelectListControl {
public:
  explicit TCustomListView(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomListView)
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  TTypedCollection<TListColumn>& Columns() { return columns_; }
  TTypedCollection<TListItem>& Items() { return items_; }
  TImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TImageList* images);
  TImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(TImageList* images);
  bool ReadOnly = true;
  bool HideSelection = true;
  bool RowSelect = false;
  // The first selected item, or -1.
  int ItemIndex();
  void SetItemIndex(int index);
  // The header of the report style's columns (none in other styles' windows
  // before the report style was first shown).
  HWND HeaderHandle();
  // After the selection changed.
  TNotifyEvent OnChange;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TListColumn;
  friend class TListItem;
  void ColumnChanged(const TListColumn& column);
  void ItemChanged(const TListItem& item);
  void FillColumns();
  void FillItems();
  void InsertNativeItem(int index);
  void SetImageLists();
  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  TTypedCollection<TListColumn> columns_;
  TTypedCollection<TListItem> items_;
  TImageList* smallImages_ = nullptr;
  TImageList* largeImages_ = nullptr;
  int nativeItems_ = 0;
};

class TListView : public TCustomListView {
public:
  using TCustomListView::TCustomListView;
  PLIMET_CLASS_NAME(TListView)
};

// --- Cool bar ----------------------------------------------------------------------------------

class TCoolBar;

// A band of a cool bar: one control with a caption, on the same row as the
// band before it unless it breaks the row.
class TCoolBand : public TCollectionItem {
public:
  explicit TCoolBand(TCoolBar* coolBar) : coolBar_(coolBar) {}
  ~TCoolBand() override;
  TWinControl* Control() const { return control_; }
  void SetControl(TWinControl* control);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  int Width() const { return width_; }
  void SetWidth(int width);
  int MinHeight() const { return minHeight_; }
  void SetMinHeight(int height);
  bool Break() const { return break_; }
  void SetBreak(bool value);

private:
  friend class TCoolBar;
  void Changed();
  TCoolBar* coolBar_;
  TWinControl* control_ = nullptr;
  std::string text_;
  int width_ = 0;
  int minHeight_ = 25;
  bool break_ = true;
};

// Bands holding controls that the user can move and size (ReBarWindow32).
class TCoolBar : public TToolWindow {
public:
  explicit TCoolBar(TComponent* owner);
  ~TCoolBar() override;
  PLIMET_CLASS_NAME(TCoolBar)
  TTypedCollection<TCoolBand>& Bands() { return bands_; }
  // The bar's height follows its rows of bands.
  bool AutoSize = false;
  bool BandBorders = true;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TCoolBand;
  void FillBands();
  void FitHeight();
  TTypedCollection<TCoolBand> bands_;
};

// --- Extended combo box --------------------------------------------------------------------

// An item of an extended combo box: a caption with an image and an indent.
class TComboExItem : public TCollectionItem {
public:
  explicit TComboExItem(class TCustomComboBoxEx* combo) : combo_(combo) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  int SelectedImageIndex() const { return selectedImageIndex_; }
  void SetSelectedImageIndex(int index);
  int Indent() const { return indent_; }
  void SetIndent(int indent);

private:
  void Changed();
  TCustomComboBoxEx* combo_;
  std::string caption_;
  int imageIndex_ = -1, selectedImageIndex_ = -1, indent_ = 0;
};

enum class TComboBoxExStyle { csExDropDown, csExDropDownList, csExSimple };

// A combo box whose items carry images (ComboBoxEx32 around a combo box).
class TCustomComboBoxEx : public TCustomCombo {
public:
  explicit TCustomComboBoxEx(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomComboBoxEx)
  TTypedCollection<TComboExItem>& ItemsEx() { return items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TComboBoxExStyle Style() const { return style_; }
  void SetStyle(TComboBoxExStyle style);
  int ItemIndex();
  void SetItemIndex(int index);
  // The combo box inside, and its edit (none in the list style).
  HWND ComboBoxHandle();
  HWND EditHandle();
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TComboExItem;
  void ItemChanged(const TComboExItem& item);
  void FillItems();
  void InsertNativeItem(int index);
  TTypedCollection<TComboExItem> items_;
  TImageList* images_ = nullptr;
  TComboBoxExStyle style_ = TComboBoxExStyle::csExDropDown;
  int itemIndex_ = -1;
  int nativeItems_ = 0;
};

class TComboBoxEx : public TCustomComboBoxEx {
public:
  using TCustomComboBoxEx::TCustomComboBoxEx;
  PLIMET_CLASS_NAME(TComboBoxEx)
};
