#pragma once
// Each account's own choices, in "settings.ini" in the account's folder
// (the program's "config.ini" keeps only the skin file).
#include <string>

#include "ui/PasswordTools.h"

class TAccountSettings {
public:
  // The settings of the logged-in account.
  TAccountSettings();
  explicit TAccountSettings(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

  // The stored options, or the defaults where none or no usable ones are stored.
  TPasswordOptions PasswordOptions() const;
  // Raises EPlimetError "Unable to write to" the file.
  void SetPasswordOptions(const TPasswordOptions& options);
  bool HidePasswords() const;
  void SetHidePasswords(bool hide);

private:
  int ReadInt(const char* section, const char* key, int fallback) const;
  void Write(const char* section, const char* key, int value);
  std::string path_;
};
