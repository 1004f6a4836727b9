#pragma once
// Containers whose contents may be larger than they are: scroll boxes,
// and frames (a group of controls with their own components, placed on a
// form or inside another control).
#include <vector>

#include "framework/win32/Controls.h"

// One scroll bar of a scrolling container: the extent of its contents and
// how far they are scrolled.
class TScrollingArea;

class TControlScrollBar {
public:
  TControlScrollBar(TScrollingArea& area, int bar) : area_(area), bar_(bar) {}
  TControlScrollBar(const TControlScrollBar&) = delete;
  TControlScrollBar& operator=(const TControlScrollBar&) = delete;
  // The size of the contents along the bar (measured from the children
  // unless set).
  int Range() const { return range_; }
  void SetRange(int range);
  // How far the contents are scrolled, 0 to Range less the client size.
  int Position() const { return position_; }
  void SetPosition(int position);
  // A step of the bar's arrows.
  int Increment = 8;
  bool IsScrollBarVisible() const { return shown_; }

private:
  friend class TScrollingArea;
  int ClientSize() const;
  TScrollingArea& area_;
  int bar_; // SB_HORZ or SB_VERT
  int range_ = 0;
  bool rangeSet_ = false;
  int position_ = 0;
  bool shown_ = false;
};

// The scrolling of a container: measures its children, shows the bars
// it needs, and moves the children when scrolled.
class TScrollingArea {
public:
  explicit TScrollingArea(TWinControl& control)
      : HorzScrollBar(*this, SB_HORZ), VertScrollBar(*this, SB_VERT), control_(control) {}
  TScrollingArea(const TScrollingArea&) = delete;
  TScrollingArea& operator=(const TScrollingArea&) = delete;
  TControlScrollBar HorzScrollBar;
  TControlScrollBar VertScrollBar;
  // Measures the children (unless a range is set) and updates the bars.
  void Update();
  // WM_HSCROLL, WM_VSCROLL and WM_MOUSEWHEEL: true when handled.
  bool Handle(TMessage& message);
  // Scrolls so that the control is in view.
  void ScrollInView(const TControl& control);
  // Moves the contents to the position of a bar.
  void MoveTo(TControlScrollBar& bar, int position);

private:
  friend class TControlScrollBar;
  // The children that scroll: those not aligned to an edge.
  std::vector<TControl*> Scrolled() const;
  TWinControl& control_;
  bool updating_ = false;
};

// A container with scroll bars that appear when its children do not fit.
class TScrollBox : public TScrollingWinControl {
public:
  explicit TScrollBox(TComponent* owner);
  PLIMET_CLASS_NAME(TScrollBox)
  TControlScrollBar& HorzScrollBar() { return scrolling_.HorzScrollBar; }
  TControlScrollBar& VertScrollBar() { return scrolling_.VertScrollBar; }
  void ScrollInView(const TControl& control) { scrolling_.ScrollInView(control); }
  // bsSingle (the default) draws a sunken border.
  bool BorderSingle = true;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", BorderSingle ? 1 : 0}; }
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void ControlBoundsChanged() override;

private:
  TScrollingArea scrolling_{*this};
};

// A frame: controls and components made together, owned by the frame, put
// on a form (or a panel, or another frame) as one piece. It scrolls when
// its parent makes it smaller than its contents.
class TCustomFrame : public TScrollingWinControl {
public:
  explicit TCustomFrame(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomFrame)
  TControlScrollBar& HorzScrollBar() { return scrolling_.HorzScrollBar; }
  TControlScrollBar& VertScrollBar() { return scrolling_.VertScrollBar; }
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void ControlBoundsChanged() override;

private:
  TScrollingArea scrolling_{*this};
};

class TFrame : public TCustomFrame {
public:
  using TCustomFrame::TCustomFrame;
  PLIMET_CLASS_NAME(TFrame)
};
