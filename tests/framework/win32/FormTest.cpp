// Forms, the modal loop, dialog keys, the replaceable window procedure and
// ownership, driven as a person would under Wine.
#include <gtest/gtest.h>

#include "framework/win32/ActnList.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "platform/Errors.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/Screenshot.h"

#include <commctrl.h>

namespace {

// A small dialog: a name edit, OK (default) and Cancel (cancel).
class TestDialog : public TForm {
public:
  PLIMET_CLASS_NAME(TestDialog)
  explicit TestDialog(TComponent* owner) : TForm(owner) {
    BorderStyle = TFormBorderStyle::bsDialog;
    Position = TPosition::poScreenCenter;
    SetCaption("Test dialog");
    SetClientSize(260, 110);
    name = new TEdit(this);
    name->SetParent(this);
    name->SetBounds(12, 12, 236, 21);
    ok = new TButton(this);
    ok->SetParent(this);
    ok->SetCaption("OK");
    ok->SetBounds(92, 72, 75, 25);
    ok->ModalResult = mrOk;
    ok->Default = true;
    cancel = new TButton(this);
    cancel->SetParent(this);
    cancel->SetCaption("Cancel");
    cancel->SetBounds(173, 72, 75, 25);
    cancel->ModalResult = mrCancel;
    cancel->Cancel = true;
    DefaultButton = ok;
    CancelButton = cancel;
  }
  TEdit* name;
  TButton* ok;
  TButton* cancel;
};

class FormTest : public ::testing::Test {
protected:
  TApplication app;
  ModalDriver driver;
};

} // namespace

TEST_F(FormTest, ModalResultsForEveryWayOut) {
  struct Way {
    const char* what;
    std::function<void(TestDialog&, HWND)> act;
    int expected;
  };
  const Way ways[] = {
      {"OK clicked", [](TestDialog& d, HWND) { ClickOn(d.ok->Handle()); }, mrOk},
      {"Cancel clicked", [](TestDialog& d, HWND) { ClickOn(d.cancel->Handle()); }, mrCancel},
      {"Escape", [](TestDialog&, HWND) { PressKey(VK_ESCAPE); }, mrCancel},
      {"Enter in the edit", [](TestDialog&, HWND) { PressKey(VK_RETURN); }, mrOk},
      {"close box", [](TestDialog&, HWND window) { CloseByCloseBox(window); }, mrCancel},
  };
  for (const Way& way : ways) {
    TestDialog dialog(&app);
    driver.When("TestDialog", [&](HWND window) { way.act(dialog, window); });
    EXPECT_EQ(dialog.ShowModal(), way.expected) << way.what;
    EXPECT_FALSE(IsWindowVisible(dialog.Handle())) << way.what;
    EXPECT_EQ(driver.Pending(), 0u);
  }
}

