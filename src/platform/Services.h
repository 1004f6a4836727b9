#pragma once
// The platform services the portable code reaches. The program uses the
// system's own; a test installs its doubles for the time of a scope.
#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace platform {

IFileSystem& Files();
IShell& Shell();

// Installs other services until the object is destroyed. Either may be
// null to keep the current one.
class ScopedServices {
public:
  ScopedServices(IFileSystem* files, IShell* shell);
  ~ScopedServices();
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;

private:
  IFileSystem* previousFiles_;
  IShell* previousShell_;
};

// The system's own implementations (Win32, or the native build's).
IFileSystem& SystemFiles();
IShell& SystemShell();

} // namespace platform
