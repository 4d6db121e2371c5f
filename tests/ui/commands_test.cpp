// The button bar's commands: a game's description, the print dialog and the
// export of the lists.
#include <QComboBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "platform/file_error.h"
#include "platform/utf8.h"
#include "ui/form3.h"
#include "ui/list_printer.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

class CommandsTest : public UiTest {
 protected:
  // ZSnes has Mario.smc shown as "Super Mario"; the ZSnes tab is current.
  void OpenWithMario() {
    const auto folders = WriteCatalogue("1,0,1,0");
    WriteBytes(folders[0] + "Mario.smc", "");
    WriteBytes("Descrizioni.emu", "Mario.smc\r\nSuper Mario\r\n");
    Open(0);
  }
  void SelectMario() { Click(Child<QListView>("List1"), 0); }
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
  OpenWithMario();
  dialogs.texts = {QString("Nuova")};
  form->Brisk1_Click(3);  // ZSnes tab, nothing selected
  SelectMario();
  Child<QTabWidget>("SSTab1")->setCurrentIndex(4);
  form->Brisk1_Click(3);  // information tab
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(ReadBytes("Descrizioni.emu"), "Mario.smc\r\nSuper Mario\r\n");
}

TEST_F(CommandsTest, DescriptionIsAppendedUnderTheShownTextAndShowsAtOnce) {
  OpenWithMario();
  SelectMario();
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
  OpenWithMario();
  SelectMario();
  dialogs.texts = {QString("\"Mario\", il ritorno"), QString("Mario \u263a")};
  form->Brisk1_Click(3);
  form->Brisk1_Click(3);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.messages[0].contains("virgolette"));
  EXPECT_EQ(ReadBytes("Descrizioni.emu"), "Mario.smc\r\nSuper Mario\r\n");

  std::filesystem::remove("Descrizioni.emu");
  std::filesystem::create_directory("Descrizioni.emu");
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
  std::filesystem::create_directory("cartella");
  const QString list = QString::fromStdString((Root() / "liste.txt").string());
  dialogs.savePaths = {list, list, QString::fromStdString((Root() / "cartella").string())};
  dialogs.answers = {false, true};
  form->Brisk1_Click(5);  // the name is shown, and "No" writes nothing
  ASSERT_EQ(dialogs.questions.size(), 1u);
  EXPECT_TRUE(dialogs.questions[0].contains(QString::fromUtf8("ZSnes: \u03a9mega.smc")));
  EXPECT_FALSE(std::filesystem::exists("liste.txt"));
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
  EXPECT_TRUE(std::filesystem::is_directory("cartella"));
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

  std::filesystem::remove("liste.pdf");
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
    std::filesystem::remove(Root() / "liste.pdf");
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
    EXPECT_EQ(std::filesystem::exists(Root() / "liste.pdf"), !row.written.empty());
    if (!row.written.empty()) EXPECT_EQ(ReadBytes(row.written).substr(0, 5), "%PDF-");
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

}  // namespace
}  // namespace valmerin::testing
