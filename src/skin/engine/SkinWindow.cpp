#include "skin/engine/SkinWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "skin/FramePainter.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/win32/GdiCanvas.h"

namespace {

constexpr UINT kFrameChangedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The icon the caption shows when the window names none: the program's own, 16 x 16.
gdi::TIconHandle ProgramIcon() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON large = LoadIconA(instance, "MAINICON");
  if (large) {
    if (auto* copy = static_cast<HICON>(CopyImage(large, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE)))
      return gdi::TIconHandle(copy);
  }
  return gdi::TIconHandle(static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 16, 16, 0)));
}

// Copies a buffer to the window, through its mask buffer when the skin
// shapes the window there: the transparent pixels become the form colour.
void Output(HDC target, const TBitmap& buffer, TBitmap* mask, TColor formColor, TColor transparent, int y) {
  if (buffer.Empty()) return;
  if (mask) {
    mask->SetSize(buffer.Width(), buffer.Height());
    const TBitmapDc maskDc(*mask);
    TGdiCanvas canvas(maskDc.Get());
    canvas.FillRect({0, 0, buffer.Width(), buffer.Height()}, formColor);
    canvas.DrawBitmap(buffer, {0, 0, buffer.Width(), buffer.Height()}, {0, 0, buffer.Width(), buffer.Height()},
                      static_cast<TColor>(skin::ToRgb(transparent)));
    BitBlt(target, 0, y, buffer.Width(), buffer.Height(), maskDc.Get(), 0, 0, SRCCOPY);
  } else {
    const TBitmapDc from(buffer);
    BitBlt(target, 0, y, buffer.Width(), buffer.Height(), from.Get(), 0, 0, SRCCOPY);
  }
}

} // namespace

TSkinWindow::TSkinWindow(TComponent* owner, bool fromHook, TSkinEngine& engine)
    : TComponent(owner), Engine(engine), FromHook(fromHook) {}

TSkinWindow::~TSkinWindow() { *alive_ = false; }


void TSkinWindow::Create(HWND window) {
  if (TForm* form = skin::FormOfHandle(window)) {
    Enabled = form->Tag != Engine.DisabledTag;
    for (int i = 0; i < form->ComponentCount() && Enabled; ++i)
      if (std::string(form->Components(i)->ClassName()) == "TSkinForm") Enabled = false;
  }
  Skinned = Engine.InEffect();
  HotButton = -1;
  Attach(window);
  SkinChildren();
  SetSkinned(Skinned);
}

void TSkinWindow::BeforeDestruction() {
  // Still alive while it lets its window go: the messages that brings
  // (the frame changes, the menu given back) are handled in full.
  Destroying = true;
  Engine.FrameGone(this);
  if (IsWindow(Handle())) SetSkinned(false);
  UnskinChildren();
  Detach();
  TComponent::BeforeDestruction();
}

void TSkinWindow::SetSkinned(bool on) {
  Skinned = on && Enabled;
  if (Initialised) {
    ApplySkin();
    if (Skinned) UpdateRegion();
  } else if (IsWindowVisible(Handle()) || InitBeforeShow()) {
    Initialise();
  }
}

void TSkinWindow::Initialise() {
  SaveOriginal();
  Initialised = true;
  SetSkinned(Skinned);
}

void TSkinWindow::ApplySkinOptions() {
  CaptionNeedsRegion = Engine.GetFlag(TSkinFlagKey::SKIN2_TITLEBARNEEDREGION);
  BottomNeedsRegion = Engine.GetFlag(TSkinFlagKey::SKIN2_BOTTOMBORDERNEEDREGION);
  const TColor transparent = Engine.Metrics().TransparentColor;
  CaptionBuffer.SetTransparentColor(transparent);
  CaptionBuffer.SetTransparent(CaptionNeedsRegion);
  BottomBuffer.SetTransparentColor(transparent);
  BottomBuffer.SetTransparent(BottomNeedsRegion);
  if (CaptionNeedsRegion != static_cast<bool>(CaptionMaskBuffer))
    CaptionMaskBuffer = CaptionNeedsRegion ? std::make_unique<TBitmap>() : nullptr;
  if (BottomNeedsRegion != static_cast<bool>(BottomMaskBuffer))
    BottomMaskBuffer = BottomNeedsRegion ? std::make_unique<TBitmap>() : nullptr;
  if (Engine.InEffect()) {
    PaintFrame();
    UpdateRegion();
  }
}

