#pragma once
// The stored form of a table, the same in a file and inside a stream:
//
//   "PLTB"  magic, 4 bytes
//   u16     format version (1)
//   u16     flags (0)
//   u32     body length B
//   body:   u16 column count; per column: u8 name length, name, u8 type
//           (1 string, 2 integer), u16 size, u8 required;
//           u32 row count; per row and column: u8 0 for null, else 1 and
//           the value (i32, or u16 length and the bytes)
//   u32     CRC-32 of everything before it
//
// All numbers little-endian. The image carries its own length, so that a
// reader stops at its end and leaves what follows alone.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/MemoryStream.h"
#include "store/TableEngine.h"

constexpr int kMaxStringFieldSize = 8192;
constexpr std::uint16_t kTableImageVersion = 1;

struct TableImage {
  std::vector<TFieldDef> defs;
  std::vector<std::unique_ptr<TRecord>> rows; // as the table keeps them
};

std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TRecord*>& rows);

// Reads one image at the stream's position and leaves the position after
// it; raises EDataSetError on anything damaged, with the position unchanged.
TableImage DecodeTableImage(TMemoryStream& stream);
