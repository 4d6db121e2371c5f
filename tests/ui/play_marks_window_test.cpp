// Favourites, the recent-first view and a game's figures, driven through key
// events and the lists' context menu as the user drives them.
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

#include "catalogue/game_list_export.h"
#include "hosting/program_start.h"
#include "ui/game_list_view.h"
#include "ui/list_printer.h"
#include "ui/start_watch.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

class PlayMarksWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    const auto folders = WriteCatalogue("1,0,0,0");
    for (const char* game : {"Alpha", "Asteroids", "Beta", "Gamma"}) {
      WriteBytes(folders[0] + game + ".smc", "");
    }
    WriteBytes("Descrizioni.emu", "Beta.smc\r\n\"Beta, il ritorno\"\r\n");
    // Beta last played at 1000, Gamma later; a record for a game whose file is gone.
    WriteBytes("Partite.emu",
               "\"ZSnes\",\"Beta.smc\",#FALSE#,12,13200,1000\r\n"
               "\"ZSnes\",\"Gamma.smc\",#FALSE#,1,60,2000\r\n"
               "\"ZSnes\",\"Gone.smc\",#TRUE#,3,600,3000\r\n");
    Open();
    QApplication::setActiveWindow(form.get());
    Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    list_ = Child<GameListView>("List1");
    list_->setFocus();
    QApplication::processEvents();
  }

  // Opens the list's context menu from the keyboard and chooses `entry` in it (or
  // closes it when it has none such); the entries it offered are kept in `offered_`.
  void Choose(const QString& entry) {
    offered_.clear();
    QTimer::singleShot(0, [this, entry] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      bool found = false;
      for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        offered_ << action->text();
        if (action->text() == entry) menu->setActiveAction(action);
        found = found || action->text() == entry;
      }
      QKeyEvent enter(QEvent::KeyPress, found ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(menu, &enter);
    });
    const QPoint at = list_->visualRect(list_->currentIndex()).center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, list_->mapToGlobal(at));
    QApplication::sendEvent(list_, &event);
    QApplication::processEvents();
    // The offscreen platform gives the focus back to no one when a popup closes.
    QApplication::setActiveWindow(form.get());
    if (QApplication::focusWidget() == nullptr) list_->setFocus();
  }

  // The rows shown, a favourite followed by "*".
  std::string Rows() {
    QStringList rows;
    for (int row = 0; row < list_->model()->rowCount(); ++row) {
      const QModelIndex index = list_->model()->index(row, 0);
      rows << index.data().toString() +
                  (index.data(GameListModel::kFavouriteRole).toBool() ? "*" : "");
    }
    return rows.join(" | ").toStdString();
  }

  std::string Export() {
    const QString path = QString::fromStdString((Root() / "liste.txt").string());
    dialogs.savePaths = {path};
    form->Brisk1_Click(5);
    return ReadBytes("liste.txt");
  }

  GameListView* list_ = nullptr;
  QStringList offered_;
};

