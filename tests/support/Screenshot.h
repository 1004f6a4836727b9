#pragma once
// Saves what a window shows on the screen as a BMP file (Windows only).
#include <windows.h>

#include <string>

#include <memory>

#include "skin/SkinBitmap.h"

// What the window shows on the screen, or none when it could not be taken.
std::unique_ptr<TBitmap> TakeWindowShot(HWND window);
// Returns false when the picture could not be taken or written.
bool SaveWindowShot(HWND window, const std::string& path);
