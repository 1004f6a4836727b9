// Timings of the skinned frame under Wine (Google Benchmark does not build
// for Windows here): each figure is the median of many runs, printed beside
// a reference measured in the same run, alternating with it, so that both
// meet the same load of the machine.
//   SkinTiming.exe SKIN.ssk [frame|creation|gallery|drag]
// 1. A caption mouse move on a skinned form 224 and 1920 pixels wide (the
//    frame repaints its caption on each), and PaintFrame called alone;
//    references: one BitBlt of a window-sized bitmap onto the window, and
//    the system's own frame paint (WM_NCPAINT) of the same form unskinned.
// 2. A skinned form from creation to its first WM_PAINT, its skin loaded
//    twice as the base form loads it (the stored property, then the
//    settings file once the form is loaded); reference: the same form
//    unskinned.
// 3. The gallery form (one of every control) skinned while it is up: every
//    skinner attached and the whole form painted once; reference: the
//    same form repainted unskinned.
// 4. One step of a thumb drag on a skinned memo (the scroll message and
//    the panel's repaint); reference: the same step unskinned.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/win32/Forms.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/StdCtrls.h"
#include "GalleryForm.h"
#include "skin/SkinReader.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindow.h"

namespace {

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Runs each measured action `runs` times, the actions taking turns, and
// gives the median of each in microseconds.
std::vector<double> Medians(int runs, const std::vector<std::function<void()>>& actions) {
  std::vector<std::vector<double>> times(actions.size());
  for (int run = 0; run < runs; ++run)
    for (std::size_t i = 0; i < actions.size(); ++i) {
      const double start = Now();
      actions[i]();
      times[i].push_back((Now() - start) * 1e6);
    }
  std::vector<double> medians;
  for (auto& t : times) medians.push_back(Median(t));
  return medians;
}

// A form that notes when its first WM_PAINT arrives.
class TimedForm : public TForm {
public:
  PLIMET_CLASS_NAME(TimedForm)
  TimedForm(int width, int height) : TForm(nullptr) {
    SetCaption("Plimet timing");
    SetBounds(0, 0, width, height);
  }
  double FirstPaint = 0;
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_PAINT && FirstPaint == 0) FirstPaint = Now();
    TForm::WndProc(message);
  }
};

// A skinned form as the base form makes it: the engine's stored SkinFile
// loads the skin, and once the form is loaded the settings file names it again.
std::unique_ptr<TimedForm> SkinnedForm(const std::string& skin, int width, int height) {
  auto form = std::make_unique<TimedForm>(width, height);
  auto* engine = new TSkinEngine(form.get());
  engine->SetActive(true);
  engine->SetSkinFile(skin);
  form->OnCreate = [engine, skin](TComponent*) { engine->SetSkinFile(skin); };
  return form;
}

int WindowWidth(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.right - r.left;
}

void PrintRow(const char* what, double value, double reference, const char* referenceName) {
  std::printf("  %-46s %10.1f us   %-34s %10.1f us   ratio %6.2f\n", what, value, referenceName, reference,
              value / reference);
}

void CaptionMoves(const std::string& skin, int width, int runs) {
  const int height = 300;
  auto skinned = SkinnedForm(skin, width, height);
  skinned->Show();
  TimedForm plain(width, height);
  plain.SetBounds(0, 320, width, height);
  plain.Show();
  SetForegroundWindow(skinned->Handle());
  Pump();
  HWND window = skinned->Handle();
  TSkinEngine* engine = nullptr;
  for (int i = 0; i < skinned->ComponentCount(); ++i)
    if (auto* e = dynamic_cast<TSkinEngine*>(skinned->Components(i))) engine = e;
  TSkinWindow* frame = engine ? engine->FrameOf(window) : nullptr;
  if (!frame || !frame->Skinned) {
    std::printf("  the %d-pixel form is not skinned\n", width);
    return;
  }
  RECT r{};
  GetWindowRect(window, &r);
  // The middle of the caption, off the buttons.
  const LPARAM point = MAKELPARAM(r.left + width / 2, r.top + frame->CaptionHeight() / 2);
  // The reference: what the frame puts on the window, as one block transfer
  // of a bitmap the window's size.
  const HDC screen = GetDC(nullptr);
  gdi::TMemoryDC block(screen, width, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  const int actual = WindowWidth(window), actualPlain = WindowWidth(plain.Handle());
  const auto m = Medians(runs, {
                                   [&] { SendMessageA(window, WM_NCMOUSEMOVE, HTCAPTION, point); },
                                   [&] { frame->PaintFrame(); },
                                   [&] {
                                     HDC dc = GetWindowDC(window);
                                     block.CopyTo(dc, 0, 0);
                                     ReleaseDC(window, dc);
                                   },
                                   [&] { SendMessageA(plain.Handle(), WM_NCPAINT, 1, 0); },
                               });
  std::printf("window %d pixels wide (asked %d; unskinned twin %d), %d runs each:\n", actual, width, actualPlain,
              runs);
  PrintRow("caption mouse move (WM_NCMOUSEMOVE, HTCAPTION)", m[0], m[2], "BitBlt of a window-sized bitmap");
  PrintRow("PaintFrame alone", m[1], m[2], "BitBlt of a window-sized bitmap");
  PrintRow("caption mouse move (WM_NCMOUSEMOVE, HTCAPTION)", m[0], m[3], "unskinned form's own WM_NCPAINT");
  PrintRow("PaintFrame alone", m[1], m[3], "unskinned form's own WM_NCPAINT");
  Pump();
}

void CreationToFirstPaint(const std::string& skin, int runs) {
  const auto time = [](const std::function<std::unique_ptr<TimedForm>()>& make) {
    const double start = Now();
    auto form = make();
    form->Show();
    UpdateWindow(form->Handle()); // WM_PAINT now, if the window has anything to paint
    for (int i = 0; i < 100 && form->FirstPaint == 0; ++i) {
      Pump();
      if (form->FirstPaint == 0) Sleep(1);
    }
    const double painted = form->FirstPaint;
    form.reset();
    Pump();
    return painted == 0 ? -1.0 : (painted - start) * 1e6;
  };
  std::vector<double> skinned, plain;
  for (int run = 0; run < runs; ++run) {
    skinned.push_back(time([&] { return SkinnedForm(skin, 320, 240); }));
    plain.push_back(time([] { return std::make_unique<TimedForm>(320, 240); }));
  }
  std::printf("form created to its first WM_PAINT (320 x 240), %d runs each:\n", runs);
  PrintRow("skinned (skin loaded twice)", Median(skinned), Median(plain), "the same form unskinned");
  // The skin load alone, on an engine whose form is up.
  auto form = SkinnedForm(skin, 320, 240);
  form->Show();
  Pump();
  TSkinEngine* engine = nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* e = dynamic_cast<TSkinEngine*>(form->Components(i))) engine = e;
  TSkinReader reader("", "");
  const auto load = Medians(runs, {[&] { engine->SetSkinFile(skin); }, [&] { reader.Load(skin, ""); }});
  std::printf("  %-46s %10.1f us\n", "one skin change, the form's frame re-applied", load[0]);
  std::printf("  %-46s %10.1f us\n", "the skin file read alone (TSkinReader::Load)", load[1]);
}

