// One Valmerin per data folder: the second start in the same folder brings the
// first forward and touches no file; another folder is free.
#include "ui/single_instance.h"

#include <QElapsedTimer>
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

TEST_F(SingleInstanceTest, ASecondStartInTheSameFolderBringsTheFirstForward) {
  SingleInstance first;
  ASSERT_TRUE(first.Claim());
  int shown = 0;
  first.OnComeForward([&shown] { ++shown; });
  WriteBytes("zsnes.config.valmerin", "mine\r\n");
  const std::vector<fs::path> files = Entries();

  {
    SingleInstance second;
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(second.AskOtherToComeForward());
  }
  QElapsedTimer waited;
  waited.start();
  while (shown == 0 && waited.elapsed() < 5000) QApplication::processEvents();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Entries(), files);
  EXPECT_EQ(ReadBytes("zsnes.config.valmerin"), "mine\r\n");

  fs::create_directory("altra");
  fs::current_path("altra");
  SingleInstance elsewhere;
  EXPECT_TRUE(elsewhere.Claim());
  fs::current_path("..");
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
