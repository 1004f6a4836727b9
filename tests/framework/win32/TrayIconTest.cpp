// The notification-area icon registers, answers its callback and goes away.
#include <gtest/gtest.h>

#include "framework/win32/Forms.h"
#include "framework/win32/TrayIcon.h"

TEST(TrayIcon, RegistersAnswersItsCallbackAndIsRemoved) {
  TApplication app;
  TForm main(&app);
  main.Show();
  TTrayIcon tray(&main);
  tray.Icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  tray.Hint = std::string(200, 'x'); // cut to what the shell takes
  ASSERT_TRUE(tray.SetVisible(true));
  EXPECT_TRUE(tray.Visible());

  int doubleClicks = 0;
  tray.OnDblClick = [&](TComponent*) { ++doubleClicks; };
  SendMessageA(tray.Handle(), TTrayIcon::kCallbackMessage, 1, WM_LBUTTONDBLCLK);
  EXPECT_EQ(doubleClicks, 1);

  // A press opens the menu at the pointer.
  TPopupMenu menu(&main);
  bool chosen = false;
  auto* restore = new TMenuItem(&main);
  restore->SetCaption("Restore");
  restore->OnClick = [&](TComponent*) { chosen = true; };
  menu.Items()->Add(restore);
  tray.PopupMenu = &menu;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND target = GetActiveWindow() ? GetActiveWindow() : GetForegroundWindow();
    PostMessageA(target, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
  });
  SendMessageA(tray.Handle(), TTrayIcon::kCallbackMessage, 1, WM_RBUTTONDOWN);
  app.ProcessMessages();
  EXPECT_TRUE(chosen) << "Down and Enter chose the first item";

  // The shell restarted: the icon is added again.
  SendMessageA(tray.Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray.Visible());

  tray.ApplicationMinimized();
  EXPECT_FALSE(IsWindowVisible(main.Handle())) << "only the icon remains";
  ASSERT_TRUE(tray.SetVisible(false));
  EXPECT_FALSE(tray.Visible());
}