void TSkinWindow::ReapplyChildren(bool postPaint) {
  for (auto& child : Children) {
    try {
      child->Apply();
      if (HWND window = child->Handle()) {
        if (postPaint)
          PostMessageA(window, WM_PAINT, 0, 0);
        else
          InvalidateRect(window, nullptr, TRUE);
      }
    } catch (...) {
      // One control keeping its own look is better than none skinned.
    }
  }
}

void TSkinWindow::AddChild(std::unique_ptr<TSkinControl> skinner) {
  skinner->Attach();
  skinner->Init();
  if (auto* framework = dynamic_cast<TSkinControlFramework*>(skinner.get())) FreeNotification(framework->Control);
  Children.push_back(std::move(skinner));
  Children.back()->Apply();
}

void TSkinWindow::FreeChildren() {
  // The last made goes first, and each leaves the list before it is let go:
  // a skinner freeing a control of its own (a picker's up-down) takes that
  // control's skinner out of the list while this runs.
  while (!Children.empty()) {
    std::unique_ptr<TSkinControl> child = std::move(Children.back());
    Children.pop_back();
    try {
      child->Release();
      child->Detach();
    } catch (...) {
    }
  }
}

void TSkinWindow::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  for (auto it = Children.begin(); it != Children.end(); ++it) {
    auto* framework = dynamic_cast<TSkinControlFramework*>(it->get());
    if (framework && framework->Control == component) {
      // Out of the list first: its release may free controls of its own,
      // whose skinners leave the list in turn.
      std::unique_ptr<TSkinControl> gone = std::move(*it);
      Children.erase(it);
      // The control is still whole here, and its window still has messages to
      // get while it is taken down (its destruction among them): they go to
      // its own procedure again, not to a skinner that is about to go.
      framework->Release();
      framework->Detach();
      framework->Forget();
      return;
    }
  }
}

void TSkinWindow::FrameChanged() { SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, kFrameChangedFlags); }

void TSkinWindow::SetCaptionVisible(bool on) {
  CaptionVisible = on;
  FrameChanged();
  PaintFrame();
}

void TSkinWindow::SetBorderVisible(bool on) {
  BorderVisible = on;
  FrameChanged();
  PaintFrame();
}

int TSkinWindow::CaptionHeight() const { return CaptionVisible && Skinned ? Engine.Metrics().CaptionHeight : 0; }

bool TSkinWindow::ZoomedMDIChild() { return IsMDIChild() && IsZoomed(Handle()); }

// --- painting ----------------------------------------------------------------------

