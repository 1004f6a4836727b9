#include "skin/engine/SkinScrollBars.h"

#include <string>
#include <utility>

#include "framework/win32/Forms.h"
#include "framework/win32/Grids.h"
#include "framework/win32/Mask.h"
#include "framework/win32/StdCtrls.h"
#include "skin/ScrollPainter.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/win32/GdiCanvas.h"

namespace {

// Where a control's panel lives: beside the control, or on its form.
TWinControl* PanelParent(TControl& control) {
  if (control.Parent()) return control.Parent();
  return GetParentForm(&control);
}

// Showing, hiding and moving realign the panel's parent: only real changes are made.
void SetShown(TControl& panel, bool shown) {
  if (panel.Visible() != shown) panel.SetVisible(shown);
}

void SetPlace(TControl& panel, int left, int top, int width, int height) {
  if (panel.Left() != left || panel.Top() != top || panel.Width() != width || panel.Height() != height)
    panel.SetBounds(left, top, width, height);
}

void BringToTop(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Repaint(TWinControl& panel) {
  if (!panel.HandleAllocated()) return;
  InvalidateRect(panel.Handle(), nullptr, FALSE);
  UpdateWindow(panel.Handle());
}

void PaintImage(TSkinEngine& engine, TBitmap& image, const TRect& thumb, bool drawThumb, bool vertical) {
  const TBitmapDc dc(image);
  TGdiCanvas canvas(dc.Get());
  PaintScrollImage(canvas, engine.ScrollBtnRes(), skin::ToRgb(engine.GetColor(TSkinColorKey::SKIN2_SCROLLBARCOLOR)),
                   {0, 0, image.Width(), image.Height()}, thumb, drawThumb, vertical);
  GdiFlush();
}

// Only single-line edits of these kinds scroll without bars.
bool WantsPanels(TControl& control, HWND window) {
  auto* edit = dynamic_cast<TCustomEdit*>(&control);
  if (!edit) return true;
  if (dynamic_cast<TCustomMaskEdit*>(edit) || std::string(edit->ClassName()) == "TSpinEdit") return false;
  if (window) return (GetWindowLongA(window, GWL_STYLE) & ES_MULTILINE) != 0;
  return dynamic_cast<TCustomMemo*>(edit) != nullptr;
}

} // namespace

// --- the panel over a control's bar ---------------------------------------------------------

TSkinInternalScrollBar::TSkinInternalScrollBar(TWinControl& scrolled, TSkinScrollWinControl& skinner, bool horizontal)
    : TCustomControl(nullptr), Scrolled(&scrolled), Horizontal(horizontal), skinner_(&skinner) {}

TSkinInternalScrollBar::~TSkinInternalScrollBar() {
  if (skinner_) skinner_->PanelGone(this);
}

void TSkinInternalScrollBar::Paint(HDC dc) {
  if (Image.Empty()) {
    SetVisible(false);
    return;
  }
  const TBitmapDc from(Image);
  BitBlt(dc, 0, 0, Image.Width(), Image.Height(), from.Get(), 0, 0, SRCCOPY);
}

void TSkinInternalScrollBar::WndProc(TMessage& message) {
  UINT hitMessage = 0;
  switch (message.Msg) {
  case WM_ERASEBKGND:
    message.Result = 1;
    return;
  case WM_LBUTTONDOWN:
    hitMessage = WM_NCLBUTTONDOWN;
    break;
  case WM_LBUTTONUP:
    hitMessage = WM_NCLBUTTONUP;
    break;
  case WM_LBUTTONDBLCLK:
    hitMessage = WM_NCLBUTTONDBLCLK;
    break;
  default:
    break;
  }
  TCustomControl::WndProc(message);
  if (!hitMessage || !Scrolled->HandleAllocated()) return;
  // The native bar underneath tracks the mouse itself from here on.
  ReleaseCapture();
  SendMessageA(Scrolled->Handle(), hitMessage, Horizontal ? HTHSCROLL : HTVSCROLL,
               static_cast<LPARAM>(GetMessagePos()));
}

// --- scrolling controls -------------------------------------------------------------------

TSkinScrollWinControl::~TSkinScrollWinControl() { FreePanels(); }

TSkinInternalScrollBar* TSkinScrollWinControl::MakePanel(TWinControl& scrolled, bool horizontal) {
  TWinControl* parent = PanelParent(scrolled);
  if (!parent) return nullptr;
  auto* panel = new TSkinInternalScrollBar(scrolled, *this, horizontal);
  panel->SetVisible(false);
  try {
    panel->SetParent(parent);
  } catch (...) {
    panel->Orphan();
    delete panel;
    return nullptr;
  }
  return panel;
}

void TSkinScrollWinControl::Init() {
  if (!Control || Control->Designing()) return;
  // Plain edits start in half-width alphanumeric input; the field is set
  // directly so that nothing is applied before the edit next takes the focus.
  if (auto* edit = dynamic_cast<TEdit*>(Control); edit && edit->ImeMode == imDontCare) edit->ImeMode = imSAlpha;
  auto* scrolled = dynamic_cast<TWinControl*>(Control);
  if (!scrolled || !WantsPanels(*Control, Handle())) return;
  vert_ = MakePanel(*scrolled, false);
  horz_ = MakePanel(*scrolled, true);
}

void TSkinScrollWinControl::ShowPanels(bool show) {
  for (TSkinInternalScrollBar* panel : {vert_, horz_})
    if (panel) SetShown(*panel, show);
}

void TSkinScrollWinControl::Apply() { ShowPanels(Engine.InEffect() && Control && Control->Visible()); }

void TSkinScrollWinControl::FreePanels() {
  for (TSkinInternalScrollBar** panel : {&vert_, &horz_}) {
    if (!*panel) continue;
    (*panel)->Orphan();
    delete std::exchange(*panel, nullptr);
  }
}

void TSkinScrollWinControl::Release() {
  FreePanels();
  TSkinBorderWinControl::Release();
}

void TSkinScrollWinControl::PanelGone(TSkinInternalScrollBar* panel) {
  if (vert_ == panel) vert_ = nullptr;
  if (horz_ == panel) horz_ = nullptr;
}

void TSkinScrollWinControl::AfterMessage(TMessage& message) {
  TSkinBorderWinControl::AfterMessage(message);
  switch (message.Msg) {
  case WM_VSCROLL:
  case WM_HSCROLL:
  case WM_MOVE:
    PaintIfInEffect();
    break;
  case CM_VISIBLECHANGED:
    ShowPanels(message.WParam != 0 && Engine.InEffect());
    break;
  default:
    break;
  }
}

bool TSkinScrollWinControl::PlacePanel(TSkinInternalScrollBar* panel, LONG object, int& barSize) {
  if (!panel || !panel->Parent()) return false;
  const bool vertical = object == OBJID_VSCROLL;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!skin::LateGetScrollBarInfo(Handle(), object, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
    SetShown(*panel, false);
    return false;
  }
  RECT bar = info.rcScrollBar;
  MapWindowPoints(nullptr, panel->Parent()->Handle(), reinterpret_cast<POINT*>(&bar), 2);
  const int width = bar.right - bar.left, height = bar.bottom - bar.top;
  const bool fits = vertical ? width >= 0 && width <= 100 && bar.bottom >= bar.top
                             : height >= 0 && height <= 99 && bar.left <= bar.right;
  if (!fits) {
    // The native bar shows through.
    SetShown(*panel, false);
    return false;
  }
  SetShown(*panel, true);
  BringToTop(panel->Handle());
  SetPlace(*panel, bar.left, bar.top, width, height);
  panel->Image.SetSize(width, height);
  if (!panel->Image.Empty()) {
    const TRect thumb = vertical ? TRect{0, info.xyThumbTop, width, info.xyThumbBottom}
                                 : TRect{info.xyThumbTop, 0, info.xyThumbBottom, height};
    PaintImage(Engine, panel->Image, thumb, !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE), vertical);
  }
  Repaint(*panel);
  barSize = vertical ? width : height;
  return true;
}

