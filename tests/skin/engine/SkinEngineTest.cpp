// The skin engine component under Wine: its properties and their rules, the
// search for the skin file, the system menu, the menu items it measures, the
// window-creation hook and the frames it attaches and lets go.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/Properties.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Menus.h"
#include "framework/win32/StdCtrls.h"
#include "platform/Errors.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinWindow.h"
#include "support/ErrorOf.h"
#include "support/ModalDriver.h"
#include "support/RealInput.h"
#include "support/TestSkins.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A form carrying an engine, as the program's windows do.
class SkinnedForm : public TForm {
public:
  PLIMET_CLASS_NAME(SkinnedForm)
  explicit SkinnedForm(TComponent* owner, const std::string& skin = TestSkinFile("DeepCyan")) : TForm(owner) {
    SetCaption("Skinned form");
    SetBounds(60, 60, 320, 200);
    Engine = new TSkinEngine(this);
    Engine->SetActive(true);
    if (!skin.empty()) Engine->SetSkinFile(skin);
  }
  TSkinEngine* Engine;
};

// A form of a class of its own and no engine.
class PlainForm : public TForm {
public:
  PLIMET_CLASS_NAME(PlainForm)
  using TForm::TForm;
};

class SkinEngineTest : public ::testing::Test {
protected:
  TApplication app;
};

} // namespace

TEST_F(SkinEngineTest, LivesOnAFormOnlyAndOnlyOnceThere) {
  TComponent holder(nullptr);
  EXPECT_EQ(ErrorOf([&] { new TSkinEngine(&holder); }), "Must be placed on a Form");
  EXPECT_EQ(holder.ComponentCount(), 0) << "a refused engine leaves its would-be owner";
  TForm form(nullptr);
  auto* engine = new TSkinEngine(&form);
  EXPECT_EQ(ErrorOf([&] { new TSkinEngine(&form); }), "One form can only catch one TSkinEngine!");
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), engine);
}

TEST_F(SkinEngineTest, PublishedDefaultsAndTheirRules) {
  TForm form(nullptr);
  auto* engine = new TSkinEngine(&form);
  EXPECT_FALSE(engine->Active());
  EXPECT_FALSE(engine->Ready());
  EXPECT_FALSE(engine->InEffect());
  EXPECT_EQ(engine->Version(), "4.21");
  EXPECT_EQ(engine->DisabledTag, 9999);
  EXPECT_TRUE(engine->DrawScrollBar());
  EXPECT_TRUE(engine->SkinDialogs);
  EXPECT_TRUE(engine->SkinAllForms());
  EXPECT_FALSE(engine->BuiltIn());
  EXPECT_EQ(engine->ResSysMenuMin(), "Mi&nimize");
  EXPECT_EQ(engine->ResSysMenuMax(), "Ma&ximize/Restore");
  EXPECT_EQ(engine->ResSysMenuClose(), "&Close");
  EXPECT_EQ(ErrorOf([&] { engine->SetBuiltIn(true); }), "BuiltIn property only can be specified at design time!");
  engine->SetDesigning(true);
  EXPECT_EQ(ErrorOf([&] { engine->SetBuiltIn(true); }), "Please specify the SkinFile property first!");
  EXPECT_FALSE(engine->BuiltIn());
}

