#pragma once
// Everything the program knows about the four emulators, as one table.
#include <array>
#include <string_view>

namespace valmerin {

// Tab order: the tabs of both windows' emulator pages, the game lists, the
// launch-parameters file, the settings files and the scan.
enum class Emulator { ZSnes = 0, KGen = 1, NESticle = 2, MagicEngine = 3 };
inline constexpr int kEmulatorCount = 4;
inline constexpr int kInformationTab = 4;

struct EmulatorInfo {
  Emulator emulator;
  int tabIndex;                   // on Form1's SSTab1
  std::string_view name;          // "ZSnes", "KGen", "NESticle", "Magic Engine"
  std::string_view tabCaption;    // "ZSnes", "Kgen", "NESticle", "Magic Engine"
  std::string_view gameList;      // "List1", "List2", "List3", "List6"
  std::string_view defaultFolder; // "C:\ZSnes\" ...
  std::array<std::string_view, 9> patterns;  // in search order; unused slots empty
  std::string_view settingsFile;
  int availabilityCheck;          // Check71..Check74 of Form2
  int folderTextBox;              // Text32..Text35 of Form2
};

const std::array<EmulatorInfo, kEmulatorCount>& EmulatorTable();
const EmulatorInfo& InfoOf(Emulator emulator);

// The other order: ZSnes, NESticle, KGen, Magic Engine. "Cartelle.cfg", the
// availability file and the "Generali" tab of the options window keep it.
inline constexpr std::array<Emulator, kEmulatorCount> kFolderFileOrder = {
    Emulator::ZSnes, Emulator::NESticle, Emulator::KGen, Emulator::MagicEngine};
inline constexpr std::array<Emulator, kEmulatorCount> kTabOrder = {
    Emulator::ZSnes, Emulator::KGen, Emulator::NESticle, Emulator::MagicEngine};

inline int IndexOf(Emulator e) { return static_cast<int>(e); }

// Magic Engine's system cards ("syscard*") sit beside its games under the same
// extension, and are no game.
bool IsSystemCard(Emulator emulator, std::string_view fileName);

}  // namespace valmerin
