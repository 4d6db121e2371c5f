// The benchmark suite's one program:
//   valmerin_bench make-data ROOT
//   valmerin_bench peak-rss FOLDER PROGRAM [ARGS...]   prints the peak RSS in KiB
//   valmerin_bench run ROOT MEASURED_FILE [benchmark flags]   prints the ratio table
#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <set>

#include "bench/bench_cases.h"
#include "bench/bench_data.h"
#include "bench/peak_rss.h"
#include "bench/ratio_table.h"
#include "platform/freed_memory.h"

namespace {

using valmerin::bench::Figures;

// Keeps each benchmark's median (or its only run) and shows one dot per benchmark.
class CollectingReporter : public benchmark::BenchmarkReporter {
 public:
  explicit CollectingReporter(Figures& figures) : figures_(figures) {}
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        std::cerr << "\n" << run.benchmark_name() << ": " << run.error_message << "\n";
        continue;
      }
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      auto& stored = figures_.seconds[run.run_name.str()];
      if (median || !fromMedian_.count(run.run_name.str())) {
        stored = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
      for (const auto& [name, counter] : run.counters) {
        figures_.counters[run.run_name.str() + ":" + name] = counter.value;
      }
      if (median) fromMedian_.insert(run.run_name.str());
    }
    std::cerr << '.' << std::flush;
  }

 private:
  Figures& figures_;
  std::set<std::string> fromMedian_;
};

int Usage() {
  std::cerr << "usage: valmerin_bench make-data ROOT | peak-rss FOLDER PROGRAM [ARGS...] | "
               "run ROOT MEASURED_FILE [benchmark flags]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The start-ups measured here allocate as the program does.
  valmerin::GiveLargeFreedBlocksBack();
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "make-data") {
    if (!valmerin::bench::WriteAllData(argv[2])) {
      std::cerr << "could not write the data under " << argv[2] << "\n";
      return 1;
    }
    return 0;
  }
  if (command == "peak-rss") {
    if (argc < 4) return Usage();
    const std::vector<std::string> program(argv + 3, argv + argc);
    const auto kib = valmerin::bench::PeakRssOfSettledRun(argv[2], program, 1.5, 60);
    if (!kib) {
      std::cerr << "the program did not settle\n";
      return 1;
    }
    std::cout << *kib << "\n";
    return 0;
  }
  if (command == "run" && argc >= 4) {
    const std::filesystem::path root = argv[2];
    Figures figures;
    std::ifstream measured(argv[3]);
    valmerin::bench::ReadMeasuredLines(measured, figures);
    // Google Benchmark sees the program name and the flags after MEASURED_FILE.
    argv[3] = argv[0];
    int benchArgc = argc - 3;
    benchmark::Initialize(&benchArgc, argv + 3);
    valmerin::bench::RegisterBenchmarks(root);
    CollectingReporter reporter(figures);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cerr << "\n";
    const int missed = valmerin::bench::PrintRatioTable(figures, std::cout);
    std::cout << "\nTargets missed: " << missed << "\n";
    return 0;
  }
  return Usage();
}