TEST_F(FormTest, TypedTextReachesTheEditBeforeOk) {
  TestDialog dialog(&app);
  std::string changes;
  dialog.name->OnChange = [&](TComponent*) { changes += "."; };
  driver.When("TestDialog", [](HWND) {
    TypeText("anna");
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(dialog.name->Text(), "anna");
  EXPECT_EQ(changes, "....");
}

TEST_F(FormTest, CloseQueryCanKeepTheFormOpen) {
  TestDialog dialog(&app);
  int asked = 0;
  dialog.OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = ++asked > 1; };
  bool stillShownAfterRefusal = false;
  driver.When("TestDialog", [&](HWND window) {
    PressKey(VK_ESCAPE); // refused
    PostMessageA(window, WM_NULL, 0, 0);
    SetTimer(nullptr, 0, 50, nullptr);
  });
  // Once refused, look again and close for good.
  app.OnMessage = [&](MSG& message, bool&) {
    if (message.message == WM_TIMER && message.hwnd == nullptr && asked == 1) {
      KillTimer(nullptr, message.wParam);
      stillShownAfterRefusal = IsWindowVisible(dialog.Handle()) != 0;
      CloseByCloseBox(dialog.Handle());
    }
  };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_TRUE(stillShownAfterRefusal);
  EXPECT_EQ(asked, 2);
}

TEST_F(FormTest, OtherFormsWaitWhileADialogIsShown) {
  TForm main(&app);
  main.SetCaption("Main");
  main.Show();
  EXPECT_EQ(app.MainForm(), &main);
  TestDialog dialog(&app);
  bool mainEnabledDuring = true;
  driver.When("TestDialog", [&](HWND) {
    mainEnabledDuring = IsWindowEnabled(main.Handle()) != 0;
    PressKey(VK_ESCAPE);
  });
  dialog.ShowModal();
  EXPECT_FALSE(mainEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

namespace {
// Whether a window is above another in the system's window order.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    if (w == upper) return true;
  return false;
}

// Whether any of the window can be painted (not wholly covered by others).
bool Paintable(HWND window) {
  HDC dc = GetWindowDC(window);
  RECT box;
  const int kind = GetClipBox(dc, &box);
  ReleaseDC(window, dc);
  return kind != NULLREGION && kind != ERROR;
}

// What the client area of a window shows on the screen: the share of it in
// the given colour, and how many pixels are dark (text, edges).
struct OnScreen {
  double share = 0;
  int dark = 0;
};
OnScreen SeenOnScreen(HWND window, COLORREF face) {
  OnScreen seen;
  UpdateWindow(window);
  const auto shot = TakeWindowShot(window);
  RECT frame, client;
  if (!shot || !GetWindowRect(window, &frame) || !GetClientRect(window, &client)) return seen;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  int same = 0;
  for (int y = client.top; y < client.bottom; ++y)
    for (int x = client.left; x < client.right; ++x) {
      const auto c = static_cast<COLORREF>(shot->Pixel(x - frame.left, y - frame.top));
      if (c == face) ++same;
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++seen.dark;
    }
  const int area = (client.right - client.left) * (client.bottom - client.top);
  seen.share = area > 0 ? static_cast<double>(same) / area : 0;
  return seen;
}
} // namespace

TEST_F(FormTest, DialogsOpenAboveTheAlwaysOnTopWindowTheyAreOpenedFrom) {
  // A side-bar that stays on top, and a dialog and a message box over its middle.
  TForm bar(&app);
  bar.SetCaption("Bar");
  bar.FormStyle = TFormStyle::fsStayOnTop;
  bar.SetBounds(470, 100, 340, 600);
  bar.Show();
  TestDialog dialog(&app);
  dialog.OnCloseQuery = [&](TComponent*, bool& canClose) {
    if (dialog.ModalResult != mrOk) return;
    MessageDlg("Password is Error!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    canClose = true;
  };
  HWND shownDialog = nullptr;
  bool dialogAbove = false, dialogPaintable = false, boxAboveDialog = false, boxAboveBar = false,
       boxPaintable = false;
  OnScreen boxSeen;
  driver.When("TestDialog", [&](HWND window) {
    shownDialog = window;
    dialogAbove = Above(window, bar.Handle());
    dialogPaintable = Paintable(window);
    ClickOn(dialog.ok->Handle());
  });
  driver.When("TMessageForm", [&](HWND box) {
    boxAboveDialog = Above(box, shownDialog);
    boxAboveBar = Above(box, bar.Handle());
    boxPaintable = Paintable(box);
    boxSeen = SeenOnScreen(box, GetSysColor(COLOR_BTNFACE));
    PressKey(VK_RETURN);
  });
  dialog.ShowModal();
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(dialogAbove) << "a dialog opened from a window that stays on top must not open behind it";
  EXPECT_TRUE(dialogPaintable);
  EXPECT_TRUE(boxAboveDialog);
  EXPECT_TRUE(boxAboveBar);
  EXPECT_TRUE(boxPaintable) << "a message box under the side-bar is never painted";
  // On the screen the box shows its face, its text and its button.
  EXPECT_GT(boxSeen.share, 0.5);
  EXPECT_GT(boxSeen.dark, 60) << "the box's text and button are not on the screen";
  // Closed, the dialog belongs to the application again, not to the window it was opened from.
  EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), app.Handle());
}

TEST_F(FormTest, AnInstalledWindowProcSeesMessagesAndTheSavedOneStillWorks) {
  TForm form(&app);
  TEdit* edit = new TEdit(&form);
  edit->SetParent(&form);
  form.Show();
  const TWndMethod saved = edit->WindowProc;
  std::vector<UINT> seen;
  edit->WindowProc = [&](TMessage& message) {
    seen.push_back(message.Msg);
    if (message.Msg == WM_USER + 7) {
      message.Result = 42; // handled here, never reaches the control
      return;
    }
    saved(message);
  };
  EXPECT_EQ(edit->Perform(WM_USER + 7), 42);
  SetWindowTextA(edit->Handle(), "through the hook");
  EXPECT_EQ(edit->Text(), "through the hook");
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_SETTEXT)), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), CM_TEXTCHANGED), seen.end()) << "our own notification too";
  edit->WindowProc = saved;
  const std::size_t count = seen.size();
  edit->SetText("after");
  EXPECT_EQ(edit->Text(), "after");
  EXPECT_EQ(seen.size(), count) << "the removed hook sees nothing more";
}

