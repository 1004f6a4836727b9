// The owning GDI types: each handle freed once, moved not copied, a region
// given to a window left to the system, selections put back.
#include "framework/win32/Gdi.h"

#include <gtest/gtest.h>

#include "framework/win32/Forms.h"

TEST(Gdi, HandlesAreFreedOnceMovedAndReleased) {
  const int before = gdi::LiveObjects();
  HBRUSH raw = nullptr;
  {
    gdi::TBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    raw = brush.Get();
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    gdi::TBrush moved(std::move(brush));
    EXPECT_FALSE(brush) << "the source holds nothing after a move";
    EXPECT_EQ(moved.Get(), raw);
    gdi::TBrush assigned;
    assigned = std::move(moved);
    EXPECT_EQ(gdi::LiveObjects(), before + 1) << "one brush, whoever holds it";
  }
  EXPECT_EQ(GetObjectType(raw), 0u) << "freed when its last holder went";
  EXPECT_EQ(gdi::LiveObjects(), before);

  gdi::TPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  HPEN first = pen.Get();
  pen.Reset(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
  EXPECT_EQ(GetObjectType(first), 0u) << "a reset frees the one it held";
  HPEN kept = pen.Release();
  EXPECT_FALSE(pen);
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_PEN)) << "released, not freed";
  DeleteObject(kept);
  gdi::TIconHandle icon(CopyIcon(LoadIconA(nullptr, IDI_WARNING)));
  EXPECT_TRUE(icon);
  icon.Reset();
  EXPECT_EQ(gdi::LiveObjects(), before);
}

TEST(Gdi, SelectionsArePutBackInTheirOwnDc) {
  gdi::TClientDC screen(nullptr);
  gdi::TMemoryDC first(screen.Get(), 8, 8), second(screen.Get(), 8, 8);
  const HGDIOBJ original = GetCurrentObject(first.Get(), OBJ_FONT);
  gdi::TFontHandle font(CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
  {
    gdi::TSelection selected(first.Get(), font.Get());
    EXPECT_EQ(GetCurrentObject(first.Get(), OBJ_FONT), font.Get());
    EXPECT_NE(GetCurrentObject(second.Get(), OBJ_FONT), font.Get());
  }
  EXPECT_EQ(GetCurrentObject(first.Get(), OBJ_FONT), original) << "the DC it selected into gets its font back";
  // A picture drawn off-screen arrives in one block transfer.
  SetPixel(first.Get(), 3, 4, RGB(200, 10, 20));
  EXPECT_TRUE(first.CopyTo(second.Get(), 0, 0));
  EXPECT_EQ(GetPixel(second.Get(), 3, 4), RGB(200, 10, 20));
}

TEST(Gdi, ARegionGivenToAWindowBelongsToTheSystem) {
  TApplication app;
  TForm form(&app);
  form.SetBounds(0, 0, 200, 150);
  form.Show();
  const int before = gdi::LiveObjects();
  gdi::TRegion region(CreateRectRgn(0, 0, 50, 40));
  EXPECT_EQ(gdi::LiveObjects(), before + 1);
  ASSERT_TRUE(region.GiveToWindow(form.Handle(), true));
  EXPECT_FALSE(region) << "not deleted by us: the window's region is the system's";
  EXPECT_EQ(gdi::LiveObjects(), before);
  gdi::TRegion copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(form.Handle(), copy.Get()), SIMPLEREGION);
  RECT box{};
  GetRgnBox(copy.Get(), &box);
  EXPECT_EQ(box.right, 50);
  EXPECT_EQ(box.bottom, 40);
}
