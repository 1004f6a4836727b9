#include "store/Compression.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace {

int ZlibLevel(int level) {
  if (level == 1) return Z_BEST_SPEED;
  if (level == 3) return Z_BEST_COMPRESSION;
  return Z_DEFAULT_COMPRESSION;
}

[[noreturn]] void Damaged() { throw ECompressionError("The compressed data is damaged"); }

// Feeds zlib in pieces it can count (its counters are 32-bit).
constexpr std::size_t kPiece = 1u << 30;

class Inflater {
public:
  Inflater() {
    if (inflateInit(&z_) != Z_OK) throw ECompressionError("Unable to start decompression");
  }
  ~Inflater() { inflateEnd(&z_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream& Get() { return z_; }

private:
  z_stream z_{};
};

class Deflater {
public:
  explicit Deflater(int level) {
    if (deflateInit(&z_, level) != Z_OK) throw ECompressionError("Unable to start compression");
  }
  ~Deflater() { deflateEnd(&z_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  z_stream& Get() { return z_; }

private:
  z_stream z_{};
};

} // namespace

bool CompressStream(TMemoryStream& stream, int level) {
  const std::string& input = stream.Bytes();
  const std::uint64_t n = input.size();
  Deflater deflater(ZlibLevel(level));
  z_stream& z = deflater.Get();

  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>(n >> (8 * i));
  std::size_t consumed = 0;
  char buffer[65536];
  int result = Z_OK;
  do {
    if (z.avail_in == 0 && consumed < input.size()) {
      const std::size_t piece = std::min(kPiece, input.size() - consumed);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + consumed));
      z.avail_in = static_cast<uInt>(piece);
      consumed += piece;
    }
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    result = deflate(&z, consumed == input.size() ? Z_FINISH : Z_NO_FLUSH);
    if (result == Z_STREAM_ERROR) throw ECompressionError("Compression failed");
    out.append(buffer, sizeof buffer - z.avail_out);
  } while (result != Z_STREAM_END);

  stream.Assign(std::move(out));
  return true;
}

bool DecompressStream(TMemoryStream& stream) {
  const std::string& input = stream.Bytes();
  if (input.empty()) return false;
  if (input.size() < 8) Damaged();
  std::uint64_t n = 0;
  for (int i = 7; i >= 0; --i) n = (n << 8) | static_cast<std::uint8_t>(input[static_cast<std::size_t>(i)]);
  // The length is checked before anything is allocated for it.
  if (n > kMaxDecompressedSize) Damaged();
  // Deflate cannot expand data more than about 1032 to 1.
  if (n / 1032 > input.size()) Damaged();

  std::string out(static_cast<std::size_t>(n), '\0');
  Inflater inflater;
  z_stream& z = inflater.Get();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + 8));
  z.avail_in = static_cast<uInt>(std::min<std::size_t>(input.size() - 8, UINT_MAX));
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(n);
  char spare; // room to notice data beyond the promised length
  for (;;) {
    if (z.avail_out == 0) {
      z.next_out = reinterpret_cast<Bytef*>(&spare);
      z.avail_out = 1;
    }
    const int result = inflate(&z, Z_NO_FLUSH);
    if (z.total_out > n) Damaged();
    if (result == Z_STREAM_END) break;
    if (result != Z_OK) Damaged(); // damaged data, or it ends early
  }
  if (z.total_out != n) Damaged();
  stream.Assign(std::move(out));
  return true;
}
