// Speed of the data store: table files, tree building, the digest against
// OpenSSL's MD5, and stream compression.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <random>

#include "store/AMD5.h"
#include "store/Compression.h"
#include "store/uData.h"
#include "store/uFun.h"

namespace {

// Catalog entries as a user makes them: catalogs, and folders and files in them.
void FillEntries(TFileList& entries, int rows) {
  entries.CreateTable();
  TClientDataSet& table = entries.DataSet();
  int catalog = 0;
  for (int id = 1; id <= rows; ++id) {
    if (id % 50 == 1) {
      catalog = id;
      table.AppendRecord({id, "Catalog " + std::to_string(id), "Catalog " + std::to_string(id), 0, 0, 1, 0});
    } else {
      const std::string name = "document-" + std::to_string(id) + ".txt";
      table.AppendRecord({id, name, "C:\\Users\\anna\\Documents\\Projects\\" + name, 1, catalog, id % 3 ? 3 : 2, 0});
    }
  }
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

void BM_TableSave(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  const std::string path = TempPath("plimet-bench-save.cds");
  for (auto _ : state) entries.DataSet().SaveToFile(path);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_TableSave)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TableLoad(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  const std::string path = TempPath("plimet-bench-load.cds");
  entries.DataSet().SaveToFile(path);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
  TFileList loaded(nullptr);
  for (auto _ : state) loaded.LoadData(path);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_TableLoad)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FillFileTree(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  TTreeModel tree;
  for (auto _ : state) FillFileTree(tree, entries);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillFileTree)->Arg(5000)->Unit(benchmark::kMillisecond);

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(1);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

void BM_MD5Hex_Ours(benchmark::State& state) {
  const std::string text = RandomBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(sMD5::MD5Hex(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MD5Hex_Ours)->Arg(20)->Arg(1 << 20);

void BM_MD5Hex_OpenSSL(benchmark::State& state) {
  const std::string text = RandomBytes(static_cast<std::size_t>(state.range(0)));
  static constexpr char kHex[] = "0123456789abcdef";
  for (auto _ : state) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_md5(), nullptr);
    std::string hex;
    hex.reserve(32);
    for (unsigned int i = 0; i < size; ++i) {
      hex.push_back(kHex[digest[i] >> 4]);
      hex.push_back(kHex[digest[i] & 15]);
    }
    benchmark::DoNotOptimize(hex);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MD5Hex_OpenSSL)->Arg(20)->Arg(1 << 20);

// A password book's table image, repeated to 1 MiB.
std::string BookLikeData() {
  TFileList entries(nullptr);
  FillEntries(entries, 2000);
  TMemoryStream image;
  entries.DataSet().SaveToStream(image);
  std::string data;
  while (data.size() < (1u << 20)) data += image.Bytes();
  data.resize(1u << 20);
  return data;
}

void BM_CompressStream(benchmark::State& state) {
  const std::string data = BookLikeData();
  for (auto _ : state) {
    TMemoryStream stream(data);
    CompressStream(stream, 0);
    benchmark::DoNotOptimize(stream.Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.size()));
}
BENCHMARK(BM_CompressStream)->Unit(benchmark::kMillisecond);

void BM_DecompressStream(benchmark::State& state) {
  TMemoryStream compressed(BookLikeData());
  CompressStream(compressed, 0);
  state.counters["compressed_bytes"] = static_cast<double>(compressed.Size());
  for (auto _ : state) {
    TMemoryStream stream(compressed.Bytes());
    DecompressStream(stream);
    benchmark::DoNotOptimize(stream.Size());
  }
  state.SetBytesProcessed(state.iterations() * (1 << 20));
}
BENCHMARK(BM_DecompressStream)->Unit(benchmark::kMillisecond);

// Shows the console table and then our digest's time as a ratio to OpenSSL's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    // Time ratios: below 1 means ours is faster than the reference.
    Ratio("MD5Hex of 20 bytes, time ours / OpenSSL", "BM_MD5Hex_Ours/20", "BM_MD5Hex_OpenSSL/20");
    Ratio("MD5Hex of 1 MiB, time ours / OpenSSL", "BM_MD5Hex_Ours/1048576", "BM_MD5Hex_OpenSSL/1048576");
    Ratio("Inflate of a 200 KiB bitmap, speed ours / zlib", "BM_Inflate_Zlib/0", "BM_Inflate_Ours/0");
    Ratio("Inflate of 10 MiB of text, speed ours / zlib", "BM_Inflate_Zlib/1", "BM_Inflate_Ours/1");
  }

private:
  void Ratio(const char* what, const std::string& numerator, const std::string& denominator) {
    const auto a = times_.find(numerator), b = times_.find(denominator);
    if (a != times_.end() && b != times_.end()) std::cout << what << " = " << a->second / b->second << '\n';
  }
  std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
