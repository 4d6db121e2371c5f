#include "bench/bench_data.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace valmerin::bench {
namespace {

constexpr std::array<std::string_view, 13> kAdjectives = {
    "Lupo",  "Cavaliere", "Stella", "Citta", "Drago",   "Ombra", "Torre",
    "Spada", "Isola",     "Corsa",  "Regno", "Pianeta", "Fiume"};
constexpr std::array<std::string_view, 17> kNouns = {
    "Solitario", "di Luna",     "Cadente", "Sommersa", "Nero",     "Antica",
    "Perduta",   "del Nord",    "Segreta", "Infinita", "di Fuoco", "Lontana",
    "Rossa",     "di Ghiaccio", "Ribelle", "Dorata",   "Oscura"};
constexpr std::array<std::string_view, 4> kRegions = {"Europa", "USA", "Giappone", "Italia"};
constexpr std::array<std::string_view, 3> kOtherExtensions = {".srm", ".txt", ".zip"};

// Emulator shares of every data set: ZSnes 40%, KGen 20%, NESticle 25%, Magic Engine 15%.
Emulator EmulatorAt(std::size_t i) {
  const std::size_t slot = i % 20;
  if (slot < 8) return Emulator::ZSnes;
  if (slot < 12) return Emulator::KGen;
  if (slot < 17) return Emulator::NESticle;
  return Emulator::MagicEngine;
}

std::string Stem(std::size_t i) {
  char number[16];
  std::snprintf(number, sizeof number, "%06zu", i);
  std::string stem(kAdjectives[i % kAdjectives.size()]);
  stem += ' ';
  stem += kNouns[(i / kAdjectives.size()) % kNouns.size()];
  stem += ' ';
  stem += number;
  stem += " (";
  stem += kRegions[(i / 7) % kRegions.size()];
  stem += ')';
  return stem;
}

std::string RomExtension(std::size_t i, Emulator emulator) {
  const auto& patterns = InfoOf(emulator).patterns;
  std::size_t used = 0;
  while (used < patterns.size() && !patterns[used].empty()) ++used;
  std::string extension(patterns[(i / 20 + i % 20) % used].substr(1));
  // Both letter cases occur in real folders; the scan must find either.
  const bool upper = (i / 3) % 5 == 0;
  for (char& c : extension) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

bool TouchFile(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  return static_cast<bool>(out);
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

GameFile GameFileAt(std::size_t i) {
  GameFile file{EmulatorAt(i), FileKind::Rom, {}};
  switch ((i / 20) % 20) {
    case 0:
      file.kind = FileKind::Hidden;
      break;
    case 1:
      file.kind = FileKind::Other;
      break;
    default:
      break;
  }
  if (file.kind == FileKind::Other) {
    file.name = Stem(i) + std::string(kOtherExtensions[i % kOtherExtensions.size()]);
    return file;
  }
  if (file.emulator == Emulator::MagicEngine && i % 1000 == 17) {
    file.name = "Syscard " + std::to_string(i) + ".pce";
  } else {
    file.name = Stem(i) + RomExtension(i, file.emulator);
  }
  if (file.kind == FileKind::Hidden) file.name.insert(0, ".");
  return file;
}

std::string_view FolderNameOf(Emulator emulator) {
  static constexpr std::array<std::string_view, kEmulatorCount> kNames = {"ZSnes", "KGen",
                                                                          "NESticle", "PCE"};
  return kNames[IndexOf(emulator)];
}

std::vector<DescriptionRecord> DescriptionRecords(std::size_t count) {
  std::vector<DescriptionRecord> records;
  records.reserve(count);
  std::size_t next = 0;  // the next file number to describe
  for (std::size_t r = 0; r < count; ++r) {
    if (r % 10 == 9) {
      // A description of a description: resolving the earlier file follows both.
      const std::string& earlier = records[r - 4].text;
      records.push_back({earlier, earlier + " - edizione completa"});
      continue;
    }
    GameFile file = GameFileAt(next++);
    while (file.kind != FileKind::Rom) file = GameFileAt(next++);
    std::string text = (r % 50 == 0 && r > 0)
                           ? records[r - 1].text
                           : "Storia di " + file.name.substr(0, file.name.rfind('.'));
    records.push_back({std::move(file.name), std::move(text)});
  }
  return records;
}

std::filesystem::path RomRoot(const std::filesystem::path& root, std::size_t files) {
  return root / ("roms-" + std::to_string(files));
}

std::filesystem::path CaseFolder(const std::filesystem::path& root, std::size_t files,
                                 std::size_t records) {
  return root / ("case-" + std::to_string(files) + "-" + std::to_string(records));
}

bool WriteRomFolders(const std::filesystem::path& root, std::size_t files) {
  std::error_code error;
  const auto romRoot = RomRoot(root, files);
  for (const EmulatorInfo& info : EmulatorTable()) {
    std::filesystem::create_directories(romRoot / FolderNameOf(info.emulator), error);
    if (error) return false;
  }
  for (std::size_t i = 0; i < files; ++i) {
    const GameFile file = GameFileAt(i);
    if (!TouchFile(romRoot / FolderNameOf(file.emulator) / file.name)) return false;
  }
  return true;
}

bool WriteCaseFolder(const std::filesystem::path& root, std::size_t files, std::size_t records) {
  const auto folder = CaseFolder(root, files, records);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return false;
  const std::string romRoot = std::filesystem::absolute(RomRoot(root, files)).string();
  std::string folderFile;
  for (Emulator emulator : kFolderFileOrder) {
    folderFile += '"' + romRoot + '/' + std::string(FolderNameOf(emulator)) + "/\"\r\n";
  }
  std::string descriptions;
  for (const auto& record : DescriptionRecords(records)) {
    descriptions += record.key + "\r\n" + record.text + "\r\n";
  }
  // An empty ZSnes folder makes the program stop on its "no ROM" messages, so the
  // empty catalogue goes without ZSnes; every other set has all four emulators.
  const char* available = files == 0 ? "0,1,1,1\r\n" : "1,1,1,1\r\n";
  return WriteText(folder / "Cartelle.cfg", folderFile) &&
         WriteText(folder / "Disponibili.emu", available) &&
         WriteText(folder / "Descrizioni.emu", descriptions);
}

bool WriteAllData(const std::filesystem::path& root) {
  if (!WriteRomFolders(root, 0) || !WriteCaseFolder(root, 0, 0)) return false;
  for (std::size_t files : kFileCounts) {
    if (!WriteRomFolders(root, files)) return false;
    for (std::size_t records : kRecordCounts) {
      if (!WriteCaseFolder(root, files, records)) return false;
    }
  }
  return true;
}

}  // namespace valmerin::bench
