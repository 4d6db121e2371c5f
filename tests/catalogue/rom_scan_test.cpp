#include "catalogue/rom_scan.h"

#include <gtest/gtest.h>

#include "support/recording_hooks.h"
#include "support/fresh_folder.h"
#include "support/shown_texts.h"

namespace valmerin {
namespace {

using Lines = std::vector<std::string>;

class RomScanTest : public testing::FreshFolderTest {
 protected:
  bool Scan(std::array<bool, kEmulatorCount> available, std::initializer_list<const char*> files) {
    for (const char* dir : {"zs", "kg", "ne", "pce"}) std::filesystem::create_directory(dir);
    for (const char* file : files) WriteBytes(file, "");
    return ScanRomFolders(state, available);
  }
  Lines List(Emulator e) { return testing::ShownTexts(state.gameLists[IndexOf(e)]); }
  static MainWindowState WithFolders(std::array<std::string, kEmulatorCount> folders) {
    MainWindowState s;
    s.EmulatorFolder = std::move(folders);
    return s;
  }
  MainWindowState state = WithFolders({"zs/", "kg/", "ne/", "pce/"});
};

TEST_F(RomScanTest, PatternsInTableOrderAndAnyZSnesRomIsEnough) {
  EXPECT_TRUE(Scan({true, true, true, true},
                   {"zs/b.sfc", "zs/a.sfc", "zs/z.smc", "zs/x.txt", "kg/b.SMD", "ne/c.nes"}));
  EXPECT_EQ(List(Emulator::ZSnes), (Lines{"z.smc", "a.sfc", "b.sfc"}));
  EXPECT_EQ(List(Emulator::KGen), Lines{"b.SMD"});
  EXPECT_EQ(List(Emulator::NESticle), Lines{"c.nes"});
}

TEST_F(RomScanTest, ZSnesWithNoRomFailsButTheOthersAreStillScanned) {
  state.EmulatorFolder[0] = "missing/";
  EXPECT_FALSE(Scan({true, true, false, false}, {"kg/b.bin", "ne/c.nes"}));
  EXPECT_EQ(List(Emulator::KGen), Lines{"b.bin"});
  EXPECT_TRUE(List(Emulator::NESticle).empty());  // not available
  MainWindowState other = WithFolders({"missing/", "kg/", "ne/", "pce/"});
  EXPECT_TRUE(ScanRomFolders(other, {false, true, true, true}));
}

TEST_F(RomScanTest, FolderIsAPlainPrefixWithoutSeparator) {
  state.EmulatorFolder[0] = "zs";
  EXPECT_TRUE(Scan({true, false, false, false}, {"zsgioco.smc", "zs/dentro.smc"}));
  EXPECT_EQ(List(Emulator::ZSnes), Lines{"zsgioco.smc"});
}

TEST_F(RomScanTest, SystemCardsAreLeftOutByTheirFirstSevenLetters) {
  Scan({false, false, false, true}, {"pce/SYSCARD3.PCE", "pce/syscard.pce", "pce/Bonk.pce",
                                     "pce/miosyscard.PCE", "pce/sys.pce"});
  EXPECT_EQ(List(Emulator::MagicEngine), (Lines{"Bonk.pce", "miosyscard.PCE", "sys.pce"}));
}

TEST_F(RomScanTest, SharedFolderListsAFileTwiceAndDescriptionsApply) {
  state.EmulatorFolder[1] = "zs/";
  state.descriptions.Add("Mario.smc", "case differs");
  state.descriptions.Add("gioco.1", "Uno");
  state.descriptions.Add("Uno", "Uno, seconda");
  ASSERT_TRUE(Scan({true, true, false, false}, {"zs/gioco.1", "zs/mario.smc", "zs/Sonic.smd"}));
  EXPECT_EQ(List(Emulator::ZSnes), (Lines{"mario.smc", "Uno, seconda"}));
  EXPECT_EQ(List(Emulator::KGen), (Lines{"Sonic.smd", "Uno, seconda"}));
}

TEST_F(RomScanTest, LargeFoldersAreListedWhole) {
  for (int i = 0; i < 1500; ++i) WriteBytes("zs/g" + std::to_string(i) + ".smc", "");
  EXPECT_TRUE(Scan({true, false, false, false}, {}));
  EXPECT_EQ(List(Emulator::ZSnes).size(), 1500u);
}

TEST(ScanFailureTest, ThreeMessagesThenTheOptionsWindow) {
  testing::RecordingHooks hooks;
  ScanFailure(hooks);
  EXPECT_EQ(
      hooks.calls,
      (Lines{"message: Errore nella ricerca delle ROMs. Possibili errori: PERCORSO ERRATO "
             "oppure NESSUNA ROM DISPONIBILE.",
             "message: Verrà ora aperta la schermata delle opzioni. Selezionare la cartella "
             "Generale e inserire i percorsi corretti per i vari emulatori.",
             "message: Dopo aver corretto i percorsi, riavviare il programma", "options window"}));
}

}  // namespace
}  // namespace valmerin
