#pragma once
// The text digest: MD5 over the text's bytes, as 32 lower-case hex digits.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class sMD5 {
public:
  static std::array<std::uint8_t, 16> Digest(std::string_view bytes);
  static std::string MD5Hex(std::string_view text);
};
