// Valmerin: one main window over the core's state and the options model.
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <QApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <cerrno>
#include <csignal>

#include "catalogue/main_window_state.h"
#include "options/options_model.h"
#include "platform/freed_memory.h"
#include "ui/data_folder.h"
#include "ui/dialog_service.h"
#include "ui/form1.h"
#include "ui/program_style.h"
#include "ui/session_end.h"
#include "ui/single_instance.h"

#ifndef _WIN32
namespace {

// Written by the signal handler, read by the notifier: the only state a handler
// may touch safely.
int signalPipe[2] = {-1, -1};

extern "C" void OnEndSignal(int number) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] ssize_t written = write(signalPipe[1], &byte, 1);
  errno = saved;
}

bool InstallEndSignals() {
  if (pipe(signalPipe) != 0) return false;
  for (int fd : signalPipe) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : {SIGTERM, SIGINT, SIGHUP}) sigaction(number, &action, nullptr);
  return true;
}

// A message up before the main window exists is answered as if the user closed
// it, so the start-up goes on to the point where the window can close normally.
void CloseStartUpMessages() {
  if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
}

}  // namespace
#endif

int main(int argc, char* argv[]) {
  valmerin::GiveLargeFreedBlocksBack();
  QApplication app(argc, argv);
  // Told to end from outside: close the main window the usual way, so the game
  // copies go and the settings are saved; before it exists, the start-up ends at
  // the first point where nothing is lost. (A session that ends closes the
  // windows through Qt, which comes to the same close.) Installed first, so no
  // start-up message leaves the signal to its default, abrupt end.
  bool endWanted = false;
  QWidget* mainWindow = nullptr;
#ifndef _WIN32
  QTimer startUpMessages;
  startUpMessages.setInterval(50);
  QObject::connect(&startUpMessages, &QTimer::timeout, &CloseStartUpMessages);
  if (InstallEndSignals()) {
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&] {
      unsigned char drained[16];
      while (read(signalPipe[0], drained, sizeof drained) > 0) {
      }
      endWanted = true;
      if (mainWindow != nullptr) {
        mainWindow->close();
        return;
      }
      CloseStartUpMessages();
      startUpMessages.start();
    });
  }
#endif

  QApplication::setApplicationName(QStringLiteral("Valmerin"));
  valmerin::ApplyProgramStyle();
  // The system's own dialogs (save file, printer, input box buttons) speak Italian too.
  QTranslator systemDialogs;
  if (systemDialogs.load(QStringLiteral("qtbase_it"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&systemDialogs);
  }

  valmerin::QtDialogService dialogs;
  if (const std::optional<QString> refused = valmerin::EnterDataFolder()) {
    dialogs.Message(nullptr, *refused);
    return 1;
  }
  // Before anything is read or written: a second Valmerin on the same folder
  // would clobber the first one's files.
  valmerin::SingleInstance guard;
  if (!guard.Claim()) {
    if (!guard.AskOtherToComeForward() && !endWanted) {
      dialogs.Message(nullptr, guard.AlreadyOpenMessage());
    }
    return 0;
  }
  if (endWanted) return 0;  // nothing read or written yet

  valmerin::MainWindowState state;
  valmerin::OptionsModel options;
  valmerin::Form1 window(state, options, dialogs);
  mainWindow = &window;
#ifndef _WIN32
  startUpMessages.stop();
#endif
  guard.OnComeForward([&window] {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
  });
#ifdef _WIN32
  valmerin::CloseOnSessionEnd(&window);
#endif
  if (endWanted) {
    window.close();
    return 0;
  }
  window.show();
  app.exec();
  return 0;
}
