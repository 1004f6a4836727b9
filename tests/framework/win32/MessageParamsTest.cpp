// What messages carry, read the same way everywhere.
#include "framework/win32/MessageParams.h"

#include <gtest/gtest.h>

#include "framework/win32/Forms.h"

TEST(MessageParams, PointsKeepTheirSignAndRectanglesTheirPlace) {
  TMessage m{WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(-1280), static_cast<WORD>(-5)), 0};
  EXPECT_EQ(msg::Point(m).x, -1280) << "a monitor to the left";
  EXPECT_EQ(msg::Point(m).y, -5);
  m.LParam = MAKELPARAM(300, 40);
  EXPECT_EQ(msg::Point(m).x, 300);
  EXPECT_FALSE(msg::FromKeyboard(m));
  m.LParam = -1;
  EXPECT_TRUE(msg::FromKeyboard(m));
  m.LParam = MAKELPARAM(-1, -1); // as the framework and the system send it
  EXPECT_TRUE(msg::FromKeyboard(m));
  const TMessage button{WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(5, 5), 0};
  EXPECT_EQ(msg::HitTest(button), msg::THitTest::Caption);
  const TMessage cursor{WM_SETCURSOR, 0x1234, MAKELPARAM(HTBOTTOMRIGHT, WM_MOUSEMOVE), 0};
  EXPECT_EQ(msg::HitTest(cursor), msg::THitTest::BottomRight) << "not the window handle in wParam";
  const TMessage outside{WM_SETCURSOR, 0x1234, MAKELPARAM(static_cast<WORD>(HTERROR), WM_LBUTTONDOWN), 0};
  EXPECT_EQ(static_cast<LRESULT>(msg::HitTest(outside)), HTERROR) << "negative codes keep their sign";

  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = {10, 20, 110, 220};
  TMessage calc{WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params), 0};
  msg::NcCalcSizeRect(calc).top += 30;
  EXPECT_EQ(params.rgrc[0].top, 50) << "the first of the three rectangles";
  RECT single{0, 0, 50, 50};
  TMessage one{WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&single), 0};
  msg::NcCalcSizeRect(one).left = 4;
  EXPECT_EQ(single.left, 4);
  TMessage whole{WM_NCPAINT, 1, 0, 0};
  EXPECT_EQ(msg::NcPaintRegion(whole), nullptr) << "1 stands for the whole frame";
}

TEST(MessageParams, AWindowAnswersTheHitTestAsTyped) {
  // A form whose WndProc answers with the typed codes, asked by the system.
  class Framed : public TForm {
  public:
    using TForm::TForm;
    void WndProc(TMessage& m) override {
      if (m.Msg == WM_NCHITTEST) {
        POINT at = msg::Point(m);
        ScreenToClient(Handle(), &at);
        msg::Answer(m, at.y < 10 ? msg::THitTest::Caption : msg::THitTest::Client);
        return;
      }
      if (m.Msg == WM_GETMINMAXINFO) msg::MinMaxInfo(m).ptMinTrackSize.x = 123;
      TForm::WndProc(m);
    }
  };
  TApplication app;
  Framed form(&app);
  form.BorderStyle = TFormBorderStyle::bsNone;
  form.SetBounds(100, 100, 200, 100);
  form.Show();
  EXPECT_EQ(SendMessageA(form.Handle(), WM_NCHITTEST, 0, MAKELPARAM(150, 105)), HTCAPTION);
  EXPECT_EQ(SendMessageA(form.Handle(), WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCLIENT);
  MINMAXINFO info{};
  SendMessageA(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 123);
}
