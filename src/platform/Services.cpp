#include "platform/Services.h"

namespace platform {
namespace {
// The one piece of process-wide state here: which services are in use.
IFileSystem* currentFiles = nullptr;
IShell* currentShell = nullptr;
} // namespace

IFileSystem& Files() { return currentFiles ? *currentFiles : SystemFiles(); }
IShell& Shell() { return currentShell ? *currentShell : SystemShell(); }

ScopedServices::ScopedServices(IFileSystem* files, IShell* shell)
    : previousFiles_(currentFiles), previousShell_(currentShell) {
  if (files) currentFiles = files;
  if (shell) currentShell = shell;
}

ScopedServices::~ScopedServices() {
  currentFiles = previousFiles_;
  currentShell = previousShell_;
}

} // namespace platform
