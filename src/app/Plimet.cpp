// Plimet's start-up and shutdown: one copy per desktop, the login, the
// side-bar for as long as the user works, and the tables saved at the end.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/win32/Dialogs.h"
#include "framework/win32/Forms.h"
#include "store/uDM.h"
#include "ui/uLogin.h"
#include "ui/uMain.h"

namespace {

std::string ProgramFolder() {
  // Grown until the whole path fits: a cut path names another folder.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of('\\') + 1);
}

// The whole run; raises what nothing on the way could handle.
int RunPlimet() {
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
    if (!AccountTableReady()) {
      application.Terminate();
    } else if (ShowLoginDialog()) {
      // The side-bar does not open when the account's entries cannot be
      // read; then nothing is saved, so that the file is found whole later.
      if (ShowMainWindow()) {
        application.ProcessMessages();
        CloseData();
      }
    } else {
      application.Terminate();
    }
  }
  return 0;
}

// Told where it can be seen: in a box when the desktop lets us show one,
// and on the error output for whoever started us without one.
void ReportStartFailure(const std::string& text) {
  std::fprintf(stderr, "Plimet: %s\n", text.c_str());
  std::fflush(stderr);
  MessageBoxA(nullptr, text.c_str(), "Plimet", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Nothing may escape from here: an exception leaving WinMain aborts the
  // process without a word (exit code 3). That happens when no window can
  // be made, as when the desktop is not there yet at a cold start.
  try {
    return RunPlimet();
  } catch (const std::exception& error) {
    ReportStartFailure(error.what());
  } catch (...) {
    ReportStartFailure("Unknown error");
  }
  return 1;
}
