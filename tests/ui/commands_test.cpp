// The button bar's commands: a game's description, the print dialog and the
// export of the lists. The main window driven by key events alone, each sent to
// the widget that has the focus, as the keyboard would; favourites, the
// recent-first view and a game's figures, driven through key events and the
// lists' context menu.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

#include "catalogue/game_list_export.h"
#include "hosting/program_start.h"
#include "platform/file_error.h"
#include "platform/utf8.h"
#include "ui/form3.h"
#include "ui/game_list_view.h"
#include "ui/list_printer.h"
#include "ui/start_watch.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

class CommandsTest : public UiTest {
 protected:
  // ZSnes has Mario.smc shown as "Super Mario"; the ZSnes tab is current, and
  // Mario selected when `select` says so.
  void OpenWithMario(bool select) {
    WriteBytes(WriteCatalogue("1,0,1,0")[0] + "Mario.smc", "");
    WriteBytes("Descrizioni.emu", "Mario.smc\r\nSuper Mario\r\n");
    Open(0);
    if (select) Click(Child<QListView>("List1"), 0);
  }
  Form3* ShowDialog() {
    form->Brisk1_Click(4);
    return form->PrintDialog();
  }
  template <typename W>
  static W* In(Form3* dialog, const char* name) {
    return dialog->findChild<W*>(QString::fromLatin1(name));
  }
  static QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
  }
  // Prints to a PDF file through the window's own printer.
  std::string PrintToPdf(Form3* dialog) {
    const std::string path = (Root() / "liste.pdf").string();
    form->Printer().setOutputFormat(QPrinter::PdfFormat);
    form->Printer().setOutputFileName(QString::fromStdString(path));
    In<QPushButton>(dialog, "Command1")->click();
    return ReadBytes(path);
  }
  static int PageCount(const std::string& pdf) {
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1)) {
      if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    }
    return pages;
  }
};

TEST_F(CommandsTest, DescriptionNeedsASelectedGame) {
  OpenWithMario(false);
  dialogs.texts = {QString("Nuova")};
  form->Brisk1_Click(3);  // ZSnes tab, nothing selected
  Click(Child<QListView>("List1"), 0);
  Child<QTabWidget>("SSTab1")->setCurrentIndex(4);
  form->Brisk1_Click(3);  // information tab
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(ReadBytes("Descrizioni.emu"), "Mario.smc\r\nSuper Mario\r\n");
}

TEST_F(CommandsTest, DescriptionIsAppendedUnderTheShownTextAndShowsAtOnce) {
  OpenWithMario(true);
  dialogs.texts = {QString("Super Mario World "), std::nullopt, QString("Mario 3")};
  form->Brisk1_Click(3);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0], "Digita la nuova descrizione del gioco|Cambia descrizione|");
  EXPECT_EQ(ReadBytes("Descrizioni.emu"),
            "Mario.smc\r\nSuper Mario\r\nSuper Mario\r\nSuper Mario World \r\n");
  EXPECT_EQ(Child<QListView>("List1")->model()->index(0, 0).data().toString(),
            "Super Mario World ");
  EXPECT_EQ(GameFile(), "Mario.smc");

  form->Brisk1_Click(3);  // cancelled
  EXPECT_EQ(ReadBytes("Descrizioni.emu"),
            "Mario.smc\r\nSuper Mario\r\nSuper Mario\r\nSuper Mario World \r\n");
  form->Brisk1_Click(3);  // the second change chains from the first, still selected
  EXPECT_EQ(ReadBytes("Descrizioni.emu"),
            "Mario.smc\r\nSuper Mario\r\nSuper Mario\r\nSuper Mario World \r\n"
            "Super Mario World \r\nMario 3\r\n");
  EXPECT_EQ(Child<QListView>("List1")->model()->index(0, 0).data().toString(), "Mario 3");
  EXPECT_EQ(GameFile(), "Mario.smc");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, DescriptionThatCannotBeStoredOrWrittenIsReported) {
  OpenWithMario(true);
  dialogs.texts = {QString("\"Mario\", il ritorno"), QString("Mario \u263a")};
  form->Brisk1_Click(3);
  form->Brisk1_Click(3);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.messages[0].contains("virgolette"));
  EXPECT_EQ(ReadBytes("Descrizioni.emu"), "Mario.smc\r\nSuper Mario\r\n");

  fs::remove("Descrizioni.emu");
  fs::create_directory("Descrizioni.emu");
  dialogs.texts = {QString("Super Mario World")};
  form->Brisk1_Click(3);
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_TRUE(dialogs.messages[2].contains("Descrizioni.emu"));
}

