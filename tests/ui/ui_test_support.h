#pragma once
// The main window in a fresh current folder, with dialogs answered by script.
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QMouseEvent>
#include <QTabWidget>
#include <QThread>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "launch/launch_test_support.h"
#include "options/options_model.h"
#include "ui/dialog_service.h"
#include "ui/form1.h"
#include "ui/program_style.h"

namespace valmerin::testing {

// The one QApplication of a window test program, made on first use and kept for
// the whole run, offscreen unless the caller chose a platform.
inline void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "valmerin_tests_ui";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
  ApplyProgramStyle();
}

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
    return Next(answers).value_or(false);
  }

  std::vector<QString> messages;
  std::vector<QString> asked;
  std::vector<QString> offeredPaths;
  std::deque<std::optional<QString>> texts;      // nullopt answers "cancel"
  std::deque<std::optional<QString>> savePaths;  // idem
  QPrinter* printerSetUp = nullptr;
  std::vector<QString> questions;
  std::deque<std::optional<bool>> answers;  // none left answers "No"

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<std::optional<T>>& replies) {
    if (replies.empty()) return std::nullopt;
    auto reply = replies.front();
    replies.pop_front();
    return reply;
  }
};

// Runs the events until `done` holds or `milliseconds` have passed; whether it holds.
inline bool ProcessEventsUntil(const std::function<bool()>& done, qint64 milliseconds = 5000) {
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    if (done()) return true;
    if (waited.elapsed() >= milliseconds) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

// The left button's events at `at` in `widget`, as a person's mouse delivers them.
inline void MouseAt(QWidget* widget, QPoint at, QEvent::Type type) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
inline void ClickAt(QWidget* widget, QPoint at) {
  MouseAt(widget, at, QEvent::MouseButtonPress);
  MouseAt(widget, at, QEvent::MouseButtonRelease);
}

// A key press as the keyboard sends it to `widget`.
inline void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
}

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

  // The main window, shown, on tab `tab` when one is given.
  Form1& Open(int tab = -1) {
    form = std::make_unique<Form1>(state, options, dialogs);
    form->show();
    QApplication::processEvents();
    if (tab >= 0) Child<QTabWidget>("SSTab1")->setCurrentIndex(tab);
    return *form;
  }
  template <typename W>
  W* Child(const char* name) {
    return form->findChild<W*>(QString::fromLatin1(name));
  }
  QString GameFile() { return QString::fromStdString(state.Text1); }

  static void Click(QListView* list, int row) {
    ClickAt(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
  }
  static void DoubleClick(QListView* list, int row) {
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    ClickAt(list->viewport(), at);
    MouseAt(list->viewport(), at, QEvent::MouseButtonPress);
    MouseAt(list->viewport(), at, QEvent::MouseButtonDblClick);
  }
  // The first row showing `shown`, or -1 when none does.
  static int RowOf(QListView* list, const QString& shown) {
    const auto found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, shown);
    return found.size() == 1 ? found[0].row() : -1;
  }
  // A key as the keyboard sends it: pressed at the focus, released where the focus
  // went.
  static void PressAtFocus(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                           const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    if (QApplication::focusWidget() != nullptr) target = QApplication::focusWidget();
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
  }

  MainWindowState state;
  OptionsModel options;
  ScriptedDialogs dialogs;
  std::unique_ptr<Form1> form;
};

}  // namespace valmerin::testing
