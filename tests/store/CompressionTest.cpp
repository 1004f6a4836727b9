#include "store/Compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

namespace {

std::string RandomText(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string text(size, '\0');
  for (char& c : text) c = static_cast<char>("abcdefgh \n\xe9\xff"[random() % 11]);
  return text;
}

std::string LengthPrefix(std::uint64_t n) {
  std::string prefix(8, '\0');
  for (int i = 0; i < 8; ++i) prefix[static_cast<std::size_t>(i)] = static_cast<char>(n >> (8 * i));
  return prefix;
}

std::string Zlib(const std::string& data, int level = Z_DEFAULT_COMPRESSION) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uLong>(data.size()), level);
  out.resize(size);
  return out;
}

bool Refused(const std::string& bytes) {
  TMemoryStream stream(bytes);
  try {
    DecompressStream(stream);
  } catch (const ECompressionError&) {
    return stream.Bytes() == bytes; // left as it was
  }
  return false;
}

} // namespace

TEST(CompressStream, RoundTripsAndWritesTheLayout) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{1000}, std::size_t{300000}}) {
    const std::string original = RandomText(size, static_cast<unsigned>(size));
    TMemoryStream stream(original);
    stream.SetPosition(size / 2);
    ASSERT_TRUE(CompressStream(stream, 0));
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_EQ(stream.Bytes().substr(0, 8), LengthPrefix(size));
    EXPECT_EQ(stream.Bytes().substr(8), Zlib(original)) << "one zlib stream at the default level";
    ASSERT_TRUE(DecompressStream(stream));
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_EQ(stream.Bytes(), original);
  }
}

TEST(CompressStream, LevelsMapToZlibLevels) {
  const std::string text = RandomText(50000, 7);
  for (const auto& [level, zlibLevel] : {std::pair{1, 1}, std::pair{3, 9}, std::pair{2, Z_DEFAULT_COMPRESSION}}) {
    TMemoryStream stream(text);
    CompressStream(stream, level);
    EXPECT_EQ(stream.Bytes().substr(8), Zlib(text, zlibLevel)) << "level " << level;
  }
}

TEST(DecompressStream, EmptyStreamIsLeftAlone) {
  TMemoryStream stream;
  EXPECT_FALSE(DecompressStream(stream));
  EXPECT_EQ(stream.Size(), 0u);
}

TEST(DecompressStream, DamagedDataIsRefusedWithoutCrashing) {
  const std::string text = RandomText(5000, 3);
  const std::string good = LengthPrefix(text.size()) + Zlib(text);
  EXPECT_TRUE(Refused(good.substr(0, 5))) << "shorter than the length";
  EXPECT_TRUE(Refused(LengthPrefix(text.size() + 1) + Zlib(text))) << "length promises more than there is";
  EXPECT_TRUE(Refused(LengthPrefix(text.size() - 1) + Zlib(text))) << "more data than the length";
  EXPECT_TRUE(Refused(LengthPrefix(std::uint64_t{1} << 40) + Zlib(text))) << "absurd length";
  EXPECT_TRUE(Refused(LengthPrefix(300u << 20) + Zlib(text))) << "above the limit";
  EXPECT_TRUE(Refused(LengthPrefix(200u << 20) + Zlib(text))) << "more than the data could ever inflate to";
  EXPECT_TRUE(Refused(LengthPrefix(4) + "not zlib at all"));
  for (std::size_t n = 8; n < good.size(); n += 7) EXPECT_TRUE(Refused(good.substr(0, n))) << "cut at " << n;
  std::mt19937 random(11);
  int refused = 0;
  for (int round = 0; round < 300; ++round) {
    std::string flipped = good;
    const std::size_t at = 8 + random() % (good.size() - 8);
    flipped[at] = static_cast<char>(flipped[at] ^ (1 << (random() % 8)));
    TMemoryStream stream(flipped);
    try {
      DecompressStream(stream);
      EXPECT_EQ(stream.Size(), text.size());
    } catch (const ECompressionError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 250) << "the Adler-32 trailer catches nearly every flip";
}