TEST_F(CommandsTest, ExportOfFourEmptyListsIsSeventeenLines) {
  Open();
  dialogs.savePaths = {QString::fromStdString((Root() / "liste.txt").string())};
  form->Brisk1_Click(5);
  EXPECT_EQ(ReadBytes("liste.txt"),
            "Lista ROMs - creata con valmerin\r\n\r\n"
            "ZSnes\r\n-----\r\n\r\n\r\n"
            "KGen\r\n----\r\n\r\n\r\n"
            "NESticle\r\n--------\r\n\r\n\r\n"
            "Magic Engine\r\n------------\r\n\r\n");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, ExportWritesShownTextsAndRemembersThePath) {
  const auto folders = WriteCatalogue("1,0,0,1");
  WriteBytes(folders[0] + "Mario.smc", "");
  WriteBytes(folders[3] + "Bonk.PCE", "");
  WriteBytes("Descrizioni.emu", "Mario.smc\r\nSuper Mario World\r\n");
  Open();
  const QString path = QString::fromStdString((Root() / "liste.txt").string());
  dialogs.savePaths = {path, std::nullopt};
  form->Brisk1_Click(5);
  const std::string expected =
      "Lista ROMs - creata con valmerin\r\n\r\n"
      "ZSnes\r\n-----\r\n\r\nSuper Mario World\r\n\r\n"
      "KGen\r\n----\r\n\r\n\r\n"
      "NESticle\r\n--------\r\n\r\n\r\n"
      "Magic Engine\r\n------------\r\n\r\nBonk.PCE\r\n";
  EXPECT_EQ(ReadBytes("liste.txt"), expected);

  form->Brisk1_Click(5);  // cancelled: the file stays
  EXPECT_EQ(dialogs.offeredPaths, (std::vector<QString>{QString(), path}));
  EXPECT_EQ(ReadBytes("liste.txt"), expected);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, ExportThatCannotBeWrittenSaysSoAndLeavesFilesAlone) {
  const auto folders = WriteCatalogue("1,0,0,0");
  WriteBytes(PathFromUtf8(folders[0] + "\u03a9mega.smc"), "");  // no such letter in the code page
  Open();
  fs::create_directory("cartella");
  const QString list = QString::fromStdString((Root() / "liste.txt").string());
  dialogs.savePaths = {list, list, QString::fromStdString((Root() / "cartella").string())};
  dialogs.answers = {false, true};
  form->Brisk1_Click(5);  // the name is shown, and "No" writes nothing
  ASSERT_EQ(dialogs.questions.size(), 1u);
  EXPECT_TRUE(dialogs.questions[0].contains(QString::fromUtf8("ZSnes: \u03a9mega.smc")));
  EXPECT_FALSE(fs::exists("liste.txt"));
  form->Brisk1_Click(5);  // "Sì": the letter becomes "?"
  EXPECT_NE(ReadBytes("liste.txt").find("\r\n?mega.smc\r\n"), std::string::npos);
  state.gameLists[0].clear();
  form->Brisk1_Click(5);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.questions.size(), 2u);
  // The message names the reason, as every other save does.
  EXPECT_TRUE(dialogs.messages[0].contains(
      QString::fromUtf8(std::string(DescribeFileError(FileError::NotRegular)))))
      << dialogs.messages[0].toStdString();
  EXPECT_TRUE(fs::is_directory("cartella"));
}

