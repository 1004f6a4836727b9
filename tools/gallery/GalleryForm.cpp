#include "GalleryForm.h"

#include <string>
#include <vector>

#include "framework/win32/Buttons.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/DBCtrls.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Frames.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/Grids.h"
#include "framework/win32/Mask.h"
#include "framework/win32/Menus.h"
#include "framework/win32/Spin.h"
#include "framework/win32/StdCtrls.h"
#include "store/TableEngine.h"

namespace {

template <typename T>
T* Add(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(owner);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const std::string& caption, TShortCut shortCut = 0) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  item->ShortCut = shortCut;
  parent->Add(item);
  return item;
}

// A glyph strip of two frames: a teal square, then a grey one for disabled.
HBITMAP MakeGlyph() {
  const gdi::TClientDC screen(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), 32, 16);
  const gdi::TCompatibleDC dc(screen.Get());
  const gdi::TSelection selected(dc.Get(), bitmap);
  FillColor(dc.Get(), {0, 0, 32, 16}, RGBColor(255, 0, 255));
  FillColor(dc.Get(), {3, 3, 13, 13}, RGBColor(0, 128, 128));
  FillColor(dc.Get(), {19, 3, 29, 13}, RGBColor(160, 160, 160));
  return bitmap;
}

TImageList* SystemImages(TComponent* owner) {
  auto* images = new TImageList(owner);
  for (const LPCSTR icon : {IDI_APPLICATION, IDI_WARNING, IDI_INFORMATION, IDI_QUESTION})
    images->AddIcon(LoadIconA(nullptr, icon));
  return images;
}

} // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
  Name = "GalleryForm";
  SetCaption("Plimet gallery");
  Position = TPosition::poScreenCenter;
  SetClientSize(780, 560);
  glyph_.Reset(MakeGlyph());
  BuildMenus();
  BuildBars();

  // A tree beside the pages, with a splitter between them.
  auto* tree = Add<TTreeView>(this, this, 0, 0, 150, 100);
  tree->SetAlign(TAlign::alLeft);
  TTreeNode* catalogs = tree->Items().AddChild(nullptr, "Catalogs");
  tree->Items().AddChild(catalogs, "Documents");
  tree->Items().AddChild(catalogs, "Pictures");
  auto* splitter = Add<TSplitter>(this, this, 150, 0, 4, 100);
  splitter->SetAlign(TAlign::alLeft);

  Pages = Add<TPageControl>(this, this, 0, 0, 100, 100);
  Pages->SetAlign(TAlign::alClient);
  StandardPage = new TTabSheet(this);
  StandardPage->SetCaption("Standard");
  StandardPage->SetPageControl(Pages);
  CommonPage = new TTabSheet(this);
  CommonPage->SetCaption("Common");
  CommonPage->SetPageControl(Pages);
  DataPage = new TTabSheet(this);
  DataPage->SetCaption("Data");
  DataPage->SetPageControl(Pages);
  BuildStandardPage();
  BuildCommonPage();
  BuildDataPage();
}

TGalleryForm::~TGalleryForm() {
  // The controls that show the glyph and the tables go first.
  DestroyComponents();
}

