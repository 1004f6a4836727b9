#include "support/DialogAnswerer.h"

namespace {
// A thread hook has no context argument: the answering object of this thread.
thread_local DialogAnswerer* current = nullptr;
} // namespace

DialogAnswerer::DialogAnswerer(int command)
    : hook_(SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId())), command_(command) {
  current = this;
}

DialogAnswerer::~DialogAnswerer() {
  UnhookWindowsHookEx(hook_);
  current = nullptr;
}

LRESULT CALLBACK DialogAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770") {
      char caption[256] = {};
      GetWindowTextA(window, caption, sizeof caption);
      current->captions_.push_back(caption);
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(current->command_, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
