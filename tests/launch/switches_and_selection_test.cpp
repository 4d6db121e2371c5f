#include <gtest/gtest.h>

#include "launch/launch_parameters.h"
#include "launch/list_selection.h"
#include "launch_test_support.h"

namespace valmerin {
namespace {

using SwitchStringTest = testing::LaunchFolderTest;

std::array<std::string, kEmulatorCount> AllSwitchStrings() {
  std::array<std::string, kEmulatorCount> all;
  for (Emulator e : kTabOrder) all[IndexOf(e)] = ReadSwitchString(e);
  return all;
}

TEST_F(SwitchStringTest, EachEmulatorReadsItsOwnLineInTabOrder) {
  WriteBytes("parametri", "\"-0 \"\r\n\"-v 2 \"\r\n\"-fs \"\r\n\"-cd \"\r\n\"ignored \"\r\n");
  EXPECT_EQ(AllSwitchStrings(), (std::array<std::string, 4>{"-0 ", "-v 2 ", "-fs ", "-cd "}));
}

TEST_F(SwitchStringTest, MissingEmptyAndShortFilesGiveNoSwitches) {
  using Four = std::array<std::string, 4>;
  EXPECT_EQ(AllSwitchStrings(), Four{}) << "no file";

  WriteBytes("parametri", "");
  EXPECT_EQ(AllSwitchStrings(), Four{}) << "empty file";

  // An empty line is an emulator that never received a switch; it must not take
  // the value of a neighbouring line.
  WriteBytes("parametri", "\"-0 \"\r\n\r\n");
  EXPECT_EQ(AllSwitchStrings(), (Four{"-0 ", "", "", ""})) << "short file";

  std::filesystem::remove("parametri");
  WriteBytes("PARAMETRI", "\r\n\"-k \"\r\n");
  EXPECT_EQ(AllSwitchStrings(), (Four{"", "-k ", "", ""})) << "name in another case";
}

MainWindowState WithDescriptions(
    std::initializer_list<std::pair<const char*, const char*>> records) {
  MainWindowState state;
  for (const auto& [key, text] : records) state.descriptions.Add(key, text);
  return state;
}

TEST(FindGameFileTest, WalksDescriptionChainsBackToTheFileName) {
  const MainWindowState state = WithDescriptions({{"Mario.smc", "Super Mario"},
                                                  {"Super Mario", "Super Mario World"},
                                                  {"Zelda.smc", "Avventura"},
                                                  {"Link.smc", "Avventura"}});
  EXPECT_EQ(FindGameFile(state, Emulator::ZSnes, "Super Mario World"), "Mario.smc");
  EXPECT_EQ(FindGameFile(state, Emulator::KGen, "Super Mario"), "Mario.smc");
  // The later record of two equal descriptions is met first.
  EXPECT_EQ(FindGameFile(state, Emulator::NESticle, "Avventura"), "Link.smc");
  EXPECT_EQ(FindGameFile(state, Emulator::MagicEngine, "super mario"), "super mario");
  EXPECT_EQ(FindGameFile(MainWindowState{}, Emulator::ZSnes, "Bonk.PCE"), "Bonk.PCE");
}

TEST(FindGameFileTest, OnlyTheZSnesListFallsBackFromABlankResult) {
  const MainWindowState state = WithDescriptions({{" ", "Senza nome"}});
  EXPECT_EQ(FindGameFile(state, Emulator::ZSnes, "Senza nome"), "Senza nome");
  EXPECT_EQ(FindGameFile(state, Emulator::KGen, "Senza nome"), " ");
  EXPECT_EQ(FindGameFile(MainWindowState{}, Emulator::ZSnes, ""), "");
}

}  // namespace
}  // namespace valmerin
