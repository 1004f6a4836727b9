// Form descriptions: every value notation, and each mistake reported with
// its file and line.
#include "formres/FormText.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

TEST(FormText, EveryValueNotationAndNestedObjects) {
  const TStoredObject form = ParseFormText(R"(// a comment line
object fMain: TfMain
  Caption = 'It''s '#13#10'two lines'  // quotes, codes, a comment
  Empty = ''
  Width = 420
  Left = -8
  Color = $FF00000F
  Visible = False
  Sizable = true
  BorderStyle = bsDialog
  Data = {
    00 01fF
    7e 8
    0
  }
  Nothing = {}
  object Panel: TPanel
    object Inner: TButton
      Tag = 2147483647
      Min = -2147483648
    end
  end
  OBJECT Second: TEdit END
end
)",
                                           "main.form");
  EXPECT_EQ(form.Name, "fMain");
  EXPECT_EQ(form.ClassName, "TfMain");
  ASSERT_EQ(form.Properties.size(), 10u);
  EXPECT_EQ(form.Properties[0].Value, TPropertyValue::OfString("It's \r\ntwo lines"));
  EXPECT_EQ(form.Properties[1].Value, TPropertyValue::OfString(""));
  EXPECT_EQ(form.Properties[2].Value, TPropertyValue::OfInteger(420));
  EXPECT_EQ(form.Properties[3].Value, TPropertyValue::OfInteger(-8));
  EXPECT_EQ(form.Properties[4].Value, TPropertyValue::OfInteger(static_cast<std::int32_t>(0xFF00000Fu)));
  EXPECT_EQ(form.Properties[5].Value, TPropertyValue::OfBoolean(false));
  EXPECT_EQ(form.Properties[6].Value, TPropertyValue::OfBoolean(true));
  EXPECT_EQ(form.Properties[7].Value, TPropertyValue::OfEnumeration("bsDialog"));
  EXPECT_EQ(form.Properties[8].Value, TPropertyValue::OfBinary({0x00, 0x01, 0xFF, 0x7E, 0x80}));
  EXPECT_EQ(form.Properties[9].Value, TPropertyValue::OfBinary({}));
  ASSERT_EQ(form.Components.size(), 2u);
  EXPECT_EQ(form.Components[0].Components[0].Name, "Inner");
  EXPECT_EQ(form.Components[0].Components[0].Properties[1].Value, TPropertyValue::OfInteger(-2147483647 - 1));
  EXPECT_EQ(form.Components[1].ClassName, "TEdit");
}

TEST(FormText, MistakesNameTheFileAndLine) {
  const auto error = [](const std::string& text) { return ErrorOf([&] { ParseFormText(text, "f.form"); }); };
  EXPECT_EQ(error(""), "f.form:1: expected the word object.");
  EXPECT_EQ(error("form F: TF end"), "f.form:1: a form description begins with the word object.");
  EXPECT_EQ(error("object F TF end"), "f.form:1: expected ':'.");
  EXPECT_EQ(error("object F: TF\n  A = 1\n"), "f.form:3: expected a property, object or end.");
  EXPECT_EQ(error("object F: TF\n  A = 'open\nend"), "f.form:2: a string is not closed on its line.");
  EXPECT_EQ(error("object F: TF\n\n  A = #300\nend"), "f.form:3: a character code is above 255.");
  EXPECT_EQ(error("object F: TF\n  A = 2147483648\nend"), "f.form:2: a number is out of the range of a 32-bit integer.");
  EXPECT_EQ(error("object F: TF\n  A = $123456789\nend"), "f.form:2: a hexadecimal number has more than 8 digits.");
  EXPECT_EQ(error("object F: TF\n  A = 12px\nend"), "f.form:2: a number runs into letters.");
  EXPECT_EQ(error("object F: TF\n  A = {\n 0A 1\n}\nend"), "f.form:4: a binary value has an odd number of hexadecimal digits.");
  EXPECT_EQ(error("object F: TF\n  A = { 0G }\nend"), "f.form:2: a binary value holds 'G', not a hexadecimal digit.");
  EXPECT_EQ(error("object F: TF\n  A = { 00\nend"), "f.form:3: a binary value holds 'n', not a hexadecimal digit.");
  EXPECT_EQ(error("object F: TF\n  A = { 00"), "f.form:2: a binary value is not closed with }.");
  EXPECT_EQ(error("object F: TF\n  A = =\nend"), "f.form:2: property A has no value.");
  EXPECT_EQ(error("object F: TF\n  A = 1\n  A = 2\nend"), "f.form:3: property A of F is given twice.");
  EXPECT_EQ(error("object F: TF\n object B: TB end\n object B: TB end\nend"), "f.form:3: component B is described twice.");
  EXPECT_EQ(error("object F: TF\nend\nobject G: TG end"), "f.form:3: text follows the end of the form.");
}

TEST(FormText, CollectionsInTheClassicNotationNestedInItems) {
  const TStoredObject form = ParseFormText(R"(object F: TF
  Skins = <
    item
      SkinFile = 'Blue.ssk'
      Password = ''
      SkinData = { 0102 }
      Parts = <item Size = 3 end>
    end
    ITEM END
    item
      Kind = ikLast Shown = True
    end>
  None = <  >
  Tag = 1
end)",
                                           "f.form");
  ASSERT_EQ(form.Properties.size(), 3u);
  const TPropertyValue& skins = form.Properties[0].Value;
  EXPECT_EQ(skins.Kind, TPropertyKind::pkCollection);
  ASSERT_EQ(skins.Items.size(), 3u);
  const std::vector<TStoredProperty> first{
      {"SkinFile", TPropertyValue::OfString("Blue.ssk")},
      {"Password", TPropertyValue::OfString("")},
      {"SkinData", TPropertyValue::OfBinary({0x01, 0x02})},
      {"Parts", TPropertyValue::OfCollection({TStoredItem{{{"Size", TPropertyValue::OfInteger(3)}}}})}};
  EXPECT_EQ(skins.Items[0].Properties, first);
  EXPECT_TRUE(skins.Items[1].Properties.empty());
  EXPECT_EQ(skins.Items[2].Properties, (std::vector<TStoredProperty>{{"Kind", TPropertyValue::OfEnumeration("ikLast")},
                                                                     {"Shown", TPropertyValue::OfBoolean(true)}}));
  EXPECT_EQ(form.Properties[1].Value, TPropertyValue::OfCollection({}));
  EXPECT_EQ(form.Properties[2].Value, TPropertyValue::OfInteger(1));
}

TEST(FormText, CollectionMistakesNameTheFileAndLine) {
  const auto error = [](const std::string& text) { return ErrorOf([&] { ParseFormText(text, "f.form"); }); };
  EXPECT_EQ(error("object F: TF\n  S = <\n  item\n  end\n"), "f.form:5: collection S is not closed with >.");
  EXPECT_EQ(error("object F: TF\n  S = <\n  object B: TB end>\nend"), "f.form:3: collection S holds something other than items.");
  EXPECT_EQ(error("object F: TF\n  S = < 'x' >\nend"), "f.form:2: expected item or >.");
  EXPECT_EQ(error("object F: TF\n  S = <item\n  N = 1\n  N = 2\n end>\nend"),
            "f.form:4: property N of item 0 of S is given twice.");
  EXPECT_EQ(error("object F: TF\n  S = <item end item\n  A = <item B = >\nend>\nend"),
            "f.form:3: property B has no value.");
  EXPECT_EQ(error("object F: TF\n  S = <item object B: TB end end>\nend"), "f.form:2: expected '='.");
}
