#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace platform {

// Writes the bytes to a temporary file of its own in the target's folder,
// flushes it and only then moves it over the target, so the target is
// always either the old file or the new one, also with other writers at
// work. On failure the temporary file is removed, the target is untouched
// and EFileError is raised, naming the target, not the temporary file.
void WriteFileAtomically(IFileSystem& files, const std::string& path, std::string_view bytes);

// A temporary name beside path, fresh for every call: "path.~XXXXXXXX.tmp".
std::string AtomicTempName(const std::string& path);

// The new content of one file of a set replaced together.
struct FileContent {
  std::string path;
  std::string bytes;
};

// Replaces every file of the set, or none: when one step fails, every file
// already replaced gets its old content back (a file that did not exist is
// removed again) before EFileError, naming the file that failed, is raised.
// With a journal, the change is written down there once every new content
// is on the disk, before the first replace, and the journal goes when the
// change is done or undone: a change cut short by a kill or a power cut is
// then finished by FinishInterruptedReplace.
void ReplaceFilesTogether(IFileSystem& files, const std::vector<FileContent>& contents,
                          const std::string& journal = {});

// Finishes a change its journal says was cut short: every new content still
// waiting is moved in, the old ones kept meanwhile are removed, and so is the
// journal. False when there is no journal. Raises EFileError (the journal
// stays, for the next try).
bool FinishInterruptedReplace(IFileSystem& files, const std::string& journal);

// At most this many damaged copies are kept of one file.
constexpr int kMaxDamagedCopies = 5;

// Copies a file that could not be read to a name beside it ("X.damaged",
// "X.damaged2", ... up to kMaxDamagedCopies) and returns that name. A copy
// with the same content is not made twice; when every name is taken, the
// oldest copy gives way. Raises EFileError.
std::string KeepDamagedCopy(IFileSystem& files, const std::string& path);

// Moves a file aside under the next damaged-copy name, without reading it
// (for files too large to copy). Returns the name; raises EFileError.
std::string MoveDamagedFileAside(IFileSystem& files, const std::string& path);

} // namespace platform
