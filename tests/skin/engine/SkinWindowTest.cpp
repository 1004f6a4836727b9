// Skinned frames of forms under Wine, with the window manager off: the
// client area inside the skin's frame, the caption and its buttons as they
// are painted on the screen, the window region, the caption buttons driven
// by the real pointer, and a skin changed at run time.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindow.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }
// Caption button frame k of the test skins.
constexpr TColor ButtonFrame(int k) { return Rgb(13 * k, 100, 50); }

class FrameForm : public TForm {
public:
  PLIMET_CLASS_NAME(FrameForm)
  FrameForm(const std::string& skin, TFormBorderStyle style = TFormBorderStyle::bsSizeable) : TForm(nullptr) {
    BorderStyle = style;
    SetCaption("Frame");
    SetBounds(80, 80, 360, 220);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    if (!skin.empty()) Engine->SetSkinFile(TestSkinFile(skin));
    OnClose = [this](TComponent*, TCloseAction& action) {
      ++closes;
      action = TCloseAction::caHide;
    };
  }
  TSkinEngine* Engine;
  int closes = 0;
  TSkinWindow* Frame() { return Engine->FrameOf(Handle()); }
  RECT Window() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r;
  }
  // The client rectangle in window coordinates.
  RECT Client() {
    RECT client{};
    GetClientRect(Handle(), &client);
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT w = Window();
    OffsetRect(&client, -w.left, -w.top);
    return client;
  }
  void ShowAndPaint() {
    Show();
    SetForegroundWindow(Handle());
    PumpFor(150);
  }
};

// The window as the screen shows it.
std::unique_ptr<TBitmap> Shot(HWND window) {
  PumpFor(60);
  return TakeWindowShot(window);
}

class SkinWindowTest : public ::testing::Test {
protected:
  TApplication app;
};

// An unskinned twin of a form, for its native frame.
RECT NativeClient(TFormBorderStyle style) {
  TForm plain(nullptr);
  plain.BorderStyle = style;
  plain.SetBounds(80, 80, 360, 220);
  HWND window = plain.Handle();
  RECT client{}, outer{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(window, &outer);
  OffsetRect(&client, -outer.left, -outer.top);
  return client;
}

} // namespace

TEST_F(SkinWindowTest, ClientAreaLiesInsideTheThickerOfTheTwoFrames) {
  const RECT native = NativeClient(TFormBorderStyle::bsSizeable);
  for (const char* skin : {"FiveSect", "ThinBorder", "DeepCyan"}) {
    SCOPED_TRACE(skin);
    FrameForm form(skin);
    form.ShowAndPaint();
    TSkinWindow* frame = form.Frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->Skinned);
    const TSkinMetrics& m = form.Engine->Metrics();
    EXPECT_EQ(frame->NativeSide, native.left);
    const RECT w = form.Window();
    const RECT client = form.Client();
    const int width = w.right - w.left, height = w.bottom - w.top;
    EXPECT_EQ(client.top, std::max(m.CaptionHeight, frame->NativeTop));
    EXPECT_EQ(client.left, std::max(m.LeftBorderWidth, frame->NativeSide));
    EXPECT_EQ(width - client.right, std::max(m.RightBorderWidth, frame->NativeSide));
    EXPECT_EQ(height - client.bottom, std::max(m.BottomBorderHeight, frame->NativeBottom));
    EXPECT_EQ(frame->CaptionExtra, std::max(frame->NativeTop - m.CaptionHeight, 0));
  }
  // Borders thinner than the native frame: the client stays where it was.
  FrameForm thin("ThinBorder");
  thin.ShowAndPaint();
  EXPECT_EQ(thin.Client().left, native.left);
}

