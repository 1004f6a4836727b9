#pragma once
// What the password book does with a record besides showing it: new
// passwords, the address to open, and the search over records.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// How new passwords are made.
struct TPasswordOptions {
  int Length = 20;
  bool Upper = true;
  bool Lower = true;
  bool Digits = true;
  bool Symbols = true;
  bool AvoidLookAlike = false; // no I, l, 1, O, 0, o, |
};

constexpr int kMinPasswordLength = 4;
constexpr int kMaxPasswordLength = 256; // what a record's password column holds

// The characters of each chosen class, look-alikes left out when asked.
std::vector<std::string> PasswordClasses(const TPasswordOptions& options);
// Empty when the options can make a password; otherwise why not.
std::string PasswordOptionsProblem(const TPasswordOptions& options);

// Fills a buffer with random bytes.
using TRandomSource = std::function<void(void*, std::size_t)>;

// A new password: Length characters, at least one of each chosen class;
// each character is drawn without bias from its pool (one place per class
// from that class, the others from all), and the places shuffled. Raises
// EPlimetError with the options' problem.
std::string GeneratePassword(const TPasswordOptions& options, const TRandomSource& random);

// The address the shell may open for a record's URL: "https://" added when
// it names no scheme. Raises EPlimetError, saying why, for anything but an
// http, https or ftp address (a file, a script, a command).
std::string UrlToOpen(const std::string& url);

// Whether a record's title, URL or user name contains the text, whatever
// the letter case. The empty text matches every record.
bool RecordMatches(const std::string& title, const std::string& url, const std::string& user, const std::string& text);
