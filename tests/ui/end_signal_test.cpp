// An end signal at any moment of the start-up, a start-up message up included,
// ends the program the normal way: the lock goes and the settings are saved.
#include <signal.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using EndSignalTest = UiTest;

#ifndef _WIN32
fs::path ProgramBesideTests() { return fs::read_symlink("/proc/self/exe").parent_path() / "valmerin"; }

// Starts the real program in the current folder, sends `signal` after `after`
// and returns its wait status, or nullopt when it had to be killed.
std::optional<int> RunAndSignal(int signal, std::chrono::milliseconds after) {
  const std::string program = ProgramBesideTests().string();
  const pid_t child = fork();
  if (child == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(after);
  kill(child, signal);
  int status = 0;
  for (int i = 0; i < 200; ++i) {
    if (waitpid(child, &status, WNOHANG) == child) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  return std::nullopt;
}

TEST_F(EndSignalTest, AnEndSignalDuringAStartUpMessageEndsTheProgramNormally) {
  if (!fs::exists(ProgramBesideTests())) GTEST_SKIP() << "the program is not built beside the tests";
  struct Case {
    const char* what;
    std::function<void()> prepare;
    bool settingsSaved;
  };
  const Case cases[] = {
      // An empty ZSnes folder: a message, then the options window, before the
      // main window is shown.
      {"empty ZSnes folder", [this] { WriteCatalogue("1,0,0,0"); }, true},
      // Valmerin is already open here (the lock of another computer): its message.
      {"already open", [] {
         WriteBytes(".valmerin.lock", "1\nvalmerin\naltro-computer\n");
       }, false},
  };
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " " + std::to_string(signal));
      for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
      c.prepare();
      const std::optional<int> status = RunAndSignal(signal, std::chrono::milliseconds(1500));
      ASSERT_TRUE(status.has_value()) << "it did not end";
      EXPECT_TRUE(WIFEXITED(*status)) << "ended by the signal itself";
      if (c.settingsSaved) {
        EXPECT_FALSE(fs::exists(".valmerin.lock"));
        EXPECT_TRUE(fs::exists("zsnes.config.valmerin"));
      } else {
        EXPECT_EQ(ReadBytes(".valmerin.lock"), "1\nvalmerin\naltro-computer\n");
      }
    }
  }
}
#endif

}  // namespace
}  // namespace valmerin::testing
