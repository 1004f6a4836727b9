#include "skin/engine/SkinHelpers.h"

#include <utility>

#include "skin/engine/SkinEngine.h"

namespace skin {
namespace {

// The library and the three entry points, looked up once each. The
// library stays loaded until the process ends.
struct TLateUser32 {
  HMODULE library = nullptr;
  bool missing = false;
  FARPROC scrollBarInfo = nullptr, comboBoxInfo = nullptr, ancestor = nullptr;
  bool scrollBarLooked = false, comboBoxLooked = false, ancestorLooked = false;

  FARPROC Look(FARPROC& slot, bool& looked, const char* name) {
    if (missing) return nullptr;
    if (!looked) {
      looked = true;
      if (!library) library = LoadLibraryA("User32.dll");
      slot = library ? GetProcAddress(library, name) : nullptr;
      if (!slot) missing = true;
    }
    return missing ? nullptr : slot;
  }
};

TLateUser32& Late() {
  static TLateUser32 late;
  return late;
}

template <typename F>
F As(FARPROC proc) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

struct TVersion {
  bool windows95 = false, vista = false;
  TVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return;
#pragma GCC diagnostic pop
    windows95 = info.dwMajorVersion == 4 && info.dwMinorVersion == 0 && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    vista = info.dwMajorVersion == 6 && info.dwMinorVersion == 0 && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }
};

const TVersion& Version() {
  static const TVersion version;
  return version;
}

bool NonClientMetrics(NONCLIENTMETRICSA& metrics) {
  metrics = {};
  metrics.cbSize = sizeof metrics;
  return SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
}

} // namespace

BOOL LateGetScrollBarInfo(HWND window, LONG object, PSCROLLBARINFO info) {
  auto& late = Late();
  const FARPROC proc = late.Look(late.scrollBarInfo, late.scrollBarLooked, "GetScrollBarInfo");
  return proc ? As<BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO)>(proc)(window, object, info) : FALSE;
}

BOOL LateGetComboBoxInfo(HWND window, PCOMBOBOXINFO info) {
  auto& late = Late();
  const FARPROC proc = late.Look(late.comboBoxInfo, late.comboBoxLooked, "GetComboBoxInfo");
  return proc ? As<BOOL(WINAPI*)(HWND, PCOMBOBOXINFO)>(proc)(window, info) : FALSE;
}

HWND LateGetAncestor(HWND window, UINT flags) {
  auto& late = Late();
  const FARPROC proc = late.Look(late.ancestor, late.ancestorLooked, "GetAncestor");
  return proc ? As<HWND(WINAPI*)(HWND, UINT)>(proc)(window, flags) : nullptr;
}

bool LateUser32Missing() { return Late().missing; }

void SetLateUser32Missing(bool missing) {
  auto& late = Late();
  late.missing = missing;
  if (!missing) late.scrollBarLooked = late.comboBoxLooked = late.ancestorLooked = false;
}

bool IsWindows95() { return Version().windows95; }
bool IsWindowsVista() { return Version().vista; }

RECT WorkArea() {
  RECT area{};
  TForm* main = Application ? Application->MainForm() : nullptr;
  HWND window = main ? main->Handle() : nullptr;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (window && GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
    area = info.rcWork;
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  area.bottom -= 1;
  return area;
}

TForm* FormOfHandle(HWND window) {
  if (!Application || !window) return nullptr;
  for (TForm* form : Application->Forms())
    if (form->HandleAllocated() && form->Handle() == window) return form;
  return nullptr;
}

bool IsFormActive(TForm* form) {
  if (!form) return false;
  if (form->HandleAllocated()) {
    const auto answer = SendMessageA(form->Handle(), WM_SKIN_ISACTIVE, 0, 0);
    if (answer > 0) return answer == 1;
  }
  const bool ownActive = form->HandleAllocated() && GetActiveWindow() == form->Handle();
  TForm* main = Application ? Application->MainForm() : nullptr;
  if (!main) return ownActive;
  if (main->FormStyle == TFormStyle::fsMDIForm && form == main) return true;
  if (!Application->Active()) return false;
  if (form == main) return true;
  if (main->FormStyle == TFormStyle::fsMDIForm) return main->ActiveMDIChild() == form;
  return ownActive;
}

bool CaptionFont(LOGFONTA& font) {
  NONCLIENTMETRICSA metrics;
  if (!NonClientMetrics(metrics)) return false;
  font = metrics.lfCaptionFont;
  return true;
}

bool MenuFont(LOGFONTA& font) {
  NONCLIENTMETRICSA metrics;
  if (!NonClientMetrics(metrics)) return false;
  font = metrics.lfMenuFont;
  return true;
}

void SetMenuItemHandlers(TMenuItem* item, const TMenuItemMeasure& measure, const TMenuItemDraw& draw) {
  if (!item) return;
  item->OnMeasureItem = measure;
  item->OnDrawItem = draw;
  for (int i = 0; i < item->Count(); ++i) SetMenuItemHandlers(item->Items(i), measure, draw);
}

COLORREF ToRgb(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

void DrawControlFrame(TControl* control, TSkinEngine& engine, TColor color) {
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (!windowed || !windowed->HandleAllocated()) return;
  const int w = control->Width(), h = control->Height();
  gdi::TWindowDC dc(windowed->Handle());
  if (!dc.Get()) return;
  const gdi::TBrush brush(CreateSolidBrush(ToRgb(color)));
  for (const RECT& part : {RECT{0, 0, 2, h}, RECT{0, h - 2, w, h}, RECT{w - 2, 0, w, h}, RECT{0, 0, w, 2}})
    FillRect(dc.Get(), &part, brush.Get());
  const gdi::TPen pen(CreatePen(PS_SOLID, 1, ToRgb(engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR))));
  const gdi::TSelection selected(dc.Get(), pen.Get());
  MoveToEx(dc.Get(), 0, 0, nullptr);
  LineTo(dc.Get(), 0, h);
}

void FrameWindowOutline(HWND window, TColor outer, TColor inner, bool drawInner) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return;
  OffsetRect(&rect, -rect.left, -rect.top);
  gdi::TWindowDC dc(window);
  if (!dc.Get()) return;
  const gdi::TBrush outerBrush(CreateSolidBrush(ToRgb(outer)));
  FrameRect(dc.Get(), &rect, outerBrush.Get());
  if (drawInner) {
    InflateRect(&rect, -1, -1);
    const gdi::TBrush innerBrush(CreateSolidBrush(ToRgb(inner)));
    FrameRect(dc.Get(), &rect, innerBrush.Get());
  }
}

} // namespace skin
