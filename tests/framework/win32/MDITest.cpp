// MDI forms and their children under Wine: the client window, activation,
// the system's cascade and tile, the window list, the active child's menu
// in place of the form's, closing, and the keys and clicks a person uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"

namespace {

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::string& caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

// An MDI form with a tool bar row above the client, a File and a Window menu.
class Frame : public TForm {
public:
  PLIMET_CLASS_NAME(Frame)
  explicit Frame(TComponent* owner) : TForm(owner) {
    FormStyle = TFormStyle::fsMDIForm;
    SetCaption("Frame");
    SetBounds(10, 10, 700, 500);
    bar = new TPanel(this);
    bar->SetParent(this);
    bar->SetBounds(0, 0, 10, 30);
    bar->SetAlign(TAlign::alTop);
    menu = new TMainMenu(this);
    file = AddItem(this, menu->Items(), "&File");
    AddItem(this, file, "&New");
    window = AddItem(this, menu->Items(), "&Window");
    AddItem(this, window, "&Cascade");
    SetMenu(menu);
    SetWindowMenu(window);
  }
  TPanel* bar;
  TMainMenu* menu;
  TMenuItem* file;
  TMenuItem* window;
};

// A document window, with a menu of its own when asked.
class Doc : public TForm {
public:
  PLIMET_CLASS_NAME(Doc)
  Doc(TComponent* owner, const std::string& caption, bool withMenu = false) : TForm(owner) {
    FormStyle = TFormStyle::fsMDIChild;
    Position = TPosition::poDefaultPosOnly;
    SetCaption(caption);
    SetBounds(0, 0, 300, 200);
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(8, 8, 200, 21);
    edit->TabStop = true;
    if (withMenu) {
      menu = new TMainMenu(this);
      auto* edits = AddItem(this, menu->Items(), "&Edit");
      undo = AddItem(this, edits, "&Undo");
      undo->ShortCut = scCtrl | 'Z';
      undo->OnClick = [this](TComponent*) { ++undone; };
      SetMenu(menu);
    }
  }
  TEdit* edit;
  TMainMenu* menu = nullptr;
  TMenuItem* undo = nullptr;
  int undone = 0;
};

// A window's rectangle in its parent's client coordinates.
RECT InParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    texts.emplace_back(text);
  }
  return texts;
}

class MDITest : public ::testing::Test {
protected:
  TApplication app;
  ModalDriver driver;
};

} // namespace

TEST_F(MDITest, ChildrenAreFormsInTheClientTheAlignedControlsLeave) {
  Doc orphan(&app, "Orphan");
  EXPECT_THROW(orphan.Show(), std::runtime_error) << "no MDI form to live in";

  auto* frame = new Frame(&app);
  frame->Show();
  ASSERT_EQ(app.MainForm(), frame);
  const HWND client = frame->ClientHandle();
  ASSERT_TRUE(client);
  char name[32] = {};
  GetClassNameA(client, name, sizeof name);
  EXPECT_EQ(lstrcmpiA(name, "MDICLIENT"), 0) << name;
  EXPECT_EQ(GetParent(client), frame->Handle());
  RECT area;
  GetClientRect(frame->Handle(), &area);
  RECT placed = InParent(client);
  EXPECT_EQ(placed.top, 30) << "below the top-aligned bar";
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.right, area.right);
  EXPECT_EQ(placed.bottom, area.bottom);
  frame->SetBounds(frame->Left(), frame->Top(), 600, 400);
  GetClientRect(frame->Handle(), &area);
  placed = InParent(client);
  EXPECT_EQ(placed.right, area.right) << "it follows the form";
  EXPECT_EQ(placed.bottom, area.bottom);
  EXPECT_EQ(placed.top, 30);

  std::vector<std::string> changes;
  frame->OnActiveMDIChildChange = [&](TComponent* sender) {
    TForm* active = static_cast<TForm*>(sender)->ActiveMDIChild();
    changes.push_back(active ? active->Caption() : "none");
  };
  auto* one = new Doc(&app, "One");
  one->Show();
  auto* two = new Doc(&app, "Two");
  two->Show();
  EXPECT_EQ(GetParent(two->Handle()), client);
  EXPECT_TRUE(GetWindowLongPtrA(two->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(TWinControl::FromHandle(two->Handle()), two);
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), two);
  EXPECT_EQ(frame->MDIChildren(0), two) << "topmost first";
  EXPECT_EQ(frame->MDIChildren(1), one);
  EXPECT_EQ(app.MainForm(), frame) << "a child never becomes the main form";
  EXPECT_TRUE(two->edit->Focused()) << "the shown child's first control has the focus";
  EXPECT_NE(InParent(one->Handle()).left, InParent(two->Handle()).left) << "the system placed them apart";

  frame->Next();
  EXPECT_EQ(frame->ActiveMDIChild(), one);
  frame->Previous();
  EXPECT_EQ(frame->ActiveMDIChild(), two);
  SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(one->Handle()), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), one);
  EXPECT_EQ(frame->MDIChildren(0), one);
  EXPECT_EQ(changes, (std::vector<std::string>{"One", "Two", "One", "Two", "One"}));

  // Typed text reaches the active child's control through the usual loop.
  one->edit->SetFocus();
  TypeText("abc");
  app.ProcessMessages();
  EXPECT_EQ(one->edit->Text(), "abc");
  delete frame;
}

