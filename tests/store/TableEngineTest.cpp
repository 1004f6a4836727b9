#include "store/TableEngine.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "store/TableImage.h"

namespace {

// A table shaped like the catalog entries, with a few rows.
class TableTest : public ::testing::Test {
protected:
  TableTest() {
    table.AddFieldDef("FId", TFieldType::Integer, 0, true);
    table.AddFieldDef("FName", TFieldType::String, 8, false);
    table.AddFieldDef("FParentId", TFieldType::Integer, 0, true);
    table.CreateDataSet();
  }
  void AddRows(std::initializer_list<std::tuple<int, const char*, int>> rows) {
    for (const auto& [id, name, parent] : rows) table.AppendRecord({id, std::string(name), parent});
  }
  std::vector<int> Ids() {
    std::vector<int> ids;
    for (table.First(); !table.Eof(); table.Next()) ids.push_back(table.Fields(0).AsInteger());
    return ids;
  }
  TClientDataSet table;
};

struct EventLog : IDataSetObserver {
  std::vector<TDataEvent> events;
  void DataEvent(TClientDataSet&, TDataEvent event) override { events.push_back(event); }
  int Count(TDataEvent kind) const { return static_cast<int>(std::count(events.begin(), events.end(), kind)); }
};

} // namespace

TEST_F(TableTest, ColumnsAreFoundByPositionAndName) {
  EXPECT_EQ(table.FieldCount(), 3);
  EXPECT_EQ(table.FindField("FName"), 1);
  EXPECT_EQ(table.FindField("fname"), -1) << "names are exact";
  AddRows({{7, "seven", 0}});
  EXPECT_EQ(table.FieldByName("FName").AsString(), "seven");
  EXPECT_EQ(table.Fields(0).AsInteger(), 7);
  EXPECT_THROW(table.FieldByName("Nope"), EDataSetError);
  EXPECT_THROW(table.Fields(3), EDataSetError);
}

TEST_F(TableTest, CursorWalksRowsAndStopsAtTheEnds) {
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.Eof());
  table.First();
  EXPECT_TRUE(table.Eof()) << "an empty table is at its end at once";
  AddRows({{1, "a", 0}, {2, "b", 0}, {3, "c", 0}});
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(table.Fields(0).AsInteger(), 3) << "Next past the end stays on the last row";
  table.Last();
  table.Prior();
  EXPECT_EQ(table.RecNo(), 2);
  table.Prior();
  table.Prior();
  EXPECT_TRUE(table.Bof());
  EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(TableTest, InsertGoesBeforeTheCurrentRowAppendAtTheEnd) {
  AddRows({{1, "a", 0}, {2, "b", 0}, {3, "c", 0}});
  table.Last();
  table.InsertRecord({9, std::string("new"), 0});
  EXPECT_EQ(table.Fields(0).AsInteger(), 9) << "the new row becomes current";
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 9, 3}));
  table.First();
  table.InsertRecord({8, std::string("first"), 0});
  EXPECT_EQ(Ids(), (std::vector<int>{8, 1, 2, 9, 3}));
  table.First();
  table.AppendRecord({10, std::string("end"), 0});
  EXPECT_EQ(Ids(), (std::vector<int>{8, 1, 2, 9, 3, 10}));
}

TEST_F(TableTest, EditPostAndCancel) {
  AddRows({{1, "a", 0}});
  table.Edit();
  EXPECT_EQ(table.State(), TDataSetState::Edit);
  table.FieldByName("FName").SetAsString("changed");
  EXPECT_EQ(table.FieldByName("FName").AsString(), "changed") << "the edit buffer is what the row shows";
  table.Cancel();
  EXPECT_EQ(table.FieldByName("FName").AsString(), "a");
  table.Edit();
  table.FieldByName("FName").SetAsString("kept");
  table.Post();
  EXPECT_EQ(table.State(), TDataSetState::Browse);
  EXPECT_EQ(table.FieldByName("FName").AsString(), "kept");

  table.Append();
  EXPECT_EQ(table.State(), TDataSetState::Insert);
  table.Cancel();
  EXPECT_EQ(table.RecordCount(), 1) << "a cancelled insert leaves no row";
  EXPECT_THROW(table.FieldByName("FName").SetAsString("x"), EDataSetError) << "not editing";
}

TEST_F(TableTest, RequiredColumnsMustHaveAValue) {
  table.Append();
  table.FieldByName("FName").SetAsString("no id");
  EXPECT_THROW(table.Post(), EDataSetError);
  EXPECT_EQ(table.State(), TDataSetState::Insert) << "the row stays open for the user to finish";
  table.Cancel();
  EXPECT_THROW(table.AppendRecord({TFieldValue{}, std::string("x"), 1}), EDataSetError);
  EXPECT_EQ(table.State(), TDataSetState::Browse);
  EXPECT_TRUE(table.IsEmpty());
}