TEST_F(SkinWindowTest, CaptionPiecesButtonsAndBordersArePaintedAtTheirPlaces) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  const auto shot = Shot(form.Handle());
  ASSERT_NE(shot, nullptr);
  const int w = shot->Width(), h = shot->Height();
  // Left piece below its keyed corner, right piece at the far right.
  EXPECT_EQ(shot->Pixel(1, 22), Rgb(200, 30, 30));
  EXPECT_EQ(shot->Pixel(w - 2, 22), Rgb(30, 200, 200));
  // The close button (frame 16) at W - 5 - 16, y 4; maximize (7) 18 to its left, minimize (13) further.
  const int bw = 291 / 18;
  EXPECT_EQ(shot->Pixel(w - 5 - bw + 3, 4 + 5), ButtonFrame(16));
  EXPECT_EQ(shot->Pixel(w - 5 - 2 * bw - 2 + 3, 4 + 5), ButtonFrame(7));
  EXPECT_EQ(shot->Pixel(w - 5 - 3 * bw - 4 + 3, 4 + 5), ButtonFrame(13));
  // Side borders and the three-piece bottom.
  EXPECT_EQ(shot->Pixel(1, 60), Rgb(120, 60, 0));
  EXPECT_EQ(shot->Pixel(w - 2, 60), Rgb(0, 60, 120));
  EXPECT_EQ(shot->Pixel(w / 2, h - 2), Rgb(60, 160, 90));
  // The caption's key pixels are cut out of the window.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form.Handle(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the rounded corner";
  EXPECT_FALSE(PtInRegion(region, w - 1, 0));
  EXPECT_TRUE(PtInRegion(region, 3, 0));
  EXPECT_TRUE(PtInRegion(region, w / 2, 0));
  EXPECT_TRUE(PtInRegion(region, 0, 10)) << "rows below the scanned ones are whole";
  EXPECT_FALSE(PtInRegion(region, 0, h - 1)) << "the bottom corner";
  EXPECT_TRUE(PtInRegion(region, w / 2, h - 1));
  DeleteObject(region);
  SaveWindowShot(form.Handle(), "screenshots/skin-frame-fivesect.bmp");
}

TEST_F(SkinWindowTest, ASkinWithoutRegionFlagsLeavesTheWholeRectangle) {
  FrameForm form("NoRegion");
  form.ShowAndPaint();
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form.Handle(), region), ERROR);
  RECT box{};
  GetRgnBox(region, &box);
  const RECT w = form.Window();
  EXPECT_EQ(box.right - box.left, w.right - w.left);
  EXPECT_EQ(box.bottom - box.top, w.bottom - w.top);
  EXPECT_TRUE(PtInRegion(region, 0, 0));
  DeleteObject(region);
}

TEST_F(SkinWindowTest, CaptionButtonsLightUpAndPressUnderTheRealPointer) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  const RECT w = form.Window();
  const int bw = 291 / 18;
  const POINT close{w.right - 5 - bw + 4, w.top + 4 + 6};
  RealMove(close);
  PumpFor(150);
  TSkinWindow* frame = form.Frame();
  EXPECT_EQ(frame->HotButton, 1);
  auto shot = Shot(form.Handle());
  EXPECT_EQ(shot->Pixel(close.x - w.left, close.y - w.top), ButtonFrame(17)) << "hot";
  RealLeftButton(true);
  PumpFor(150);
  shot = Shot(form.Handle());
  EXPECT_EQ(shot->Pixel(close.x - w.left, close.y - w.top), ButtonFrame(18)) << "pressed";
  EXPECT_EQ(form.closes, 0) << "nothing happens until the button comes up";
  RealLeftButton(false);
  PumpFor(200);
  EXPECT_EQ(form.closes, 1);
}

TEST_F(SkinWindowTest, ReleaseOverAnotherButtonRunsThatOne) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  const RECT w = form.Window();
  const int bw = 291 / 18;
  const POINT minimize{w.right - 5 - 3 * bw - 4 + 4, w.top + 10};
  const POINT close{w.right - 5 - bw + 4, w.top + 10};
  RealMove(minimize);
  PumpFor(100);
  RealLeftButton(true);
  PumpFor(100);
  RealMove(close);
  PumpFor(100);
  RealLeftButton(false);
  PumpFor(200);
  EXPECT_EQ(form.closes, 1) << "the command is the one under the pointer at release";
  EXPECT_FALSE(IsIconic(form.Handle()));
}

