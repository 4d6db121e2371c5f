#include <QAction>
#include <QCloseEvent>
#include <QFileSystemWatcher>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <csignal>
#include <fstream>

#include "options/settings_records.h"
#include "support/archive_maker.h"
#include "support/shown_texts.h"
#include "ui/button_bar.h"
#include "ui/copy_progress.h"
#include "ui/font_fit.h"
#include "ui/game_list_view.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using MainWindowTest = UiTest;
using Arguments = std::optional<std::vector<std::string>>;

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
  Open(0);
  auto* tabs = Child<QTabWidget>("SSTab1");
  auto* zsnes = Child<QListView>("List1");
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
  return ProcessEventsUntil([&] { return !fs::exists(path); });
}

TEST_F(MainWindowTest, DoubleClickAndEnterStartTheEmulatorOnACopyOfTheGame) {
  const auto folders = WriteCatalogue("1,0,0,0");
  MakeStandIn(folders[0], "ZSnes.exe");
  WriteBytes(folders[0] + "Mario.smc", "mario");
  WriteBytes(folders[0] + "Zelda.sfc", "zelda");
  Open(0);
  auto* zsnes = Child<QListView>("List1");
  const int mario = zsnes->model()->index(0, 0).data() == "Mario.smc" ? 0 : 1;

  DoubleClick(zsnes, mario);
  ASSERT_EQ(WaitForArguments(folders[0] + "ZSnes.exe"), Arguments{{folders[0] + "Gioco.smc"}});
  EXPECT_EQ(ReadBytes(folders[0] + "Gioco.smc"), "mario");
  // The window sees the emulator end, and the copy goes then.
  EXPECT_TRUE(GoneWhileTheWindowRuns(folders[0] + "Gioco.smc"));

  fs::remove(folders[0] + "ZSnes.exe.args");
  Key(zsnes, mario == 0 ? Qt::Key_Down : Qt::Key_Up);
  Key(zsnes, Qt::Key_Return);
  ASSERT_EQ(WaitForArguments(folders[0] + "ZSnes.exe"), Arguments{{folders[0] + "Gioco.sfc"}});
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(GoneWhileTheWindowRuns(folders[0] + "Gioco.sfc"));

  // Closing the window saves the settings.
  form->close();
  EXPECT_FALSE(fs::exists(folders[0] + "Gioco.smc"));
  EXPECT_FALSE(fs::exists(folders[0] + "Gioco.sfc"));
  EXPECT_TRUE(fs::exists("zsnes.config.valmerin"));
  // The three switched off were not read at start, nor changed: not made either.
  for (const char* file :
       {"kgen.config.valmerin", "nesticle.config.valmerin", "pcengine.config.valmerin"}) {
    EXPECT_FALSE(fs::exists(file)) << file;
  }
}

// A message that stays open as long as a user reads it, noting whether the copy's
// progress dialog showed meanwhile.
struct SlowReader : ScriptedDialogs {
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
      fs::create_directory(folders[0] + "Gioco.smc");
    } else {
      WriteBytes(folders[0] + "Gioco.smc", "mine");
    }
    SlowReader reader;
    form = std::make_unique<Form1>(state, options, reader);
    form->show();
    Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    auto* zsnes = Child<QListView>("List1");
    const int mario = RowOf(zsnes, "Mario.smc");
    ASSERT_GE(mario, 0);
    Click(zsnes, mario);
    Key(zsnes, Qt::Key_Return);
    EXPECT_EQ(reader.messages.size(), 1u) << folderAtCopy;
    EXPECT_FALSE(reader.progressShown) << folderAtCopy;
    form.reset();
    fs::remove_all(folders[0] + "Gioco.smc");
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
  ASSERT_EQ(WaitForArguments(folders[0] + "ZSnes.exe"), Arguments{std::vector<std::string>{}});

  Child<QTabWidget>("SSTab1")->setCurrentIndex(3);  // no PCE.exe in its folder
  form->Brisk1_Click(2);
  EXPECT_EQ(dialogs.messages.size(), 1u);

  for (int number : {0, 6, -1}) form->Brisk1_Click(number);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_TRUE(dialogs.offeredPaths.empty());
}