TEST_F(CommandsTest, ChoicesFollowTheOptionButtonsAndSurviveHidingButNotClosing) {
  Open();
  EXPECT_EQ(form->PrintDialog(), nullptr);
  Form3* dialog = ShowDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Stampa lista/e");
  auto* all = In<QRadioButton>(dialog, "Option1");
  auto* one = In<QRadioButton>(dialog, "Option2");
  auto* combo = In<QComboBox>(dialog, "Combo1");
  const QStringList items = {"ZSnes", "KGen", "NESticle", "Magic Engine"};
  EXPECT_TRUE(all->isChecked());
  EXPECT_FALSE(combo->isEnabled());
  EXPECT_EQ(combo->currentText(), "ZSnes");
  EXPECT_EQ(Items(combo), items);

  one->click();
  EXPECT_TRUE(combo->isEnabled());
  combo->setEditText("NESticle");
  all->click();
  EXPECT_FALSE(combo->isEnabled());
  one->click();
  EXPECT_EQ(combo->currentText(), "NESticle");

  In<QPushButton>(dialog, "Command2")->click();  // "< Annulla" only hides
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ShowDialog(), dialog);
  EXPECT_TRUE(one->isChecked());
  EXPECT_EQ(Items(combo), items);

  In<QPushButton>(dialog, "Command3")->click();
  EXPECT_EQ(dialogs.printerSetUp, &form->Printer());

  dialog->close();  // the title bar's close discards it
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(form->PrintDialog(), nullptr);
  dialog = ShowDialog();
  EXPECT_TRUE(In<QRadioButton>(dialog, "Option1")->isChecked());
  EXPECT_FALSE(In<QComboBox>(dialog, "Combo1")->isEnabled());
  EXPECT_EQ(Items(In<QComboBox>(dialog, "Combo1")), items);

  form->close();  // the exit closes it too
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(form->PrintDialog(), nullptr);
}

TEST_F(CommandsTest, PrintsNumberedPagesOfTheChosenListsOnly) {
  Open();
  for (int i = 0; i < 300; ++i) state.gameLists[3].Add("g.pce", "Gioco " + std::to_string(i));
  Form3* dialog = ShowDialog();
  In<QRadioButton>(dialog, "Option2")->click();
  In<QComboBox>(dialog, "Combo1")->setEditText("magic engine");

  const std::string pdf = PrintToPdf(dialog);
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
  const int perPage = LinesPerPage(form->Printer());
  EXPECT_GT(perPage, 30);
  EXPECT_LT(perPage, 150);
  EXPECT_EQ(PageCount(pdf), (303 + perPage - 1) / perPage);  // title, underline, blank
  EXPECT_GE(PageCount(pdf), 3);

  In<QRadioButton>(dialog, "Option1")->click();  // all four: short enough for one page
  state.gameLists[3].clear();
  for (int i = 0; i < 3; ++i) state.gameLists[3].Add("g.pce", "Gioco");
  EXPECT_EQ(PageCount(PrintToPdf(dialog)), 1);
  EXPECT_TRUE(dialogs.messages.empty());

  fs::remove("liste.pdf");
  In<QRadioButton>(dialog, "Option2")->click();
  In<QComboBox>(dialog, "Combo1")->setEditText("Atari");  // no such emulator: no page
  EXPECT_TRUE(PrintToPdf(dialog).empty());
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

// With no printer Qt leaves the printer on an unnamed PDF file; the PDF then goes
// where the save dialog says, and a failure names the file and the system's reason.
TEST_F(CommandsTest, WithoutAPrinterOffersAPdfFileAndNamesWhatFailed) {
  const std::string missing = (Root() / "manca" / "liste.pdf").string();
  struct Row {
    const char* what;
    std::optional<QString> answer;  // the save dialog's; nullopt cancels
    std::string written;            // the file expected, or empty
    bool failure;
  };
  const Row rows[] = {
      {"a name without suffix", QString::fromStdString((Root() / "liste").string()),
       (Root() / "liste.pdf").string(), false},
      {"cancelled", std::nullopt, "", false},
      {"a folder that is not there", QString::fromStdString(missing), "", true},
  };
  Open();
  Form3* dialog = ShowDialog();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove(Root() / "liste.pdf");
    dialogs.messages.clear();
    dialogs.offeredPaths.clear();
    form->Printer().setOutputFormat(QPrinter::PdfFormat);
    form->Printer().setOutputFileName(QString());
    dialogs.savePaths = {row.answer};
    In<QPushButton>(dialog, "Command1")->click();
    ASSERT_EQ(dialogs.offeredPaths.size(), 1u);
    EXPECT_TRUE(dialogs.offeredPaths[0].endsWith(".pdf")) << dialogs.offeredPaths[0].toStdString();
    ASSERT_EQ(dialogs.messages.size(), row.failure ? 2u : 1u);
    EXPECT_TRUE(dialogs.messages[0].contains("nessuna stampante"));
    if (row.failure) {
      EXPECT_TRUE(dialogs.messages[1].contains(QString::fromStdString(missing)));
      EXPECT_TRUE(dialogs.messages[1].contains("\": ")) << dialogs.messages[1].toStdString();
    }
    EXPECT_EQ(fs::exists(Root() / "liste.pdf"), !row.written.empty());
    if (!row.written.empty()) {
      EXPECT_EQ(ReadBytes(row.written).substr(0, 5), "%PDF-");
    }
    EXPECT_TRUE(form->Printer().outputFileName().isEmpty());  // the next print asks again
  }
  // The last file written is proposed again; a cancel leaves it so.
  EXPECT_EQ(dialogs.offeredPaths[0].toStdString(), (Root() / "liste.pdf").string());

  // A destination that fails is named with the system's reason, and nothing is offered.
  dialogs.messages.clear();
  dialogs.offeredPaths.clear();
  form->Printer().setOutputFileName(QString::fromStdString(missing));
  In<QPushButton>(dialog, "Command1")->click();
  EXPECT_TRUE(dialogs.offeredPaths.empty());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].startsWith("Impossibile scrivere il file PDF \"" +
                                             QString::fromStdString(missing) + "\": "))
      << dialogs.messages[0].toStdString();
}

