#pragma once
// The generated catalogues the benchmarks run on: ROM folders of a given size and
// description files of a given length, all derived from a file's number so every
// program of the suite agrees on the names without reading them back.
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/emulator_table.h"

namespace valmerin::bench {

enum class FileKind { Rom, Hidden, Other };

struct GameFile {
  Emulator emulator;
  FileKind kind;
  std::string name;
};

// File number i of every data set: data sets of different sizes share a prefix.
GameFile GameFileAt(std::size_t i);

// The folder under a data set's ROM root where an emulator's files go.
std::string_view FolderNameOf(Emulator emulator);

struct DescriptionRecord {
  std::string key;
  std::string text;
};
// Records keyed on ROM names in file order; every tenth record describes an earlier
// record's description again, so chains occur, and every fiftieth repeats the
// description before it, so the backward walk meets several matches.
std::vector<DescriptionRecord> DescriptionRecords(std::size_t count);

// "roms-<files>" holds the four emulator folders with files 0 .. files-1.
std::filesystem::path RomRoot(const std::filesystem::path& root, std::size_t files);
// "case-<files>-<records>" is a data folder: folder file, availability file and
// descriptions file, pointing at RomRoot(root, files).
std::filesystem::path CaseFolder(const std::filesystem::path& root, std::size_t files,
                                 std::size_t records);

bool WriteRomFolders(const std::filesystem::path& root, std::size_t files);
bool WriteCaseFolder(const std::filesystem::path& root, std::size_t files, std::size_t records);

inline constexpr std::size_t kFileCounts[] = {1000, 10000, 100000};
inline constexpr std::size_t kRecordCounts[] = {0, 1000, 100000};

// Every data set the suite uses, plus the empty catalogue "case-0-0".
bool WriteAllData(const std::filesystem::path& root);

}  // namespace valmerin::bench