// Closing the main window while a game is being copied stops the copy, leaves
// nothing of it, starts nothing and ends the program the normal way.
TEST_F(MainWindowTest, ClosingTheWindowDuringTheCopyStopsItAndStartsNothing) {
  for (const std::size_t gameBytes : {std::size_t{1000}, std::size_t{64} << 20}) {
    SCOPED_TRACE(gameBytes);
    const auto folders = WriteCatalogue("1,0,0,0");
    for (const auto& entry : fs::directory_iterator(folders[0])) fs::remove_all(entry.path());
    MakeStandIn(folders[0], "ZSnes.exe");
    WriteBytes(folders[0] + "Mario.smc", std::string(gameBytes, 'm'));
    for (const char* file : {"zsnes.config.valmerin", "Copie.valmerin"}) fs::remove(file);
    Open();
    auto* zsnes = Child<QListView>("List1");
    const int mario = RowOf(zsnes, "Mario.smc");
    ASSERT_GE(mario, 0);
    Click(zsnes, mario);
    // The window manager's close, waiting in the queue when the copy begins.
    QCoreApplication::postEvent(form->windowHandle(), new QCloseEvent);
    Key(zsnes, Qt::Key_Return);
    QApplication::processEvents();

    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(WaitForArguments(folders[0] + "ZSnes.exe", std::chrono::milliseconds(800)));
    EXPECT_EQ(NamesIn(folders[0]), (std::vector<std::string>{"Mario.smc", "ZSnes.exe"}));
    EXPECT_FALSE(fs::exists("Copie.valmerin"));
    // The exit sequence ran: the settings were saved.
    EXPECT_TRUE(fs::exists("zsnes.config.valmerin"));
    form.reset();
  }
}

// The copy's dialog takes the input the window system hands to its window (a
// window gets it before its widgets): "Annulla" stops the copy, and a click on the
// main window's own window does nothing.
TEST_F(MainWindowTest, TheCopyDialogTakesClicksAndTheMainWindowNone) {
  QWidget parent;
  auto* other = new QPushButton(QStringLiteral("Altro"), &parent);
  bool otherClicked = false;
  QObject::connect(other, &QPushButton::clicked, [&] { otherClicked = true; });
  parent.show();
  CopyProgressDialog copy(&parent, CopyProgressText("Mario.smc", ""));
  auto* dialog = parent.findChild<QProgressDialog*>();
  ASSERT_NE(dialog, nullptr);
  dialog->show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return dialog->windowHandle() != nullptr; }, 1000));
  const auto clickWindow = [](QWidget* widget) {
    const QPointF at = widget->mapTo(widget->window(), widget->rect().center());
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, widget->mapToGlobal(widget->rect().center()), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(widget->window()->windowHandle(), &event);
    }
  };
  clickWindow(other);
  EXPECT_FALSE(otherClicked);
  EXPECT_TRUE(copy.Callback()(1, 10));
  clickWindow(dialog->findChild<QPushButton*>());
  EXPECT_FALSE(copy.Callback()(2, 10));
}

// Two games played in turn through the window keep their own saves: the window
// sees each emulator end and the game's files go back under its name then.
TEST_F(MainWindowTest, GamesPlayedInTurnKeepTheirSavesBesideThem) {
  const std::string zsnes = WriteCatalogue("1,0,0,0")[0];
  // Reads the save it finds under the copy's name, then rewrites it whole.
  WriteProgram(zsnes + "ZSnes.exe",
              "#!/bin/sh\n"
              "s=\"${1%.*}.srm\"\n"
              "cat \"$s\" >> \"$0.seen\" 2>/dev/null; echo '|' >> \"$0.seen\"\n"
              "{ cat \"$s\" 2>/dev/null; cat \"$1\"; } > \"$s.new\" && mv \"$s.new\" \"$s\"\n");
  WriteBytes(zsnes + "Alfa.smc", "A");
  WriteBytes(zsnes + "Beta.smc", "B");
  Open(0);
  auto* list = Child<QListView>("List1");
  ASSERT_EQ(list->model()->rowCount(), 2);
  for (const char* game : {"Alfa.smc", "Beta.smc", "Alfa.smc"}) {
    SCOPED_TRACE(game);
    DoubleClick(list, RowOf(list, game));
    ASSERT_TRUE(fs::exists(zsnes + "Gioco.smc"));
    EXPECT_TRUE(GoneWhileTheWindowRuns(zsnes + "Gioco.smc"));
    EXPECT_FALSE(fs::exists(zsnes + "Gioco.srm"));
  }
  EXPECT_EQ(ReadBytes(zsnes + "ZSnes.exe.seen"), "|\n|\nA|\n");  // B never saw A's save
  EXPECT_EQ(ReadBytes(zsnes + "Alfa.srm"), "AA");
  EXPECT_EQ(ReadBytes(zsnes + "Beta.srm"), "B");
  EXPECT_TRUE(dialogs.messages.empty());
}

