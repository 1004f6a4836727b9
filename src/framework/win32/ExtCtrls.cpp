#include "framework/win32/ExtCtrls.h"

#include "framework/win32/Forms.h"

LRESULT CALLBACK TTimer::TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    try {
      if (timer && timer->OnTimer) timer->OnTimer(timer);
    } catch (const std::exception& error) {
      if (Application) Application->ShowException(error.what());
    }
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TimerWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TPUtilWindow";
  RegisterClassExA(&wc); // fails harmlessly when registered already
  window_ = CreateWindowExA(0, "TPUtilWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Update();
}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DestroyWindow(window_);
  }
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  Update();
}

void TTimer::Update() {
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}