void TGalleryForm::BuildMenus() {
  auto* images = SystemImages(this);
  // The menu bar: submenus, shortcuts, images, checks, a default item.
  auto* menu = new TMainMenu(this);
  menu->Images = images;
  TMenuItem* file = Item(this, menu->Items(), "&File");
  TMenuItem* newItem = Item(this, file, "&New", scCtrl | 'N');
  newItem->ImageIndex = 0;
  newItem->SetDefault(true);
  Item(this, file, "&Open...", scCtrl | 'O')->ImageIndex = 2;
  TMenuItem* recent = Item(this, file, "&Recent");
  Item(this, recent, "Report.txt");
  Item(this, recent, "Budget.xls");
  Item(this, file, "-");
  Item(this, file, "Disabled")->SetEnabled(false);
  Item(this, file, "E&xit", scAlt | VK_F4);
  TMenuItem* view = Item(this, menu->Items(), "&View");
  Item(this, view, "&Tool bar")->SetChecked(true);
  Item(this, view, "&Status bar")->SetChecked(true);
  TMenuItem* help = Item(this, menu->Items(), "&Help");
  Item(this, help, "&About");
  SetMenu(menu);

  // A popup menu drawn by its items, separators included, with hot keys found for it.
  auto* popup = new TPopupMenu(this);
  popup->Name = "OwnerDrawnMenu";
  popup->SetAutoHotkeys(true);
  for (const char* caption : {"Cut", "Copy", "-", "Paste"}) {
    TMenuItem* item = Item(this, popup->Items(), caption);
    item->OnMeasureItem = [](TMenuItem* it, HDC, int& width, int& height) {
      width = 120;
      height = it->Caption() == "-" ? 5 : 20;
    };
    item->OnDrawItem = [](TMenuItem* it, HDC dc, const RECT& rect, bool selected) {
      FillColor(dc, rect, selected ? RGBColor(0, 120, 140) : RGBColor(240, 244, 246));
      if (it->Caption() == "-") {
        FillColor(dc, {rect.left + 4, rect.top + 2, rect.right - 4, rect.top + 3}, RGBColor(160, 170, 176));
        return;
      }
      RECT text = rect;
      text.left += 24;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
      DrawTextA(dc, it->Caption().c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER);
    };
  }
  popup->SetOwnerDraw(true);
  PopupMenu = popup;

  // A right-to-left popup menu with images.
  auto* rightToLeft = new TPopupMenu(this);
  rightToLeft->Name = "RightToLeftMenu";
  rightToLeft->Images = images;
  rightToLeft->SetBiDiMode(TBiDiMode::bdRightToLeft);
  Item(this, rightToLeft->Items(), "First")->ImageIndex = 1;
  Item(this, rightToLeft->Items(), "Second")->ImageIndex = 3;
}

void TGalleryForm::BuildBars() {
  auto* images = SystemImages(this);
  auto* toolBar = new TToolBar(this);
  toolBar->SetParent(this);
  toolBar->Images = images;
  toolBar->HotImages = images;
  toolBar->ShowCaptions = true;
  // A button that drops the File menu, two grouped check buttons, a drop-down button.
  auto* fileButton = new TToolButton(this);
  fileButton->SetCaption("File");
  fileButton->SetMenuItem(Menu()->Items()->Items(0));
  fileButton->SetToolBar(toolBar);
  for (const char* caption : {"Left", "Right"}) {
    auto* check = new TToolButton(this);
    check->SetCaption(caption);
    check->Style = TToolButtonStyle::tbsCheck;
    check->Grouped = true;
    check->ImageIndex = 1;
    check->SetToolBar(toolBar);
  }
  auto* separator = new TToolButton(this);
  separator->Style = TToolButtonStyle::tbsSeparator;
  separator->SetToolBar(toolBar);
  auto* drop = new TToolButton(this);
  drop->SetCaption("More");
  drop->Style = TToolButtonStyle::tbsDropDown;
  drop->ImageIndex = 2;
  drop->SetDropdownMenu(dynamic_cast<TPopupMenu*>(FindComponent("RightToLeftMenu")));
  drop->SetToolBar(toolBar);

  // A cool bar holding an extended combo box.
  auto* coolBar = new TCoolBar(this);
  coolBar->SetParent(this);
  coolBar->SetAlign(TAlign::alTop);
  coolBar->SetBounds(0, 0, 100, 44); // room below the band, in the bar's colour
  auto* places = new TComboBoxEx(this);
  places->SetParent(coolBar);
  places->SetImages(images);
  for (const char* caption : {"Desktop", "Documents", "Network"}) {
    TComboExItem* item = places->ItemsEx().Add();
    item->SetCaption(caption);
    item->SetImageIndex(places->ItemsEx().Count() - 1);
  }
  places->SetItemIndex(1);
  TCoolBand* band = coolBar->Bands().Add();
  band->SetText("Place");
  band->SetControl(places);
  band->SetWidth(300);

  auto* status = new TStatusBar(this);
  status->SetParent(this);
  status->SetSimpleText("Every control of the framework");
}