// An emulator that fails within the watch is reported with what it printed, even
// when it fails after a few polls; one that ends well, or is still running when
// the watch ends, is not; the window never waits for either.
TEST_F(MainWindowTest, AFailureWithinTheStartWatchIsReportedWithItsLastLines) {
  const struct {
    const char* body;
    const char* expected;  // nullptr: no message
    int exitCode;
    qint64 watchedMs;
  } cases[] = {
      {"echo 'err:module:import_dll Library MSVCRT.DLL not found' >&2; exit 3",
       "MSVCRT.DLL not found", 3, 1500},
      {"exit 0", nullptr, 0, 1500},
      {"sleep 2; echo 'fallito dopo due secondi' >&2; exit 4", "fallito dopo due secondi", 4, 4500},
      // Longer than the watch: still running then is running.
      {"echo $$ > running.pid; exec sleep 30", nullptr, 0, 6500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    const auto folders = WriteCatalogue("1,0,0,0");
    WriteProgram(folders[0] + "ZSnes.exe", std::string("#!/bin/sh\n") + c.body + "\n");
    Open(0);
    dialogs.messages.clear();
    QElapsedTimer clock;
    clock.start();
    form->Brisk1_Click(2);
    EXPECT_LT(clock.elapsed(), 1000);
    ProcessEventsUntil([&] { return !dialogs.messages.empty(); }, c.watchedMs - clock.elapsed());
    if (c.expected == nullptr) {
      EXPECT_TRUE(dialogs.messages.empty());
    } else {
      ASSERT_EQ(dialogs.messages.size(), 1u);
      EXPECT_TRUE(dialogs.messages[0].contains("codice di uscita " + QString::number(c.exitCode)))
          << dialogs.messages[0].toStdString();
      EXPECT_TRUE(dialogs.messages[0].contains(c.expected)) << dialogs.messages[0].toStdString();
    }
    form.reset();
    if (const std::string pid = ReadBytes(folders[0] + "running.pid"); !pid.empty()) {
      ::kill(std::stoi(pid), SIGKILL);
    }
  }
}

// A zipped game through the real window: listed, found by the filter, started.
TEST_F(MainWindowTest, AZippedGameIsFilteredAndStartedOnTheFileInside) {
  const auto folders = WriteCatalogue("1,0,0,0");
  // The stand-in keeps the bytes of the game it was given.
  WriteProgram(folders[0] + "ZSnes.exe",
              "#!/bin/sh\ncat \"$1\" > \"$0.game\"\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
  WriteBytes(folders[0] + "Alfa.smc", "alfa");
  ASSERT_TRUE(MakeArchive(folders[0] + "Mario (E).zip", ArchiveKind::Zip,
                          {{"LEGGIMI.txt", "leggi"}, {"Super Mario World (E).smc", "rom:mario"}}));
  ASSERT_TRUE(
      MakeArchive(folders[0] + "Zelda.7z", ArchiveKind::SevenZip, {{"Zelda.smc", "rom:zelda"}}));
  ASSERT_TRUE(
      MakeArchive(folders[0] + "Aladdin.zip", ArchiveKind::Zip, {{"Aladdin.sfc", "rom:aladdin"}}));
  Open(0);
  auto* list = Child<GameListView>("List1");
  // Archives follow the ROMs, by their games' patterns, then by name.
  ASSERT_EQ(list->model()->rowCount(), 4);
  EXPECT_EQ(ShownTexts(state.gameLists[0]),
            (std::vector<std::string>{"Alfa.smc", "Mario (E).zip", "Zelda.7z", "Aladdin.zip"}));

  list->setFocus();
  list->FilterField()->setText(QStringLiteral("mario"));
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), "Mario (E).zip");
  Click(list, 0);
  EXPECT_EQ(GameFile(), "Mario (E).zip");
  EXPECT_TRUE(Child<QLineEdit>("Text1")->toolTip().contains("Super Mario World (E).smc"));

  Key(list, Qt::Key_Return);
  ASSERT_EQ(WaitForArguments(folders[0] + "ZSnes.exe"), Arguments{{folders[0] + "Gioco.smc"}});
  EXPECT_EQ(ReadBytes(folders[0] + "ZSnes.exe.game"), "rom:mario");
  EXPECT_TRUE(dialogs.messages.empty());

  form->close();
  EXPECT_FALSE(fs::exists(folders[0] + "Gioco.smc"));
  EXPECT_TRUE(fs::exists(folders[0] + "Mario (E).zip"));
  EXPECT_TRUE(fs::exists("Archivi.emu"));
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
  Open(0);
  auto* list = Child<GameListView>("List1");
  auto* field = list->FilterField();
  list->setFocus();
  Click(list, 2);
  ASSERT_EQ(GameFile(), "Zeta.smc");

  Key(list, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(field->isVisible());
  for (const char* letter : {"C", "I", "T", "T", "A"}) Key(field, 0, {}, letter);
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

  Key(list, Qt::Key_Slash, {}, QStringLiteral("/"));
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
  Open(0);
  auto* tabs = Child<QTabWidget>("SSTab1");
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
  QAction* refresh = nullptr;
  for (QAction* action : list->actions()) {
    if (action->text() == "Aggiorna elenchi") refresh = action;
  }
  ASSERT_NE(refresh, nullptr);
  EXPECT_EQ(refresh->shortcut(), QKeySequence(Qt::Key_F5));
  refresh->trigger();
  EXPECT_EQ(state.gameLists[0].size(), 4u);
  EXPECT_EQ(rows(), (QStringList{"Beta.smc", "Delta.smc"}));
  EXPECT_EQ(list->model()->index(list->SelectedEntry().row(), 0).data().toString(), "Delta.smc");
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(list->FilterField()->text(), "ta");

  // A folder change refreshes by itself, once the burst is over.
  WriteBytes(folders[0] + "Zeta.smc", "");
  ProcessEventsUntil([&] { return rows().size() >= 3; });
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
    ProcessEventsUntil([&] { return state.gameLists[0].size() == count; });
    return state.gameLists[0].size();
  };
  ASSERT_EQ(waitFor(1), 1u);
  for (const char* rom : {"Beta.smc", "Gamma.smc"}) {
    fs::remove_all(folders[0]);
    EXPECT_EQ(waitFor(0), 0u) << rom;
    fs::create_directories(folders[0]);
    WriteBytes(folders[0] + rom, "");
    EXPECT_EQ(waitFor(1), 1u) << rom;
    WriteBytes(folders[0] + "Delta.smc", "");
    EXPECT_EQ(waitFor(2), 2u) << rom;
  }
}