void TSkinWindow::PaintFrame() {
  // A frame that is switched off, or has not yet measured its window,
  // leaves the window's own frame alone.
  if (!Engine.InEffect() || !Skinned || !Initialised) return;
  HWND window = Handle();
  if (!IsWindow(window)) return;
  const gdi::TWindowDC dc(window);
  if (!dc.Get()) return;
  const SIZE size = WindowSize(window);
  const int w = size.cx, h = size.cy;
  const TSkinMetrics& metrics = Engine.Metrics();
  const bool iconic = IsIconic(window) != FALSE;

  if (CaptionVisible && !ZoomedMDIChild()) {
    CaptionBuffer.SetSize(w, std::max(CaptionHeight(), NativeTop));
    if (!CaptionBuffer.Empty()) {
      // A bitmap is selected into one DC at a time: the buffer's DC goes
      // before the buffer is copied out.
      std::optional<TBitmapDc> bufferDcHolder(std::in_place, CaptionBuffer);
      const TBitmapDc& bufferDc = *bufferDcHolder;
      std::optional<gdi::TSelection> fontHolder(std::in_place, bufferDc.Get(), CaptionFontHandle());
      TGdiCanvas canvas(bufferDc.Get());
      TCaptionInput input;
      input.Width = w;
      input.WindowHeight = h;
      input.BufferHeight = CaptionBuffer.Height();
      input.Iconic = iconic;
      input.Zoomed = IsZoomed(window) != FALSE;
      input.BorderVisible = BorderVisible;
      input.CaptionExtra = CaptionExtra;
      input.HasSystemIcon = HasSystemIcon();
      input.HasCloseButton = HasCloseButton();
      input.HasMaximizeButton = HasMaximizeButton();
      input.HasMinimizeButton = HasMinimizeButton();
      input.HasHelpButton = HasHelpButton();
      input.MouseDown = MouseDown;
      POINT cursor{};
      GetCursorPos(&cursor);
      ScreenToClient(window, &cursor);
      input.Cursor = {static_cast<int>(cursor.x), static_cast<int>(cursor.y) + CaptionHeight()};
      input.Title = WindowText(window);
      const TCaptionLayout layout = ComposeCaption(Engine.Reader(), metrics, canvas, CaptionBuffer, input);
      HotButton = layout.HotButton;
      CloseButtonShown = layout.CloseButtonShown;
      MaxButtonShown = layout.MaxButtonShown;
      MaxItemEnabled = layout.MaxItemEnabled;
      MinButtonShown = layout.MinButtonShown;
      if (layout.DrawIcon) {
        HICON icon = IconHandle();
        if (!icon) {
          if (!programIcon_) programIcon_ = ProgramIcon();
          icon = programIcon_.Get();
        }
        if (icon)
          DrawIconEx(bufferDc.Get(), layout.IconRect.Left, layout.IconRect.Top, icon, 16, 16, 0, nullptr, DI_NORMAL);
      }
      SetBkMode(bufferDc.Get(), TRANSPARENT);
      SetTextColor(bufferDc.Get(),
                   Active ? skin::ToRgb(metrics.TitleFontColor) : GetSysColor(COLOR_INACTIVECAPTION));
      TextOutA(bufferDc.Get(), layout.TextX, layout.TextY, layout.Title.c_str(), static_cast<int>(layout.Title.size()));
      GdiFlush();
      fontHolder.reset();
      bufferDcHolder.reset();
      Output(dc.Get(), CaptionBuffer, CaptionNeedsRegion ? CaptionMaskBuffer.get() : nullptr, metrics.FormColor,
             metrics.TransparentColor, 0);
    }
  }

  if (BorderVisible && !iconic) {
    TGdiCanvas canvas(dc.Get());
    TBorderInput input{w, h, CaptionHeight(), MenuBarHeight(), CaptionExtra, NativeSide, NativeBottom,
                       ZoomedMDIChild(), metrics.MenuColors[0]};
    PaintSideBordersAndGaps(Engine.Reader(), metrics, canvas, input);
    const TBitmap* bottom = Engine.GetBitmap(TSkinBitmapKey::SKIN2_FORMBOTTOMBORDER1);
    BottomBuffer.SetSize(w, bottom ? bottom->Height() : 0);
    if (!BottomBuffer.Empty()) {
      {
        const TBitmapDc bufferDc(BottomBuffer);
        TGdiCanvas bufferCanvas(bufferDc.Get());
        ComposeBottom(Engine.Reader(), bufferCanvas, BottomBuffer, w);
        GdiFlush();
      }
      Output(dc.Get(), BottomBuffer, BottomNeedsRegion ? BottomMaskBuffer.get() : nullptr, metrics.FormColor,
             metrics.TransparentColor, h - metrics.BottomBorderHeight);
    }
  }
}

HFONT TSkinWindow::CaptionFontHandle() {
  if (!captionFont_) {
    LOGFONTA log{};
    if (!skin::CaptionFont(log)) {
      log.lfHeight = -11;
      log.lfWeight = FW_BOLD;
      lstrcpyA(log.lfFaceName, "Tahoma");
    }
    captionFont_.Reset(CreateFontIndirectA(&log));
  }
  return captionFont_.Get();
}

