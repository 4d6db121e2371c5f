// What an ordinary user meets: files and folders the system will not let us read
// or write. Root ignores these bits, so the tests run in `make test-user`.
#ifndef _WIN32
#include <unistd.h>

#include "launch/game_launch.h"
#include "options/command_line_builder.h"
#include "options/options_model.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

class UserPermissions : public FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    if (geteuid() == 0) GTEST_SKIP() << "root ignores permission bits; make test-user runs this";
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(Root())) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    }
    FreshFolderTest::TearDown();
  }
};

// OK replaces one of its files that it cannot read only when the user says yes.
TEST_F(UserPermissions, OkAsksBeforeReplacingAFileItCannotRead) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    WriteBytes("Cartelle.cfg", "\"D:\\Mie cartelle\\\"\r\n");
    fs::permissions("Cartelle.cfg", fs::perms::none);
    OptionsModel options;
    std::vector<std::string> asked;
    const ConfirmOutcome outcome = ConfirmOptions(options, [&](const std::string& file) {
      asked.push_back(file);
      return yes;
    });
    EXPECT_EQ(asked, std::vector<std::string>{"Cartelle.cfg"});
    EXPECT_EQ(outcome.ok, yes) << outcome.message;
    EXPECT_EQ(fs::status("Cartelle.cfg").permissions() == fs::perms::none, !yes);
    if (!yes) {
      EXPECT_FALSE(fs::exists("parametri"));
    }
    fs::permissions("Cartelle.cfg", fs::perms::owner_read | fs::perms::owner_write);
    fs::remove("Cartelle.cfg");
  }
}

// A copy the folder will not take says so, and leaves nothing.
TEST_F(UserPermissions, ACopyIntoAFolderWeMayNotWriteSaysPermissionDenied) {
  fs::create_directory("snes");
  WriteBytes("snes/Mario.smc", "mario");
  MakeStandIn("snes/ZSnes.exe");
  fs::permissions("snes", fs::perms::owner_read | fs::perms::owner_exec);
  MainWindowState state = WithGame(Emulator::ZSnes, (Root() / "snes").string() + "/", "Mario.smc");
  ExpectRefusal(LaunchGame(state, Emulator::ZSnes), {"Gioco.smc\": permesso negato"});
  EXPECT_EQ(std::distance(fs::directory_iterator("snes"), {}), 2);
}

}  // namespace
}  // namespace valmerin::testing
#endif
