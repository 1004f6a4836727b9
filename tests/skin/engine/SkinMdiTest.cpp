// A skinned MDI form and its children under Wine: the cascade and tile
// geometry the frame lays out, the buttons of a maximized child in the menu
// bar, and the window list it keeps in the Window menu.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindowFramework.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::string& caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

class SkinnedFrame : public TForm {
public:
  PLIMET_CLASS_NAME(SkinnedFrame)
  explicit SkinnedFrame(TComponent* owner) : TForm(owner) {
    FormStyle = TFormStyle::fsMDIForm;
    SetCaption("Documents");
    SetBounds(20, 20, 640, 460);
    menu = new TMainMenu(this);
    AddItem(this, AddItem(this, menu->Items(), "&File"), "&New");
    window = AddItem(this, menu->Items(), "&Window");
    AddItem(this, window, "&Cascade");
    SetMenu(menu);
    SetWindowMenu(window);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TSkinWindowFramework* Frame() { return static_cast<TSkinWindowFramework*>(Engine->FrameOf(Handle())); }
  TMainMenu* menu;
  TMenuItem* window;
  TSkinEngine* Engine;
};

// A document window; like every window of the program it carries an engine.
class SkinnedDoc : public TForm {
public:
  PLIMET_CLASS_NAME(SkinnedDoc)
  SkinnedDoc(TComponent* owner, const std::string& caption) : TForm(owner) {
    FormStyle = TFormStyle::fsMDIChild;
    Position = TPosition::poDefaultPosOnly;
    SetCaption(caption);
    SetBounds(0, 0, 280, 180);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TSkinEngine* Engine;
};

RECT InParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class SkinMdiTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = new SkinnedFrame(&app);
    frame->Show();
    one = new SkinnedDoc(&app, "One");
    one->Show();
    two = new SkinnedDoc(&app, "Two");
    two->Show();
    PumpFor(200);
  }
  TApplication app;
  SkinnedFrame* frame;
  SkinnedDoc* one;
  SkinnedDoc* two;
};

} // namespace

TEST_F(SkinMdiTest, CascadeAndTileLayTheChildrenOutOverTheClient) {
  ASSERT_EQ(SendMessageA(one->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  RECT client{};
  GetClientRect(frame->ClientHandle(), &client);
  frame->Cascade();
  PumpFor(100);
  // Last to first from the corner, 22 pixels apart: the lowest child first.
  const RECT lowest = InParent(one->Handle()), upper = InParent(two->Handle());
  EXPECT_EQ(lowest.left, 0);
  EXPECT_EQ(lowest.top, 0);
  EXPECT_EQ(upper.left, 22);
  EXPECT_EQ(upper.top, 22);
  EXPECT_EQ(upper.right - upper.left, std::lround(0.8 * client.right));
  EXPECT_EQ(upper.bottom - upper.top, std::lround(0.6 * client.bottom));
  SaveWindowShot(frame->Handle(), "screenshots/skin-mdi.bmp");
  frame->TileMode = TTileMode::tbHorizontal;
  frame->Tile();
  PumpFor(100);
  RECT formClient{};
  GetClientRect(frame->Handle(), &formClient);
  const int height = formClient.bottom - frame->Frame()->MenuBarHeight();
  for (SkinnedDoc* doc : {one, two}) {
    const RECT r = InParent(doc->Handle());
    EXPECT_EQ(r.bottom - r.top, height / 2 - 2) << doc->Caption();
    EXPECT_EQ(r.right - r.left, formClient.right - 4) << doc->Caption();
  }
}

TEST_F(SkinMdiTest, AMaximizedChildShowsItsButtonsInTheBar) {
  TSkinWindowFramework* skin = frame->Frame();
  ASSERT_NE(skin, nullptr);
  for (auto* button : skin->MDIButtons) ASSERT_FALSE(button->Visible());
  ShowWindow(two->Handle(), SW_MAXIMIZE);
  PumpFor(200);
  for (auto* button : skin->MDIButtons) EXPECT_TRUE(button->Visible());
  EXPECT_EQ(skin->MDIButtons[0]->Tag, -1381);
  EXPECT_EQ(skin->MDIButtons[1]->Tag, -1382);
  EXPECT_EQ(skin->MDIButtons[2]->Tag, -1383);
  SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(two->Handle()), 0);
  PumpFor(200);
  for (auto* button : skin->MDIButtons) EXPECT_FALSE(button->Visible());
}

TEST_F(SkinMdiTest, TheWindowMenuListsTheChildrenWithTheActiveOneChecked) {
  SendMessageA(frame->Handle(), WM_SKIN_REFRESHWINDOWLIST, 0, 0);
  std::vector<std::string> captions;
  TMenuItem* checked = nullptr;
  for (int i = 0; i < frame->window->Count(); ++i) {
    captions.push_back(frame->window->Items(i)->Caption());
    if (frame->window->Items(i)->Checked()) checked = frame->window->Items(i);
  }
  ASSERT_GE(captions.size(), 4u);
  EXPECT_EQ(captions[1], "-");
  EXPECT_NE(std::find(captions.begin(), captions.end(), "One"), captions.end());
  EXPECT_NE(std::find(captions.begin(), captions.end(), "Two"), captions.end());
  ASSERT_NE(checked, nullptr);
  EXPECT_EQ(checked->Caption(), frame->ActiveMDIChild()->Caption());
}
