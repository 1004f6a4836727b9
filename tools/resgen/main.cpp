// resgen OUT_DIR: draws Plimet's own images for its resource file: the
// program icon (16 and 32 pixels), the tree's catalog and folder images,
// and the tool bar's strip, on magenta where they are transparent.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "skin/SkinBitmap.h"

namespace {

constexpr TColor kKey = RGBColor(255, 0, 255);

void Fill(TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x) b.SetPixel(x, y, c);
}

void Frame(TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  Fill(b, l, t, r, t + 1, c);
  Fill(b, l, bottom - 1, r, bottom, c);
  Fill(b, l, t, l + 1, bottom, c);
  Fill(b, r - 1, t, r, bottom, c);
}

// The program: a deep cyan tile with a white "P", scaled to the size.
void ProgramImage(TBitmap& b) {
  const int s = b.Width();
  const double k = s / 16.0;
  auto at = [k](double v) { return static_cast<int>(std::lround(v * k)); };
  Fill(b, 0, 0, s, s, kKey);
  Fill(b, at(1), at(1), at(15), at(15), RGBColor(0, 122, 142));
  Frame(b, at(1), at(1), at(15), at(15), RGBColor(0, 62, 76));
  Fill(b, at(5), at(4), at(7), at(12), RGBColor(255, 255, 255));
  Fill(b, at(7), at(4), at(11), at(6), RGBColor(255, 255, 255));
  Fill(b, at(10), at(5), at(12), at(8), RGBColor(255, 255, 255));
  Fill(b, at(7), at(8), at(11), at(10), RGBColor(255, 255, 255));
}

void CatalogImage(TBitmap& b, int left) {
  Fill(b, left + 3, 1, left + 14, 15, RGBColor(0, 122, 142));
  Frame(b, left + 3, 1, left + 14, 15, RGBColor(0, 62, 76));
  Fill(b, left + 5, 3, left + 12, 6, RGBColor(230, 245, 248));
}

void FolderImage(TBitmap& b, int left) {
  Fill(b, left + 1, 3, left + 7, 6, RGBColor(230, 180, 60));
  Fill(b, left + 1, 5, left + 15, 14, RGBColor(250, 210, 90));
  Frame(b, left + 1, 5, left + 15, 14, RGBColor(150, 110, 20));
}

// Tool bar: new catalog, delete catalog, new, edit, delete, save, cancel, exit.
void ToolBarImages(TBitmap& b) {
  Fill(b, 0, 0, b.Width(), 16, kKey);
  CatalogImage(b, 0);
  CatalogImage(b, 16);
  for (int i = 0; i < 6; ++i) { // a sheet for the record commands
    const int l = 32 + 16 * i;
    Fill(b, l + 3, 1, l + 13, 15, RGBColor(255, 255, 255));
    Frame(b, l + 3, 1, l + 13, 15, RGBColor(90, 120, 128));
  }
  const TColor green = RGBColor(40, 150, 70), blue = RGBColor(0, 110, 150);
  auto cross = [&b](int l) {
    const TColor red = RGBColor(200, 60, 50);
    for (int i = 0; i < 7; ++i) {
      b.SetPixel(l + 6 + i, 6 + i, red);
      b.SetPixel(l + 12 - i, 6 + i, red);
    }
  };
  cross(16);   // delete catalog
  Fill(b, 32 + 9, 8, 32 + 15, 10, green);  // new: a plus
  Fill(b, 32 + 11, 6, 32 + 13, 12, green);
  for (int i = 0; i < 8; ++i) b.SetPixel(48 + 5 + i, 12 - i, blue); // edit: a pen stroke
  cross(64);   // delete
  Fill(b, 80 + 5, 9, 80 + 11, 13, blue); // save
  cross(96);   // cancel
  Fill(b, 112 + 9, 3, 112 + 11, 13, RGBColor(90, 120, 128)); // exit: a door
}

void WriteBmp(const std::filesystem::path& path, const TBitmap& b) {
  std::ofstream out(path, std::ios::binary);
  out << b.ToBmp();
}

