// Draws the bitmaps of a test skin from its pieces list: each piece a flat,
// distinctive colour, so that a pixel tells which piece (or which frame of
// the caption button strip) was drawn where.
//   testskin_generate PIECES_FILE OUTPUT_FOLDER
// Each line of the list: NAME WIDTH HEIGHT SHAPE R,G,B [R,G,B R,G,B]
// Shapes: flat; corner-tl, corner-tr, corner-bl, corner-br (a three-pixel
// staircase of the key colour in that corner); hole (one key pixel in the
// middle); cells3 (three cells of the three colours); buttons, buttons-keyed
// (18 frames, frame k of colour (13k, 100, 50); keyed: its top-left pixel is
// the key colour).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/SkinBitmap.h"

namespace {

constexpr TColor kKey = RGBColor(255, 0, 255); // every test skin's transparent colour

TColor ParseColor(const std::string& text) {
  int r = -1, g = -1, b = -1;
  char c1 = 0, c2 = 0;
  std::istringstream in(text);
  if (!(in >> r >> c1 >> g >> c2 >> b) || c1 != ',' || c2 != ',' || r < 0 || r > 255 || g < 0 || g > 255 || b < 0 ||
      b > 255)
    throw std::runtime_error("bad colour " + text);
  return RGBColor(r, g, b);
}

void Fill(TBitmap& bitmap, int l, int t, int r, int b, TColor color) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) bitmap.SetPixel(x, y, color);
}

// Three keyed pixels in the corner's row, two in the next, one in the third.
void Staircase(TBitmap& bitmap, bool right, bool bottom) {
  for (int step = 0; step < 3; ++step) {
    const int y = bottom ? bitmap.Height() - 1 - step : step;
    for (int i = 0; i < 3 - step; ++i) bitmap.SetPixel(right ? bitmap.Width() - 1 - i : i, y, kKey);
  }
}

void Paint(TBitmap& bitmap, const std::string& shape, const std::vector<TColor>& colors) {
  const int width = bitmap.Width(), height = bitmap.Height();
  Fill(bitmap, 0, 0, width, height, colors[0]);
  if (shape == "corner-tl") Staircase(bitmap, false, false);
  else if (shape == "corner-tr") Staircase(bitmap, true, false);
  else if (shape == "corner-bl") Staircase(bitmap, false, true);
  else if (shape == "corner-br") Staircase(bitmap, true, true);
  else if (shape == "hole") bitmap.SetPixel(width / 2, height / 2, kKey);
  else if (shape == "cells3") {
    if (colors.size() != 3) throw std::runtime_error("cells3 needs three colours");
    const int cell = width / 3;
    for (int i = 0; i < 3; ++i) Fill(bitmap, i * cell, 0, (i + 1) * cell, height, colors[static_cast<std::size_t>(i)]);
  } else if (shape == "buttons" || shape == "buttons-keyed") {
    const int frame = width / 18;
    for (int k = 1; k <= 18; ++k) {
      Fill(bitmap, (k - 1) * frame, 0, k * frame, height, RGBColor(13 * k, 100, 50));
      if (shape == "buttons-keyed") bitmap.SetPixel((k - 1) * frame, 0, kKey);
    }
  } else if (shape != "flat") {
    throw std::runtime_error("unknown shape " + shape);
  }
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: testskin_generate PIECES_FILE OUTPUT_FOLDER\n");
    return 2;
  }
  try {
    std::ifstream list(argv[1]);
    if (!list) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    const std::filesystem::path out(argv[2]);
    std::filesystem::create_directories(out);
    std::string line;
    while (std::getline(list, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream words(line);
      std::string name, shape, color;
      int width = 0, height = 0;
      words >> name >> width >> height >> shape;
      std::vector<TColor> colors;
      while (words >> color) colors.push_back(ParseColor(color));
      if (name.empty() || width <= 0 || height <= 0 || colors.empty()) throw std::runtime_error("bad line: " + line);
      std::ofstream file(out / (name + ".bmp"), std::ios::binary);
      TBitmap bitmap(width, height);
      Paint(bitmap, shape, colors);
      file << bitmap.ToBmp();
      if (!file) throw std::runtime_error("cannot write " + name);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "testskin_generate: %s\n", error.what());
    return 1;
  }
  return 0;
}
