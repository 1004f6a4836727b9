#include "skinpack/SkinWriter.h"

#include <algorithm>
#include <random>

namespace {

void Put32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (8 * i));
}

constexpr std::size_t kRecordSize = 77;

std::string Record(const std::string& name, TSkinValueType type, std::uint32_t at, std::uint32_t size,
                   std::uint32_t next) {
  std::string record(kRecordSize, '\0');
  record.replace(0, std::min<std::size_t>(name.size(), 64), name.substr(0, 64));
  record[64] = static_cast<char>(type);
  Put32(record, 65, at);
  Put32(record, 69, size);
  Put32(record, 73, next);
  return record;
}

class ZipEncryptor {
public:
  explicit ZipEncryptor(const std::string& password) {
    for (const char c : password) Update(static_cast<std::uint8_t>(c));
  }
  char Encrypt(std::uint8_t plain) {
    const std::uint32_t temp = (keys_[2] & 0xFFFF) | 2;
    const auto cipher = static_cast<std::uint8_t>(plain ^ ((temp * (temp ^ 1)) >> 8));
    Update(plain);
    return static_cast<char>(cipher);
  }

private:
  static std::uint32_t Crc(std::uint32_t crc, std::uint8_t byte) {
    crc ^= byte;
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    return crc;
  }
  void Update(std::uint8_t byte) {
    keys_[0] = Crc(keys_[0], byte);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = Crc(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
  }
  std::uint32_t keys_[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

} // namespace

std::string ZipEncrypt(const std::string& data, const std::string& password, std::uint8_t checkByte) {
  std::random_device random;
  ZipEncryptor encryptor(password);
  std::string sealed;
  sealed.reserve(data.size() + 12);
  for (int i = 0; i < 11; ++i) sealed += encryptor.Encrypt(static_cast<std::uint8_t>(random()));
  sealed += encryptor.Encrypt(checkByte);
  for (const char c : data) sealed += encryptor.Encrypt(static_cast<std::uint8_t>(c));
  return sealed;
}

TSkinValue IntegerValue(const std::string& name, std::int32_t value) {
  std::string data(4, '\0');
  Put32(data, 0, static_cast<std::uint32_t>(value));
  return {name, TSkinValueType::Integer, data};
}
TSkinValue ByteValue(const std::string& name, std::uint8_t value) {
  return {name, TSkinValueType::OneByte, std::string(1, static_cast<char>(value))};
}
TSkinValue StringValue(const std::string& name, const std::string& text) {
  return {name, TSkinValueType::String, text};
}
TSkinValue BitmapValue(const std::string& name, const std::string& bmpFile) {
  return {name, TSkinValueType::Bitmap, bmpFile};
}

std::string EncodeSkinData(const std::vector<TSkinValue>& values) {
  std::string out(24, '\0');
  out.replace(0, 8, "PLIMETSK");
  Put32(out, 12, 24);
  Put32(out, 16, static_cast<std::uint32_t>(values.size()));
  Put32(out, 20, 24);
  for (const TSkinValue& value : values) {
    const auto at = static_cast<std::uint32_t>(out.size() + kRecordSize);
    const auto next = static_cast<std::uint32_t>(at + value.data.size());
    out += Record(value.name, value.type, at, static_cast<std::uint32_t>(value.data.size()), next);
    out += value.data;
  }
  out += Record("", TSkinValueType::Bitmap, 0, 0, 0);
  return out;
}

