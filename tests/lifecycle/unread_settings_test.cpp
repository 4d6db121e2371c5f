// A settings file the start-up did not read (its emulator switched off, or no
// folder file at all) is left as it is at exit, unless the user changed that
// emulator's options during the run.
#include <gtest/gtest.h>

#include "support/recording_hooks.h"
#include "support/fresh_folder.h"
#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "options/settings_records.h"

namespace valmerin {
namespace {

using UnreadSettingsTest = testing::FreshFolderTest;

// Changes the first text box of an emulator's settings, as the options window does.
void ChangeOptionsOf(OptionsModel& options, Emulator emulator) {
  for (const SettingsField& field : SettingsRecordOf(emulator)) {
    if (field.kind == FieldKind::BoxText) {
      options.SetText(field.control, options.Text(field.control) + "-x");
      return;
    }
  }
  FAIL() << "no text box";
}

TEST_F(UnreadSettingsTest, SettingsNotReadThisRunSurviveTheExitUnlessChanged) {
  const char* kMine = "0,1,1,0,\"mie impostazioni\"\r\n";
  struct Case {
    const char* what;
    const char* folderFile;  // nullptr: none
    const char* availability;
    bool changed;
    bool kept;
  };
  const Case cases[] = {
      {"switched off", "\"zs/\"\r\n\"ne/\"\r\n\"kg/\"\r\n\"pc/\"\r\n", "1,0,1,1", false, true},
      {"switched off, its options changed", "\"zs/\"\r\n\"ne/\"\r\n\"kg/\"\r\n\"pc/\"\r\n",
       "1,0,1,1", true, false},
      {"no folder file", nullptr, "1,1,1,1", false, true},
      {"no folder file, options changed", nullptr, "1,1,1,1", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove("cartelle.cfg");
    if (c.folderFile != nullptr) WriteBytes("cartelle.cfg", c.folderFile);
    WriteBytes("Disponibili.emu", std::string(c.availability) + "\r\n");
    WriteBytes("zs/a.smc", "");
    WriteBytes("nesticle.config.valmerin", kMine);
    MainWindowState state;
    OptionsModel options;
    testing::RecordingHooks hooks;
    RunStartupSequence(state, options, hooks);
    if (c.changed) ChangeOptionsOf(options, Emulator::NESticle);
    RunExitSequence(state, options);
    EXPECT_EQ(ReadBytes("nesticle.config.valmerin") == kMine, c.kept);
    // A file that was read is written as always.
    if (c.folderFile != nullptr) {
      EXPECT_TRUE(std::filesystem::exists("zsnes.config.valmerin"));
    }
  }
}

}  // namespace
}  // namespace valmerin
