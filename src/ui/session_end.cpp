#include "ui/session_end.h"

#include <QCoreApplication>
#include <QMetaObject>

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin {

bool SessionEndFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                         qintptr* result) {
  (void)result;
#ifdef _WIN32
  if (eventType != "windows_generic_MSG" || window_.isNull()) return false;
  const MSG* msg = static_cast<const MSG*>(message);
  // The process may be ended as soon as this message has been answered.
  if (msg->message == WM_ENDSESSION && msg->wParam != FALSE && window_->isVisible()) {
    window_->close();
  }
#else
  (void)eventType;
  (void)message;
#endif
  return false;
}

#ifdef _WIN32
namespace {

// The handler gets no context: the one window it closes.
QPointer<QWidget> consoleWindow;

BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      break;
    default:
      return FALSE;
  }
  QWidget* window = consoleWindow.data();
  if (window == nullptr) return FALSE;
  // The system ends the process when this returns: wait for the close.
  QMetaObject::invokeMethod(
      window, [window] { window->close(); }, Qt::BlockingQueuedConnection);
  return TRUE;
}

}  // namespace
#endif

void CloseOnSessionEnd(QWidget* window) {
#ifdef _WIN32
  static SessionEndFilter filter(window);  // one main window per run
  QCoreApplication::instance()->installNativeEventFilter(&filter);
  consoleWindow = window;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
  (void)window;
#endif
}

}  // namespace valmerin
