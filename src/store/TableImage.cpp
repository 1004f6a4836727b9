#include "store/TableImage.h"

#include <zlib.h>

#include <cstring>
#include <new>

namespace {

constexpr char kMagic[4] = {'P', 'L', 'T', 'B'};
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kChecksumSize = 4;

std::uint32_t Crc32(const char* data, std::size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const uInt chunk = size > 0x40000000u ? 0x40000000u : static_cast<uInt>(size);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data), chunk);
    data += chunk;
    size -= chunk;
  }
  return static_cast<std::uint32_t>(crc);
}

// Writes numbers little-endian into a buffer sized beforehand.
class Writer {
public:
  explicit Writer(char* at) : at_(at) {}
  void U8(std::uint8_t v) { *at_++ = static_cast<char>(v); }
  void U16(std::uint16_t v) {
    at_[0] = static_cast<char>(v);
    at_[1] = static_cast<char>(v >> 8);
    at_ += 2;
  }
  void U32(std::uint32_t v) {
    at_[0] = static_cast<char>(v);
    at_[1] = static_cast<char>(v >> 8);
    at_[2] = static_cast<char>(v >> 16);
    at_[3] = static_cast<char>(v >> 24);
    at_ += 4;
  }
  void Bytes(const std::string& s) {
    std::memcpy(at_, s.data(), s.size());
    at_ += s.size();
  }
  char* At() const { return at_; }

private:
  char* at_;
};

std::uint32_t LoadU32(const char* p) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(p[0])) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(p[1])) << 8) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(p[2])) << 16) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(p[3])) << 24);
}

std::uint16_t LoadU16(const char* p) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(p[0]) | (static_cast<std::uint8_t>(p[1]) << 8));
}

std::size_t StoredSize(const TFieldValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return 1;
  if (std::holds_alternative<std::int32_t>(value)) return 1 + 4;
  return 1 + 2 + std::get<std::string>(value).size();
}

// Room for a row of so many columns and value bytes, with its header filled in.
TPackedRowPtr NewRow(std::uint16_t columns, std::size_t size) {
  void* memory = ::operator new(sizeof(TPackedRow) + columns * sizeof(std::uint32_t) + size);
  return TPackedRowPtr(new (memory) TPackedRow{static_cast<std::uint32_t>(size), columns});
}

[[noreturn]] void Damaged(const char* what) {
  throw EDataSetError(std::string("The table data is damaged (") + what + ")");
}

