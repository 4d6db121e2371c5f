#include "catalogue/emulator_table.h"

#include "platform/utf8.h"

namespace valmerin {

const std::array<EmulatorInfo, kEmulatorCount>& EmulatorTable() {
  static constexpr std::array<EmulatorInfo, kEmulatorCount> kTable = {{
      {Emulator::ZSnes,
       0,
       "ZSnes",
       "ZSnes",
       "List1",
       "C:\\ZSnes\\",
       {"*.smc", "*.swc", "*.058", "*.078", "*.1", "*.usa", "*.jap", "*.sfc", "*.fig"},
       "zsnes.config.valmerin",
       71,
       32},
      {Emulator::KGen,
       1,
       "KGen",
       "Kgen",
       "List2",
       "C:\\KGen\\",
       {"*.smd", "*.bin", "*.1"},
       "kgen.config.valmerin",
       73,
       34},
      {Emulator::NESticle,
       2,
       "NESticle",
       "NESticle",
       "List3",
       "C:\\NESticle\\",
       {"*.NES"},
       "nesticle.config.valmerin",
       72,
       33},
      {Emulator::MagicEngine,
       3,
       "Magic Engine",
       "Magic Engine",
       "List6",
       "C:\\PCE\\",
       {"*.PCE"},
       "pcengine.config.valmerin",
       74,
       35},
  }};
  return kTable;
}

const EmulatorInfo& InfoOf(Emulator emulator) { return EmulatorTable()[IndexOf(emulator)]; }

bool IsSystemCard(Emulator emulator, std::string_view fileName) {
  static constexpr std::string_view kPrefix = "syscard";
  return emulator == Emulator::MagicEngine && fileName.size() >= kPrefix.size() &&
         EqualsIgnoringCase(fileName.substr(0, kPrefix.size()), kPrefix);
}

}  // namespace valmerin
