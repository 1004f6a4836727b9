#pragma once
// The skin archive: a ZIP-layout file that starts with "SK", whose entry
// "SKINDATA.SK2" holds named bitmaps, integers, one-byte values and strings.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "skin/SkinBitmap.h"

class ESkinError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};

constexpr const char* kSkinReadFailed = "Failed to read skin file!";
constexpr const char* kSkinWrongPassword = "Wrong password!";

class Tsk2SkinFileReader {
public:
  // Loads the whole archive; raises ESkinError with one of the two messages.
  Tsk2SkinFileReader(const std::string& fileName, const std::string& password);
  Tsk2SkinFileReader(const Tsk2SkinFileReader&) = delete;
  Tsk2SkinFileReader& operator=(const Tsk2SkinFileReader&) = delete;

  // Names are matched without regard to letter case; the first match wins.
  TBitmap* GetBitmap(const std::string& name) const;
  // -1 when missing or not a decimal number.
  int GetInteger(const std::string& name) const;
  bool GetBoolean(const std::string& name) const;
  void SetTransparentColor(TColor color);

  // Extracts one entry into outName: 0 done, 1 unreadable, 2 refused
  // (wrong password or damaged data). A failed output file is deleted.
  static int ExtractEntry(const std::string& archive, const std::string& entryName, const std::string& outName,
                          const std::string& password);
  // The same into memory; content is left empty unless the result is 0.
  static int ExtractEntryToMemory(const std::string& archive, const std::string& entryName, std::string& content,
                                  const std::string& password);
  // Parses an extracted skin data file into the four lists.
  void ReadSkinData(const std::string& path);
  void ParseSkinData(std::string_view content);

  // A reader with empty lists, filled by ParseSkinData (tools and measurements).
  Tsk2SkinFileReader() = default;

  using Line = std::pair<std::string, std::string>; // name, value as text
  const std::vector<std::pair<std::string, std::unique_ptr<TBitmap>>>& Bitmaps() const { return bitmaps_; }
  const std::vector<Line>& Integers() const { return integers_; }
  const std::vector<Line>& Bytes() const { return bytes_; }
  const std::vector<Line>& Strings() const { return strings_; }

private:
  std::vector<std::pair<std::string, std::unique_ptr<TBitmap>>> bitmaps_;
  std::vector<Line> integers_;
  std::vector<Line> bytes_;
  std::vector<Line> strings_;
};
