#include "ui/dialog_service.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace valmerin {

void QtDialogService::Message(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Valmerin"), text, QMessageBox::Ok, parent);
  box.exec();
}

std::optional<QString> QtDialogService::AskText(QWidget* parent, const QString& prompt,
                                                const QString& title, const QString& initial) {
  bool ok = false;
  QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

std::optional<QString> QtDialogService::AskSavePath(QWidget* parent, const QString& lastPath) {
  QString path = QFileDialog::getSaveFileName(parent, QString(), lastPath);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

bool QtDialogService::AskYesNo(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Valmerin"), question,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

bool QtDialogService::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace valmerin