void TSkinScrollWinControl::Paint() {
  PaintBorder();
  HWND window = Handle();
  if (!window || !Control->Visible() || !Engine.DrawScrollBar()) return;
  int barWidth = 0, barHeight = 0;
  const bool vertical = PlacePanel(vert_, OBJID_VSCROLL, barWidth);
  const bool horizontal = PlacePanel(horz_, OBJID_HSCROLL, barHeight);
  if (!vertical || !horizontal) return;
  // The size box between the two bars, in the window's own coordinates.
  const int w = Control->Width(), h = Control->Height();
  const RECT box{w - 2 - barWidth, h - 2 - barHeight, w - 2, h - 2};
  const gdi::TWindowDC dc(window);
  const gdi::TBrush brush(CreateSolidBrush(skin::ToRgb(Engine.FormColor())));
  FillRect(dc.Get(), &box, brush.Get());
}

// --- grids ------------------------------------------------------------------------------

void TSkinGrid::Apply() {
  TSkinScrollWinControl::Apply();
  auto* grid = dynamic_cast<TCustomGrid*>(Control);
  if (!grid) return;
  if (!Engine.InEffect()) {
    Restore();
    return;
  }
  if (!saved_) {
    savedFixedColor_ = grid->FixedColor;
    savedFixedFontColor_ = grid->FixedFontColor;
    saved_ = true;
  }
  grid->FixedColor = Engine.FormColor();
  // On the form colour the text takes the colour the skin gives text on
  // it, or a dark skin's headings could not be read.
  grid->FixedFontColor = Engine.GetColor(TSkinColorKey::SKIN2_CONTROLFONTCOLOR);
  grid->Invalidate();
}

