#include "support/SkinArchiveBuilder.h"

#include <zlib.h>

#include <stdexcept>

#include "skinpack/SkinWriter.h"

namespace {

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

} // namespace

std::string RawDeflate(const std::string& data, int level, int strategy) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string BuildSkinArchive(const SkinArchiveSpec& spec) {
  const std::uint32_t crc = static_cast<std::uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(spec.content.data()), static_cast<uInt>(spec.content.size())));
  const std::uint16_t time = 0x6A21;
  std::string data = spec.rawData.empty() ? RawDeflate(spec.content, spec.level) : spec.rawData;
  std::uint16_t flags = spec.dataDescriptorFlag ? 8 : 0;
  if (!spec.password.empty()) {
    flags |= 1;
    data = ZipEncrypt(data, spec.password,
                      spec.dataDescriptorFlag ? static_cast<std::uint8_t>(time >> 8) : static_cast<std::uint8_t>(crc >> 24));
  }
  const std::uint32_t size =
      spec.declaredSize >= 0 ? static_cast<std::uint32_t>(spec.declaredSize) : static_cast<std::uint32_t>(spec.content.size());

  std::string out = spec.magic.substr(0, 2);
  Put16(out, 0x0403);
  Put16(out, 20);
  Put16(out, flags);
  Put16(out, 8);
  Put16(out, time);
  Put16(out, 0x5B88);
  Put32(out, crc);
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Put32(out, size);
  Put16(out, static_cast<std::uint32_t>(spec.entryName.size()));
  Put16(out, 0);
  out += spec.entryName;
  out += data;

  const auto directory = static_cast<std::uint32_t>(out.size());
  out += "PK";
  Put16(out, 0x0201);
  Put16(out, 20);
  Put16(out, 20);
  Put16(out, flags);
  Put16(out, 8);
  Put16(out, time);
  Put16(out, 0x5B88);
  Put32(out, crc);
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Put32(out, size);
  Put16(out, static_cast<std::uint32_t>(spec.entryName.size()));
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  out += spec.entryName;
  const auto directorySize = static_cast<std::uint32_t>(out.size() - directory);

  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, directorySize);
  Put32(out, directory);
  Put16(out, static_cast<std::uint32_t>(spec.comment.size()));
  out += spec.comment;
  return out;
}
