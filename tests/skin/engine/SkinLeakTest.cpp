// Skin changes and skinned system dialogs, many times over, under Wine:
// the owned GDI objects, the components, the windows, every GDI object of
// the process (the engine's own regions, fonts, image-list images and
// buffers among them) and the engine's frames come back to where they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinEngine.h"
#include "support/GdiObjectCount.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/TestSkins.h"
#include "support/WindowCount.h"

namespace {

constexpr int kSkinChanges = 500;
constexpr int kMessageBoxes = 500;
// Wine's file dialog takes about a third of a second each time (its shell
// view lists a folder): fewer rounds keep the test within its time, and a
// leak of one object a round still shows plainly.
constexpr int kFileDialogs = 50;

// A skinned form with a main menu (a skinned menu bar) and a control.
class MenuForm : public TForm {
public:
  PLIMET_CLASS_NAME(MenuForm)
  MenuForm() : TForm(nullptr) {
    SetCaption("Leak check");
    SetBounds(60, 60, 320, 220);
    auto* menu = new TMainMenu(this);
    auto* file = new TMenuItem(menu);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(menu);
    open->SetCaption("&Open");
    file->Add(open);
    auto* edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(10, 10, 100, 21);
    SetMenu(menu);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TSkinEngine* Engine;
};

struct Counts {
  int owned = 0;      // through the framework's GDI types
  int components = 0; // TComponent objects
  int windows = 0;    // this thread's windows and their children
  int process = 0;    // every GDI object of the process
  int checkMarks = 0; // images of the shared check-mark list
  std::size_t frames = 0;

  static Counts Take(const TSkinEngine& engine) {
    return {gdi::LiveObjects(), TComponent::LiveCount(), ThreadWindowCount(), ProcessGdiObjects(),
            ImageList_GetImageCount(TSkinEngine::CheckMarkImages()), engine.Frames().size()};
  }
};

void ExpectSame(const Counts& before, const Counts& after) {
  EXPECT_EQ(after.owned, before.owned) << "GDI objects of the framework's types";
  EXPECT_EQ(after.components, before.components) << "components";
  EXPECT_EQ(after.windows, before.windows) << "windows";
  EXPECT_EQ(after.process, before.process) << "GDI objects of the process, now " << ProcessGdiObjectKinds();
  EXPECT_EQ(after.checkMarks, before.checkMarks) << "check-mark images";
  EXPECT_EQ(after.frames, before.frames) << "frames";
}

class SkinLeakTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_GT(ProcessGdiObjects(), 0) << "the process's GDI handle table cannot be read";
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(100);
    ASSERT_NE(form.Engine->FrameOf(form.Handle()), nullptr);
  }
  TApplication app;
  MenuForm form;
  ModalDriver driver;
};

// A message box owned by the form, answered with OK once it is up; true
// when the box was skinned.
bool OneMessageBox(ModalDriver& driver, HWND owner) {
  bool skinned = false;
  driver.When("#32770", [&](HWND box) {
    skinned = SendMessageA(box, WM_SKIN_QUERY, 0, 0) == 1;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(owner, "Once more", "Leak check", MB_OK);
  return skinned;
}

// The open-file dialog, cancelled once it is up; true when it was skinned.
bool OneFileDialog(ModalDriver& driver, HWND owner) {
  bool skinned = false;
  driver.When("#32770", [&](HWND dialog) {
    skinned = SendMessageA(dialog, WM_SKIN_QUERY, 0, 0) == 1;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  char file[MAX_PATH] = {};
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = owner;
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  open.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  GetOpenFileNameA(&open);
  return skinned;
}

} // namespace

TEST_F(SkinLeakTest, FiveHundredSkinChangesLeaveNothingBehind) {
  const std::string skins[] = {TestSkinFile("FiveSect"), TestSkinFile("DeepCyan")};
  // The first rounds fill what the system caches once (fonts, DCs).
  for (int i = 0; i < 4; ++i) form.Engine->SetSkinFile(skins[i % 2]);
  PumpFor(50);
  const Counts before = Counts::Take(*form.Engine);
  for (int i = 0; i < kSkinChanges; ++i) {
    form.Engine->SetSkinFile(skins[i % 2]);
    app.ProcessMessages();
  }
  PumpFor(50);
  EXPECT_EQ(form.Engine->SkinFile(), skins[1]);
  EXPECT_EQ(SendMessageA(form.Handle(), WM_SKIN_QUERY, 0, 0), 1) << "still skinned";
  ExpectSame(before, Counts::Take(*form.Engine));
}

TEST_F(SkinLeakTest, FiveHundredSkinnedMessageBoxesLeaveNothingBehind) {
  for (int i = 0; i < 3; ++i) OneMessageBox(driver, form.Handle());
  PumpFor(50);
  const Counts before = Counts::Take(*form.Engine);
  int skinned = 0;
  for (int i = 0; i < kMessageBoxes; ++i) skinned += OneMessageBox(driver, form.Handle());
  PumpFor(50);
  EXPECT_EQ(skinned, kMessageBoxes) << "every box had its frame";
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_EQ(before.frames, 1u);
  ExpectSame(before, Counts::Take(*form.Engine));
}

TEST_F(SkinLeakTest, SkinnedOpenFileDialogsLeaveNothingBehind) {
  for (int i = 0; i < 3; ++i) OneFileDialog(driver, form.Handle());
  PumpFor(50);
  const Counts before = Counts::Take(*form.Engine);
  int skinned = 0;
  for (int i = 0; i < kFileDialogs; ++i) skinned += OneFileDialog(driver, form.Handle());
  PumpFor(50);
  EXPECT_EQ(skinned, kFileDialogs) << "every dialog had its frame";
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_EQ(before.frames, 1u);
  ExpectSame(before, Counts::Take(*form.Engine));
}

namespace {

// A dialog that makes a brush of its own at its start and frees it when it
// hears of its end, as system dialogs free what they made.
INT_PTR CALLBACK OwnBrushProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    SetPropA(dialog, "LeakTestBrush", CreateSolidBrush(RGB(1, 2, 3)));
    return TRUE;
  }
  if (msg == WM_DESTROY) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrA(dialog, DWLP_USER));
    DeleteObject(RemovePropA(dialog, "LeakTestBrush"));
  }
  return FALSE;
}

} // namespace