TEST_F(SkinWindowTest, AMaximizedWindowIsNotMovedByItsCaptionAndADoubleClickRestoresIt) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  ShowWindow(form.Handle(), SW_MAXIMIZE);
  PumpFor(200);
  ASSERT_TRUE(IsZoomed(form.Handle()));
  const RECT before = form.Window();
  const POINT caption{(before.left + before.right) / 2, before.top + 8};
  RealMove(caption);
  RealLeftButton(true);
  PumpFor(80);
  RealMove({caption.x + 40, caption.y + 30});
  PumpFor(80);
  RealLeftButton(false);
  PumpFor(150);
  const RECT after = form.Window();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  RealClick(caption, false, 2);
  PumpFor(300);
  EXPECT_FALSE(IsZoomed(form.Handle())) << "a double click on the caption restores";
}

TEST_F(SkinWindowTest, AMaximizedFormCoversTheWorkAreaGrownByFourPixels) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  ShowWindow(form.Handle(), SW_MAXIMIZE);
  PumpFor(200);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  work.bottom -= 1;
  InflateRect(&work, 4, 4);
  const RECT w = form.Window();
  EXPECT_GE(w.right - w.left, work.right - work.left);
  EXPECT_GE(w.bottom - w.top, work.bottom - work.top);
}

TEST_F(SkinWindowTest, ADoubleClickOnTheSystemIconCloses) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  const RECT w = form.Window();
  RealClick({w.left + 4 + 8, w.top + 4 + 8}, false, 2);
  PumpFor(300);
  EXPECT_EQ(form.closes, 1);
}

TEST_F(SkinWindowTest, ADialogShowsItsCloseButtonOnlyAndNoIcon) {
  FrameForm form("FiveSect", TFormBorderStyle::bsDialog);
  form.ShowAndPaint();
  TSkinWindow* frame = form.Frame();
  EXPECT_TRUE(frame->CloseButtonShown);
  EXPECT_FALSE(frame->MaxButtonShown);
  EXPECT_FALSE(frame->MinButtonShown);
  const auto shot = Shot(form.Handle());
  const int w = shot->Width(), bw = 291 / 18;
  EXPECT_EQ(shot->Pixel(w - 5 - bw + 3, 9), ButtonFrame(16));
  EXPECT_NE(shot->Pixel(w - 5 - 2 * bw - 2 + 3, 9), ButtonFrame(7)) << "no maximize button";
}

TEST_F(SkinWindowTest, TheTitleIsDrawnInTheActiveOrTheInactiveColour) {
  FrameForm form("FiveSect");
  form.SetCaption("WWWWWWWW");
  form.ShowAndPaint();
  const auto hasColour = [&](TColor colour) {
    const auto shot = Shot(form.Handle());
    const TSkinMetrics& m = form.Engine->Metrics();
    for (int y = m.CaptionTextTop; y < m.CaptionTextTop + 12; ++y)
      for (int x = 24; x < 120; ++x)
        if (shot->Pixel(x, y) == colour) return true;
    return false;
  };
  EXPECT_TRUE(hasColour(Rgb(255, 255, 250)));
  SendMessageA(form.Handle(), WM_NCACTIVATE, FALSE, 0);
  PumpFor(50);
  const COLORREF inactive = GetSysColor(COLOR_INACTIVECAPTION);
  EXPECT_TRUE(hasColour(static_cast<TColor>(inactive)));
  EXPECT_FALSE(hasColour(Rgb(255, 255, 250)));
}

