// The stored form's binary layout: every value type read back as written,
// byte for byte, and every kind of damage refused with its own message.
#include "framework/FormResource.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

namespace {

std::vector<std::uint8_t> AllBytes() {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
  bytes.push_back(0);
  return bytes;
}

// Items of every value type, an empty one, and a collection inside an item.
TPropertyValue Skins() {
  const TStoredItem part{{{"Size", TPropertyValue::OfInteger(-1)}}};
  return TPropertyValue::OfCollection(
      {TStoredItem{{{"SkinFile", TPropertyValue::OfString("Blue.ssk")},
                    {"SkinData", TPropertyValue::OfBinary(AllBytes())},
                    {"Shown", TPropertyValue::OfBoolean(true)},
                    {"Kind", TPropertyValue::OfEnumeration("ikLast")},
                    {"Parts", TPropertyValue::OfCollection({part, TStoredItem{}, part})}}},
       TStoredItem{},
       TStoredItem{{{"Password", TPropertyValue::OfString("")}}}});
}

TStoredObject EveryKind() {
  TStoredObject grandchild{"Inner", "TInner", {{"Data", TPropertyValue::OfBinary({})}}, {}};
  TStoredObject child{"Probe", "TProbe",
                      {{"Title", TPropertyValue::OfString("")}, {"Data", TPropertyValue::OfBinary(AllBytes())}},
                      {grandchild}};
  TStoredObject empty{"Empty", "TEmpty", {}, {}};
  return {"Form",
          "TStoreForm",
          {{"Count", TPropertyValue::OfInteger(-2147483647 - 1)},
           {"Max", TPropertyValue::OfInteger(2147483647)},
           {"On", TPropertyValue::OfBoolean(true)},
           {"Off", TPropertyValue::OfBoolean(false)},
           {"Title", TPropertyValue::OfString(std::string("it's \"quoted\"\0and on", 20))},
           {"Mode", TPropertyValue::OfEnumeration("mdSecond")},
           {"Skins", Skins()},
           {"None", TPropertyValue::OfCollection({})}},
          {child, empty}};
}

std::string ReadError(std::vector<std::uint8_t> bytes) {
  return ErrorOf([&] { ReadFormResource(bytes.data(), bytes.size(), "TStoreForm"); });
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
}

// "F": "TF" with S = 'abc' and B = True, no components. Offsets:
// 0 signature, 4 version, 6 length, 10 name, 13 class, 17 property count,
// 21 "S", 24 kind, 25 string length, 29 "abc", 32 "B", 35 kind, 36 boolean,
// 37 component count; 41 bytes.
std::vector<std::uint8_t> Small() {
  return WriteFormResource(
      {"F", "TF", {{"S", TPropertyValue::OfString("abc")}, {"B", TPropertyValue::OfBoolean(true)}}, {}});
}

} // namespace

TEST(FormResource, EveryValueTypeAndNestedComponentsReadBackByteExact) {
  const TStoredObject form = EveryKind();
  const std::vector<std::uint8_t> bytes = WriteFormResource(form);
  const TStoredObject read = ReadFormResource(bytes.data(), bytes.size(), "TStoreForm");
  EXPECT_EQ(read, form);
  EXPECT_EQ(read.Components[0].Properties[1].Value.Bytes, AllBytes());
  EXPECT_EQ(read.Components[0].Components[0].Name, "Inner");
  ASSERT_EQ(read.Properties[6].Value.Items.size(), 3u);
  EXPECT_EQ(read.Properties[6].Value.Items[0].Properties[4].Value.Items.size(), 3u);
  EXPECT_EQ(WriteFormResource(read), bytes) << "one layout for one form";
  ASSERT_EQ(Small().size(), 41u);
}

TEST(FormResource, DamageIsRefusedNamingTheFormAndTheFault) {
  const std::string damaged = "The stored form of TStoreForm is damaged: ";
  EXPECT_EQ(ReadError({}), damaged + "it is not a stored form (wrong signature).");
  auto bytes = Small();
  bytes[3] = 'X';
  EXPECT_EQ(ReadError(bytes), damaged + "it is not a stored form (wrong signature).");
  EXPECT_EQ(ReadError({'P', 'L', 'F', 'R', 1}), damaged + "the data ends inside the version at byte 4.");
  EXPECT_EQ(ReadError({'P', 'L', 'F', 'R', 1, 0, 0}), damaged + "the data ends inside the length at byte 6.");

  bytes = Small();
  bytes[4] = 2;
  EXPECT_EQ(ReadError(bytes), damaged + "it has format version 2, this program reads version 1.");

  bytes = Small();
  bytes.pop_back();
  EXPECT_EQ(ReadError(bytes), damaged + "its length says 31 bytes, but 30 bytes follow.");

  // The header's length kept true, the fault inside.
  bytes = Small();
  PutU32(bytes, 25, 1000);
  EXPECT_EQ(ReadError(bytes), damaged + "the length 1000 of a string at byte 29 runs past the end.");
  bytes = Small();
  PutU32(bytes, 17, 0x7FFFFFFF);
  EXPECT_EQ(ReadError(bytes),
            damaged + "the count 2147483647 of properties at byte 21 is more than the remaining data can hold.");
  bytes = Small();
  PutU32(bytes, 37, 3);
  EXPECT_EQ(ReadError(bytes), damaged + "the count 3 of components at byte 41 is more than the remaining data can hold.");
  bytes = Small();
  bytes[24] = 9;
  EXPECT_EQ(ReadError(bytes), damaged + "property S has the unknown value type 9 at byte 24.");
  bytes = Small();
  bytes[36] = 2;
  EXPECT_EQ(ReadError(bytes), damaged + "property B holds the boolean value 2 at byte 37.");
  bytes = Small();
  bytes[21] = 0;
  bytes[22] = 0;
  EXPECT_EQ(ReadError(bytes), damaged + "a property name is empty at byte 23.");
  bytes = Small();
  PutU32(bytes, 17, 3); // a third property, an integer cut off, where the component count stands
  PutU32(bytes, 37, 0x01'5A'0001);
  EXPECT_EQ(ReadError(bytes), damaged + "the data ends inside an integer at byte 41.");

  bytes = Small();
  bytes.push_back(0);
  PutU32(bytes, 6, 32);
  EXPECT_EQ(ReadError(bytes), damaged + "1 bytes follow the end of the form.");
}

