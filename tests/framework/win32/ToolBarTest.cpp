// The tool bar as the menu bar and the skinners use it, driven through the
// system's input queue: menu buttons, grouped check buttons, drop-down
// buttons, sizes and modes, and custom drawing that replaces the bar's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "support/RealInput.h"

namespace {

// The open menu window, or none.
HWND OpenMenuWindow() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Runs the input; once a menu is open, calls `whileOpen` (which closes it).
// Returns whether a menu opened.
bool WhileMenuOpen(const std::function<void()>& input, const std::function<void(HWND menu)>& whileOpen) {
  static const std::function<void(HWND)>* action;
  static bool done;
  action = &whileOpen;
  done = false;
  input();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (done) return;
    if (HWND menu = OpenMenuWindow()) {
      done = true;
      (*action)(menu);
    }
  });
  const DWORD end = GetTickCount() + 2000;
  while (!done && static_cast<int>(end - GetTickCount()) > 0) PumpFor(20);
  KillTimer(nullptr, timer);
  const bool opened = done;
  done = true;
  PumpFor(150);
  return opened;
}

// Runs the input, then one step for each menu that opens after it (a step
// may move to another menu or close the one open). Returns the first item
// of each menu seen.
std::vector<std::string> MenusSeen(const std::function<void()>& input,
                                   const std::vector<std::function<void()>>& steps);

void PointerTo(POINT screen) {
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof move);
}

std::string MenuText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

std::vector<std::string> MenusSeen(const std::function<void()>& input,
                                   const std::vector<std::function<void()>>& steps) {
  static const std::vector<std::function<void()>>* todo;
  static std::vector<std::string> seen;
  static HMENU last;
  static std::size_t next;
  todo = &steps;
  seen.clear();
  last = nullptr;
  next = 0;
  input();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND window = OpenMenuWindow();
    if (!window || next >= todo->size()) return;
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    if (menu == last) return; // the same menu: its step has not taken effect yet
    last = menu;
    seen.push_back(MenuText(menu, 0));
    (*todo)[next++]();
  });
  const DWORD end = GetTickCount() + 3000;
  while (next < steps.size() && static_cast<int>(end - GetTickCount()) > 0) PumpFor(20);
  KillTimer(nullptr, timer);
  next = steps.size();
  PumpFor(150);
  return seen;
}

class ToolBarTest : public ::testing::Test {
protected:
  ToolBarTest() : form(&app) {
    form.SetBounds(120, 120, 420, 260);
    bar = new TToolBar(&form);
    bar->SetParent(&form);
  }
  ~ToolBarTest() override { PumpFor(50); } // no input left for the next test
  void ShowForm() {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(100);
  }
  TToolButton* AddButton(const std::string& caption, TToolButtonStyle style = TToolButtonStyle::tbsButton) {
    auto* button = new TToolButton(&form);
    button->Style = style;
    button->SetCaption(caption);
    button->SetToolBar(bar);
    return button;
  }
  POINT ScreenCenter(TToolButton* button) {
    const RECT r = button->ButtonRect();
    return ScreenPoint(bar->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  bool Pressed(TToolButton* button) {
    return SendMessageA(bar->Handle(), TB_ISBUTTONPRESSED, static_cast<WPARAM>(button->Command()), 0) != 0;
  }
  int ButtonWidth(TToolButton* button) {
    const RECT r = button->ButtonRect();
    return r.right - r.left;
  }
  TApplication app;
  TForm form;
  TToolBar* bar;
};

} // namespace

TEST_F(ToolBarTest, AMenuButtonDropsItsItemsUnderItselfAndACancelReleasesIt) {
  TMainMenu menu(&form);
  auto* file = new TMenuItem(&form);
  file->SetCaption("&File");
  menu.Items()->Add(file);
  int opened = 0, exited = 0;
  for (const char* caption : {"&Open", "E&xit"}) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    item->OnClick = [&, caption](TComponent*) { ++(caption[1] == 'O' ? opened : exited); };
    file->Add(item);
  }
  auto* about = new TMenuItem(&form);
  about->SetCaption("&About");
  int abouts = 0;
  about->OnClick = [&](TComponent*) { ++abouts; };
  menu.Items()->Add(about);
  bar->List = true;
  TToolButton* fileButton = AddButton("");
  fileButton->Grouped = true;
  fileButton->AutoSize = true;
  fileButton->SetMenuItem(file);
  TToolButton* aboutButton = AddButton("");
  aboutButton->SetMenuItem(about);
  ShowForm();
  EXPECT_EQ(fileButton->Caption(), "&File") << "the button shows its item";

