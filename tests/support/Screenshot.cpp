#include "support/Screenshot.h"

#include <filesystem>

#include "skin/SkinBitmap.h"
#include "support/TempFolder.h"

std::unique_ptr<TBitmap> TakeWindowShot(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return nullptr;
  const int width = r.right - r.left, height = r.bottom - r.top;
  auto shot = std::make_unique<TBitmap>(width, height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(shot->Handle()));
  const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied ? std::move(shot) : nullptr;
}

bool SaveWindowShot(HWND window, const std::string& path) {
  const auto shot = TakeWindowShot(window);
  if (!shot) return false;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  WriteFileBytes(path, shot->ToBmp());
  return true;
}
