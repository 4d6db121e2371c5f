#include "launch/game_launch.h"

#include <gtest/gtest.h>

#include "launch_test_support.h"

namespace valmerin {
namespace {

using Arguments = std::vector<std::string>;

class GameLaunchTest : public testing::LaunchFolderTest {
 protected:
  // A folder for the emulator holding one game file.
  std::string Install(Emulator emulator, const std::string& folderName, const std::string& game) {
    const std::string folder = MakeFolder(folderName);
    state_.EmulatorFolder[IndexOf(emulator)] = folder;
    if (!game.empty()) WriteBytes(folder + game, "rom:" + game);
    state_.Text1 = game;
    List(emulator, game);
    return folder;
  }
  // The launch copies only what the scan listed.
  void List(Emulator emulator, const std::string& game) {
    state_.gameLists[IndexOf(emulator)].Add(game, game);
  }
  MainWindowState state_;
};

TEST_F(GameLaunchTest, CopyMissingOrRefusedStartsNothing) {
  const std::string folder = Install(Emulator::ZSnes, "ZSnes", "Mario.smc");
  std::filesystem::create_directory(folder + "Gioco.smc");  // the copy cannot replace a folder
  testing::ExpectRefusal(LaunchGame(state_, Emulator::ZSnes), {"copiare il gioco", "cartella"});

  state_.Text1 = "Assente.smc";
  List(Emulator::ZSnes, "Assente.smc");  // listed, then removed
  testing::ExpectRefusal(LaunchGame(state_, Emulator::ZSnes), {"non esiste"});

  state_.Text1 = "Gioco.smc";  // a game may not carry the copy's name
  List(Emulator::ZSnes, "Gioco.smc");
  testing::ExpectRefusal(LaunchGame(state_, Emulator::ZSnes),
                         {"il nome che Valmerin dà alle copie"});

  state_.Text1.clear();
  EXPECT_FALSE(LaunchGame(state_, Emulator::ZSnes).started);

  // A file at the copy name that no run made belongs to an unknown game: it is
  // moved aside, never overwritten or deleted.
  std::filesystem::remove(folder + "Gioco.smc");
  WriteBytes(folder + "gioco.SMC", "mine");
  state_.Text1 = "Mario.smc";
  const LaunchOutcome outcome = LaunchGame(state_, Emulator::ZSnes);
  EXPECT_FALSE(outcome.started);  // no emulator in the folder
  EXPECT_NE(outcome.notice.find("gioco sconosciuto"), std::string::npos) << outcome.notice;
  EXPECT_EQ(ReadBytes(folder + "gioco (file di un gioco sconosciuto).SMC"), "mine");
  EXPECT_FALSE(std::filesystem::exists(folder + "gioco.SMC"));
  EXPECT_FALSE(state_.copies.CopyOf(Emulator::ZSnes));
}

TEST_F(GameLaunchTest, MissingEmulatorIsReportedAndLeavesNoCopy) {
  const std::string folder = Install(Emulator::MagicEngine, "PCE", "Bonk.PCE");
  WriteBytes(folder + "Bonk.sav", "salvataggio");
  const LaunchOutcome outcome = LaunchGame(state_, Emulator::MagicEngine);
  EXPECT_FALSE(outcome.started);
  EXPECT_FALSE(outcome.message.empty());
  EXPECT_EQ(outcome.commandLine, folder + "PCE.exe " + folder + "Gioco.PCE");
  EXPECT_FALSE(std::filesystem::exists(folder + "Gioco.PCE"));
  EXPECT_FALSE(std::filesystem::exists(folder + "Gioco.sav"));
  EXPECT_EQ(ReadBytes(folder + "Bonk.sav"), "salvataggio");
  EXPECT_FALSE(state_.copies.CopyOf(Emulator::MagicEngine));
}

#ifndef _WIN32
TEST_F(GameLaunchTest, StartsEachEmulatorOnItsCopyWithItsSwitches) {
  // parametri in tab order; NESticle's line is empty.
  WriteBytes("parametri", "\"-0 \"\r\n-m \"Salvataggi SNES\" -x\r\n\r\n\"-cd \"\r\n");
  const std::string zsnes = MakeFolder("ZSnes"), nes = MakeFolder("NESticle"),
                    pce = MakeFolder("PCE"), kgen = MakeFolder("Giochi Mega; $(id) & `id` | Drive"),
                    lupo = MakeFolder("Lupo");
  struct Case {
    Emulator emulator;
    std::string folder, program, game;
    Arguments arguments;
  };
  using enum Emulator;
  const std::vector<Case> cases = {
      {ZSnes, zsnes, "ZSnes.exe", "Mario.smc", {"-0", zsnes + "Gioco.smc"}},
      {NESticle, nes, "Dos4GW.exe", "Zelda.NES", {nes + "NESticle.exe", "-run", nes + "Gioco.NES"}},
      {MagicEngine, pce, "PCE.exe", "Bonk.PCE", {"-cd", pce + "Gioco.PCE"}},
      // Quotes in the switch string group; a short extension borrows from the name.
      {KGen, kgen, "KGen98.exe", "Sonic.1", {"-m", "Salvataggi SNES", "-x", kgen + "Gioco.c.1"}},
      // A game name with blanks and shell characters is copied whole; the copy's
      // ending counts characters, not bytes.
      {ZSnes,
       lupo,
       "ZSnes.exe",
       "Lupo; rm -rf $(echo x) & `id` | Caffè",
       {"-0", lupo + "Gioco.ffè"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.game);
    state_.EmulatorFolder[IndexOf(c.emulator)] = c.folder;
    state_.Text1 = c.game;
    List(c.emulator, c.game);
    WriteBytes(c.folder + c.game, "rom:" + c.game);
    MakeStandIn(c.folder, c.program);
    const LaunchOutcome outcome = LaunchGame(state_, c.emulator);
    ASSERT_TRUE(outcome.started) << outcome.message;
    // The line shown is the program and its arguments joined by blanks (KGen's
    // folder, full of shell characters, is left out of this check).
    std::string commandLine = c.folder + c.program;
    for (const std::string& argument : c.arguments) commandLine += " " + argument;
    if (c.emulator != KGen) {
      EXPECT_EQ(outcome.commandLine, commandLine);
    }
    EXPECT_EQ(WaitForArguments(c.folder + c.program), c.arguments);
    EXPECT_EQ(ReadBytes(c.arguments.back()), "rom:" + c.game);
    ASSERT_TRUE(state_.copies.CopyOf(c.emulator));
    EXPECT_TRUE(std::filesystem::equivalent(*state_.copies.CopyOf(c.emulator), c.arguments.back()));
    ASSERT_TRUE(testing::WaitUntilGameEnded(state_.copies, c.emulator));  // ZSnes comes twice
  }
}

TEST_F(GameLaunchTest, EachEndedGameLeavesNoCopyBehind) {
  const std::string folder = Install(Emulator::ZSnes, "ZSnes", "Mario.smc");
  WriteBytes(folder + "Luna.sfc", "rom:Luna.sfc");
  List(Emulator::ZSnes, "Luna.sfc");
  MakeStandIn(folder, "ZSnes.exe");
  for (const char* game : {"Mario.smc", "Mario.smc", "Luna.sfc"}) {
    state_.Text1 = game;
    ASSERT_TRUE(LaunchGame(state_, Emulator::ZSnes).started);
    // One stand-in at a time: a late one would write its arguments over the next.
    ASSERT_TRUE(WaitForArguments(folder + "ZSnes.exe"));
    std::filesystem::remove(folder + "ZSnes.exe.args");
    ASSERT_TRUE(testing::WaitUntilGameEnded(state_.copies, Emulator::ZSnes));
  }
  EXPECT_FALSE(std::filesystem::exists(folder + "Gioco.smc"));
  EXPECT_FALSE(std::filesystem::exists(folder + "Gioco.sfc"));
  EXPECT_FALSE(state_.copies.CopyOf(Emulator::ZSnes));
}

TEST_F(GameLaunchTest, PlainRunUsesItsOwnLiteralsAndNoSwitches) {
  WriteBytes("parametri", "\"-0 \"\r\n\"-k \"\r\n\"-n \"\r\n\"-p \"\r\n");
  const std::string folder = MakeFolder("Emulatori");
  for (int tab = 0; tab < kEmulatorCount; ++tab) state_.EmulatorFolder[tab] = folder;
  // Only the plain run's spelling is on disk: the names are matched without case.
  for (const char* program : {"ZSnes.exe", "Kgen98.exe", "Dos4gw.exe", "PCE.exe"}) {
    MakeStandIn(folder, program);
  }
  EXPECT_EQ(RunEmulator(state_, 2).commandLine, folder + "Dos4gw.exe " + folder + "NESticle.exe");
  EXPECT_EQ(WaitForArguments(folder + "Dos4gw.exe"), Arguments{folder + "NESticle.exe"});
  const LaunchOutcome kgen = RunEmulator(state_, 1);
  EXPECT_EQ(kgen.commandLine, folder + "Kgen98.exe");
  EXPECT_EQ(WaitForArguments(folder + "Kgen98.exe"), Arguments{});

  const LaunchOutcome information = RunEmulator(state_, kInformationTab);
  EXPECT_FALSE(information.started);
  EXPECT_EQ(information.message, "");

  // The game launch spells KGen's program "KGen98.exe" and still finds it.
  std::filesystem::remove(folder + "Kgen98.exe.args");
  WriteBytes(folder + "Sonic.bin", "rom");
  state_.Text1 = "Sonic.bin";
  List(Emulator::KGen, "Sonic.bin");
  EXPECT_TRUE(LaunchGame(state_, Emulator::KGen).started);
  EXPECT_EQ(WaitForArguments(folder + "Kgen98.exe"), (Arguments{"-k", folder + "Gioco.bin"}));
}
#endif

}  // namespace
}  // namespace valmerin
