// Start-up over damaged files: whatever the files hold, the start-up ends in good
// time, every value it set is one the program can hold, and the exit that follows
// writes whole settings files again.
#include <algorithm>
#include <ctime>

#include "catalogue/main_window_state.h"
#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "options/settings_files.h"
#include "options/settings_records.h"
#include "reliability_support.h"
#include "support/shown_texts.h"

namespace valmerin::testing {
namespace {

std::string Garbage(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  return bytes;
}

class DamagedStartup : public FreshFolderTest {
 protected:
  // Every file the start-up reads.
  void WriteAll(const std::string& bytes) {
    for (const char* name : {"Cartelle.cfg", "Disponibili.emu", "Descrizioni.emu"}) {
      WriteBytes(name, bytes);
    }
    for (const EmulatorInfo& info : EmulatorTable()) WriteBytes(info.settingsFile, bytes);
  }

  // Runs start-up and exit, checks the time and the state.
  void StartAndExit() {
    // Processor time, not wall time: the build machines are shared and often loaded.
    const std::clock_t began = std::clock();
    RunStartupSequence(state_, options_, hooks_);
    const double seconds = static_cast<double>(std::clock() - began) / CLOCKS_PER_SEC;
    EXPECT_LT(seconds, 60.0);
    ExpectSane();
    ExpectExitWritesWhatItCan();
  }

  // The program goes on to its exit: a settings file whose record holds no text
  // that cannot be stored is written, and reads back as what the window held; any
  // other file is kept byte for byte.
  void ExpectExitWritesWhatItCan() {
    auto before = Snapshot();
    const std::vector<std::string> kept = RunExitSequence(state_, options_);
    OptionsModel back;
    SettingsBuffer buffer;
    ReadSettingsFiles(back, buffer, {true, true, true, true});
    for (Emulator emulator : kTabOrder) {
      const std::string file(InfoOf(emulator).settingsFile);
      SCOPED_TRACE(file);
      const bool wasKept = std::find(kept.begin(), kept.end(), file) != kept.end();
      // A file not read this run (its emulator switched off) and not changed since
      // is left as it is, without a word.
      const bool notRead = state_.settingsNotRead[IndexOf(emulator)].has_value();
      EXPECT_EQ(wasKept, !notRead && !RecordStorable(emulator));
      if (wasKept || notRead) {
        EXPECT_EQ(ReadBytes(file), before[file]);
      } else {
        ExpectSameRecord(back, options_, emulator);
      }
    }
  }

  static void ExpectSameRecord(const OptionsModel& read, const OptionsModel& held, Emulator e) {
    for (const SettingsField& field : SettingsRecordOf(e)) {
      const int n = field.control;
      switch (field.kind) {
        case FieldKind::CheckValue:
          EXPECT_EQ(read.Check(n), held.Check(n)) << "Check" << n;
          break;
        case FieldKind::OptionValue:
          EXPECT_EQ(read.Option(n), held.Option(n)) << "Option" << n;
          break;
        case FieldKind::BoxText:
        case FieldKind::LinkedText:
          EXPECT_EQ(read.Text(n), held.Text(n)) << "Text" << n;
          break;
        case FieldKind::ComboText:
          EXPECT_EQ(read.ComboText(n), held.ComboText(n)) << "Combo" << n;
          break;
        case FieldKind::ScrollValue:
          EXPECT_EQ(read.Scroll(n), held.Scroll(n)) << "VScroll" << n;
          break;
      }
    }
  }

  void ExpectSane() const {
    for (const std::string& folder : state_.EmulatorFolder) EXPECT_FALSE(folder.empty());
    for (std::size_t i = 0; i < state_.descriptions.Count(); ++i) {
      EXPECT_FALSE(state_.descriptions.Key(i).empty());
    }
    for (int n = 1; n <= kCheckCount; ++n) {
      EXPECT_GE(options_.Check(n), 0);
      EXPECT_LE(options_.Check(n), 2);
    }
    for (int n = 1; n <= kScrollCount; ++n) {
      const ScrollLimits limits = OptionsModel::LimitsOf(n);
      EXPECT_GE(options_.Scroll(n), std::min(limits.lowest, limits.highest));
      EXPECT_LE(options_.Scroll(n), std::max(limits.lowest, limits.highest));
    }
    int selected = 0;
    for (int n = 1; n <= kOptionCount; ++n) selected += options_.Option(n) ? 1 : 0;
    EXPECT_LE(selected, 1);
    for (int tab : hooks_.tabsOff) {
      EXPECT_GE(tab, 0);
      EXPECT_LT(tab, kEmulatorCount);
    }
  }

  // A settings text read from a damaged file may hold a quote: then that file is
  // kept rather than written so that it would shift.
  bool RecordStorable(Emulator emulator) const {
    for (const SettingsField& field : SettingsRecordOf(emulator)) {
      const bool box = field.kind == FieldKind::BoxText || field.kind == FieldKind::LinkedText;
      if (box && !OptionTextStorable(options_.Text(field.control))) return false;
      if (field.kind == FieldKind::ComboText &&
          !OptionTextStorable(options_.ComboText(field.control))) {
        return false;
      }
    }
    return true;
  }

