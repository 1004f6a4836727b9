// Shell services through shell32, with no owner window.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/Services.h"

namespace platform {
namespace {

class Win32Icon final : public TIcon {
public:
  explicit Win32Icon(HICON icon) : icon_(icon) {}
  ~Win32Icon() override { DestroyIcon(icon_); }
  Win32Icon(const Win32Icon&) = delete;
  Win32Icon& operator=(const Win32Icon&) = delete;
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(icon_); }

private:
  HICON icon_;
};

// A one-entry shell path list: the path and two NUL characters.
std::vector<char> PathList(const std::string& path) {
  std::vector<char> list(path.begin(), path.end());
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

class Win32Shell final : public IShell {
public:
  std::string LogicalDriveStrings(std::size_t bufferSize) override {
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD n = GetLogicalDriveStringsA(static_cast<DWORD>(bufferSize), buffer.data());
    if (n == 0) return {};
    return std::string(buffer.data(), bufferSize);
  }
  std::unique_ptr<TIcon> FileInfoIcon(const std::string& path, unsigned flags) override {
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
    if (!info.hIcon) return nullptr;
    return std::make_unique<Win32Icon>(info.hIcon);
  }
  void Execute(const ShellExecuteRequest& request) override {
    ShellExecuteA(reinterpret_cast<HWND>(request.owner), request.operation.c_str(), request.file.c_str(),
                  request.parameters.empty() ? nullptr : request.parameters.c_str(),
                  request.directory.empty() ? nullptr : request.directory.c_str(), request.show);
  }
  FileOperationResult FileOperation(const FileOperationRequest& request) override {
    std::vector<char> from = PathList(request.from);
    std::vector<char> to = PathList(request.to);
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = nullptr;
    operation.wFunc = request.function;
    operation.pFrom = from.data();
    operation.pTo = request.to.empty() ? nullptr : to.data();
    operation.fFlags = static_cast<FILEOP_FLAGS>(request.flags);
    FileOperationResult result;
    result.code = SHFileOperationA(&operation);
    result.aborted = operation.fAnyOperationsAborted != FALSE;
    return result;
  }
};

} // namespace

IShell& SystemShell() {
  static Win32Shell shell;
  return shell;
}

} // namespace platform