// Reads within [pos, end) of a buffer and never past it.
class Reader {
public:
  Reader(const char* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t U8() {
    Need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  std::uint16_t U16() {
    const std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
  }
  std::uint32_t U32() {
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
  }
  std::string Bytes(std::size_t n) {
    Need(n);
    std::string s(data_ + pos_, n);
    pos_ += n;
    return s;
  }
  std::size_t Remaining() const { return size_ - pos_; }

  // Unchecked reads, after one Need() for all of them.
  void Need(std::size_t n) const {
    if (n > size_ - pos_) Damaged("it ends too early");
  }
  std::uint8_t RawU8() { return static_cast<std::uint8_t>(data_[pos_++]); }
  std::uint16_t RawU16() {
    const auto lo = static_cast<std::uint8_t>(data_[pos_]), hi = static_cast<std::uint8_t>(data_[pos_ + 1]);
    pos_ += 2;
    return static_cast<std::uint16_t>(lo | (hi << 8));
  }
  std::uint32_t RawU32() {
    const std::uint32_t v = LoadU32(data_ + pos_);
    pos_ += 4;
    return v;
  }
  const char* RawBytes(std::size_t n) {
    const char* at = data_ + pos_;
    pos_ += n;
    return at;
  }

private:
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

} // namespace

std::int32_t TPackedRow::Integer(std::size_t column) const {
  return static_cast<std::int32_t>(LoadU32(Data() + Offsets()[column] + 1));
}

std::string_view TPackedRow::Text(std::size_t column) const {
  const char* at = Data() + Offsets()[column];
  return {at + 3, LoadU16(at + 1)};
}

TFieldValue TPackedRow::Value(std::size_t column, TFieldType type) const {
  if (IsNull(column)) return {};
  if (type == TFieldType::Integer) return Integer(column);
  return std::string(Text(column));
}

void TPackedRowDelete::operator()(TPackedRow* row) const { ::operator delete(row); }

TPackedRowPtr PackRow(const TRecord& values) {
  std::size_t size = 0;
  for (const TFieldValue& value : values) size += StoredSize(value);
  TPackedRowPtr row = NewRow(static_cast<std::uint16_t>(values.size()), size);
  auto* offsets = const_cast<std::uint32_t*>(row->Offsets());
  char* const data = const_cast<char*>(row->Data());
  Writer out(data);
  for (std::size_t c = 0; c < values.size(); ++c) {
    offsets[c] = static_cast<std::uint32_t>(out.At() - data);
    const TFieldValue& value = values[c];
    if (std::holds_alternative<std::monostate>(value)) {
      out.U8(0);
    } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
      out.U8(1);
      out.U32(static_cast<std::uint32_t>(*number));
    } else {
      const auto& text = std::get<std::string>(value);
      out.U8(1);
      out.U16(static_cast<std::uint16_t>(text.size()));
      out.Bytes(text);
    }
  }
  return row;
}

TRecord UnpackRow(const TPackedRow& row, const std::vector<TFieldDef>& defs) {
  TRecord values;
  values.reserve(row.columns);
  for (std::size_t c = 0; c < row.columns; ++c) values.push_back(row.Value(c, defs[c].DataType));
  return values;
}

std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TPackedRow*>& rows) {
  // Sized first and written once: a table of many rows makes an image of
  // megabytes. The rows are kept in their stored form already.
  std::size_t bodySize = 2 + 4;
  for (const TFieldDef& def : defs) bodySize += 1 + def.Name.size() + 1 + 2 + 1;
  for (const TPackedRow* row : rows) bodySize += row->size;
  std::string image(kHeaderSize + bodySize + kChecksumSize, '\0');
  Writer out(image.data());
  out.Bytes(std::string(kMagic, sizeof kMagic));
  out.U16(kTableImageVersion);
  out.U16(0);
  out.U32(static_cast<std::uint32_t>(bodySize));
  out.U16(static_cast<std::uint16_t>(defs.size()));
  for (const TFieldDef& def : defs) {
    out.U8(static_cast<std::uint8_t>(def.Name.size()));
    out.Bytes(def.Name);
    out.U8(static_cast<std::uint8_t>(def.DataType));
    out.U16(static_cast<std::uint16_t>(def.Size));
    out.U8(def.Required ? 1 : 0);
  }
  out.U32(static_cast<std::uint32_t>(rows.size()));
  char* at = out.At();
  for (const TPackedRow* row : rows) {
    std::memcpy(at, row->Data(), row->size);
    at += row->size;
  }
  const std::size_t checked = kHeaderSize + bodySize;
  Writer trailer(image.data() + checked);
  trailer.U32(Crc32(image.data(), checked));
  return image;
}

std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TRecord*>& rows) {
  std::vector<TPackedRowPtr> packed;
  std::vector<const TPackedRow*> pointers;
  for (const TRecord* row : rows) {
    TRecord values(defs.size());
    for (std::size_t c = 0; c < defs.size() && c < row->size(); ++c) values[c] = (*row)[c];
    packed.push_back(PackRow(values));
    pointers.push_back(packed.back().get());
  }
  return EncodeTableImage(defs, pointers);
}

