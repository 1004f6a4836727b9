// The native build's file system. The program's paths use "\" as the
// separator; here it is mapped to "/".
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/AnsiText.h"
#include "platform/Errors.h"
#include "platform/Services.h"

namespace platform {
namespace {

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string Reason() { return std::strerror(errno); }

[[noreturn]] void ThrowTooLarge(const std::string& path, std::uint64_t limit) {
  const std::string reason =
      "the file is larger than " + std::to_string(limit >> 20) + " MB, far larger than any file of this program.";
  throw EFileTooLarge("Unable to read " + path + ": " + reason, reason);
}

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

private:
  int fd_;
};

class PosixFileWriter final : public IFileWriter {
public:
  PosixFileWriter(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  void Write(const void* data, std::size_t size) override {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd_.Get(), bytes, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EFileError("Unable to write to " + path_ + ": " + Reason(), Reason());
      }
      bytes += n;
      size -= static_cast<std::size_t>(n);
    }
  }
  void Commit() override {
    if (::fsync(fd_.Get()) != 0) throw EFileError("Unable to write to " + path_ + ": " + Reason(), Reason());
    if (::close(fd_.Release()) != 0) throw EFileError("Unable to write to " + path_ + ": " + Reason(), Reason());
  }
  void Close() override {
    if (::close(fd_.Release()) != 0) throw EFileError("Unable to write to " + path_ + ": " + Reason(), Reason());
  }

private:
  FileDescriptor fd_;
  std::string path_;
};

class PosixFileReader final : public IFileReader {
public:
  PosixFileReader(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  std::uint64_t Size() override {
    struct stat st {};
    if (::fstat(fd_.Get(), &st) != 0) throw EFileError("Unable to read " + path_ + ": " + Reason(), Reason());
    return static_cast<std::uint64_t>(st.st_size);
  }
  void Seek(std::uint64_t position) override { position_ = position; }
  std::size_t Read(void* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::pread(fd_.Get(), static_cast<char*>(buffer) + done, size - done,
                                static_cast<off_t>(position_ + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EFileError("Unable to read " + path_ + ": " + Reason(), Reason());
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    position_ += done;
    return done;
  }

private:
  FileDescriptor fd_;
  std::string path_;
  std::uint64_t position_ = 0;
};

class PosixFileSystem final : public IFileSystem {
public:
  bool FileExists(const std::string& path) override {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }
  bool DirectoryExists(const std::string& path) override {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool CreateDir(const std::string& path) override { return ::mkdir(NativePath(path).c_str(), 0777) == 0; }
  std::string ReadAllAtMost(const std::string& path, std::uint64_t limit) override {
    FileDescriptor fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) throw EFileError("Cannot open file \"" + path + "\". " + Reason(), Reason());
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) throw EFileError("Unable to read " + path + ": " + Reason(), Reason());
    if (static_cast<std::uint64_t>(st.st_size) > limit) ThrowTooLarge(path, limit);
    std::string content;
    content.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EFileError("Unable to read " + path + ": " + Reason(), Reason());
      }
      if (n == 0) break;
      if (content.size() + static_cast<std::size_t>(n) > limit) ThrowTooLarge(path, limit); // it grew meanwhile
      content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
  }
  std::unique_ptr<IFileReader> OpenForRead(const std::string& path) override {
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFileError("Cannot open file \"" + path + "\". " + Reason(), Reason());
    return std::make_unique<PosixFileReader>(fd, path);
  }
  std::unique_ptr<IFileWriter> CreateForWrite(const std::string& path) override {
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFileError("Cannot create file \"" + path + "\". " + Reason(), Reason());
    return std::make_unique<PosixFileWriter>(fd, path);
  }
  void Replace(const std::string& source, const std::string& target) override {
    if (::rename(NativePath(source).c_str(), NativePath(target).c_str()) != 0)
      throw EFileError("Unable to replace " + target + ": " + Reason(), Reason());
  }
  bool Remove(const std::string& path) override { return ::unlink(NativePath(path).c_str()) == 0; }
  std::string TempFolder() override {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
  }
};

} // namespace

bool SameFileName(const std::string& a, const std::string& b) { return FoldAnsiCase(a) == FoldAnsiCase(b); }

std::string NewGuidText() {
  // Random (version 4) GUID from the kernel's random source.
  unsigned char bytes[16] = {};
  // One call, no file to open: a skin load makes a name each time.
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
    throw EFileError("Unable to create a GUID: " + Reason(), Reason());
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 15];
  }
  return text + "}";
}

IFileSystem& SystemFiles() {
  static PosixFileSystem files;
  return files;
}

} // namespace platform
