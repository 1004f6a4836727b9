#include "skin/SkinInflate.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
// Symbols 257-285; 285 is length 258 with no extra bits.
constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
// Symbols 286 and 287 exist only in the fixed tree and are refused when met.
constexpr std::uint8_t kLengthExtra[31] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                           3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0};
// Codes 30 and 31 are listed for completeness; no valid stream uses them.
constexpr std::uint32_t kDistanceBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                             49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                             2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::uint8_t kDistanceExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,  6,
                                             7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

struct BitReversal {
  std::uint8_t table[256];
  constexpr BitReversal() : table() {
    for (int i = 0; i < 256; ++i) {
      int r = 0;
      for (int b = 0; b < 8; ++b)
        if (i & (1 << b)) r |= 1 << (7 - b);
      table[i] = static_cast<std::uint8_t>(r);
    }
  }
};
constexpr BitReversal kReverse;

std::uint32_t Reverse(std::uint32_t code, int length) {
  const std::uint32_t reversed16 =
      (static_cast<std::uint32_t>(kReverse.table[code & 0xFF]) << 8) | kReverse.table[(code >> 8) & 0xFF];
  return reversed16 >> (16 - length);
}

[[noreturn]] void Fail(const char* what) { throw EInflateError(what); }

// The fixed code trees, built once per process.
struct FixedTrees {
  THuffmanTree lengths{15};
  THuffmanTree distances{15};
  FixedTrees() {
    std::uint8_t l[288];
    std::fill(l, l + 144, 8);
    std::fill(l + 144, l + 256, 9);
    std::fill(l + 256, l + 280, 7);
    std::fill(l + 280, l + 288, 8);
    lengths.Build(l, 0, 288, 257, kLengthExtra);
    std::uint8_t d[32];
    std::fill(d, d + 32, 5);
    distances.Build(d, 0, 32, 0, kDistanceExtra);
  }
};

const FixedTrees& Fixed() {
  static const FixedTrees trees;
  return trees;
}

} // namespace

THuffmanTree::THuffmanTree(int maxBits) : maxBits_(maxBits), table_(new std::uint32_t[1]{kNoCode}), capacity_(1) {}

void THuffmanTree::Build(const std::uint8_t* lengths, int first, int count, int plainLimit,
                         const std::uint8_t* extraBits) {
  int counts[16] = {};
  longest_ = 0;
  for (int i = 0; i < count; ++i) {
    const int length = lengths[first + i];
    if (length > maxBits_) Fail("code length too long");
    ++counts[length];
    longest_ = std::max(longest_, length);
  }
  counts[0] = 0;

  // Over-subscribed codes cannot be decoded; incomplete ones only as the
  // single 1-bit code a stream with one distance uses.
  int left = 1;
  int codes = 0;
  for (int length = 1; length <= maxBits_; ++length) {
    left = left * 2 - counts[length];
    codes += counts[length];
    if (left < 0) Fail("over-subscribed code");
  }
  if (left > 0 && codes > 0 && !(codes == 1 && counts[1] == 1)) Fail("incomplete code");

  const std::size_t size = std::size_t{1} << longest_;
  if (size > capacity_) {
    table_ = std::make_unique_for_overwrite<std::uint32_t[]>(size);
    capacity_ = size;
  }
  mask_ = static_cast<std::uint32_t>(size - 1);

  std::uint32_t next[16] = {};
  std::uint32_t code = 0;
  for (int bits = 0; bits < maxBits_; ++bits) {
    code = (code + static_cast<std::uint32_t>(counts[bits])) * 2;
    next[bits + 1] = code;
  }
  // The symbols by code length, each length in symbol order.
  int start[17] = {};
  for (int length = 1; length <= 15; ++length) start[length + 1] = start[length] + counts[length];
  std::uint16_t sorted[320];
  for (int symbol = 0; symbol < count; ++symbol)
    if (const int length = lengths[first + symbol]) sorted[start[length]++] = static_cast<std::uint16_t>(symbol);

  // The table grows one bit at a time: its first half is copied into the
  // second, so every shorter code fills all the entries it reaches, and the
  // codes of the new length go to their own entries. Entries no code
  // reaches keep the mark of the empty start.
  std::uint32_t* const table = table_.get();
  table[0] = kNoCode;
  std::size_t filled = 1;
  int at = 0;
  for (int length = 1; length <= longest_; ++length) {
    std::memcpy(table + filled, table, filled * sizeof *table);
    filled *= 2;
    for (const int end = at + counts[length]; at < end; ++at) {
      const int symbol = sorted[at];
      const std::uint32_t extra = symbol >= plainLimit ? extraBits[symbol - plainLimit] : 0;
      table[Reverse(next[length]++, length)] =
          static_cast<std::uint32_t>(symbol) | (static_cast<std::uint32_t>(length) << 16) | (extra << 24);
    }
  }
}