TEST_F(FormTest, OwnersAndParentsFreeEverythingOnce) {
  const int before = TComponent::LiveCount();
  HWND panelWindow = nullptr, buttonWindow = nullptr;
  {
    auto* form = new TForm(&app);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* loose = new TButton(nullptr); // owned by nobody: its parent frees it
    loose->SetParent(panel);
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetCaption("A label");
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    form->Show();
    panelWindow = panel->Handle();
    buttonWindow = loose->Handle();
    EXPECT_EQ(TComponent::LiveCount(), before + 5);
    delete panel; // takes its children along, leaves the form's lists
    EXPECT_EQ(TComponent::LiveCount(), before + 1);
    EXPECT_FALSE(IsWindow(panelWindow));
    EXPECT_FALSE(IsWindow(buttonWindow));
    EXPECT_EQ(form->ComponentCount(), 0);
    delete form;
  }
  EXPECT_EQ(TComponent::LiveCount(), before);
}

TEST_F(FormTest, AReleasedFormGoesAfterItsMessages) {
  const int before = TComponent::LiveCount();
  auto* form = new TForm(&app);
  form->Show();
  HWND window = form->Handle();
  form->Release();
  EXPECT_TRUE(IsWindow(window));
  app.ProcessMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(TComponent::LiveCount(), before);
}

TEST_F(FormTest, AnExceptionInACommandIsShownAndTheProgramGoesOn) {
  TestDialog dialog(&app);
  dialog.ok->ModalResult = mrNone;
  dialog.ok->OnClick = [](TComponent*) { throw std::runtime_error("Unable to write to C:\\x\\config.ini"); };
  driver.When("TestDialog", [&](HWND) { ClickOn(dialog.ok->Handle()); });
  driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
  driver.When("TestDialog", [](HWND) { PressKey(VK_ESCAPE); }); // active again after the box
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  ASSERT_EQ(driver.MessageBoxCaptions().size(), 1u);
  EXPECT_EQ(driver.MessageBoxCaptions()[0], "Plimet");
  EXPECT_EQ(driver.MessageBoxTexts()[0], "Unable to write to C:\\x\\config.ini");
}

