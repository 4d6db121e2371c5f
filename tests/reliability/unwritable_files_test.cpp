// Each file the program writes, made unwritable by a folder standing at its name:
// the failure is reported, no other file of the user's loses what it held, and the
// program can go on (the next write, once the way is clear, succeeds).
#include <algorithm>

#include "catalogue/descriptions.h"
#include "catalogue/folder_files.h"
#include "catalogue/main_window_state.h"
#include "launch/launch_parameters.h"
#include "lifecycle/exit_sequence.h"
#include "options/command_line_builder.h"
#include "options/options_model.h"
#include "options/settings_files.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

// The files a user has before the failing write, each with recognisable old content.
const std::map<std::string, std::string> kOldFiles = {
    {"Cartelle.cfg", "\"old-z\\\"\r\n\"old-n\\\"\r\n\"old-k\\\"\r\n\"old-p\\\"\r\n"},
    {"parametri", "\"-old \"\r\n\r\n\r\n\r\n"},
    {"zsnes.config.valmerin", "old zsnes\r\n"},
    {"kgen.config.valmerin", "old kgen\r\n"},
    {"nesticle.config.valmerin", "old nesticle\r\n"},
    {"pcengine.config.valmerin", "old pcengine\r\n"},
    {"Descrizioni.emu", "old.smc\r\nOld game\r\n"},
};

class UnwritableFile : public FreshFolderTest {
 protected:
  // The user's files, except the one that a folder replaces.
  void Prepare(const std::string& blocked) {
    for (const auto& [name, bytes] : kOldFiles) {
      if (name != blocked) WriteBytes(name, bytes);
    }
    fs::create_directory(blocked);
    WriteBytes(fs::path(blocked) / "inside", "the user's");
  }

  // What every file holds now, against what it held: unchanged unless `rewritten`
  // names it, and never a leftover temporary.
  static void ExpectOthersIntact(const std::map<std::string, std::string>& before,
                                 const std::vector<std::string>& rewritten) {
    const auto after = Snapshot();
    for (const auto& [name, bytes] : before) {
      ASSERT_TRUE(after.count(name)) << name << " disappeared";
      if (std::find(rewritten.begin(), rewritten.end(), name) == rewritten.end()) {
        EXPECT_EQ(after.at(name), bytes) << name << " changed";
      }
    }
    for (const auto& [name, bytes] : after) {
      EXPECT_EQ(name.find(".valmerin-tmp"), std::string::npos) << "leftover " << name;
    }
  }
};

// The OK button writes "disponibili.emu", then "parametri", then "Cartelle.cfg";
// a file written before the blocked one holds its new content complete.
TEST_F(UnwritableFile, OkButtonReportsTheBlockedFileAndKeepsTheOthers) {
  const std::vector<std::string> order = {"disponibili.emu", "parametri", "Cartelle.cfg"};
  for (std::size_t blocked = 0; blocked < order.size(); ++blocked) {
    SCOPED_TRACE(order[blocked]);
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    Prepare(order[blocked]);
    if (order[blocked] != "disponibili.emu") WriteBytes("disponibili.emu", "1,1,1,1\r\n");
    const auto before = Snapshot();

    OptionsModel options;
    options.SetCheck(72, 0);
    options.SetText(32, "C:\\Nuova");
    const ConfirmOutcome outcome = ConfirmOptions(options);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find(order[blocked]), std::string::npos) << outcome.message;

    ExpectOthersIntact(before, {order.begin(), order.begin() + blocked});  // those written
    if (blocked > 0) {
      EXPECT_EQ(ReadBytes("disponibili.emu"), "1,0,1,1\r\n");
    }
    EXPECT_EQ(ReadBytes(fs::path(order[blocked]) / "inside"), "the user's");

    // The way cleared, the same OK goes through.
    fs::remove_all(order[blocked]);
    EXPECT_TRUE(ConfirmOptions(options).ok);
    Folders folders;
    ASSERT_TRUE(ReadFolderFile(folders));
    EXPECT_EQ(folders[IndexOf(Emulator::ZSnes)], "C:\\Nuova\\");
  }
}