TEST_F(SkinEngineTest, SkinFileIsLookedForBesideTheProgramAndAMissingOneChangesNothing) {
  TForm form(nullptr);
  auto* engine = new TSkinEngine(&form);
  int changes = 0;
  engine->OnSkinChanged = [&](TComponent*) { ++changes; };
  // Beside the program under its own name, asked for in a folder that does not exist.
  const std::string beside = ProgramFolder() + "BesideTheProgram.ssk";
  ASSERT_TRUE(CopyFileA(TestSkinFile("DeepCyan").c_str(), beside.c_str(), FALSE));
  engine->SetSkinFile("C:\\no\\such\\folder\\BesideTheProgram.ssk");
  DeleteFileA(beside.c_str());
  EXPECT_EQ(engine->SkinFile(), beside);
  EXPECT_TRUE(engine->Ready());
  EXPECT_EQ(changes, 1);
  // Found nowhere: the skin and the name stay, and nobody is told.
  engine->SetSkinFile("C:\\no\\such\\folder\\NowhereAtAll.ssk");
  EXPECT_EQ(engine->SkinFile(), beside);
  EXPECT_TRUE(engine->Ready());
  EXPECT_EQ(changes, 1);
  // Damaged: the error reaches the caller, the name is cleared, no skin is loaded.
  const std::string damaged = ProgramFolder() + "Damaged.ssk";
  {
    FILE* file = fopen(damaged.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("SK but not a skin", file);
    fclose(file);
  }
  EXPECT_EQ(ErrorOf([&] { engine->SetSkinFile(damaged); }), "Failed to read skin file!");
  DeleteFileA(damaged.c_str());
  EXPECT_EQ(engine->SkinFile(), "");
  EXPECT_FALSE(engine->Ready());
}

TEST_F(SkinEngineTest, SystemMenuCaptionsAndItsFourthItem) {
  TForm form(nullptr);
  auto* engine = new TSkinEngine(&form);
  TMenuItem* items = engine->SystemMenu()->Items();
  ASSERT_EQ(items->Count(), 4);
  EXPECT_EQ(items->Items(0)->Caption(), "Mi&nimize");
  EXPECT_EQ(items->Items(1)->Caption(), "Ma&ximize/Restore");
  EXPECT_EQ(items->Items(2)->Caption(), "-");
  EXPECT_EQ(items->Items(3)->Caption(), "&Close");
  engine->SetResSysMenuClose("&Shut");
  EXPECT_EQ(items->Items(3)->Caption(), "&Shut") << "the fourth item: the third is the separator";
  EXPECT_EQ(items->Items(2)->Caption(), "-");
  engine->SetResSysMenuMin("&Down");
  engine->SetResSysMenuMax("&Up");
  EXPECT_EQ(items->Items(0)->Caption(), "&Down");
  EXPECT_EQ(items->Items(1)->Caption(), "&Up");
  EXPECT_TRUE(engine->SystemMenu()->OwnerDraw());
}

TEST_F(SkinEngineTest, MenuItemsMeasureAsTheSkinLaysThemOut) {
  SkinnedForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  auto* separator = new TMenuItem(menu);
  separator->SetCaption("-");
  auto* plain = new TMenuItem(menu);
  plain->SetCaption("&Open the catalog");
  auto* withKey = new TMenuItem(menu);
  withKey->SetCaption("Delete");
  withKey->ShortCut = VK_DELETE;
  const HDC screen = GetDC(nullptr);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  const HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
  const HGDIOBJ old = SelectObject(screen, font);
  const auto width = [&](const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  int w = 0, h = 0;
  form.Engine->MeasureMenuItem(separator, screen, w, h);
  EXPECT_EQ(h, 5);
  form.Engine->MeasureMenuItem(plain, screen, w, h);
  EXPECT_EQ(w, width("&Open the catalog") + 66) << "no shortcut: caption width plus 66";
  EXPECT_GE(h, 21);
  form.Engine->MeasureMenuItem(withKey, screen, w, h);
  EXPECT_EQ(w, width("Delete") + width(ShortCutToText(VK_DELETE)) + 66);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
}

TEST_F(SkinEngineTest, SizeGripsAreRefusedWhileASkinIsInEffect) {
  SkinnedForm form(nullptr);
  HWND parent = form.Handle();
  const auto make = [&](DWORD exStyle) {
    return CreateWindowExA(exStyle, "SCROLLBAR", "", WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16, parent, nullptr,
                           nullptr, nullptr);
  };
  EXPECT_EQ(make(0), nullptr) << "a grip would sit on the skinned corner";
  HWND allowed = make(WS_EX_NOPARENTNOTIFY);
  EXPECT_NE(allowed, nullptr) << "exactly WS_EX_NOPARENTNOTIFY is let through";
  form.Engine->SetActive(false);
  HWND plain = make(0);
  EXPECT_NE(plain, nullptr) << "no skin in effect, no refusal";
  HWND bar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 16, 60, parent, nullptr, nullptr, nullptr);
  EXPECT_NE(bar, nullptr);
}

TEST_F(SkinEngineTest, FramesOfOtherFormsGoWhenSkinAllFormsIsSwitchedOff) {
  SkinnedForm owner(nullptr);
  owner.Show();
  // Of a class of its own: the hook would take a plain TForm at its activation.
  PlainForm other(nullptr);
  other.SetCaption("Other");
  other.SetBounds(400, 60, 300, 200);
  other.Show();
  ASSERT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 0);
  owner.Engine->SkinAllFormsPass();
  EXPECT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageA(owner.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  owner.Engine->SetSkinAllForms(false);
  EXPECT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(SendMessageA(owner.Handle(), WM_SKIN_QUERY, 0, 0), 1) << "the owner keeps its frame";
  EXPECT_EQ(owner.Engine->Frames().size(), 1u);
  owner.Engine->SetSkinAllForms(true);
  EXPECT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 1);
}

