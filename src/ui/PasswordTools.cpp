#include "ui/PasswordTools.h"

#include <cstdint>
#include <string_view>

#include "platform/Errors.h"
#include "platform/AnsiText.h"

namespace {

constexpr std::string_view kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kLower = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kDigits = "0123456789";
// Symbols that sites accept and that survive being pasted into a form.
constexpr std::string_view kSymbols = "!#$%&()*+,-./:;<=>?@[]^_{|}~";
constexpr std::string_view kLookAlike = "Il1O0o|";

std::string Without(std::string_view chars, bool avoid) {
  std::string result;
  for (const char c : chars)
    if (!avoid || kLookAlike.find(c) == std::string_view::npos) result += c;
  return result;
}

// A uniform number below bound, from whole 32-bit draws (no modulo bias).
std::uint32_t Below(std::uint32_t bound, const TRandomSource& random) {
  const std::uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
  for (;;) {
    std::uint32_t value = 0;
    random(&value, sizeof value);
    if (value < limit) return value % bound;
  }
}

bool IsSchemeChar(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return first ? letter : letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

[[noreturn]] void Refuse(const std::string& url, const std::string& why) {
  throw EPlimetError("The URL \"" + url + "\" is not opened: " + why);
}

} // namespace

std::vector<std::string> PasswordClasses(const TPasswordOptions& options) {
  std::vector<std::string> classes;
  if (options.Upper) classes.push_back(Without(kUpper, options.AvoidLookAlike));
  if (options.Lower) classes.push_back(Without(kLower, options.AvoidLookAlike));
  if (options.Digits) classes.push_back(Without(kDigits, options.AvoidLookAlike));
  if (options.Symbols) classes.push_back(Without(kSymbols, options.AvoidLookAlike));
  return classes;
}

std::string PasswordOptionsProblem(const TPasswordOptions& options) {
  const std::size_t classes = PasswordClasses(options).size();
  if (classes == 0) return "Choose at least one kind of character.";
  if (options.Length < kMinPasswordLength || options.Length > kMaxPasswordLength)
    return "The length must be from " + std::to_string(kMinPasswordLength) + " to " +
           std::to_string(kMaxPasswordLength) + " characters.";
  if (static_cast<std::size_t>(options.Length) < classes)
    return "The length must be at least the number of kinds of character chosen.";
  return {};
}

std::string GeneratePassword(const TPasswordOptions& options, const TRandomSource& random) {
  if (const std::string problem = PasswordOptionsProblem(options); !problem.empty()) throw EPlimetError(problem);
  const std::vector<std::string> classes = PasswordClasses(options);
  std::string all;
  for (const std::string& chars : classes) all += chars;
  std::string password;
  password.reserve(static_cast<std::size_t>(options.Length));
  // One of each class first, the rest from all, then shuffled.
  for (const std::string& chars : classes)
    password += chars[Below(static_cast<std::uint32_t>(chars.size()), random)];
  while (password.size() < static_cast<std::size_t>(options.Length))
    password += all[Below(static_cast<std::uint32_t>(all.size()), random)];
  for (std::size_t i = password.size() - 1; i > 0; --i)
    std::swap(password[i], password[Below(static_cast<std::uint32_t>(i + 1), random)]);
  return password;
}

std::string UrlToOpen(const std::string& url) {
  std::string text = url;
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.empty()) Refuse(url, "the record has no URL.");
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 127 || std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos)
      Refuse(url, "it holds spaces, quotes or other characters that do not belong in a web address.");
  }
  // A scheme is letters and the like before the first colon; one letter is a drive.
  std::size_t colon = 0;
  while (colon < text.size() && IsSchemeChar(text[colon], colon == 0)) ++colon;
  // "example.org:8080" names a host and its port, not a scheme (no scheme has a dot).
  const bool port = colon + 1 < text.size() && text[colon + 1] >= '0' && text[colon + 1] <= '9' &&
                    text.substr(0, colon).find('.') != std::string::npos;
  const bool hasScheme = colon > 1 && colon < text.size() && text[colon] == ':' && !port;
  if (hasScheme) {
    const std::string scheme = FoldAnsiCase(text.substr(0, colon));
    if (scheme != "http" && scheme != "https" && scheme != "ftp")
      Refuse(url, "only web (http, https) and ftp addresses are opened.");
    if (text.compare(colon + 1, 2, "//") != 0) Refuse(url, "it does not name a web site.");
  } else {
    if (colon == 1 && text.size() > 1 && text[1] == ':') Refuse(url, "it names a file, not a web site.");
    if (text.starts_with("//")) Refuse(url, "it names a file, not a web site.");
    text = "https://" + text;
  }
  const std::size_t hostStart = text.find("//") + 2;
  const std::size_t hostEnd = text.find_first_of("/?#", hostStart);
  const std::string host = text.substr(hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
  bool named = false;
  for (const char c : host) named = named || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  // Without a scheme the text must look like a site ("example.org"), not a word.
  if (!named || (!hasScheme && host.find('.') == std::string::npos)) Refuse(url, "it does not name a web site.");
  return text;
}

bool RecordMatches(const std::string& title, const std::string& url, const std::string& user, const std::string& text) {
  if (text.empty()) return true;
  const std::string wanted = FoldAnsiCase(text);
  for (const std::string* field : {&title, &url, &user})
    if (FoldAnsiCase(*field).find(wanted) != std::string::npos) return true;
  return false;
}