// OK writes to a file spelt otherwise than it asks for; a failure names that file.
TEST_F(UnwritableFile, OkButtonNamesTheBlockedFileAsTheFolderSpellsIt) {
  for (const char* blocked : {"Disponibili.emu", "PARAMETRI", "CARTELLE.CFG"}) {
    SCOPED_TRACE(blocked);
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    WriteBytes(blocked, "1,1,1,1\r\n");
    fs::permissions(blocked, fs::perms::owner_read | fs::perms::group_read);
    OptionsModel options;
    const ConfirmOutcome outcome = ConfirmOptions(options);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("\"" + std::string(blocked) + "\""), std::string::npos)
        << outcome.message;
    fs::permissions(blocked, fs::perms::owner_all);
  }
}

TEST_F(UnwritableFile, ExitWritesTheOtherSettingsFilesAndNamesTheBlockedOne) {
  for (const EmulatorInfo& info : EmulatorTable()) {
    const std::string blocked(info.settingsFile);
    SCOPED_TRACE(blocked);
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    Prepare(blocked);
    const auto before = Snapshot();

    MainWindowState state;
    OptionsModel options;
    options.SetText(5, "-saved");
    const std::vector<std::string> failed = RunExitSequence(state, options);
    EXPECT_EQ(failed, std::vector<std::string>{blocked});

    std::vector<std::string> rewritten;
    for (const EmulatorInfo& other : EmulatorTable()) {
      if (other.settingsFile != info.settingsFile) rewritten.emplace_back(other.settingsFile);
    }
    ExpectOthersIntact(before, rewritten);
    for (const std::string& name : rewritten) {
      const std::string bytes = ReadBytes(name);
      EXPECT_EQ(bytes.find("old"), std::string::npos) << name;
      EXPECT_EQ(bytes.size() - 2, bytes.find("\r\n")) << name << " is not one whole line";
    }
  }
}

// The exit message says of each file not written whether it is still there as it
// was, or was never made.
TEST_F(UnwritableFile, ExitMessageTellsAKeptFileFromOneNeverMade) {
  const struct {
    bool existed;
    const char* says;
  } cases[] = {
      {true, "\"zsnes.config.valmerin\": il file è di sola lettura; è rimasto com'era."},
      {false, "\"zsnes.config.valmerin\": il file o la cartella non esiste; non è stato creato."},
  };
  for (const auto& c : cases) {
#ifdef _WIN32
    if (!c.existed) continue;  // a link needs privileges there
#endif
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    if (c.existed) {
      WriteBytes("zsnes.config.valmerin", "old zsnes\r\n");
      fs::permissions("zsnes.config.valmerin", fs::perms::owner_read);
    } else {
      fs::create_symlink("missing/zsnes.cfg", "zsnes.config.valmerin");
    }
    MainWindowState state;
    OptionsModel options;
    std::string message;
    RunExitSequence(state, options, &message);
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    if (c.existed) fs::permissions("zsnes.config.valmerin", fs::perms::owner_all);
  }
}

TEST_F(UnwritableFile, DescriptionAppendFailsAndTouchesNothing) {
  Prepare("Descrizioni.emu");
  const auto before = Snapshot();
  EXPECT_EQ(AppendDescription("Mario.smc", "Il mio gioco"), SaveResult::WriteFailed);
  ExpectOthersIntact(before, {});
}

// Every write takes a temporary name of its own: a folder at an old-style temporary
// name blocks nothing and is left as it is.
TEST_F(UnwritableFile, FolderAtTheTemporaryNameLeavesTheOldFile) {
  Prepare("parametri.valmerin-tmp");
  OptionsModel options;
  const ConfirmOutcome outcome = ConfirmOptions(options);
  EXPECT_TRUE(outcome.ok) << outcome.message;
  EXPECT_NE(ReadBytes("parametri"), kOldFiles.at("parametri"));
  EXPECT_EQ(ReadBytes(fs::path("parametri.valmerin-tmp") / "inside"), "the user's");
}

}  // namespace
}  // namespace valmerin::testing
