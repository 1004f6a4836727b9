// The common controls as their native windows show them and as a person
// uses them: track bar, progress bar, up-down, hot key, date-time picker,
// list view, cool bar, tab control, extended combo box; and none of them
// leaves an object or a window behind.
#include <gtest/gtest.h>

#include "support/WindowCount.h"

#include <string>
#include <vector>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/StdCtrls.h"
#include "support/RealInput.h"

namespace {

DWORD StyleOf(TWinControl& control) { return static_cast<DWORD>(GetWindowLongPtrA(control.Handle(), GWL_STYLE)); }

HWND ChildOfClass(HWND parent, const char* className) { return FindWindowExA(parent, nullptr, className, nullptr); }

SYSTEMTIME Day(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

class CommonControlsTest : public ::testing::Test {
protected:
  CommonControlsTest() : form(&app) { form.SetBounds(100, 100, 460, 320); }
  ~CommonControlsTest() override { PumpFor(50); } // no input left for the next test
  void ShowForm() {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(100);
  }
  template <typename T>
  T* Place(int left, int top, int width, int height) {
    auto* control = new T(&form);
    control->SetParent(&form);
    control->SetBounds(left, top, width, height);
    return control;
  }
  TApplication app;
  TForm form;
};

} // namespace

TEST_F(CommonControlsTest, ArrowKeysMoveTheTrackBarAndEachMoveIsOneChange) {
  auto* track = Place<TTrackBar>(10, 10, 200, 45);
  track->SetRange(0, 10);
  track->SetFrequency(2);
  int changes = 0;
  track->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETRANGEMAX, 0, 0), 10);
  EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETNUMTICS, 0, 0), 6) << "a tick every second position, ends included";
  EXPECT_TRUE(StyleOf(*track) & TBS_AUTOTICKS);
  track->SetFocus();
  for (int i = 0; i < 3; ++i) RealKey(VK_RIGHT);
  PumpFor(100);
  EXPECT_EQ(track->Position(), 3);
  EXPECT_EQ(changes, 3) << "the end of each key's move is no change";
  RealKey(VK_END);
  PumpFor(100);
  EXPECT_EQ(track->Position(), 10);
  EXPECT_EQ(changes, 4);
  RealKey(VK_RIGHT); // at the end already
  PumpFor(100);
  EXPECT_EQ(changes, 4);
  track->SetPosition(5);
  EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 5);
  EXPECT_EQ(changes, 4) << "the program's own setting is not the user's change";
  track->SetPosition(50);
  EXPECT_EQ(track->Position(), 10) << "kept in the range";

  track->SetTickMarks(TTickMark::tmBoth);
  track->SetOrientation(TTrackBarOrientation::trVertical);
  EXPECT_TRUE(StyleOf(*track) & TBS_VERT);
  EXPECT_TRUE(StyleOf(*track) & TBS_BOTH);
  EXPECT_EQ(track->Width(), 45) << "the bar turns with its size";
  EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 10) << "the new window keeps the position";
  track->SetTickStyle(TTickStyle::tsNone);
  EXPECT_TRUE(StyleOf(*track) & TBS_NOTICKS);
}

TEST_F(CommonControlsTest, TheProgressBarStepsWithinItsRange) {
  auto* progress = Place<TProgressBar>(10, 10, 200, 16);
  progress->SetRange(0, 50);
  progress->SetStep(20);
  progress->StepIt(); // before the window: kept and handed over
  ShowForm();
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 20);
  progress->StepIt();
  EXPECT_EQ(progress->Position(), 40);
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETRANGE, FALSE, 0), 50);
  progress->SetPosition(70);
  EXPECT_EQ(progress->Position(), 50);
  progress->StepBy(-15);
  EXPECT_EQ(progress->Position(), 35);
  progress->SetOrientation(TProgressBarOrientation::pbVertical);
  EXPECT_TRUE(StyleOf(*progress) & PBS_VERTICAL);
  EXPECT_EQ(progress->Height(), 200);
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 35);
}

