#pragma once
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace platform {

// Writes the bytes to a temporary file in the target's folder, flushes it
// and only then moves it over the target, so the target is always either
// the old file or the new one. On failure the temporary file is removed,
// the target is untouched and EFileError is raised.
void WriteFileAtomically(IFileSystem& files, const std::string& path, std::string_view bytes);

// The name of the temporary file WriteFileAtomically uses for path.
std::string AtomicTempName(const std::string& path);

// Copies a file that could not be read to a free name beside it
// ("X.damaged", "X.damaged2", ...) and returns that name. Raises EFileError.
std::string KeepDamagedCopy(IFileSystem& files, const std::string& path);

} // namespace platform
