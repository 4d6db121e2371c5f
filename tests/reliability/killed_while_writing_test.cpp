// The program killed at any moment while it writes its settings files: each file
// is afterwards the old one or a new one complete, never a mixture, never empty.
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "catalogue/emulator_table.h"
#include "options/options_model.h"
#include "options/settings_files.h"
#include "options/settings_records.h"
#include "platform/file_io.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

// Generation g puts "g<g>:" and a length that changes with g into every text of
// every record, so a file made of two generations cannot pass for one.
OptionsModel Generation(int g) {
  OptionsModel options;
  const std::string text = "g" + std::to_string(g) + ":" + std::string((g * 37) % 300, 'x');
  for (const EmulatorInfo& info : EmulatorTable()) {
    for (const SettingsField& field : SettingsRecordOf(info.emulator)) {
      if (field.kind == FieldKind::ComboText) {
        options.SetComboText(field.control, text);
      } else if (field.kind == FieldKind::BoxText || field.kind == FieldKind::LinkedText) {
        options.SetText(field.control, text);
      } else if (field.kind == FieldKind::CheckValue) {
        options.SetCheck(field.control, (g + field.control) % 3);
      }
    }
  }
  return options;
}

class KilledWhileWriting : public FreshFolderTest {
 protected:
  // The bytes generation g gives each settings file, written once in a side folder.
  const std::map<std::string, std::string>& Expected(int g) {
    auto found = expected_.find(g);
    if (found != expected_.end()) return found->second;
    const fs::path side = Root() / "expected";
    fs::create_directories(side);
    fs::current_path(side);
    EXPECT_TRUE(SaveSettingsFiles(Generation(g), {}).empty());
    std::map<std::string, std::string> files;
    for (const EmulatorInfo& info : EmulatorTable()) {
      files[std::string(info.settingsFile)] = ReadBytes(info.settingsFile);
    }
    fs::current_path(Root());
    fs::remove_all(side);
    return expected_[g] = files;
  }

  std::map<int, std::map<std::string, std::string>> expected_;
};

TEST_F(KilledWhileWriting, EveryFileIsOldOrNewWhole) {
  ASSERT_TRUE(SaveSettingsFiles(Generation(0), {}).empty());
  std::map<std::string, int> last;
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> delayMicros(0, 15000);
  int next = 1;
  std::set<std::string> interrupted;  // the temporaries kills left behind
  for (int round = 0; round < 200; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int g = next;; ++g) SaveSettingsFiles(Generation(g), {});
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    for (const auto& entry : fs::directory_iterator(".")) {
      const std::string name = entry.path().filename().string();
      if (IsTemporaryName(name)) interrupted.insert(name);
    }
    for (const EmulatorInfo& info : EmulatorTable()) {
      const std::string name(info.settingsFile);
      const std::string bytes = ReadBytes(name);
      SCOPED_TRACE("round " + std::to_string(round) + ", " + name + ": " + bytes.substr(0, 60));
      // The generation the file says it is, or -1.
      const auto at = bytes.find("\"g");
      int g = at == std::string::npos ? -1 : std::atoi(bytes.c_str() + at + 2);
      if (g < 0) {
        // A record without texts tells its generation only modulo 3.
        for (int candidate = 0; candidate < 3 && g < 0; ++candidate) {
          if (bytes == Expected(candidate).at(name)) g = candidate;
        }
        ASSERT_GE(g, 0) << "neither an old nor a new whole file";
        continue;
      }
      ASSERT_EQ(bytes, Expected(g).at(name)) << "a mixture of generations";
      ASSERT_GE(g, last[name]) << "an older generation came back";
      last[name] = g;
      next = std::max(next, g + 1);
    }
  }
  // Kills that all fell between writes would prove nothing about a kill inside one.
  EXPECT_GT(interrupted.size(), 0u);
  RecordProperty("kills_that_left_a_temporary", static_cast<int>(interrupted.size()));
}

}  // namespace
}  // namespace valmerin::testing
#endif
