// A compressed stream from anywhere (a password-book file): refused with
// ECompressionError and left alone, or inflated to exactly its length.
#include <cstdint>
#include <cstdlib>

#include "store/Compression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  TMemoryStream stream(input);
  try {
    const bool replaced = DecompressStream(stream);
    if (!replaced && size != 0) std::abort();
    std::uint64_t n = 0;
    for (int i = 7; i >= 0 && size >= 8; --i) n = (n << 8) | data[i];
    if (replaced && stream.Size() != n) std::abort();
  } catch (const ECompressionError&) {
    if (stream.Bytes() != input) std::abort();
  }
  return 0;
}
