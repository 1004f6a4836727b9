#include "platform/AtomicFile.h"

#include "platform/Errors.h"

namespace platform {

std::string AtomicTempName(const std::string& path) { return path + ".~new"; }

void WriteFileAtomically(IFileSystem& files, const std::string& path, std::string_view bytes) {
  const std::string temp = AtomicTempName(path);
  try {
    auto writer = files.CreateForWrite(temp);
    writer->Write(bytes.data(), bytes.size());
    writer->Commit();
    files.Replace(temp, path);
  } catch (...) {
    files.Remove(temp);
    throw;
  }
}

std::string KeepDamagedCopy(IFileSystem& files, const std::string& path) {
  const std::string content = files.ReadAll(path);
  std::string copy = path + ".damaged";
  for (int n = 2; files.FileExists(copy) || files.DirectoryExists(copy); ++n) {
    if (n > 999) throw EFileError("Unable to keep a copy of " + path);
    copy = path + ".damaged" + std::to_string(n);
  }
  WriteFileAtomically(files, copy, content);
  return copy;
}

} // namespace platform