void TSkinWindow::UpdateRegion() {
  if (skin::IsWindows95() || !CanShapeRegion() || Engine.Designing()) return;
  if (!Skinned || !Initialised) return;
  HWND window = Handle();
  if (!IsWindow(window)) return;
  const SIZE size = WindowSize(window);
  const int w = size.cx, h = size.cy;
  gdi::TRegion region;
  if (!CaptionNeedsRegion && !BottomNeedsRegion) {
    region.Reset(CreateRectRgn(0, 0, w, h));
  } else {
    // The rows are scanned from the painted buffers: paint them at the
    // window's present size first, or a window that grew would lose the
    // new part of its caption to a region cut for the old width.
    if ((CaptionNeedsRegion && CaptionVisible && CaptionBuffer.Width() != w) ||
        (BottomNeedsRegion && BottomBuffer.Width() != w))
      PaintFrame();
    const TSkinMetrics& metrics = Engine.Metrics();
    const bool captionShaped = CaptionNeedsRegion && CaptionVisible && !CaptionBuffer.Empty();
    const bool bottomShaped = BottomNeedsRegion && BorderVisible && !BottomBuffer.Empty();
    const std::vector<TRect> rects =
        RegionRects(captionShaped ? &CaptionBuffer : nullptr, metrics.CaptionRegionMin, metrics.CaptionRegionMax,
                    bottomShaped ? &BottomBuffer : nullptr, metrics.BottomRegionMin, metrics.BottomRegionMax,
                    metrics.TransparentColor, w, h);
    region.Reset(CreateRectRgn(0, 0, 0, 0));
    for (const TRect& rect : rects) {
      if (rect.Empty()) continue;
      const gdi::TRegion part(CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom));
      CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
    }
  }
  region.GiveToWindow(window, true);
}

// --- commands ------------------------------------------------------------------------