// A form another engine skinned gets its own look back whole when that
// frame goes while the form stays: by SkinAllForms switched off, or with the
// engine itself. Nothing of it keeps pointing at the freed engine.
TEST_F(SkinEngineTest, AFormLetGoByAnotherEngineIsItselfAgain) {
  PlainForm other(nullptr);
  other.SetCaption("Other");
  other.SetBounds(400, 60, 300, 200);
  auto* menu = new TMainMenu(&other);
  auto* file = new TMenuItem(menu);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  auto* open = new TMenuItem(menu);
  open->SetCaption("&Open");
  file->Add(open);
  other.SetMenu(menu);
  auto* edit = new TEdit(&other);
  edit->SetParent(&other);
  edit->SetBounds(10, 10, 100, 21);
  other.Show();
  RECT native{};
  GetClientRect(other.Handle(), &native);
  const auto expectItself = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_EQ(GetMenu(other.Handle()), menu->Handle()) << "its Windows menu again";
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_NE(GetWindowLongA(other.Handle(), GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(edit->Top(), 10);
    RECT client{};
    GetClientRect(other.Handle(), &client);
    EXPECT_EQ(client.right, native.right);
    EXPECT_EQ(client.bottom, native.bottom);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(other.Handle(), region), ERROR) << "no skin region left";
    DeleteObject(region);
    for (int i = 0; i < other.ControlCount(); ++i)
      EXPECT_FALSE(other.Controls(i) != edit && other.Controls(i)->Visible()) << "no menu bar left showing";
  };

  auto* owner = new SkinnedForm(nullptr);
  owner->Show();
  owner->Engine->SkinAllFormsPass();
  ASSERT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  ASSERT_EQ(GetMenu(other.Handle()), nullptr);
  owner->Engine->SetSkinAllForms(false);
  expectItself("SkinAllForms switched off");
  owner->Engine->SetSkinAllForms(true);
  ASSERT_EQ(SendMessageA(other.Handle(), WM_SKIN_QUERY, 0, 0), 1);
  delete owner;
  expectItself("the engine freed");
}

TEST_F(SkinEngineTest, AFormWithTheDisabledTagKeepsItsOwnFrame) {
  SkinnedForm owner(nullptr);
  owner.Show();
  TForm plain(nullptr);
  plain.SetBounds(400, 60, 300, 200);
  plain.Show();
  RECT before{};
  GetClientRect(plain.Handle(), &before);
  TForm disabled(nullptr);
  disabled.Tag = 9999;
  disabled.SetBounds(400, 300, 300, 200);
  disabled.Show();
  owner.Engine->SkinAllFormsPass();
  EXPECT_EQ(SendMessageA(disabled.Handle(), WM_SKIN_QUERY, 0, 0), 0) << "the pass leaves it alone";
  // Attached all the same, its frame stays switched off and passes every message on.
  owner.Engine->Attach(disabled.Handle(), false);
  TSkinWindow* frame = owner.Engine->FrameOf(disabled.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->Enabled);
  EXPECT_FALSE(frame->Skinned);
  EXPECT_EQ(SendMessageA(disabled.Handle(), WM_SKIN_QUERY, 0, 0), 0);
  RECT client{};
  GetClientRect(disabled.Handle(), &client);
  EXPECT_EQ(client.right, before.right);
  EXPECT_EQ(client.bottom, before.bottom);
  EXPECT_EQ(GetWindowRgn(disabled.Handle(), CreateRectRgn(0, 0, 0, 0)), ERROR) << "no region set";
}

