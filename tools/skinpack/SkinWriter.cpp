#include "skinpack/SkinWriter.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <cstdio>
#include <stdexcept>

namespace {

std::string RawDeflate(const std::string& data, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("Cannot compress the skin data");
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("Cannot compress the skin data");
  out.resize(z.total_out);
  return out;
}

} // namespace

// minizip writes the container; the entry's data is compressed and, with a
// password, encrypted here (Debian's minizip writes encryption headers that
// no reader accepts).
void WriteSkinArchive(const std::string& path, const std::string& skinData, const TArchiveOptions& options) {
  const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(skinData.data()), static_cast<uInt>(skinData.size()));
  std::string data = RawDeflate(skinData, options.store ? 0 : Z_BEST_COMPRESSION);
  const bool encrypted = !options.password.empty();
  if (encrypted) data = ZipEncrypt(data, options.password, static_cast<std::uint8_t>(crc >> 24));

  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) throw std::runtime_error("Cannot create " + path);
  zip_fileinfo info{};
  info.tmz_date = {0, 0, 12, 8, 11, 2026};
  int result = zipOpenNewFileInZip4(zip, options.entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                    options.store ? 0 : Z_BEST_COMPRESSION, 1, -MAX_WBITS, DEF_MEM_LEVEL,
                                    Z_DEFAULT_STRATEGY, nullptr, 0, 20, encrypted ? 1 : 0);
  if (result == ZIP_OK) result = zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
  if (result == ZIP_OK) result = zipCloseFileInZipRaw(zip, static_cast<uLong>(skinData.size()), crc);
  const int closed = zipClose(zip, nullptr);
  if (result != ZIP_OK || closed != ZIP_OK) throw std::runtime_error("Cannot write " + path);

  // A skin archive says "SK" where a ZIP file says "PK".
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) throw std::runtime_error("Cannot write " + path);
  const bool written = std::fwrite("SK", 1, 2, file) == 2;
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("Cannot write " + path);
}