// An icon file of 32-bit images, the key colour transparent.
void WriteIco(const std::filesystem::path& path, const std::vector<const TBitmap*>& images) {
  std::string out;
  auto put16 = [&out](unsigned v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>((v >> 8) & 0xFF); };
  auto put32 = [&put16](unsigned v) { put16(v & 0xFFFF), put16(v >> 16); };
  put16(0);
  put16(1);
  put16(static_cast<unsigned>(images.size()));
  unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
  std::vector<std::string> bodies;
  for (const TBitmap* image : images) {
    const int s = image->Width();
    std::string body;
    auto b16 = [&body](unsigned v) { body += static_cast<char>(v & 0xFF), body += static_cast<char>((v >> 8) & 0xFF); };
    auto b32 = [&b16](unsigned v) { b16(v & 0xFFFF), b16(v >> 16); };
    b32(40), b32(static_cast<unsigned>(s)), b32(static_cast<unsigned>(2 * s)), b16(1), b16(32), b32(0);
    b32(0), b32(0), b32(0), b32(0), b32(0);
    for (int y = s - 1; y >= 0; --y)
      for (int x = 0; x < s; ++x) {
        const TColor c = image->Pixel(x, y);
        const bool clear = c == kKey;
        body += static_cast<char>(clear ? 0 : (c >> 16) & 0xFF);
        body += static_cast<char>(clear ? 0 : (c >> 8) & 0xFF);
        body += static_cast<char>(clear ? 0 : c & 0xFF);
        body += static_cast<char>(clear ? 0 : 0xFF);
      }
    const int maskStride = ((s + 31) / 32) * 4;
    for (int y = s - 1; y >= 0; --y) {
      std::string row(static_cast<std::size_t>(maskStride), '\0');
      for (int x = 0; x < s; ++x)
        if (image->Pixel(x, y) == kKey) row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      body += row;
    }
    out += static_cast<char>(s), out += static_cast<char>(s), out += '\0', out += '\0';
    put16(1), put16(32), put32(static_cast<unsigned>(body.size())), put32(offset);
    offset += static_cast<unsigned>(body.size());
    bodies.push_back(body);
  }
  for (const std::string& body : bodies) out += body;
  std::ofstream file(path, std::ios::binary);
  file << out;
}

// The check mark of checked menu items when the skin brings none: a dark
// tick on white, two pixels thick.
void CheckMark(TBitmap& b) {
  Fill(b, 0, 0, 16, 16, RGBColor(255, 255, 255));
  const TColor ink = RGBColor(24, 32, 40);
  for (int i = 0; i < 4; ++i) Fill(b, 3 + i, 7 + i, 5 + i, 9 + i, ink);   // the short stroke down
  for (int i = 0; i < 7; ++i) Fill(b, 7 + i, 9 - i, 9 + i, 11 - i, ink);  // the long stroke up
}

// The MDI child buttons of a skinned menu bar: minimize, restore, close.
void MdiButtons(TBitmap& b) {
  Fill(b, 0, 0, 48, 16, RGBColor(255, 255, 255));
  const TColor ink = RGBColor(0, 0, 0);
  Fill(b, 4, 10, 11, 12, ink);                      // minimize: a bar at the bottom
  Frame(b, 16 + 6, 3, 16 + 12, 9, ink);             // restore: two windows
  Fill(b, 16 + 6, 3, 16 + 12, 5, ink);
  Fill(b, 16 + 3, 6, 16 + 10, 13, RGBColor(255, 255, 255));
  Frame(b, 16 + 3, 6, 16 + 10, 13, ink);
  Fill(b, 16 + 3, 6, 16 + 10, 8, ink);
  for (int i = 0; i < 8; ++i) {                     // close: a cross
    Fill(b, 32 + 4 + i, 4 + i, 32 + 6 + i, 5 + i, ink);
    Fill(b, 32 + 11 - i, 4 + i, 32 + 13 - i, 5 + i, ink);
  }
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: resgen OUT_DIR\n");
    return 2;
  }
  const std::filesystem::path out(argv[1]);
  std::filesystem::create_directories(out);
  TBitmap small(16, 16), large(32, 32);
  ProgramImage(small);
  ProgramImage(large);
  WriteIco(out / "plimet.ico", {&small, &large});
  TBitmap tree(32, 16);
  Fill(tree, 0, 0, 32, 16, kKey);
  CatalogImage(tree, 0);
  FolderImage(tree, 16);
  WriteBmp(out / "tree.bmp", tree);
  TBitmap tools(128, 16);
  ToolBarImages(tools);
  WriteBmp(out / "toolbar.bmp", tools);
  TBitmap check(16, 16);
  CheckMark(check);
  WriteBmp(out / "checked.bmp", check);
  TBitmap mdi(48, 16);
  MdiButtons(mdi);
  WriteBmp(out / "mdicontroler.bmp", mdi);
  return 0;
}
