#pragma once
// skinpack build SOURCE_DIR OUT.ssk [--password P] [--store]
// skinpack list FILE.ssk [--password P]
#include <ostream>
#include <string>
#include <vector>

#include "skinpack/SkinWriter.h"

// The values of a skin source folder: "skin.txt" lines
//   integer NAME VALUE   (decimal, 0x hex, or rgb(R,G,B) for a colour)
//   flag NAME VALUE      (0-255)
//   string NAME TEXT
// and every NAME.bmp beside it as the bitmap NAME. Raises std::runtime_error.
std::vector<TSkinValue> ReadSkinSource(const std::string& folder);

int RunSkinPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
