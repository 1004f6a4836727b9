#pragma once
// A secret on the clipboard for a short while: put there with the formats
// that keep it out of the clipboard history, counted down in a label, and
// taken back after the delay, or sooner when its window goes, unless the
// user has copied something else since.
#include <string>

#include "framework/win32/Clipboard.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/StdCtrls.h"

class TSecretClipboard {
public:
  // The timer is made for the owner; the label shows the countdown; the
  // window owns what is put on the clipboard.
  TSecretClipboard(TComponent* owner, TLabel* label, TWinControl* window);
  ~TSecretClipboard();
  TSecretClipboard(const TSecretClipboard&) = delete;
  TSecretClipboard& operator=(const TSecretClipboard&) = delete;

  static constexpr int kDefaultDelaySeconds = 12;
  int DelaySeconds = kDefaultDelaySeconds;

  // Raises EPlimetError when the clipboard cannot be had.
  void Copy(const std::string& text);
  // Takes the secret back now, if the clipboard still holds it; when
  // another program holds the clipboard this moment, tries again next second.
  void ClearNow();
  // Seconds until it is taken back; 0 when nothing is pending.
  int SecondsLeft() const { return left_; }

private:
  void Tick();
  void ShowLeft();
  HWND OwnerWindow() const;

  TTimer* timer_;
  TLabel* label_;
  TWinControl* window_;
  TClipboardMark mark_;
  int left_ = 0;
};
