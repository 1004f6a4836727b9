// The gallery: every control class of the framework is on it, it is
// photographed page by page with its MDI form, and made and freed two
// hundred times it leaves nothing behind.
#include <gtest/gtest.h>

#include "support/WindowCount.h"

#include <set>
#include <string>

#include "GalleryForm.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Gdi.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"
#include "skin/engine/SkinListView.h"
#include "skin/engine/SkinPickers.h"
#include "skin/engine/SkinWindow.h"
#include "support/GdiObjectCount.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

void Collect(const TComponent& component, std::set<std::string>& classes) {
  for (int i = 0; i < component.ComponentCount(); ++i) {
    classes.insert(component.Components(i)->ClassName());
    Collect(*component.Components(i), classes);
  }
}

void Settle(TApplication& app) {
  for (int i = 0; i < 3; ++i) {
    app.ProcessMessages();
    Sleep(60);
  }
}

} // namespace

TEST(Gallery, HoldsEveryControlAndIsPhotographedPageByPage) {
  TApplication app;
  auto* gallery = new TGalleryForm(&app);
  std::set<std::string> classes;
  Collect(*gallery, classes);
  for (const char* name :
       {"TLabel", "TEdit", "TMemo", "TButton", "TBitBtn", "TCheckBox", "TRadioButton", "TGroupBox", "TPanel",
        "TComboBox", "TListBox", "TScrollBar", "TMaskEdit", "TSpinEdit", "TSpeedButton", "TLinkLabel", "TImage",
        "TTreeView", "TSplitter", "TPageControl", "TTabSheet", "TToolBar", "TToolButton", "TCoolBar", "TComboBoxEx",
        "TStatusBar", "TTrackBar", "TProgressBar", "TUpDown", "THotKey", "TDateTimePicker", "TListView",
        "TTabControl", "TScrollBox", "TFrame", "TStringGrid", "TDBGrid", "TDBEdit", "TDBLookupComboBox",
        "TMainMenu", "TPopupMenu", "TImageList", "TDataSource"})
    EXPECT_EQ(classes.count(name), 1u) << name << " is missing from the gallery";

  gallery->Show();
  Settle(app);
  const HWND window = gallery->Handle();
  // Nothing left unpainted: no row inside the frame is black from side to side.
  const auto shot = TakeWindowShot(window);
  ASSERT_TRUE(shot);
  const int inside = shot->Width() - 2 * 8;
  for (int y = 0; y < shot->Height(); ++y) {
    int black = 0;
    for (int x = 8; x < shot->Width() - 8; ++x) black += shot->Pixel(x, y) == 0;
    ASSERT_LT(black, inside) << "row " << y << " is unpainted";
  }
  EXPECT_TRUE(SaveWindowShot(window, "screenshots/gallery-standard.bmp"));
  gallery->Pages->SetActivePage(gallery->CommonPage);
  Settle(app);
  EXPECT_TRUE(SaveWindowShot(window, "screenshots/gallery-common.bmp"));
  gallery->Pages->SetActivePage(gallery->DataPage);
  Settle(app);
  EXPECT_TRUE(SaveWindowShot(window, "screenshots/gallery-data.bmp"));

  auto* mdi = new TGalleryMDIForm(&app);
  mdi->Show();
  for (const char* caption : {"First note", "Second note", "Third note"}) mdi->NewChild(caption);
  mdi->Cascade();
  Settle(app);
  EXPECT_EQ(mdi->MDIChildCount(), 3);
  EXPECT_TRUE(SaveWindowShot(mdi->Handle(), "screenshots/gallery-mdi.bmp"));
  delete mdi;
  delete gallery;
}