TEST_F(SkinEngineTest, AMessageBoxIsSkinnedAndItsCloseButtonAnswersCancel) {
  SkinnedForm owner(nullptr);
  owner.Show();
  ModalDriver driver;
  LRESULT skinned = 0;
  driver.When("#32770", [&](HWND box) {
    skinned = SendMessageA(box, WM_SKIN_QUERY, 0, 0);
    PumpFor(100);
    // The skinned close button: right of the caption at the skin's place.
    TSkinWindow* frame = owner.Engine->FrameOf(box);
    RECT window{};
    GetWindowRect(box, &window);
    const TSkinMetrics& metrics = owner.Engine->Metrics();
    const TBitmap* buttons = owner.Engine->GetBitmap(TSkinBitmapKey::SKIN2_TITLEBUTTONS);
    const int bw = buttons ? buttons->Width() / 18 : 16;
    const POINT close{window.right - metrics.ButtonX - bw / 2 - 1, window.top + metrics.ButtonY + 4};
    RealClick(close);
    PumpFor(200);
    (void)frame;
  });
  const int answer = MessageBoxA(owner.Handle(), "Close me by the caption button", "Box", MB_OKCANCEL);
  EXPECT_EQ(skinned, 1);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(owner.Engine->Frames().size(), 1u) << "the box's frame went with it";
}

namespace {

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int TemporarySkinFiles() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((std::string(folder) + "*.skt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

} // namespace

TEST_F(SkinEngineTest, AStoredSkinLoadsThroughATemporaryFileThatGoesAgain) {
  TForm form(nullptr);
  auto* engine = new TSkinEngine(&form);
  TPropertyList properties;
  engine->DefineProperties(properties);
  std::vector<std::string> names;
  for (const TPropertyDef& def : properties.Defs()) names.push_back(def.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Tag", "Active", "Password", "SkinFile", "ResSysMenuMin", "ResSysMenuMax",
                                             "ResSysMenuClose", "DisabledTag", "DrawScrollBar", "BuiltIn",
                                             "SkinDialogs", "SkinAllForms", "AdditionalBuiltInSkins", "SkinData"}));
  const int before = TemporarySkinFiles();
  engine->SetLoading(true);
  properties.Find("BuiltIn")->Set(TPropertyValue::OfBoolean(true));
  properties.Find("SkinData")->Set(TPropertyValue::OfBinary(FileBytes(TestSkinFile("FiveSect"))));
  engine->SetLoading(false);
  EXPECT_TRUE(engine->BuiltIn());
  EXPECT_TRUE(engine->Ready());
  EXPECT_EQ(engine->Metrics().CaptionHeight, 24) << "the stored skin's caption";
  EXPECT_EQ(engine->SkinFile(), "") << "the name it had before";
  EXPECT_EQ(TemporarySkinFiles(), before) << "the temporary file is deleted";
  // A further stored skin loads into its own reader.
  auto* item = static_cast<TSkinCollectionItem*>(engine->AdditionalBuiltInSkins().Add());
  TPropertyList itemProperties;
  item->DefineProperties(itemProperties);
  itemProperties.Find("SkinData")->Set(TPropertyValue::OfBinary(FileBytes(TestSkinFile("ThinBorder"))));
  EXPECT_TRUE(item->Reader().Ready());
  EXPECT_EQ(TemporarySkinFiles(), before);
}
