#pragma once
// Timers: message-loop timers on a hidden window of their own.
#include "framework/win32/Controls.h"

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  PLIMET_CLASS_NAME(TTimer)
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);
  TNotifyEvent OnTimer;

private:
  void Update();
  TUtilWindow window_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
};