TEST_F(PlayMarksWindowTest, MarkFilterOrderAndResetThroughKeysAndMenu) {
  const std::string exported = Export();
  const std::vector<std::string> printed = LinesToPrint(state.gameLists, std::nullopt);

  struct Step {
    const char* what;
    std::function<void()> act;
    const char* rows;
  };
  const Step steps[] = {
      {"Down selects Alpha, the menu marks it",
       [&] {
         PressAtFocus(Qt::Key_Down);
         Choose("Aggiungi ai preferiti");
       },
       "Alpha.smc* | Asteroids.smc | Beta, il ritorno | Gamma.smc"},
      {"Ctrl+D marks Asteroids",
       [&] {
         PressAtFocus(Qt::Key_Down);
         PressAtFocus(Qt::Key_D, Qt::ControlModifier);
       },
       "Alpha.smc* | Asteroids.smc* | Beta, il ritorno | Gamma.smc"},
      {"Ctrl+Shift+D shows the favourites alone",
       [&] { PressAtFocus(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier); },
       "Alpha.smc* | Asteroids.smc*"},
      {"the filter narrows the favourites", [&] { PressAtFocus(Qt::Key_T, Qt::NoModifier, "t"); },
       "Asteroids.smc*"},
      {"Esc brings the whole list back", [&] { PressAtFocus(Qt::Key_Escape); },
       "Alpha.smc* | Asteroids.smc* | Beta, il ritorno | Gamma.smc"},
      {"Ctrl+R: latest played first", [&] { PressAtFocus(Qt::Key_R, Qt::ControlModifier); },
       "Gamma.smc | Beta, il ritorno | Alpha.smc* | Asteroids.smc*"},
      {"the filter keeps that order",
       [&] {
         list_->FilterField()->setFocus();
         list_->OpenFilter();
         PressAtFocus(Qt::Key_T, Qt::NoModifier, "t");
       },
       "Beta, il ritorno | Asteroids.smc*"},
      {"Ctrl+D again takes Asteroids off",
       [&] {
         PressAtFocus(Qt::Key_Down);
         PressAtFocus(Qt::Key_Down);
         PressAtFocus(Qt::Key_D, Qt::ControlModifier);
       },
       "Beta, il ritorno | Asteroids.smc"},
      {"the menu switches back to the designed order",
       [&] {
         PressAtFocus(Qt::Key_Escape);
         Choose("Ultime partite per prime");
       },
       "Alpha.smc* | Asteroids.smc | Beta, il ritorno | Gamma.smc"},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(Rows(), step.rows) << step.what;
  }
  EXPECT_TRUE(offered_.contains("Aggiungi ai preferiti")) << offered_.join(", ").toStdString();

  // Beta's figures in its tooltip, then reset from the menu.
  const QModelIndex beta = list_->model()->index(2, 0);
  EXPECT_TRUE(beta.data(Qt::ToolTipRole).toString().endsWith("; 12 partite, 3 h 40 min"))
      << beta.data(Qt::ToolTipRole).toString().toStdString();
  list_->setCurrentIndex(beta);
  dialogs.answers = {true};
  Choose("Azzera partite e tempo di gioco");
  EXPECT_TRUE(offered_.contains("Aggiungi ai preferiti")) << offered_.join(", ").toStdString();
  EXPECT_FALSE(beta.data(Qt::ToolTipRole).isValid());
  EXPECT_EQ(ReadBytes("Partite.emu"),
            "\"ZSnes\",\"Alpha.smc\",#TRUE#,0,0,0\r\n"
            "\"ZSnes\",\"Gamma.smc\",#FALSE#,1,60,2000\r\n"
            "\"ZSnes\",\"Gone.smc\",#TRUE#,3,600,3000\r\n");

  // Alpha's mark comes back with the next start; the menu offers to take it off.
  form.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  state = {};
  Open(0);
  list_ = Child<GameListView>("List1");
  list_->setFocus();
  list_->setCurrentIndex(list_->model()->index(0, 0));
  Choose("");
  EXPECT_TRUE(offered_.contains("Togli dai preferiti")) << offered_.join(", ").toStdString();
  EXPECT_EQ(Rows(), "Alpha.smc* | Asteroids.smc | Beta, il ritorno | Gamma.smc");

  // The designed texts in the designed order, whatever the views and marks.
  PressAtFocus(Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(Export(), exported);
  EXPECT_EQ(LinesToPrint(state.gameLists, std::nullopt), printed);
  EXPECT_TRUE(dialogs.messages.empty())
      << (dialogs.messages.empty() ? "" : dialogs.messages.front().toStdString());
}

#ifndef _WIN32
// The watch that counts a game's time hears of its emulator's end however late it
// comes; only a failure within the first seconds is reported as one.
TEST_F(PlayMarksWindowTest, TheEndOfAStartIsHeardAfterTheFirstSeconds) {
  const struct {
    const char* body;
    bool failureReported;
  } cases[] = {
      {"exit 3", true},
      {"sleep 6; exit 1", false},
  };
  for (const auto& c : cases) {
    const std::string program = MakeFolder("Emu") + "emu.sh";
    WriteScript(program, std::string("#!/bin/sh\n") + c.body + "\n");
    StartOutcome started = StartProgram(program, {});
    ASSERT_TRUE(started.started) << started.error;
    dialogs.messages.clear();
    int ends = 0;
    WatchStart(form.get(), dialogs, program, "", std::move(started.watch), [&ends] { ++ends; });
    ProcessEventsUntil([&] { return ends != 0; }, 12000);
    EXPECT_EQ(ends, 1) << c.body;
    EXPECT_EQ(dialogs.messages.size(), c.failureReported ? 1u : 0u) << c.body;
  }
}
#endif

}  // namespace
}  // namespace valmerin::testing