TEST_F(FormTest, WhateverEscapesACallbackEndsInTheErrorBox) {
  // A timer's handler (a utility window) throws a program error, then something else.
  TTimer timer(&app);
  int ticks = 0;
  timer.SetInterval(30);
  timer.OnTimer = [&](TComponent*) {
    ++ticks;
    if (ticks == 1) throw EPlimetError("The timer failed.");
    if (ticks == 2) throw 42;
    timer.SetEnabled(false);
  };
  for (int i = 0; i < 2; ++i) driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
  const DWORD until = GetTickCount() + 3000;
  while (ticks < 3 && GetTickCount() < until) app.HandleMessage();
  EXPECT_EQ(ticks, 3) << "the program went on after each";
  ASSERT_EQ(driver.MessageBoxTexts().size(), 2u);
  EXPECT_EQ(driver.MessageBoxTexts()[0], "The timer failed.");
  EXPECT_EQ(driver.MessageBoxTexts()[1], "Unknown error");
  EXPECT_EQ(driver.MessageBoxCaptions()[0], "Plimet");
}

TEST_F(FormTest, SeveralApplicationEventsSeeEveryMessageNewestFirst) {
  std::vector<std::string> seen;
  TForm form(&app);
  auto* first = new TApplicationEvents(&form);
  auto* second = new TApplicationEvents(&form);
  first->OnMessage = [&seen](MSG& message, bool&) {
    if (message.message == WM_APP + 7) seen.push_back("first");
  };
  second->OnMessage = [&seen](MSG& message, bool& handled) {
    if (message.message != WM_APP + 7) return;
    seen.push_back("second");
    handled = message.wParam == 1; // a shortcut it knows: taken, no one else sees it
  };
  app.OnMessage = [&seen](MSG& message, bool&) {
    if (message.message == WM_APP + 7) seen.push_back("application");
  };
  PostMessageA(app.Handle(), WM_APP + 7, 0, 0);
  PostMessageA(app.Handle(), WM_APP + 7, 1, 0);
  app.ProcessMessages();
  EXPECT_EQ(seen, (std::vector<std::string>{"second", "first", "application", "second"}));
  seen.clear();
  delete second;
  PostMessageA(app.Handle(), WM_APP + 7, 1, 0);
  app.ProcessMessages();
  EXPECT_EQ(seen, (std::vector<std::string>{"first", "application"})) << "a freed one hears nothing";
  app.OnMessage = nullptr;
}

TEST_F(FormTest, AlignedChildrenFillTheClientArea) {
  TForm form(&app);
  form.SetClientSize(200, 150);
  auto* top = new TPanel(&form);
  top->SetParent(&form);
  top->SetBounds(0, 0, 10, 30);
  top->SetAlign(TAlign::alTop);
  auto* bottom = new TPanel(&form);
  bottom->SetParent(&form);
  bottom->SetBounds(0, 0, 10, 20);
  bottom->SetAlign(TAlign::alBottom);
  auto* client = new TPanel(&form);
  client->SetParent(&form);
  client->SetAlign(TAlign::alClient);
  form.Show();
  EXPECT_EQ(top->Width(), 200);
  EXPECT_EQ(bottom->Top(), 130);
  EXPECT_EQ(client->Top(), 30);
  EXPECT_EQ(client->Height(), 100);
  form.SetClientSize(300, 200);
  EXPECT_EQ(client->Width(), 300);
  EXPECT_EQ(client->Height(), 150);
  // A bar placed above the others docks above them, though added last (a menu bar does that).
  auto* bar = new TPanel(&form);
  bar->SetParent(&form);
  bar->SetBounds(0, -100, 10, 18);
  bar->SetAlign(TAlign::alTop);
  EXPECT_EQ(bar->Top(), 0);
  EXPECT_EQ(top->Top(), 18);
  EXPECT_EQ(client->Top(), 48);
}

