#include "support/Screenshot.h"

#include <filesystem>

#include "skin/SkinBitmap.h"
#include "support/TempFolder.h"

bool SaveWindowShot(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  TBitmap shot(width, height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(shot.Handle()));
  const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) return false;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  WriteFileBytes(path, shot.ToBmp());
  return true;
}