void TGalleryForm::BuildStandardPage() {
  TWinControl* page = StandardPage;
  Add<TLabel>(this, page, 8, 12, 60, 13)->SetCaption("&Name:");
  Add<TEdit>(this, page, 80, 8, 150, 21)->SetText("anna");
  auto* password = Add<TEdit>(this, page, 80, 34, 150, 21);
  password->SetPasswordChar('*');
  password->SetText("secret");
  auto* memo = Add<TMemo>(this, page, 8, 62, 222, 60);
  memo->SetLines({"A memo of", "three", "lines"});
  memo->SetScrollBars(TScrollStyle::ssVertical);
  Add<TButton>(this, page, 8, 130, 75, 25)->SetCaption("Button");
  auto* glyph = Add<TBitBtn>(this, page, 90, 130, 90, 25);
  glyph->SetCaption("Glyph");
  glyph->Glyph = glyph_.Get();
  glyph->NumGlyphs = 2;
  Add<TCheckBox>(this, page, 8, 164, 100, 17)->SetCaption("Check box");
  auto* group = Add<TGroupBox>(this, page, 8, 186, 222, 70);
  group->SetCaption("Group box");
  Add<TRadioButton>(this, group, 10, 20, 90, 17)->SetCaption("Radio one");
  auto* two = Add<TRadioButton>(this, group, 10, 42, 90, 17);
  two->SetCaption("Radio two");
  two->SetChecked(true);
  auto* panel = Add<TPanel>(this, page, 8, 264, 222, 36);
  panel->SetCaption("Panel");
  auto* combo = Add<TComboBox>(this, page, 250, 8, 150, 21);
  for (const char* name : {"anna", "bob", "carol"}) combo->AddItem(name);
  combo->SetItemIndex(0);
  auto* list = Add<TListBox>(this, page, 250, 34, 150, 70);
  list->SetItems({"First", "Second", "Third", "Fourth", "Fifth", "Sixth"});
  list->SetItemIndex(1);
  auto* bar = Add<TScrollBar>(this, page, 250, 110, 150, 17);
  bar->SetParams(30, 0, 100);
  auto* date = Add<TMaskEdit>(this, page, 250, 134, 100, 21);
  date->SetEditMask("00/00/0000;1;_");
  date->SetText("09122026");
  auto* spin = Add<TSpinEdit>(this, page, 250, 160, 80, 21);
  spin->SetMinValue(0);
  spin->SetMaxValue(10);
  spin->SetValue(4);
  for (int i = 0; i < 3; ++i) {
    auto* speed = Add<TSpeedButton>(this, page, 250 + 26 * i, 188, 24, 24);
    speed->Glyph = glyph_.Get();
    speed->NumGlyphs = 2;
    speed->Flat = i > 0;
    speed->GroupIndex = 1;
    if (i == 1) speed->SetDown(true);
  }
  auto* link = Add<TLinkLabel>(this, page, 250, 220, 160, 15);
  link->SetCaption("A link label");
  auto* image = Add<TImage>(this, page, 420, 8, 32, 32);
  image->Icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
}

void TGalleryForm::BuildCommonPage() {
  TWinControl* page = CommonPage;
  auto* track = Add<TTrackBar>(this, page, 8, 8, 200, 30);
  track->SetRange(0, 10);
  track->SetPosition(3);
  auto* progress = Add<TProgressBar>(this, page, 8, 44, 200, 17);
  progress->SetPosition(60);
  auto* count = Add<TEdit>(this, page, 8, 68, 60, 21);
  auto* upDown = Add<TUpDown>(this, page, 68, 68, 17, 21);
  upDown->SetRange(0, 99);
  upDown->SetAssociate(count);
  upDown->SetPosition(7);
  Add<THotKey>(this, page, 100, 68, 108, 21)->SetHotKey(static_cast<TShortCut>(scCtrl | 'K'));
  Add<TDateTimePicker>(this, page, 8, 96, 110, 21);
  Add<TDateTimePicker>(this, page, 124, 96, 84, 21)->SetKind(TDateTimeKind::dtkTime);
  auto* listView = Add<TListView>(this, page, 8, 124, 300, 100);
  listView->SetViewStyle(TViewStyle::vsReport);
  listView->SetSmallImages(SystemImages(this));
  for (const char* caption : {"Title", "User"}) {
    TListColumn* column = listView->Columns().Add();
    column->SetCaption(caption);
    column->SetWidth(120);
  }
  for (const char* title : {"Mail", "Bank", "Shop"}) {
    TListItem* item = listView->Items().Add();
    item->SetCaption(title);
    item->AddSubItem("anna");
    item->SetImageIndex(listView->Items().Count() - 1);
  }
  listView->PopupMenu = FindComponent("RightToLeftMenu");
  auto* tabs = Add<TTabControl>(this, page, 320, 8, 260, 90);
  tabs->SetTabs({"One", "Two", "Three"});
  tabs->SetTabIndex(1);
  auto* box = Add<TScrollBox>(this, page, 320, 104, 260, 60);
  for (int i = 0; i < 4; ++i) Add<TButton>(this, box, 8 + 90 * i, 8, 80, 25)->SetCaption("In box " + std::to_string(i + 1));
  auto* frame = Add<TFrame>(this, page, 320, 170, 260, 54);
  Add<TLabel>(frame, frame, 8, 8, 200, 13)->SetCaption("A frame with its own controls");
  Add<TCheckBox>(frame, frame, 8, 26, 120, 17)->SetCaption("In the frame");
}

