#include <gtest/gtest.h>

#include "catalogue/rom_scan.h"
#include "launch/game_launch.h"
#include "launch/launch_parameters.h"
#include "launch/list_selection.h"
#include "launch_test_support.h"

namespace valmerin {
namespace {

using SwitchStringTest = testing::LaunchFolderTest;

// Each emulator reads its own line, in tab order; a missing, empty or short file
// gives no switches.
TEST_F(SwitchStringTest, EachEmulatorReadsItsOwnLineOrNothing) {
  const struct {
    const char* file;  // "": none
    const char* bytes;
    std::array<std::string, kEmulatorCount> switches;
  } cases[] = {
      {"parametri",
       "\"-0 \"\r\n\"-v 2 \"\r\n\"-fs \"\r\n\"-cd \"\r\n\"ignored \"\r\n",
       {"-0 ", "-v 2 ", "-fs ", "-cd "}},
      {"", "", {}},
      {"parametri", "", {}},
      // An empty line is an emulator that never received a switch; it must not take
      // the value of a neighbouring line.
      {"parametri", "\"-0 \"\r\n\r\n", {"-0 ", "", "", ""}},
      {"PARAMETRI", "\r\n\"-k \"\r\n", {"", "-k ", "", ""}},  // the name in another case
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " holding " +
                 ::testing::PrintToString(std::string(c.bytes)));
    for (const char* name : {"parametri", "PARAMETRI"}) std::filesystem::remove(name);
    if (*c.file != '\0') WriteBytes(c.file, c.bytes);
    std::array<std::string, kEmulatorCount> read;
    for (Emulator e : kTabOrder) read[IndexOf(e)] = ReadSwitchString(e);
    EXPECT_EQ(read, c.switches);
  }
}

#ifndef _WIN32
// Files a description makes ambiguous: walking back from the shown text would
// give another game, or leave the folder.
TEST_F(SwitchStringTest, EachEntryStartsTheFileItWasMadeFromAndNothingElse) {
  const std::string folder = MakeFolder("ZSnes");
  MakeStandIn(folder, "ZSnes.exe");
  for (const char* rom : {"Link.smc", "Zelda.smc", "Avventura.smc", "Metroid.smc"}) {
    WriteBytes(folder + rom, rom);
  }
  MainWindowState state;
  for (const auto& [key, text] : {std::pair{"Link.smc", "Avventura"},
                                  {"Zelda.smc", "Avventura"},
                                  {"Metroid.smc", "Avventura.smc"},
                                  {"../../../segreto", "Avventura.smc"}}) {
    state.descriptions.Add(key, text);
  }
  state.EmulatorFolder[0] = folder;
  ASSERT_TRUE(ScanInto(state.gameLists, state.EmulatorFolder, state.descriptions,
                       {true, false, false, false}));
  const GameList& list = state.gameLists[0];
  for (std::size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(list.File(i));
    state.Text1 = GameFileOf(state, Emulator::ZSnes, i);
    EXPECT_EQ(state.Text1, list.File(i));
    std::filesystem::remove(folder + "ZSnes.exe.args");
    ASSERT_TRUE(LaunchGame(state, Emulator::ZSnes).started);
    const auto arguments = WaitForArguments(folder + "ZSnes.exe");
    ASSERT_TRUE(arguments);
    EXPECT_EQ(ReadBytes(arguments->back()), list.File(i));
    ASSERT_TRUE(testing::WaitUntilGameEnded(state.copies, Emulator::ZSnes));
  }

  WriteBytes(Root() / "segreto", "not a game");
  state.Text1 = "../../../segreto";  // where walking back from "Avventura.smc" leads
  testing::ExpectRefusal(LaunchGame(state, Emulator::ZSnes), {"non è nella lista"});
  EXPECT_FALSE(state.copies.CopyOf(Emulator::ZSnes));  // nothing was copied for it
}
#endif

}  // namespace
}  // namespace valmerin
