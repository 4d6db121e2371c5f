// Two games played in turn through the window keep their own saves: the window
// sees each emulator end and the game's files go back under its name then.
#ifndef _WIN32
#include <QCoreApplication>
#include <QListView>
#include <QTabWidget>
#include <QThread>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

using SavesWindowTest = UiTest;

TEST_F(SavesWindowTest, GamesPlayedInTurnKeepTheirSavesBesideThem) {
  const auto folders = WriteCatalogue("1,0,0,0");
  const std::string zsnes = folders[0];
  // Reads the save it finds under the copy's name, then rewrites it whole.
  WriteBytes(zsnes + "ZSnes.exe",
             "#!/bin/sh\n"
             "s=\"${1%.*}.srm\"\n"
             "cat \"$s\" >> \"$0.seen\" 2>/dev/null; echo '|' >> \"$0.seen\"\n"
             "{ cat \"$s\" 2>/dev/null; cat \"$1\"; } > \"$s.new\" && mv \"$s.new\" \"$s\"\n");
  std::filesystem::permissions(zsnes + "ZSnes.exe", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
  WriteBytes(zsnes + "Alfa.smc", "A");
  WriteBytes(zsnes + "Beta.smc", "B");
  Open();
  Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
  auto* list = Child<QListView>("List1");
  ASSERT_EQ(list->model()->rowCount(), 2);
  const auto rowOf = [&](const char* game) {
    return list->model()->index(0, 0).data() == game ? 0 : 1;
  };
  for (const char* game : {"Alfa.smc", "Beta.smc", "Alfa.smc"}) {
    SCOPED_TRACE(game);
    Click(list, rowOf(game));
    Mouse(list, rowOf(game), QEvent::MouseButtonPress);
    Mouse(list, rowOf(game), QEvent::MouseButtonDblClick);
    ASSERT_TRUE(std::filesystem::exists(zsnes + "Gioco.smc"));
    for (int wait = 0; wait < 250 && std::filesystem::exists(zsnes + "Gioco.smc"); ++wait) {
      QCoreApplication::processEvents();
      QThread::msleep(20);
    }
    EXPECT_FALSE(std::filesystem::exists(zsnes + "Gioco.smc"));
    EXPECT_FALSE(std::filesystem::exists(zsnes + "Gioco.srm"));
  }
  EXPECT_EQ(ReadBytes(zsnes + "ZSnes.exe.seen"), "|\n|\nA|\n");  // B never saw A's save
  EXPECT_EQ(ReadBytes(zsnes + "Alfa.srm"), "AA");
  EXPECT_EQ(ReadBytes(zsnes + "Beta.srm"), "B");
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace valmerin::testing
#endif