TEST_F(TableTest, TextIsCutToTheColumnSizeAndNumbersAreChecked) {
  AddRows({{1, "abcdefghijkl", 0}});
  EXPECT_EQ(table.FieldByName("FName").AsString(), "abcdefgh");
  table.Edit();
  EXPECT_THROW(table.FieldByName("FId").SetAsString("12x"), EDataSetError);
  table.FieldByName("FId").SetAsString("-42");
  table.Post();
  EXPECT_EQ(table.FieldByName("FId").AsInteger(), -42);
}

TEST_F(TableTest, LocateMatchesWholeCaseSensitiveValuesAndMovesOnlyWhenFound) {
  AddRows({{1, "Anna", 0}, {2, "anna", 0}, {3, "Ann", 0}});
  table.First();
  EXPECT_TRUE(table.Locate("FName", std::string("anna")));
  EXPECT_EQ(table.Fields(0).AsInteger(), 2);
  EXPECT_FALSE(table.Locate("FName", std::string("An")));
  EXPECT_EQ(table.Fields(0).AsInteger(), 2) << "a failed locate keeps the row";
  EXPECT_FALSE(table.Locate("FName", std::string("Annabelle")));
  EXPECT_TRUE(table.Locate("FId", 3));
  EXPECT_TRUE(table.Locate("FId", std::string("1")));
  EXPECT_FALSE(table.Locate("FId", std::string("one")));
}

TEST_F(TableTest, LongTextDoesNotLocateItsCutCopy) {
  AddRows({{1, "abcdefghXYZ", 0}});
  EXPECT_FALSE(table.Locate("FName", std::string("abcdefghXYZ")));
  EXPECT_TRUE(table.Locate("FName", std::string("abcdefgh")));
}

TEST_F(TableTest, FilterShowsOnlyMatchingRowsUntilSwitchedOff) {
  AddRows({{1, "a", 0}, {2, "b", 1}, {3, "c", 1}, {4, "d", 0}});
  table.SetFilter("FParentId=1");
  EXPECT_EQ(table.RecordCount(), 4) << "the text alone does not filter";
  table.SetFiltered(true);
  EXPECT_EQ(Ids(), (std::vector<int>{2, 3}));
  table.SetFilter("FParentId=0");
  EXPECT_EQ(Ids(), (std::vector<int>{1, 4}));
  table.SetFiltered(false);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3, 4}));
  table.SetFilter("FParentId=x");
  EXPECT_THROW(table.SetFiltered(true), EDataSetError);
  EXPECT_FALSE(table.Filtered());
  EXPECT_EQ(table.RecordCount(), 4);
}

TEST_F(TableTest, ARecordFilterWorksBesideTheFilterTextAndBookmarksFindTheirRow) {
  AddRows({{1, "apple", 0}, {2, "banana", 1}, {3, "cherry", 1}, {4, "apricot", 0}});
  table.SetFilter("FParentId=1");
  table.SetFiltered(true);
  table.SetRecordFilter([](const TRecord& row) { return std::get<std::string>(row[1]).find('a') != std::string::npos; });
  EXPECT_EQ(Ids(), (std::vector<int>{2})) << "both filters hold";
  table.SetFiltered(false);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 4}));
  // A row found under one view is found again under another.
  table.Locate("FId", 4);
  const TClientDataSet::TBookmark mark = table.GetBookmark();
  table.SetRecordFilter(nullptr);
  EXPECT_FALSE(table.HasRecordFilter());
  EXPECT_EQ(table.RecNo(), 1) << "a new view starts at its first row";
  EXPECT_TRUE(table.GotoBookmark(mark));
  EXPECT_EQ(table.Fields(0).AsInteger(), 4);
  table.SetFilter("FParentId=1");
  table.SetFiltered(true);
  EXPECT_FALSE(table.GotoBookmark(mark)) << "not visible now";
  EXPECT_FALSE(table.GotoBookmark(nullptr));
  // Changing the view posts a pending edit first.
  table.First();
  table.Edit();
  table.Fields(1).SetAsString("bb");
  table.SetRecordFilter([](const TRecord&) { return true; });
  EXPECT_EQ(table.State(), TDataSetState::Browse);
  EXPECT_TRUE(table.Locate("FName", std::string("bb")));
}