void TGalleryForm::BuildDataPage() {
  TWinControl* page = DataPage;
  auto* cells = Add<TStringGrid>(this, page, 8, 8, 300, 110);
  cells->SetColCount(4);
  cells->SetRowCount(6);
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 6; ++row)
      cells->SetCells(col, row, row == 0 ? "Col " + std::to_string(col) : std::to_string(col * row));

  kinds_ = std::make_unique<TClientDataSet>();
  kinds_->AddFieldDef("FKind", TFieldType::Integer, 0, false);
  kinds_->AddFieldDef("FName", TFieldType::String, 64, false);
  kinds_->CreateDataSet();
  kinds_->AppendRecord({std::int32_t{1}, std::string("Web")});
  kinds_->AppendRecord({std::int32_t{2}, std::string("Bank")});
  auto* kindSource = new TDataSource(this);
  kindSource->SetDataSet(kinds_.get());

  records_ = std::make_unique<TClientDataSet>();
  records_->AddFieldDef("FTitle", TFieldType::String, 256, false);
  records_->AddFieldDef("FUser", TFieldType::String, 256, false);
  records_->CreateDataSet();
  records_->AppendRecord({std::string("Mail"), std::string("anna")});
  records_->AppendRecord({std::string("Bank"), std::string("a.smith")});
  records_->First();
  auto* source = new TDataSource(this);
  source->SetDataSet(records_.get());
  auto* grid = Add<TDBGrid>(this, page, 8, 126, 300, 100);
  grid->Columns = {{"FTitle", 120, "", ""}, {"FUser", 140, "", ""}};
  grid->SetDataSource(source);
  auto* title = Add<TDBEdit>(this, page, 320, 8, 160, 21);
  title->DataField = "FTitle";
  title->SetDataSource(source);
  auto* lookup = Add<TDBLookupComboBox>(this, page, 320, 36, 160, 21);
  lookup->SetListSource(kindSource);
  lookup->KeyField = "FKind";
  lookup->ListField = "FName";
  lookup->SetKeyValue(std::int32_t{2});
}

// --- The MDI form --------------------------------------------------------------------

TGalleryMDIForm::TGalleryMDIForm(TComponent* owner) : TForm(owner) {
  Name = "GalleryMDIForm";
  FormStyle = TFormStyle::fsMDIForm;
  SetCaption("Plimet gallery: MDI");
  SetClientSize(640, 420);
  auto* menu = new TMainMenu(this);
  TMenuItem* file = Item(this, menu->Items(), "&File");
  Item(this, file, "&New child", scCtrl | 'N')->OnClick = [this](TComponent*) { NewChild("Another note"); };
  TMenuItem* window = Item(this, menu->Items(), "&Window");
  Item(this, window, "&Cascade")->OnClick = [this](TComponent*) { Cascade(); };
  Item(this, window, "&Tile")->OnClick = [this](TComponent*) { Tile(); };
  SetMenu(menu);
  SetWindowMenu(window);
  auto* status = new TStatusBar(this);
  status->SetParent(this);
  status->SetSimpleText("Three notes");
}

TForm* TGalleryMDIForm::NewChild(const std::string& caption) {
  auto* child = new TForm(this);
  child->FormStyle = TFormStyle::fsMDIChild;
  child->SetCaption(caption);
  child->SetBounds(0, 0, 300, 200);
  auto* memo = new TMemo(child);
  memo->SetParent(child);
  memo->SetAlign(TAlign::alClient);
  memo->SetLines({caption, "written in an MDI child"});
  child->Show();
  return child;
}