TInflater::TInflater(IInflateSource& source, IInflateSink& sink, std::uint64_t maxOutput)
    : source_(source),
      sink_(sink),
      maxOutput_(maxOutput),
      input_(std::make_unique_for_overwrite<std::uint8_t[]>(kInputSize)),
      window_(std::make_unique_for_overwrite<std::uint8_t[]>(kWindowSize + kCopySlack)) {}

void TInflater::Refill() {
  while (bitCount_ <= 32) {
    if (inEnd_ - inPos_ < 4) {
      // Move the unread tail to the front and fill the buffer again.
      const std::size_t tail = inEnd_ - inPos_;
      std::memmove(input_.get(), input_.get() + inPos_, tail);
      inPos_ = 0;
      inEnd_ = tail;
      while (!sourceDone_ && inEnd_ < kInputSize) {
        const std::size_t n = source_.Read(input_.get() + inEnd_, kInputSize - inEnd_);
        if (n == 0) sourceDone_ = true;
        inEnd_ += n;
      }
      if (inEnd_ - inPos_ < 4) {
        // Past the end: zero bytes to a whole word. Bits are only looked
        // ahead a little, so consuming several padding words means the data
        // ran out in the middle of a block.
        if (inEnd_ == inPos_ && ++paddingWords_ > 3) Fail("unexpected end of data");
        std::memset(input_.get() + inEnd_, 0, 4 - (inEnd_ - inPos_));
        inEnd_ = inPos_ + 4;
      }
    }
    std::uint32_t word;
    std::memcpy(&word, input_.get() + inPos_, 4);
    inPos_ += 4;
    bitBuffer_ |= static_cast<std::uint64_t>(word) << bitCount_; // little-endian hosts only
    bitCount_ += 32;
  }
}

void TInflater::Run() {
  for (;;) {
    const std::uint32_t final = Take(1);
    const std::uint32_t type = Take(2);
    if (type == 0) {
      StoredBlock();
    } else if (type == 1) {
      InflateCodes(Fixed().lengths, Fixed().distances);
    } else if (type == 2) {
      DynamicBlock();
    } else {
      Fail("reserved block type");
    }
    if (final) break;
  }
  FlushWindow();
  if (position_) {
    sink_.Write(window_.get(), position_);
    flushed_ += position_;
    position_ = 0;
  }
}

void TInflater::CheckRoom(std::size_t more) {
  if (Produced() + more > maxOutput_) Fail("more data than expected");
}

void TInflater::FlushWindow() {
  if (position_ < kWindowFlushAt) return;
  sink_.Write(window_.get(), kFlushSize);
  std::memmove(window_.get(), window_.get() + kFlushSize, position_ - kFlushSize);
  position_ -= kFlushSize;
  flushed_ += kFlushSize;
}

