#include "ui/copy_progress.h"

#include <QApplication>
#include <QProgressDialog>
#include <QWindow>

namespace valmerin {

namespace {
constexpr int kSteps = 1000;  // per mille: a 4 GB size does not fit the dialog's int

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}
}  // namespace

// While the copy runs, the user's input reaches only the dialog: a click in the
// main window cannot start a second launch. The window manager's close of the
// main window is no input and gets through (a modal dialog would swallow it).
class CopyProgressDialog::InputGuard : public QObject {
 public:
  explicit InputGuard(QWidget* dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
  ~InputGuard() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (!IsInput(event->type())) return false;
    // The window system's input reaches a window before its widgets: the dialog's
    // own window must let it through, or its button could never be clicked.
    if (auto* window = qobject_cast<QWindow*>(target)) return window != dialog_->windowHandle();
    auto* widget = qobject_cast<QWidget*>(target);
    return widget == nullptr || widget->window() != dialog_;
  }

 private:
  QWidget* dialog_;
};

QString CopyProgressText(const QString& game, const QString& inside) {
  if (inside.isEmpty()) return QStringLiteral("Copia di \"%1\" in corso...").arg(game);
  return QStringLiteral("Estrazione di \"%1\" dall'archivio \"%2\" in corso...").arg(inside, game);
}

CopyProgressDialog::CopyProgressDialog(QWidget* parent, const QString& text)
    : dialog_(std::make_unique<QProgressDialog>(text, QStringLiteral("Annulla"), 0, kSteps,
                                                parent)) {
  dialog_->setWindowTitle(QStringLiteral("Valmerin"));
  dialog_->setWindowModality(Qt::NonModal);
  guard_ = std::make_unique<InputGuard>(dialog_.get());
  dialog_->setMinimumDuration(500);
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
  dialog_->setValue(0);
}

CopyProgressDialog::~CopyProgressDialog() = default;

CopyProgress CopyProgressDialog::Callback() {
  return [this](std::uint64_t done, std::uint64_t total) {
    const int step = total == 0 ? kSteps : static_cast<int>(done * kSteps / total);
    dialog_->setValue(std::min(step, kSteps - 1));
    // The window stays alive: it repaints, and a close or an end signal is seen.
    QCoreApplication::processEvents();
    return !stopped_ && !dialog_->wasCanceled();
  };
}

}  // namespace valmerin
