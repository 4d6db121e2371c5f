#pragma once
// The main window in a fresh current folder, with dialogs answered by script.
#include <QApplication>
#include <QListView>
#include <QMouseEvent>
#include <deque>
#include <memory>

#include "launch/launch_test_support.h"
#include "options/options_model.h"
#include "ui/dialog_service.h"
#include "ui/form1.h"
#include "test_application.h"

namespace valmerin::testing {

class ScriptedDialogs : public DialogService {
 public:
  void Message(QWidget*, const QString& text) override { messages.push_back(text); }
  std::optional<QString> AskText(QWidget*, const QString& prompt, const QString& title,
                                 const QString& initial) override {
    asked.push_back(prompt + "|" + title + "|" + initial);
    return Next(texts);
  }
  std::optional<QString> AskSavePath(QWidget*, const QString& lastPath) override {
    offeredPaths.push_back(lastPath);
    return Next(savePaths);
  }
  bool SetUpPrinter(QWidget*, QPrinter& printer) override {
    printerSetUp = &printer;
    return true;
  }
  bool AskYesNo(QWidget*, const QString& question) override {
    questions.push_back(question);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<QString> messages;
  std::vector<QString> asked;
  std::vector<QString> offeredPaths;
  std::deque<std::optional<QString>> texts;      // nullopt answers "cancel"
  std::deque<std::optional<QString>> savePaths;  // idem
  QPrinter* printerSetUp = nullptr;
  std::vector<QString> questions;
  std::deque<bool> answers;  // none left answers "No"

 private:
  static std::optional<QString> Next(std::deque<std::optional<QString>>& replies) {
    if (replies.empty()) return std::nullopt;
    auto reply = replies.front();
    replies.pop_front();
    return reply;
  }
};

class UiTest : public LaunchFolderTest {
 protected:
  void SetUp() override {
    EnsureApplication();
    LaunchFolderTest::SetUp();
  }
  void TearDown() override {
    form.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LaunchFolderTest::TearDown();
  }

  // Emulator folders for "Cartelle.cfg" (its order: ZSnes, NESticle, KGen, Magic
  // Engine) with the given availability line; returns the folders in tab order.
  std::array<std::string, 4> WriteCatalogue(const std::string& availability) {
    std::array<std::string, 4> folders = {MakeFolder("ZSnes"), MakeFolder("KGen"),
                                          MakeFolder("NESticle"), MakeFolder("PCE")};
    WriteBytes("Cartelle.cfg", "\"" + folders[0] + "\"\r\n\"" + folders[2] + "\"\r\n\"" +
                                   folders[1] + "\"\r\n\"" + folders[3] + "\"\r\n");
    WriteBytes("Disponibili.emu", availability + "\r\n");
    return folders;
  }

  Form1& Open() {
    form = std::make_unique<Form1>(state, options, dialogs);
    form->show();
    QApplication::processEvents();
    return *form;
  }
  template <typename W>
  W* Child(const char* name) {
    return form->findChild<W*>(QString::fromLatin1(name));
  }
  QString GameFile() { return QString::fromStdString(state.Text1); }

  static void Mouse(QListView* list, int row, QEvent::Type type) {
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QMouseEvent event(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
  }
  static void Click(QListView* list, int row) {
    Mouse(list, row, QEvent::MouseButtonPress);
    Mouse(list, row, QEvent::MouseButtonRelease);
  }
  static void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }

  MainWindowState state;
  OptionsModel options;
  ScriptedDialogs dialogs;
  std::unique_ptr<Form1> form;
};

}  // namespace valmerin::testing
