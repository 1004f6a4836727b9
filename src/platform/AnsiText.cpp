#include "platform/AnsiText.h"

std::string FoldAnsiCase(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
      c = static_cast<char>(byte + 0x20);
  }
  return text;
}
