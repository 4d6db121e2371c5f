// One Valmerin per data folder: the second start in the same folder brings the
// first forward and ends touching no file; another folder is free, and so is the
// folder of a run that was killed.
#include "ui/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

std::vector<fs::path> Entries() {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(".")) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

using SingleInstanceTest = UiTest;

// Beside the tests; on Windows the name without ".exe" is the program folder "Valmerin".
QString ProgramPath() {
#ifdef _WIN32
  return QCoreApplication::applicationDirPath() + QStringLiteral("/valmerin.exe");
#else
  return QCoreApplication::applicationDirPath() + QStringLiteral("/valmerin");
#endif
}

// The program itself, started in the current folder with no screen.
class Program {
 public:
  Program() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(QDir::currentPath());
    process_.start(ProgramPath(), {});
  }
  ~Program() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  // Runs this process's events until the program ends; false when it runs on.
  bool Ended(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (process_.state() != QProcess::NotRunning && waited.elapsed() < milliseconds) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return process_.state() == QProcess::NotRunning;
  }
  QProcess& Process() { return process_; }

 private:
  QProcess process_;
};

TEST_F(SingleInstanceTest, ASecondStartEndsAtOnceTouchingNothingAndBringsTheFirstForward) {
  ASSERT_TRUE(fs::is_regular_file(ProgramPath().toStdString()));
  WriteCatalogue("1,1,1,1");
  SingleInstance first;
  ASSERT_TRUE(first.Claim());
  int shown = 0;
  first.OnComeForward([&shown] { ++shown; });
  const std::vector<fs::path> files = Entries();

  Program second;
  ASSERT_TRUE(second.Ended(20000)) << "the second start ran on";
  EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.Process().exitCode(), 0);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Entries(), files);  // no settings file, no copy, no journal

  fs::create_directory("altra");
  fs::current_path("altra");
  SingleInstance elsewhere;
  EXPECT_TRUE(elsewhere.Claim());
  fs::current_path("..");
}

// A run that was killed leaves its lock and its socket behind: the next start
// takes the folder over, and a start after that still finds it.
TEST_F(SingleInstanceTest, AKilledRunsFolderIsTakenOver) {
  {
    Program killed;
    // Killed only once its lock is written and its socket answers.
    bool answered = false;
    QElapsedTimer waited;
    waited.start();
    while (!answered && waited.elapsed() < 20000) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      std::error_code unknown;
      if (fs::file_size(".valmerin.lock", unknown) == 0 || unknown) continue;
      SingleInstance probe;
      answered = !probe.Claim() && probe.AskOtherToComeForward();
    }
    ASSERT_TRUE(answered);
  }
  ASSERT_TRUE(fs::exists(".valmerin.lock")) << "a killed run cannot remove its lock";
  SingleInstance next;
  ASSERT_TRUE(next.Claim());
  int shown = 0;
  next.OnComeForward([&shown] { ++shown; });
  SingleInstance later;
  EXPECT_FALSE(later.Claim());
  EXPECT_TRUE(later.AskOtherToComeForward());
  QElapsedTimer waited;
  waited.start();
  while (shown == 0 && waited.elapsed() < 5000) QApplication::processEvents();
  EXPECT_EQ(shown, 1);
}

// A lock another computer took (a shared or removable folder) is never stale from
// here: the message names that computer and the file that frees the folder.
TEST_F(SingleInstanceTest, ALockFromAnotherComputerSaysHowToFreeTheFolder) {
  WriteBytes(".valmerin.lock",
             std::to_string(QCoreApplication::applicationPid()) + "\nvalmerin\naltro-computer\n");
  SingleInstance second;
  EXPECT_FALSE(second.Claim());
  const QString message = second.AlreadyOpenMessage();
  EXPECT_TRUE(message.contains(QStringLiteral("\"altro-computer\""))) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("\".valmerin.lock\""))) << message.toStdString();
}

}  // namespace
}  // namespace valmerin::testing
