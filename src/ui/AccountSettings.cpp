#include "ui/AccountSettings.h"

#include <windows.h>

#include "platform/Errors.h"
#include "store/uDM.h"

namespace {
constexpr const char* kGenerator = "Generator";
constexpr const char* kView = "View";
} // namespace

TAccountSettings::TAccountSettings() : path_(UserFolder() + "\\settings.ini") {}

int TAccountSettings::ReadInt(const char* section, const char* key, int fallback) const {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path_.c_str()));
}

void TAccountSettings::Write(const char* section, const char* key, int value) {
  EnsureUserFolder();
  if (!WritePrivateProfileStringA(section, key, std::to_string(value).c_str(), path_.c_str()))
    throw EPlimetError("Unable to write to " + path_);
}

TPasswordOptions TAccountSettings::PasswordOptions() const {
  const TPasswordOptions defaults;
  TPasswordOptions options;
  options.Length = ReadInt(kGenerator, "Length", defaults.Length);
  options.Upper = ReadInt(kGenerator, "Upper", defaults.Upper) != 0;
  options.Lower = ReadInt(kGenerator, "Lower", defaults.Lower) != 0;
  options.Digits = ReadInt(kGenerator, "Digits", defaults.Digits) != 0;
  options.Symbols = ReadInt(kGenerator, "Symbols", defaults.Symbols) != 0;
  options.AvoidLookAlike = ReadInt(kGenerator, "AvoidLookAlike", defaults.AvoidLookAlike) != 0;
  // A file edited into something unusable does not stop the generator.
  return PasswordOptionsProblem(options).empty() ? options : defaults;
}

void TAccountSettings::SetPasswordOptions(const TPasswordOptions& options) {
  Write(kGenerator, "Length", options.Length);
  Write(kGenerator, "Upper", options.Upper);
  Write(kGenerator, "Lower", options.Lower);
  Write(kGenerator, "Digits", options.Digits);
  Write(kGenerator, "Symbols", options.Symbols);
  Write(kGenerator, "AvoidLookAlike", options.AvoidLookAlike);
}

bool TAccountSettings::HidePasswords() const { return ReadInt(kView, "HidePasswords", 0) != 0; }

void TAccountSettings::SetHidePasswords(bool hide) { Write(kView, "HidePasswords", hide); }
