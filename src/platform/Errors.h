#pragma once
// Errors a user may have to read: the exception's text is the message shown.
#include <stdexcept>
#include <string>
#include <utility>

class EPlimetError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A file or folder could not be read, written, created or replaced. The
// reason is the system's own words for it, when there are any, so that a
// caller can say the same of another name.
class EFileError : public EPlimetError {
public:
  explicit EFileError(const std::string& message, std::string reason = {})
      : EPlimetError(message), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

private:
  std::string reason_;
};

// A file larger than anything the program would read from it.
class EFileTooLarge : public EFileError {
public:
  using EFileError::EFileError;
};

// The text as a sentence: a full stop added unless it has one.
inline std::string AsSentence(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (!text.empty() && text.back() != '.' && text.back() != '!' && text.back() != '?') text += '.';
  return text;
}
