// Stored values given to a form and the components it owns: from the text
// description through the binary layout to the components' properties, with
// csLoading only while they are set, and nothing set when they do not fit.
#include "framework/FormReader.h"

#include <gtest/gtest.h>

#include "formres/FormText.h"
#include "support/ErrorOf.h"

namespace {

// A component with a property of every type, writing down what it was given
// and whether it was loading then.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, const std::string& name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    Name = name;
  }
  PLIMET_CLASS_NAME(TProbe)

  int Count = 0;
  bool Flag = false;
  std::string Title = "unset";
  int Mode = 0;
  std::vector<std::uint8_t> Data;
  std::string Fail; // a setter that throws on this title

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
