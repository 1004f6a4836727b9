#include "ui/SecretClipboard.h"

TSecretClipboard::TSecretClipboard(TComponent* owner, TLabel* label, TWinControl* window)
    : timer_(new TTimer(owner)), label_(label), window_(window) {
  timer_->SetEnabled(false);
  timer_->SetInterval(1000);
  timer_->OnTimer = [this](TComponent*) { Tick(); };
}

TSecretClipboard::~TSecretClipboard() {
  try {
    // The window goes: a clipboard held by another program gets a little longer.
    for (int attempt = 0; attempt < 10 && left_ > 0; ++attempt) ClearNow();
  } catch (...) {
    // a destructor tells nobody; the clipboard is left as the system has it
  }
}

HWND TSecretClipboard::OwnerWindow() const { return window_ && window_->HandleAllocated() ? window_->Handle() : nullptr; }

void TSecretClipboard::Copy(const std::string& text) {
  mark_ = SetPrivateClipboardText(OwnerWindow(), text);
  left_ = DelaySeconds;
  timer_->SetEnabled(false);
  timer_->SetEnabled(true);
  ShowLeft();
}

void TSecretClipboard::ClearNow() {
  if (left_ > 0 && ClearClipboardIfStill(OwnerWindow(), mark_) == TClearResult::Busy) {
    // Still there and not to be had this moment: tried again next second.
    left_ = 1;
    timer_->SetEnabled(true);
    ShowLeft();
    return;
  }
  timer_->SetEnabled(false);
  left_ = 0;
  mark_.text.assign(mark_.text.size(), '\0'); // no copy of the secret lingers in memory
  mark_ = {};
  ShowLeft();
}

void TSecretClipboard::Tick() {
  // Something copied since is the user's: the countdown ends, nothing is cleared.
  if (GetClipboardSequenceNumber() != mark_.sequence) {
    timer_->SetEnabled(false);
    left_ = 0;
    mark_ = {};
    ShowLeft();
    return;
  }
  if (--left_ <= 0) {
    left_ = 1; // so that ClearNow takes it back
    ClearNow();
    return;
  }
  ShowLeft();
}

void TSecretClipboard::ShowLeft() {
  if (!label_) return;
  label_->SetCaption(left_ > 0 ? "The clipboard is cleared in " + std::to_string(left_) + " s." : std::string());
}
