// Speed of the data store, each beside a reference: the tree builders
// against the same loop finding parents in a hash table, table files
// against writing and reading their bytes raw, the digest against
// OpenSSL's MD5(), and stream compression.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

// The low-level MD5() is what the digest is held to; OpenSSL 3 marks it deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/md5.h>
#pragma GCC diagnostic pop

#include <filesystem>
#include <random>
#include <stdexcept>
#include <unordered_map>

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

// Password catalogs nested a few levels deep: each under the catalog of a third of its id.
void FillTypes(TPubList& types, int rows) {
  types.CreateTable();
  for (int id = 1; id <= rows; ++id)
    types.DataSet().AppendRecord({id, "Catalog " + std::to_string(id), 0, id > 3 ? id / 3 : 0, 0});
}

// The builders' loop as it is, with the parents found in a hash table: the
// reference the builders are held to.
template <typename MakeRecord, typename AfterAdd>
void HashedTree(TTreeModel& tree, TClientDataSet& table, const char* textColumn, MakeRecord makeRecord,
                AfterAdd afterAdd) {
  const std::string saved = table.IndexFieldNames();
  tree.Items.BeginUpdate();
  tree.Items.Clear();
  table.SetIndexFieldNames("FParentId;FId");
  const int parentColumn = table.FieldByName("FParentId").Index();
  const int textIndex = table.FieldByName(textColumn).Index();
  std::unordered_map<std::int32_t, TTreeNode*> nodes;
  nodes.reserve(static_cast<std::size_t>(table.RecordCount()));
  for (table.First(); !table.Eof(); table.Next()) {
    const auto parent = nodes.find(table.Fields(parentColumn).AsInteger());
    TTreeNode* node = tree.Items.AddChild(parent == nodes.end() ? nullptr : parent->second,
                                          table.Fields(textIndex).AsString(), makeRecord(table));
    nodes.emplace(node->Data()->FId, node);
    afterAdd(*node);
  }
  table.SetIndexFieldNames(saved);
  tree.Items.EndUpdate();
}

void BM_FillFileTree(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  TTreeModel tree;
  for (auto _ : state) FillFileTree(tree, entries);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillFileTree)->Arg(1000)->Arg(5000)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_FileTreeHashed(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  TTreeModel tree;
  for (auto _ : state)
    HashedTree(
        tree, entries.DataSet(), "FShortName",
        [](TClientDataSet& table) {
          auto record = std::make_unique<TNodeData>();
          record->FId = table.Fields(0).AsInteger();
          record->FShortName = table.Fields(1).AsString();
          record->FFullName = table.Fields(2).AsString();
          record->FLevel = table.Fields(3).AsInteger();
          record->FParentId = table.Fields(4).AsInteger();
          record->NoteType = table.Fields(5).AsInteger();
          record->FIndex = table.Fields(6).AsInteger();
          return record;
        },
        [](TTreeNode& node) {
          const int image = static_cast<const TNodeData&>(*node.Data()).NoteType == kNoteCatalog ? 0 : 1;
          node.SetImageIndex(image);
          node.SetSelectedIndex(image);
          node.SetStateIndex(image);
        });
  if (tree.Items.Count() != state.range(0)) state.SkipWithError("wrong tree");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FileTreeHashed)->Arg(1000)->Arg(5000)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_FillTypeTree(benchmark::State& state) {
  TPubList types(nullptr);
  FillTypes(types, static_cast<int>(state.range(0)));
  TTreeModel tree;
  for (auto _ : state) FillTypeTree(tree, types);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillTypeTree)->Arg(1000)->Arg(5000)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_TypeTreeHashed(benchmark::State& state) {
  TPubList types(nullptr);
  FillTypes(types, static_cast<int>(state.range(0)));
  TTreeModel tree;
  for (auto _ : state)
    HashedTree(
        tree, types.DataSet(), "FTypeName",
        [](TClientDataSet& table) {
          auto record = std::make_unique<TTypeNodeData>();
          record->FId = table.Fields(0).AsInteger();
          record->FTypeName = table.Fields(1).AsString();
          record->FLevel = table.Fields(2).AsInteger();
          record->FParentId = table.Fields(3).AsInteger();
          record->FIndex = table.Fields(4).AsInteger();
          return record;
        },
        [](TTreeNode&) {});
  if (tree.Items.Count() != state.range(0)) state.SkipWithError("wrong tree");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TypeTreeHashed)->Arg(1000)->Arg(5000)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);

// --- table files against their bytes written and read raw ----------------------------

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void BM_TableSave(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  const std::string path = TempPath("plimet-bench-save.cds");
  for (auto _ : state) entries.DataSet().SaveToFile(path);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_TableSave)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string TableBytes(int rows) {
  TFileList entries(nullptr);
  FillEntries(entries, rows);
  TMemoryStream image;
  entries.DataSet().SaveToStream(image);
  return image.Bytes();
}

void WriteAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) throw std::runtime_error("write failed");
    done += static_cast<std::size_t>(n);
  }
}

// What a durable replacement of the file costs at least.
void BM_RawWriteFsyncRename(benchmark::State& state) {
  const std::string bytes = TableBytes(static_cast<int>(state.range(0)));
  const std::string path = TempPath("plimet-bench-raw.cds"), temp = path + ".~new";
  for (auto _ : state) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    WriteAll(fd, bytes);
    ::fsync(fd);
    ::close(fd);
    ::rename(temp.c_str(), path.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_RawWriteFsyncRename)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TableLoad(benchmark::State& state) {
  TFileList entries(nullptr);
  FillEntries(entries, static_cast<int>(state.range(0)));
  const std::string path = TempPath("plimet-bench-load.cds");
  entries.DataSet().SaveToFile(path);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
  // Each load goes into a new, empty table, as the program's one load of a
  // file does; the previous table goes away while the clock is stopped.
  auto loaded = std::make_unique<TClientDataSet>();
  for (auto _ : state) {
    loaded->LoadFromFile(path);
    state.PauseTiming();
    if (loaded->RecordCount() != state.range(0)) state.SkipWithError("wrong table");
    loaded = std::make_unique<TClientDataSet>();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_TableLoad)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawRead(benchmark::State& state) {
  const std::string path = TempPath("plimet-bench-read.cds");
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    WriteAll(fd, TableBytes(static_cast<int>(state.range(0))));
    ::close(fd);
  }
  const std::size_t size = std::filesystem::file_size(path);
  for (auto _ : state) {
    std::string bytes(size, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    for (std::size_t done = 0; done < size;) {
      const ssize_t n = ::read(fd, bytes.data() + done, size - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(path);
}
BENCHMARK(BM_RawRead)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- the digest ----------------------------------------------------------------------------

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(1);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

void BM_MD5_Ours(benchmark::State& state) {
  const std::string text = RandomBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(sMD5::Digest(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MD5_Ours)->Arg(20)->Arg(4096)->Arg(1 << 20)->Arg(100000000);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void BM_MD5_OpenSSL(benchmark::State& state) {
  const std::string text = RandomBytes(static_cast<std::size_t>(state.range(0)));
  unsigned char digest[MD5_DIGEST_LENGTH];
  for (auto _ : state) {
    MD5(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
#pragma GCC diagnostic pop
BENCHMARK(BM_MD5_OpenSSL)->Arg(20)->Arg(4096)->Arg(1 << 20)->Arg(100000000);

// --- stream compression of a password book ---------------------------------------

// A password book's table image, repeated to 1 MiB.
std::string BookLikeData() {
  std::string image = TableBytes(2000);
  std::string data;
  while (data.size() < (1u << 20)) data += image;
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

} // namespace
