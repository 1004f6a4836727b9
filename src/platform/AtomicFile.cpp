#include "platform/AtomicFile.h"

#include "platform/Errors.h"

#include <algorithm>

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

// The name for a new damaged copy. Copies are numbered oldest first: the
// new one goes after the newest; when the last number is taken, the
// copies move down over any gaps, the oldest giving way when there is none.
// A folder of such a name is not ours and is left where it is.
std::string FreeDamagedName(IFileSystem& files, const std::string& path) {
  std::vector<int> copies, usable;
  for (int n = 1; n <= kMaxDamagedCopies; ++n) {
    const std::string name = DamagedName(path, n);
    if (files.DirectoryExists(name)) continue;
    usable.push_back(n);
    if (files.FileExists(name)) copies.push_back(n);
  }
  if (usable.empty()) throw EFileError("Unable to keep a copy of " + path + ": every name for a copy is taken by a folder");
  if (copies.empty()) return DamagedName(path, usable.front());
  const auto after = std::upper_bound(usable.begin(), usable.end(), copies.back());
  if (after != usable.end()) return DamagedName(path, *after);
  std::size_t keep = copies.size();
  if (keep == usable.size()) {
    files.Remove(DamagedName(path, copies.front()));
    copies.erase(copies.begin());
    --keep;
  }
  for (std::size_t i = 0; i < keep; ++i)
    if (copies[i] != usable[i]) files.Replace(DamagedName(path, copies[i]), DamagedName(path, usable[i]));
  return DamagedName(path, usable[keep]);
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

void ReplaceFilesTogether(IFileSystem& files, const std::vector<FileContent>& contents, const std::string& journal) {
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
    // From here on the change can be finished whatever happens to the process.
    if (!journal.empty()) {
      std::string lines;
      for (std::size_t i = 0; i < contents.size(); ++i)
        lines += contents[i].path + '\t' + steps[i].temp + '\t' + steps[i].backup + '\n';
      WriteFileAtomically(files, journal, lines);
    }
    for (std::size_t i = 0; i < contents.size(); ++i) {
      files.Replace(steps[i].temp, contents[i].path);
      steps[i].replaced = true;
    }
  } catch (const std::exception& error) {
    // Put back what was replaced. An old content that cannot be put back
    // stays in its backup, and the message says where.
    std::string unrestored;
    for (Step& step : steps) {
      if (!step.replaced) continue;
      const std::string& path = contents[static_cast<std::size_t>(&step - steps.data())].path;
      try {
        if (step.existed) {
          files.Replace(step.backup, path);
        } else {
          files.Remove(path);
        }
        step.backup.clear();
      } catch (const std::exception&) {
        unrestored += " The old content of " + path + " could not be put back; it is kept in " + step.backup + ".";
        step.backup.clear(); // kept
      }
    }
    cleanUp();
    if (!journal.empty()) files.Remove(journal);
    if (unrestored.empty()) throw;
    throw EFileError(AsSentence(error.what()) + unrestored);
  }
  cleanUp();
  if (!journal.empty()) files.Remove(journal);
}

bool FinishInterruptedReplace(IFileSystem& files, const std::string& journal) {
  if (!files.FileExists(journal)) return false;
  const std::string lines = files.ReadAllAtMost(journal, 64 * 1024);
  std::vector<std::string> backups;
  for (std::size_t start = 0; start < lines.size();) {
    const std::size_t end = std::min(lines.find('\n', start), lines.size());
    const std::string line = lines.substr(start, end - start);
    start = end + 1;
    const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
    if (tab1 == std::string::npos || tab2 == std::string::npos) continue;
    const std::string target = line.substr(0, tab1), temp = line.substr(tab1 + 1, tab2 - tab1 - 1);
    // A new content still waiting goes in; one already moved is there.
    if (files.FileExists(temp)) files.Replace(temp, target);
    backups.push_back(line.substr(tab2 + 1));
  }
  for (const std::string& backup : backups)
    if (!backup.empty()) files.Remove(backup);
  files.Remove(journal);
  return true;
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