TEST_F(CommonControlsTest, ClicksOnTheUpDownStepTheTextOfItsAssociate) {
  auto* edit = Place<TEdit>(10, 10, 80, 21);
  auto* upDown = Place<TUpDown>(90, 10, 17, 24);
  upDown->SetRange(0, 6);
  upDown->SetPosition(5);
  upDown->SetAssociate(edit);
  std::vector<TUDBtnType> clicks;
  upDown->OnClick = [&](TComponent*, TUDBtnType button) { clicks.push_back(button); };
  bool allow = true;
  std::vector<int> asked;
  upDown->OnChangingEx = [&](TComponent*, bool& allowChange, int newValue, TUpDownDirection) {
    asked.push_back(newValue);
    allowChange = allow;
  };
  ShowForm();
  EXPECT_EQ(edit->Text(), "5");
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown->Handle(), UDM_GETBUDDY, 0, 0)), edit->Handle());
  const POINT up = ScreenPoint(upDown->Handle(), {8, 5}), down = ScreenPoint(upDown->Handle(), {8, 19});
  RealClick(up);
  PumpFor(150);
  EXPECT_EQ(edit->Text(), "6");
  EXPECT_EQ(upDown->Position(), 6);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], TUDBtnType::btNext);
  RealClick(up); // at the top of the range: no wrap
  PumpFor(150);
  EXPECT_EQ(edit->Text(), "6");
  RealClick(down);
  PumpFor(150);
  EXPECT_EQ(edit->Text(), "5");
  EXPECT_EQ(clicks.back(), TUDBtnType::btPrev);
  allow = false;
  const std::size_t before = clicks.size();
  RealClick(down);
  PumpFor(150);
  EXPECT_EQ(edit->Text(), "5") << "a refused change leaves the position";
  EXPECT_EQ(asked.back(), 4);
  EXPECT_EQ(clicks.size(), before);
  // The associate going away leaves the up-down without it.
  delete edit;
  EXPECT_EQ(upDown->Associate(), nullptr);
  EXPECT_EQ(SendMessageA(upDown->Handle(), UDM_GETBUDDY, 0, 0), 0);
  upDown->SetOrientation(TUDOrientation::udHorizontal);
  EXPECT_TRUE(StyleOf(*upDown) & UDS_HORZ);
}

TEST_F(CommonControlsTest, TheHotKeyTakesTheKeysAsTheyArePressed) {
  auto* hotKey = Place<THotKey>(10, 10, 150, 21);
  hotKey->SetHotKey(static_cast<TShortCut>(scCtrl | 'K'));
  ShowForm();
  EXPECT_EQ(SendMessageA(hotKey->Handle(), HKM_GETHOTKEY, 0, 0), MAKEWORD('K', HOTKEYF_CONTROL));
  hotKey->SetFocus();
  RealKey('J', {VK_CONTROL, VK_SHIFT});
  PumpFor(100);
  EXPECT_EQ(hotKey->HotKey(), static_cast<TShortCut>(scCtrl | scShift | 'J'));
  EXPECT_EQ(ShortCutToText(hotKey->HotKey()), ShortCutToText(static_cast<TShortCut>(scCtrl | scShift | 'J')));
}

