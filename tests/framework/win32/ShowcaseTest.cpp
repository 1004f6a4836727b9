// One form holding every control of the framework, used as a person would
// use it, and photographed for the build's screenshot folder.
#include <gtest/gtest.h>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/DBCtrls.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "support/Screenshot.h"

namespace {

// A two-frame glyph strip: a green square, then a grey one for disabled.
HBITMAP MakeGlyph() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 16);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 32, 16};
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, magenta);
  HBRUSH green = CreateSolidBrush(RGB(0, 150, 80));
  HBRUSH grey = CreateSolidBrush(RGB(160, 160, 160));
  RECT first{3, 3, 13, 13}, second{19, 3, 29, 13};
  FillRect(dc, &first, green);
  FillRect(dc, &second, grey);
  DeleteObject(magenta);
  DeleteObject(green);
  DeleteObject(grey);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

template <typename T>
T* Add(TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(parent);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

} // namespace

TEST(Showcase, EveryControlOnOneForm) {
  TApplication app;
  TForm form(&app);
  form.SetCaption("Plimet controls");
  form.Position = TPosition::poScreenCenter;
  form.SetClientSize(620, 440);

  TActionList actions(&form);
  int added = 0;
  TAction* add = actions.Add("actAdd", "Add", "Catalog", [&](TComponent*) { ++added; });
  TMainMenu menu(&form);
  for (const char* name : {"&File", "&Edit", "&Help"}) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(name);
    menu.Items()->Add(item);
  }
  auto* addItem = new TMenuItem(&form);
  addItem->SetAction(add);
  menu.Items()->Items(0)->Add(addItem);
  form.SetMenu(&menu);

  auto* images = new TImageList(&form);
  for (const LPCSTR icon : {IDI_APPLICATION, IDI_WARNING, IDI_INFORMATION})
    images->AddIcon(LoadIconA(nullptr, icon));

  auto* toolBar = new TToolBar(&form);
  toolBar->SetParent(&form);
  toolBar->Images = images;
  for (int i = 0; i < 4; ++i) {
    auto* button = new TToolButton(&form);
    if (i == 2) button->Style = TToolButtonStyle::tbsSeparator;
    button->ImageIndex = i % 3;
    button->SetToolBar(toolBar);
    if (i == 0) button->SetAction(add);
    if (i == 1) button->SetCaption("Open");
    if (i == 3) button->SetCaption("Exit");
  }
  int customDrawn = 0;
  toolBar->OnCustomDrawButton = [&](TToolBar*, TToolButton*, NMTBCUSTOMDRAW&, bool&) { ++customDrawn; };

  auto* status = new TStatusBar(&form);
  status->SetParent(&form);
  status->SetSimpleText("Ready");

  auto* tree = new TTreeView(&form);
  tree->SetParent(&form);
  tree->SetBounds(0, 0, 160, 100);
  tree->SetAlign(TAlign::alLeft);
  tree->SetImages(images);
  TTreeNode* docs = tree->Items().AddChild(nullptr, "Documents");
  docs->SetImageIndex(0);
  docs->SetSelectedIndex(0);
  TTreeNode* report = tree->Items().AddChild(docs, "Report.txt");
  report->SetImageIndex(2);
  report->SetSelectedIndex(2);
  tree->Items().AddChild(nullptr, "Pictures");

  auto* splitter = new TSplitter(&form);
  splitter->SetParent(&form);
  splitter->SetBounds(160, 0, 4, 100);
  splitter->SetAlign(TAlign::alLeft);

  auto* pages = new TPageControl(&form);
  pages->SetParent(&form);
  pages->SetAlign(TAlign::alClient);
  auto* general = new TTabSheet(&form);
  general->SetCaption("General");
  general->SetPageControl(pages);
  auto* records = new TTabSheet(&form);
  records->SetCaption("Records");
  records->SetPageControl(pages);
  auto* secret = new TTabSheet(&form);
  secret->SetCaption("Hidden");
  secret->SetPageControl(pages);
  secret->SetTabVisible(false);

  auto* group = Add<TGroupBox>(general, 8, 8, 420, 150);
  group->SetCaption("Account");
  auto* userLabel = Add<TLabel>(group, 12, 24, 60, 13);
  userLabel->SetCaption("User code:");
  auto* user = Add<TComboBox>(group, 90, 20, 150, 21);
  for (const char* name : {"anna", "bob", "carol"}) user->AddItem(name);
  user->SetItemIndex(0);
  auto* pwdLabel = Add<TLabel>(group, 12, 54, 60, 13);
  pwdLabel->SetCaption("Password:");
  auto* pwd = Add<TEdit>(group, 90, 50, 150, 21);
  pwd->SetPasswordChar('*');
  pwd->SetMaxLength(32);
  pwd->SetText("secret");
  auto* ok = Add<TButton>(group, 90, 86, 75, 25);
  ok->SetCaption("OK");
  auto* glyph = Add<TBitBtn>(group, 172, 86, 90, 25);
  glyph->SetCaption("Change");
  const HBITMAP glyphBitmap = MakeGlyph();
  glyph->Glyph = glyphBitmap;
  glyph->NumGlyphs = 2;
  auto* image = Add<TImage>(group, 360, 24, 32, 32);
  image->Icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
  auto* link = Add<TLinkLabel>(group, 12, 122, 160, 15);
  link->SetCaption("Visit the product page");
  int linkClicks = 0;
  link->OnLinkClick = [&](TComponent*) { ++linkClicks; };
  auto* panel = Add<TPanel>(general, 8, 168, 420, 40);
  panel->SetCaption("A panel");

  TClientDataSet table;
  table.AddFieldDef("FTitle", TFieldType::String, 256, false);
  table.AddFieldDef("FUser", TFieldType::String, 256, false);
  table.CreateDataSet();
  table.AppendRecord({std::string("Mail"), std::string("anna")});
  table.AppendRecord({std::string("Bank"), std::string("a.smith")});
  table.First();
  TDataSource source(&form);
  source.SetDataSet(&table);
  auto* grid = Add<TDBGrid>(records, 8, 8, 380, 120);
  grid->Columns = {{"FTitle", 120, "", ""}, {"FUser", 140, "", ""}};
  grid->SetDataSource(&source);
  auto* title = Add<TDBEdit>(records, 8, 140, 200, 21);
  title->DataField = "FTitle";
  title->SetDataSource(&source);

  form.Show();
  app.ProcessMessages();

  // The hidden tab is not shown; switching pages shows one sheet at a time.
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(general->Handle()));
  EXPECT_FALSE(IsWindowVisible(records->Handle()));
  // Tool bar: captions under images, the action's caption, a click runs the action.
  EXPECT_EQ(SendMessageA(toolBar->Handle(), TB_BUTTONCOUNT, 0, 0), 4);
  char text[64] = {};
  SendMessageA(toolBar->Handle(), TB_GETBUTTONTEXTA, static_cast<WPARAM>(toolBar->Buttons(0)->Command()),
               reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Add");
  SendMessageA(form.Handle(), WM_COMMAND, static_cast<WPARAM>(toolBar->Buttons(0)->Command()),
               reinterpret_cast<LPARAM>(toolBar->Handle()));
  EXPECT_EQ(added, 1);
  EXPECT_GT(customDrawn, 0) << "the custom-draw event ran for the buttons";
  // The combo box, the password edit, the link label.
  EXPECT_EQ(user->Text(), "anna");
  EXPECT_EQ(SendMessageA(pwd->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
  SendMessageA(link->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(linkClicks, 1);
  // Dragging the splitter widens the tree: it has no window, its form hands it the mouse.
  const int grabX = splitter->Left() + 1, grabY = splitter->Top() + 10;
  SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grabX, grabY));
  SendMessageA(form.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grabX + 40, grabY));
  SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(grabX + 40, grabY));
  EXPECT_EQ(tree->Width(), 200);

  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  app.ProcessMessages();
  Sleep(200);
  app.ProcessMessages();
  EXPECT_TRUE(SaveWindowShot(form.Handle(), "screenshots/framework-showcase.bmp"));

  pages->SetActivePage(records);
  EXPECT_TRUE(IsWindowVisible(records->Handle()));
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  app.ProcessMessages();
  Sleep(200);
  app.ProcessMessages();
  EXPECT_TRUE(SaveWindowShot(form.Handle(), "screenshots/framework-showcase-records.bmp"));
  DeleteObject(glyphBitmap);
}