TEST_F(SkinLeakTest, ASkinnedDialogsOwnProcedureHearsOfItsEnd) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* layout = reinterpret_cast<DLGTEMPLATE*>(words.data());
  layout->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  layout->cx = 160;
  layout->cy = 100;
  int destroys = 0;
  const auto oneDialog = [&] {
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), layout, form.Handle(), OwnBrushProc,
                                             reinterpret_cast<LPARAM>(&destroys));
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    PumpFor(20);
    ASSERT_EQ(SendMessageA(dialog, WM_SKIN_QUERY, 0, 0), 1) << "skinned";
    DestroyWindow(dialog);
    app.ProcessMessages();
  };
  oneDialog();
  const Counts before = Counts::Take(*form.Engine);
  for (int i = 0; i < 20; ++i) oneDialog();
  EXPECT_EQ(destroys, 21) << "WM_DESTROY reached the dialog's own procedure";
  ExpectSame(before, Counts::Take(*form.Engine));
}

namespace {

// A button that counts the ends its own procedure hears of.
class EndCountingButton : public TButton {
public:
  EndCountingButton(TComponent* owner, int& ends) : TButton(owner), ends_(ends) {}

protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_DESTROY) ++ends_;
    TButton::WndProc(message);
  }

private:
  int& ends_;
};

// A skinned form with a tree (the tree control makes fonts of its own,
// given back only when its window hears of its end) and a counting button.
class TreeForm : public TForm {
public:
  PLIMET_CLASS_NAME(TreeForm)
  explicit TreeForm(int& ends) : TForm(nullptr) {
    SetBounds(80, 80, 300, 280);
    // Made first, as the program's forms make theirs: the controls go before it.
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Tree = new TTreeView(this);
    Tree->SetParent(this);
    Tree->SetBounds(10, 10, 200, 180);
    Tree->Items().AddChild(nullptr, "Mail");
    auto* button = new EndCountingButton(this, ends);
    button->SetParent(this);
    button->SetBounds(10, 200, 80, 25);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TTreeView* Tree;
  TSkinEngine* Engine;
};

} // namespace

// Controls taken down with their skinned form get their last messages
// themselves: the button hears of its end, the tree gives its fonts back.
TEST_F(SkinLeakTest, ControlsGoingWithASkinnedFormAreTakenDownByTheirOwnProcedures) {
  int ends = 0;
  const auto oneForm = [&] {
    TreeForm tree(ends);
    tree.Show();
    PumpFor(20);
    ASSERT_EQ(SendMessageA(tree.Tree->Handle(), WM_SKIN_QUERY, 0, 0), 1) << "the tree is skinned";
  };
  oneForm();
  const Counts before = Counts::Take(*form.Engine);
  for (int i = 0; i < 20; ++i) oneForm();
  EXPECT_EQ(ends, 21) << "WM_DESTROY reached each button's own procedure";
  ExpectSame(before, Counts::Take(*form.Engine));
}

TEST_F(SkinLeakTest, TheProcessCountSeesObjectsComeAndGo) {
  const int before = ProcessGdiObjects();
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  HRGN region = CreateRectRgn(0, 0, 4, 4);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(ProcessGdiObjects(), before + 3);
  DeleteDC(dc);
  DeleteObject(region);
  DeleteObject(brush);
  EXPECT_EQ(ProcessGdiObjects(), before);
}
