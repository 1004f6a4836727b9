#include "skin/SkinInflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "support/SkinArchiveBuilder.h"

namespace {

class BytesSource final : public IInflateSource {
public:
  explicit BytesSource(const std::string& data, std::size_t piece = SIZE_MAX) : data_(data), piece_(piece) {}
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, piece_, data_.size() - at_});
    std::memcpy(buffer, data_.data() + at_, n);
    at_ += n;
    return n;
  }

private:
  const std::string& data_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

class BytesSink final : public IInflateSink {
public:
  void Write(const std::uint8_t* data, std::size_t size) override {
    out.append(reinterpret_cast<const char*>(data), size);
    ++writes;
  }
  std::string out;
  int writes = 0;
};

std::string Inflate(const std::string& compressed, std::uint64_t limit = UINT64_MAX, std::size_t piece = SIZE_MAX) {
  BytesSource source(compressed, piece);
  BytesSink sink;
  TInflater inflater(source, sink, limit);
  inflater.Run();
  EXPECT_EQ(inflater.Produced(), sink.out.size());
  return sink.out;
}

bool Refused(const std::string& compressed) {
  try {
    Inflate(compressed, 1 << 24);
  } catch (const EInflateError&) {
    return true;
  }
  return false;
}

std::string Text(std::size_t size, unsigned seed) {
  static const char* words[] = {"catalog ", "folder ", "file ", "Plimet ", "skin ", "password ", "the ", "a ",
                                "of ",      "and ",    "\n",    "0123 ",   "deep ", "cyan "};
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size) text += words[random() % 14];
  text.resize(size);
  return text;
}

std::string Random(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// Raw deflate of several parts, each with its own level and strategy, so
// one stream mixes stored, fixed and dynamic blocks.
std::string MixedStream(const std::vector<std::tuple<std::string, int, int>>& parts) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out;
  char buffer[65536];
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto& [data, level, strategy] = parts[i];
    deflateParams(&z, level, strategy);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    int flush = i + 1 == parts.size() ? Z_FINISH : Z_FULL_FLUSH;
    int result;
    do {
      z.next_out = reinterpret_cast<Bytef*>(buffer);
      z.avail_out = sizeof buffer;
      result = deflate(&z, flush);
      out.append(buffer, sizeof buffer - z.avail_out);
    } while (z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
  }
  deflateEnd(&z);
  return out;
}

// Writes deflate bits least significant first, for hand-made streams.
class BitWriter {
public:
  void Put(std::uint32_t value, int bits) {
    for (int i = 0; i < bits; ++i) {
      if (count_ % 8 == 0) out.push_back(0);
      if (value & (1u << i)) out.back() = static_cast<char>(out.back() | (1 << (count_ % 8)));
      ++count_;
    }
  }
  // Huffman codes go most significant bit first.
  void Code(std::uint32_t code, int bits) {
    for (int i = bits - 1; i >= 0; --i) Put((code >> i) & 1, 1);
  }
  std::string out;

private:
  int count_ = 0;
};

// Fixed-code helpers: literal/length symbol codes of the fixed tree.
void FixedSymbol(BitWriter& w, int symbol) {
  if (symbol < 144) w.Code(0x30 + symbol, 8);
  else if (symbol < 256) w.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280) w.Code(symbol - 256, 7);
  else w.Code(0xC0 + symbol - 280, 8);
}

} // namespace

TEST(Inflater, MatchesZlibOnEveryLevelAndStrategy) {
  const std::string text = Text(200000, 1);
  const std::string random = Random(70000, 2);
  for (const std::string* data : {&text, &random})
    for (int level = 0; level <= 9; ++level)
      for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
        const std::string compressed = RawDeflate(*data, level, strategy);
        ASSERT_EQ(Inflate(compressed), *data) << "level " << level << " strategy " << strategy;
      }
}

TEST(Inflater, StoredFixedAndDynamicBlocksInOneStream) {
  const std::string a = Text(3000, 3), b = Text(5000, 4), c = Random(2000, 5), d = Text(90000, 6);
  const std::string mixed = MixedStream({{a, 0, Z_DEFAULT_STRATEGY},
                                         {b, 6, Z_FIXED},
                                         {c, 9, Z_DEFAULT_STRATEGY},
                                         {d, 1, Z_HUFFMAN_ONLY},
                                         {a, 0, Z_DEFAULT_STRATEGY}});
  EXPECT_EQ(Inflate(mixed), a + b + c + d + a);
  EXPECT_EQ(Inflate(mixed, UINT64_MAX, 7), a + b + c + d + a) << "input arriving in small pieces";
}

TEST(Inflater, EmptyInputAndLongRunsAndLargeOutputs) {
  EXPECT_EQ(Inflate(RawDeflate("", 6)), "");
  EXPECT_EQ(Inflate(RawDeflate("", 0)), "");

  // A distance-1, length-258 match repeats one byte 258 times.
  BitWriter w;
  w.Put(1, 1);
  w.Put(1, 2);
  FixedSymbol(w, 'x');
  FixedSymbol(w, 285);
  w.Code(0, 5); // distance code 0: distance 1
  FixedSymbol(w, 256);
  EXPECT_EQ(Inflate(w.out), std::string(259, 'x'));

  // Above 64 KiB and above 1 MiB, matches reaching back across the 32 KiB flush.
  for (const std::size_t size : {std::size_t{70000}, std::size_t{3u << 20}}) {
    std::string data = Random(40000, 7);
    while (data.size() < size) data += data.substr(data.size() - 32768, 20000) + Text(3000, static_cast<unsigned>(data.size()));
    data.resize(size);
    const std::string compressed = RawDeflate(data, 9);
    BytesSource in(compressed);
    BytesSink sink;
    TInflater(in, sink).Run();
    ASSERT_EQ(sink.out, data);
    EXPECT_GE(sink.writes, static_cast<int>(size / 32768)) << "written out 32 KiB at a time";
  }
}