void TInflater::StoredBlock() {
  Drop(bitCount_ % 8);
  const std::uint32_t length = Take(32) & 0xFFFF; // the complement half is not checked
  std::uint32_t left = length;
  CheckRoom(length);
  // Bytes still in the bit buffer come first, then the input buffer.
  while (left > 0 && bitCount_ >= 8) {
    window_[position_++] = static_cast<std::uint8_t>(Take(8));
    --left;
    FlushWindow();
  }
  while (left > 0) {
    if (inPos_ == inEnd_) {
      inPos_ = inEnd_ = 0;
      const std::size_t n = sourceDone_ ? 0 : source_.Read(input_.get(), kInputSize);
      if (n == 0) Fail("unexpected end of data");
      inEnd_ = n;
    }
    const std::size_t chunk = std::min<std::size_t>({left, inEnd_ - inPos_, kWindowFlushAt - position_});
    std::memcpy(window_.get() + position_, input_.get() + inPos_, chunk);
    position_ += chunk;
    inPos_ += chunk;
    left -= static_cast<std::uint32_t>(chunk);
    FlushWindow();
  }
}

void TInflater::DynamicBlock() {
  const int literals = static_cast<int>(Take(5)) + 257;
  const int distances = static_cast<int>(Take(5)) + 1;
  const int codeLengthCodes = static_cast<int>(Take(4)) + 4;
  if (literals > 286 || distances > 30) Fail("bad dynamic block header");

  std::uint8_t codeLengths[19] = {};
  for (int i = 0; i < codeLengthCodes; ++i) codeLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(Take(3));
  THuffmanTree& codeTree = codeTree_;
  codeTree.Build(codeLengths, 0, 19, 65535, nullptr);

  std::uint8_t lengths[286 + 30] = {};
  const int total = literals + distances;
  for (int i = 0; i < total;) {
    NeedBits();
    const std::uint32_t entry = codeTree.Lookup(Bits(codeTree.LongestLength()));
    if (entry == THuffmanTree::kNoCode) Fail("bad code length code");
    Drop(static_cast<int>((entry >> 16) & 0xFF));
    const int symbol = static_cast<int>(entry & 0xFFFF);
    int repeat = 0;
    std::uint8_t value = 0;
    if (symbol < 16) {
      lengths[i++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    if (symbol == 16) {
      if (i == 0) Fail("repeat without a length");
      value = lengths[i - 1];
      repeat = 3 + static_cast<int>(Take(2));
    } else if (symbol == 17) {
      repeat = 3 + static_cast<int>(Take(3));
    } else {
      repeat = 11 + static_cast<int>(Take(7));
    }
    if (i + repeat > total) Fail("too many code lengths");
    std::fill(lengths + i, lengths + i + repeat, value);
    i += repeat;
  }
  if (lengths[256] == 0) Fail("no end-of-block code");
  literalTree_.Build(lengths, 0, literals, 257, kLengthExtra);
  distanceTree_.Build(lengths, literals, distances, 0, kDistanceExtra);
  InflateCodes(literalTree_, distanceTree_);
}

void TInflater::InflateCodes(const THuffmanTree& lengths, const THuffmanTree& distances) {
  // The hot loop keeps the bit buffer and the write position in locals and
  // writes them back only around the slow paths (refill at the end of the
  // input buffer, window flush, errors).
  const int literalBits = lengths.LongestLength();
  const int distanceBits = distances.LongestLength();
  const std::uint64_t literalMask = (std::uint64_t{1} << literalBits) - 1;
  const std::uint64_t distanceMask = (std::uint64_t{1} << distanceBits) - 1;
  std::uint8_t* const window = window_.get();
  // Kept in locals: the window's bytes may alias anything, so the compiler
  // would fetch them from the trees again after every byte written.
  const std::uint32_t* const literalTable = lengths.Table();
  const std::uint32_t* const distanceTable = distances.Table();
  std::uint64_t bits = bitBuffer_;
  int count = bitCount_;
  std::size_t position = position_;
  const std::uint8_t* in = input_.get() + inPos_;
  const std::uint8_t* inEnd = input_.get() + inEnd_;
  // Where the next write must stop to flush or refuse: the flush point, or
  // the end of the allowed output when that comes first.
  std::size_t room = 0;
  std::size_t stop = 0;
  const auto setStop = [&] {
    const std::uint64_t allowed = maxOutput_ - flushed_; // maxOutput_ >= flushed_ always
    room = allowed < kWindowSize ? static_cast<std::size_t>(allowed) : kWindowSize;
    stop = std::min(room, kWindowFlushAt);
  };
  const auto save = [&] {
    bitBuffer_ = bits;
    bitCount_ = count;
    position_ = position;
    inPos_ = static_cast<std::size_t>(in - input_.get());
  };
  const auto load = [&] {
    bits = bitBuffer_;
    count = bitCount_;
    position = position_;
    in = input_.get() + inPos_;
    inEnd = input_.get() + inEnd_;
  };
  // Before a write of n bytes: flush a full window; refuse output beyond the limit.
  const auto makeRoom = [&](std::size_t n) {
    if (position >= kWindowFlushAt) {
      save();
      FlushWindow();
      load();
      setStop();
    }
    if (position + n > room) Fail("more data than expected");
  };
  setStop();

  // Whole 32-bit words at the same moments as NeedBits() takes them, so
  // that the end of the input is met exactly where the slow path meets it;
  // the slow path only near the end of the input buffer.
  const auto needBits = [&] {
    if (count >= 32) return;
    if (inEnd - in >= 8) {
      do {
        std::uint32_t word;
        std::memcpy(&word, in, 4); // little-endian hosts only
        in += 4;
        bits |= static_cast<std::uint64_t>(word) << count;
        count += 32;
      } while (count <= 32);
    } else {
      save();
      Refill();
      load();
    }
  };

  for (;;) {
    needBits();
    const std::uint32_t entry = literalTable[bits & literalMask];
    const int codeLength = static_cast<int>((entry >> 16) & 0xFF);
    const std::uint32_t symbol = entry & 0xFFFF;
    if (symbol < 256) {
      bits >>= codeLength;
      count -= codeLength;
      if (position >= stop) makeRoom(1);
      window[position++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    if (symbol == 256) {
      bits >>= codeLength;
      count -= codeLength;
      save();
      FlushWindow();
      return;
    }
    if (entry == THuffmanTree::kNoCode || symbol > 285) {
      save();
      Fail("bad literal/length code");
    }
    const int extra = static_cast<int>(entry >> 24);
    const std::uint32_t length =
        kLengthBase[symbol - 257] + (static_cast<std::uint32_t>(bits >> codeLength) & ((1u << extra) - 1));
    bits >>= codeLength + extra;
    count -= codeLength + extra;

    needBits();
    const std::uint32_t distanceEntry = distanceTable[bits & distanceMask];
    const std::uint32_t code = distanceEntry & 0xFFFF;
    if (distanceEntry == THuffmanTree::kNoCode || code >= 30) {
      save();
      Fail("bad distance code");
    }
    const int distanceLength = static_cast<int>((distanceEntry >> 16) & 0xFF);
    const int distanceExtra = static_cast<int>(distanceEntry >> 24);
    const std::uint32_t distance =
        kDistanceBase[code] + (static_cast<std::uint32_t>(bits >> distanceLength) & ((1u << distanceExtra) - 1));
    bits >>= distanceLength + distanceExtra;
    count -= distanceLength + distanceExtra;
    if (position + length > stop) makeRoom(length);
    if (distance > flushed_ + position) {
      save();
      Fail("distance before the start");
    }

    std::uint8_t* to = window + position;
    const std::uint8_t* from = to - distance;
    if (distance >= 8) {
      // Whole words, each read from bytes already written: the slack past
      // the window takes what a last word writes beyond the match.
      for (std::uint32_t i = 0; i < length; i += 8) std::memcpy(to + i, from + i, 8);
    } else if (distance == 1) {
      std::memset(to, *from, length);
    } else {
      // A short repeating pattern: the first bytes one by one, until a whole
      // number of patterns covers a word; from there whole words again.
      const std::uint32_t step = distance * ((8 + distance - 1) / distance);
      const std::uint32_t head = std::min(step, length);
      for (std::uint32_t i = 0; i < head; ++i) to[i] = from[i];
      for (std::uint32_t i = head; i < length; i += 8) std::memcpy(to + i, to + i - step, 8);
    }
    position += length;
  }
}
