#pragma once
// Windows ends a program from outside with messages, not signals: the session
// ending (logoff, shutdown) and a console's close. Each runs the main window's
// normal close, so the files of games whose emulator has ended are given back and
// the settings are saved.
#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

namespace valmerin {

class SessionEndFilter : public QAbstractNativeEventFilter {
 public:
  explicit SessionEndFilter(QWidget* window) : window_(window) {}
  // WM_ENDSESSION with the session really ending closes the window before the
  // system goes on; everything else passes.
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
};

// Installs the filter on the application and, on Windows, a console control
// handler (Ctrl+C, the console closed, logoff, shutdown) that closes `window` on
// its own thread and waits for it. Elsewhere it does nothing: signals do that.
void CloseOnSessionEnd(QWidget* window);

}  // namespace valmerin