  // A click drops the sub-items under the button, which stays pressed; Escape closes them.
  bool pressedWhileOpen = false, trackingWhileOpen = false;
  RECT menuRect{};
  HMENU shown = nullptr;
  std::string firstItem;
  ASSERT_TRUE(WhileMenuOpen([&] { RealClick(ScreenCenter(fileButton)); },
                            [&](HWND window) {
                              pressedWhileOpen = Pressed(fileButton);
                              trackingWhileOpen = bar->TrackingButton() == fileButton;
                              GetWindowRect(window, &menuRect);
                              shown = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
                              firstItem = MenuText(shown, 0);
                              RealKey(VK_ESCAPE);
                            }));
  EXPECT_TRUE(pressedWhileOpen);
  EXPECT_TRUE(trackingWhileOpen);
  EXPECT_EQ(firstItem, "&Open");
  RECT button = fileButton->ButtonRect();
  MapWindowPoints(bar->Handle(), nullptr, reinterpret_cast<POINT*>(&button), 2);
  EXPECT_GE(menuRect.top, button.bottom) << "under the button";
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_FALSE(Pressed(fileButton)) << "released once the menu is gone";
  EXPECT_EQ(bar->TrackingButton(), nullptr);
  EXPECT_EQ(opened + exited, 0) << "a cancelled menu chooses nothing";

  // A click elsewhere cancels it too.
  ASSERT_TRUE(WhileMenuOpen([&] { RealClick(ScreenCenter(fileButton)); },
                            [&](HWND) { RealClick(ScreenPoint(form.Handle(), {380, 200})); }));
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_FALSE(Pressed(fileButton));
  EXPECT_EQ(opened + exited, 0);

  // Chosen from the keyboard: the item runs once, after the menu closed.
  ASSERT_TRUE(WhileMenuOpen([&] { RealClick(ScreenCenter(fileButton)); },
                            [&](HWND) {
                              RealKey(VK_DOWN);
                              RealKey(VK_DOWN);
                              RealKey(VK_RETURN);
                            }));
  EXPECT_EQ(exited, 1);
  EXPECT_EQ(opened, 0);
  EXPECT_FALSE(Pressed(fileButton));

  // An item without sub-items is clicked, no menu dropped.
  EXPECT_FALSE(WhileMenuOpen([&] { RealClick(ScreenCenter(aboutButton)); }, [](HWND) { RealKey(VK_ESCAPE); }));
  EXPECT_EQ(abouts, 1);

  // The item going away leaves the button without it.
  delete about;
  EXPECT_EQ(aboutButton->MenuItem(), nullptr);
}

TEST_F(ToolBarTest, AGroupedCheckButtonStaysDownAloneAndAPlainOneToggles) {
  std::vector<TToolButton*> group;
  for (const char* caption : {"Left", "Centre", "Right"}) {
    TToolButton* button = AddButton(caption, TToolButtonStyle::tbsCheck);
    button->Grouped = true;
    group.push_back(button);
  }
  AddButton("", TToolButtonStyle::tbsSeparator);
  TToolButton* bold = AddButton("Bold", TToolButtonStyle::tbsCheck);
  group[0]->SetDown(true);
  bar->RebuildButtons(); // the state lives through a rebuild
  ShowForm();
  auto downs = [&] {
    std::string state;
    for (TToolButton* button : group) state += button->Down() ? "1" : "0";
    return state;
  };
  EXPECT_EQ(downs(), "100");
  int clicks = 0;
  group[2]->OnClick = [&](TComponent*) { ++clicks; };
  RealClick(ScreenCenter(group[2]));
  PumpFor(100);
  EXPECT_EQ(downs(), "001");
  EXPECT_EQ(clicks, 1);
  RealClick(ScreenCenter(group[2]));
  PumpFor(100);
  EXPECT_EQ(downs(), "001") << "the down one of a group stays down";
  RealClick(ScreenCenter(group[1]));
  PumpFor(100);
  EXPECT_EQ(downs(), "010");
  group[0]->SetDown(true);
  EXPECT_EQ(downs(), "100");
  EXPECT_FALSE(bold->Down());
  RealClick(ScreenCenter(bold));
  PumpFor(100);
  EXPECT_TRUE(bold->Down());
  EXPECT_EQ(downs(), "100") << "a check button outside the group leaves it alone";
  RealClick(ScreenCenter(bold));
  PumpFor(100);
  EXPECT_FALSE(bold->Down());
}

