#include "support/ModalDriver.h"

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

namespace {
// A thread hook has no context argument: the driver of this thread.
thread_local ModalDriver* current = nullptr;

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}
} // namespace

ModalDriver::ModalDriver() : hook_(SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId())) { current = this; }

ModalDriver::~ModalDriver() {
  UnhookWindowsHookEx(hook_);
  for (auto& entry : due_) KillTimer(nullptr, entry.timer);
  current = nullptr;
}

void ModalDriver::When(const std::string& windowClass, std::function<void(HWND)> action) {
  actions_.push_back({windowClass, std::move(action)});
}

LRESULT CALLBACK ModalDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current) {
    HWND window = reinterpret_cast<HWND>(wParam);
    const std::string className = ClassOf(window);
    if (className == "#32770") {
      current->boxCaptions_.push_back(TextOf(window));
      // The message text is the static control holding the most text.
      std::string longest;
      for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && TextOf(child).size() > longest.size()) longest = TextOf(child);
      current->boxTexts_.push_back(longest);
    }
    if (!current->actions_.empty() && current->actions_.front().windowClass == className) {
      // Acting inside the hook is too early: the window is not active yet.
      const UINT_PTR timer = SetTimer(nullptr, 0, 20, Fire);
      current->due_.push_back({timer, window, std::move(current->actions_.front().action), 0});
      current->actions_.pop_front();
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalDriver::Fire(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (!current) return;
  for (auto it = current->due_.begin(); it != current->due_.end(); ++it) {
    if (it->timer != timer) continue;
    // Keys go to the focus: wait (up to two seconds) until the window is
    // active and holds it, which under load can take longer than one round.
    HWND focus = GetFocus();
    const bool ready = GetActiveWindow() == it->window && focus && (focus == it->window || IsChild(it->window, focus));
    if (!ready && IsWindow(it->window) && it->waited < 100) {
      ++it->waited;
      it->timer = SetTimer(nullptr, 0, 20, Fire);
      return;
    }
    HWND window = it->window;
    auto action = std::move(it->action);
    current->due_.erase(it);
    action(window);
    return;
  }
}

void TypeText(const std::string& text) {
  for (const char c : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressKey(WORD virtualKey) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(focus, WM_KEYUP, virtualKey, 0xC0000001);
}

void ClickOn(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  const LPARAM middle = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageA(window, WM_LBUTTONUP, 0, middle);
}

void CloseByCloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

namespace {
thread_local std::deque<std::function<void()>> pendingSteps;

void CALLBACK NextStep(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (pendingSteps.empty()) return;
  auto step = std::move(pendingSteps.front());
  pendingSteps.pop_front();
  step();
  if (!pendingSteps.empty()) SetTimer(nullptr, 0, 30, NextStep);
}
} // namespace

void RunSteps(std::vector<std::function<void()>> steps) {
  for (auto& step : steps) pendingSteps.push_back(std::move(step));
  SetTimer(nullptr, 0, 10, NextStep);
}

std::string MessageFormText(HWND window) {
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
  for (int i = 0; form && i < form->ComponentCount(); ++i)
    if (auto* label = dynamic_cast<TLabel*>(form->Components(i))) return label->Caption();
  return "";
}
