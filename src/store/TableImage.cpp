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

std::size_t BodySize(const std::vector<TFieldDef>& defs, const std::vector<const TRecord*>& rows) {
  std::size_t size = 2 + 4;
  for (const TFieldDef& def : defs) size += 1 + def.Name.size() + 1 + 2 + 1;
  for (const TRecord* row : rows)
    for (std::size_t c = 0; c < defs.size(); ++c) {
      const TFieldValue& value = (*row)[c];
      if (std::holds_alternative<std::monostate>(value))
        size += 1;
      else if (std::holds_alternative<std::int32_t>(value))
        size += 1 + 4;
      else
        size += 1 + 2 + std::get<std::string>(value).size();
    }
  return size;
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

std::string EncodeTableImage(const std::vector<TFieldDef>& defs, const std::vector<const TRecord*>& rows) {
  // Sized first and written once: a table of many rows makes an image of megabytes.
  const std::size_t bodySize = BodySize(defs, rows);
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
  for (const TRecord* row : rows) {
    for (std::size_t c = 0; c < defs.size(); ++c) {
      const TFieldValue& value = (*row)[c];
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
  }
  const std::size_t checked = kHeaderSize + bodySize;
  out.U32(Crc32(image.data(), checked));
  return image;
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
    auto row = std::make_unique<TRecord>();
    row->reserve(image.defs.size());
    for (const TFieldDef& def : image.defs) {
      // The longest head of a value: tag and a number, or tag and a length.
      body.Need(1);
      const std::uint8_t present = body.RawU8();
      if (present == 0) {
        if (def.Required) Damaged("a required value is missing");
        row->emplace_back();
      } else if (present != 1) {
        Damaged("a value has a bad tag");
      } else if (def.DataType == TFieldType::Integer) {
        body.Need(4);
        row->emplace_back(static_cast<std::int32_t>(body.RawU32()));
      } else {
        body.Need(2);
        const std::uint16_t length = body.RawU16();
        if (length > def.Size) Damaged("a text is longer than its column");
        body.Need(length);
        row->emplace_back(std::in_place_type<std::string>, body.RawBytes(length), length);
      }
    }
    image.rows.push_back(std::move(row));
  }
  if (body.Remaining() != 0) Damaged("unexpected data in the table");
  stream.SetPosition(start + checked + kChecksumSize);
  return image;
}
