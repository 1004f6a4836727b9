#pragma once
// The message of what an operation raised; "" when it raised nothing.
#include <exception>
#include <functional>
#include <string>

inline std::string ErrorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}