TEST(FormResource, NestingBeyondTheLimitIsRefusedAndEmptyNamesAreNotWritten) {
  TStoredObject deep{"C", "TC", {}, {}};
  for (int i = 0; i < kFormResourceMaxDepth + 1; ++i) deep = TStoredObject{"C", "TC", {}, {deep}};
  const auto bytes = WriteFormResource(deep);
  EXPECT_EQ(ReadError(bytes), "The stored form of TStoreForm is damaged: components are nested more than 32 deep.");
  EXPECT_EQ(ErrorOf([] { WriteFormResource({"F", "", {}, {}}); }), "A stored form cannot hold an empty class name.");
  EXPECT_EQ(ErrorOf([] { WriteFormResource({"F", "TF", {{"", TPropertyValue::OfInteger(1)}}, {}}); }),
            "A stored form cannot hold an empty property name.");
}

namespace {

// "F": "TF" with C = < item N = 7 end >, no components. Offsets: 0 signature,
// 4 version, 6 length, 10 name, 13 class, 17 property count, 21 "C",
// 24 kind, 25 item count, 29 the item's property count, 33 "N", 36 kind,
// 37 integer, 41 component count; 45 bytes.
std::vector<std::uint8_t> SmallCollection() {
  return WriteFormResource(
      {"F", "TF", {{"C", TPropertyValue::OfCollection({TStoredItem{{{"N", TPropertyValue::OfInteger(7)}}}})}}, {}});
}

TPropertyValue Nested(int collections) {
  TPropertyValue value = TPropertyValue::OfCollection({});
  for (int i = 1; i < collections; ++i) value = TPropertyValue::OfCollection({TStoredItem{{{"C", value}}}});
  return value;
}

} // namespace

TEST(FormResource, DamageInsideACollectionIsRefusedNamingTheFault) {
  const std::string damaged = "The stored form of TStoreForm is damaged: ";
  auto bytes = SmallCollection();
  ASSERT_EQ(bytes.size(), 45u);
  EXPECT_EQ(ReadFormResource(bytes.data(), bytes.size(), "TStoreForm").Properties[0].Value.Items[0].Properties[0].Value,
            TPropertyValue::OfInteger(7));

  PutU32(bytes, 25, 100);
  EXPECT_EQ(ReadError(bytes),
            damaged + "the count 100 of collection items at byte 29 is more than the remaining data can hold.");
  bytes = SmallCollection();
  PutU32(bytes, 25, 0xFFFFFFFF);
  EXPECT_EQ(ReadError(bytes),
            damaged + "the count 4294967295 of collection items at byte 29 is more than the remaining data can hold.");
  bytes = SmallCollection();
  PutU32(bytes, 29, 1000);
  EXPECT_EQ(ReadError(bytes),
            damaged + "the count 1000 of item properties at byte 33 is more than the remaining data can hold.");
  // A count the bytes could hold, but the items are not there: the second
  // item takes the component count, and the data ends.
  bytes = SmallCollection();
  PutU32(bytes, 25, 2);
  EXPECT_EQ(ReadError(bytes), damaged + "the data ends inside components at byte 45.");
  bytes = SmallCollection();
  bytes[36] = 9;
  EXPECT_EQ(ReadError(bytes), damaged + "property N has the unknown value type 9 at byte 36.");
  bytes = SmallCollection();
  bytes[36] = static_cast<std::uint8_t>(TPropertyKind::pkString); // its length runs to 0x0000_0007
  EXPECT_EQ(ReadError(bytes), damaged + "the length 7 of a string at byte 41 runs past the end.");
  bytes = SmallCollection();
  bytes[33] = 0;
  EXPECT_EQ(ReadError(bytes), damaged + "a property name is empty at byte 35.");

  const auto deepest = WriteFormResource({"F", "TF", {{"C", Nested(kFormResourceMaxDepth + 1)}}, {}});
  EXPECT_EQ(ReadFormResource(deepest.data(), deepest.size(), "TStoreForm").Properties[0].Value,
            Nested(kFormResourceMaxDepth + 1));
  EXPECT_EQ(ReadError(WriteFormResource({"F", "TF", {{"C", Nested(kFormResourceMaxDepth + 2)}}, {}})),
            damaged + "collections are nested more than 32 deep.");
  EXPECT_EQ(ErrorOf([] {
              WriteFormResource({"F", "TF", {{"C", TPropertyValue::OfCollection({TStoredItem{{{"", {}}}}})}}, {}});
            }),
            "A stored form cannot hold an empty property name.");
}