TEST_F(ToolBarTest, ADropDownButtonShowsItsMenuFromTheArrow) {
  TPopupMenu popup(&form);
  auto* recent = new TMenuItem(&form);
  recent->SetCaption("Recent file");
  popup.Items()->Add(recent);
  TToolButton* open = AddButton("Open", TToolButtonStyle::tbsDropDown);
  open->SetDropdownMenu(&popup);
  int clicks = 0;
  open->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  TBBUTTON native{};
  SendMessageA(bar->Handle(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&native));
  EXPECT_TRUE(native.fsStyle & BTNS_DROPDOWN);
  const RECT r = open->ButtonRect();
  HMENU shown = nullptr;
  ASSERT_TRUE(WhileMenuOpen([&] { RealClick(ScreenPoint(bar->Handle(), {r.right - 5, (r.top + r.bottom) / 2})); },
                            [&](HWND window) {
                              shown = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
                              RealKey(VK_ESCAPE);
                            }));
  EXPECT_EQ(shown, popup.Handle());
  EXPECT_EQ(clicks, 0) << "the arrow does not click the button";
  RealClick(ScreenPoint(bar->Handle(), {r.left + 8, (r.top + r.bottom) / 2}));
  PumpFor(100);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
}

TEST_F(ToolBarTest, SizesListModeWrappingEdgesAndHotImages) {
  TImageList images(&form), hot(&form);
  images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  hot.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)));
  bar->Images = &images;
  bar->HotImages = &hot;
  bar->ButtonWidth = 68;
  bar->ButtonHeight = 36;
  TToolButton* fixed = AddButton("Save");
  TToolButton* wide = AddButton("A caption much wider than the others");
  wide->AutoSize = true;
  fixed->ImageIndex = wide->ImageIndex = 0;
  ShowForm();
  bar->RebuildButtons();
  EXPECT_EQ(ButtonWidth(fixed), 68);
  EXPECT_GT(ButtonWidth(wide), 68) << "an auto-sized button fits its caption";
  EXPECT_EQ(SendMessageA(bar->Handle(), TB_GETHOTIMAGELIST, 0, 0), reinterpret_cast<LRESULT>(hot.Handle()));

  // List mode: the image beside the caption, so the button is lower and wider.
  bar->ButtonWidth = bar->ButtonHeight = 0;
  bar->RebuildButtons();
  const RECT below = fixed->ButtonRect();
  bar->List = true;
  bar->RebuildButtons();
  const RECT beside = fixed->ButtonRect();
  EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & TBSTYLE_LIST);
  EXPECT_LT(beside.bottom - beside.top, below.bottom - below.top);
  EXPECT_GT(beside.right - beside.left, below.right - below.left);

  // Wrapping on a narrow bar: the buttons go on to further rows and an
  // auto-sized bar grows to hold them.
  bar->Images = nullptr;
  bar->HotImages = nullptr;
  bar->List = false;
  for (const char* caption : {"One", "Two", "Three", "Four"}) AddButton(caption);
  bar->SetAlign(TAlign::alNone);
  bar->SetBounds(0, 0, 150, 30);
  bar->Wrapable = true;
  bar->AutoSize = true;
  bar->RebuildButtons();
  TToolButton* last = bar->Buttons(bar->ButtonCount() - 1);
  EXPECT_GT(last->ButtonRect().top, fixed->ButtonRect().top);
  EXPECT_GE(bar->Height(), static_cast<int>(last->ButtonRect().bottom));
  RECT window;
  GetWindowRect(bar->Handle(), &window);
  EXPECT_EQ(window.bottom - window.top, bar->Height());
  bar->Wrapable = false;
  bar->RebuildButtons();
  EXPECT_EQ(last->ButtonRect().top, fixed->ButtonRect().top) << "one row when it does not wrap";
  EXPECT_LT(bar->Height(), static_cast<int>(window.bottom - window.top));

  // Edges and the border width come off the client area.
  bar->AutoSize = false;
  bar->SetBounds(0, 0, 300, 60);
  bar->EdgeBorders = ebTop | ebBottom;
  bar->BorderWidth = 3;
  bar->RebuildButtons();
  RECT client;
  GetClientRect(bar->Handle(), &client);
  EXPECT_EQ(client.bottom, 60 - 2 * (2 + 3));
  EXPECT_EQ(client.right, 300 - 2 * 3);
  const TControl::TPublishedValue edges = bar->EdgeBordersProperty();
  EXPECT_TRUE(edges.published);
  EXPECT_EQ(edges.value, static_cast<int>(ebTop | ebBottom));
}

