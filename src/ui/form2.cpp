#include "ui/form2.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include "options/command_line_builder.h"
#include "ui/control_bindings.h"
#include "ui/dialog_service.h"
#include "ui/font_fit.h"
#include "ui/form2_pages.h"

namespace valmerin {
namespace {

// The designed client area and controls, 9705 x 5700 twips at 15 twips a pixel.
constexpr QSize kClientSize(647, 380);
constexpr QRect kTabsGeometry(2, 1, 639, 376);
constexpr QRect kOkGeometry(596, 346, 41, 28);
constexpr int kGeneralTab = 3;

QFont OptionsFont(double points) {
  QFont font;
  // Where Tahoma is missing, the Arial-sized sans keeps the designed widths best.
  // Windows ignores the sans hint and takes the first face it knows, a serif or a
  // math face, when none is there (Wine without its own fonts): DejaVu Sans, which
  // Wine shares from the host, comes before that.
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  return font;
}

}  // namespace

Form2::Form2(OptionsModel& model, DialogService& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Opzioni"));
  setFixedSize(kClientSize);

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("SSTab1"));
  tabs->setGeometry(kTabsGeometry);
  BuildOptionsPages(tabs);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Command1"));
  ok->setGeometry(kOkGeometry);
  ok->setDefault(true);
  ok->raise();
  connect(ok, &QPushButton::clicked, this, &Form2::Confirm);

  // A font wider than the designed one gets smaller, then narrower, until every
  // page fits.
  FitFont(
      OptionsFont(8.25), [this](const QFont& font) { setFont(font); },
      [tabs] {
        const int tabBarHeight = tabs->tabBar()->sizeHint().height();
        const QPoint pageOrigin = kTabsGeometry.topLeft() + QPoint(2, tabBarHeight + 2);
        const QSize page(kTabsGeometry.width() - 4, kTabsGeometry.height() - tabBarHeight - 4);
        const QRect reserved = kOkGeometry.translated(-pageOrigin).adjusted(-4, -4, 0, 0);
        return LayOutOptionsPages(tabs, page, reserved);
      });
  tabs->setCurrentIndex(kGeneralTab);

  bindings_ = std::make_unique<ControlBindings>(model_, this);
  model_.SetListener([this](ControlId id) { bindings_->Refresh(id); });
}

Form2::~Form2() { model_.SetListener(nullptr); }

void Form2::CloseForExit() {
  exiting_ = true;
  close();
}

void Form2::closeEvent(QCloseEvent* event) {
  if (exiting_) {
    event->accept();
    return;
  }
  // Closing must not lose a setting: the window only goes out of sight.
  event->ignore();
  hide();
}

void Form2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Confirm();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Form2::showEvent(QShowEvent* event) {
  if (!placed_ && screen() != nullptr) {
    placed_ = true;
    QRect centred(QPoint(0, 0), frameGeometry().size());
    centred.moveCenter(screen()->availableGeometry().center());
    move(centred.topLeft());
  }
  QWidget::showEvent(event);
}

void Form2::Confirm() {
  const ConfirmOutcome outcome = ConfirmOptions(model_, [this](const std::string& file) {
    return dialogs_.AskYesNo(
        this, QStringLiteral("Il file \"%1\" non si pu\u00f2 leggere. Sostituirlo con le opzioni "
                             "di questa finestra?")
                  .arg(QString::fromStdString(file)));
  });
  if (!outcome.ok) {
    dialogs_.Message(this, QString::fromUtf8(outcome.message));
    return;
  }
  hide();
  emit confirmed();
}

}  // namespace valmerin