TEST(Inflater, OutputBeyondTheLimitIsRefused) {
  const std::string data = Text(10000, 8);
  EXPECT_EQ(Inflate(RawDeflate(data, 6), data.size()), data);
  EXPECT_THROW(Inflate(RawDeflate(data, 6), data.size() - 1), EInflateError);
  EXPECT_THROW(Inflate(RawDeflate(data, 0), 100), EInflateError);
}

TEST(Inflater, MalformedStreamsFailCleanly) {
  auto fixed = [](auto&& body) {
    BitWriter w;
    w.Put(1, 1);
    w.Put(1, 2);
    body(w);
    return w.out;
  };
  EXPECT_TRUE(Refused(fixed([](BitWriter& w) { FixedSymbol(w, 257); w.Code(0, 5); FixedSymbol(w, 256); })))
      << "distance before the start";
  EXPECT_TRUE(Refused(fixed([](BitWriter& w) {
    for (int i = 0; i < 10; ++i) FixedSymbol(w, 'a');
    FixedSymbol(w, 257);
    w.Code(30, 5);
    FixedSymbol(w, 256);
  }))) << "distance code 30";
  EXPECT_TRUE(Refused(fixed([](BitWriter& w) {
    FixedSymbol(w, 'a');
    FixedSymbol(w, 286);
  }))) << "length symbol 286";
  {
    BitWriter w; // reserved block type
    w.Put(1, 1);
    w.Put(3, 2);
    EXPECT_TRUE(Refused(w.out));
  }
  {
    BitWriter w; // dynamic header with HLIT 287
    w.Put(1, 1);
    w.Put(2, 2);
    w.Put(30, 5);
    w.Put(0, 5);
    w.Put(0, 4);
    EXPECT_TRUE(Refused(w.out));
  }
  {
    BitWriter w; // code length code set over-subscribed: three codes of length 1
    w.Put(1, 1);
    w.Put(2, 2);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 4);
    w.Put(1, 3);
    w.Put(1, 3);
    w.Put(1, 3);
    w.Put(0, 3);
    EXPECT_TRUE(Refused(w.out));
  }
  {
    BitWriter w; // code lengths: a repeat with no previous length
    w.Put(1, 1);
    w.Put(2, 2);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 4); // four code length codes: 16, 17, 18, 0
    w.Put(1, 3);
    w.Put(1, 3);
    w.Put(0, 3);
    w.Put(0, 3);
    w.Code(0, 1); // symbol 16 first
    w.Put(0, 2);
    EXPECT_TRUE(Refused(w.out));
  }
  EXPECT_TRUE(Refused("")) << "no data at all";
  EXPECT_TRUE(Refused(std::string(1, '\x04'))) << "a dynamic block cut short";
  // A stored block that claims more than there is.
  EXPECT_TRUE(Refused(std::string("\x01\xff\x7f\x00\x80", 5) + "abc"));
}

TEST(Inflater, DamagedStreamsNeverReadOrWriteOutOfBounds) {
  const std::string data = Text(20000, 9) + Random(3000, 10);
  const std::string good = RawDeflate(data, 9);
  std::mt19937 random(11);
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bad = good;
    for (int flips = 1 + round % 3; flips > 0; --flips) {
      const std::size_t at = random() % bad.size();
      bad[at] = static_cast<char>(bad[at] ^ (1 << (random() % 8)));
    }
    if (round % 5 == 0) bad.resize(random() % bad.size());
    refused += Refused(bad);
  }
  EXPECT_GT(refused, 0);
}

TEST(HuffmanTree, OneLookupPerSymbolWithPackedEntries) {
  // Lengths 2, 1, 3, 3 give the canonical codes 10, 0, 110, 111.
  const std::uint8_t lengths[4] = {2, 1, 3, 3};
  const std::uint8_t extra[2] = {5, 7}; // for symbols 2 and 3
  THuffmanTree tree(15);
  tree.Build(lengths, 0, 4, 2, extra);
  EXPECT_EQ(tree.LongestLength(), 3);
  // Codes are read least significant bit first: "10" is the pattern 0b01.
  EXPECT_EQ(tree.Lookup(0b001), 0x00020000u | 0);
  EXPECT_EQ(tree.Lookup(0b000), 0x00010000u | 1);
  EXPECT_EQ(tree.Lookup(0b110), 0x00010000u | 1) << "every index ending in the code";
  EXPECT_EQ(tree.Lookup(0b011), 0x05030000u | 2);
  EXPECT_EQ(tree.Lookup(0b111), 0x07030000u | 3);
  const std::uint8_t over[3] = {1, 1, 1};
  EXPECT_THROW(tree.Build(over, 0, 3, 3, nullptr), EInflateError);
  const std::uint8_t incomplete[3] = {2, 2, 0};
  EXPECT_THROW(tree.Build(incomplete, 0, 3, 3, nullptr), EInflateError);
  const std::uint8_t single[2] = {0, 1};
  EXPECT_NO_THROW(tree.Build(single, 0, 2, 2, nullptr));
  EXPECT_EQ(tree.Lookup(1), THuffmanTree::kNoCode) << "unused half of a single code";
}
