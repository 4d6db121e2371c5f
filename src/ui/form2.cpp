#include "ui/form2.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "ui/control_bindings.h"
#include "ui/dialog_service.h"

namespace valmerin {

Form2::Form2(OptionsModel& model, DialogService& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), dialogs_(dialogs) {
  setObjectName("Form2");
  setWindowTitle(QString::fromUtf8("Opzioni"));
}

Form2::~Form2() = default;

void Form2::CloseForExit() {
  exiting_ = true;
  close();
}

void Form2::closeEvent(QCloseEvent* event) {
  if (exiting_) {
    event->accept();
    return;
  }
  event->ignore();
  hide();
}

void Form2::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }

void Form2::showEvent(QShowEvent* event) { QWidget::showEvent(event); }

void Form2::Confirm() {}

}  // namespace valmerin
