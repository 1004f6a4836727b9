// Stored values given to a form and the components it owns: from the text
// description through the binary layout to the components' properties, with
// csLoading only while they are set, and nothing set when they do not fit.
#include "framework/FormReader.h"

#include <gtest/gtest.h>

#include "framework/Collection.h"

#include "formres/FormText.h"
#include "support/ErrorOf.h"

namespace {

// An item with a property of every type and a collection of its own,
// writing down what it was given, where it stood in its collection then and
// whether its component was loading.
class TProbeItem : public TCollectionItem {
public:
  TProbeItem(const TComponent& owner, std::vector<std::string>& log)
      : Parts([&owner, &log] { return std::make_unique<TProbeItem>(owner, log); }), owner_(owner), log_(log) {}
  PLIMET_CLASS_NAME(TProbeItem)

  std::string Name = "unset";
  int Size = 0;
  bool Shown = false;
  int Kind = 0;
  std::vector<std::uint8_t> SkinData;
  TCollection Parts;

  void DefineProperties(TPropertyList& p) override {
    p.String("Name", [this](const std::string& v) {
      Name = v;
      Note("Name");
    });
    p.Integer("Size", [this](std::int32_t v) {
      Size = v;
      Note("Size");
    });
    p.Boolean("Shown", [this](bool v) {
      Shown = v;
      Note("Shown");
    });
    p.Enumeration("Kind", {"ikFirst", "ikLast"}, [this](int v) {
      Kind = v;
      Note("Kind");
    });
    p.Binary("SkinData", [this](const std::vector<std::uint8_t>& v) {
      SkinData = v;
      Note("SkinData");
    });
    p.Collection("Parts", Parts);
  }

private:
  void Note(const char* property) {
    log_.push_back(owner_.Name + "[" + std::to_string(Index()) + "]." + property +
                   ((owner_.ComponentState() & csLoading) ? " (loading)" : ""));
  }
  const TComponent& owner_;
  std::vector<std::string>& log_;
};

// A component with a property of every type, writing down what it was given
// and whether it was loading then.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, const std::string& name, std::vector<std::string>& log)
      : TComponent(owner), Items([this, &log] { return std::make_unique<TProbeItem>(*this, log); }), log_(log) {
    Name = name;
  }
  PLIMET_CLASS_NAME(TProbe)

  int Count = 0;
  bool Flag = false;
  std::string Title = "unset";
  int Mode = 0;
  std::vector<std::uint8_t> Data;
  std::string Fail; // a setter that throws on this title
  TCollection Items;
  TProbeItem& Item(int index) const { return static_cast<TProbeItem&>(*Items.Items(index)); }

  void DefineProperties(TPropertyList& p) override {
    TComponent::DefineProperties(p);
    p.Integer("Count", [this](std::int32_t v) {
      Count = v;
      Note("Count");
    });
    p.Boolean("Flag", [this](bool v) {
      Flag = v;
      Note("Flag");
    });
    p.String("Title", [this](const std::string& v) {
      if (!Fail.empty() && v == Fail) throw std::runtime_error("Title refused");
      Title = v;
      Note("Title");
    });
    p.Enumeration("Mode", {"mdFirst", "mdSecond", "mdThird"}, [this](int v) {
      Mode = v;
      Note("Mode");
    });
    p.Binary("Data", [this](const std::vector<std::uint8_t>& v) {
      Data = v;
      Note("Data");
    });
    p.Collection("Items", Items);
  }
  void Loaded() override { log_.push_back(Name + " loaded" + Loading()); }

private:
  std::string Loading() const { return (ComponentState() & csLoading) ? " (loading)" : ""; }
  void Note(const char* property) { log_.push_back(Name + "." + property + Loading()); }
  std::vector<std::string>& log_;
};

class TProbeForm : public TProbe {
public:
  TProbeForm(std::vector<std::string>& log) : TProbe(nullptr, "ProbeForm", log) {
    panel = new TProbe(this, "Panel", log);
    inner = new TProbe(panel, "Inner", log);
    other = new TProbe(this, "Other", log);
  }
  const char* ClassName() const override { return "TProbeForm"; }
  TProbe* panel;
  TProbe* inner;
  TProbe* other;
};

void Read(TComponent& form, const std::string& text) {
  const auto bytes = WriteFormResource(ParseFormText(text, "probe.form"));
  ReadStoredForm(form, ReadFormResource(bytes.data(), bytes.size(), form.ClassName()));
}

} // namespace

