#include "framework/win32/TrayIcon.h"

#include "framework/win32/Forms.h"

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner),
      window_([this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT&) { return HandleMessage(msg, wParam, lParam); },
              false), // a top-level window: the shell's restart is broadcast
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

TTrayIcon::~TTrayIcon() {
  KillTimer(window_.Handle(), kMenuTimer);
  if (visible_) Notify(NIM_DELETE);
}

bool TTrayIcon::Notify(DWORD action) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window_.Handle();
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = Icon;
  lstrcpynA(data.szTip, Hint.c_str(), sizeof data.szTip); // at most 127 characters and the NUL
  return Shell_NotifyIconA(action, &data) != FALSE;
}

bool TTrayIcon::SetVisible(bool visible) {
  if (visible == visible_) return true;
  const bool done = Notify(visible ? NIM_ADD : NIM_DELETE);
  if (done) visible_ = visible;
  return done;
}

void TTrayIcon::ApplicationMinimized() {
  if (!MinimizeToTray || !Application) return;
  if (TForm* main = Application->MainForm(); main && main->HandleAllocated()) ShowWindow(main->Handle(), SW_HIDE);
  ShowWindow(Application->Handle(), SW_HIDE);
}

void TTrayIcon::ShowMenu() {
  if (!PopupMenu) return;
  POINT at;
  GetCursorPos(&at);
  HWND owner = Application ? Application->Handle() : window_.Handle();
  SetForegroundWindow(owner); // or the menu would not close when the user clicks elsewhere
  PopupMenu->Popup(at.x, at.y);
  PostMessageA(owner, WM_NULL, 0, 0);
}

bool TTrayIcon::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == taskbarCreated_) {
    if (visible_) Notify(NIM_ADD);
    return true;
  }
  if (msg == WM_TIMER && wParam == kMenuTimer) {
    // No second press came in time: it was a single click.
    KillTimer(window_.Handle(), kMenuTimer);
    ShowMenu();
    return true;
  }
  if (msg != kCallbackMessage) return false;
  switch (static_cast<UINT>(lParam)) {
  case WM_LBUTTONDOWN:
    // The menu waits to see whether this press starts a double click.
    SetTimer(window_.Handle(), kMenuTimer, GetDoubleClickTime(), nullptr);
    break;
  case WM_RBUTTONDOWN:
    KillTimer(window_.Handle(), kMenuTimer);
    ShowMenu();
    break;
  case WM_LBUTTONDBLCLK:
    KillTimer(window_.Handle(), kMenuTimer);
    if (OnDblClick) OnDblClick(this);
    break;
  default:
    break;
  }
  return true;
}
