// Runs every benchmark, then prints each of our figures beside its
// reference as a ratio, with the goal it is held to.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// How a row compares: a speed ratio (reference time / ours, above 1 is
// faster than the reference) or a time ratio (ours / reference, below the
// goal is good).
enum class Kind { Speed, Time };

struct Row {
  std::string what;
  std::string ours;
  std::string reference;
  Kind kind;
  double goal;
  bool realTime; // for rows that wait on the disk
};

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = [] {
    std::vector<Row> r;
    for (const char* size : {"1000", "5000", "20000", "50000"}) {
      r.push_back({std::string("FillFileTree, ") + size + " entries", std::string("BM_FillFileTree/") + size,
                   std::string("BM_FileTreeHashed/") + size, Kind::Time, 1.5, false});
      r.push_back({std::string("FillTypeTree, ") + size + " catalogs", std::string("BM_FillTypeTree/") + size,
                   std::string("BM_TypeTreeHashed/") + size, Kind::Time, 1.5, false});
    }
    r.push_back({"TSkinReader::Load of DeepCyan.ssk", "BM_SkinLoad", "BM_SkinLoadInMemory", Kind::Time, 1.5, true});
    for (const char* input : {"0", "1", "2", "3", "4"}) {
      static const char* names[] = {"text L6", "text L9", "binary L6", "200 KB skin-like bitmap", "SKINDATA.SK2"};
      const std::string name = names[input[0] - '0'];
      r.push_back({"inflate " + name + " vs zlib streaming", std::string("BM_Inflate_Ours/") + input,
                   std::string("BM_Inflate_Zlib/") + input, Kind::Speed, 1.0, false});
      r.push_back({"inflate " + name + " vs libdeflate (reference only)", std::string("BM_Inflate_Ours/") + input,
                   std::string("BM_Inflate_Libdeflate/") + input, Kind::Speed, 0.0, false});
    }
    for (const char* size : {"20", "4096", "1048576", "100000000"})
      r.push_back({std::string("MD5 of ") + size + " bytes vs OpenSSL MD5()", std::string("BM_MD5_Ours/") + size,
                   std::string("BM_MD5_OpenSSL/") + size, Kind::Speed, 0.9, false});
    r.push_back({"table image save, 100k rows vs write+fsync+rename", "BM_TableSave/100000",
                 "BM_RawWriteFsyncRename/100000", Kind::Time, 2.5, true});
    r.push_back({"table image load, 100k rows vs read", "BM_TableLoad/100000", "BM_RawRead/100000", Kind::Time, 10,
                 true});
    return r;
  }();
  return rows;
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions only the medians count; a single run counts as it is.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      // By function and arguments alone, without "/real_time" and the like.
      const std::string name =
          run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
      Times& t = times_[name];
      if (run.run_type == Run::RT_Aggregate || !t.fromMedian) {
        t.cpu = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        t.real = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        t.fromMedian = run.run_type == Run::RT_Aggregate;
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-62s %12s %12s %8s  %s\n", "ours against the reference", "ours", "reference", "ratio", "goal");
    for (const Row& row : Rows()) {
      const auto a = times_.find(row.ours), b = times_.find(row.reference);
      if (a == times_.end() || b == times_.end()) continue;
      const double ours = row.realTime ? a->second.real : a->second.cpu;
      const double reference = row.realTime ? b->second.real : b->second.cpu;
      const double ratio = row.kind == Kind::Speed ? reference / ours : ours / reference;
      std::string goal;
      if (row.goal > 0)
        goal = (row.kind == Kind::Speed ? "speed x" : "time x") + Format(row.goal) +
               (row.kind == Kind::Speed ? " or more" : " or less") +
               ((row.kind == Kind::Speed ? ratio >= row.goal : ratio <= row.goal) ? "  met" : "  NOT MET");
      else
        goal = "speed, for reference";
      std::printf("%-62s %12s %12s %8.2f  %s\n", row.what.c_str(), Duration(ours).c_str(),
                  Duration(reference).c_str(), ratio, goal.c_str());
    }
    Growth("FillFileTree", "BM_FillFileTree/");
    Growth("FillTypeTree", "BM_FillTypeTree/");
    std::printf("(CPU times, real times for the rows that touch the disk; medians when repeated)\n");
  }

private:
  struct Times {
    double cpu = 0;
    double real = 0;
    bool fromMedian = false;
  };

  // The exponent k of time ~ n^k between 1k and 50k entries.
  void Growth(const char* what, const std::string& prefix) {
    const auto small = times_.find(prefix + "1000"), large = times_.find(prefix + "50000");
    if (small == times_.end() || large == times_.end()) return;
    std::printf("%s growth exponent from 1k to 50k entries: %.2f (1.0 is linear)\n", what,
                std::log(large->second.cpu / small->second.cpu) / std::log(50.0));
  }
  static std::string Format(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
  }
  static std::string Duration(double seconds) {
    char text[32];
    if (seconds >= 1)
      std::snprintf(text, sizeof text, "%.2f s", seconds);
    else if (seconds >= 1e-3)
      std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else if (seconds >= 1e-6)
      std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    else
      std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    return text;
  }
  std::map<std::string, Times> times_;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
