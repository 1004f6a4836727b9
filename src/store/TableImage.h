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
#include <string_view>
#include <vector>

#include "store/MemoryStream.h"
#include "store/TableEngine.h"

constexpr int kMaxStringFieldSize = 8192;
constexpr std::uint16_t kTableImageVersion = 1;

// A row as the table keeps it: its values in their stored form (per column
// a tag, 0 null or 1 a value, then an i32 or a u16 length and the text),
// with the offset of each column, in one allocation. Reading a value needs
// its column's type, which the row does not carry.
struct TPackedRow {
  std::uint32_t size;     // bytes of the stored values
  std::uint16_t columns;
  const std::uint32_t* Offsets() const { return reinterpret_cast<const std::uint32_t*>(this + 1); }
  const char* Data() const { return reinterpret_cast<const char*>(Offsets() + columns); }

  bool IsNull(std::size_t column) const { return Data()[Offsets()[column]] == 0; }
  std::int32_t Integer(std::size_t column) const; // of a value that is not null
  std::string_view Text(std::size_t column) const; // of a value that is not null
  TFieldValue Value(std::size_t column, TFieldType type) const;
};

struct TPackedRowDelete {
  void operator()(TPackedRow* row) const;
};
using TPackedRowPtr = std::unique_ptr<TPackedRow, TPackedRowDelete>;

// Packs values, each stored by its own kind (numbers as numbers, texts as texts).
TPackedRowPtr PackRow(const TRecord& values);
TRecord UnpackRow(const TPackedRow& row, const std::vector<TFieldDef>& defs);

struct TableImage {
  std::vector<TFieldDef> defs;
  std::vector<TPackedRowPtr> rows; // as the table keeps them
};

std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TPackedRow*>& rows);
std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TRecord*>& rows);

// Reads one image at the stream's position and leaves the position after
// it; raises EDataSetError on anything damaged, with the position unchanged.
TableImage DecodeTableImage(TMemoryStream& stream);
