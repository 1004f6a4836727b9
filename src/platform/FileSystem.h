#pragma once
// Files and folders as the data store needs them. Paths are in the
// program's own form ("\" separators); an implementation maps them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A file opened for writing. Commit() flushes it to the disk and closes it;
// Close() closes it without waiting for the disk, for a file that is read
// back and deleted at once; a writer destroyed without either closes the
// file as it is.
class IFileWriter {
public:
  virtual ~IFileWriter() = default;
  virtual void Write(const void* data, std::size_t size) = 0;
  virtual void Commit() = 0;
  virtual void Close() = 0;
};

// A file opened for reading, others may read and write it meanwhile.
class IFileReader {
public:
  virtual ~IFileReader() = default;
  virtual std::uint64_t Size() = 0;
  virtual void Seek(std::uint64_t position) = 0;
  // Reads up to size bytes at the position; fewer only at the end of the
  // file. Raises EFileError.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
};

class IFileSystem {
public:
  virtual ~IFileSystem() = default;
  // True for an existing file, false for a folder or nothing.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates one folder level; false when it cannot.
  virtual bool CreateDir(const std::string& path) = 0;
  // The whole file; raises EFileError when it cannot be read.
  std::string ReadAll(const std::string& path) { return ReadAllAtMost(path, UINT64_MAX); }
  // The whole file when it holds at most limit bytes; raises EFileTooLarge,
  // before reading anything, when it holds more.
  virtual std::string ReadAllAtMost(const std::string& path, std::uint64_t limit) = 0;
  virtual std::unique_ptr<IFileReader> OpenForRead(const std::string& path) = 0;
  // Creates or truncates the file; raises EFileError.
  virtual std::unique_ptr<IFileWriter> CreateForWrite(const std::string& path) = 0;
  // Moves source over target in one step; raises EFileError.
  virtual void Replace(const std::string& source, const std::string& target) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // The system's folder for temporary files, ending with the separator.
  virtual std::string TempFolder() = 0;
};

// A fresh GUID in registry form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::string NewGuidText();

} // namespace platform
