#include "ui/control_bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolTip>
#include <QValidator>

#include <algorithm>

#include "catalogue/emulator_table.h"
#include "options/settings_files.h"

namespace valmerin {
namespace {

std::string ToModel(const QString& text) { return text.toUtf8().toStdString(); }
QString FromModel(const std::string& text) { return QString::fromUtf8(text); }

// Every box's text is written to a settings file at exit, so a change that would
// not read back is refused as it is typed or pasted, and the box says why. A
// folder box keeps what was typed instead: dropping the letters it cannot store
// would leave another folder's name ready for OK, which refuses the text itself.
class StorableTextValidator : public QValidator {
 public:
  StorableTextValidator(QWidget* box, bool keepsText)
      : QValidator(box), box_(box), keepsText_(keepsText) {}

  State validate(QString& input, int&) const override {
    const QString reason = UnstorableTextReason(input);
    if (reason.isEmpty()) return Acceptable;
    QToolTip::showText(box_->mapToGlobal(QPoint(0, box_->height())), reason, box_);
    return keepsText_ ? Intermediate : Invalid;
  }

 private:
  QWidget* box_;
  bool keepsText_;
};

bool IsFolderBox(int n) {
  const auto& table = EmulatorTable();
  return std::any_of(table.begin(), table.end(),
                     [n](const EmulatorInfo& info) { return info.folderTextBox == n; });
}

// A scroll bar's top end is its highest value, so the widget runs over the
// negated range: its up arrow (a step down) then raises the setting.
int BarValue(int value) { return -value; }

}  // namespace

QString UnstorableTextReason(const QString& text) {
  if (OptionTextStorable(ToModel(text))) return {};
  if (text.contains(QLatin1Char('"'))) {
    return QString::fromUtf8("Le virgolette (\") non possono essere salvate.");
  }
  if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
    return QString::fromUtf8("Un testo su più righe non può essere salvato.");
  }
  for (int i = 0; i < text.size();) {
    const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(i, length);
    if (!OptionTextStorable(ToModel(character))) {
      const QString shown =
          character.at(0).isPrint() || length == 2
              ? character
              : QString::fromLatin1("U+%1").arg(character.at(0).unicode(), 4, 16, QLatin1Char('0'));
      return QString::fromUtf8("Il carattere «%1» non può essere salvato.").arg(shown);
    }
    i += length;
  }
  return QString::fromUtf8("Questo testo non può essere salvato.");
}

ControlBindings::ControlBindings(OptionsModel& model, QWidget* root)
    : QObject(root), model_(model) {
  BindAll<QCheckBox>(root, ControlKind::Check, kCheckCount);
  BindAll<QRadioButton>(root, ControlKind::Option, kOptionCount);
  BindAll<QLineEdit>(root, ControlKind::Text, kTextCount);
  BindAll<QComboBox>(root, ControlKind::Combo, kComboCount);
  BindAll<QScrollBar>(root, ControlKind::Scroll, kScrollCount);
  RefreshAll();
}

template <class Widget>
void ControlBindings::BindAll(QWidget* root, ControlKind kind, int count) {
  for (int n = 1; n <= count; ++n) {
    const QString name = QString::fromStdString(ControlId{kind, n}.Name());
    if (auto* widget = root->findChild<Widget*>(name)) Bind(widget, n);
  }
}

void ControlBindings::Bind(QCheckBox* box, int n) {
  checks_[n] = box;
  // The user only ever switches between unchecked and checked; a greyed box
  // becomes checked.
  connect(box, &QCheckBox::clicked, this, [this, n] {
    model_.SetCheck(n, model_.Check(n) == 1 ? 0 : 1);
    Refresh({ControlKind::Check, n});
  });
}

void ControlBindings::Bind(QRadioButton* button, int n) {
  options_[n] = button;
  connect(button, &QRadioButton::clicked, this, [this, n] {
    model_.SetOption(n, true);
    Refresh({ControlKind::Option, n});
  });
}

void ControlBindings::Bind(QLineEdit* edit, int n) {
  texts_[n] = edit;
  edit->setValidator(new StorableTextValidator(edit, IsFolderBox(n)));
  connect(edit, &QLineEdit::textEdited, this,
          [this, n](const QString& text) { model_.SetText(n, ToModel(text)); });
}

void ControlBindings::Bind(QComboBox* combo, int n) {
  combos_[n] = combo;
  combo->setValidator(new StorableTextValidator(combo, false));
  // Typing, picking from the list and the arrow keys all change the shown text.
  connect(combo, &QComboBox::currentTextChanged, this,
          [this, n](const QString& text) { model_.SetComboText(n, ToModel(text)); });
}

void ControlBindings::Bind(QScrollBar* bar, int n) {
  scrolls_[n] = bar;
  const ScrollLimits limits = OptionsModel::LimitsOf(n);
  bar->setRange(BarValue(limits.highest), BarValue(limits.lowest));
  bar->setSingleStep(1);
  bar->setPageStep(1);  // a click on the track moves by one too
  connect(bar, &QScrollBar::valueChanged, this, [this, n](int value) {
    if (!model_.SetScroll(n, BarValue(value))) Refresh({ControlKind::Scroll, n});
  });
}

void ControlBindings::Refresh(ControlId id) {
  const int n = id.number;
  switch (id.kind) {
    case ControlKind::Check:
      if (QCheckBox* box = checks_.at(n)) {
        const QSignalBlocker block(box);
        const int state = model_.Check(n);
        box->setTristate(state == 2);
        box->setCheckState(state == 2   ? Qt::PartiallyChecked
                           : state == 1 ? Qt::Checked
                                        : Qt::Unchecked);
      }
      break;
    case ControlKind::Option:
      if (QRadioButton* button = options_.at(n)) {
        const QSignalBlocker block(button);
        button->setChecked(model_.Option(n));
      }
      break;
    case ControlKind::Text:
      if (QLineEdit* edit = texts_.at(n)) {
        const QString text = FromModel(model_.Text(n));
        // Setting the same text again would move the cursor while typing.
        if (edit->text() != text) {
          const QSignalBlocker block(edit);
          edit->setText(text);
        }
      }
      break;
    case ControlKind::Combo:
      if (QComboBox* combo = combos_.at(n)) {
        const QSignalBlocker block(combo);
        QStringList items;
        for (const std::string& item : model_.ComboItems(n)) items << FromModel(item);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        if (shown != items) {
          combo->clear();
          combo->addItems(items);
        }
        // Filling the list must not change the text, which is the setting.
        const QString text = FromModel(model_.ComboText(n));
        if (combo->currentText() != text) combo->setEditText(text);
      }
      break;
    case ControlKind::Scroll:
      if (QScrollBar* bar = scrolls_.at(n)) {
        const QSignalBlocker block(bar);
        bar->setValue(BarValue(model_.Scroll(n)));
      }
      break;
  }
}

void ControlBindings::RefreshAll() {
  for (int n = 1; n <= kCheckCount; ++n) Refresh({ControlKind::Check, n});
  for (int n = 1; n <= kOptionCount; ++n) Refresh({ControlKind::Option, n});
  for (int n = 1; n <= kTextCount; ++n) Refresh({ControlKind::Text, n});
  for (int n = 1; n <= kComboCount; ++n) Refresh({ControlKind::Combo, n});
  for (int n = 1; n <= kScrollCount; ++n) Refresh({ControlKind::Scroll, n});
}

}  // namespace valmerin