TEST_F(MDITest, CascadeAndTileAreTheSystemsArrangements) {
  auto* frame = new Frame(&app);
  frame->Show();
  std::vector<Doc*> docs;
  for (const char* caption : {"A", "B", "C"}) {
    docs.push_back(new Doc(&app, caption));
    docs.back()->Show();
  }
  RECT client;
  frame->Cascade();
  GetClientRect(frame->ClientHandle(), &client);
  // From the bottom of the stack to the top, each child one caption and
  // frame further down and right, all the same size, the active one on top.
  std::vector<RECT> stack;
  for (int i = frame->MDIChildCount() - 1; i >= 0; --i) stack.push_back(InParent(frame->MDIChildren(i)->Handle()));
  ASSERT_EQ(stack.size(), 3u);
  const int step = stack[1].left - stack[0].left;
  const int caption = GetSystemMetrics(SM_CYCAPTION), border = GetSystemMetrics(SM_CYFRAME);
  EXPECT_GE(step, caption) << "each next child shows the caption of the one below";
  EXPECT_LE(step, caption + 2 * border);
  EXPECT_EQ(stack[0].left, 0);
  EXPECT_EQ(stack[0].top, 0);
  for (std::size_t i = 1; i < stack.size(); ++i) {
    EXPECT_EQ(stack[i].left - stack[i - 1].left, step);
    EXPECT_EQ(stack[i].top - stack[i - 1].top, step);
    EXPECT_EQ(stack[i].right - stack[i].left, stack[0].right - stack[0].left);
    EXPECT_EQ(stack[i].bottom - stack[i].top, stack[0].bottom - stack[0].top);
  }
  EXPECT_LE(stack[2].right, client.right) << "the whole cascade inside the client";
  EXPECT_LE(stack[2].bottom, client.bottom);

  // Two children tiled: side by side (tbVertical), then one above the other.
  delete docs[2];
  app.ProcessMessages();
  ASSERT_EQ(frame->MDIChildCount(), 2);
  frame->TileMode = TTileMode::tbVertical;
  frame->Tile();
  GetClientRect(frame->ClientHandle(), &client); // without the scroll bars the cascade needed
  std::vector<RECT> tiles{InParent(docs[0]->Handle()), InParent(docs[1]->Handle())};
  std::sort(tiles.begin(), tiles.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
  EXPECT_EQ(tiles[0].left, 0);
  EXPECT_EQ(tiles[0].right, client.right / 2);
  EXPECT_EQ(tiles[1].left, client.right / 2);
  EXPECT_EQ(tiles[1].right, client.right);
  for (const RECT& tile : tiles) {
    EXPECT_EQ(tile.top, 0);
    EXPECT_EQ(tile.bottom, client.bottom);
  }
  frame->TileMode = TTileMode::tbHorizontal;
  frame->Tile();
  GetClientRect(frame->ClientHandle(), &client);
  tiles = {InParent(docs[0]->Handle()), InParent(docs[1]->Handle())};
  std::sort(tiles.begin(), tiles.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  EXPECT_EQ(tiles[0].top, 0);
  EXPECT_EQ(tiles[0].bottom, client.bottom / 2);
  EXPECT_EQ(tiles[1].top, client.bottom / 2);
  EXPECT_EQ(tiles[1].bottom, client.bottom);
  for (const RECT& tile : tiles) {
    EXPECT_EQ(tile.left, 0);
    EXPECT_EQ(tile.right, client.right);
  }

  // Minimized children are lined up along the bottom of the client.
  for (Doc* doc : {docs[0], docs[1]}) {
    ShowWindow(doc->Handle(), SW_MINIMIZE);
    SetWindowPos(doc->Handle(), nullptr, 200, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  frame->ArrangeIcons();
  GetClientRect(frame->ClientHandle(), &client);
  for (Doc* doc : {docs[0], docs[1]}) {
    EXPECT_TRUE(IsIconic(doc->Handle()));
    EXPECT_EQ(InParent(doc->Handle()).bottom, client.bottom) << doc->Caption();
  }
  delete frame;
}

TEST_F(MDITest, TheWindowMenuListsTheChildren) {
  auto* frame = new Frame(&app);
  frame->Show();
  auto* one = new Doc(&app, "Report");
  one->Show();
  auto* two = new Doc(&app, "Letter");
  two->Show();
  HMENU windowMenu = GetSubMenu(GetMenu(frame->Handle()), 1);
  ASSERT_TRUE(windowMenu);
  std::vector<std::string> texts = MenuTexts(windowMenu);
  ASSERT_EQ(texts.size(), 4u) << "Cascade, a separator, one item per child";
  EXPECT_EQ(texts[0], "&Cascade");
  EXPECT_NE(texts[2].find("Report"), std::string::npos);
  EXPECT_NE(texts[3].find("Letter"), std::string::npos);
  EXPECT_TRUE(GetMenuState(windowMenu, 3, MF_BYPOSITION) & MF_CHECKED) << "the active child is checked";
  EXPECT_FALSE(GetMenuState(windowMenu, 2, MF_BYPOSITION) & MF_CHECKED);

  // Choosing a child in the list activates it, as the system does.
  PostMessageA(frame->Handle(), WM_COMMAND, GetMenuItemID(windowMenu, 2), 0);
  app.ProcessMessages();
  EXPECT_EQ(frame->ActiveMDIChild(), one);

  // A caption change shows in the list; a new build of the menu keeps the list.
  one->SetCaption("Report 2026");
  AddItem(frame, frame->window, "&Tile");
  windowMenu = GetSubMenu(GetMenu(frame->Handle()), 1);
  texts = MenuTexts(windowMenu);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[1], "&Tile");
  EXPECT_NE(texts[3].find("Report 2026"), std::string::npos);

  delete two;
  texts = MenuTexts(GetSubMenu(GetMenu(frame->Handle()), 1));
  ASSERT_EQ(texts.size(), 4u) << "a freed child leaves the list";
  EXPECT_NE(texts[3].find("Report 2026"), std::string::npos);
  delete frame;
}

TEST_F(MDITest, TheActiveChildsMenuIsShownInPlaceOfTheForms) {
  auto* frame = new Frame(&app);
  frame->Show();
  const HMENU own = frame->menu->Handle();
  EXPECT_EQ(GetMenu(frame->Handle()), own);
  auto* plain = new Doc(&app, "Plain");
  plain->Show();
  EXPECT_EQ(GetMenu(frame->Handle()), own) << "a child without a menu leaves the form's";
  auto* editor = new Doc(&app, "Editor", true);
  editor->Show();
  EXPECT_EQ(GetMenu(frame->Handle()), editor->menu->Handle());
  EXPECT_EQ(frame->ShownMenu(), editor->menu);
  EXPECT_EQ(MenuTexts(GetMenu(frame->Handle())), (std::vector<std::string>{"&Edit"})) << "replaced, not merged";

  // The child's item runs from the form's menu bar.
  PostMessageA(frame->Handle(), WM_COMMAND, editor->undo->Command(), 0);
  app.ProcessMessages();
  EXPECT_EQ(editor->undone, 1);

  frame->Next();
  EXPECT_EQ(frame->ActiveMDIChild(), plain);
  EXPECT_EQ(GetMenu(frame->Handle()), own);
  frame->Next();
  EXPECT_EQ(GetMenu(frame->Handle()), editor->menu->Handle());

  // The active child with the menu goes: the form's own menu comes back, never a freed one.
  const HMENU gone = editor->menu->Handle();
  delete editor;
  EXPECT_FALSE(IsMenu(gone));
  EXPECT_EQ(GetMenu(frame->Handle()), own);
  EXPECT_EQ(frame->ActiveMDIChild(), plain);

  // A maximized child's system menu and buttons go into the menu shown, and
  // leave it when another menu takes its place.
  ShowWindow(plain->Handle(), SW_MAXIMIZE);
  EXPECT_EQ(GetMenuItemCount(own), 2 + 4);
  EXPECT_EQ(GetSubMenu(own, 0), GetSystemMenu(plain->Handle(), FALSE));
  auto* maximized = new Doc(&app, "Maximized", true);
  maximized->Show();
  EXPECT_TRUE(IsZoomed(maximized->Handle())) << "a new child joins the maximized state";
  EXPECT_EQ(GetMenu(frame->Handle()), maximized->menu->Handle());
  EXPECT_EQ(GetMenuItemCount(own), 2);
  EXPECT_EQ(GetMenuItemCount(maximized->menu->Handle()), 1 + 4);
  delete maximized;
  EXPECT_EQ(GetMenu(frame->Handle()), own);
  EXPECT_EQ(GetMenuItemCount(own), 2 + 4);
  delete frame;
}

TEST_F(MDITest, ClosingAChildFreesItUnlessItsOnCloseSaysOtherwise) {
  auto* frame = new Frame(&app);
  frame->Show();
  auto* one = new Doc(&app, "One");
  one->Show();
  const int components = TComponent::LiveCount();
  auto* two = new Doc(&app, "Two", true);
  two->Show();
  const HWND twoWindow = two->Handle();
  std::vector<std::string> closed;
  two->OnClose = [&](TComponent*, TCloseAction& action) {
    closed.push_back(action == TCloseAction::caFree ? "free" : "other");
  };
  CloseByCloseBox(twoWindow);
  app.ProcessMessages();
  EXPECT_EQ(closed, std::vector<std::string>{"free"}) << "the default for a document window";
  EXPECT_FALSE(IsWindow(twoWindow));
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), one);
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(GetMenu(frame->Handle()), frame->menu->Handle());

  one->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::caNone; };
  CloseByCloseBox(one->Handle());
  app.ProcessMessages();
  EXPECT_EQ(frame->MDIChildCount(), 1) << "kept";
  one->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::caMinimize; };
  one->Close();
  EXPECT_TRUE(IsIconic(one->Handle()));
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_FALSE(app.Terminated()) << "closing a child never ends the program";

  {
    // A child that is not made by new goes at the end of its scope, the same way.
    Doc scoped(&app, "Scoped", true);
    scoped.Show();
    EXPECT_EQ(GetMenu(frame->Handle()), scoped.menu->Handle());
    EXPECT_EQ(frame->MDIChildCount(), 2);
  }
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(GetMenu(frame->Handle()), frame->menu->Handle());
  EXPECT_EQ(TComponent::LiveCount(), components);
  delete frame;
}

