#include "skin/engine/SkinResources.h"

#include <windows.h>

#include <cstring>
#include <vector>

std::unique_ptr<TBitmap> LoadResourceBitmap(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const auto* dib = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  if (!dib || size < sizeof(BITMAPINFOHEADER)) return nullptr;
  // A bitmap resource is a file without its file header: put one in front.
  BITMAPINFOHEADER info;
  std::memcpy(&info, dib, sizeof info);
  DWORD colours = info.biClrUsed;
  if (!colours && info.biBitCount <= 8) colours = 1u << info.biBitCount;
  DWORD offset = sizeof(BITMAPFILEHEADER) + info.biSize + colours * 4;
  if (info.biCompression == BI_BITFIELDS && info.biSize == sizeof(BITMAPINFOHEADER)) offset += 12;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfSize = static_cast<DWORD>(sizeof header + size);
  header.bfOffBits = offset;
  std::vector<std::uint8_t> file(sizeof header + size);
  std::memcpy(file.data(), &header, sizeof header);
  std::memcpy(file.data() + sizeof header, dib, size);
  try {
    return TBitmap::FromBmp(file.data(), file.size());
  } catch (const EBitmapError&) {
    return nullptr;
  }
}
