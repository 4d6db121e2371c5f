#include "bench/bench_cases.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "catalogue/archive_scan.h"
#include "catalogue/folder_files.h"
#include "catalogue/game_filter.h"
#include "catalogue/main_window_state.h"
#include "catalogue/rom_scan.h"
#include "lifecycle/refresh.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "tests/support/plain_walks.h"

namespace valmerin::bench {
namespace {

namespace fs = std::filesystem;

// The program reads its files from the current folder.
class InFolder {
 public:
  explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~InFolder() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

class CountingHooks : public WindowHooks {
 public:
  void ShowMessage(const std::string&) override { ++messages; }
  void ShowOptionsWindow() override {}
  void SwitchOffTab(int) override {}
  int messages = 0;
};

std::array<bool, kEmulatorCount> AllAvailable() {
  std::array<bool, kEmulatorCount> available;
  available.fill(true);
  return available;
}

// The floor: one directory pass per folder, names collected, nothing else.
void BareListing(benchmark::State& st, fs::path romRoot) {
  for (auto _ : st) {
    std::vector<std::string> names;
    for (const EmulatorInfo& info : EmulatorTable()) {
      for (const auto& entry : fs::directory_iterator(romRoot / FolderNameOf(info.emulator))) {
        names.push_back(entry.path().filename().string());
      }
    }
    benchmark::DoNotOptimize(names.data());
  }
}

// A case's folders and descriptions, read as the start-up reads them, for the
// benchmarks that time what comes after.
MainWindowState FoldersAndDescriptionsOf(const fs::path& caseFolder) {
  MainWindowState loaded;
  InFolder in(caseFolder);
  Folders folders;
  ReadFolderFile(folders);
  loaded.EmulatorFolder = folders;
  loaded.descriptions = ReadDescriptions();
  return loaded;
}

void ScanOnly(benchmark::State& st, fs::path caseFolder) {
  MainWindowState loaded = FoldersAndDescriptionsOf(caseFolder);
  InFolder in(caseFolder);  // the archive cache is the case's own
  for (auto _ : st) {
    // The start-up's whole scan: the ROMs, and the archives from the same listing.
    ListedArchives archives;
    if (!ScanInto(loaded.gameLists, loaded.EmulatorFolder, loaded.descriptions, AllAvailable(),
                  &archives))
      st.SkipWithError("the scan found no ROM");
    ScanArchivesWithCache(loaded.gameLists, loaded.archiveGames, loaded.EmulatorFolder, archives,
                          loaded.descriptions, AllAvailable());
    benchmark::DoNotOptimize(loaded.gameLists[0].size());
    st.PauseTiming();
    for (auto& list : loaded.gameLists) list = GameList();
    st.ResumeTiming();
  }
}

// Everything Form1 runs before it can show: files, settings, descriptions, scan.
void HeadlessStartup(benchmark::State& st, fs::path caseFolder) {
  InFolder in(caseFolder);
  for (auto _ : st) {
    auto window = std::make_unique<MainWindowState>();
    auto options = std::make_unique<OptionsModel>();
    CountingHooks hooks;
    RunStartupSequence(*window, *options, hooks);
    if (hooks.messages != 0) st.SkipWithError("the start-up showed a message");
    benchmark::DoNotOptimize(window->gameLists[0].size());
    // The program keeps its state to the end: tearing it down is not start-up.
    st.PauseTiming();
    window.reset();
    options.reset();
    st.ResumeTiming();
  }
}

void DescriptionsRead(benchmark::State& st, fs::path caseFolder) {
  InFolder in(caseFolder);
  for (auto _ : st) {
    auto loaded = std::make_unique<Descriptions>(ReadDescriptions());
    benchmark::DoNotOptimize(loaded->Count());
    st.PauseTiming();
    loaded.reset();
    st.ResumeTiming();
  }
}

// File names spread over the whole data set: some described, some chained, some not.
std::vector<GameFile> SampleFiles() {
  std::vector<GameFile> sample;
  for (std::size_t i = 0; sample.size() < 256; i += 389) {
    GameFile file = GameFileAt(i % 100000);
    if (file.kind == FileKind::Rom) sample.push_back(std::move(file));
  }
  return sample;
}

Descriptions LoadDescriptions(const fs::path& caseFolder) {
  InFolder in(caseFolder);
  return ReadDescriptions();
}

template <bool kIndexed>
void Resolve(benchmark::State& st, fs::path caseFolder) {
  const Descriptions descriptions = LoadDescriptions(caseFolder);
  const auto sample = SampleFiles();
  std::size_t at = 0;
  for (auto _ : st) {
    const std::string& name = sample[at++ % sample.size()].name;
    if constexpr (kIndexed) {
      benchmark::DoNotOptimize(descriptions.ResolveView(name).data());
    } else {
      benchmark::DoNotOptimize(reference::PlainResolveGameName(descriptions, name).data());
    }
  }
}

void BytesRead(benchmark::State& st, fs::path caseFolder) {
  InFolder in(caseFolder);
  for (auto _ : st) {
    // The plain way: one read of the whole size.
    std::ifstream in("Descrizioni.emu", std::ios::binary);
    std::string bytes(fs::file_size("Descrizioni.emu"), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes.data());
  }
}

// What the scan does after listing: every ROM name of the largest set resolved once,
// in file order.
void ResolveEveryName(benchmark::State& st, fs::path caseFolder) {
  const Descriptions descriptions = LoadDescriptions(caseFolder);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < kFileCounts[2]; ++i) {
    GameFile file = GameFileAt(i);
    if (file.kind == FileKind::Rom) names.push_back(std::move(file.name));
  }
  for (auto _ : st) {
    std::vector<std::string> shown;
    shown.reserve(names.size());
    for (const std::string& name : names) shown.emplace_back(descriptions.ResolveView(name));
    benchmark::DoNotOptimize(shown.data());
    st.PauseTiming();
    std::vector<std::string>().swap(shown);
    st.ResumeTiming();
  }
}

std::string Name(std::string_view measure, std::size_t a) {
  return std::string(measure) + "/" + std::to_string(a);
}
std::string Name(std::string_view measure, std::size_t a, std::size_t b) {
  return Name(measure, a) + "/" + std::to_string(b);
}

// One key press in the filter over every entry of the largest set in one list. The
// first key of a list also folds its texts; any later key searches them all (a
// deleted letter cannot narrow the previous answer, so that is the worst case).
template <bool kFirst>
void FilterKeyPress(benchmark::State& st, fs::path caseFolder) {
  MainWindowState loaded = FoldersAndDescriptionsOf(caseFolder);
  ScanInto(loaded.gameLists, loaded.EmulatorFolder, loaded.descriptions, AllAvailable());
  GameList all;
  for (const GameList& list : loaded.gameLists) {
    for (std::size_t i = 0; i < list.size(); ++i) all.Add(list.File(i), list.Shown(i));
  }
  GameFilter prepared;
  prepared.Prepare(all);
  std::size_t shown = 0;
  for (auto _ : st) {
    std::vector<std::uint32_t> rows;
    if constexpr (kFirst) {
      GameFilter filter;
      filter.Prepare(all);
      rows = filter.Match("m");
    } else {
      rows = prepared.Match("ar");
    }
    shown = rows.size();
    benchmark::DoNotOptimize(rows.data());
  }
  st.counters["entries"] = static_cast<double>(all.size());
  st.counters["shown"] = static_cast<double>(shown);
}

// A refresh on a window already filled: descriptions and folders read again, every
// list compared with what it shows.
void Refresh(benchmark::State& st, fs::path caseFolder) {
  InFolder in(caseFolder);
  MainWindowState window;
  OptionsModel options;
  CountingHooks hooks;
  RunStartupSequence(window, options, hooks);
  RunSetup setup = ReadRunSetup();
  setup.available = AllAvailable();
  for (auto _ : st) {
    const RefreshOutcome outcome = RefreshLists(window, setup);
    benchmark::DoNotOptimize(outcome.listChanged.data());
  }
}

}  // namespace

void RegisterBenchmarks(const fs::path& root) {
  using benchmark::RegisterBenchmark;
  for (std::size_t files : kFileCounts) {
    RegisterBenchmark(Name("listing", files).c_str(), BareListing, RomRoot(root, files))
        ->Unit(benchmark::kMillisecond);
    for (std::size_t records : kRecordCounts) {
      const fs::path folder = CaseFolder(root, files, records);
      RegisterBenchmark(Name("scan", files, records).c_str(), ScanOnly, folder)
          ->Unit(benchmark::kMillisecond);
      RegisterBenchmark(Name("startup", files, records).c_str(), HeadlessStartup, folder)
          ->Unit(benchmark::kMillisecond);
    }
  }
  const std::size_t most = kFileCounts[std::size(kFileCounts) - 1];
  const fs::path largest = CaseFolder(root, most, kRecordCounts[std::size(kRecordCounts) - 1]);
  RegisterBenchmark(Name("filter_first_key", most).c_str(), FilterKeyPress<true>, largest)
      ->Unit(benchmark::kMillisecond);
  RegisterBenchmark(Name("filter_key", most).c_str(), FilterKeyPress<false>, largest)
      ->Unit(benchmark::kMillisecond);
  RegisterBenchmark(Name("refresh", most).c_str(), Refresh, largest)->Unit(benchmark::kMillisecond);
  for (std::size_t records : kRecordCounts) {
    if (records == 0) continue;
    const fs::path folder = CaseFolder(root, kFileCounts[0], records);
    RegisterBenchmark(Name("read_descriptions", records).c_str(), DescriptionsRead, folder)
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark(Name("read_bytes", records).c_str(), BytesRead, folder)
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark(Name("resolve_all", records).c_str(), ResolveEveryName, folder)
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark(Name("resolve_indexed", records).c_str(), Resolve<true>, folder);
    RegisterBenchmark(Name("resolve_plain", records).c_str(), Resolve<false>, folder);
  }
}

}  // namespace valmerin::bench
