#pragma once
// Saves what a window shows on the screen as a BMP file (Windows only).
#include <windows.h>

#include <string>

// Returns false when the picture could not be taken or written.
bool SaveWindowShot(HWND window, const std::string& path);
