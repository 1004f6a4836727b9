#include "store/TableImage.h"

#include <zlib.h>

#include <cstring>

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

class Writer {
public:
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void Bytes(const std::string& s) { out_ += s; }
  std::string& Out() { return out_; }

private:
  std::string out_;
};

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

private:
  void Need(std::size_t n) const {
    if (n > size_ - pos_) Damaged("it ends too early");
  }
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

} // namespace

std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TRecord*>& rows) {
  Writer body;
  body.U16(static_cast<std::uint16_t>(defs.size()));
  for (const TFieldDef& def : defs) {
    body.U8(static_cast<std::uint8_t>(def.Name.size()));
    body.Bytes(def.Name);
    body.U8(static_cast<std::uint8_t>(def.DataType));
    body.U16(static_cast<std::uint16_t>(def.Size));
    body.U8(def.Required ? 1 : 0);
  }
  body.U32(static_cast<std::uint32_t>(rows.size()));
  for (const TRecord* row : rows) {
    for (std::size_t c = 0; c < defs.size(); ++c) {
      const TFieldValue& value = (*row)[c];
      if (std::holds_alternative<std::monostate>(value)) {
        body.U8(0);
      } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
        body.U8(1);
        body.U32(static_cast<std::uint32_t>(*number));
      } else {
        const auto& text = std::get<std::string>(value);
        body.U8(1);
        body.U16(static_cast<std::uint16_t>(text.size()));
        body.Bytes(text);
      }
    }
  }
  Writer image;
  image.Bytes(std::string(kMagic, sizeof kMagic));
  image.U16(kTableImageVersion);
  image.U16(0);
  image.U32(static_cast<std::uint32_t>(body.Out().size()));
  image.Bytes(body.Out());
  image.U32(Crc32(image.Out().data(), image.Out().size()));
  return std::move(image.Out());
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
  for (std::uint32_t r = 0; r < rowCount; ++r) {
    TRecord row;
    row.reserve(image.defs.size());
    for (const TFieldDef& def : image.defs) {
      const std::uint8_t present = body.U8();
      if (present == 0) {
        if (def.Required) Damaged("a required value is missing");
        row.emplace_back();
      } else if (present != 1) {
        Damaged("a value has a bad tag");
      } else if (def.DataType == TFieldType::Integer) {
        row.emplace_back(static_cast<std::int32_t>(body.U32()));
      } else {
        const std::uint16_t length = body.U16();
        if (length > def.Size) Damaged("a text is longer than its column");
        row.emplace_back(body.Bytes(length));
      }
    }
    image.rows.push_back(std::move(row));
  }
  if (body.Remaining() != 0) Damaged("unexpected data in the table");
  stream.SetPosition(start + checked + kChecksumSize);
  return image;
}