// The lists follow an emulator folder that is renamed away, replaced by a link,
// or changed while the system's change notices are not to be had.
TEST_F(MainWindowTest, TheListsFollowFoldersTheChangeNoticesMiss) {
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
    WriteBytes("altra/Altro.smc", "");
    state = MainWindowState();
    Open();
    ASSERT_EQ(ShownTexts(state.gameLists[0]), std::vector<std::string>{"Alfa.smc"});
    if (!c.change(zsnes, fs::absolute("altra"), *form)) {
      form.reset();
      continue;
    }
    std::vector<std::string> listed;
    ProcessEventsUntil(
        [&] {
          listed = ShownTexts(state.gameLists[0]);
          std::sort(listed.begin(), listed.end());
          return listed == c.listed;
        },
        8000);
    EXPECT_EQ(listed, c.listed);
    form.reset();
  }
}

const std::pair<const char*, Emulator> kSettingsFiles[] = {
    {"zsnes.config.valmerin", Emulator::ZSnes},
    {"kgen.config.valmerin", Emulator::KGen},
    {"nesticle.config.valmerin", Emulator::NESticle},
    {"pcengine.config.valmerin", Emulator::MagicEngine},
};

// The real main window over damaged files: it comes up with its five tabs in good
// time, and closing it writes the four settings files whole.
TEST_F(MainWindowTest, ShowsAndClosesCleanlyWhateverTheFilesHold) {
  std::string tenThousandFields;
  for (int i = 0; i < 10000; ++i) tenThousandFields += "1,";
  tenThousandFields += "\r\n";

  const std::pair<const char*, std::function<void()>> cases[] = {
      {"folder file of binary garbage, NUL bytes and lone carriage returns",
       [&] {
         static constexpr char kGarbage[] = "\"C:\\Z\0\0\\\"\r\r\x01\xff\0\r\"a\rb";
         WriteBytes("Cartelle.cfg",
                    std::string(kGarbage, sizeof kGarbage - 1) + std::string(300, '\0') + "\r,\r");
         WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
       }},
      {"descriptions with bytes the code page leaves undefined",
       [&] {
         // All four on: only settings read at start are written at exit.
         WriteBytes(WriteCatalogue("1,1,1,1")[0] + "Mario.smc", "");
         WriteBytes("Descrizioni.emu",
                    "Mario.smc\r\n\x81\x8D\x8F\x90\x9D\r\n\x81\x8D\r\n\x8F,\x90\x9D\r\n");
       }},
      {"settings file of ten thousand fields",
       [&] {
         WriteBytes(WriteCatalogue("1,1,1,1")[0] + "Mario.smc", "");
         for (const auto& [file, emulator] : kSettingsFiles) WriteBytes(file, tenThousandFields);
       }},
      {"folder file of one unterminated quote",
       [&] {
         WriteBytes("Cartelle.cfg", "\"");
         WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
       }},
      {"every emulator available in folders that do not exist",
       [&] {
         std::string folders;
         for (const char* name : {"ZSnes", "NESticle", "KGen", "PCE"}) {
           folders += "\"" + (Root() / "gone" / name).string() + "/\"\r\n";
         }
         WriteBytes("Cartelle.cfg", folders);
         WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
       }},
  };

  for (const auto& [label, writeFiles] : cases) {
    SCOPED_TRACE(label);
    // Back to an empty folder and a fresh state, for the next input.
    form.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    state = {};
    options = {};
    dialogs.messages.clear();
    writeFiles();
    Open();
    // Generous: the build machines are shared and often loaded.
    ASSERT_TRUE(ProcessEventsUntil(
        [&] { return form->windowHandle() && form->windowHandle()->isExposed(); }, 60000));
    EXPECT_TRUE(form->isVisible());
    auto* tabs = Child<QTabWidget>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 5);

    EXPECT_TRUE(form->close());
    // One whole record per file, one line each.
    for (const auto& [file, emulator] : kSettingsFiles) {
      const std::string written = ReadBytes(file);
      ASSERT_GE(written.size(), 2u) << file;
      EXPECT_EQ(written.find("\r\n"), written.size() - 2) << file;
      EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << file;
      EXPECT_EQ(std::count(written.begin(), written.end(), '\r'), 1) << file;
      EXPECT_EQ(std::count(written.begin(), written.end(), ','),
                static_cast<long>(SettingsRecordOf(emulator).size() - 1))
          << file;
    }
  }
}