TEST_F(ToolBarTest, ACustomDrawHandlerThatAnswersDoNotDrawReplacesTheBarsDrawing) {
  bar->SetColor(RGB(255, 255, 255));
  TToolButton* first = AddButton("WWWW");
  TToolButton* second = AddButton("WWWW");
  bool skip = true;
  std::vector<TToolButton*> drawn;
  bar->OnCustomDrawButton = [&](TToolBar* sender, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw) {
    EXPECT_EQ(sender, bar);
    drawn.push_back(button);
    if (button != first) return;
    FillColor(draw.nmcd.hdc, draw.nmcd.rc, RGB(255, 0, 0));
    if (skip) defaultDraw = false;
  };
  ShowForm();
  auto pixelsOf = [&](TToolButton* button, COLORREF colour) {
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r = button->ButtonRect();
    InflateRect(&r, -2, -2);
    HDC dc = GetDC(bar->Handle());
    int count = 0, total = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x, ++total) count += GetPixel(dc, x, y) == colour;
    ReleaseDC(bar->Handle(), dc);
    return std::make_pair(count, total);
  };
  const auto [red, all] = pixelsOf(first, RGB(255, 0, 0));
  EXPECT_GT(all, 100);
  EXPECT_EQ(red, all) << "nothing of the bar's own drawing over the handler's";
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), second), drawn.end()) << "every button is offered";
  const auto [dark, secondAll] = pixelsOf(second, RGB(255, 255, 255));
  EXPECT_LT(dark, secondAll) << "a button left to the bar shows its caption";
  skip = false;
  const auto [redUnder, allUnder] = pixelsOf(first, RGB(255, 0, 0));
  EXPECT_LT(redUnder, allUnder) << "with the default drawing the caption is drawn over the fill";

  // The state the handler sees: hot under the pointer, checked when down.
  unsigned state = 0;
  bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* button, NMTBCUSTOMDRAW& draw, bool&) {
    if (button == second) state = CustomDrawState(draw.nmcd);
  };
  second->Style = TToolButtonStyle::tbsCheck;
  second->SetDown(true);
  bar->RebuildButtons();
  UpdateWindow(bar->Handle());
  EXPECT_TRUE(state & cdsChecked);
}

TEST_F(ToolBarTest, AnOpenMenuMovesToTheMenuButtonThePointerOrTheArrowKeysGoTo) {
  TMainMenu menu(&form);
  std::vector<TToolButton*> buttons;
  for (const auto& [caption, first] : {std::pair{"&File", "&Open"}, std::pair{"&Help", "&Contents"}}) {
    auto* top = new TMenuItem(&form);
    top->SetCaption(caption);
    menu.Items()->Add(top);
    auto* item = new TMenuItem(&form);
    item->SetCaption(first);
    top->Add(item);
    TToolButton* button = AddButton("");
    button->SetMenuItem(top);
    buttons.push_back(button);
  }
  AddButton("Plain");
  ShowForm();
  bool helpPressed = false, filePressed = true;
  EXPECT_EQ(MenusSeen([&] { RealClick(ScreenCenter(buttons[0])); },
                      {[&] { PointerTo(ScreenCenter(buttons[1])); },
                       [&] {
                         helpPressed = Pressed(buttons[1]);
                         filePressed = Pressed(buttons[0]);
                         RealKey(VK_ESCAPE);
                       }}),
            (std::vector<std::string>{"&Open", "&Contents"}));
  EXPECT_TRUE(helpPressed);
  EXPECT_FALSE(filePressed) << "only the button whose menu is open is pressed";
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_FALSE(Pressed(buttons[1]));

  // Right and Left at the first level go round the menu buttons only; a
  // menu reached by a key comes with its first item lit.
  bool lit = false;
  EXPECT_EQ(MenusSeen([&] { RealClick(ScreenCenter(buttons[0])); },
                      {[] { RealKey(VK_RIGHT); }, [] { RealKey(VK_RIGHT); }, [] { RealKey(VK_LEFT); },
                       [&] {
                         PumpFor(100);
                         const auto open = reinterpret_cast<HMENU>(SendMessageA(OpenMenuWindow(), MN_GETHMENU, 0, 0));
                         lit = (GetMenuState(open, 0, MF_BYPOSITION) & MF_HILITE) != 0;
                         RealKey(VK_ESCAPE);
                       }}),
            (std::vector<std::string>{"&Open", "&Contents", "&Open", "&Contents"}));
  EXPECT_TRUE(lit);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_EQ(bar->TrackingButton(), nullptr);

  // A mnemonic (Alt and a letter, handed on by the form) drops its button's
  // menu; Enter then chooses the lit first item.
  int contents = 0;
  menu.Items()->Items(1)->Items(0)->OnClick = [&](TComponent*) { ++contents; };
  buttons[1]->SetCaption("&Help");
  EXPECT_EQ(MenusSeen([&] { PostMessageA(bar->Handle(), CM_DIALOGCHAR, 'h', 0); },
                      {[] {
                        PumpFor(100);
                        RealKey(VK_RETURN);
                      }}),
            (std::vector<std::string>{"&Contents"}));
  EXPECT_EQ(contents, 1);
  EXPECT_EQ(SendMessageA(bar->Handle(), CM_DIALOGCHAR, 'z', 0), 0) << "no button has it";
}