TEST_F(CommonControlsTest, DatesAndTimesInThePickerAndItsKinds) {
  EXPECT_DOUBLE_EQ(EncodeDateTime(Day(1899, 12, 30)), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime(Day(2000, 1, 1)), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime(Day(1900, 1, 1, 12)), 2.5);
  const SYSTEMTIME leap = DecodeDateTime(EncodeDateTime(Day(2024, 2, 29, 23, 59, 58)));
  EXPECT_EQ(leap.wYear, 2024);
  EXPECT_EQ(leap.wMonth, 2);
  EXPECT_EQ(leap.wDay, 29);
  EXPECT_EQ(leap.wHour, 23);
  EXPECT_EQ(leap.wSecond, 58);
  EXPECT_EQ(leap.wDayOfWeek, 4) << "a Thursday";
  EXPECT_EQ(DecodeDateTime(-1.0).wDay, 29) << "before the start of the count";

  auto* picker = Place<TDateTimePicker>(10, 10, 186, 21);
  picker->SetDateTime(EncodeDateTime(Day(2024, 2, 29, 8, 30)));
  int changes = 0;
  picker->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  SYSTEMTIME shown{};
  ASSERT_EQ(SendMessageA(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
  EXPECT_EQ(shown.wMonth, 2);
  EXPECT_EQ(shown.wDay, 29);
  EXPECT_EQ(ChildOfClass(picker->Handle(), UPDOWN_CLASSA), nullptr) << "a date drops a calendar";
  EXPECT_DOUBLE_EQ(picker->Date(), EncodeDateTime(Day(2024, 2, 29)));
  EXPECT_NEAR(picker->Time(), 8.5 / 24, 1e-9);
  picker->SetDate(EncodeDateTime(Day(2023, 12, 31)));
  EXPECT_DOUBLE_EQ(picker->DateTime(), EncodeDateTime(Day(2023, 12, 31, 8, 30)));

  // Changed from the keyboard: the selected part steps, and OnChange tells.
  picker->SetFocus();
  RealKey(VK_RIGHT);
  RealKey(VK_UP);
  PumpFor(100);
  EXPECT_GE(changes, 1);
  EXPECT_NE(picker->Date(), EncodeDateTime(Day(2023, 12, 31)));
  const double changed = picker->DateTime();

  picker->SetDateMode(TDTDateMode::dmUpDown);
  EXPECT_TRUE(StyleOf(*picker) & DTS_UPDOWN);
  EXPECT_NE(ChildOfClass(picker->Handle(), UPDOWN_CLASSA), nullptr);
  picker->SetKind(TDateTimeKind::dtkTime);
  EXPECT_TRUE(StyleOf(*picker) & DTS_TIMEFORMAT);
  EXPECT_NE(ChildOfClass(picker->Handle(), UPDOWN_CLASSA), nullptr) << "a time steps with arrows";
  EXPECT_DOUBLE_EQ(picker->DateTime(), changed) << "the value lives through the new windows";
}

TEST_F(CommonControlsTest, ListViewColumnsAndItemsReadBackThroughTheNativeMessages) {
  auto* list = Place<TListView>(10, 10, 400, 200);
  TImageList small(&form), large(&form, 32, 32);
  small.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  list->SetSmallImages(&small);
  list->SetLargeImages(&large);
  list->SetViewStyle(TViewStyle::vsReport);
  TListColumn* name = list->Columns().Add();
  name->SetCaption("Name");
  name->SetWidth(150);
  TListColumn* size = list->Columns().Add();
  size->SetCaption("Size");
  size->SetWidth(70);
  size->SetAlignment(TColumnAlignment::taRightJustify);
  TListItem* report = list->Items().Add();
  report->SetCaption("Report.txt");
  report->AddSubItem("12 KB");
  report->SetImageIndex(0);
  ShowForm();
  TListItem* photo = list->Items().Add(); // after the window exists
  photo->SetCaption("Photo.png");
  photo->AddSubItem("2 MB");
  HWND window = list->Handle();
  EXPECT_EQ(StyleOf(*list) & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
  EXPECT_TRUE(StyleOf(*list) & LVS_SHAREIMAGELISTS);

  char text[64] = {};
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = text;
  column.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(window, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(text, "Size");
  EXPECT_EQ(column.cx, 70);
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  HWND header = list->HeaderHandle();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
  name->SetCaption("File");
  HDITEMA section{};
  section.mask = HDI_TEXT;
  section.pszText = text;
  section.cchTextMax = sizeof text;
  SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&section));
  EXPECT_STREQ(text, "File") << "the header shows the column's new caption";

  auto cell = [&](int item, int sub) {
    char cellText[64] = {};
    LVITEMA native{};
    native.iSubItem = sub;
    native.pszText = cellText;
    native.cchTextMax = sizeof cellText;
    SendMessageA(window, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&native));
    return std::string(cellText);
  };
  EXPECT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(cell(0, 0), "Report.txt");
  EXPECT_EQ(cell(0, 1), "12 KB");
  EXPECT_EQ(cell(1, 1), "2 MB");
  report->SetSubItem(0, "13 KB");
  EXPECT_EQ(cell(0, 1), "13 KB");
  LVITEMA image{};
  image.mask = LVIF_IMAGE;
  SendMessageA(window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&image));
  EXPECT_EQ(image.iImage, 0);
  EXPECT_EQ(SendMessageA(window, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(small.Handle()));
  EXPECT_EQ(SendMessageA(window, LVM_GETIMAGELIST, LVSIL_NORMAL, 0), reinterpret_cast<LRESULT>(large.Handle()));

  // A click on an item selects it.
  int changes = 0;
  list->OnChange = [&](TComponent*) { ++changes; };
  RECT r{};
  r.left = LVIR_LABEL;
  SendMessageA(window, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  RealClick(ScreenPoint(window, {r.left + 10, (r.top + r.bottom) / 2}));
  PumpFor(150);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_GE(changes, 1);

  list->Items().Delete(0);
  EXPECT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(cell(0, 0), "Photo.png");
  list->SetViewStyle(TViewStyle::vsList);
  EXPECT_EQ(StyleOf(*list) & LVS_TYPEMASK, static_cast<DWORD>(LVS_LIST));
  // The list view's window goes; the image lists stay their components'.
  list->DestroyHandle();
  EXPECT_EQ(small.Count(), 1);
  EXPECT_EQ(ImageList_GetImageCount(small.Handle()), 1);
}

TEST_F(CommonControlsTest, CoolBarBandsHoldTheirControlsInTheNativeBar) {
  auto* cool = Place<TCoolBar>(0, 0, 400, 60);
  cool->AutoSize = true;
  auto* edit = new TEdit(&form);
  edit->SetBounds(0, 0, 120, 21);
  auto* combo = new TComboBox(&form);
  combo->SetBounds(0, 0, 120, 21);
  TCoolBand* first = cool->Bands().Add();
  first->SetText("Address");
  first->SetControl(edit);
  TCoolBand* second = cool->Bands().Add();
  second->SetControl(combo);
  second->SetBreak(false);
  ShowForm();
  HWND bar = cool->Handle();
  ASSERT_EQ(SendMessageA(bar, RB_GETBANDCOUNT, 0, 0), 2);
  char text[64] = {};
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_CHILD | RBBIM_TEXT | RBBIM_STYLE;
  band.lpText = text;
  band.cch = sizeof text;
  ASSERT_TRUE(SendMessageA(bar, RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band)));
  EXPECT_EQ(band.hwndChild, edit->Handle());
  EXPECT_STREQ(text, "Address");
  EXPECT_EQ(GetParent(edit->Handle()), bar);
  band.fMask = RBBIM_CHILD | RBBIM_STYLE;
  SendMessageA(bar, RB_GETBANDINFOA, 1, reinterpret_cast<LPARAM>(&band));
  EXPECT_EQ(band.hwndChild, combo->Handle());
  EXPECT_FALSE(band.fStyle & RBBS_BREAK);
  EXPECT_EQ(SendMessageA(bar, RB_GETROWCOUNT, 0, 0), 1) << "the second band shares the row";
  RECT client;
  GetClientRect(bar, &client);
  EXPECT_EQ(client.bottom, SendMessageA(bar, RB_GETBARHEIGHT, 0, 0)) << "an auto-sized bar is as high as its rows";
  second->SetBreak(true);
  EXPECT_EQ(SendMessageA(bar, RB_GETROWCOUNT, 0, 0), 2);
  // A band's control going away leaves the band empty, not dangling.
  delete edit;
  EXPECT_EQ(first->Control(), nullptr);
  cool->Bands().Delete(0);
  EXPECT_EQ(SendMessageA(bar, RB_GETBANDCOUNT, 0, 0), 1);
  // Edges are the tool windows': outside the client area.
  cool->EdgeBorders = ebTop | ebBottom;
  cool->FrameChanged();
  RECT window;
  GetWindowRect(bar, &window);
  GetClientRect(bar, &client);
  EXPECT_EQ((window.bottom - window.top) - client.bottom, 4);
  EXPECT_EQ((window.right - window.left) - client.right, 0);
}

TEST_F(CommonControlsTest, AClickOnATabChangesTheTabIndexAndTellsOnce) {
  auto* tabs = Place<TTabControl>(10, 10, 400, 200);
  tabs->SetTabs({"One", "Two", "Three"});
  TImageList images(&form);
  images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  tabs->SetImages(&images);
  auto* inside = new TPanel(&form);
  inside->SetParent(tabs);
  inside->SetAlign(TAlign::alClient);
  int changes = 0;
  bool allow = true;
  tabs->OnChange = [&](TComponent*) { ++changes; };
  tabs->OnChanging = [&](TComponent*, bool& allowChange) { allowChange = allow; };
  ShowForm();
  EXPECT_EQ(tabs->TabIndex(), 0);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETIMAGELIST, 0, 0), reinterpret_cast<LRESULT>(images.Handle()));
  const RECT display = tabs->DisplayRect();
  EXPECT_EQ(inside->Top(), display.top) << "children sit in the display area";
  auto clickTab = [&](int index) {
    RECT r{};
    SendMessageA(tabs->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    RealClick(ScreenPoint(tabs->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    PumpFor(150);
  };
  clickTab(2);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(changes, 1);
  allow = false;
  clickTab(1);
  EXPECT_EQ(tabs->TabIndex(), 2) << "a refused change keeps the tab";
  EXPECT_EQ(changes, 1);
  tabs->SetTabIndex(0);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETCURSEL, 0, 0), 0);

  tabs->SetTabPosition(TTabPosition::tpBottom);
  EXPECT_TRUE(StyleOf(*tabs) & TCS_BOTTOM);
  EXPECT_EQ(tabs->TabIndex(), 0) << "the new window keeps the tabs and the selection";
  RECT tab{};
  SendMessageA(tabs->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  EXPECT_GE(tab.top, tabs->DisplayRect().bottom) << "tabs below the display area";
  tabs->SetTabPosition(TTabPosition::tpRight);
  EXPECT_TRUE(StyleOf(*tabs) & TCS_VERTICAL);
  EXPECT_TRUE(StyleOf(*tabs) & TCS_RIGHT);
  tabs->SetTabPosition(TTabPosition::tpLeft);
  EXPECT_EQ(StyleOf(*tabs) & (TCS_VERTICAL | TCS_RIGHT), static_cast<DWORD>(TCS_VERTICAL));
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);

  // The page control shares where the tabs sit.
  auto* pages = Place<TPageControl>(10, 220, 200, 80);
  auto* sheet = new TTabSheet(&form);
  sheet->SetCaption("Page");
  sheet->SetPageControl(pages);
  pages->SetTabPosition(TTabPosition::tpBottom);
  EXPECT_TRUE(StyleOf(*pages) & TCS_BOTTOM);
  EXPECT_EQ(sheet->Top(), pages->DisplayRect().top);
}