// The progress dialog says what the launch does: a bare game is copied, a zipped
// one is taken out of its archive, and the dialog names the file inside.
TEST_F(MainWindowTest, TheProgressDialogSaysWhetherItCopiesOrExtracts) {
  const auto folders = WriteCatalogue("1,0,0,0");
  WriteBytes(folders[0] + "Alfa.smc", "alfa");
  ASSERT_TRUE(MakeArchive(folders[0] + "Mario (E).zip", ArchiveKind::Zip,
                          {{"LEGGIMI.txt", "leggi"}, {"Mario World.smc", "rom:mario"}}));
  const struct {
    const char* listed;
    const char* text;
  } cases[] = {
      {"Mario (E).zip",
       "Estrazione di \"Mario World.smc\" dall'archivio \"Mario (E).zip\" in corso..."},
#ifndef _WIN32  // under Wine the system copy of a small file reports no step to read it at
      {"Alfa.smc", "Copia di \"Alfa.smc\" in corso..."},
#endif
  };
  Open(0);
  auto* list = Child<GameListView>("List1");
  for (const auto& row : cases) {
    const int listed = RowOf(list, row.listed);
    ASSERT_GE(listed, 0) << row.listed;
    Click(list, listed);
    // Read at the copy's first step, while the dialog stands.
    QString shown;
    QTimer::singleShot(0, form.get(), [&] {
      for (QProgressDialog* dialog : form->findChildren<QProgressDialog*>())
        shown = dialog->labelText();
    });
    Key(list, Qt::Key_Return);
    EXPECT_EQ(shown.toStdString(), row.text) << row.listed;
    QApplication::processEvents();
  }
}