  MainWindowState state_;
  OptionsModel options_;
  RecordingHooks hooks_;
};

TEST_F(DamagedStartup, BinaryGarbageNulBytesLoneCarriageReturnsAndUndefinedBytes) {
  const std::pair<const char*, std::string> cases[] = {
      {"garbage", Garbage(64 * 1024, 7)},
      {"nul bytes", std::string(4096, '\0') + "1,1\0,1\r\n" + std::string(10, '\0')},
      {"lone carriage returns", "\"C:\\Z\\\"\r\r1\r\"a\rb\"\r,\r,#TRUE#\r"},
      {"undefined code-page bytes", "\x81\x8D,\x8F\x90\x9D\r\n\"\x81\"\r\n1,\x9D\r\n"},
      {"only quotes", std::string(1000, '"')},
      {"only commas", std::string(100000, ',')},
  };
  for (const auto& [label, bytes] : cases) {
    SCOPED_TRACE(label);
    state_ = {};
    options_ = {};
    hooks_ = {};
    WriteAll(bytes);
    StartAndExit();
    // What the first run made of the damage is what the next start finds.
    OptionsModel againOptions;
    RecordingHooks againHooks;
    const MainWindowState again = StartUp(againOptions, againHooks);
    EXPECT_EQ(again.EmulatorFolder, state_.EmulatorFolder);
    EXPECT_EQ(againHooks.tabsOff, hooks_.tabsOff);
    for (Emulator emulator : kTabOrder) ExpectSameRecord(againOptions, options_, emulator);
  }
}

// One file with a text that cannot be written back (a lone carriage return would
// read back as two fields): that file alone is kept as it was.
TEST_F(DamagedStartup, ATextThatCannotBeStoredKeepsOnlyItsOwnFile) {
  WriteBytes("Cartelle.cfg", "\"\"\r\n");
  WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
  std::string record;
  for (const SettingsField& field : SettingsRecordOf(Emulator::NESticle)) {
    const bool text = field.kind == FieldKind::BoxText || field.kind == FieldKind::LinkedText;
    record += std::string(record.empty() ? "" : ",") + (text ? "\"a\rb\"" : "1");
  }
  WriteBytes("nesticle.config.valmerin", record + "\r\n");
  StartAndExit();
  EXPECT_FALSE(RecordStorable(Emulator::NESticle));
  EXPECT_EQ(ReadBytes("nesticle.config.valmerin"), record + "\r\n");
}

// A huge file, mostly a hole of NUL bytes, after two good records.
TEST_F(DamagedStartup, HundredMegabyteDescriptionsFile) {
  fs::create_directory("roms");
  WriteBytes("roms/A.smc", "rom");
  WriteBytes("Cartelle.cfg", "\"roms/\"\r\n");
  WriteBytes("Disponibili.emu", "1,0,0,0\r\n");
  WriteBytes("Descrizioni.emu", "A.smc\r\nIl gioco\r\nB\r\nC\r\n");
  fs::resize_file("Descrizioni.emu", 100u * 1024 * 1024);

  StartAndExit();
  ASSERT_GE(state_.descriptions.Count(), 2u);
  EXPECT_EQ(state_.descriptions.Text(0), "Il gioco");
  EXPECT_EQ(testing::ShownTexts(state_.gameLists[IndexOf(Emulator::ZSnes)]),
            std::vector<std::string>{"Il gioco"});
}

TEST_F(DamagedStartup, SettingsFileOfTenThousandFieldsFillsOnlyItsRecord) {
  WriteBytes("Cartelle.cfg", "\"\"\r\n");
  WriteBytes("Disponibili.emu", "0,0,1,0\r\n");
  std::string fields;
  for (int i = 0; i < 10000; ++i) fields += "1,";
  fields += "\r\n";
  WriteBytes("kgen.config.valmerin", fields);

  StartAndExit();
  for (int n = 33; n <= 38; ++n) EXPECT_EQ(options_.Check(n), 1) << n;
  EXPECT_EQ(options_.Scroll(5), 1);
  const std::string written = ReadBytes("kgen.config.valmerin");
  EXPECT_EQ(std::count(written.begin(), written.end(), ','),
            static_cast<long>(SettingsRecordOf(Emulator::KGen).size() - 1));
}

TEST_F(DamagedStartup, FolderFileOfOneUnterminatedQuote) {
  WriteBytes("Cartelle.cfg", "\"");
  WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
  StartAndExit();
  EXPECT_EQ(state_.EmulatorFolder[IndexOf(Emulator::ZSnes)], "C:\\ZSnes\\");
  EXPECT_EQ(state_.EmulatorFolder[IndexOf(Emulator::MagicEngine)], "C:\\PCE\\");
}

}  // namespace
}  // namespace valmerin::testing
