// What the player's records cost: reading 10,000 of them against the start-up of
// the largest catalogue, and the favourites and recent-first views of a list of
// 100,000 games. Run by scripts/bench after the main suite, over its data:
//   valmerin_bench_play_records ROOT [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>

#include "bench/bench_data.h"
#include "catalogue/play_records.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"

namespace valmerin::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kGames = 100000;
constexpr std::size_t kRecords = 10000;

class QuietHooks : public WindowHooks {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowOptionsWindow() override {}
  void SwitchOffTab(int) override {}
};

// About every ninth game has a record: a third of them favourites, all played.
PlayRecords SampleRecords() {
  PlayRecords records;
  for (std::size_t i = 0, made = 0; made < kRecords && i < kGames; i += 9) {
    const GameFile file = GameFileAt(i);
    if (file.kind != FileKind::Rom) continue;
    records.CountRun(file.emulator, file.name, {static_cast<std::int64_t>(1'700'000'000 + i), 0},
                     60'000 + i);
    if (made % 3 == 0) records.SetFavourite(file.emulator, file.name, true);
    ++made;
  }
  return records;
}

// The largest catalogue's data folder, with the records file beside it.
fs::path PlaysFolder(const fs::path& root) {
  const fs::path folder = root / "case-plays";
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(CaseFolder(root, kGames, kGames))) {
    if (entry.is_regular_file()) {
      fs::copy_file(entry.path(), folder / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
    }
  }
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  SavePlayRecords(SampleRecords());
  fs::current_path(previous);
  return folder;
}

void Startup(benchmark::State& st, fs::path folder) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  for (auto _ : st) {
    auto window = std::make_unique<MainWindowState>();
    auto options = std::make_unique<OptionsModel>();
    QuietHooks hooks;
    RunStartupSequence(*window, *options, hooks);
    benchmark::DoNotOptimize(window->gameLists[0].size());
    st.PauseTiming();
    window.reset();
    options.reset();
    st.ResumeTiming();
  }
  fs::current_path(previous);
}

// What the window adds to the start-up for the records: one read of their file.
void ReadRecords(benchmark::State& st, fs::path folder) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  for (auto _ : st) {
    auto loaded = std::make_unique<LoadedPlayRecords>(ReadPlayRecords());
    if (loaded->records.size() != kRecords) {
      st.SkipWithError("the records did not read back");
      break;
    }
    benchmark::DoNotOptimize(loaded.get());
    st.PauseTiming();
    loaded.reset();
    st.ResumeTiming();
  }
  fs::current_path(previous);
}

template <bool kFavourites>
void View(benchmark::State& st) {
  GameList list;
  for (std::size_t i = 0; i < kGames; ++i) {
    const GameFile file = GameFileAt(i);
    list.Add(file.name, file.name);
  }
  const PlayRecords records = SampleRecords();
  for (auto _ : st) {
    auto rows = PlayView(list, Emulator::ZSnes, records, nullptr, kFavourites, !kFavourites);
    benchmark::DoNotOptimize(rows.data());
  }
}

class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.error_occurred || (run.run_type == Run::RT_Aggregate && !median)) continue;
      seconds[run.run_name.str()] =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }
  std::map<std::string, double> seconds;
};

void Row(const char* measure, double ours, double baseline, const char* target, bool met) {
  std::printf("| %s | %zu files, %zu play records | %.2f ms | %.2f ms | %.2fx | %s %s |\n", measure,
              kGames, kRecords, ours * 1e3, baseline * 1e3, ours / baseline, target,
              met ? "met" : "**MISSED**");
}

}  // namespace
}  // namespace valmerin::bench

int main(int argc, char** argv) {
  using namespace valmerin::bench;
  if (argc < 2) {
    std::cerr << "usage: valmerin_bench_play_records ROOT [benchmark flags]\n";
    return 2;
  }
  const fs::path folder = PlaysFolder(argv[1]);
  argv[1] = argv[0];
  int benchArgc = argc - 1;
  benchmark::Initialize(&benchArgc, argv + 1);
  benchmark::RegisterBenchmark("startup", Startup, folder)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("read_plays", ReadRecords, folder)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("view_favourites", View<true>)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("view_recent", View<false>)->Unit(benchmark::kMillisecond);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  auto& s = collector.seconds;
  constexpr double kFrame = 1.0 / 60;
  std::printf(
      "\n| Measure | Data | Valmerin | Baseline | Ratio | Target |\n|---|---|---|---|---|---|\n");
  Row("Reading the play records vs the start-up without them", s["read_plays"], s["startup"],
      "<= 0.05x", s["read_plays"] <= 0.05 * s["startup"]);
  Row("Favourites view of one list vs one frame", s["view_favourites"], kFrame, "<= 1.0x",
      s["view_favourites"] <= kFrame);
  Row("Recent-first view of one list vs one frame", s["view_recent"], kFrame, "<= 1.0x",
      s["view_recent"] <= kFrame);
  return 0;
}
