// The native build has no Windows shell: it lists no drives, gives no
// icons, opens nothing and refuses file operations. Tests that need a
// shell install a recording one.
#include "platform/Services.h"

namespace platform {
namespace {

class NullShell final : public IShell {
public:
  std::string LogicalDriveStrings(std::size_t) override { return {}; }
  std::unique_ptr<TIcon> FileInfoIcon(const std::string&, unsigned) override { return nullptr; }
  void Execute(const ShellExecuteRequest&) override {}
  FileOperationResult FileOperation(const FileOperationRequest&) override { return {1, false}; }
};

} // namespace

IShell& SystemShell() {
  static NullShell shell;
  return shell;
}

} // namespace platform