TEST_F(CommonControlsTest, ExtendedComboBoxItemsCarryImagesAndTheInnerComboIsReachable) {
  auto* combo = Place<TComboBoxEx>(10, 10, 200, 22);
  TImageList images(&form);
  images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)));
  combo->SetImages(&images);
  combo->SetStyle(TComboBoxExStyle::csExDropDownList);
  for (const char* caption : {"Documents", "Pictures", "Music"}) {
    TComboExItem* item = combo->ItemsEx().Add();
    item->SetCaption(caption);
    item->SetImageIndex(item->Index() % 2);
  }
  combo->SetItemIndex(0);
  int changes = 0;
  combo->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  HWND window = combo->Handle();
  EXPECT_EQ(SendMessageA(window, CB_GETCOUNT, 0, 0), 3);
  char text[64] = {};
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE;
  item.iItem = 1;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(window, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, "Pictures");
  EXPECT_EQ(item.iImage, 1);
  EXPECT_EQ(SendMessageA(window, CBEM_GETIMAGELIST, 0, 0), reinterpret_cast<LRESULT>(images.Handle()));
  HWND inner = combo->ComboBoxHandle();
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(GetParent(inner), window);
  char className[32] = {};
  GetClassNameA(inner, className, sizeof className);
  EXPECT_STREQ(className, "ComboBox");
  EXPECT_EQ(combo->EditHandle(), nullptr) << "a list style has no edit";
  combo->ItemsEx().Items(2)->SetCaption("Songs");
  item.iItem = 2;
  SendMessageA(window, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "Songs");

  // Chosen from the keyboard.
  combo->SetFocus();
  RealKey(VK_DOWN);
  PumpFor(150);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->Text(), "Pictures");
  combo->ItemsEx().Delete(0);
  EXPECT_EQ(SendMessageA(window, CB_GETCOUNT, 0, 0), 2);
}

