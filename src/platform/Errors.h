#pragma once
// Errors a user may have to read: the exception's text is the message shown.
#include <stdexcept>
#include <string>

class EPlimetError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A file or folder could not be read, written, created or replaced.
class EFileError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};
