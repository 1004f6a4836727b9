#pragma once
// Our own DEFLATE decoder for skin archives: canonical Huffman codes
// decoded by one full-width table lookup per symbol, a 16 KiB input
// buffer and a 64 KiB window written out 32 KiB at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

// Damaged compressed data; the archive reader turns it into its result code.
class EInflateError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class THuffmanTree {
public:
  // An entry packs the symbol (bits 0-15), the code length (16-23) and the
  // number of extra bits after the code (24-31); all ones where no code leads.
  static constexpr std::uint32_t kNoCode = 0xFFFFFFFFu;

  explicit THuffmanTree(int maxBits);

  // Builds the table for count symbols whose lengths start at lengths[first].
  // Symbols at or above plainLimit take their extra-bit count from
  // extraBits[symbol - plainLimit]. Raises EInflateError when the lengths
  // are over-subscribed, or incomplete other than as one single 1-bit code.
  void Build(const std::uint8_t* lengths, int first, int count, int plainLimit, const std::uint8_t* extraBits);

  std::uint32_t Lookup(std::uint32_t bits) const { return table_[bits & mask_]; }
  int LongestLength() const { return longest_; }
  // The table itself, for a decoding loop that keeps it in a register.
  const std::uint32_t* Table() const { return table_.get(); }

private:
  int maxBits_;
  int longest_ = 0;
  std::uint32_t mask_ = 0;
  std::unique_ptr<std::uint32_t[]> table_;
  std::size_t capacity_ = 0;
};

class IInflateSource {
public:
  virtual ~IInflateSource() = default;
  // Up to size bytes; 0 at the end.
  virtual std::size_t Read(std::uint8_t* buffer, std::size_t size) = 0;
};

class IInflateSink {
public:
  virtual ~IInflateSink() = default;
  virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

class TInflater {
public:
  static constexpr std::size_t kInputSize = 16384;
  static constexpr std::size_t kWindowFlushAt = 65536;
  static constexpr std::size_t kWindowSize = 65536 + 258;
  static constexpr std::size_t kFlushSize = 32768;

  // Output beyond maxOutput bytes is refused as damaged data.
  TInflater(IInflateSource& source, IInflateSink& sink, std::uint64_t maxOutput = UINT64_MAX);
  // Decodes every block up to the final one; raises EInflateError.
  void Run();
  std::uint64_t Produced() const { return flushed_ + position_; }

private:
  // Bytes past the window's end that whole-word match copies may touch.
  static constexpr std::size_t kCopySlack = 16;

  void Refill();
  void NeedBits() {
    if (bitCount_ < 32) Refill();
  }
  std::uint32_t Bits(int n) const {
    return static_cast<std::uint32_t>(bitBuffer_ & ((std::uint64_t{1} << n) - 1));
  }
  void Drop(int n) {
    bitBuffer_ >>= n;
    bitCount_ -= n;
  }
  std::uint32_t Take(int n) {
    NeedBits();
    const std::uint32_t value = Bits(n);
    Drop(n);
    return value;
  }
  void StoredBlock();
  void DynamicBlock();
  void InflateCodes(const THuffmanTree& lengths, const THuffmanTree& distances);
  void FlushWindow();
  void CheckRoom(std::size_t more);

  IInflateSource& source_;
  IInflateSink& sink_;
  std::uint64_t maxOutput_;
  std::unique_ptr<std::uint8_t[]> input_;
  std::size_t inPos_ = 0;
  std::size_t inEnd_ = 0;
  bool sourceDone_ = false;
  int paddingWords_ = 0;
  std::uint64_t bitBuffer_ = 0;
  int bitCount_ = 0;
  std::unique_ptr<std::uint8_t[]> window_;
  std::size_t position_ = 0;
  std::uint64_t flushed_ = 0;
  // The trees of dynamic blocks, kept from block to block so that their
  // tables are allocated once.
  THuffmanTree codeTree_{7};
  THuffmanTree literalTree_{15};
  THuffmanTree distanceTree_{15};
};
