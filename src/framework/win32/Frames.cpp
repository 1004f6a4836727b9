#include "framework/win32/Frames.h"

#include <algorithm>
#include <utility>

// --- TControlScrollBar ---------------------------------------------------------------

int TControlScrollBar::ClientSize() const {
  const RECT r = area_.control_.ClientRect();
  return bar_ == SB_HORZ ? r.right - r.left : r.bottom - r.top;
}

void TControlScrollBar::SetRange(int range) {
  range_ = std::max(0, range);
  rangeSet_ = true;
  area_.Update();
}

void TControlScrollBar::SetPosition(int position) { area_.MoveTo(*this, position); }

// --- TScrollingArea ---------------------------------------------------------------------

std::vector<TControl*> TScrollingArea::Scrolled() const {
  std::vector<TControl*> children;
  for (int i = 0; i < control_.ControlCount(); ++i)
    if (control_.Controls(i)->Align() == TAlign::alNone) children.push_back(control_.Controls(i));
  return children;
}

void TScrollingArea::Update() {
  if (updating_ || !control_.HandleAllocated()) return;
  updating_ = true;
  // The contents' extent where they would stand unscrolled.
  int right = 0, bottom = 0;
  for (const TControl* child : Scrolled()) {
    if (!child->Visible()) continue;
    right = std::max(right, child->Left() + child->Width() + HorzScrollBar.position_);
    bottom = std::max(bottom, child->Top() + child->Height() + VertScrollBar.position_);
  }
  if (!HorzScrollBar.rangeSet_) HorzScrollBar.range_ = right;
  if (!VertScrollBar.rangeSet_) VertScrollBar.range_ = bottom;
  // Showing one bar makes the room for the other smaller: settle in a few rounds.
  for (int round = 0; round < 3; ++round) {
    bool changed = false;
    for (TControlScrollBar* bar : {&HorzScrollBar, &VertScrollBar}) {
      const int client = bar->ClientSize();
      const bool needed = bar->range_ > client;
      const int highest = std::max(0, bar->range_ - client);
      if (bar->position_ > highest) {
        updating_ = false;
        MoveTo(*bar, highest);
        updating_ = true;
      }
      SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, needed ? bar->range_ - 1 : 0,
                      static_cast<UINT>(needed ? client : 0), needed ? bar->position_ : 0, 0};
      SetScrollInfo(control_.Handle(), bar->bar_, &info, TRUE);
      ShowScrollBar(control_.Handle(), bar->bar_, needed);
      if (needed != bar->shown_) changed = true;
      bar->shown_ = needed;
    }
    if (!changed) break;
  }
  updating_ = false;
}

void TScrollingArea::MoveTo(TControlScrollBar& bar, int position) {
  const int highest = control_.HandleAllocated() ? std::max(0, bar.range_ - bar.ClientSize()) : 0;
  position = std::clamp(position, 0, highest);
  const int delta = position - bar.position_;
  if (delta == 0) return;
  const bool wasUpdating = std::exchange(updating_, true);
  bar.position_ = position;
  for (TControl* child : Scrolled()) {
    if (bar.bar_ == SB_HORZ) {
      child->SetBounds(child->Left() - delta, child->Top(), child->Width(), child->Height());
    } else {
      child->SetBounds(child->Left(), child->Top() - delta, child->Width(), child->Height());
    }
  }
  updating_ = wasUpdating;
  if (control_.HandleAllocated()) {
    SetScrollPos(control_.Handle(), bar.bar_, position, TRUE);
    control_.Invalidate();
  }
}

bool TScrollingArea::Handle(TMessage& m) {
  if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0) {
    TControlScrollBar& bar = m.Msg == WM_HSCROLL ? HorzScrollBar : VertScrollBar;
    int position = bar.position_;
    switch (LOWORD(m.WParam)) {
    case SB_LINEUP: position -= bar.Increment; break;
    case SB_LINEDOWN: position += bar.Increment; break;
    case SB_PAGEUP: position -= bar.ClientSize(); break;
    case SB_PAGEDOWN: position += bar.ClientSize(); break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = bar.range_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(control_.Handle(), bar.bar_, &info);
      position = info.nTrackPos;
      break;
    }
    default: return true;
    }
    MoveTo(bar, position);
    m.Result = 0;
    return true;
  }
  if (m.Msg == WM_MOUSEWHEEL && VertScrollBar.shown_) {
    const int notches = GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
    MoveTo(VertScrollBar, VertScrollBar.position_ - notches * 3 * VertScrollBar.Increment);
    m.Result = 0;
    return true;
  }
  return false;
}

void TScrollingArea::ScrollInView(const TControl& control) {
  const RECT client = control_.ClientRect();
  if (control.Left() < 0) {
    MoveTo(HorzScrollBar, HorzScrollBar.position_ + control.Left());
  } else if (control.Left() + control.Width() > client.right) {
    MoveTo(HorzScrollBar, HorzScrollBar.position_ + std::min<int>(control.Left(), control.Left() + control.Width() - client.right));
  }
  if (control.Top() < 0) {
    MoveTo(VertScrollBar, VertScrollBar.position_ + control.Top());
  } else if (control.Top() + control.Height() > client.bottom) {
    MoveTo(VertScrollBar, VertScrollBar.position_ + std::min<int>(control.Top(), control.Top() + control.Height() - client.bottom));
  }
}

// --- TScrollBox ---------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  width_ = 185;
  height_ = 41;
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  if (BorderSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::HandleCreated() { scrolling_.Update(); }

void TScrollBox::ControlBoundsChanged() { scrolling_.Update(); }

void TScrollBox::WndProc(TMessage& m) {
  if (scrolling_.Handle(m)) return;
  TScrollingWinControl::WndProc(m);
  if (m.Msg == WM_SIZE) scrolling_.Update();
}

// --- TCustomFrame ---------------------------------------------------------------------------

TCustomFrame::TCustomFrame(TComponent* owner) : TScrollingWinControl(owner) {
  ParentColor = true;
  width_ = 320;
  height_ = 240;
}

void TCustomFrame::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT; // Tab goes on into the frame's controls
}

void TCustomFrame::HandleCreated() { scrolling_.Update(); }

void TCustomFrame::ControlBoundsChanged() { scrolling_.Update(); }

void TCustomFrame::WndProc(TMessage& m) {
  if (scrolling_.Handle(m)) return;
  TScrollingWinControl::WndProc(m);
  if (m.Msg == WM_SIZE) scrolling_.Update();
}
