#include "support/SkinArchiveBuilder.h"

#include <zlib.h>

#include <stdexcept>
#include <vector>

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

namespace {

struct Entry {
  std::string name, data, localExtra, directoryExtra, comment;
  std::uint16_t flags, time;
  std::uint32_t crc, size, localOffset;
};

void PutLocal(std::string& out, Entry& e) {
  e.localOffset = static_cast<std::uint32_t>(out.size());
  out += "PK";
  Put16(out, 0x0403);
  Put16(out, 20);
  Put16(out, e.flags);
  Put16(out, 8);
  Put16(out, e.time);
  Put16(out, 0x5B88);
  Put32(out, e.crc);
  Put32(out, static_cast<std::uint32_t>(e.data.size()));
  Put32(out, e.size);
  Put16(out, static_cast<std::uint32_t>(e.name.size()));
  Put16(out, static_cast<std::uint32_t>(e.localExtra.size()));
  out += e.name;
  out += e.localExtra;
  out += e.data;
}

void PutDirectory(std::string& out, const Entry& e) {
  out += "PK";
  Put16(out, 0x0201);
  Put16(out, 20);
  Put16(out, 20);
  Put16(out, e.flags);
  Put16(out, 8);
  Put16(out, e.time);
  Put16(out, 0x5B88);
  Put32(out, e.crc);
  Put32(out, static_cast<std::uint32_t>(e.data.size()));
  Put32(out, e.size);
  Put16(out, static_cast<std::uint32_t>(e.name.size()));
  Put16(out, static_cast<std::uint32_t>(e.directoryExtra.size()));
  Put16(out, static_cast<std::uint32_t>(e.comment.size()));
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, 0);
  Put32(out, e.localOffset);
  out += e.name;
  out += e.directoryExtra;
  out += e.comment;
}

std::uint32_t Crc(const std::string& data) {
  return static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

} // namespace

std::string BuildSkinArchive(const SkinArchiveSpec& spec) {
  const std::uint32_t crc = Crc(spec.content);
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

  std::vector<Entry> entries;
  if (!spec.leadingEntryName.empty())
    entries.push_back({spec.leadingEntryName, RawDeflate(spec.leadingEntryContent, 9), spec.localExtra,
                       spec.directoryExtra, spec.entryComment, 0, time, Crc(spec.leadingEntryContent),
                       static_cast<std::uint32_t>(spec.leadingEntryContent.size()), 0});
  entries.push_back({spec.entryName, data, spec.localExtra, spec.directoryExtra, spec.entryComment, flags, time, crc,
                     size, 0});
  std::string out;
  for (Entry& entry : entries) PutLocal(out, entry);
  out.replace(0, 2, spec.magic.substr(0, 2));
  const auto directory = static_cast<std::uint32_t>(out.size());
  for (const Entry& entry : entries) PutDirectory(out, entry);
  const auto directorySize = static_cast<std::uint32_t>(out.size() - directory);

  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  Put32(out, directorySize);
  Put32(out, directory);
  Put16(out, static_cast<std::uint32_t>(spec.comment.size()));
  out += spec.comment;
  return out;
}
