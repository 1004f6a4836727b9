#include "store/UserCode.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kStoredCodeLength = 20; // the account table's "FCode" column

bool IsDeviceName(std::string name) {
  // "CON", "nul.txt" and the like name devices, not folders.
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" || name == "CONOUT$")
    return true;
  return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) && name[3] >= '1' && name[3] <= '9';
}

std::string NameProblem(const std::string& code) {
  for (const char c : code) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) return "A user code can not contain control characters.";
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return "A user code can not contain any of the characters \\ / : * ? \" < > |";
  }
  if (code == "." || code == "..") return "\".\" and \"..\" are not valid user codes.";
  if (code.back() == ' ' || code.back() == '.') return "A user code can not end with a space or a dot.";
  if (IsDeviceName(code)) return "\"" + code + "\" is a device name of Windows and can not be a user code.";
  return {};
}

} // namespace

std::string UserCodeProblem(const std::string& code) {
  if (code.empty()) return {};
  std::string problem = NameProblem(code);
  // The table keeps 20 characters; the folder is named by what is kept.
  if (problem.empty() && code.size() > kStoredCodeLength) problem = NameProblem(code.substr(0, kStoredCodeLength));
  return problem;
}