TEST_F(MDITest, ClosingTheMDIFormFreesItsChildren) {
  const int components = TComponent::LiveCount();
  std::vector<HWND> windows;
  std::vector<HMENU> menus;
  auto* frame = new Frame(&app);
  frame->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::caFree; };
  frame->Show();
  windows.push_back(frame->Handle());
  windows.push_back(frame->ClientHandle());
  menus.push_back(frame->menu->Handle());
  for (int i = 0; i < 3; ++i) {
    auto* doc = new Doc(i == 1 ? static_cast<TComponent*>(frame) : &app, "Doc " + std::to_string(i), i != 0);
    doc->Show();
    windows.push_back(doc->Handle());
    if (doc->menu) menus.push_back(doc->menu->Handle());
  }
  CloseByCloseBox(frame->Handle());
  app.ProcessMessages();
  EXPECT_EQ(TComponent::LiveCount(), components);
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  for (HMENU menu : menus) EXPECT_FALSE(IsMenu(menu));
  EXPECT_TRUE(app.Forms().empty());
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST_F(MDITest, KeysAndClicksMoveBetweenChildren) {
  auto* frame = new Frame(&app);
  frame->Show();
  std::vector<Doc*> docs;
  for (const char* caption : {"Left", "Right"}) {
    docs.push_back(new Doc(&app, caption, true));
    docs.back()->Show();
  }
  frame->TileMode = TTileMode::tbVertical;
  frame->Tile();
  SetForegroundWindow(frame->Handle());
  PumpFor(100);
  ASSERT_EQ(frame->ActiveMDIChild(), docs[1]);

  RealKey(VK_F6, {VK_CONTROL});
  PumpFor(200);
  EXPECT_EQ(frame->ActiveMDIChild(), docs[0]) << "Ctrl+F6: the next child";
  EXPECT_TRUE(docs[0]->ContainsFocus());
  RealKey(VK_F6, {VK_CONTROL, VK_SHIFT});
  PumpFor(200);
  EXPECT_EQ(frame->ActiveMDIChild(), docs[1]) << "Ctrl+Shift+F6: back";

  // A press on the other child's caption activates it.
  RECT r;
  GetWindowRect(docs[0]->Handle(), &r);
  RealClick({(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
  PumpFor(200);
  EXPECT_EQ(frame->ActiveMDIChild(), docs[0]);
  EXPECT_EQ(GetMenu(frame->Handle()), docs[0]->menu->Handle());

  // The shortcut of the menu shown is the active child's.
  docs[0]->edit->SetFocus();
  RealKey('Z', {VK_CONTROL});
  PumpFor(200);
  EXPECT_EQ(docs[0]->undone, 1);
  EXPECT_EQ(docs[1]->undone, 0);

  // Ctrl+F4 closes the active child, and it is freed.
  const int components = TComponent::LiveCount();
  RealKey(VK_F4, {VK_CONTROL});
  PumpFor(200);
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), docs[1]);
  EXPECT_LT(TComponent::LiveCount(), components);
  delete frame;
}

TEST_F(MDITest, AHookOnAChildHearsItsActivationAndItsEnd) {
  // What a skin frame does with an MDI child: it replaces the WindowProc and
  // follows WM_MDIACTIVATE (lParam the child activated) and WM_DESTROY.
  auto* frame = new Frame(&app);
  frame->Show();
  auto* one = new Doc(&app, "One");
  one->Show();
  auto* two = new Doc(&app, "Two");
  two->Show();
  std::vector<std::string> log;
  const TWndMethod saved = one->WindowProc;
  one->WindowProc = [&log, one, saved](TMessage& m) {
    if (m.Msg == WM_MDIACTIVATE)
      log.push_back(reinterpret_cast<HWND>(m.LParam) == one->Handle() ? "activated" : "deactivated");
    if (m.Msg == WM_DESTROY) log.push_back(dynamic_cast<Doc*>(one) ? "destroy, whole" : "destroy, half gone");
    saved(m);
  };
  frame->Next();
  frame->Next();
  delete one;
  EXPECT_EQ(log, (std::vector<std::string>{"activated", "deactivated", "destroy, whole"}));
  EXPECT_EQ(frame->ActiveMDIChild(), two);
  delete frame;
}
