#include <QTabWidget>

#include "platform/file_error.h"
#include "platform/utf8.h"
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

}  // namespace
}  // namespace valmerin::testing
