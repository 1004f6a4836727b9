// Files and folders through the ANSI Win32 calls.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include <utility>

#include "platform/AnsiText.h"
#include "platform/Errors.h"
#include "platform/Services.h"

namespace platform {
namespace {

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = n && text ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  return result;
}

// Raises the last error with the system's text as its reason.
[[noreturn]] void ThrowLastError(const std::string& what, const char* joint = ": ") {
  const std::string reason = LastErrorText();
  throw EFileError(what + joint + reason, reason);
}

[[noreturn]] void ThrowTooLarge(const std::string& path, std::uint64_t limit) {
  const std::string reason =
      "the file is larger than " + std::to_string(limit >> 20) + " MB, far larger than any file of this program.";
  throw EFileTooLarge("Unable to read " + path + ": " + reason, reason);
}

class FileHandle {
public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    if (!Valid()) return true;
    return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
  }

private:
  HANDLE handle_;
};

class Win32FileWriter final : public IFileWriter {
public:
  Win32FileWriter(HANDLE handle, std::string path) : file_(handle), path_(std::move(path)) {}
  void Write(const void* data, std::size_t size) override {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(file_.Get(), bytes, chunk, &written, nullptr) || written == 0)
        ThrowLastError("Unable to write to " + path_);
      bytes += written;
      size -= written;
    }
  }
  void Commit() override {
    if (!FlushFileBuffers(file_.Get()) || !file_.Close())
      ThrowLastError("Unable to write to " + path_);
  }
  void Close() override {
    if (!file_.Close()) ThrowLastError("Unable to write to " + path_);
  }

private:
  FileHandle file_;
  std::string path_;
};

class Win32FileReader final : public IFileReader {
public:
  Win32FileReader(HANDLE handle, std::string path) : file_(handle), path_(std::move(path)) {}
  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size)) ThrowLastError("Unable to read " + path_);
    return static_cast<std::uint64_t>(size.QuadPart);
  }
  void Seek(std::uint64_t position) override {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN))
      ThrowLastError("Unable to read " + path_);
  }
  std::size_t Read(void* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const DWORD chunk = size - done > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size - done);
      DWORD n = 0;
      if (!ReadFile(file_.Get(), static_cast<char*>(buffer) + done, chunk, &n, nullptr))
        ThrowLastError("Unable to read " + path_);
      if (n == 0) break;
      done += n;
    }
    return done;
  }

private:
  FileHandle file_;
  std::string path_;
};

class Win32FileSystem final : public IFileSystem {
public:
  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirectoryExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateDir(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != 0; }
  std::string ReadAllAtMost(const std::string& path, std::uint64_t limit) override {
    // Others may read the file meanwhile, but not write it.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) ThrowLastError("Cannot open file \"" + path + "\"", ". ");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) ThrowLastError("Unable to read " + path);
    if (static_cast<std::uint64_t>(size.QuadPart) > limit) ThrowTooLarge(path, limit);
    std::string content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
      DWORD n = 0;
      if (!ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr))
        ThrowLastError("Unable to read " + path);
      if (n == 0) break;
      if (content.size() + n > limit) ThrowTooLarge(path, limit); // it grew while we read
      content.append(buffer, n);
    }
    return content;
  }
  std::unique_ptr<IFileReader> OpenForRead(const std::string& path) override {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) ThrowLastError("Cannot open file \"" + path + "\"", ". ");
    return std::make_unique<Win32FileReader>(handle, path);
  }
  std::unique_ptr<IFileWriter> CreateForWrite(const std::string& path) override {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      ThrowLastError("Cannot create file \"" + path + "\"", ". ");
    return std::make_unique<Win32FileWriter>(handle, path);
  }
  void Replace(const std::string& source, const std::string& target) override {
    if (!MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      ThrowLastError("Unable to replace " + target);
  }
  bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
  std::string TempFolder() override {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    std::string path = n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string("C:\\");
    if (path.back() != '\\') path += '\\';
    return path;
  }
};

} // namespace

bool SameFileName(const std::string& a, const std::string& b) {
  auto wide = [](const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
    return result;
  };
  const std::wstring wa = wide(a), wb = wide(b);
  // The file system's own rule: ordinal, upper-casing each character.
  return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()), TRUE) ==
         CSTR_EQUAL;
}

std::string NewGuidText() {
  GUID guid{};
  if (CoCreateGuid(&guid) != S_OK) throw EFileError("Unable to create a GUID");
  char text[40] = {};
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

IFileSystem& SystemFiles() {
  static Win32FileSystem files;
  return files;
}

} // namespace platform
