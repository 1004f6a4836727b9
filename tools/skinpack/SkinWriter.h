#pragma once
// Writing skin archives: the skin data file of named values, and the
// archive around it ("SK" instead of "PK", one entry "SKINDATA.SK2").
#include <cstdint>
#include <string>
#include <vector>

enum class TSkinValueType : std::uint8_t { Bitmap = 0, Integer = 1, OneByte = 2, String = 3 };

struct TSkinValue {
  std::string name; // at most 64 characters
  TSkinValueType type;
  std::string data; // BMP file bytes, 4-byte integer, 1 byte, or text
};

TSkinValue IntegerValue(const std::string& name, std::int32_t value);
TSkinValue ByteValue(const std::string& name, std::uint8_t value);
TSkinValue StringValue(const std::string& name, const std::string& text);
TSkinValue BitmapValue(const std::string& name, const std::string& bmpFile);

// The skin data file: a 24-byte header, then each value's record and data,
// then the terminating record.
std::string EncodeSkinData(const std::vector<TSkinValue>& values);

// The traditional ZIP encryption of an entry's data: a 12-byte header whose
// last byte is the check byte, then the data, all encrypted with the password.
std::string ZipEncrypt(const std::string& data, const std::string& password, std::uint8_t checkByte);

struct TArchiveOptions {
  std::string password; // empty: not encrypted
  bool store = false;   // deflate without compression (stored blocks)
  std::string entryName = "SKINDATA.SK2";
};

// Writes the archive; raises std::runtime_error when it cannot.
void WriteSkinArchive(const std::string& path, const std::string& skinData, const TArchiveOptions& options);
