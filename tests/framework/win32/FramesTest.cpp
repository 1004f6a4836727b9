// Scroll boxes and frames: scroll bars exactly when the contents do not
// fit, and frames that own their controls.
#include <gtest/gtest.h>

#include "framework/win32/Forms.h"
#include "framework/win32/Frames.h"
#include "framework/win32/StdCtrls.h"
#include "support/RealInput.h"

namespace {

bool BarShown(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  return GetScrollBarInfo(window, object, &info) && !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

class FramesTest : public ::testing::Test {
protected:
  FramesTest() : form(&app) {
    form.SetBounds(100, 100, 400, 300);
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~FramesTest() override { PumpFor(30); }
  TApplication app;
  TForm form;
};

} // namespace

TEST_F(FramesTest, AScrollBoxShowsTheBarsItsChildrenNeedAndScrollsThem) {
  auto* box = new TScrollBox(&form);
  box->SetParent(&form);
  box->SetBounds(10, 10, 150, 120);
  auto* inside = new TButton(&form);
  inside->SetParent(box);
  inside->SetBounds(10, 10, 60, 25);
  EXPECT_FALSE(BarShown(box->Handle(), OBJID_HSCROLL));
  EXPECT_FALSE(BarShown(box->Handle(), OBJID_VSCROLL));

  auto* outside = new TButton(&form);
  outside->SetParent(box);
  outside->SetBounds(200, 20, 50, 25); // past the right edge
  EXPECT_TRUE(BarShown(box->Handle(), OBJID_HSCROLL));
  EXPECT_FALSE(BarShown(box->Handle(), OBJID_VSCROLL));
  EXPECT_EQ(box->HorzScrollBar().Range(), 250);

  // A click on the right arrow scrolls by one step.
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(box->Handle(), OBJID_HSCROLL, &info);
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  RealClick({info.rcScrollBar.right - arrow / 2, (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2});
  PumpFor(100);
  EXPECT_EQ(box->HorzScrollBar().Position(), 8);
  EXPECT_EQ(outside->Left(), 192);
  EXPECT_EQ(inside->Left(), 2);
  RECT r;
  GetWindowRect(outside->Handle(), &r);
  MapWindowPoints(nullptr, box->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 192) << "the window moved with it";

  // To the end and no further; the last control in full view.
  box->HorzScrollBar().SetPosition(10000);
  const RECT client = box->ClientRect();
  EXPECT_EQ(outside->Left() + outside->Width(), client.right);
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_HORZ), box->HorzScrollBar().Position());

  // Taller contents bring the other bar.
  outside->SetBounds(outside->Left(), 300, 50, 25);
  EXPECT_TRUE(BarShown(box->Handle(), OBJID_VSCROLL));
  box->ScrollInView(*outside);
  EXPECT_LE(outside->Top() + outside->Height(), box->ClientRect().bottom);
  EXPECT_GE(outside->Top(), 0);

  // Contents that fit again: no bars, nothing scrolled.
  delete outside;
  EXPECT_FALSE(BarShown(box->Handle(), OBJID_HSCROLL));
  EXPECT_FALSE(BarShown(box->Handle(), OBJID_VSCROLL));
  EXPECT_EQ(inside->Left(), 10);
  EXPECT_EQ(inside->Top(), 10);
}

TEST_F(FramesTest, AFrameOwnsItsControlsTakesTheTabAndGoesWithItsForm) {
  const int before = TComponent::LiveCount();
  auto* owner = new TForm(&app);
  owner->SetBounds(150, 150, 300, 200);
  auto* first = new TEdit(owner);
  first->SetParent(owner);
  first->SetBounds(10, 10, 100, 21);
  auto* frame = new TFrame(owner);
  frame->Name = "Address";
  frame->SetParent(owner);
  frame->SetBounds(10, 40, 200, 100);
  auto* street = new TEdit(frame);
  street->Name = "Street";
  street->SetParent(frame);
  street->SetBounds(5, 5, 120, 21);
  owner->Show();
  SetForegroundWindow(owner->Handle());
  PumpFor(50);
  EXPECT_EQ(owner->FindComponent("Address"), frame);
  EXPECT_EQ(frame->FindComponent("Street"), street) << "the frame owns its own components";
  EXPECT_EQ(owner->FindComponent("Street"), nullptr);
  EXPECT_EQ(GetParent(street->Handle()), frame->Handle());
  EXPECT_EQ(frame->Color(), owner->Color()) << "the colour of where it is placed";

  first->SetFocus();
  RealKey(VK_TAB);
  PumpFor(60);
  EXPECT_TRUE(street->Focused()) << "Tab goes on into the frame";

  // Made smaller than its contents, a frame scrolls too.
  frame->SetBounds(10, 40, 60, 100);
  EXPECT_TRUE(BarShown(frame->Handle(), OBJID_HSCROLL));

  HWND streetWindow = street->Handle(), frameWindow = frame->Handle();
  delete owner;
  EXPECT_FALSE(IsWindow(streetWindow));
  EXPECT_FALSE(IsWindow(frameWindow));
  EXPECT_EQ(TComponent::LiveCount(), before);
}