struct KeyCase {
  const char* name;
  const char* keys;   // key names, or a letter typed as itself
  const char* focus;  // the focus at open, then after each key; "tabs" is the tab bar
  int tab;
  const char* gameFile = "";
  const char* effects = "";  // what the keys set off, see Effects()
};

// ZSnes: Alpha, Asteroids, "Super Mario" (Mario.smc), Metroid, Zelda; NESticle is
// switched off; the window opens on the information tab, tab 4.
const KeyCase kCases[] = {
    {"OpensOnTheTabBar", "", "tabs", 4},
    {"TabBarArrowsSkipTheSwitchedOffTab", "Left Left Right", "tabs tabs tabs tabs", 3},
    {"TabWalksBarListFieldButtonsAndRound", "C-Tab Tab Tab Tab Tab Tab Tab Tab Tab",
     "tabs tabs List1 Text1 Brisk1_1 Brisk1_2 Brisk1_3 Brisk1_4 Brisk1_5 tabs", 0},
    {"ShiftTabWalksBack", "Left Tab Tab S-Tab S-Tab S-Tab",
     "tabs tabs List6 Text1 List6 tabs Brisk1_5", 3},
    {"InformationTabHasNoListToEnter", "Tab", "tabs Text1", 4},
    {"CtrlTabFromAListLandsInTheNextList", "C-Tab Tab C-Tab C-Tab", "tabs tabs List1 List2 List6",
     3},
    {"ClickOnInformationTabLeavesTheFocusOnTheTabBar", "C-Tab Tab Click4 Right",
     "tabs tabs List1 tabs tabs", 4},
    {"CtrlPageKeysAndBackTabSkipTheSwitchedOffTab",
     "C-PgDn Tab C-PgDn C-PgDn C-PgUp C-S-Tab C-PgUp",
     "tabs tabs List1 List2 List6 List2 List1 tabs", 4},
    {"SwitchingLeavesTheFieldAndButtonsFocused", "Tab C-Tab Tab C-PgDn",
     "tabs Text1 Text1 Brisk1_1 Brisk1_1", 1},
    {"FirstDownSelectsTheFirstEntry", "C-Tab Tab Down", "tabs tabs List1 List1", 0, "Alpha.smc"},
    {"FirstUpSelectsTheFirstEntry", "C-Tab Tab Up", "tabs tabs List1 List1", 0, "Alpha.smc"},
    {"DownsReachADescribedGame", "C-Tab Tab Down Down Down", "tabs tabs List1 List1 List1 List1", 0,
     "Mario.smc"},
    {"EndThenUp", "C-Tab Tab End Up", "tabs tabs List1 List1 List1", 0, "Metroid.smc"},
    {"EndThenHome", "C-Tab Tab End Home", "tabs tabs List1 List1 List1", 0, "Alpha.smc"},
    {"PageDownPageUpDown", "C-Tab Tab PgDn PgUp Down", "tabs tabs List1 List1 List1 List1", 0,
     "Asteroids.smc"},
    {"FirstLetterFindsTheFirstEntry", "C-Tab Tab a", "tabs tabs List1 List1", 0, "Alpha.smc"},
    {"CapitalLetterFindsTheFirstEntry", "C-Tab Tab A", "tabs tabs List1 List1", 0, "Alpha.smc"},
    {"SameLetterAgainFindsTheNext", "C-Tab Tab a a", "tabs tabs List1 List1 List1", 0,
     "Asteroids.smc"},
    {"SameLetterGoesRound", "C-Tab Tab a a a", "tabs tabs List1 List1 List1 List1", 0, "Alpha.smc"},
    {"SpaceSelectsTheCurrentEntry", "C-Tab Tab Space", "tabs tabs List1 List1", 0, "Alpha.smc"},
    {"LettersTypedTogetherSearchAsOne", "C-Tab Tab a s", "tabs tabs List1 List1 List1", 0,
     "Asteroids.smc"},
    {"LetterFindsTheShownDescription", "C-Tab Tab s", "tabs tabs List1 List1", 0, "Mario.smc"},
    {"EnterStartsTheSelectedGame", "C-Tab Tab Down Down Enter", "tabs tabs List1 List1 List1 List1",
     0, "Asteroids.smc", "started=Gioco.smc copy=asteroids"},
    {"EnterWithNothingSelectedStartsNothing", "C-Tab Tab Enter", "tabs tabs List1 List1", 0},
    {"SpaceOnOptions", "Tab Tab Space", "tabs Text1 Brisk1_1 Brisk1_1", 4, "", "options"},
    {"EnterOnRun", "C-Tab Tab Tab Tab Tab Enter",
     "tabs tabs List1 Text1 Brisk1_1 Brisk1_2 Brisk1_2", 0, "", "started="},
    {"SpaceOnDescription", "C-Tab Tab Down Tab Tab Tab Tab Space",
     "tabs tabs List1 List1 Text1 Brisk1_1 Brisk1_2 Brisk1_3 Brisk1_3", 0, "Alpha.smc", "describe"},
    {"EnterOnDescriptionWithoutAGame", "Tab Tab Tab Tab Enter",
     "tabs Text1 Brisk1_1 Brisk1_2 Brisk1_3 Brisk1_3", 4, "", "message"},
    {"EnterOnPrint", "Tab Tab Tab Tab Tab Enter",
     "tabs Text1 Brisk1_1 Brisk1_2 Brisk1_3 Brisk1_4 Brisk1_4", 4, "", "print"},
    {"SpaceOnExport", "S-Tab Space", "tabs Brisk1_5 Brisk1_5", 4, "", "export"},
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.keys; }

