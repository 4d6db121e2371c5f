#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QCoreApplication>
#include <QTabWidget>
#include <QThread>
#include <algorithm>

#include "ui/game_list_view.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

using MainWindowTest = UiTest;

TEST_F(MainWindowTest, FirstStartWithoutFilesShowsInformationTabAndSwitchesEmulatorsOff) {
  Open();
  auto* tabs = Child<QTabWidget>("SSTab1");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(form->windowTitle(), "Valmerin");
  const QStringList captions = {"ZSnes", "Kgen", "NESticle", "Magic Engine", "Informazioni"};
  ASSERT_EQ(tabs->count(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(tabs->tabText(i), captions[i]);
    EXPECT_EQ(tabs->isTabEnabled(i), i == 4) << i;
  }
  EXPECT_EQ(tabs->currentIndex(), 4);
  for (const char* name : {"List1", "List2", "List3", "List6"}) {
    ASSERT_NE(Child<QListView>(name), nullptr) << name;
    EXPECT_EQ(Child<QListView>(name)->model()->rowCount(), 0);
  }
  EXPECT_TRUE(Child<QLineEdit>("Text1")->text().isEmpty());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(form->OptionsWindow()->isVisible());
}

TEST_F(MainWindowTest, UnavailableEmulatorsLoseTheirTabsButKeepTheirIndexes) {
  const auto folders = WriteCatalogue("1,0,1,0");  // ZSnes, NESticle, KGen, Magic Engine
  WriteBytes(folders[0] + "Mario.smc", "");
  WriteBytes(folders[1] + "Sonic.bin", "");
  WriteBytes(folders[2] + "Zelda.NES", "");
  Open();
  auto* tabs = Child<QTabWidget>("SSTab1");
  EXPECT_TRUE(tabs->isTabEnabled(0));
  EXPECT_TRUE(tabs->isTabEnabled(1));
  EXPECT_FALSE(tabs->isTabEnabled(2));
  EXPECT_FALSE(tabs->isTabEnabled(3));
  EXPECT_EQ(tabs->widget(0), Child<QListView>("List1"));
  EXPECT_EQ(tabs->widget(3), Child<QListView>("List6"));
  EXPECT_EQ(Child<QListView>("List2")->model()->index(0, 0).data().toString(), "Sonic.bin");
  EXPECT_EQ(Child<QListView>("List3")->model()->rowCount(), 0);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, SelectingAnEntryShowsTheGameFileBehindItsDescription) {
  const auto folders = WriteCatalogue("1,0,1,0");
  WriteBytes(folders[0] + "Mario.smc", "");
  WriteBytes(folders[0] + "Zelda.smc", "");
  WriteBytes(folders[1] + "Sonic.bin", "");
  WriteBytes("Descrizioni.emu", "Mario.smc\r\nSuper Mario\r\n");
  Open();
  auto* tabs = Child<QTabWidget>("SSTab1");
  auto* zsnes = Child<QListView>("List1");
  tabs->setCurrentIndex(0);
  zsnes->setFocus();
  QApplication::processEvents();
  // Taking the focus makes a row current but selects nothing.
  EXPECT_TRUE(GameFile().isEmpty());

  const int mario = zsnes->model()->index(0, 0).data() == "Super Mario" ? 0 : 1;
  Click(zsnes, mario);
  EXPECT_EQ(GameFile(), "Mario.smc");
  EXPECT_EQ(Child<QLineEdit>("Text1")->text(), "Mario.smc");

  Key(zsnes, mario == 0 ? Qt::Key_Down : Qt::Key_Up);
  EXPECT_EQ(GameFile(), "Zelda.smc");

  tabs->setCurrentIndex(1);
  Click(Child<QListView>("List2"), 0);
  EXPECT_EQ(GameFile(), "Sonic.bin");
  // Back on ZSnes, a click on the entry that is still selected takes the field back.
  tabs->setCurrentIndex(0);
  Click(zsnes, 1 - mario);
  EXPECT_EQ(GameFile(), "Zelda.smc");
}

#ifndef _WIN32
bool GoneWhileTheWindowRuns(const std::string& path) {
  for (int wait = 0; wait < 250 && std::filesystem::exists(path); ++wait) {
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
  return !std::filesystem::exists(path);
}

TEST_F(MainWindowTest, DoubleClickAndEnterStartTheEmulatorOnACopyOfTheGame) {
  const auto folders = WriteCatalogue("1,0,0,0");
  MakeStandIn(folders[0], "ZSnes.exe");
  WriteBytes(folders[0] + "Mario.smc", "mario");
  WriteBytes(folders[0] + "Zelda.sfc", "zelda");
  Open();
  Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
  auto* zsnes = Child<QListView>("List1");
  const int mario = zsnes->model()->index(0, 0).data() == "Mario.smc" ? 0 : 1;

  Click(zsnes, mario);
  Mouse(zsnes, mario, QEvent::MouseButtonPress);
  Mouse(zsnes, mario, QEvent::MouseButtonDblClick);
  auto arguments = WaitForArguments(folders[0] + "ZSnes.exe");
  ASSERT_TRUE(arguments);
  EXPECT_EQ(*arguments, std::vector<std::string>{folders[0] + "Gioco.smc"});
  EXPECT_EQ(ReadBytes(folders[0] + "Gioco.smc"), "mario");
  // The window sees the emulator end, and the copy goes then.
  EXPECT_TRUE(GoneWhileTheWindowRuns(folders[0] + "Gioco.smc"));

  std::filesystem::remove(folders[0] + "ZSnes.exe.args");
  Key(zsnes, mario == 0 ? Qt::Key_Down : Qt::Key_Up);
  Key(zsnes, Qt::Key_Return);
  arguments = WaitForArguments(folders[0] + "ZSnes.exe");
  ASSERT_TRUE(arguments);
  EXPECT_EQ(*arguments, std::vector<std::string>{folders[0] + "Gioco.sfc"});
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(GoneWhileTheWindowRuns(folders[0] + "Gioco.sfc"));

  // Closing the window saves the settings.
  form->close();
  EXPECT_FALSE(std::filesystem::exists(folders[0] + "Gioco.smc"));
  EXPECT_FALSE(std::filesystem::exists(folders[0] + "Gioco.sfc"));
  EXPECT_TRUE(std::filesystem::exists("zsnes.config.valmerin"));
  // The three switched off were not read at start, nor changed: not made either.
  for (const char* file :
       {"kgen.config.valmerin", "nesticle.config.valmerin", "pcengine.config.valmerin"}) {
    EXPECT_FALSE(std::filesystem::exists(file)) << file;
  }
}

// A message that stays open as long as a user reads it, noting whether the copy's
// progress dialog showed meanwhile.
class SlowReader : public ScriptedDialogs {
 public:
  void Message(QWidget* parent, const QString& text) override {
    ScriptedDialogs::Message(parent, text);
    QElapsedTimer read;
    read.start();
    while (read.elapsed() < 800) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
      for (QProgressDialog* dialog : parent->findChildren<QProgressDialog*>())
        progressShown = progressShown || dialog->isVisible();
    }
  }
  bool progressShown = false;
};

TEST_F(MainWindowTest, ALaunchThatFailsShowsItsMessageWithoutTheProgressDialog) {
  // What stands at the copy's name: a file of the user's, or a folder.
  for (const bool folderAtCopy : {false, true}) {
    const auto folders = WriteCatalogue("1,0,0,0");
    MakeStandIn(folders[0], "ZSnes.exe");
    WriteBytes(folders[0] + "Mario.smc", "mario");
    if (folderAtCopy) {
      std::filesystem::create_directory(folders[0] + "Gioco.smc");
    } else {
      WriteBytes(folders[0] + "Gioco.smc", "mine");
    }
    SlowReader reader;
    form = std::make_unique<Form1>(state, options, reader);
    form->show();
    Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    auto* zsnes = Child<QListView>("List1");
    const auto found = zsnes->model()->match(zsnes->model()->index(0, 0), Qt::DisplayRole,
                                             QStringLiteral("Mario.smc"));
    ASSERT_EQ(found.size(), 1);
    Click(zsnes, found[0].row());
    Key(zsnes, Qt::Key_Return);
    EXPECT_EQ(reader.messages.size(), 1u) << folderAtCopy;
    EXPECT_FALSE(reader.progressShown) << folderAtCopy;
    form.reset();
    std::filesystem::remove_all(folders[0] + "Gioco.smc");
  }
}

TEST_F(MainWindowTest, RunButtonStartsTheCurrentTabsEmulatorPlainOrSaysWhyNot) {
  const auto folders = WriteCatalogue("1,1,1,1");
  MakeStandIn(folders[0], "ZSnes.exe");
  WriteBytes(folders[0] + "Mario.smc", "");
  WriteBytes("parametri", "\"-0 \"\r\n\r\n\r\n\r\n");
  Open();
  form->Brisk1_Click(2);  // information tab: nothing to start
  EXPECT_TRUE(dialogs.messages.empty());

  Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
  form->Brisk1_Click(2);
  const auto arguments = WaitForArguments(folders[0] + "ZSnes.exe");
  ASSERT_TRUE(arguments);
  EXPECT_TRUE(arguments->empty());

  Child<QTabWidget>("SSTab1")->setCurrentIndex(3);  // no PCE.exe in its folder
  form->Brisk1_Click(2);
  EXPECT_EQ(dialogs.messages.size(), 1u);

  for (int number : {0, 6, -1}) form->Brisk1_Click(number);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_TRUE(dialogs.offeredPaths.empty());
}
#endif

TEST_F(MainWindowTest, EmptyZSnesFolderSaysSoAndOpensTheOptionsWindow) {
  WriteCatalogue("1,0,0,0");
  Open();
  EXPECT_EQ(dialogs.messages.size(), 3u);
  QWidget* options = form->OptionsWindow();
  EXPECT_TRUE(options->isVisible());
  EXPECT_TRUE(options->isWindow());
  options->hide();
  form->Brisk1_Click(1);
  form->Brisk1_Click(1);
  EXPECT_EQ(form->OptionsWindow(), options);
  EXPECT_TRUE(options->isVisible());
}

// The filter only hides rows: what is selected, filled in and started stays the
// entry's own game, and the whole list comes back with it selected.
TEST_F(MainWindowTest, FilterNarrowsAsOneTypesAndEscBringsTheListBack) {
  const auto folders = WriteCatalogue("1,0,0,0");
  for (const char* rom : {"Alfa.smc", "Citta.smc", "Zeta.smc"}) WriteBytes(folders[0] + rom, "");
  WriteBytes("Descrizioni.emu", "Citta.smc\r\nCitt\xe0 Sommersa\r\n");
  Open();
  Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
  auto* list = Child<GameListView>("List1");
  auto* field = list->FilterField();
  list->setFocus();
  Click(list, 2);
  ASSERT_EQ(GameFile(), "Zeta.smc");

  QKeyEvent ctrlF(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier);
  QApplication::sendEvent(list, &ctrlF);
  ASSERT_TRUE(field->isVisible());
  for (const char* letter : {"C", "I", "T", "T", "A"}) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(letter));
    QApplication::sendEvent(field, &press);
  }
  EXPECT_EQ(field->text(), "CITTA");
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), QString::fromUtf8("Citt\u00e0 Sommersa"));
  EXPECT_FALSE(list->SelectedEntry().isValid());  // Zeta is hidden, and stays chosen
  EXPECT_EQ(GameFile(), "Zeta.smc");

  Key(field, Qt::Key_Down);  // into the list, on its first entry
  EXPECT_TRUE(list->hasFocus() || !list->isActiveWindow());
  EXPECT_EQ(GameFile(), "Citta.smc");
  Click(list, 0);
  EXPECT_EQ(GameFile(), "Citta.smc");

  field->setText(QStringLiteral("zzz"));
  EXPECT_EQ(list->model()->rowCount(), 0);
  Key(field, Qt::Key_Return);  // nothing to start
  field->setText(QString());
  EXPECT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(list->SelectedEntry().row(), 1);

  QKeyEvent slash(QEvent::KeyPress, Qt::Key_Slash, Qt::NoModifier, QStringLiteral("/"));
  QApplication::sendEvent(list, &slash);
  field->setText(QStringLiteral("zeta"));
  EXPECT_EQ(GameFile(), "Citta.smc");  // hidden, still chosen
  Click(list, 0);
  Key(field, Qt::Key_Escape);
  EXPECT_FALSE(field->isVisible());
  EXPECT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(list->SelectedEntry().row(), 2);  // picked last, under the filter
  EXPECT_EQ(GameFile(), "Zeta.smc");
  EXPECT_TRUE(dialogs.messages.empty());
}