TEST(Gallery, TwoHundredGalleriesComeAndGoWithoutATrace) {
  TApplication app;
  const auto cycle = [&] {
    auto* gallery = new TGalleryForm(&app);
    gallery->Show();
    gallery->Pages->SetActivePage(gallery->DataPage); // every page's windows made
    app.ProcessMessages();
    delete gallery;
    app.ProcessMessages();
  };
  cycle(); // what is made once per process (window classes, the common controls) is made here
  const int components = TComponent::LiveCount(), gdiObjects = gdi::LiveObjects(), windows = ThreadWindowCount();
  for (int i = 0; i < 200; ++i) cycle();
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(gdi::LiveObjects(), gdiObjects) << "fonts, brushes, bitmaps, pens, icons, regions of the framework";
  EXPECT_EQ(ThreadWindowCount(), windows);

  // The MDI form with its children, too.
  const auto mdiCycle = [&] {
    auto* mdi = new TGalleryMDIForm(&app);
    mdi->Show();
    for (const char* caption : {"One", "Two", "Three"}) mdi->NewChild(caption);
    mdi->Tile();
    app.ProcessMessages();
    delete mdi;
    app.ProcessMessages();
  };
  mdiCycle();
  const int mdiComponents = TComponent::LiveCount(), mdiWindows = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) mdiCycle();
  EXPECT_EQ(TComponent::LiveCount(), mdiComponents);
  EXPECT_EQ(ThreadWindowCount(), mdiWindows);
}

namespace {

// Share of the pixels two pictures of one size differ in.
double Differing(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 1.0;
  long long differing = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) != b.Pixel(x, y);
  return static_cast<double>(differing) / (static_cast<double>(a.Width()) * a.Height());
}

// What the screen shows of the pickers once their page is shown: the date
// picker's skinned button with its arrow, the time picker's skinned up-down.
void ExpectSkinnedPickerParts(TSkinEngine& engine, TGalleryForm& gallery) {
  for (auto& child : engine.FrameOf(gallery.Handle())->Children) {
    auto* picker = dynamic_cast<TSkinDateTimePicker*>(child.get());
    if (!picker) continue;
    if (TSkinInternalUpDown* upDown = picker->UpDown()) {
      const auto shot = TakeWindowShot(upDown->Handle());
      ASSERT_TRUE(shot);
      EXPECT_EQ(shot->Pixel(0, 0), skin::ToRgb(engine.GetColor(TSkinColorKey::SKIN2_TOOLBARBORDERCOLOR)));
    } else if (TSkinInternalComboButton* button = picker->ComboButton()) {
      const auto shot = TakeWindowShot(button->Handle());
      ASSERT_TRUE(shot);
      EXPECT_EQ(shot->Pixel(shot->Width() / 2, shot->Height() / 2 - 1), 0) << "the arrow";
      EXPECT_EQ(shot->Pixel(0, shot->Height() / 2), skin::ToRgb(engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR)));
    }
  }
}

} // namespace

