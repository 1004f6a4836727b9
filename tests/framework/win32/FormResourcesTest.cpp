// Forms whose stored properties the build compiled into this executable:
// the values are in place before Loaded and OnCreate and on screen, and a
// damaged or unfitting stored form stops the form from coming up.
#include <gtest/gtest.h>

#include "framework/Collection.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "framework/Properties.h"
#include "support/ErrorOf.h"
#include "support/ModalDriver.h"

namespace {

std::string Loading(const TComponent& component) {
  return (component.ComponentState() & csLoading) ? " (loading)" : "";
}

// A component with a string and a binary property that writes down when it
// gets them and what it sees once loaded.
class TStoreProbe : public TComponent {
public:
  TStoreProbe(TComponent* owner, const char* name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    Name = name;
  }
  PLIMET_CLASS_NAME(TStoreProbe)
  std::string Note;
  std::vector<std::uint8_t> Data;
  std::function<std::string()> Look; // what it reports from its form when loaded

  void DefineProperties(TPropertyList& p) override {
    TComponent::DefineProperties(p);
    p.String("Note", [this](const std::string& v) {
      Note = v;
      log_.push_back(Name + ".Note" + Loading(*this));
    });
    p.Binary("Data", [this](const std::vector<std::uint8_t>& v) {
      Data = v;
      log_.push_back(Name + ".Data" + Loading(*this));
    });
  }
  void Loaded() override { log_.push_back(Name + " loaded" + Loading(*this) + (Look ? ": " + Look() : "")); }

private:
  std::vector<std::string>& log_;
};

class TResTestForm : public TForm {
public:
  TResTestForm(TComponent* owner, std::vector<std::string>& log) : TForm(owner) {
    SetCaption("Caption from code");
    name = new TEdit(this);
    name->Name = "Name";
    name->SetParent(this);
    yes = new TButton(this);
    yes->Name = "Yes";
    yes->SetParent(this);
    off = new TButton(this);
    off->Name = "Off";
    off->SetParent(this);
    hidden = new TCheckBox(this);
    hidden->Name = "Hidden";
    hidden->SetParent(this);
    side = new TPanel(this);
    side->Name = "Side";
    side->SetParent(this);
    probe = new TStoreProbe(this, "Probe", log);
    part = new TStoreProbe(probe, "Part", log);
    probe->Look = [this] { return Caption() + " " + std::to_string(Width()) + "x" + std::to_string(Height()) + " " + name->Text(); };
    ActiveControl = name;
    DefaultButton = yes;
  }
  PLIMET_CLASS_NAME(TResTestForm)
  TEdit* name;
  TButton* yes;
  TButton* off;
  TCheckBox* hidden;
  TPanel* side;
  TStoreProbe* probe;
  TStoreProbe* part;
};

// Its stored form is damaged; the other's names a component it does not make.
class TResDamagedForm : public TForm {
public:
  using TForm::TForm;
  PLIMET_CLASS_NAME(TResDamagedForm)
};
class TResMisfitForm : public TForm {
public:
  explicit TResMisfitForm(TComponent* owner) : TForm(owner) { SetCaption("From code"); }
  PLIMET_CLASS_NAME(TResMisfitForm)
};

// A component holding a collection of stored skins, as a skin engine
// carries its additional ones: each item a file name, a password and the
// archive's bytes. It writes down what it holds when it is loaded.
class TSkinShelfItem : public TCollectionItem {
public:
  PLIMET_CLASS_NAME(TSkinShelfItem)
  std::string SkinFile, Password;
  std::vector<std::uint8_t> SkinData;
  int Kind = 0;
  int Order = 0;
  void DefineProperties(TPropertyList& p) override {
    p.String("SkinFile", [this](const std::string& v) { SkinFile = v; });
    p.String("Password", [this](const std::string& v) { Password = v; });
    p.Binary("SkinData", [this](const std::vector<std::uint8_t>& v) { SkinData = v; });
    p.Enumeration("Kind", {"skFile", "skArchive"}, [this](int v) { Kind = v; });
    p.Integer("Order", [this](std::int32_t v) { Order = v; });
  }
};

class TSkinShelf : public TComponent {
public:
  TSkinShelf(TComponent* owner, std::vector<std::string>& log)
      : TComponent(owner), Items([] { return std::make_unique<TSkinShelfItem>(); }), log_(log) {
    Name = "Skins";
    // One made by code, which the stored collection replaces.
    static_cast<TSkinShelfItem*>(Items.Add())->SkinFile = "FromCode.ssk";
  }
  PLIMET_CLASS_NAME(TSkinShelf)
  TCollection Items;
  TSkinShelfItem& Item(int index) const { return static_cast<TSkinShelfItem&>(*Items.Items(index)); }
  std::string Files() const {
    std::string files;
    for (int i = 0; i < Items.Count(); ++i) files += (i ? "," : "") + Item(i).SkinFile;
    return files;
  }
  void DefineProperties(TPropertyList& p) override {
    TComponent::DefineProperties(p);
    p.Collection("Items", Items);
  }
  void Loaded() override { log_.push_back("Skins loaded" + Loading(*this) + ": " + Files()); }

private:
  std::vector<std::string>& log_;
};

// Lists its stored skins when it is created, for a person to see.
class TResCollectionForm : public TForm {
public:
  TResCollectionForm(TComponent* owner, std::vector<std::string>& log) : TForm(owner) {
    skins = new TSkinShelf(this, log);
    list = new TListBox(this);
    list->Name = "List";
    list->SetParent(this);
    OnCreate = [this, &log](TComponent*) {
      log.push_back("OnCreate" + Loading(*this) + ": " + skins->Files());
      for (int i = 0; i < skins->Items.Count(); ++i) list->AddItem(skins->Item(i).SkinFile);
    };
  }
  PLIMET_CLASS_NAME(TResCollectionForm)
  TSkinShelf* skins;
  TListBox* list;
};

class TResCollectionMisfitForm : public TForm {
public:
  TResCollectionMisfitForm(TComponent* owner, std::vector<std::string>& log) : TForm(owner) {
    SetCaption("From code");
    skins = new TSkinShelf(this, log);
  }
  PLIMET_CLASS_NAME(TResCollectionMisfitForm)
  TSkinShelf* skins;
};

class FormResourcesTest : public ::testing::Test {
protected:
  TApplication app;
  ModalDriver driver;
};

} // namespace

