// Zipped collections, in figures: the start-up over a folder of archives with the
// archive cache warm and cold, against the scan of the same folder holding the bare
// ROMs; and a 4 MB game taken out of a zip, against copying the bare file.
//   valmerin_bench_archives [COUNT]   (default 100000 archives)
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "catalogue/archive_scan.h"
#include "catalogue/rom_scan.h"
#include "hosting/folder_search.h"
#include "platform/archive_reader.h"
#include "platform/file_io.h"

namespace fs = std::filesystem;
using namespace valmerin;

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Seconds of one call, the median of `runs`.
double Time(int runs, const std::function<void()>& before, const std::function<void()>& work) {
  std::vector<double> seconds;
  for (int i = 0; i < runs; ++i) {
    before();
    const auto start = std::chrono::steady_clock::now();
    work();
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return Median(seconds);
}

std::string ZipOf(const std::string& name, const std::string& bytes) {
  std::vector<char> buffer(bytes.size() + 64 * 1024);
  std::size_t used = 0;
  archive* writer = archive_write_new();
  archive_write_set_format_zip(writer);
  archive_write_open_memory(writer, buffer.data(), buffer.size(), &used);
  archive_entry* entry = archive_entry_new();
  archive_entry_copy_pathname(entry, name.c_str());
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_perm(entry, 0644);
  archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
  archive_write_header(writer, entry);
  archive_write_data(writer, bytes.data(), bytes.size());
  archive_entry_free(entry);
  archive_write_close(writer);
  archive_write_free(writer);
  return std::string(buffer.data(), used);
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every archive is the same zip with its digits changed in both places the name
// is stored: the name is not covered by the checksum.
void MakeFolders(const fs::path& root, int count) {
  fs::create_directories(root / "zip");
  fs::create_directories(root / "bare");
  const std::string rom(4096, 'r');
  const std::string tag = "Gioco 000000";
  const std::string zip = ZipOf(tag + ".smc", rom);
  std::vector<std::size_t> at;
  for (std::size_t p = zip.find(tag); p != std::string::npos; p = zip.find(tag, p + 1))
    at.push_back(p + 6);
  for (int i = 0; i < count; ++i) {
    char digits[12];  // room for any int, though counts stay under a million
    std::snprintf(digits, sizeof digits, "%06d", i);
    std::string bytes = zip;
    for (std::size_t p : at) bytes.replace(p, 6, digits);
    const std::string name = std::string("Gioco ") + digits;
    Write(root / "zip" / (name + ".zip"), bytes);
    Write(root / "bare" / (name + ".smc"), "rom");
  }
}

// A ROM-like 4 MB: runs and repeats, which deflate halves or so, as it does real ROMs.
std::string FourMegabyteRom() {
  std::string bytes(4u << 20, '\0');
  std::mt19937 random(7);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = (random() % 3 == 0) ? static_cast<char>(random()) : static_cast<char>(i >> 10);
  }
  return bytes;
}

// Target 0: a figure to report, no target.
void Row(const std::string& what, double measured, double reference, double target) {
  const double ratio = measured / reference;
  std::printf("%-50s %9.1f ms %9.1f ms %7.2fx", what.c_str(), measured * 1e3, reference * 1e3,
              ratio);
  if (target > 0) std::printf("  target %.1fx: %s", target, ratio <= target ? "met" : "missed");
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::stoi(argv[1]) : 100000;
  const fs::path root = fs::temp_directory_path() /
                        ("valmerin-bench-archives-" + std::to_string(std::random_device()()));
  fs::create_directories(root);
  const fs::path previous = fs::current_path();
  fs::current_path(root);
  std::cerr << "Writing " << count << " archives and as many bare ROMs into " << root << "\n";
  MakeFolders(root, count);

  const std::array<bool, kEmulatorCount> zsnesOnly = {true, false, false, false};
  const Descriptions descriptions;
  const auto scanArchives = [&] {
    GameLists lists;
    std::array<ArchiveGames, kEmulatorCount> games;
    ListedArchives listed;
    ScanInto(lists, {"zip/", "", "", ""}, descriptions, zsnesOnly, &listed);
    ScanArchivesWithCache(lists, games, {"zip/", "", "", ""}, listed, descriptions, zsnesOnly);
    if (lists[0].size() != static_cast<std::size_t>(count)) std::cerr << "archives missing!\n";
  };
  const auto scanBare = [&] {
    GameLists lists;
    ScanInto(lists, {"bare/", "", "", ""}, descriptions, zsnesOnly);
    if (lists[0].size() != static_cast<std::size_t>(count)) std::cerr << "ROMs missing!\n";
  };
  // What no cache can avoid: the listing and one look at each archive's size and time.
  const auto listAndStamp = [&] {
    std::size_t stamped = 0;
    FolderListing("zip/").Visit({"*.zip", "*.7z"},
                                [&](std::size_t, std::span<const std::string_view> names) {
                                  for (std::string_view name : names)
                                    stamped += StampOf(fs::path("zip") / name).has_value();
                                });
    if (stamped != static_cast<std::size_t>(count)) std::cerr << "stamps missing!\n";
  };
  const auto nothing = [] {};
  const auto dropCache = [] { fs::remove(kArchiveCacheFile); };

  std::cerr << "Measuring\n";
  const double cold = Time(3, dropCache, scanArchives);
  const double bare = Time(5, nothing, scanBare);
  const double warm = Time(5, nothing, scanArchives);
  const double floor = Time(5, nothing, listAndStamp);

  const fs::path game = root / "Grande.smc";
  const std::string rom = FourMegabyteRom();
  Write(game, rom);
  Write(root / "Grande.zip", ZipOf("Grande.smc", rom));
  const fs::path copy = root / "Gioco.smc";
  const auto removeCopy = [&] { fs::remove(copy); };
  const double copied =
      Time(9, removeCopy, [&] { CopyFileAtomically(game, copy, TemporaryNameFor(copy)); });
  const double extracted = Time(9, removeCopy, [&] {
    ExtractArchiveEntry(root / "Grande.zip", "Grande.smc", copy, TemporaryNameFor(copy));
  });

  std::printf("\nZipped collections (%d archives of one ROM each; medians)\n", count);
  std::printf("%-50s %12s %12s %8s\n", "Row", "Valmerin", "Baseline", "Ratio");
  Row("Start-up scan, warm archive cache vs bare ROMs", warm, bare, 1.5);
  Row("  floor: listing + size and time of each archive", floor, bare, 0);
  Row("Start-up scan, cold archive cache vs bare ROMs", cold, bare, 0);
  std::printf("%-50s %9.1f us\n", "  cold: each archive opened, listed, cached",
              (cold - bare) / count * 1e6);
  Row("4 MB game out of a zip vs copying the bare file", extracted, copied, 2.0);
  std::printf("%-50s %9.2f MB\n", "  the 4 MB game zipped",
              static_cast<double>(fs::file_size(root / "Grande.zip")) / (1 << 20));

  fs::current_path(previous);
  std::error_code error;
  fs::remove_all(root, error);
  return 0;
}