class KeyboardTest : public UiTest, public ::testing::WithParamInterface<KeyCase> {
 protected:
  void OpenCatalogue() {
    folders_ = WriteCatalogue("1,0,1,1");
    for (const char* game : {"Alpha", "Asteroids", "Mario", "Metroid", "Zelda"}) {
      WriteBytes(folders_[0] + game + ".smc", QString(game).toLower().toStdString());
    }
    WriteBytes(folders_[1] + "Sonic.bin", "");
    WriteBytes(folders_[2] + "Zelda.NES", "");
    WriteBytes(folders_[3] + "Bonk.PCE", "");
    WriteBytes("Descrizioni.emu", "Mario.smc\r\nSuper Mario\r\n");
#ifndef _WIN32
    MakeStandIn(folders_[0], "ZSnes.exe");
#endif
    // Letters typed in one row count as one search however slow the machine is.
    typingInterval_ = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(60'000);
    Open();
    QApplication::setActiveWindow(form.get());
    QApplication::processEvents();
  }

  // Press and release at the focus, as a keyboard delivers them.
  void Press(QString name) {
    if (name.startsWith("Click")) {  // a mouse click on a tab, for the focus it moves
      QTabBar* bar = Child<QTabWidget>("SSTab1")->tabBar();
      ClickAt(bar, bar->tabRect(name.mid(5).toInt()).center());
      QApplication::processEvents();
      return;
    }
    // "C-" and "S-" in front of a name add Control and Shift; a key with one of them
    // types no text.
    Qt::KeyboardModifiers modifiers;
    for (; name.size() > 2 && name[1] == '-'; name = name.mid(2)) {
      modifiers |= name[0] == 'C' ? Qt::ControlModifier : Qt::ShiftModifier;
    }
    static const std::map<QString, std::pair<int, QString>> kNamed = {
        {"Tab", {Qt::Key_Tab, "\t"}},     {"Left", {Qt::Key_Left, ""}},
        {"Right", {Qt::Key_Right, ""}},   {"Up", {Qt::Key_Up, ""}},
        {"Down", {Qt::Key_Down, ""}},     {"Home", {Qt::Key_Home, ""}},
        {"End", {Qt::Key_End, ""}},       {"PgUp", {Qt::Key_PageUp, ""}},
        {"PgDn", {Qt::Key_PageDown, ""}}, {"Enter", {Qt::Key_Return, "\r"}},
        {"Space", {Qt::Key_Space, " "}}};
    if (auto found = kNamed.find(name); found != kNamed.end()) {
      const auto& [key, text] = found->second;
      const bool back = key == Qt::Key_Tab && modifiers.testFlag(Qt::ShiftModifier);
      PressAtFocus(back ? int(Qt::Key_Backtab) : key, modifiers, modifiers ? QString() : text);
      return;
    }
    const QChar letter = name[0];  // a letter typed as itself
    PressAtFocus(Qt::Key_A + (letter.toLower().toLatin1() - 'a'),
                 letter.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, name);
  }

  QString FocusName() {
    QWidget* focus = form->focusWidget();
    if (!focus) return "none";
    if (focus == Child<QTabWidget>("SSTab1")->tabBar()) return "tabs";
    return focus->objectName();
  }

  // The commands the keys reached, in bar order, and the game started.
  QString Effects(bool waitForStart) {
    QStringList effects;
    if (form->OptionsWindow()->isVisible()) effects << "options";
    if (!dialogs.asked.empty()) effects << "describe";
    if (!dialogs.messages.empty()) effects << "message";
    if (form->PrintDialog() && form->PrintDialog()->isVisible()) effects << "print";
    if (!dialogs.offeredPaths.empty()) effects << "export";
    const std::string program = folders_[0] + "ZSnes.exe";
    const auto arguments = waitForStart ? WaitForArguments(program) : WaitForArguments(program, {});
    if (arguments) {
      QStringList names;
      for (const std::string& argument : *arguments) {
        names << QString::fromStdString(fs::path(argument).filename().string());
      }
      effects << "started=" + names.join(' ');
    }
    if (fs::exists(folders_[0] + "Gioco.smc")) {
      effects << "copy=" + QString::fromStdString(ReadBytes(folders_[0] + "Gioco.smc"));
    }
    return effects.join(' ');
  }

  void TearDown() override {
    if (typingInterval_) QApplication::setKeyboardInputInterval(typingInterval_);
    UiTest::TearDown();
  }

  std::array<std::string, 4> folders_;
  int typingInterval_ = 0;
};

TEST_P(KeyboardTest, KeysReachAndDriveTheMainWindow) {
  const KeyCase& c = GetParam();
  OpenCatalogue();
  const QStringList keys = QString(c.keys).split(' ', Qt::SkipEmptyParts);
  QStringList focus = {FocusName()};
  for (const QString& key : keys) {
    Press(key);
    focus << FocusName();
  }
  EXPECT_EQ(focus.join(' ').toStdString(), c.focus);
  EXPECT_EQ(Child<QTabWidget>("SSTab1")->currentIndex(), c.tab);
  EXPECT_EQ(GameFile().toStdString(), c.gameFile);
  EXPECT_EQ(Effects(QString(c.effects).contains("started")).toStdString(), c.effects);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyboardTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
    dialogs.savePaths = {QString::fromStdString((Root() / "liste.txt").string())};
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
    WriteProgram(program, std::string("#!/bin/sh\n") + c.body + "\n");
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
