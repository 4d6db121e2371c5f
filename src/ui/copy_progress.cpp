#include "ui/copy_progress.h"

#include <QProgressDialog>

namespace valmerin {

namespace {
constexpr int kSteps = 1000;  // per mille: a 4 GB size does not fit the dialog's int
}

CopyProgressDialog::CopyProgressDialog(QWidget* parent, const QString& game)
    : dialog_(
          std::make_unique<QProgressDialog>(QStringLiteral("Copia di \"%1\" in corso...").arg(game),
                                            QStringLiteral("Annulla"), 0, kSteps, parent)) {
  dialog_->setWindowTitle(QStringLiteral("Valmerin"));
  // Modal, so a click in the main window cannot start a second launch meanwhile;
  // once shown, the dialog keeps the events flowing each time it moves.
  dialog_->setWindowModality(Qt::WindowModal);
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
    return !stopped_ && !dialog_->wasCanceled();
  };
}

}  // namespace valmerin