TEST_F(CommonControlsTest, MakingAndFreeingEveryControlLeavesNothingBehind) {
  auto cycle = [this] {
    auto* owner = new TForm(&app);
    owner->SetBounds(0, 0, 500, 400);
    auto place = [owner](TWinControl* control, int top) {
      control->SetParent(owner);
      control->SetBounds(10, top, 150, 24);
      return control;
    };
    auto* images = new TImageList(owner);
    images->AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    place(new TTrackBar(owner), 0);
    static_cast<TProgressBar*>(place(new TProgressBar(owner), 30))->SetPosition(40);
    auto* edit = place(new TEdit(owner), 60);
    static_cast<TUpDown*>(place(new TUpDown(owner), 90))->SetAssociate(edit);
    place(new THotKey(owner), 120);
    static_cast<TDateTimePicker*>(place(new TDateTimePicker(owner), 150))->SetKind(TDateTimeKind::dtkTime);
    auto* list = static_cast<TListView*>(place(new TListView(owner), 180));
    list->SetViewStyle(TViewStyle::vsReport);
    list->SetSmallImages(images);
    list->Columns().Add()->SetCaption("Name");
    list->Items().Add()->SetCaption("Item");
    auto* cool = static_cast<TCoolBar*>(place(new TCoolBar(owner), 210));
    cool->Bands().Add()->SetControl(new TEdit(owner));
    auto* tabs = static_cast<TTabControl*>(place(new TTabControl(owner), 240));
    tabs->SetTabs({"a", "b"});
    tabs->SetImages(images);
    auto* combo = static_cast<TComboBoxEx*>(place(new TComboBoxEx(owner), 270));
    combo->SetImages(images);
    combo->ItemsEx().Add()->SetCaption("x");
    auto* bar = static_cast<TToolBar*>(place(new TToolBar(owner), 300));
    bar->Images = images;
    auto* menu = new TPopupMenu(owner);
    menu->Items()->Add(new TMenuItem(owner));
    auto* button = new TToolButton(owner);
    button->Style = TToolButtonStyle::tbsDropDown;
    button->SetDropdownMenu(menu);
    button->SetToolBar(bar);
    owner->Show();
    app.ProcessMessages();
    delete owner;
    app.ProcessMessages();
  };
  cycle(); // the first one registers classes and loads what stays loaded
  const int components = TComponent::LiveCount(), gdiObjects = gdi::LiveObjects(), windows = ThreadWindowCount();
  for (int i = 0; i < 40; ++i) cycle();
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(gdi::LiveObjects(), gdiObjects);
  EXPECT_EQ(ThreadWindowCount(), windows);
}
