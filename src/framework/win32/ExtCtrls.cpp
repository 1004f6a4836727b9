#include "framework/win32/ExtCtrls.h"

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_([this](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg != WM_TIMER) return false;
        if (OnTimer) OnTimer(this);
        return true;
      }) {
  Update();
}

TTimer::~TTimer() { KillTimer(window_.Handle(), 1); }

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  Update();
}

void TTimer::Update() {
  KillTimer(window_.Handle(), 1);
  if (enabled_ && interval_ > 0) SetTimer(window_.Handle(), 1, interval_, nullptr);
}
