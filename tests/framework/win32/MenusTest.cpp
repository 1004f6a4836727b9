// Menus and actions: captions follow actions, commands arrive, popups
// deliver their choice after the handler has returned.
#include <gtest/gtest.h>

#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"

namespace {

std::string NativeText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

class MenusTest : public ::testing::Test {
protected:
  MenusTest() : form(&app), actions(&form), menu(&form) {
    file = new TMenuItem(&form);
    file->SetCaption("&File");
    menu.Items()->Add(file);
    exit = new TMenuItem(&form);
    exit->SetCaption("E&xit");
    exit->ShortCut = scCtrl | 'Q';
    file->Add(exit);
    form.SetMenu(&menu);
  }
  TApplication app;
  TForm form;
  TActionList actions;
  TMainMenu menu;
  TMenuItem* file;
  TMenuItem* exit;
};

} // namespace

TEST_F(MenusTest, ActionsGiveCaptionsAndStateToTheirClients) {
  int ran = 0;
  TAction* add = actions.Add("actAddType", "Add Catalog", "Catalog", [&](TComponent*) { ++ran; });
  exit->SetAction(add);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetAction(add);
  form.Show();
  HMENU fileMenu = GetSubMenu(menu.Handle(), 0);
  EXPECT_EQ(NativeText(fileMenu, 0), "Add Catalog\tCtrl+Q");
  EXPECT_EQ(button->Caption(), "Add Catalog");
  add->SetCaption("New Catalog");
  EXPECT_EQ(NativeText(GetSubMenu(menu.Handle(), 0), 0), "New Catalog\tCtrl+Q");
  char text[64] = {};
  GetWindowTextA(button->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "New Catalog");
  add->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  EXPECT_TRUE(GetMenuState(GetSubMenu(menu.Handle(), 0), 0, MF_BYPOSITION) & MF_GRAYED);
  button->Click();
  EXPECT_EQ(ran, 0) << "a disabled action does not run";
  add->SetEnabled(true);
  button->Click();
  exit->Click();
  EXPECT_EQ(ran, 2);
  delete add; // clients forget it
  EXPECT_EQ(exit->Action(), nullptr);
  EXPECT_EQ(button->Action(), nullptr);
}

TEST_F(MenusTest, MenuCommandsAndShortcutsReachTheirItems) {
  int exits = 0;
  exit->OnClick = [&](TComponent*) { ++exits; };
  form.Show();
  EXPECT_EQ(GetMenu(form.Handle()), menu.Handle());
  PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
  app.ProcessMessages();
  EXPECT_EQ(exits, 1);
  // Ctrl+Q while the form has the focus.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SetFocus(form.Handle());
  PostMessageA(form.Handle(), WM_KEYDOWN, 'Q', 1);
  app.ProcessMessages();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(exits, 2);
}

TEST_F(MenusTest, InvisibleItemsSeparatorsChecksAndSubItems) {
  auto* sep = new TMenuItem(&form);
  sep->SetCaption("-");
  file->Add(sep);
  auto* hidden = new TMenuItem(&form);
  hidden->SetCaption("Hidden");
  hidden->SetVisible(false);
  file->Add(hidden);
  auto* checked = new TMenuItem(&form);
  checked->SetCaption("Auto hide");
  checked->SetChecked(true);
  file->Add(checked);
  HMENU fileMenu = GetSubMenu(menu.Handle(), 0);
  EXPECT_EQ(GetMenuItemCount(fileMenu), 3);
  EXPECT_TRUE(GetMenuState(fileMenu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(fileMenu, 2, MF_BYPOSITION) & MF_CHECKED);
  hidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu.Handle(), 0)), 4);
  EXPECT_EQ(menu.Items()->Find(checked->Command()), checked);
}

TEST_F(MenusTest, APopupDeliversItsChoiceAfterReturning) {
  TPopupMenu popup(&form);
  std::string chosen;
  for (const char* name : {"Open", "Delete", "Rename"}) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(name);
    item->OnClick = [&chosen, name](TComponent*) { chosen = name; };
    popup.Items()->Add(item);
  }
  form.Show();
  // A person presses Down twice and Enter while the menu is open.
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(target, WM_KEYDOWN, key, 1);
  });
  popup.Popup(100, 100);
  EXPECT_EQ(chosen, "") << "the command is queued, not run inside Popup";
  app.ProcessMessages();
  EXPECT_EQ(chosen, "Delete");
}

TEST(ShortCutText, ReadsAsMenusShowIt) {
  EXPECT_EQ(ShortCutToText(scCtrl | 'N'), "Ctrl+N");
  EXPECT_EQ(ShortCutToText(scShift | VK_F10), "Shift+F10");
  EXPECT_EQ(ShortCutToText(VK_DELETE), "Del");
  EXPECT_EQ(ShortCutToText(0), "");
}

TEST_F(MenusTest, OwnerDrawnMenusDrawEveryItemSeparatorsIncluded) {
  TPopupMenu popup(&form);
  auto add = [&](const char* caption) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    popup.Items()->Add(item);
    return item;
  };
  TMenuItem* minimize = add("Minimize");
  TMenuItem* separator = add("-");
  add("Close");
  auto typeOf = [&](int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(popup.Handle(), static_cast<UINT>(position), TRUE, &info);
    return info.fType;
  };
  EXPECT_EQ(typeOf(1) & MFT_OWNERDRAW, 0u) << "plain until switched on";
  popup.SetOwnerDraw(true);
  EXPECT_TRUE(typeOf(0) & MFT_OWNERDRAW);
  EXPECT_EQ(typeOf(1), static_cast<UINT>(MFT_SEPARATOR | MFT_OWNERDRAW)) << "the separator is drawn by its owner too";
  // The separator measures what its handler says, as the skin's 5 pixels.
  separator->OnMeasureItem = [](TMenuItem*, HDC, int& width, int& height) {
    width = 10;
    height = 5;
  };
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(separator);
  LRESULT result = 0;
  ASSERT_TRUE(DispatchMenuOwnerDraw(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure), result));
  EXPECT_EQ(measure.itemHeight, 5u);
  popup.SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_TRUE(typeOf(0) & MFT_RIGHTORDER);
  popup.SetOwnerDraw(false);
  EXPECT_EQ(typeOf(1), static_cast<UINT>(MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY));
  EXPECT_EQ(minimize->Caption(), "Minimize");
}

TEST_F(MenusTest, AutomaticHotKeysTakeTheFirstFreeLetter) {
  TPopupMenu popup(&form);
  for (const char* caption : {"Mi&nimize", "Maximize", "-", "Move", "Close", "Copy", "&&Co", "123"}) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    popup.Items()->Add(item);
  }
  EXPECT_EQ(NativeText(popup.Handle(), 1), "Maximize") << "nothing given until switched on";
  popup.SetAutoHotkeys(true);
  const std::vector<std::string> expected = {"Mi&nimize", "&Maximize", "", "M&ove", "&Close", "Co&py"};
  for (int i = 0; i < static_cast<int>(expected.size()); ++i)
    if (i != 2) {
      EXPECT_EQ(NativeText(popup.Handle(), i), expected[static_cast<std::size_t>(i)]) << i;
    }
  EXPECT_EQ(NativeText(popup.Handle(), 6), "&&Co") << "an escaped ampersand is no mnemonic; every letter taken";
  EXPECT_EQ(NativeText(popup.Handle(), 7), "&123");
}
