#pragma once
// Bitmaps the engine brings in the program's resources.
#include <memory>

#include "skin/SkinBitmap.h"

// A bitmap resource of the program as a skin bitmap, or none.
std::unique_ptr<TBitmap> LoadResourceBitmap(const char* name);