TEST(FormReader, TextThroughBytesIntoEveryPropertyOfTheFormAndItsComponents) {
  std::vector<std::string> log;
  TProbeForm form(log);
  Read(form, R"(object ProbeForm: TProbeForm
  Title = 'Stored'
  Count = -5
  Flag = True
  Mode = mdThird
  Tag = 12
  object Panel: TProbe
    Data = { 00 7F 80 FF 0D0A 00 }
    object Inner: TProbe
      Title = 'inner'#9'tab'
      Data = {}
    end
  end
end)");
  EXPECT_EQ(form.Title, "Stored");
  EXPECT_EQ(form.Count, -5);
  EXPECT_TRUE(form.Flag);
  EXPECT_EQ(form.Mode, 2);
  EXPECT_EQ(form.Tag, 12);
  EXPECT_EQ(form.panel->Data, (std::vector<std::uint8_t>{0x00, 0x7F, 0x80, 0xFF, 0x0D, 0x0A, 0x00}));
  EXPECT_EQ(form.inner->Title, "inner\ttab");
  EXPECT_TRUE(form.inner->Data.empty());
  EXPECT_EQ(form.other->Title, "unset");
  // In stored order, each component loading while its values are set, and
  // the reader leaves Loaded to the form.
  EXPECT_EQ(log, (std::vector<std::string>{"ProbeForm.Title (loading)", "ProbeForm.Count (loading)",
                                           "ProbeForm.Flag (loading)", "ProbeForm.Mode (loading)",
                                           "Panel.Data (loading)", "Inner.Title (loading)", "Inner.Data (loading)"}));
  for (TComponent* each : {static_cast<TComponent*>(&form), static_cast<TComponent*>(form.panel),
                           static_cast<TComponent*>(form.inner), static_cast<TComponent*>(form.other)})
    EXPECT_EQ(each->ComponentState() & csLoading, 0u) << each->Name;
}

