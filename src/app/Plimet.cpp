// Plimet's start-up and shutdown: one copy per desktop, the login, the
// side-bar for as long as the user works, and the tables saved at the end.
#include <windows.h>

#include "framework/win32/Dialogs.h"
#include "framework/win32/Forms.h"
#include "store/uDM.h"
#include "ui/uLogin.h"
#include "ui/uMain.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A running copy is woken, by the class its main window registers.
  if (HWND running = FindWindowA("Plimet", nullptr)) {
    PostMessageA(running, WM_PLIMET_WAKEUP, 0, 0);
    return 0;
  }
  TApplication application;
  // No task-bar button of our own: the side-bar and the tray icon are the way in.
  SetWindowLongPtrA(application.Handle(), GWL_EXSTYLE,
                    GetWindowLongPtrA(application.Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  application.SetTitle("Plimet");
  AppPath = ProgramFolder();
  {
    TDM dm;
    if (!UserList->LoadErrorText().empty()) {
      MessageDlg(UserList->LoadErrorText(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
      UserList->CreateTable(); // go on with an empty table; the damaged file was kept
    }
    if (ShowLoginDialog()) {
      ShowMainWindow();
      application.ProcessMessages();
      CloseData();
    } else {
      application.Terminate();
    }
  }
  return 0;
}