TEST_F(FormTest, FormsHaveTheirClassNamesFontsAndStyles) {
  TForm form(&app);
  form.WindowClassName = "PlimetTestClass";
  form.BorderStyle = TFormBorderStyle::bsToolWindow;
  form.FormStyle = TFormStyle::fsStayOnTop;
  form.Show();
  char name[64] = {};
  GetClassNameA(form.Handle(), name, sizeof name);
  EXPECT_STREQ(name, "PlimetTestClass");
  EXPECT_EQ(FindWindowA("PlimetTestClass", nullptr), form.Handle());
  const LONG_PTR exStyle = GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), app.Handle());
  EXPECT_EQ(form.Font.Name(), "Tahoma");
  EXPECT_EQ(form.Font.Height(), -11);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  EXPECT_TRUE(button->InheritsFrom<TWinControl>());
  EXPECT_FALSE(button->InheritsFrom<TEdit>());
  EXPECT_STREQ(button->ClassName(), "TButton");
  GetClassNameA(button->Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TButton") << "our class over the system button";
  EXPECT_FALSE(button->BorderStyleProperty().published);
  EXPECT_TRUE(TEdit(nullptr).BorderStyleProperty().published);
}

TEST_F(FormTest, AnchorsConstraintsAndCanResize) {
  TForm form(&app);
  form.SetClientSize(300, 200);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetBounds(200, 160, 75, 25);
  ok->Anchors = akRight | akBottom;
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 280, 21);
  edit->Anchors = akLeft | akTop | akRight;
  form.Show();
  form.SetClientSize(400, 260);
  EXPECT_EQ(ok->Left(), 300) << "kept its distance to the right edge";
  EXPECT_EQ(ok->Top(), 220);
  EXPECT_EQ(edit->Width(), 380) << "stretched between its anchors";
  EXPECT_EQ(edit->Left(), 10);

  form.Constraints.MinWidth = 240;
  form.Constraints.MaxWidth = 410;
  MINMAXINFO limits{};
  SendMessageA(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 240);
  EXPECT_EQ(limits.ptMaxTrackSize.x, 410);

  int asked = 0;
  form.OnCanResize = [&](TComponent*, int& width, int&, bool& resize) {
    ++asked;
    resize = width <= 500;
  };
  SetWindowPos(form.Handle(), nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(form.Handle(), &r);
  EXPECT_LT(r.right - r.left, 600) << "refused";
  SetWindowPos(form.Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 400);
  SetWindowPos(form.Handle(), nullptr, 0, 0, 450, 300, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 410) << "the constraints hold as well";
  EXPECT_GE(asked, 2);
}

TEST_F(FormTest, ConstraintsHoldFromTheFirstMessage) {
  for (const TFormBorderStyle style :
       {TFormBorderStyle::bsSizeable, TFormBorderStyle::bsSingle, TFormBorderStyle::bsDialog}) {
    TForm form(&app);
    form.BorderStyle = style;
    form.SetBounds(10, 10, 320, 500);
    form.Constraints.MinWidth = 400; // set after the size: it still holds when shown
    form.Constraints.MaxHeight = 300;
    form.Show();
    RECT r;
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 400) << "made at the minimum width, not below it";
    EXPECT_EQ(r.bottom - r.top, 300);
    form.SetBounds(10, 10, 200, 100); // a dialog is not asked about its size by the system
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 100);
  }
}

LRESULT CALLBACK PassOn(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR seen) {
  ++*reinterpret_cast<int*>(seen);
  return DefSubclassProc(window, msg, wParam, lParam);
}