void TSkinWindow::DoClose() { PostMessageA(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }
void TSkinWindow::DoMinimize() { PostMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }
void TSkinWindow::DoHelp() { PostMessageA(Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0); }

void TSkinWindow::DoMaximizeRestore() {
  HWND window = Handle();
  if (IsZoomed(window) || IsIconic(window))
    PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  else if (MaxButtonShown)
    PostMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TSkinWindow::ShowSystemMenu() {
  POINT origin{0, 0};
  ClientToScreen(Handle(), &origin);
  origin.x = std::max<LONG>(origin.x, 0);
  if (IsIconic(Handle())) origin.y += 24 - CaptionHeight();
  ShowSystemMenuAt(origin);
}

void TSkinWindow::ShowSystemMenuAt(POINT screen) {
  Engine.SystemMenuTarget = this;
  Engine.PopupSystemMenu(screen.x, screen.y);
}

// --- the window procedure --------------------------------------------------------------

void TSkinWindow::WindowProc(TMessage& message) {
  if (!Initialised && !InitBeforeShow() && message.Msg == WM_PAINT) Initialise();
  if (message.Msg == WM_NULL) return;
  if (!Engine.InEffect() || !Enabled) {
    CallDefault(message);
    return;
  }
  switch (message.Msg) {
  case WM_NCPAINT:
    PaintFrame();
    return;
  case WM_NCLBUTTONDOWN:
    MouseDown = true;
    PaintFrame();
    if (message.WParam == HTCAPTION && (HotButton != -1 || IsZoomed(Handle()))) message.WParam = HTNOWHERE;
    SetActiveWindow(Handle());
    break;
  case WM_NCLBUTTONDBLCLK:
    PaintFrame();
    if (message.WParam == HTCAPTION && HotButton == -1) {
      DoMaximizeRestore();
      MouseDown = false;
      PaintFrame();
      return;
    }
    if (HotButton == 0) {
      DoClose();
      MouseDown = false;
      return;
    }
    // The second press of a double click on the button whose command the
    // first one ran does nothing more; a press the system counts as a
    // double click after a click elsewhere is a press like any other.
    if (HotButton > 0 && HotButton != lastRunButton_) MouseDown = true;
    message.WParam = HTNOWHERE;
    break;
  case WM_CTLCOLORDLG:
    message.Result = reinterpret_cast<LRESULT>(Engine.FormBrush());
    return;
  default:
    break;
  }
  // The frame may go while the window handles the message (a form freed
  // when it closes): nothing of it is touched once it has.
  const std::shared_ptr<bool> alive = alive_;
  if (!BeforeDefault(message) || !*alive) return;
  CallDefault(message);
  switch (message.Msg) {
  case WM_DESTROY:
  case WM_ACTIVATEAPP:
  case WM_COMMAND:
  case WM_SYSCOMMAND:
  case CM_RELEASE:
    return;
  default:
    break;
  }
  if (!*alive) return;
  AfterDefault(message);
  if (!*alive) return;
  switch (message.Msg) {
  case WM_ACTIVATE:
    Active = LOWORD(message.WParam) != WA_INACTIVE;
    PaintFrame();
    break;
  case WM_NCACTIVATE:
    Active = message.WParam != FALSE;
    PaintFrame();
    break;
  case WM_NCCALCSIZE:
    CalcSize(message);
    break;
  case WM_NCMOUSEMOVE:
    if (message.WParam == HTCAPTION) {
      if (MouseDown) {
        PaintFrame();
        if (HotButton == -1) MouseDown = false;
      }
      PaintFrame();
    }
    break;
  case WM_NCLBUTTONUP: {
    // Only a button that was pressed runs its command: the release that
    // ends a double click, or a press begun elsewhere, runs nothing.
    const bool pressed = MouseDown;
    MouseDown = false;
    PaintFrame();
    lastRunButton_ = pressed ? HotButton : -1;
    if (!pressed) break;
    switch (HotButton) {
    case 0: ShowSystemMenu(); break;
    case 1: DoClose(); break;
    case 2: DoMaximizeRestore(); break;
    case 3: DoMinimize(); break;
    case 4: DoHelp(); break;
    default: break;
    }
    break;
  }
  case WM_NCRBUTTONDOWN:
    PaintFrame();
    if (message.WParam == HTCAPTION && HotButton == -1)
      ShowSystemMenuAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
    break;
  case WM_SETTEXT:
  case CM_TEXTCHANGED:
    PaintFrame();
    UpdateRegion();
    break;
  case WM_SKIN_ISACTIVE:
    message.Result = Active ? 1 : 2;
    break;
  case WM_SKIN_QUERY:
    message.Result = 1;
    break;
  case WM_SKIN_MENUBARHEIGHT:
    message.Result = MenuBarHeight();
    break;
  default:
    break;
  }
}

void TSkinWindow::CalcSize(TMessage& message) {
  if (FromHook && !Initialised) return;
  // Switched off while still attached (on its way to being let go): the
  // window's own frame, or the client size given back would be measured
  // against a frame with no caption.
  if (!Skinned) return;
  if (!message.WParam) {
    message.Result = 0;
    return;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
  const WINDOWPOS& pos = *params->lppos;
  RECT& client = params->rgrc[0];
  const TSkinMetrics& metrics = Engine.Metrics();
  const bool zoomedChild = ZoomedMDIChild();
  if (CaptionHeight() == 0 && !zoomedChild) {
    client.top = pos.y;
  } else if (zoomedChild) {
    client.top = 0;
  } else if (NativeTop > 0) {
    client.top = pos.y + std::max(CaptionHeight(), NativeTop);
    CaptionExtra = std::max(NativeTop - CaptionHeight(), 0);
  }
  if (BorderVisible) {
    if (NativeSide > 0) {
      client.left = pos.x + std::max(metrics.LeftBorderWidth, NativeSide);
      client.right = pos.x + pos.cx - std::max(metrics.RightBorderWidth, NativeSide);
    }
    if (NativeBottom > 0) client.bottom = pos.y + pos.cy - std::max(metrics.BottomBorderHeight, NativeBottom);
  } else {
    client.left = pos.x;
    client.right = pos.x + pos.cx;
    if (NativeTop > 0) client.bottom = pos.y + pos.cy;
  }
  params->rgrc[1] = client;
  message.Result = WVR_VALIDRECTS;
}
