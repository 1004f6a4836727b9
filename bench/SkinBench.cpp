// Our skin inflater against zlib's inflate on the same raw deflate input.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "skin/SkinBitmap.h"
#include "skin/SkinInflate.h"

namespace {

std::string RawDeflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// A skin-like bitmap: gradients, frames and flat keyed areas, as a BMP file.
std::string BitmapLike() {
  TBitmap b(256, 200);
  std::mt19937 random(3);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 256; ++x) {
      TColor c = RGBColor(0, 90 + y / 3, 110 + y / 4);
      if ((x / 21) % 3 == 0 && y % 40 < 3) c = RGBColor(255, 0, 255);
      if (x % 21 == 0 || y % 21 == 0) c = RGBColor(0, 60, 72);
      if (random() % 50 == 0) c ^= 0x010101;
      b.SetPixel(x, y, c);
    }
  return b.ToBmp(); // about 200 KiB
}

std::string TextLike(std::size_t size) {
  static const char* words[] = {"catalog ", "folder ", "file ", "Plimet ", "skin ", "password ", "the ",
                                "a ",       "of ",     "and ",  "\n",      "window ", "deep ",     "cyan "};
  std::mt19937 random(4);
  std::string text;
  while (text.size() < size) text += words[random() % 14];
  text.resize(size);
  return text;
}

class MemorySource final : public IInflateSource {
public:
  explicit MemorySource(const std::string& data) : data_(data) {}
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, data_.size() - at_);
    std::memcpy(buffer, data_.data() + at_, n);
    at_ += n;
    return n;
  }

private:
  const std::string& data_;
  std::size_t at_ = 0;
};

// Output goes into a preallocated buffer, as zlib's does below.
class MemorySink final : public IInflateSink {
public:
  explicit MemorySink(std::string& out) : out_(out) {}
  void Write(const std::uint8_t* data, std::size_t size) override {
    std::memcpy(out_.data() + at_, data, size);
    at_ += size;
  }

private:
  std::string& out_;
  std::size_t at_ = 0;
};

const std::string& Input(int which) {
  static const std::string bitmap = BitmapLike();
  static const std::string text = TextLike(10u << 20);
  return which == 0 ? bitmap : text;
}

void BM_Inflate_Ours(benchmark::State& state) {
  const std::string& original = Input(static_cast<int>(state.range(0)));
  const std::string compressed = RawDeflate(original);
  std::string out(original.size(), '\0');
  for (auto _ : state) {
    MemorySource source(compressed);
    MemorySink sink(out);
    TInflater(source, sink).Run();
  }
  if (out != original) state.SkipWithError("wrong output");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(original.size()));
}
BENCHMARK(BM_Inflate_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Inflate_Zlib(benchmark::State& state) {
  const std::string& original = Input(static_cast<int>(state.range(0)));
  const std::string compressed = RawDeflate(original);
  std::string out(original.size(), '\0');
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(compressed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    inflate(&z, Z_FINISH);
    inflateEnd(&z);
  }
  if (out != original) state.SkipWithError("wrong output");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(original.size()));
}
BENCHMARK(BM_Inflate_Zlib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
