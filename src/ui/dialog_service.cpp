#include "ui/dialog_service.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

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

bool QtDialogService::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool QtDialogService::AskYesNo(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Valmerin"), question, QMessageBox::NoButton,
                  parent);
  QPushButton* yes = box.addButton(QStringLiteral("S\u00ec"), QMessageBox::YesRole);
  box.setDefaultButton(box.addButton(QStringLiteral("No"), QMessageBox::NoRole));
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace valmerin