TEST_F(SkinWindowTest, ASkinChangedAtRunTimeRepaintsTheFrame) {
  FrameForm form("FiveSect");
  form.ShowAndPaint();
  EXPECT_EQ(Shot(form.Handle())->Pixel(1, 22), Rgb(200, 30, 30));
  form.Engine->SetSkinFile(TestSkinFile("ThinBorder"));
  PumpFor(150);
  const auto shot = Shot(form.Handle());
  EXPECT_EQ(shot->Pixel(1, 12), Rgb(180, 40, 40)) << "the other skin's caption";
  const RECT client = form.Client();
  EXPECT_EQ(client.top, std::max(22, form.Frame()->NativeTop));
  // Switched off: the native frame and no region.
  form.Engine->SetActive(false);
  PumpFor(100);
  EXPECT_EQ(SendMessageA(form.Handle(), WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(form.Client().left, NativeClient(TFormBorderStyle::bsSizeable).left);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(form.Handle(), region), ERROR);
  DeleteObject(region);
}

TEST_F(SkinWindowTest, AMainMenuBecomesASkinnedBarAndTheControlsMoveUnderIt) {
  FrameForm form("FiveSect");
  auto* menu = new TMainMenu(&form);
  auto* file = new TMenuItem(menu);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  auto* open = new TMenuItem(menu);
  open->SetCaption("&Open");
  file->Add(open);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 100, 21);
  form.SetMenu(menu);
  form.ShowAndPaint();
  EXPECT_EQ(GetMenu(form.Handle()), nullptr) << "the window has no Windows menu";
  TSkinWindow* frame = form.Frame();
  const int bar = frame->MenuBarHeight();
  EXPECT_GT(bar, 0);
  EXPECT_EQ(edit->Top(), 10 + bar);
  form.Engine->SetActive(false);
  PumpFor(50);
  EXPECT_EQ(edit->Top(), 10) << "moved back";
  EXPECT_NE(GetMenu(form.Handle()), nullptr);
  form.Engine->SetActive(true);
  PumpFor(50);
  EXPECT_EQ(edit->Top(), 10 + bar) << "and down again";
}

namespace {

// The open menu's item states, read while it is open, then closed.
struct TOpenMenu {
  static inline std::vector<UINT> states;
  static inline std::vector<std::string> texts;
  static void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    states.clear();
    texts.clear();
    HWND window = FindWindowA("#32768", nullptr);
    if (window && IsWindowVisible(window)) {
      auto* menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        states.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.emplace_back(text);
      }
    }
    EndMenu();
  }
};

} // namespace

TEST_F(SkinWindowTest, AClickOnTheSystemIconOpensTheSkinsSystemMenuForThatWindow) {
  FrameForm dialog("FiveSect", TFormBorderStyle::bsSingle);
  dialog.BorderIcons.Maximize = false;
  dialog.ShowAndPaint();
  const RECT w = dialog.Window();
  SetTimer(nullptr, 0, 400, &TOpenMenu::Look);
  RealClick({w.left + 4 + 8, w.top + 4 + 8});
  PumpFor(700);
  ASSERT_EQ(TOpenMenu::texts.size(), 4u) << "the engine's menu opened";
  EXPECT_EQ(TOpenMenu::texts[0], "Mi&nimize");
  EXPECT_EQ(TOpenMenu::texts[3], "&Close");
  EXPECT_FALSE(TOpenMenu::states[0] & MF_GRAYED) << "minimize is shown";
  EXPECT_TRUE(TOpenMenu::states[1] & MF_GRAYED) << "no maximize button, no maximize item";
  EXPECT_FALSE(TOpenMenu::states[3] & MF_GRAYED);
  EXPECT_EQ(dialog.Engine->SystemMenuTarget, dialog.Frame());
}

TEST_F(SkinWindowTest, ADoubleClickOnACaptionButtonRunsItOnce) {
  FrameForm form("FiveSect");
  form.OnClose = [&form](TComponent*, TCloseAction& action) {
    ++form.closes;
    action = TCloseAction::caNone; // the form stays: every close asked for is counted
  };
  form.ShowAndPaint();
  const RECT w = form.Window();
  const int bw = 291 / 18;
  RealClick({w.right - 5 - bw + 4, w.top + 10}, false, 2);
  PumpFor(300);
  EXPECT_EQ(form.closes, 1) << "one double click, one close";
}