TEST_F(FormResourcesTest, StoredValuesArriveBeforeLoadedAndOnCreateAndShowOnScreen) {
  std::vector<std::string> log;
  TResTestForm form(&app, log);
  form.OnCreate = [&](TComponent*) { log.push_back("OnCreate" + Loading(form) + ": " + form.probe->Note); };
  form.Show();
  EXPECT_EQ(log, (std::vector<std::string>{"Probe.Note (loading)", "Probe.Data (loading)", "Part.Data (loading)",
                                           "Probe loaded: Stored caption 420x260 stored text",
                                           "OnCreate: first line\r\nsecond line"}));
  EXPECT_EQ(form.probe->Data, (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF, 0x00, 0x50, 0x4C,
                                                         0x46, 0x52, 0x0D, 0x0A, 0x1A, 0x0A}));
  EXPECT_EQ(form.part->Data, (std::vector<std::uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));
  for (TComponent* each : std::initializer_list<TComponent*>{&form, form.name, form.probe, form.part})
    EXPECT_EQ(each->ComponentState() & csLoading, 0u) << each->Name;

  // What the window shows.
  EXPECT_EQ(WindowText(form.Handle()), "Stored caption");
  RECT r;
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 420);
  EXPECT_EQ(r.bottom - r.top, 260);
  const LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME) << "bsSingle";
  EXPECT_EQ(form.Color(), 0x00E0F0FF);
  EXPECT_EQ(form.Tag, 5);
  EXPECT_TRUE(form.KeyPreview);
  EXPECT_EQ(form.Position, TPosition::poScreenCenter);
  EXPECT_EQ(WindowText(form.name->Handle()), "stored text");
  EXPECT_EQ(SendMessageA(form.name->Handle(), EM_GETLIMITTEXT, 0, 0), 20);
  EXPECT_EQ(WindowText(form.yes->Handle()), "&Stored yes");
  EXPECT_FALSE(IsWindowEnabled(form.off->Handle()));
  EXPECT_FALSE(IsWindowVisible(form.hidden->Handle()));
  EXPECT_EQ(SendMessageA(form.hidden->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(form.side->Left(), client.right - 80) << "aligned right";
  EXPECT_EQ(form.side->BevelOuter, TBevelCut::bvLowered);
}

TEST_F(FormResourcesTest, APersonTypesIntoTheStoredEditAndEnterGivesTheStoredResult) {
  std::vector<std::string> log;
  TResTestForm form(&app, log);
  driver.When("TResTestForm", [](HWND) {
    PressKey(VK_END);
    TypeText("abcdefghijkl"); // the stored limit of 20 characters keeps 9 of them
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(form.ShowModal(), mrYes);
  EXPECT_EQ(form.name->Text(), "stored textabcdefghi");
}

TEST_F(FormResourcesTest, ADamagedOrUnfittingStoredFormKeepsTheFormFromComingUp) {
  TResDamagedForm damaged(&app);
  bool created = false;
  damaged.OnCreate = [&](TComponent*) { created = true; };
  EXPECT_EQ(ErrorOf([&] { damaged.Show(); }),
            "The stored form of TResDamagedForm is damaged: it is not a stored form (wrong signature).");
  EXPECT_FALSE(created);
  EXPECT_FALSE(damaged.HandleAllocated() && IsWindowVisible(damaged.Handle()));
  EXPECT_EQ(ErrorOf([&] { damaged.ShowModal(); }), ErrorOf([&] { damaged.Show(); })) << "every time, modal too";

  TResMisfitForm misfit(&app);
  misfit.OnCreate = [&](TComponent*) { created = true; };
  EXPECT_EQ(ErrorOf([&] { misfit.Show(); }),
            "The stored form of TResMisfitForm does not fit the form: TResMisfitForm has no component Gone.");
  EXPECT_FALSE(created);
  EXPECT_EQ(misfit.Caption(), "From code") << "nothing of it set";
}

TEST_F(FormResourcesTest, AStoredCollectionIsFilledBeforeLoadedAndOnCreate) {
  std::vector<std::string> log;
  TResCollectionForm form(&app, log);
  form.Show();
  EXPECT_EQ(log, (std::vector<std::string>{"Skins loaded: Blue.ssk,Plain.ssk,", "OnCreate: Blue.ssk,Plain.ssk,"}));
  ASSERT_EQ(form.skins->Items.Count(), 3) << "exactly the stored items";
  const TSkinShelfItem& blue = form.skins->Item(0);
  EXPECT_EQ(blue.Password, "it's blue");
  EXPECT_EQ(blue.SkinData, (std::vector<std::uint8_t>{0x50, 0x4B, 0x03, 0x04, 0x0A, 0x00}));
  EXPECT_EQ(blue.Kind, 0);
  const TSkinShelfItem& plain = form.skins->Item(1);
  EXPECT_EQ(plain.Kind, 1);
  EXPECT_EQ(plain.Order, -1);
  EXPECT_TRUE(plain.SkinData.empty());
  EXPECT_EQ(form.skins->Item(2).SkinFile, "");
  EXPECT_EQ(form.skins->Item(2).Collection(), &form.skins->Items);
  EXPECT_EQ(WindowText(form.Handle()), "Stored skins");

  // What the list shows: the stored skins, as the person sees them.
  ASSERT_EQ(SendMessageA(form.list->Handle(), LB_GETCOUNT, 0, 0), 3);
  char text[64] = {};
  SendMessageA(form.list->Handle(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Plain.ssk");
}

TEST_F(FormResourcesTest, AnUnfittingStoredCollectionKeepsTheFormFromComingUpAndItsItems) {
  std::vector<std::string> log;
  TResCollectionMisfitForm form(&app, log);
  EXPECT_EQ(ErrorOf([&] { form.Show(); }),
            "The stored form of TResCollectionMisfitForm does not fit the form: Skins.Items[1] (TSkinShelfItem) has no "
            "property SkinColour.");
  EXPECT_EQ(form.skins->Files(), "FromCode.ssk");
  EXPECT_EQ(form.Caption(), "From code");
  EXPECT_TRUE(log.empty());
}