TEST_F(TableTest, DeletingUnderAFilterEmptiesOnlyTheFilteredRows) {
  AddRows({{1, "a", 5}, {2, "b", 6}, {3, "c", 5}, {4, "d", 5}});
  table.SetFilter("FParentId=5");
  table.SetFiltered(true);
  while (!table.Eof()) table.Delete();
  table.SetFiltered(false);
  EXPECT_EQ(Ids(), (std::vector<int>{2}));
}

TEST_F(TableTest, AppendUnderAFilterKeepsTheNewRowVisible) {
  AddRows({{1, "a", 5}, {2, "b", 6}});
  table.SetFilter("FParentId=5");
  table.SetFiltered(true);
  table.AppendRecord({3, std::string("c"), 5});
  EXPECT_EQ(table.Fields(0).AsInteger(), 3);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 3}));
  table.SetFiltered(false);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));
}

TEST_F(TableTest, TemporarySortOrderAndItsRestoration) {
  AddRows({{5, "e", 2}, {1, "a", 0}, {4, "d", 2}, {2, "b", 0}, {3, "c", 1}});
  const std::string before = table.IndexFieldNames();
  table.SetIndexFieldNames("FParentId;FId");
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3, 4, 5}));
  table.SetIndexFieldNames(before);
  EXPECT_EQ(Ids(), (std::vector<int>{5, 1, 4, 2, 3})) << "table order comes back";
  EXPECT_THROW(table.SetIndexFieldNames("FParentId;Nope"), EDataSetError);
  EXPECT_EQ(table.IndexFieldNames(), before);
}

TEST_F(TableTest, InsertInASortedViewLandsInTableOrderBeforeTheCurrentRow) {
  AddRows({{3, "c", 0}, {1, "a", 0}, {2, "b", 0}});
  table.SetIndexFieldNames("FId");
  table.Locate("FId", 2); // third row in table order
  table.InsertRecord({0, std::string("z"), 0});
  EXPECT_EQ(table.Fields(0).AsInteger(), 0);
  table.SetIndexFieldNames("");
  EXPECT_EQ(Ids(), (std::vector<int>{3, 1, 0, 2}));
}

TEST_F(TableTest, AfterInsertRunsBeforeTheUserEntersValues) {
  int calls = 0;
  table.AfterInsert = [&calls](TClientDataSet& t) {
    ++calls;
    t.FieldByName("FParentId").SetAsInteger(77);
  };
  table.Append();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(table.FieldByName("FParentId").AsInteger(), 77);
  table.FieldByName("FId").SetAsInteger(1);
  table.Post();
  table.Insert();
  EXPECT_EQ(calls, 2);
  table.Cancel();
}

TEST_F(TableTest, ObserversHearStateScrollAndChanges) {
  EventLog log;
  table.AddObserver(&log);
  AddRows({{1, "a", 0}, {2, "b", 0}});
  table.First();
  table.Next();
  table.Edit();
  table.FieldByName("FName").SetAsString("x");
  table.Post();
  table.RemoveObserver(&log);
  table.Delete();
  EXPECT_GE(log.Count(TDataEvent::StateChange), 6);
  EXPECT_GE(log.Count(TDataEvent::Scroll), 2);
  EXPECT_EQ(log.Count(TDataEvent::RecordChange), 7) << "three values per append, one edit";
  EXPECT_EQ(log.Count(TDataEvent::DataSetChange), 3) << "two appends and one post; nothing after removal";
}

TEST_F(TableTest, NavigatingPostsAPendingEdit) {
  AddRows({{1, "a", 0}, {2, "b", 0}});
  table.First();
  table.Edit();
  table.FieldByName("FName").SetAsString("typed");
  table.Next();
  table.First();
  EXPECT_EQ(table.FieldByName("FName").AsString(), "typed");
}

TEST_F(TableTest, ClosedTableRefusesWorkAndCreateNeedsColumns) {
  table.Close();
  EXPECT_FALSE(table.Active());
  EXPECT_THROW(table.First(), EDataSetError);
  EXPECT_THROW(table.Append(), EDataSetError);
  TMemoryStream stream;
  EXPECT_THROW(table.SaveToStream(stream), EDataSetError);
  TClientDataSet bare;
  EXPECT_THROW(bare.CreateDataSet(), EDataSetError);
}

