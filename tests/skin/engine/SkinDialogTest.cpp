// Plain system windows under a skin, under Wine: message boxes grow around
// the skinned frame and give way at their end, the open-file dialog is
// framed and closes, and a folder browser's scroll bars are hidden.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "framework/win32/Dialogs.h"
#include "framework/win32/Forms.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindowWnd.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"
#include "support/TestSkins.h"

namespace {

class OwnerForm : public TForm {
public:
  PLIMET_CLASS_NAME(OwnerForm)
  OwnerForm() : TForm(nullptr) {
    SetCaption("Owner");
    SetBounds(40, 40, 300, 200);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    Engine->SetSkinFile(TestSkinFile("DeepCyan"));
  }
  TSkinEngine* Engine;
};

SIZE SizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

class SkinDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    owner.Show();
    PumpFor(100);
  }
  TApplication app;
  OwnerForm owner;
  ModalDriver driver;
};

} // namespace

TEST_F(SkinDialogTest, AMessageBoxGrowsAroundTheSkinnedFrameAndLetsGoAtItsEnd) {
  owner.Engine->SkinDialogs = false;
  SIZE plain{};
  RECT plainRect{}, skinnedRect{};
  driver.When("#32770", [&](HWND box) {
    plain = SizeOf(box);
    GetWindowRect(box, &plainRect);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(owner.Handle(), "Grown or not", "Box", MB_OK);
  owner.Engine->SkinDialogs = true;
  SIZE skinned{};
  int nativeTop = 0, nativeBottom = 0;
  LRESULT query = 0;
  driver.When("#32770", [&](HWND box) {
    skinned = SizeOf(box);
    GetWindowRect(box, &skinnedRect);
    query = SendMessageA(box, WM_SKIN_QUERY, 0, 0);
    if (auto* frame = owner.Engine->FrameOf(box)) {
      nativeTop = frame->NativeTop;
      nativeBottom = frame->NativeBottom;
    }
    SaveWindowShot(box, "screenshots/skin-message-box.bmp");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(owner.Handle(), "Grown or not", "Box", MB_OK);
  ASSERT_EQ(query, 1);
  const TSkinMetrics& m = owner.Engine->Metrics();
  EXPECT_EQ(skinned.cx, plain.cx + m.LeftBorderWidth + m.RightBorderWidth);
  EXPECT_EQ(skinned.cy, plain.cy + m.CaptionHeight + std::max(nativeBottom, m.BottomBorderHeight) - nativeTop);
  EXPECT_EQ(skinnedRect.left, plainRect.left) << "it grows where it stands";
  EXPECT_EQ(skinnedRect.top, plainRect.top);
  EXPECT_EQ(owner.Engine->Frames().size(), 1u) << "the box's frame is freed with its window";
  EXPECT_NE(TSkinEngine::LastDetached, nullptr);
}

TEST_F(SkinDialogTest, ManyMessageBoxesLeaveNoFrameAndNoObjectBehind) {
  const int objectsBefore = gdi::LiveObjects();
  for (int i = 0; i < 20; ++i) {
    driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    MessageBoxA(owner.Handle(), "Again", "Box", MB_OK);
  }
  EXPECT_EQ(owner.Engine->Frames().size(), 1u);
  EXPECT_EQ(gdi::LiveObjects(), objectsBefore);
}

TEST_F(SkinDialogTest, TheOpenFileDialogIsFramedAndClosesWithEscape) {
  LRESULT query = 0;
  driver.When("#32770", [&](HWND dialog) {
    query = SendMessageA(dialog, WM_SKIN_QUERY, 0, 0);
    PumpFor(200);
    SaveWindowShot(dialog, "screenshots/skin-open-file.bmp");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  char file[MAX_PATH] = {};
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = owner.Handle();
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  open.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  EXPECT_FALSE(GetOpenFileNameA(&open));
  EXPECT_EQ(query, 1);
  EXPECT_EQ(owner.Engine->Frames().size(), 1u);
}

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

INT_PTR CALLBACK BrowserProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

// A dialog template of one empty dialog, filled with children at its start.
std::vector<WORD> EmptyDialogTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
  dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  dialog->cx = 160;
  dialog->cy = 100;
  return words;
}

} // namespace

TEST_F(SkinDialogTest, AFolderBrowsersScrollBarsAreHidden) {
  WNDCLASSA shellClass{};
  shellClass.lpfnWndProc = PlainProc;
  shellClass.hInstance = GetModuleHandleA(nullptr);
  shellClass.lpszClassName = "SHBrowseForFolder ShellNameSpace Control";
  RegisterClassA(&shellClass);
  bool scrollBarVisible = true, browser = false;
  driver.When("#32770", [&](HWND dialog) {
    auto* frame = dynamic_cast<TSkinWindowWnd*>(owner.Engine->FrameOf(dialog));
    browser = frame && frame->IsFolderBrowser;
    scrollBarVisible = IsWindowVisible(GetDlgItem(dialog, 101)) != FALSE;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  // The children come before the dialog is shown, as the shell's browser makes them.
  const auto words = EmptyDialogTemplate();
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                           owner.Handle(), BrowserProc, 0);
  ASSERT_NE(dialog, nullptr);
  CreateWindowExA(0, shellClass.lpszClassName, "", WS_CHILD | WS_VISIBLE, 4, 4, 200, 100, dialog,
                  reinterpret_cast<HMENU>(100), nullptr, nullptr);
  CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 204, 4, 16, 100, dialog,
                  reinterpret_cast<HMENU>(101), nullptr, nullptr);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  PumpFor(400);
  EXPECT_TRUE(browser);
  EXPECT_FALSE(scrollBarVisible);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  UnregisterClassA(shellClass.lpszClassName, GetModuleHandleA(nullptr));
}

// A dialog owned by another window keeps its place when the skin resizes it.
TEST_F(SkinDialogTest, AMessageFormStaysWhereItWasPlaced) {
  RECT at{}, screen{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
  LRESULT query = 0;
  driver.When("TMessageForm", [&](HWND box) {
    GetWindowRect(box, &at);
    query = SendMessageA(box, WM_SKIN_QUERY, 0, 0);
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    PressKey(VK_RETURN);
  });
  MessageDlg("Placed in the middle", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  EXPECT_EQ(query, 1);
  const int middle = (screen.left + screen.right) / 2;
  EXPECT_LE(std::abs((at.left + at.right) / 2 - middle), 4) << "centred on the screen, not by its owner's corner";
}

TEST_F(SkinDialogTest, AMessageBoxKeepsItsSizeThroughSkinChanges) {
  SIZE first{}, last{};
  driver.When("#32770", [&](HWND box) {
    first = SizeOf(box);
    for (const char* skin : {"ThinBorder", "FiveSect", "ThinBorder", "DeepCyan"}) {
      owner.Engine->SetSkinFile(TestSkinFile(skin));
      PumpFor(30);
    }
    last = SizeOf(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(owner.Handle(), "Same size", "Box", MB_OK);
  EXPECT_EQ(last.cx, first.cx);
  EXPECT_EQ(last.cy, first.cy) << "no pixel more at each change";
}