TEST(Gallery, SkinnedAndBackAgain) {
  TApplication app;
  auto* gallery = new TGalleryForm(&app);
  gallery->Show();
  Settle(app);
  const auto plain = TakeWindowShot(gallery->Handle());
  ASSERT_TRUE(plain);
  auto* engine = new TSkinEngine(gallery);
  engine->SetActive(true);
  engine->SetSkinFile(TestSkinFile("DeepCyan"));
  engine->Attach(gallery->Handle(), false);
  Settle(app);
  ASSERT_EQ(SendMessageA(gallery->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  const char* pages[] = {"standard", "common", "data"};
  TTabSheet* sheets[] = {gallery->StandardPage, gallery->CommonPage, gallery->DataPage};
  for (int i = 0; i < 3; ++i) {
    gallery->Pages->SetActivePage(sheets[i]);
    Settle(app);
    EXPECT_TRUE(SaveWindowShot(gallery->Handle(), std::string("screenshots/gallery-skinned-") + pages[i] + ".bmp"));
    if (sheets[i] == gallery->CommonPage) ExpectSkinnedPickerParts(*engine, *gallery);
  }
  // The pickers and the list view by their own rows: the date's button, the
  // time's skinned up-down, the list view's header taken over.
  int datePickers = 0, timePickers = 0, listViews = 0;
  for (auto& child : engine->FrameOf(gallery->Handle())->Children) {
    if (auto* picker = dynamic_cast<TSkinDateTimePicker*>(child.get())) {
      if (picker->UpDown()) {
        ++timePickers;
        EXPECT_EQ(SendMessageA(picker->UpDown()->Handle(), WM_SKIN_QUERY, 0, 0), 1);
      } else if (picker->ComboButton() && picker->ComboButton()->Visible()) {
        ++datePickers;
      }
    }
    if (auto* list = dynamic_cast<TSkinListView*>(child.get()); list && list->Header()) ++listViews;
  }
  EXPECT_EQ(datePickers, 1);
  EXPECT_EQ(timePickers, 1);
  EXPECT_EQ(listViews, 1);
  gallery->Pages->SetActivePage(gallery->StandardPage);
  Settle(app);
  const auto skinned = TakeWindowShot(gallery->Handle());
  // Off again: the skinners stay but paint nothing and give the colours back.
  engine->SetActive(false);
  Settle(app);
  const auto off = TakeWindowShot(gallery->Handle());
  EXPECT_TRUE(SaveWindowShot(gallery->Handle(), "screenshots/gallery-skin-off.bmp"));
  EXPECT_GT(Differing(*plain, *skinned), 0.2) << "the skin changes the look";
  EXPECT_LT(Differing(*plain, *off), 0.05) << "off, it looks as it did (parent colours and scrolling aside)";
  EXPECT_FALSE(engine->FrameOf(gallery->Handle())->Children.empty()) << "the skinners are kept";
  delete gallery;
}

// With every control of the gallery skinned a change takes about 0.4 s
// under Wine: five hundred of them take over three minutes.
TEST(Gallery, FiveHundredSkinChangesWithTheGalleryOpenLeaveNothingBehind) {
  TApplication app;
  auto* gallery = new TGalleryForm(&app);
  gallery->Show();
  auto* engine = new TSkinEngine(gallery);
  engine->SetActive(true);
  engine->SetSkinFile(TestSkinFile("DeepCyan"));
  engine->Attach(gallery->Handle(), false);
  Settle(app);
  const std::string skins[] = {TestSkinFile("FiveSect"), TestSkinFile("DeepCyan")};
  for (int i = 0; i < 4; ++i) engine->SetSkinFile(skins[i % 2]); // what the system caches once
  Settle(app);
  const int owned = gdi::LiveObjects(), components = TComponent::LiveCount(), windows = ThreadWindowCount(),
            process = ProcessGdiObjects();
  const std::size_t skinners = engine->FrameOf(gallery->Handle())->Children.size();
  for (int i = 0; i < 500; ++i) {
    engine->SetSkinFile(skins[i % 2]);
    app.ProcessMessages();
  }
  Settle(app);
  EXPECT_EQ(gdi::LiveObjects(), owned);
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(ProcessGdiObjects(), process) << ProcessGdiObjectKinds();
  EXPECT_EQ(engine->FrameOf(gallery->Handle())->Children.size(), skinners);
  delete gallery;
}

// The program's forms make their engine before they are first shown. A
// form that frees its components in its own destructor (the gallery), or
// one not made by new, loses its menus and the skinned menu bar while its
// window and the engine's frame are still there: the frame must not use
// them any more.
TEST(Gallery, SkinnedFromTheStartAndFreedWhicheverWay) {
  TApplication app;
  const auto skinnedEngine = [](TForm& form) {
    auto* engine = new TSkinEngine(&form);
    engine->SetActive(true);
    engine->SetSkinFile(TestSkinFile("DeepCyan"));
    return engine;
  };
  {
    TGalleryForm gallery(nullptr);
    skinnedEngine(gallery);
    gallery.Show();
    Settle(app);
    EXPECT_EQ(SendMessageA(gallery.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  }
  Settle(app);
  const int components = TComponent::LiveCount(), windows = ThreadWindowCount();
  auto* gallery = new TGalleryForm(&app);
  skinnedEngine(*gallery);
  gallery->Show();
  Settle(app);
  EXPECT_EQ(SendMessageA(gallery->Handle(), WM_SKIN_QUERY, 0, 0), 1);
  delete gallery;
  {
    TGalleryMDIForm mdi(nullptr);
    skinnedEngine(mdi);
    mdi.Show();
    for (const char* caption : {"One", "Two"}) mdi.NewChild(caption);
    Settle(app);
    EXPECT_EQ(SendMessageA(mdi.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  }
  Settle(app);
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(ThreadWindowCount(), windows);
}