TEST_F(TableTest, StreamFormKeepsColumnsRowsNullsAndLeavesTrailingBytes) {
  AddRows({{1, "a", 0}, {2, "", 1}});
  table.Append();
  table.FieldByName("FId").SetAsInteger(3);
  table.FieldByName("FParentId").SetAsInteger(-2147483647 - 1);
  table.Post();

  TMemoryStream stream;
  stream.Write("HEAD");
  table.SaveToStream(stream);
  const std::size_t imageEnd = stream.Position();
  stream.Write("TAIL-BYTES");
  stream.SetPosition(4);

  TClientDataSet copy;
  copy.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), imageEnd) << "the image knows its own length";
  ASSERT_EQ(copy.FieldDefs().size(), 3u);
  EXPECT_EQ(copy.FieldDefs()[1].Size, 8);
  EXPECT_TRUE(copy.FieldDefs()[0].Required);
  EXPECT_FALSE(copy.FieldDefs()[1].Required);
  copy.Last();
  EXPECT_TRUE(copy.FieldByName("FName").IsNull());
  EXPECT_EQ(copy.FieldByName("FParentId").AsInteger(), -2147483647 - 1);
  copy.Prior();
  EXPECT_FALSE(copy.FieldByName("FName").IsNull()) << "empty text is not null";
  EXPECT_EQ(copy.RecordCount(), 3);
}

TEST_F(TableTest, LoadingReplacesColumnsAndKeepsAFittingFilter) {
  AddRows({{1, "a", 0}, {2, "b", 1}});
  TMemoryStream stream;
  table.SaveToStream(stream);

  TClientDataSet other;
  other.AddFieldDef("X", TFieldType::String, 3, false);
  other.CreateDataSet();
  other.SetFilter("FParentId=1");
  stream.SetPosition(0);
  other.LoadFromStream(stream);
  EXPECT_EQ(other.FieldCount(), 3);
  EXPECT_EQ(other.RecordCount(), 2) << "filtering was off";
  other.SetFiltered(true);
  EXPECT_EQ(other.RecordCount(), 1);
}

// Every way a stored image can be damaged must fail the load cleanly,
// never crash, and leave the table closed.
TEST_F(TableTest, DamagedImagesFailCleanly) {
  AddRows({{1, "alpha", 0}, {2, "beta", 1}, {3, "gamma", 1}});
  TMemoryStream stream;
  table.SaveToStream(stream);
  const std::string image = stream.Bytes();

  auto fails = [](const std::string& bytes) {
    TMemoryStream damaged(bytes);
    TClientDataSet target;
    try {
      target.LoadFromStream(damaged);
    } catch (const EDataSetError&) {
      return !target.Active() && damaged.Position() == 0;
    }
    return false;
  };
  EXPECT_TRUE(fails(""));
  EXPECT_TRUE(fails("XXXX" + image.substr(4)));
  for (std::size_t n = 0; n < image.size(); ++n) EXPECT_TRUE(fails(image.substr(0, n))) << "cut at " << n;
  for (std::size_t byte = 0; byte < image.size(); ++byte)
    for (int bit = 0; bit < 8; ++bit) {
      std::string flipped = image;
      flipped[byte] = static_cast<char>(flipped[byte] ^ (1 << bit));
      EXPECT_TRUE(fails(flipped)) << "bit " << bit << " of byte " << byte;
    }
}

TEST(TableImage, StructuralLiesAreRefusedEvenWithAGoodChecksum) {
  // Build images by hand with a valid checksum but impossible content.
  auto image = [](const std::vector<TFieldDef>& defs, const std::vector<TRecord>& rows) {
    std::vector<const TRecord*> pointers;
    for (const auto& row : rows) pointers.push_back(&row);
    return EncodeTableImage(defs, pointers);
  };
  auto decodes = [](const std::string& bytes) {
    TMemoryStream stream(bytes);
    try {
      DecodeTableImage(stream);
      return true;
    } catch (const EDataSetError&) {
      return false;
    }
  };
  const TFieldDef id{"FId", TFieldType::Integer, 0, true};
  const TFieldDef name{"FName", TFieldType::String, 4, false};
  EXPECT_TRUE(decodes(image({id, name}, {{1, std::string("abcd")}})));
  EXPECT_FALSE(decodes(image({id, name}, {{1, std::string("abcde")}}))) << "text longer than its column";
  EXPECT_FALSE(decodes(image({id, name}, {{TFieldValue{}, std::string("a")}}))) << "required value missing";
  EXPECT_FALSE(decodes(image({id, id}, {}))) << "duplicate column names";
  EXPECT_FALSE(decodes(image({}, {}))) << "no columns";
  EXPECT_FALSE(decodes(image({{"", TFieldType::Integer, 0, false}}, {}))) << "nameless column";
  EXPECT_FALSE(decodes(image({{"S", TFieldType::String, 0, false}}, {}))) << "zero-size text column";
}