TEST_F(FormTest, OurWindowsAreKnownAfterOthersSubclassThem) {
  TestDialog dialog(&app);
  dialog.Show();
  int seen = 0;
  ASSERT_TRUE(SetWindowSubclass(dialog.name->Handle(), PassOn, 1, reinterpret_cast<DWORD_PTR>(&seen)));
  ASSERT_TRUE(SetWindowSubclass(dialog.Handle(), PassOn, 1, reinterpret_cast<DWORD_PTR>(&seen)));
  auto plainProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(w, "TestOldProc")), w, m, wp, lp);
  };
  // An instance subclass of the old kind as well, as the plain-window skinners do.
  SetPropA(dialog.ok->Handle(), "TestOldProc",
           reinterpret_cast<HANDLE>(SetWindowLongPtrA(dialog.ok->Handle(), GWLP_WNDPROC,
                                                      reinterpret_cast<LONG_PTR>(+plainProc))));
  EXPECT_EQ(TWinControl::FromHandle(dialog.name->Handle()), dialog.name);
  EXPECT_EQ(TWinControl::FromHandle(dialog.Handle()), &dialog);
  EXPECT_EQ(TWinControl::FromHandle(dialog.ok->Handle()), dialog.ok);
  EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr) << "not one of ours";
  // Commands are still reflected to the control: text typed reaches OnChange, a click the button.
  int changes = 0, clicks = 0;
  dialog.name->OnChange = [&changes](TComponent*) { ++changes; };
  dialog.ok->OnClick = [&clicks](TComponent*) { ++clicks; };
  dialog.ok->ModalResult = 0;
  SetFocus(dialog.name->Handle());
  TypeText("abc");
  ClickOn(dialog.ok->Handle());
  app.ProcessMessages();
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(clicks, 1);
  EXPECT_GT(seen, 0);
  SetWindowLongPtrA(dialog.ok->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(dialog.ok->Handle(), "TestOldProc")));
  RemovePropA(dialog.ok->Handle(), "TestOldProc");
  RemoveWindowSubclass(dialog.name->Handle(), PassOn, 1);
  RemoveWindowSubclass(dialog.Handle(), PassOn, 1);
}

namespace {
// A component that writes down when it is told it is complete.
class LoadedPart : public TComponent {
public:
  LoadedPart(TComponent* owner, const char* name, std::vector<std::string>& order)
      : TComponent(owner), order_(order) {
    Name = name;
  }
  void Loaded() override { order_.push_back(Name); }

private:
  std::vector<std::string>& order_;
};
} // namespace

TEST_F(FormTest, ComponentsAreLoadedBeforeOnCreateAndReferencesDoNotDangle) {
  std::vector<std::string> order;
  TestDialog form(&app);
  new LoadedPart(&form, "engine", order);
  new LoadedPart(&form, "menu", order);
  form.OnCreate = [&order](TComponent*) { order.push_back("OnCreate"); };
  form.Show();
  form.Loaded();
  EXPECT_EQ(order, (std::vector<std::string>{"engine", "menu", "OnCreate"})) << "once, components first";

  auto* menu = new TPopupMenu(&form);
  form.name->PopupMenu = menu;
  form.ActiveControl = form.name;
  delete menu;
  EXPECT_EQ(form.name->PopupMenu, nullptr);
  delete form.ok;
  delete form.cancel;
  EXPECT_EQ(form.DefaultButton, nullptr);
  EXPECT_EQ(form.CancelButton, nullptr);
  delete form.name;
  EXPECT_EQ(form.ActiveControl, nullptr);
  PressKey(VK_RETURN); // no default button to press any more, and nothing breaks
  app.ProcessMessages();
}

namespace {
// What a skin frame does: it replaces its form's WindowProc, saving the old
// one, and puts it back when it goes.
class Hook : public TComponent {
public:
  Hook(TForm* form, std::vector<std::string>& log) : TComponent(form), form_(form), log_(log) {
    saved_ = form->WindowProc;
    form->WindowProc = [this](TMessage& m) {
      if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY)
        log_.push_back(std::string(m.Msg == WM_DESTROY ? "destroy" : "ncdestroy") +
                       (form_->ClassName() == std::string("WatchingDialog") ? " seen whole" : " seen half gone"));
      saved_(m);
    };
  }
  ~Hook() override {
    log_.push_back(IsWindow(form_->Handle()) ? "hook undone, window there" : "hook undone, window gone");
    form_->WindowProc = saved_; // into a live object
  }

private:
  TForm* form_;
  std::vector<std::string>& log_;
  TWndMethod saved_;
};
} // namespace