TEST(FormReader, AStoredFormThatDoesNotFitSetsNothing) {
  const std::string misfit = "The stored form of TProbeForm does not fit the form: ";
  const std::string head = "object ProbeForm: TProbeForm\n  Title = 'changed'\n  object Panel: TProbe\n    Count = 3\n";
  const std::string tail = "  end\nend";
  const struct {
    std::string text, message;
  } cases[] = {
      {"object ProbeForm: TOther\nend", misfit + "TProbeForm is a TProbeForm, the stored form says TOther."},
      {head + "    object Gone: TProbe\n    end\n" + tail, misfit + "Panel has no component Gone."},
      {head + "    object Inner: TButton\n    end\n" + tail, misfit + "Inner is a TProbe, the stored form says TButton."},
      {head + "    Colour = 5\n" + tail, misfit + "Panel (TProbe) has no property Colour."},
      {head + "    Flag = 1\n" + tail, misfit + "property Flag of Panel takes a boolean, the stored form holds an integer."},
      {head + "    Data = 'text'\n" + tail,
       misfit + "property Data of Panel takes binary data, the stored form holds a string."},
      {head + "    Mode = mdFourth\n" + tail, misfit + "property Mode of Panel has no value mdFourth."},
      {head + "    Mode = 'mdFirst'\n" + tail,
       misfit + "property Mode of Panel takes an enumeration, the stored form holds a string."},
      // Other is the form's, not the panel's.
      {head + "    object Other: TProbe\n    end\n" + tail, misfit + "Panel has no component Other."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    TProbeForm form(log);
    EXPECT_EQ(ErrorOf([&] { Read(form, c.text); }), c.message) << c.text;
    EXPECT_EQ(form.Title, "unset") << c.text;
    EXPECT_EQ(form.panel->Count, 0) << c.text;
    EXPECT_TRUE(log.empty()) << c.text;
    EXPECT_EQ(form.ComponentState() & csLoading, 0u);
  }
}

TEST(FormReader, ASetterThatThrowsEndsTheReadingWithoutLeavingComponentsLoading) {
  std::vector<std::string> log;
  TProbeForm form(log);
  form.panel->Fail = "bad";
  EXPECT_EQ(ErrorOf([&] {
              Read(form, "object ProbeForm: TProbeForm\n object Panel: TProbe\n  Title = 'bad'\n end\nend");
            }),
            "Title refused");
  EXPECT_EQ(form.ComponentState() & csLoading, 0u);
  EXPECT_EQ(form.panel->ComponentState() & csLoading, 0u);
}

namespace {

// Two items made by code, which a stored collection replaces.
void TwoItemsFromCode(TProbe& probe) {
  static_cast<TProbeItem*>(probe.Items.Add())->Name = "code 0";
  static_cast<TProbeItem*>(probe.Items.Add())->Name = "code 1";
}

} // namespace

TEST(FormReader, AStoredCollectionReplacesTheItemsWithExactlyItsOwn) {
  std::vector<std::string> log;
  TProbeForm form(log);
  TwoItemsFromCode(*form.panel);
  TwoItemsFromCode(form);
  int updates = 0;
  form.panel->Items.OnUpdate = [&](TCollection&) { ++updates; };
  Read(form, R"(object ProbeForm: TProbeForm
  Items = <>
  object Panel: TProbe
    Title = 'panel'
    Items = <
      item
        Name = 'first'
        Size = -3
        Shown = True
        Kind = ikLast
        SkinData = { 504B 0304 }
      end
      item
      end
      item
        Parts = <item Name = 'inner' end item Size = 9 end>
        Name = 'third'
      end>
  end
end)");
  EXPECT_EQ(form.Items.Count(), 0) << "<> empties it";
  ASSERT_EQ(form.panel->Items.Count(), 3);
  const TProbeItem& first = form.panel->Item(0);
  EXPECT_EQ(first.Name, "first");
  EXPECT_EQ(first.Size, -3);
  EXPECT_TRUE(first.Shown);
  EXPECT_EQ(first.Kind, 1);
  EXPECT_EQ(first.SkinData, (std::vector<std::uint8_t>{0x50, 0x4B, 0x03, 0x04}));
  EXPECT_EQ(first.Parts.Count(), 0);
  const TProbeItem& second = form.panel->Item(1);
  EXPECT_EQ(second.Name, "unset") << "a new item, not one from code";
  EXPECT_EQ(second.Size, 0);
  const TProbeItem& third = form.panel->Item(2);
  EXPECT_EQ(third.Name, "third");
  ASSERT_EQ(third.Parts.Count(), 2);
  EXPECT_EQ(static_cast<TProbeItem*>(third.Parts.Items(0))->Name, "inner");
  EXPECT_EQ(static_cast<TProbeItem*>(third.Parts.Items(1))->Size, 9);
  EXPECT_EQ(third.Parts.Items(1)->Collection(), &third.Parts);
  EXPECT_EQ(updates, 4) << "one clear, three adds";
  // Each item is in its collection, at its place, when its values are set.
  EXPECT_EQ(log, (std::vector<std::string>{"Panel.Title (loading)", "Panel[0].Name (loading)", "Panel[0].Size (loading)",
                                           "Panel[0].Shown (loading)", "Panel[0].Kind (loading)",
                                           "Panel[0].SkinData (loading)", "Panel[0].Name (loading)",
                                           "Panel[1].Size (loading)", "Panel[2].Name (loading)"}));
}

TEST(FormReader, ACollectionThatDoesNotFitSetsNothingAndKeepsItsItems) {
  const std::string misfit = "The stored form of TProbeForm does not fit the form: ";
  const std::string head = "object ProbeForm: TProbeForm\n  Title = 'changed'\n  object Panel: TProbe\n    Count = 3\n";
  const std::string tail = "  end\nend";
  const struct {
    std::string text, message;
  } cases[] = {
      {head + "    Items = < item Name = 'a' end item Colour = 5 end >\n" + tail,
       misfit + "Panel.Items[1] (TProbeItem) has no property Colour."},
      {head + "    Items = < item Size = 'big' end >\n" + tail,
       misfit + "property Size of Panel.Items[0] takes an integer, the stored form holds a string."},
      {head + "    Items = < item end item end item Kind = ikMiddle end >\n" + tail,
       misfit + "property Kind of Panel.Items[2] has no value ikMiddle."},
      {head + "    Items = < item Parts = < item end item Shown = 1 end > end >\n" + tail,
       misfit + "property Shown of Panel.Items[0].Parts[1] takes a boolean, the stored form holds an integer."},
      {head + "    Items = < item Name = < > end >\n" + tail,
       misfit + "property Name of Panel.Items[0] takes a string, the stored form holds a collection."},
      {head + "    Items = { 01 }\n" + tail,
       misfit + "property Items of Panel takes a collection, the stored form holds binary data."},
      {head + "    Title = < item end >\n" + tail,
       misfit + "property Title of Panel takes a string, the stored form holds a collection."},
      // A fault after the collection keeps it too.
      {head + "    Items = < item Name = 'a' end >\n    object Gone: TProbe\n    end\n" + tail,
       misfit + "Panel has no component Gone."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    TProbeForm form(log);
    TwoItemsFromCode(*form.panel);
    TCollectionItem* const kept = form.panel->Items.Items(0);
    EXPECT_EQ(ErrorOf([&] { Read(form, c.text); }), c.message) << c.text;
    EXPECT_EQ(form.Title, "unset") << c.text;
    EXPECT_EQ(form.panel->Count, 0) << c.text;
    ASSERT_EQ(form.panel->Items.Count(), 2) << c.text;
    EXPECT_EQ(form.panel->Items.Items(0), kept) << c.text;
    EXPECT_EQ(form.panel->Item(1).Name, "code 1") << c.text;
    EXPECT_TRUE(log.empty()) << c.text;
  }
}