namespace {

// The stored form written field by field, as documented beside the format:
// what every image must still equal byte for byte.
std::string PlainImage(const std::vector<TFieldDef>& defs, const std::vector<TRecord>& rows) {
  std::string body;
  auto u8 = [&](unsigned v) { body.push_back(static_cast<char>(v)); };
  auto u16 = [&](unsigned v) { u8(v & 0xFF), u8((v >> 8) & 0xFF); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  u16(static_cast<unsigned>(defs.size()));
  for (const TFieldDef& def : defs) {
    u8(static_cast<unsigned>(def.Name.size()));
    body += def.Name;
    u8(static_cast<unsigned>(def.DataType));
    u16(static_cast<unsigned>(def.Size));
    u8(def.Required);
  }
  u32(static_cast<std::uint32_t>(rows.size()));
  for (const TRecord& row : rows)
    for (const TFieldValue& value : row) {
      if (std::holds_alternative<std::monostate>(value)) {
        u8(0);
      } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
        u8(1), u32(static_cast<std::uint32_t>(*number));
      } else {
        const auto& text = std::get<std::string>(value);
        u8(1), u16(static_cast<unsigned>(text.size()));
        body += text;
      }
    }
  std::string image = "PLTB";
  body.swap(image);
  u16(1), u16(0), u32(static_cast<std::uint32_t>(image.size()));
  body += image;
  u32(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
  return body;
}

std::string Hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char c : bytes) hex += {kDigits[c >> 4], kDigits[c & 15]};
  return hex;
}

} // namespace

TEST(TableImage, ImagesAreByteForByteTheDocumentedForm) {
  const std::vector<TFieldDef> defs = {{"FId", TFieldType::Integer, 0, true},
                                       {"FName", TFieldType::String, 8, false},
                                       {"FNum", TFieldType::Integer, 0, false}};
  std::vector<TRecord> rows = {{1, std::string("abc"), TFieldValue{}},
                               {-7, std::string(""), 65536},
                               {2147483647, std::string("zz\xff"), -2147483647 - 1}};
  std::vector<const TRecord*> pointers;
  for (const auto& row : rows) pointers.push_back(&row);
  // The image files written so far hold exactly these bytes for this table.
  EXPECT_EQ(Hex(EncodeTableImage(defs, pointers)),
            "504c5442010000004a0000000300034649640200000105464e616d650108000004464e756d02000000030000000101000000"
            "0103006162630001f9ffffff010000010000010001ffffff7f0103007a7aff0100000080b9830778");

  // Many rows of every kind of value, long and short texts.
  std::mt19937 random(7);
  rows.clear();
  for (int r = 0; r < 5000; ++r) {
    const auto length = random() % 9;
    rows.push_back({static_cast<std::int32_t>(random()), std::string(length, static_cast<char>('a' + r % 26)),
                    r % 4 ? TFieldValue{static_cast<std::int32_t>(random())} : TFieldValue{}});
  }
  pointers.clear();
  for (const auto& row : rows) pointers.push_back(&row);
  const std::string image = EncodeTableImage(defs, pointers);
  ASSERT_EQ(image, PlainImage(defs, rows));

  TMemoryStream stream("prefix" + image + "suffix");
  stream.SetPosition(6);
  const TableImage decoded = DecodeTableImage(stream);
  EXPECT_EQ(stream.Position(), 6 + image.size());
  ASSERT_EQ(decoded.rows.size(), rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) ASSERT_EQ(UnpackRow(*decoded.rows[r], defs), rows[r]) << "row " << r;
}

TEST_F(TableTest, FilesHoldTheImageOfTheTableInTableOrder) {
  AddRows({{3, "gamma", 1}, {1, "alpha", 0}, {2, "beta", 1}});
  table.SetIndexFieldNames("FId"); // a sort order is not stored
  const std::string path = (std::filesystem::temp_directory_path() / "plimet-table-image-test.cds").string();
  table.SaveToFile(path);
  TMemoryStream stream;
  table.SaveToStream(stream);
  std::string written;
  {
    std::ifstream file(path, std::ios::binary);
    written.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } // closed: on Windows an open file cannot be removed
  EXPECT_EQ(written, stream.Bytes());
  EXPECT_EQ(written, PlainImage(table.FieldDefs(), {{3, std::string("gamma"), 1}, {1, std::string("alpha"), 0},
                                                   {2, std::string("beta"), 1}}));
  TClientDataSet loaded;
  loaded.LoadFromFile(path);
  std::filesystem::remove(path);
  std::vector<int> ids;
  for (loaded.First(); !loaded.Eof(); loaded.Next()) ids.push_back(loaded.Fields(0).AsInteger());
  EXPECT_EQ(ids, (std::vector<int>{3, 1, 2}));
}
