// The lists follow an emulator folder that is renamed away, replaced by a link,
// or changed while the system's change notices are not to be had.
#include <QElapsedTimer>
#include <QFileSystemWatcher>

#include "support/shown_texts.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using FolderWatchTest = UiTest;

TEST_F(FolderWatchTest, TheListsFollowFoldersTheChangeNoticesMiss) {
  struct Case {
    const char* what;
    // Changes the ZSnes folder (`zsnes`, beside the folder `altra`) behind the
    // window's back; false where this system cannot make that change.
    std::function<bool(const fs::path& zsnes, const fs::path& altra, Form1& window)> change;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {"renamed away",
       [](const fs::path& zsnes, const fs::path&, Form1&) {
         fs::rename(zsnes, zsnes.string() + " vecchia");
         return true;
       },
       {}},
      {"replaced by a link",
       [](const fs::path& zsnes, const fs::path& altra, Form1&) {
         fs::rename(zsnes, zsnes.string() + " vecchia");
         // Wine, and Windows without the right to make links, cannot.
         std::error_code cannot;
         fs::create_directory_symlink(altra, zsnes, cannot);
         return !cannot;
       },
       {"Altro.smc"}},
      {"changed without change notices",
       [](const fs::path& zsnes, const fs::path&, Form1& window) {
         // What a system whose watches are used up gives: no notices at all.
         for (auto* watcher : window.findChildren<QFileSystemWatcher*>()) {
           if (!watcher->directories().isEmpty()) watcher->removePaths(watcher->directories());
         }
         WriteBytes(zsnes / "Nuovo.smc", "");
         return true;
       },
       {"Alfa.smc", "Nuovo.smc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    const auto folders = WriteCatalogue("1,0,0,0");
    const fs::path zsnes = fs::path(folders[0]).parent_path();
    WriteBytes(zsnes / "Alfa.smc", "");
    fs::create_directories("altra");
    WriteBytes("altra/Altro.smc", "");
    state = MainWindowState();
    Open();
    ASSERT_EQ(testing::ShownTexts(state.gameLists[0]), std::vector<std::string>{"Alfa.smc"});
    if (!c.change(zsnes, fs::absolute("altra"), *form)) {
      form.reset();
      continue;
    }
    QElapsedTimer waited;
    waited.start();
    std::vector<std::string> listed;
    while (waited.elapsed() < 8000) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
      listed = testing::ShownTexts(state.gameLists[0]);
      std::sort(listed.begin(), listed.end());
      if (listed == c.listed) break;
    }
    EXPECT_EQ(listed, c.listed);
    form.reset();
  }
}

}  // namespace
}  // namespace valmerin::testing