// The fonts of a bare Debian: fonts-dejavu-core alone, with no condensed face.
QString BareFontConfig(const fs::path& root) {
  const fs::path fonts = root / "fonts";
  fs::create_directories(fonts);
  for (const char* face : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                           "DejaVuSansMono-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"}) {
    const fs::path file = fs::path("/usr/share/fonts/truetype/dejavu") / face;
    if (fs::exists(file)) fs::create_symlink(file, fonts / face);
  }
  const fs::path config = root / "fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts.string()
                        << "</dir><cachedir>" << (root / "font-cache").string()
                        << "</cachedir></fontconfig>\n";
  return QString::fromStdString(config.string());
}

// Qt reads the scale factor and the fonts once, when the application starts: each
// row gets a test program of its own, which runs the check below.
TEST_F(MainWindowTest, MainWindowShowsEveryTabAndLabelWholeAtEveryScaleAndFontSet) {
#ifdef _WIN32
  // No fontconfig on Windows: every scale with the system's own fonts.
  const bool fontConfig = false;
#else
  if (!fs::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) {
    GTEST_SKIP() << "fonts-dejavu-core is not installed";
  }
  const bool fontConfig = true;
#endif
  const QString bare = fontConfig ? BareFontConfig(Root()) : QString();
  struct Row {
    const char* scale;
    bool bareFonts;
  };
  for (const Row& row :
       {Row{"1", true}, Row{"2", true}, Row{"1.5", true}, Row{"1", false}, Row{"2", false}}) {
    if (row.bareFonts && !fontConfig) continue;
    SCOPED_TRACE(std::string("scale ") + row.scale + (row.bareFonts ? ", DejaVu only" : ""));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(row.scale));
    if (row.bareFonts) environment.insert(QStringLiteral("FONTCONFIG_FILE"), bare);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=DISABLED_WindowAtThisScale.*"),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
  }
}

using DISABLED_WindowAtThisScale = UiTest;

TEST_F(DISABLED_WindowAtThisScale, TabsNeedNoScrollButtonsAndLabelsAreNotCut) {
  WriteCatalogue("1,1,1,1");
  Open();
  EXPECT_EQ(form->size(), QSize(354, 297));
  EXPECT_DOUBLE_EQ(form->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
  QTabBar* bar = Child<QTabWidget>("SSTab1")->tabBar();
  for (QToolButton* scroll : bar->findChildren<QToolButton*>()) {
    EXPECT_FALSE(scroll->isVisible()) << "scroll button " << scroll->objectName().toStdString();
  }
  for (int i = 0; i < bar->count(); ++i) {
    EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << bar->tabText(i).toStdString();
  }
  const auto* buttons = Child<ButtonBar>("Brisk1");
  for (int number = 1; number <= 5; ++number) {
    const BarButton* button = buttons->Button(number);
    EXPECT_TRUE(button->LabelFits(button->size()))
        << button->text().toStdString() << " in " << button->width() << " px at "
        << QFontInfo(button->font()).family().toStdString() << " " << button->font().pointSizeF();
  }
}

// A window's font made to fit: smaller first, then narrower, never below the
// smallest readable size.
TEST(FontFitTest, SmallerFirstThenNarrowerWhereNoSizeFits) {
  const struct {
    const char* what;
    std::function<bool(const QFont&)> fits;
    double points;
    bool narrowed;
  } cases[] = {
      {"fits as it is", [](const QFont&) { return true; }, 8.25, false},
      {"fits smaller", [](const QFont& f) { return f.pointSizeF() <= 7.5; }, 7.5, false},
      {"only a narrower face fits", [](const QFont& f) { return f.stretch() == QFont::Condensed; },
       8.25, true},
      {"narrower and smaller",
       [](const QFont& f) { return f.stretch() == QFont::Condensed && f.pointSizeF() <= 7; }, 7,
       true},
      {"nothing fits: the smallest, narrower", [](const QFont&) { return false; }, 6.5, true},
  };
  for (const auto& row : cases) {
    QFont font;
    font.setPointSizeF(8.25);
    QFont applied;
    const QFont left = FitFont(
        font, [&](const QFont& f) { applied = f; }, [&] { return row.fits(applied); });
    EXPECT_EQ(left.pointSizeF(), row.points) << row.what;
    EXPECT_EQ(left.stretch() == QFont::Condensed, row.narrowed) << row.what;
    // What is left applied is what the window shows.
    EXPECT_EQ(applied, left) << row.what;
  }
}

}  // namespace
}  // namespace valmerin::testing