// F5, a changed folder and OK in the options window each make the lists again,
// keeping the tab, the game chosen and the filter.
TEST_F(MainWindowTest, ListsRefreshWithoutRestartingAndKeepWhatWasChosen) {
  const auto folders = WriteCatalogue("1,1,0,0");  // ZSnes, NESticle
  for (const char* rom : {"Beta.smc", "Delta.smc"}) WriteBytes(folders[0] + rom, "");
  Open();
  auto* tabs = Child<QTabWidget>("SSTab1");
  tabs->setCurrentIndex(0);
  auto* list = Child<GameListView>("List1");
  Click(list, 1);
  list->OpenFilter();
  list->FilterField()->setText(QStringLiteral("ta"));
  const auto rows = [list] {
    QStringList shown;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
      shown << list->model()->index(r, 0).data().toString();
    }
    return shown;
  };
  ASSERT_EQ(rows(), (QStringList{"Beta.smc", "Delta.smc"}));

  WriteBytes(folders[0] + "Alfa.smc", "");
  WriteBytes(folders[0] + "Gamma.smc", "");
  WriteBytes(folders[0] + "Beta.srm", "");  // a save, which is no game
  // The lists' context menu holds the command, which F5 also triggers.
  const QList<QAction*> actions = list->actions();
  const auto found = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
    return action->text() == "Aggiorna elenchi";
  });
  ASSERT_NE(found, actions.end());
  QAction* refresh = *found;
  EXPECT_EQ(refresh->shortcut(), QKeySequence(Qt::Key_F5));
  refresh->trigger();
  EXPECT_EQ(state.gameLists[0].size(), 4u);
  EXPECT_EQ(rows(), (QStringList{"Beta.smc", "Delta.smc"}));
  EXPECT_EQ(list->model()->index(list->SelectedEntry().row(), 0).data().toString(), "Delta.smc");
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(list->FilterField()->text(), "ta");

  // A folder change refreshes by itself, once the burst is over.
  WriteBytes(folders[0] + "Zeta.smc", "");
  QElapsedTimer waited;
  waited.start();
  while (rows().size() < 3 && waited.elapsed() < 5000) QApplication::processEvents();
  EXPECT_EQ(rows(), (QStringList{"Beta.smc", "Delta.smc", "Zeta.smc"}));
  EXPECT_EQ(GameFile(), "Delta.smc");

  // KGen switched on in the options window: its tab comes on with its games.
  WriteBytes(folders[1] + "Sonic.bin", "");
  WriteBytes("Disponibili.emu", "1,1,1,0\r\n");
  QMetaObject::invokeMethod(form->OptionsWindow(), "confirmed");
  EXPECT_TRUE(tabs->isTabEnabled(1));
  EXPECT_EQ(Child<QListView>("List2")->model()->rowCount(), 1);
  EXPECT_TRUE(dialogs.messages.empty());

  // A list out of sight that refreshes keeps its choice to itself.
  tabs->setCurrentIndex(1);
  Click(Child<QListView>("List2"), 0);
  WriteBytes(folders[0] + "Epsilon.smc", "");
  refresh->trigger();
  EXPECT_EQ(state.gameLists[0].size(), 6u);
  EXPECT_EQ(GameFile(), "Sonic.bin");
}

// The folder watch outlives its folder: removed, the list empties; made again
// (once or twice over), the list shows what it holds.
TEST_F(MainWindowTest, AFolderRemovedAndMadeAgainIsStillWatched) {
  const auto folders = WriteCatalogue("1,0,0,0");
  WriteBytes(folders[0] + "Alfa.smc", "");
  Open();
  const auto waitFor = [this](std::size_t count) {
    QElapsedTimer waited;
    waited.start();
    while (state.gameLists[0].size() != count && waited.elapsed() < 5000) {
      QApplication::processEvents();
    }
    return state.gameLists[0].size();
  };
  ASSERT_EQ(waitFor(1), 1u);
  for (const char* rom : {"Beta.smc", "Gamma.smc"}) {
    std::filesystem::remove_all(folders[0]);
    EXPECT_EQ(waitFor(0), 0u) << rom;
    std::filesystem::create_directories(folders[0]);
    WriteBytes(folders[0] + rom, "");
    EXPECT_EQ(waitFor(1), 1u) << rom;
    WriteBytes(folders[0] + "Delta.smc", "");
    EXPECT_EQ(waitFor(2), 2u) << rom;
  }
}

}  // namespace
}  // namespace valmerin::testing