TableImage DecodeTableImage(TMemoryStream& stream) {
  const std::size_t start = stream.Position();
  const char* data = stream.Bytes().data() + start;
  const std::size_t available = stream.Remaining();
  if (available == 0) Damaged("it is empty");
  if (available < kHeaderSize + kChecksumSize) Damaged("it ends too early");
  if (std::memcmp(data, kMagic, sizeof kMagic) != 0) Damaged("it is not a table");

  Reader header(data + 4, kHeaderSize - 4);
  const std::uint16_t version = header.U16();
  const std::uint16_t flags = header.U16(); // none defined yet
  const std::uint32_t bodySize = header.U32();
  if (version != kTableImageVersion || flags != 0) throw EDataSetError("The table was written by another version of Plimet");
  if (bodySize > available - kHeaderSize - kChecksumSize) Damaged("it ends too early");

  const std::size_t checked = kHeaderSize + bodySize;
  Reader trailer(data + checked, kChecksumSize);
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  if (trailer.U32() != Crc32(data, checked)) Damaged("checksum mismatch");
#else
  trailer.U32();
#endif

  TableImage image;
  Reader body(data + kHeaderSize, bodySize);
  const std::uint16_t columns = body.U16();
  for (std::uint16_t c = 0; c < columns; ++c) {
    TFieldDef def;
    def.Name = body.Bytes(body.U8());
    const std::uint8_t type = body.U8();
    def.Size = body.U16();
    const std::uint8_t required = body.U8();
    if (required > 1) Damaged("a column has a bad flag");
    def.Required = required == 1;
    if (def.Name.empty()) Damaged("a column has no name");
    for (const TFieldDef& other : image.defs)
      if (other.Name == def.Name) Damaged("two columns have one name");
    if (type == static_cast<std::uint8_t>(TFieldType::String)) {
      if (def.Size < 1 || def.Size > kMaxStringFieldSize) Damaged("a column has a bad size");
      def.DataType = TFieldType::String;
    } else if (type == static_cast<std::uint8_t>(TFieldType::Integer)) {
      if (def.Size != 0) Damaged("a column has a bad size");
      def.DataType = TFieldType::Integer;
    } else {
      Damaged("a column has an unknown type");
    }
    image.defs.push_back(std::move(def));
  }
  if (image.defs.empty()) Damaged("it has no columns");

  const std::uint32_t rowCount = body.U32();
  // Every value takes at least one byte: a count beyond that is a lie.
  if (rowCount > body.Remaining() / image.defs.size()) Damaged("the row count does not fit");
  image.rows.reserve(rowCount);
  const std::size_t columnCount = image.defs.size();
  std::vector<std::uint32_t> offsets(columnCount);
  for (std::uint32_t r = 0; r < rowCount; ++r) {
    // Checked value by value, then kept as it lies in the image.
    const char* const rowStart = body.RawBytes(0);
    for (std::size_t c = 0; c < columnCount; ++c) {
      const TFieldDef& def = image.defs[c];
      offsets[c] = static_cast<std::uint32_t>(body.RawBytes(0) - rowStart);
      body.Need(1);
      const std::uint8_t present = body.RawU8();
      if (present == 0) {
        if (def.Required) Damaged("a required value is missing");
      } else if (present != 1) {
        Damaged("a value has a bad tag");
      } else if (def.DataType == TFieldType::Integer) {
        body.Need(4);
        body.RawBytes(4);
      } else {
        body.Need(2);
        const std::uint16_t length = body.RawU16();
        if (length > def.Size) Damaged("a text is longer than its column");
        body.Need(length);
        body.RawBytes(length);
      }
    }
    const std::size_t size = static_cast<std::size_t>(body.RawBytes(0) - rowStart);
    TPackedRowPtr row = NewRow(static_cast<std::uint16_t>(columnCount), size);
    std::memcpy(const_cast<std::uint32_t*>(row->Offsets()), offsets.data(), columnCount * sizeof(std::uint32_t));
    std::memcpy(const_cast<char*>(row->Data()), rowStart, size);
    image.rows.push_back(std::move(row));
  }
  if (body.Remaining() != 0) Damaged("unexpected data in the table");
  stream.SetPosition(start + checked + kChecksumSize);
  return image;
}