void TSkinGrid::Restore() {
  auto* grid = dynamic_cast<TCustomGrid*>(Control);
  if (!saved_ || !grid) return;
  grid->FixedColor = savedFixedColor_;
  grid->FixedFontColor = savedFixedFontColor_;
  saved_ = false;
  grid->Invalidate();
}

void TSkinGrid::Release() {
  Restore();
  TSkinScrollWinControl::Release();
}

// --- stand-alone scroll bars ------------------------------------------------------------

TSkinInternalScrollBar2::TSkinInternalScrollBar2(TScrollBar& bar, TSkinScrollBar& skinner)
    : TCustomControl(nullptr), Bar(&bar), skinner_(&skinner) {}

TSkinInternalScrollBar2::~TSkinInternalScrollBar2() {
  if (skinner_) skinner_->PanelGone();
}

void TSkinInternalScrollBar2::Paint(HDC dc) {
  if (Image.Empty()) return;
  const TBitmapDc from(Image);
  BitBlt(dc, 0, 0, Image.Width(), Image.Height(), from.Get(), 0, 0, SRCCOPY);
}

void TSkinInternalScrollBar2::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_ERASEBKGND:
    message.Result = 1;
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: // the second press of a double click, a press to the bar
  case WM_LBUTTONUP:
  case WM_MOUSEMOVE:
    if (Bar->HandleAllocated()) {
      // The bar underneath does the tracking, at the same point of its own.
      ReleaseCapture();
      const WPARAM keys = message.Msg == WM_MOUSEMOVE ? message.WParam : MK_LBUTTON;
      SendMessageA(Bar->Handle(), message.Msg, keys, message.LParam);
    }
    return;
  default:
    TCustomControl::WndProc(message);
  }
}

TSkinScrollBar::~TSkinScrollBar() { FreePanel(); }

void TSkinScrollBar::Init() {
  auto* bar = dynamic_cast<TScrollBar*>(Control);
  if (!bar || bar->Designing()) return;
  TWinControl* parent = PanelParent(*bar);
  if (!parent) return;
  panel_ = new TSkinInternalScrollBar2(*bar, *this);
  panel_->SetBounds(bar->Left(), bar->Top(), bar->Width(), bar->Height());
  try {
    panel_->SetParent(parent);
  } catch (...) {
    FreePanel();
    return;
  }
  BringToTop(panel_->Handle());
  Repaint(*panel_);
}

void TSkinScrollBar::FreePanel() {
  if (!panel_) return;
  panel_->Orphan();
  delete std::exchange(panel_, nullptr);
}

void TSkinScrollBar::Apply() {
  if (panel_) SetShown(*panel_, Engine.InEffect() && Control && Control->Visible());
}

void TSkinScrollBar::Release() {
  FreePanel();
  TSkinControlFramework::Release();
}

void TSkinScrollBar::AfterMessage(TMessage& message) {
  TSkinControlFramework::AfterMessage(message);
  switch (message.Msg) {
  case SBM_SETSCROLLINFO:
  case WM_KILLFOCUS:
  case CM_GOTFOCUS:
  case CM_LOSTFOCUS:
    PaintIfInEffect();
    break;
  case CM_VISIBLECHANGED:
    if (panel_) SetShown(*panel_, message.WParam != 0 && Engine.InEffect());
    break;
  default:
    break;
  }
}

void TSkinScrollBar::Paint() {
  auto* bar = dynamic_cast<TScrollBar*>(Control);
  HWND window = Handle();
  if (!panel_ || !bar || !window || !Engine.DrawScrollBar()) return;
  SetPlace(*panel_, bar->Left(), bar->Top(), bar->Width(), bar->Height());
  panel_->Image.SetSize(panel_->Width(), panel_->Height());
  if (panel_->Image.Empty()) return;
  BringToTop(panel_->Handle());
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  skin::LateGetScrollBarInfo(window, OBJID_CLIENT, &info);
  const int width = panel_->Image.Width(), height = panel_->Image.Height();
  const bool vertical = bar->Kind() == TScrollBarKind::sbVertical;
  const TRect thumb = vertical ? TRect{0, info.xyThumbTop, width, info.xyThumbBottom}
                               : TRect{info.xyThumbTop, 0, info.xyThumbBottom, height};
  PaintImage(Engine, panel_->Image, thumb, true, vertical);
  if (GetFocus() == window) {
    const TBitmapDc dc(panel_->Image);
    const RECT focus{thumb.Left, thumb.Top, thumb.Right, thumb.Bottom};
    DrawFocusRect(dc.Get(), &focus);
    GdiFlush();
  }
  Repaint(*panel_);
}
