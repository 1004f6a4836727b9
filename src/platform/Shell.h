#pragma once
// The Windows shell services the store uses, with the values the shell
// itself defines, so that callers state exactly what they ask for.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

constexpr unsigned kFoMove = 1;
constexpr unsigned kFoCopy = 2;
constexpr unsigned kFoDelete = 3;
constexpr unsigned kFofAllowUndo = 0x40;
constexpr unsigned kFofNoErrorUi = 0x400;
constexpr unsigned kShgfiIcon = 0x100;
constexpr unsigned kShgfiSmallIcon = 0x1;
constexpr int kSwShowNoActivate = 4;

// An icon handle owned by this object.
class TIcon {
public:
  virtual ~TIcon() = default;
  virtual std::uintptr_t Handle() const = 0;
};

struct ShellExecuteRequest {
  std::string operation; // "" is the default action
  std::string file;
  std::string parameters; // "" passes none
  std::string directory;  // "" passes none
  int show = 0;
  std::uintptr_t owner = 0; // the owner window; 0 for none
};

// One file operation; from and to each name one path ("" passes no target).
struct FileOperationRequest {
  unsigned function = 0;
  std::string from;
  std::string to;
  unsigned flags = 0;
};

// What a file operation came to.
struct FileOperationResult {
  int code = 0;         // the shell's result, 0 for success
  bool aborted = false; // the user declined or cancelled some of it
  bool Done() const { return code == 0 && !aborted; }
};

class IShell {
public:
  virtual ~IShell() = default;
  // The system's drive strings as returned into a buffer of bufferSize
  // bytes (NUL-separated, ending with an empty string); "" when the call
  // returns 0.
  virtual std::string LogicalDriveStrings(std::size_t bufferSize) = 0;
  // The shell's icon for path with the given file-info flags; none when
  // the shell gives no icon.
  virtual std::unique_ptr<TIcon> FileInfoIcon(const std::string& path, unsigned flags) = 0;
  // Shell execute; the result is the shell's affair.
  virtual void Execute(const ShellExecuteRequest& request) = 0;
  // Shell file operation with no owner window.
  virtual FileOperationResult FileOperation(const FileOperationRequest& request) = 0;
};

} // namespace platform