// A dialog that watches its own window go, as a form with its own WndProc does.
class WatchingDialog : public TestDialog {
public:
  PLIMET_CLASS_NAME(WatchingDialog)
  WatchingDialog(TComponent* owner, std::vector<std::string>& log) : TestDialog(owner), log_(log) {
    OnDestroy = [this](TComponent*) { log_.push_back(IsWindow(name->Handle()) ? "OnDestroy, edit there" : "OnDestroy, edit gone"); };
  }
  ~WatchingDialog() override { log_.push_back("destructor, name edit still owned: " + std::to_string(name->Owner() == this)); }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_DESTROY) log_.push_back("own WndProc: destroy");
    TestDialog::WndProc(m);
  }

private:
  std::vector<std::string>& log_;
};

TEST_F(FormTest, AHookedFormIsWholeWhileItsWindowGoesAndTheHookIsUndoneIntoALiveObject) {
  std::vector<std::string> log;
  auto* dialog = new WatchingDialog(&app, log);
  dialog->Show();
  new Hook(dialog, log);
  const HWND window = dialog->Handle();
  const HWND edit = dialog->name->Handle();
  delete dialog;
  EXPECT_EQ(log, (std::vector<std::string>{"OnDestroy, edit there", "destroy seen whole", "own WndProc: destroy",
                                           "ncdestroy seen whole", "destructor, name edit still owned: 1",
                                           "hook undone, window gone"}))
      << "the form's own WndProc and the hook see the window go while the form is whole; the hook is undone "
         "after that, into a live WindowProc, and no window is made again for it";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(edit));
}

TEST_F(FormTest, NoHandlesOutliveTheirForms) {
  // Wine keeps no count of GDI objects, so each handle is asked whether it still exists.
  const int components = TComponent::LiveCount();
  std::vector<HGDIOBJ> fonts;
  std::vector<HMENU> menus;
  std::vector<HWND> windows;
  for (int round = 0; round < 5; ++round) {
    TestDialog dialog(&app);
    auto* panel = new TPanel(&dialog);
    panel->SetParent(&dialog);
    panel->Font.Set("Tahoma", 10, true); // a font handle of its own
    auto* label = new TLabel(&dialog);
    label->SetParent(panel);
    label->SetCaption("Label");
    auto* menu = new TMainMenu(&dialog);
    auto* item = new TMenuItem(&dialog);
    item->SetCaption("&File");
    menu->Items()->Add(item);
    dialog.SetMenu(menu);
    driver.When("TestDialog", [](HWND) { PressKey(VK_ESCAPE); });
    dialog.ShowModal();
    fonts.push_back(panel->Font.Handle());
    fonts.push_back(dialog.Font.Handle());
    menus.push_back(menu->Handle());
    windows.push_back(dialog.Handle());
    windows.push_back(panel->Handle());
    EXPECT_NE(GetObjectType(fonts.back()), 0u);
  }
  EXPECT_EQ(TComponent::LiveCount(), components);
  for (HGDIOBJ font : fonts) EXPECT_EQ(GetObjectType(font), 0u) << "a font outlived its control";
  for (HMENU menu : menus) EXPECT_FALSE(IsMenu(menu)) << "a menu outlived its form";
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormTest, APopupMenuOpensOnTheContextMenuKey) {
  TForm form(&app);
  TPopupMenu menu(&form);
  auto* item = new TMenuItem(&form);
  item->SetCaption("Open");
  bool opened = false;
  item->OnClick = [&](TComponent*) { opened = true; };
  menu.Items()->Add(item);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->PopupMenu = &menu;
  form.SetBounds(400, 250, 400, 300);
  form.Show();
  PumpFor(300); // the form is on the screen before the user presses the key
  static OnScreen menuSeen;
  menuSeen = {};
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    // The menu drops over the form; on the screen it shows its face and item.
    if (HWND shown = FindWindowA("#32768", nullptr)) menuSeen = SeenOnScreen(shown, GetSysColor(COLOR_MENU));
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    PostMessageA(target, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
  });
  SendMessageA(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(-1, -1));
  app.ProcessMessages();
  EXPECT_TRUE(opened);
  EXPECT_EQ(menu.PopupComponent, edit);
  EXPECT_GT(menuSeen.share, 0.5);
  EXPECT_GT(menuSeen.dark, 10) << "the item's text is not on the screen";
}

