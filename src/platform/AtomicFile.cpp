#include "platform/AtomicFile.h"

#include "platform/Errors.h"

namespace platform {
namespace {

// The system's words for a failure, or the whole message when it gave none.
std::string ReasonOf(const EFileError& error) { return error.Reason().empty() ? error.what() : error.Reason(); }

// Writes bytes to a fresh temporary file beside path and returns its name;
// a failure is reported under path.
std::string WriteTemporary(IFileSystem& files, const std::string& path, std::string_view bytes) {
  const std::string temp = AtomicTempName(path);
  try {
    auto writer = files.CreateForWrite(temp);
    writer->Write(bytes.data(), bytes.size());
    writer->Commit();
    return temp;
  } catch (const EFileError& error) {
    files.Remove(temp);
    const std::string reason = ReasonOf(error);
    throw EFileError("Unable to write to " + path + ": " + reason, reason);
  }
}

std::string DamagedName(const std::string& path, int n) {
  return path + ".damaged" + (n > 1 ? std::to_string(n) : std::string());
}

bool Taken(IFileSystem& files, const std::string& name) { return files.FileExists(name) || files.DirectoryExists(name); }

// The name for a new damaged copy: the first free one, or, when all are
// taken, the last one after the others have moved down and the oldest has gone.
std::string FreeDamagedName(IFileSystem& files, const std::string& path) {
  for (int n = 1; n <= kMaxDamagedCopies; ++n)
    if (!Taken(files, DamagedName(path, n))) return DamagedName(path, n);
  files.Remove(DamagedName(path, 1));
  for (int n = 2; n <= kMaxDamagedCopies; ++n) files.Replace(DamagedName(path, n), DamagedName(path, n - 1));
  return DamagedName(path, kMaxDamagedCopies);
}

} // namespace

std::string AtomicTempName(const std::string& path) {
  // A GUID's first group is random enough to keep writers apart.
  const std::string guid = NewGuidText();
  return path + ".~" + guid.substr(1, 8) + ".tmp";
}

void WriteFileAtomically(IFileSystem& files, const std::string& path, std::string_view bytes) {
  const std::string temp = WriteTemporary(files, path, bytes);
  try {
    files.Replace(temp, path);
  } catch (...) {
    files.Remove(temp);
    throw;
  }
}

void ReplaceFilesTogether(IFileSystem& files, const std::vector<FileContent>& contents) {
  struct Step {
    std::string temp;   // the new content, until it is moved in
    std::string backup; // the old content, while it may be needed
    bool existed = false;
    bool replaced = false;
  };
  std::vector<Step> steps(contents.size());
  auto cleanUp = [&files, &steps] {
    for (const Step& step : steps) {
      if (!step.temp.empty() && !step.replaced) files.Remove(step.temp);
      if (!step.backup.empty()) files.Remove(step.backup);
    }
  };
  try {
    // Everything is written before anything is replaced.
    for (std::size_t i = 0; i < contents.size(); ++i) {
      const std::string& path = contents[i].path;
      steps[i].existed = files.FileExists(path);
      if (steps[i].existed) steps[i].backup = WriteTemporary(files, path, files.ReadAll(path));
      steps[i].temp = WriteTemporary(files, path, contents[i].bytes);
    }
    for (std::size_t i = 0; i < contents.size(); ++i) {
      files.Replace(steps[i].temp, contents[i].path);
      steps[i].replaced = true;
    }
  } catch (...) {
    // Put back what was replaced; a failure of that is past helping here.
    for (Step& step : steps) {
      if (!step.replaced) continue;
      const std::string& path = contents[static_cast<std::size_t>(&step - steps.data())].path;
      try {
        if (step.existed) {
          files.Replace(step.backup, path);
          step.backup.clear();
        } else {
          files.Remove(path);
        }
      } catch (...) {
      }
    }
    cleanUp();
    throw;
  }
  cleanUp();
}

std::string KeepDamagedCopy(IFileSystem& files, const std::string& path) {
  const std::string content = files.ReadAll(path);
  // The same damage seen again (a start cancelled and repeated) is kept once.
  for (int n = 1; n <= kMaxDamagedCopies; ++n) {
    const std::string name = DamagedName(path, n);
    if (!files.FileExists(name)) continue;
    try {
      if (files.ReadAllAtMost(name, content.size()) == content) return name;
    } catch (const EFileError&) {
    }
  }
  const std::string copy = FreeDamagedName(files, path);
  WriteFileAtomically(files, copy, content);
  return copy;
}

std::string MoveDamagedFileAside(IFileSystem& files, const std::string& path) {
  const std::string name = FreeDamagedName(files, path);
  files.Replace(path, name);
  return name;
}

} // namespace platform
