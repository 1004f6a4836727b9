#pragma once
// Timers, pictures, splitters and link labels.
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

// A picture: an icon or a bitmap (not owned), drawn at its size or stretched.
class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* owner) : TGraphicControl(owner) { width_ = height_ = 32; }
  PLIMET_CLASS_NAME(TImage)
  HICON Icon = nullptr;
  HBITMAP Bitmap = nullptr;
  bool Stretch = false;
  void PaintOn(HDC dc) override;
};

// A bar between two aligned controls; dragging it resizes the control
// before it. It has no window: its parent paints it and hands it the mouse.
class TSplitter : public TGraphicControl {
public:
  explicit TSplitter(TComponent* owner);
  PLIMET_CLASS_NAME(TSplitter)
  int MinSize = 30;
  void WndProc(TMessage& message) override;
  void PaintOn(HDC dc) override;

private:
  TControl* Sibling() const;
  bool dragging_ = false;
  int grab_ = 0;
};

// Underlined text that acts on a click or Enter, as a web link does.
class TLinkLabel : public TWinControl {
public:
  explicit TLinkLabel(TComponent* owner);
  PLIMET_CLASS_NAME(TLinkLabel)
  TNotifyEvent OnLinkClick;
  void WndProc(TMessage& message) override;

private:
  void Paint(HDC dc);
};
