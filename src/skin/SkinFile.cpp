#include "skin/SkinFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <set>

#include "platform/Services.h"
#include "skin/SkinInflate.h"

namespace {

constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxNameLength = 259;
constexpr std::size_t kRecordSize = 77;
constexpr std::size_t kHeaderSize = 24;

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool SameName(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

// The traditional PKWARE encryption of the ZIP application note.
class ZipCrypto {
public:
  explicit ZipCrypto(const std::string& password) {
    for (const char c : password) Update(static_cast<std::uint8_t>(c));
  }
  std::uint8_t Decrypt(std::uint8_t c) {
    const std::uint32_t temp = (keys_[2] & 0xFFFF) | 2;
    const auto plain = static_cast<std::uint8_t>(c ^ ((temp * (temp ^ 1)) >> 8));
    Update(plain);
    return plain;
  }

private:
  static std::uint32_t Crc(std::uint32_t crc, std::uint8_t byte) {
    static const auto table = [] {
      std::array<std::uint32_t, 256> t{};
      for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
      }
      return t;
    }();
    return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  }
  void Update(std::uint8_t byte) {
    keys_[0] = Crc(keys_[0], byte);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = Crc(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
  }
  std::uint32_t keys_[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

class FileSource final : public IInflateSource {
public:
  FileSource(platform::IFileReader& file, std::uint64_t start) : file_(file) { file_.Seek(start); }
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override { return file_.Read(buffer, size); }

private:
  platform::IFileReader& file_;
};

class MemorySource final : public IInflateSource {
public:
  explicit MemorySource(const std::vector<std::uint8_t>& data) : data_(data) {}
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, data_.size() - position_);
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
  }

private:
  const std::vector<std::uint8_t>& data_;
  std::size_t position_ = 0;
};

class FileSink final : public IInflateSink {
public:
  explicit FileSink(platform::IFileWriter& file) : file_(file) {}
  void Write(const std::uint8_t* data, std::size_t size) override {
    file_.Write(data, size);
    written += size;
  }
  std::uint64_t written = 0;

private:
  platform::IFileWriter& file_;
};

struct DirectoryEntry {
  std::uint16_t flags = 0;
  std::uint16_t time = 0;
  std::uint32_t crc = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint32_t localOffset = 0;
};

// Finds the entry in the central directory; false when the archive is not one.
bool FindEntry(platform::IFileReader& file, const std::string& wanted, DirectoryEntry& found) {
  std::uint8_t magic[4] = {};
  if (file.Read(magic, 4) < 2 || magic[0] != 'S' || magic[1] != 'K') return false;
  const std::uint64_t size = file.Size();
  if (size < kEndRecordSize) return false;
  const std::uint64_t endRecord = size - kEndRecordSize;
  std::uint8_t end[kEndRecordSize];
  file.Seek(endRecord);
  if (file.Read(end, sizeof end) != sizeof end) return false;
  if (U32(end) != kEndRecordSignature || U16(end + 20) != 0) return false;

  std::uint64_t position = U32(end + 16);
  while (position < endRecord) {
    std::uint8_t fixed[kDirectoryEntrySize];
    file.Seek(position);
    if (file.Read(fixed, sizeof fixed) != sizeof fixed) return false;
    const std::size_t nameLength = U16(fixed + 28);
    if (nameLength > kMaxNameLength) return false;
    std::string name(nameLength, '\0');
    if (file.Read(name.data(), nameLength) != nameLength) return false;
    position += kDirectoryEntrySize + nameLength + U16(fixed + 30) + U16(fixed + 32);
    if (SameName(name, wanted)) {
      found.flags = U16(fixed + 8);
      found.time = U16(fixed + 12);
      found.crc = U32(fixed + 16);
      found.uncompressedSize = U32(fixed + 24);
      found.localOffset = U32(fixed + 42);
      return true;
    }
  }
  return false;
}

// Decodes the entry into the output; returns 0 when the last block was
// decoded, 2 when the password is refused. Raises on damaged data.
int InflateEntry(platform::IFileReader& file, const DirectoryEntry& entry, const std::string& password,
                 IInflateSink& sink) {
  std::uint8_t local[kLocalHeaderSize];
  file.Seek(entry.localOffset);
  if (file.Read(local, sizeof local) != sizeof local) throw EInflateError("no local header");
  const std::uint64_t dataStart =
      static_cast<std::uint64_t>(entry.localOffset) + kLocalHeaderSize + U16(local + 26) + U16(local + 28);
  // More output than the directory promises is refused at once.
  const std::uint64_t limit = static_cast<std::uint64_t>(entry.uncompressedSize);

  if (!(entry.flags & 1)) {
    FileSource source(file, dataStart);
    TInflater(source, sink, limit).Run();
    return 0;
  }
  if (password.empty()) return 2;
  ZipCrypto crypto(password);
  std::uint8_t header[12];
  file.Seek(dataStart);
  if (file.Read(header, sizeof header) != sizeof header) throw EInflateError("no encryption header");
  for (std::uint8_t& byte : header) byte = crypto.Decrypt(byte);
  const std::uint8_t check = entry.flags & 8 ? static_cast<std::uint8_t>(entry.time >> 8)
                                             : static_cast<std::uint8_t>(entry.crc >> 24);
  if (header[11] != check) return 2;
  std::vector<std::uint8_t> plain;
  std::uint8_t piece[1024];
  for (std::size_t n; (n = file.Read(piece, sizeof piece)) > 0;)
    for (std::size_t i = 0; i < n; ++i) plain.push_back(crypto.Decrypt(piece[i]));
  MemorySource source(plain);
  TInflater(source, sink, limit).Run();
  return 0;
}

[[noreturn]] void Damaged() { throw ESkinError(kSkinReadFailed); }

std::string LineValue(const std::vector<Tsk2SkinFileReader::Line>& lines, const std::string& name, bool& found) {
  for (const auto& [key, value] : lines)
    if (SameName(key, name)) {
      found = true;
      return value;
    }
  found = false;
  return {};
}

bool ParseInt(const std::string& text, long long& value) {
  const char* begin = text.data();
  if (!text.empty() && text[0] == '+') ++begin;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

} // namespace

namespace {

// Opens the archive and finds the entry; false when either fails.
bool OpenEntry(const std::string& archive, const std::string& entryName,
               std::unique_ptr<platform::IFileReader>& file, DirectoryEntry& entry) {
  platform::IFileSystem& files = platform::Files();
  if (!files.FileExists(archive)) return false;
  try {
    file = files.OpenForRead(archive);
    return FindEntry(*file, entryName, entry);
  } catch (const std::exception&) {
    return false;
  }
}

// The result once the output exists: nothing produced is unreadable, a size
// other than the directory's is refused.
int Verdict(int result, std::uint64_t written, const DirectoryEntry& entry) {
  if (written == 0 && result == 0) return 1;
  if (written != entry.uncompressedSize) return 2;
  return result;
}

class StringSink final : public IInflateSink {
public:
  explicit StringSink(std::string& out) : out_(out) {}
  void Write(const std::uint8_t* data, std::size_t size) override {
    out_.append(reinterpret_cast<const char*>(data), size);
  }

private:
  std::string& out_;
};

} // namespace

int Tsk2SkinFileReader::ExtractEntry(const std::string& archive, const std::string& entryName,
                                     const std::string& outName, const std::string& password) {
  platform::IFileSystem& files = platform::Files();
  std::unique_ptr<platform::IFileReader> file;
  DirectoryEntry entry;
  if (!OpenEntry(archive, entryName, file, entry)) return 1;

  int result = 1;
  std::uint64_t written = 0;
  bool created = false;
  try {
    auto output = files.CreateForWrite(outName);
    created = true;
    FileSink sink(*output);
    try {
      result = InflateEntry(*file, entry, password, sink);
    } catch (const std::exception&) {
      result = 1;
    }
    written = sink.written;
    // Read back and deleted at once: nothing to wait for the disk for.
    output->Close();
  } catch (const std::exception&) {
    result = 1;
  }
  if (created) {
    result = Verdict(result, written, entry);
    if (result != 0) files.Remove(outName);
  }
  return result;
}

int Tsk2SkinFileReader::ExtractEntryToMemory(const std::string& archive, const std::string& entryName,
                                             std::string& content, const std::string& password) {
  content.clear();
  std::unique_ptr<platform::IFileReader> file;
  DirectoryEntry entry;
  if (!OpenEntry(archive, entryName, file, entry)) return 1;
  int result = 1;
  try {
    content.reserve(std::min<std::size_t>(entry.uncompressedSize, std::size_t{16} << 20));
    StringSink sink(content);
    result = InflateEntry(*file, entry, password, sink);
  } catch (const std::exception&) {
    result = 1;
  }
  result = Verdict(result, content.size(), entry);
  if (result != 0) content.clear();
  return result;
}

void Tsk2SkinFileReader::ReadSkinData(const std::string& path) {
  // One read of the whole file into a buffer of its size.
  auto file = platform::Files().OpenForRead(path);
  std::string content(static_cast<std::size_t>(file->Size()), '\0');
  content.resize(file->Read(content.data(), content.size()));
  ParseSkinData(content);
}

void Tsk2SkinFileReader::ParseSkinData(std::string_view content) {
  // Every offset and size is checked against the file before it is used.
  const auto* data = reinterpret_cast<const std::uint8_t*>(content.data());
  const std::uint64_t size = content.size();
  if (size < kHeaderSize || U32(data + 12) != kHeaderSize) Damaged();
  std::uint64_t offset = U32(data + 20);
  std::set<std::uint64_t> visited;
  for (;;) {
    if (offset + kRecordSize > size || !visited.insert(offset).second) Damaged();
    const std::uint8_t* record = data + offset;
    const std::uint64_t next = U32(record + 73);
    if (next == 0) break;
    const auto* nameEnd = static_cast<const std::uint8_t*>(std::memchr(record, 0, 64));
    const std::string name(reinterpret_cast<const char*>(record),
                           nameEnd ? static_cast<std::size_t>(nameEnd - record) : 64);
    const std::uint8_t type = record[64];
    const std::uint64_t at = U32(record + 65);
    const std::uint64_t length = U32(record + 69);
    if (type <= 3 && at + length > size) Damaged();
    const std::uint8_t* value = data + at;
    switch (type) {
    case 0: // an unreadable bitmap says what is wrong with it
      bitmaps_.emplace_back(name, TBitmap::FromBmp(value, static_cast<std::size_t>(length)));
      break;
    case 1:
      if (length != 4) Damaged();
      integers_.emplace_back(name, std::to_string(static_cast<std::int32_t>(U32(value))));
      break;
    case 2:
      if (length != 1) Damaged();
      bytes_.emplace_back(name, std::to_string(value[0]));
      break;
    case 3:
      strings_.emplace_back(name, std::string(reinterpret_cast<const char*>(value), static_cast<std::size_t>(length)));
      break;
    default:
      break; // unknown kinds of value are passed over
    }
    offset = next;
  }
}

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& fileName, const std::string& password) {
  platform::IFileSystem& files = platform::Files();
  const std::string temp = files.TempFolder() + platform::NewGuidText();
  const int result = ExtractEntry(fileName, "SKINDATA.SK2", temp, password);
  if (result == 2) throw ESkinError(kSkinWrongPassword);
  if (result != 0) throw ESkinError(kSkinReadFailed);
  try {
    ReadSkinData(temp);
  } catch (...) {
    files.Remove(temp);
    throw;
  }
  files.Remove(temp);
}

TBitmap* Tsk2SkinFileReader::GetBitmap(const std::string& name) const {
  for (const auto& [key, bitmap] : bitmaps_)
    if (SameName(key, name)) return bitmap.get();
  return nullptr;
}

int Tsk2SkinFileReader::GetInteger(const std::string& name) const {
  bool found = false;
  const std::string text = LineValue(integers_, name, found);
  long long value = 0;
  if (!found || !ParseInt(text, value) || value < INT32_MIN || value > INT32_MAX) return -1;
  return static_cast<int>(value);
}

bool Tsk2SkinFileReader::GetBoolean(const std::string& name) const {
  bool found = false;
  const std::string text = LineValue(bytes_, name, found);
  long long value = 0;
  return found && ParseInt(text, value) && value != 0;
}

void Tsk2SkinFileReader::SetTransparentColor(TColor color) {
  for (auto& entry : bitmaps_) {
    entry.second->SetTransparentMode(TTransparentMode::Fixed);
    entry.second->SetTransparentColor(color);
  }
}
