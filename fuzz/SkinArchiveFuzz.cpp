// A skin archive from anywhere, through the whole load path: the archive
// and its inflater, the skin data file, the bitmaps, the key lookups, the
// resource sets and a nine-part drawing. Refused with ESkinError or
// EBitmapError, or loaded; never a crash, never a read outside a buffer.
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "skin/SkinDraw.h"
#include "skin/SkinReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/plimet-fuzz-skin-" + std::to_string(::getpid()) + ".ssk";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  TSkinReader reader("", "");
  try {
    reader.Load(path, size % 2 ? "pw" : "");
  } catch (const ESkinError&) {
    return 0;
  } catch (const EBitmapError&) { // an unreadable bitmap says so in its own words
    return 0;
  }
  for (int key = 0; key < kSkinColorCount; ++key) (void)reader.GetColor(static_cast<TSkinColorKey>(key));
  for (int key = 0; key < kSkinMetricCount; ++key) (void)reader.GetMetric(static_cast<TSkinMetricKey>(key));
  for (int key = 0; key < kSkinFlagCount; ++key) (void)reader.GetFlag(static_cast<TSkinFlagKey>(key));
  TSkinScrollBtnRes scroll;
  TSkinTabRes tabs;
  TSkinProgressBarRes progress;
  scroll.SetReader(&reader);
  tabs.SetReader(&reader);
  progress.SetReader(&reader);
  TBitmap target(40, 30);
  TBitmapCanvas canvas(target);
  for (int key = 0; key < kSkinBitmapCount; ++key)
    DrawNinePart(reader.GetBitmap(static_cast<TSkinBitmapKey>(key)), canvas, {0, 0, 40, 30}, 0xFF00FF, true);
  return 0;
}