// Paints the window and all its children now.
void PaintAll(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void GallerySkinning(const std::string& skin, int runs) {
  TGalleryForm gallery(nullptr);
  auto* engine = new TSkinEngine(&gallery);
  engine->SetSkinFile(skin);
  engine->SetActive(false);
  gallery.Show();
  Pump();
  std::vector<double> skinning, repaint;
  for (int run = 0; run < runs; ++run) {
    double start = Now();
    PaintAll(gallery.Handle());
    repaint.push_back((Now() - start) * 1e6);
    start = Now();
    engine->SetActive(true);
    PaintAll(gallery.Handle());
    skinning.push_back((Now() - start) * 1e6);
    engine->SetActive(false);
    Pump();
  }
  std::printf("the gallery form, %d runs each:\n", runs);
  PrintRow("skinned while up (attach all, paint once)", Median(skinning), Median(repaint),
           "one repaint of it unskinned");
}

// A form with a long memo: its vertical bar has a thumb to drag.
class MemoForm : public TForm {
public:
  PLIMET_CLASS_NAME(MemoForm)
  MemoForm() : TForm(nullptr) {
    SetBounds(100, 100, 320, 240);
    Memo = new TMemo(this);
    Memo->SetParent(this);
    Memo->SetScrollBars(TScrollStyle::ssVertical);
    Memo->SetBounds(8, 8, 280, 180);
    std::vector<std::string> lines;
    for (int i = 0; i < 400; ++i) lines.push_back("line " + std::to_string(i));
    Memo->SetLines(lines);
  }
  TMemo* Memo;
};

void ThumbDrag(const std::string& skin, int runs) {
  MemoForm skinned, plain;
  auto* engine = new TSkinEngine(&skinned);
  engine->SetActive(true);
  engine->SetSkinFile(skin);
  plain.SetBounds(440, 100, 320, 240);
  skinned.Show();
  plain.Show();
  Pump();
  int position = 0;
  const auto step = [&position](TMemo* memo) {
    position = (position + 7) % 300;
    SendMessageA(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
  };
  const auto m = Medians(runs, {[&] { step(skinned.Memo); }, [&] { step(plain.Memo); }});
  std::printf("one step of a thumb drag on a memo, %d runs each:\n", runs);
  PrintRow("skinned (scroll and panel repaint)", m[0], m[1], "the same step unskinned");
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: SkinTiming SKIN.ssk\n");
    return 2;
  }
  const std::string skin = argv[1];
  if (GetFileAttributesA(skin.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "no skin file %s\n", skin.c_str());
    return 2;
  }
  TApplication app;
  std::printf("skin %s; medians in microseconds\n", skin.c_str());
  // A second argument runs only the part it names: frame, creation, gallery or drag.
  const std::string only = argc > 2 ? argv[2] : "";
  const auto wanted = [&only](const char* part) { return only.empty() || only == part; };
  if (wanted("frame")) {
    CaptionMoves(skin, 224, 401);
    CaptionMoves(skin, 1920, 201);
  }
  if (wanted("creation")) CreationToFirstPaint(skin, 31);
  std::fflush(stdout);
  if (wanted("gallery")) GallerySkinning(skin, 21);
  std::fflush(stdout);
  if (wanted("drag")) ThumbDrag(skin, 401);
  std::fflush(stdout);
  return 0;
}
