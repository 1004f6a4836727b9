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

// The decoder written the plain way, one symbol and one check at a time,
// with the input taken in 32-bit words and zero words past its end as the
// archive reader's decoder takes it: the fast decoder must give the same
// bytes and refuse the same streams.
class PlainInflater {
public:
  PlainInflater(const std::string& in, std::uint64_t limit) : in_(in), limit_(limit) {}

  std::string Run() {
    for (;;) {
      const std::uint32_t final = Take(1);
      const std::uint32_t type = Take(2);
      if (type == 0) {
        Stored();
      } else if (type == 1) {
        static const Fixed fixed;
        Codes(fixed.lengths, fixed.distances);
      } else if (type == 2) {
        Dynamic();
      } else {
        throw EInflateError("reserved");
      }
      if (final) return out_;
    }
  }

private:
  struct Fixed {
    THuffmanTree lengths{15}, distances{15};
    Fixed() {
      std::uint8_t l[288], d[32];
      std::fill(l, l + 144, 8), std::fill(l + 144, l + 256, 9), std::fill(l + 256, l + 280, 7);
      std::fill(l + 280, l + 288, 8), std::fill(d, d + 32, 5);
      lengths.Build(l, 0, 288, 257, kLengthExtra);
      distances.Build(d, 0, 32, 0, kDistanceExtra);
    }
  };
  static constexpr std::uint8_t kLengthExtra[31] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                                    3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0};
  static constexpr std::uint8_t kDistanceExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,  6,
                                                      7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

  // Below 32 bits, whole words up to more than 32; past the end, the last
  // bytes padded to a word and then zero words, refused after the third.
  void Need() {
    if (count_ >= 32) return;
    while (count_ <= 32) {
      std::uint64_t word = 0;
      const std::size_t left = in_.size() - at_;
      if (left == 0 && ++padding_ > 3) throw EInflateError("end of data");
      for (std::size_t i = 0; i < 4 && i < left; ++i)
        word |= std::uint64_t{static_cast<std::uint8_t>(in_[at_ + i])} << (8 * i);
      at_ += std::min<std::size_t>(4, left);
      bits_ |= word << count_;
      count_ += 32;
    }
  }
  std::uint32_t Peek(int n) const { return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1)); }
  void Drop(int n) { bits_ >>= n, count_ -= n; }
  std::uint32_t Take(int n) {
    Need();
    const std::uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  void Room(std::uint64_t n) const {
    if (out_.size() + n > limit_) throw EInflateError("too much");
  }
  void Stored() {
    Drop(count_ % 8);
    std::uint32_t left = Take(32) & 0xFFFF;
    Room(left);
    for (; left > 0 && count_ >= 8; --left) out_.push_back(static_cast<char>(Take(8)));
    if (left > in_.size() - at_) throw EInflateError("end of data");
    out_.append(in_, at_, left);
    at_ += left;
  }
  void Dynamic() {
    static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int literals = static_cast<int>(Take(5)) + 257, distances = static_cast<int>(Take(5)) + 1;
    const int codeLengthCodes = static_cast<int>(Take(4)) + 4;
    if (literals > 286 || distances > 30) throw EInflateError("header");
    std::uint8_t codeLengths[19] = {};
    for (int i = 0; i < codeLengthCodes; ++i) codeLengths[kOrder[i]] = static_cast<std::uint8_t>(Take(3));
    THuffmanTree codeTree(7);
    codeTree.Build(codeLengths, 0, 19, 65535, nullptr);
    std::uint8_t lengths[316] = {};
    const int total = literals + distances;
    for (int i = 0; i < total;) {
      Need();
      const std::uint32_t entry = codeTree.Lookup(Peek(codeTree.LongestLength()));
      if (entry == THuffmanTree::kNoCode) throw EInflateError("code length code");
      Drop(static_cast<int>((entry >> 16) & 0xFF));
      const int symbol = static_cast<int>(entry & 0xFFFF);
      if (symbol < 16) {
        lengths[i++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      if (symbol == 16 && i == 0) throw EInflateError("repeat");
      const std::uint8_t value = symbol == 16 ? lengths[i - 1] : 0;
      const int repeat = symbol == 16 ? 3 + static_cast<int>(Take(2))
                                      : (symbol == 17 ? 3 + static_cast<int>(Take(3)) : 11 + static_cast<int>(Take(7)));
      if (i + repeat > total) throw EInflateError("too many");
      std::fill(lengths + i, lengths + i + repeat, value);
      i += repeat;
    }
    if (lengths[256] == 0) throw EInflateError("no end");
    THuffmanTree literalTree(15), distanceTree(15);
    literalTree.Build(lengths, 0, literals, 257, kLengthExtra);
    distanceTree.Build(lengths, literals, distances, 0, kDistanceExtra);
    Codes(literalTree, distanceTree);
  }
  void Codes(const THuffmanTree& lengths, const THuffmanTree& distances) {
    static constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::uint32_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    for (;;) {
      Need();
      const std::uint32_t entry = lengths.Lookup(Peek(lengths.LongestLength()));
      const std::uint32_t symbol = entry & 0xFFFF;
      const int length = static_cast<int>((entry >> 16) & 0xFF), extra = static_cast<int>(entry >> 24);
      if (symbol < 256) {
        Drop(length);
        Room(1);
        out_.push_back(static_cast<char>(symbol));
        continue;
      }
      if (symbol == 256) return Drop(length);
      if (entry == THuffmanTree::kNoCode || symbol > 285) throw EInflateError("literal/length");
      const std::uint32_t size = kLengthBase[symbol - 257] + (static_cast<std::uint32_t>(bits_ >> length) & ((1u << extra) - 1));
      Drop(length + extra);
      Need();
      const std::uint32_t d = distances.Lookup(Peek(distances.LongestLength()));
      if (d == THuffmanTree::kNoCode || (d & 0xFFFF) >= 30) throw EInflateError("distance code");
      const int dLength = static_cast<int>((d >> 16) & 0xFF), dExtra = static_cast<int>(d >> 24);
      const std::uint32_t distance = kDistanceBase[d & 0xFFFF] + (static_cast<std::uint32_t>(bits_ >> dLength) & ((1u << dExtra) - 1));
      Drop(dLength + dExtra);
      if (distance > out_.size()) throw EInflateError("distance");
      Room(size);
      for (std::uint32_t i = 0; i < size; ++i) out_.push_back(out_[out_.size() - distance]);
    }
  }

  const std::string& in_;
  std::uint64_t limit_;
  std::size_t at_ = 0;
  int padding_ = 0;
  std::uint64_t bits_ = 0;
  int count_ = 0;
  std::string out_;
};

// What a decoder makes of a stream: its output, or that it refused it.
template <typename Decode>
std::string Verdict(Decode decode) {
  try {
    return "accepted " + decode();
  } catch (const EInflateError&) {
    return "refused";
  }
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

TEST(Inflater, RefusesAndAcceptsDamagedStreamsAsThePlainDecoderDoes) {
  // Damage of every kind to streams of every block type: bit flips,
  // truncations, bytes appended, from small pieces of input at a time.
  const std::string text = Text(90000, 21), random = Random(5000, 22);
  const std::vector<std::string> goods = {
      RawDeflate(text, 9), RawDeflate(text, 1, Z_FIXED), RawDeflate(random, 0), RawDeflate(text, 6, Z_RLE),
      MixedStream({{text.substr(0, 20000), 0, Z_DEFAULT_STRATEGY}, {text.substr(0, 9000), 6, Z_FIXED},
                   {random, 9, Z_DEFAULT_STRATEGY}})};
  std::mt19937 damage(23);
  int refused = 0, accepted = 0;
  for (int round = 0; round < 1500; ++round) {
    const std::string& good = goods[round % goods.size()];
    std::string bad = good;
    if (round % 4 == 0) {
      bad.resize(damage() % bad.size());
    } else if (round % 4 == 1) {
      bad.resize(bad.size() - std::min<std::size_t>(bad.size(), 1 + damage() % 12));
    } else {
      for (int flips = 1 + round % 3; flips > 0; --flips) {
        const std::size_t at = damage() % bad.size();
        bad[at] = static_cast<char>(bad[at] ^ (1 << (damage() % 8)));
      }
    }
    const std::uint64_t limit = round % 7 == 0 ? text.size() / 2 : 1 << 24;
    const std::string plain = Verdict([&] { return PlainInflater(bad, limit).Run(); });
    const std::string fast = Verdict([&] { return Inflate(bad, limit, 1 + damage() % 20000); });
    ASSERT_EQ(fast, plain) << "round " << round;
    (plain == "refused" ? refused : accepted) += 1;
  }
  EXPECT_GT(refused, 500);
  EXPECT_GT(accepted, 50) << "some damage leaves a stream that still decodes";
}

TEST(Inflater, ShortRepeatsAcrossTheWindowFlush) {
  // Matches of every distance from 1 to 40 and every length, written across
  // the 64 KiB flush point many times; then a limit met inside a match.
  std::string data;
  std::mt19937 random(31);
  while (data.size() < 300000) {
    const std::string seed = Random(1 + random() % 40, random());
    for (std::size_t n = 3 + random() % 400; n > 0; n -= std::min<std::size_t>(n, seed.size())) data += seed;
  }
  for (const int strategy : {Z_DEFAULT_STRATEGY, Z_RLE, Z_FIXED}) {
    const std::string compressed = RawDeflate(data, 9, strategy);
    ASSERT_EQ(Inflate(compressed), data) << strategy;
    for (const std::uint64_t limit : {data.size() - 1, std::uint64_t{65536}, std::uint64_t{65537}, std::uint64_t{100000}})
      EXPECT_EQ(Verdict([&] { return Inflate(compressed, limit); }),
                Verdict([&] { return PlainInflater(compressed, limit).Run(); }))
          << "limit " << limit;
  }
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
