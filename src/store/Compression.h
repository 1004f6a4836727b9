#pragma once
// In-place compression of a memory stream: the content's length as 8
// bytes little-endian, then one zlib stream of the content.
#include "platform/Errors.h"
#include "store/MemoryStream.h"

class ECompressionError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};

// A compressed stream never holds more than this when inflated.
constexpr std::uint64_t kMaxDecompressedSize = 256u * 1024 * 1024;

// level 1: best speed, 3: best compression, anything else: zlib's default.
bool CompressStream(TMemoryStream& stream, int level);
// False for an empty stream (left as it is); raises ECompressionError when
// the data is damaged, leaving the stream as it was.
bool DecompressStream(TMemoryStream& stream);
