// Folder texts, ROM names and switches holding what a shell would act on reach the
// emulator literally, one argument each, and nothing they spell is ever run.
#ifndef _WIN32
#include "catalogue/main_window_state.h"
#include "catalogue/record_file.h"
#include "launch/game_launch.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

const char* const kHostile[] = {
    "two  blanks",     "quo\"te",        "semi;colon", "amp&ersand",  "pi|pe",
    "$(touch canary)", "`touch canary`", "new\nline",  "Città è già", "it's ${HOME}",
    "a > canary",      "-leading dash",  "*?[glob]",
};

void ExpectNoCanary(const fs::path& root) {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    EXPECT_NE(entry.path().filename(), "canary") << "a shell ran: " << entry.path();
  }
}

using HostileNames = FreshFolderTest;

TEST_F(HostileNames, FolderAndRomNamesArriveLiterally) {
  for (const char* hostile : kHostile) {
    SCOPED_TRACE(hostile);
    const fs::path folder = Root() / hostile;
    fs::create_directories(folder);
    MakeStandIn(folder / "ZSnes.exe");
    MakeStandIn(folder / "Dos4GW.exe");
    const std::string rom = std::string(hostile) + ".smc";
    WriteBytes(folder / rom, "rom bytes");

    MainWindowState state = WithGame(Emulator::ZSnes, folder.string() + "/", rom);
    state.EmulatorFolder[IndexOf(Emulator::NESticle)] = folder.string() + "/";
    state.gameLists[IndexOf(Emulator::NESticle)].Add(rom, rom);

    const LaunchOutcome zsnes = LaunchGame(state, Emulator::ZSnes);
    ASSERT_TRUE(zsnes.started) << zsnes.message;
    const std::string copy = folder.string() + "/Gioco.smc";
    EXPECT_EQ(ArgumentsOf(folder / "ZSnes.exe"), std::vector<std::string>{copy});
    EXPECT_EQ(ReadBytes(copy), "rom bytes");
    // One folder: one game at a time.
    ASSERT_TRUE(WaitUntilGameEnded(state.copies, Emulator::ZSnes));

    const LaunchOutcome nesticle = LaunchGame(state, Emulator::NESticle);
    ASSERT_TRUE(nesticle.started) << nesticle.message;
    EXPECT_EQ(ArgumentsOf(folder / "Dos4GW.exe"),
              (std::vector<std::string>{folder.string() + "/NESticle.exe", "-run", copy}));
  }
  ExpectNoCanary(Root());
}

TEST_F(HostileNames, SwitchesSplitByTheirOwnRulesOnly) {
  const fs::path folder = Root() / "zsnes";
  fs::create_directories(folder);
  MakeStandIn(folder / "ZSnes.exe");
  WriteBytes(folder / "A.smc", "rom");
  RecordWriter parameters;
  parameters.WriteRecord(
      {std::string("-v 'x y' $(touch canary) ;touch canary |touch canary "
                   "`touch canary` & > canary ")});
  for (int line = 1; line < kEmulatorCount; ++line) parameters.WriteRecord({std::monostate{}});
  WriteBytes("parametri", parameters.Text());

  MainWindowState state = WithGame(Emulator::ZSnes, folder.string() + "/", "A.smc");
  const LaunchOutcome outcome = LaunchGame(state, Emulator::ZSnes);
  ASSERT_TRUE(outcome.started) << outcome.message;
  const std::vector<std::string> expected = {
      "-v",      "'x",     "y'",     "$(touch", "canary)",
      ";touch",  "canary", "|touch", "canary",  "`touch",
      "canary`", "&",      ">",      "canary",  folder.string() + "/Gioco.smc"};
  EXPECT_EQ(ArgumentsOf(folder / "ZSnes.exe"), expected);
  ExpectNoCanary(Root());
}

}  // namespace
}  // namespace valmerin::testing
#endif
