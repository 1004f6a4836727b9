// The skin archive's inflater against zlib's streaming inflate (16 KiB in,
// 32 KiB out, as ours reads and writes) and libdeflate's whole-buffer one,
// on five inputs; and a skin load against the same load with the entry
// kept in memory.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <stdexcept>

#include "platform/Services.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinFile.h"
#include "skin/SkinInflate.h"
#include "skin/SkinReader.h"

namespace {

const char* const kSkin = PLIMET_BENCH_SKIN;

std::string RawDeflate(const std::string& data, int level) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
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

// Binary records: small counters, flags and offsets, with some noise.
std::string BinaryLike(std::size_t size) {
  std::mt19937 random(5);
  std::string data;
  std::uint32_t counter = 0;
  while (data.size() < size) {
    counter += random() % 7;
    const std::uint32_t words[4] = {counter, static_cast<std::uint32_t>(random() % 4), counter * 24 + 0x400000,
                                    static_cast<std::uint32_t>(random())};
    data.append(reinterpret_cast<const char*>(words), sizeof words - (random() % 3 ? 4 : 0));
  }
  data.resize(size);
  return data;
}

// The shipped skin's own entry, as it lies compressed in the archive.
std::string SkinEntryCompressed(std::string& original) {
  const std::string archive = platform::Files().ReadAll(kSkin);
  auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(archive.at(at)) |
                                                                     static_cast<std::uint8_t>(archive.at(at + 1)) << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | (u16(at + 2) << 16); };
  const std::size_t end = archive.size() - 22;
  for (std::size_t at = u32(end + 16); at < end; at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32)) {
    if (archive.compare(at + 46, u16(at + 28), "SKINDATA.SK2") != 0) continue;
    const std::size_t local = u32(at + 42);
    const std::size_t data = local + 30 + u16(local + 26) + u16(local + 28);
    if (Tsk2SkinFileReader::ExtractEntryToMemory(kSkin, "SKINDATA.SK2", original, "") != 0)
      throw std::runtime_error("the shipped skin does not load");
    return archive.substr(data, u32(at + 20));
  }
  throw std::runtime_error("no SKINDATA.SK2 in the shipped skin");
}

struct Input {
  std::string original;
  std::string compressed;
};

const Input& Inputs(int which) {
  static const std::vector<Input> inputs = [] {
    std::vector<Input> all(5);
    all[0].original = TextLike(1u << 20);
    all[0].compressed = RawDeflate(all[0].original, 6);
    all[1].original = all[0].original;
    all[1].compressed = RawDeflate(all[1].original, 9);
    all[2].original = BinaryLike(1u << 20);
    all[2].compressed = RawDeflate(all[2].original, 6);
    all[3].original = BitmapLike();
    all[3].compressed = RawDeflate(all[3].original, 9); // as skinpack packs
    all[4].compressed = SkinEntryCompressed(all[4].original);
    return all;
  }();
  return inputs.at(static_cast<std::size_t>(which));
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

void Finish(benchmark::State& state, const std::string& out, const Input& input) {
  if (out != input.original) state.SkipWithError("wrong output");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.original.size()));
  state.counters["ratio"] = static_cast<double>(input.original.size()) / static_cast<double>(input.compressed.size());
}

void BM_Inflate_Ours(benchmark::State& state) {
  const Input& input = Inputs(static_cast<int>(state.range(0)));
  std::string out(input.original.size(), '\0');
  for (auto _ : state) {
    MemorySource source(input.compressed);
    MemorySink sink(out);
    TInflater(source, sink).Run();
  }
  Finish(state, out, input);
}
BENCHMARK(BM_Inflate_Ours)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_Inflate_Zlib(benchmark::State& state) {
  const Input& input = Inputs(static_cast<int>(state.range(0)));
  std::string out(input.original.size(), '\0');
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    Bytef window[32768];
    std::size_t in = 0, produced = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
      if (z.avail_in == 0) {
        const std::size_t n = std::min<std::size_t>(16384, input.compressed.size() - in);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.compressed.data() + in));
        z.avail_in = static_cast<uInt>(n);
        in += n;
      }
      z.next_out = window;
      z.avail_out = sizeof window;
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) break;
      const std::size_t n = sizeof window - z.avail_out;
      std::memcpy(out.data() + produced, window, n);
      produced += n;
    }
    inflateEnd(&z);
  }
  Finish(state, out, input);
}
BENCHMARK(BM_Inflate_Zlib)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_Inflate_Libdeflate(benchmark::State& state) {
  const Input& input = Inputs(static_cast<int>(state.range(0)));
  std::string out(input.original.size(), '\0');
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  for (auto _ : state) {
    std::size_t produced = 0;
    libdeflate_deflate_decompress(decompressor, input.compressed.data(), input.compressed.size(), out.data(),
                                  out.size(), &produced);
  }
  libdeflate_free_decompressor(decompressor);
  Finish(state, out, input);
}
BENCHMARK(BM_Inflate_Libdeflate)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// --- skin load ---------------------------------------------------------------------------

void BM_SkinLoad(benchmark::State& state) {
  TSkinReader reader("", "");
  for (auto _ : state) reader.Load(kSkin, "");
  if (!reader.Ready()) state.SkipWithError("the skin did not load");
}
BENCHMARK(BM_SkinLoad)->Unit(benchmark::kMicrosecond)->UseRealTime();

// TSkinReader::Load step by step, with the entry inflated into memory
// instead of the temporary file.
void BM_SkinLoadInMemory(benchmark::State& state) {
  for (auto _ : state) {
    if (!platform::Files().FileExists(kSkin)) state.SkipWithError("no skin");
    auto file = std::make_unique<Tsk2SkinFileReader>();
    std::string content;
    if (Tsk2SkinFileReader::ExtractEntryToMemory(kSkin, "SKINDATA.SK2", content, "") != 0)
      state.SkipWithError("the skin did not load");
    file->ParseSkinData(content);
    const TColor transparent = file->GetInteger(SkinKeyName(TSkinColorKey::SKIN2_TRANSCOLOR));
    file->SetTransparentColor(transparent);
    if (TBitmap* track = file->GetBitmap(SkinKeyName(TSkinBitmapKey::SKIN2_TRACKBAR)))
      ReplaceColor(*track, transparent, file->GetInteger(SkinKeyName(TSkinColorKey::SKIN2_FORMCOLOR)));
    benchmark::DoNotOptimize(file.get());
  }
}
BENCHMARK(BM_SkinLoadInMemory)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
