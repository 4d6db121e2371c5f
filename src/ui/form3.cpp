#include "ui/form3.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/list_printer.h"
#include "ui/twips.h"

namespace valmerin {
namespace {

// The designed places suit the narrow dialog font of the original system; where
// the font is wider, the whole dialog grows in proportion so no caption is cut.
void PlaceScaled(QWidget* dialog, QSize client,
                 const std::vector<std::pair<QWidget*, QRect>>& layout) {
  double scale = 1.0;
  for (const auto& [widget, twips] : layout) {
    if (qobject_cast<QComboBox*>(widget)) continue;
    const QSize needed = widget->sizeHint();
    scale = std::max(scale, needed.width() / (twips.width() / double(kTwipsPerPixel)));
    scale = std::max(scale, needed.height() / (twips.height() / double(kTwipsPerPixel)));
  }
  const auto px = [scale](int twips) { return qRound(twips * scale / kTwipsPerPixel); };
  for (const auto& [widget, t] : layout) {
    widget->setGeometry(px(t.x()), px(t.y()), px(t.width()), px(t.height()));
  }
  dialog->setFixedSize(px(client.width()), px(client.height()));
}

}  // namespace

Form3::Form3(const MainWindowState& state, QPrinter& printer, DialogService& dialogs,
             QWidget* parent)
    : QWidget(parent, Qt::Dialog), state_(state), printer_(printer), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form3"));
  pdfPath_ = QDir::current().filePath(QStringLiteral("Liste.pdf"));
  setWindowTitle(QStringLiteral("Stampa lista/e"));
  setAttribute(Qt::WA_DeleteOnClose);
  std::vector<std::pair<QWidget*, QRect>> layout;  // designed places, in twips

  auto* label = new QLabel(
      QStringLiteral("Stampare le liste di tutti gli emulatori o di uno in specifico?"), this);
  label->setObjectName(QStringLiteral("Label1"));
  layout.push_back({label, QRect(150, 150, 4320, 285)});

  all_ = new QRadioButton(QStringLiteral("Tutti"), this);
  all_->setObjectName(QStringLiteral("Option1"));
  layout.push_back({all_, QRect(180, 495, 2325, 255)});
  all_->setChecked(true);

  one_ = new QRadioButton(QStringLiteral("Uno"), this);
  one_->setObjectName(QStringLiteral("Option2"));
  layout.push_back({one_, QRect(180, 795, 615, 240)});

  choice_ = new QComboBox(this);
  choice_->setObjectName(QStringLiteral("Combo1"));
  layout.push_back({choice_, QRect(885, 750, 3270, 315)});
  choice_->setEditable(true);
  choice_->setInsertPolicy(QComboBox::NoInsert);
  for (const EmulatorInfo& info : EmulatorTable()) {
    choice_->addItem(QString::fromUtf8(info.name.data(), static_cast<int>(info.name.size())));
  }
  choice_->setEditText(QStringLiteral("ZSnes"));
  choice_->setEnabled(false);

  auto* print = new QPushButton(QStringLiteral("Stampa >"), this);
  print->setObjectName(QStringLiteral("Command1"));
  layout.push_back({print, QRect(3120, 1305, 1080, 300)});
  print->setDefault(true);

  auto* cancel = new QPushButton(QStringLiteral("< Annulla"), this);
  cancel->setObjectName(QStringLiteral("Command2"));
  layout.push_back({cancel, QRect(45, 1305, 1080, 300)});

  auto* properties = new QPushButton(QStringLiteral("Propriet\u00e0 della stampante"), this);
  properties->setObjectName(QStringLiteral("Command3"));
  layout.push_back({properties, QRect(1110, 1305, 2010, 300)});

  PlaceScaled(this, QSize(4470, 1665), layout);

  setTabOrder(all_, one_);
  setTabOrder(one_, choice_);
  setTabOrder(choice_, print);
  setTabOrder(print, cancel);
  setTabOrder(cancel, properties);

  connect(all_, &QRadioButton::clicked, this, [this] { choice_->setEnabled(false); });
  connect(one_, &QRadioButton::clicked, this, [this] { choice_->setEnabled(true); });
  connect(print, &QPushButton::clicked, this, &Form3::Print);
  connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
  connect(properties, &QPushButton::clicked, this,
          [this] { dialogs_.SetUpPrinter(this, printer_); });
}

std::optional<Emulator> Form3::EmulatorNamed(const QString& text) {
  const QString wanted = text.trimmed();
  for (const EmulatorInfo& info : EmulatorTable()) {
    const QString name = QString::fromUtf8(info.name.data(), static_cast<int>(info.name.size()));
    if (wanted.compare(name, Qt::CaseInsensitive) == 0) return info.emulator;
  }
  return std::nullopt;
}

void Form3::Print() {
  hide();
  std::optional<Emulator> only;
  if (one_->isChecked()) {
    only = EmulatorNamed(choice_->currentText());
    if (!only) {
      dialogs_.Message(parentWidget(),
                       QStringLiteral("Nessun emulatore si chiama \"%1\": non c'\u00e8 nulla da "
                                      "stampare.")
                           .arg(choice_->currentText()));
      return;
    }
  }
  const std::vector<std::string> lines = LinesToPrint(state_.gameLists, only);
  if (HasDestination(printer_)) {
    if (!PrintLines(printer_, lines)) dialogs_.Message(parentWidget(), PrintFailure(printer_));
    return;
  }
  dialogs_.Message(parentWidget(),
                   QStringLiteral("Non \u00e8 installata nessuna stampante: le liste possono "
                                  "essere scritte in un file PDF."));
  auto path = dialogs_.AskSavePath(parentWidget(), pdfPath_);
  if (!path) return;
  if (QFileInfo(*path).suffix().isEmpty()) *path += QStringLiteral(".pdf");
  pdfPath_ = *path;
  // The file is named for this print only: the next one asks again.
  printer_.setOutputFormat(QPrinter::PdfFormat);
  printer_.setOutputFileName(*path);
  const bool printed = PrintLines(printer_, lines).has_value();
  const QString failure = printed ? QString() : PrintFailure(printer_);
  printer_.setOutputFileName(QString());
  if (!printed) dialogs_.Message(parentWidget(), failure);
}

}  // namespace valmerin
