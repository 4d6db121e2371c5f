// Closing the main window while a game is being copied stops the copy, leaves
// nothing of it, starts nothing and ends the program the normal way.
#include <QCloseEvent>
#include <QListView>
#include <QTabWidget>
#include <QWindow>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using CloseDuringCopyTest = UiTest;

#ifndef _WIN32
TEST_F(CloseDuringCopyTest, ClosingTheWindowStopsTheCopyAndStartsNothing) {
  struct Case {
    const char* what;
    size_t gameBytes;
  };
  const Case cases[] = {{"a small game", 1000}, {"a large game", 64u << 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto folders = WriteCatalogue("1,0,0,0");
    for (const auto& entry : fs::directory_iterator(folders[0])) fs::remove_all(entry.path());
    MakeStandIn(folders[0], "ZSnes.exe");
    WriteBytes(folders[0] + "Mario.smc", std::string(c.gameBytes, 'm'));
    for (const char* file : {"zsnes.config.valmerin", "Copie.valmerin"}) fs::remove(file);
    Open();
    auto* zsnes = Child<QListView>("List1");
    const auto found = zsnes->model()->match(zsnes->model()->index(0, 0), Qt::DisplayRole,
                                             QStringLiteral("Mario.smc"));
    ASSERT_EQ(found.size(), 1);
    Click(zsnes, found[0].row());
    // The window manager's close, waiting in the queue when the copy begins.
    QCoreApplication::postEvent(form->windowHandle(), new QCloseEvent);
    Key(zsnes, Qt::Key_Return);
    QApplication::processEvents();

    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(WaitForArguments(folders[0] + "ZSnes.exe", std::chrono::milliseconds(800)));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folders[0])) {
      left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Mario.smc", "ZSnes.exe"}));
    EXPECT_FALSE(fs::exists("Copie.valmerin"));
    // The exit sequence ran: the settings were saved.
    EXPECT_TRUE(fs::exists("zsnes.config.valmerin"));
    form.reset();
  }
}
#endif

}  // namespace
}  // namespace valmerin::testing
