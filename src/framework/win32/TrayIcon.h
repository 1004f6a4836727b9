#pragma once
// The notification-area icon: an icon and tip registered with the shell on
// a hidden window of its own, a menu on a press of either button (a left
// press waits the double-click time, so that a double click is not taken
// for a press), a double click, hiding the program when it is minimized, and registering again when
// the shell restarts.
#include <windows.h>
#include <shellapi.h>

#include "framework/win32/Controls.h"
#include "framework/win32/Menus.h"

class TTrayIcon : public TComponent {
public:
  static constexpr UINT kCallbackMessage = WM_USER + 0x400;

  explicit TTrayIcon(TComponent* owner);
  ~TTrayIcon() override;
  PLIMET_CLASS_NAME(TTrayIcon)

  HICON Icon = nullptr; // not owned
  // Shown as the icon's tip, cut to 127 characters.
  std::string Hint;
  TPopupMenu* PopupMenu = nullptr;
  bool MinimizeToTray = true;
  bool Visible() const { return visible_; }
  // Adds the icon to the notification area, or removes it. False when the shell refuses.
  bool SetVisible(bool visible);
  TNotifyEvent OnDblClick;

  // When the application is minimized: hide its windows, keep the icon.
  void ApplicationMinimized();
  // The hidden window the shell reports to.
  HWND Handle() const { return window_.Handle(); }

private:
  static constexpr UINT_PTR kMenuTimer = 1;
  void ShowMenu();
  bool Notify(DWORD action);
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  TUtilWindow window_;
  UINT taskbarCreated_;
  bool visible_ = false;
};