TEST_F(FormTest, MnemonicsRecreationAndTheApplicationWindow) {
  TForm form(&app);
  form.Show();
  std::vector<WPARAM> mnemonics;
  int recreated = 0;
  const TWndMethod saved = form.WindowProc;
  form.WindowProc = [&](TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR) {
      mnemonics.push_back(message.WParam);
      message.Result = 1; // taken
      return;
    }
    if (message.Msg == CM_RECREATEWND) ++recreated;
    saved(message);
  };
  PostMessageA(form.Handle(), WM_SYSCHAR, 'f', 1 << 29);
  app.ProcessMessages();
  EXPECT_EQ(mnemonics, (std::vector<WPARAM>{'f'}));
  HWND before = form.Handle();
  form.RecreateWnd();
  EXPECT_NE(form.Handle(), before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(recreated, 1);
  form.WindowProc = saved;

  app.SetTitle("Plimet");
  char title[32] = {};
  GetWindowTextA(app.Handle(), title, sizeof title);
  EXPECT_STREQ(title, "Plimet");
  app.Minimize();
  EXPECT_TRUE(IsIconic(form.Handle()));
  app.Restore();
  EXPECT_FALSE(IsIconic(form.Handle()));
  app.Terminate();
  EXPECT_TRUE(app.Terminated());
}

TEST_F(FormTest, ReferencesToComponentsOfOtherOwnersAreForgottenWhenTheyGo) {
  TForm form(&app);
  auto* elsewhere = new TComponent(nullptr); // another owner altogether
  auto* popup = new TPopupMenu(elsewhere);
  auto* images = new TImageList(elsewhere);
  auto* frameOwner = new TForm(&app);
  auto* ok = new TButton(frameOwner);
  auto* edit = new TEdit(frameOwner);
  auto* bar = new TToolBar(&form);
  auto* menu = new TPopupMenu(&form);
  auto* actions = new TActionList(&form);
  form.PopupMenu = popup;
  form.DefaultButton = ok;
  form.CancelButton = ok;
  form.ActiveControl = edit;
  bar->Images = images;
  bar->HotImages = images;
  menu->Images = images;
  actions->Images = images;
  delete elsewhere;
  delete frameOwner;
  EXPECT_EQ(form.PopupMenu.Get(), nullptr);
  EXPECT_EQ(form.DefaultButton.Get(), nullptr);
  EXPECT_EQ(form.CancelButton.Get(), nullptr);
  EXPECT_EQ(form.ActiveControl.Get(), nullptr);
  EXPECT_EQ(bar->Images.Get(), nullptr);
  EXPECT_EQ(bar->HotImages.Get(), nullptr);
  EXPECT_EQ(menu->Images.Get(), nullptr);
  EXPECT_EQ(actions->Images.Get(), nullptr);
}

TEST_F(FormTest, TheKeyboardComesBackToItsControlAfterAMessageBox) {
  TestDialog dialog(nullptr);
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  PumpFor(100);
  dialog.ok->SetFocus();
  ASSERT_EQ(GetFocus(), dialog.ok->Handle());
  driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
  MessageBoxA(dialog.Handle(), "A slip", "Error", MB_OK | MB_ICONERROR);
  PumpFor(100);
  EXPECT_EQ(GetFocus(), dialog.ok->Handle()) << "the keys go where they went before the box";
}
