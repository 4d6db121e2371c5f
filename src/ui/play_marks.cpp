#include "ui/play_marks.h"

#include <QAction>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include "platform/awake_clock.h"
#include "platform/file_error.h"
#include "ui/dialog_service.h"
#include "ui/game_list_view.h"

namespace valmerin {
namespace {

const QColor kMarkColour(255, 200, 0);
const QString kStar = QStringLiteral("\u2605");

// The favourite's mark, drawn at the right end of its row; the text gives way to
// it rather than run under it. The entry's text stays the designed text.
class FavouriteMarkDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (!index.data(GameListModel::kFavouriteRole).toBool()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const int width = option.fontMetrics.horizontalAdvance(kStar) + 6;
    QStyleOptionViewItem text = option;
    text.rect.setRight(option.rect.right() - width);
    QStyledItemDelegate::paint(painter, text, index);
    if (option.state & QStyle::State_Selected) {
      painter->fillRect(
          QRect(text.rect.right() + 1, option.rect.top(), width, option.rect.height()),
          option.palette.brush(QPalette::Highlight));
    }
    painter->save();
    painter->setPen(kMarkColour);
    painter->setFont(option.font);
    painter->drawText(
        QRect(option.rect.right() - width, option.rect.top(), width, option.rect.height()),
        Qt::AlignCenter, kStar);
    painter->restore();
  }
};

// A gold star while only favourites show, a grey outline otherwise.
QIcon StarIcon(bool on) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(on ? kMarkColour : QColor(120, 120, 120));
  QFont font = painter.font();
  font.setPixelSize(14);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, on ? kStar : QStringLiteral("\u2606"));
  return QIcon(pixmap);
}

QString FileText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

GameListModel* ModelOf(GameListView* view) { return qobject_cast<GameListModel*>(view->model()); }

}  // namespace

PlayMarks::PlayMarks(QWidget* window, DialogService& dialogs,
                     const std::array<GameListView*, kEmulatorCount>& lists)
    : QObject(window), window_(window), dialogs_(dialogs), lists_(lists) {
  LoadedPlayRecords loaded = ReadPlayRecords();
  records_ = std::move(loaded.records);
  writable_ = loaded.writable;
  for (Emulator emulator : kTabOrder) {
    GameListView* view = List(emulator);
    ModelOf(view)->SetPlays(&records_, emulator);
    view->setItemDelegate(new FavouriteMarkDelegate(view));
    AddCommands(emulator);
  }
}

void PlayMarks::AddCommands(Emulator emulator) {
  GameListView* view = List(emulator);
  ListCommands& commands = commands_[static_cast<std::size_t>(IndexOf(emulator))];
  auto add = [&](const QString& name, const QKeySequence& key, bool checkable) {
    auto* action = new QAction(view);
    action->setObjectName(name);
    action->setShortcut(key);
    // The filter field is the list's child: the keys work while one types there.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setCheckable(checkable);
    view->addAction(action);
    return action;
  };
  auto* separator = new QAction(view);
  separator->setSeparator(true);
  view->addAction(separator);
  commands.favourite = add(QStringLiteral("Preferito"), QKeySequence(Qt::CTRL | Qt::Key_D), false);
  commands.favouritesOnly =
      add(QStringLiteral("SoloPreferiti"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), true);
  commands.favouritesOnly->setText(QStringLiteral("Solo preferiti"));
  commands.favouritesOnly->setIcon(StarIcon(false));
  commands.favouritesOnly->setIconVisibleInMenu(false);
  commands.recentFirst =
      add(QStringLiteral("UltimePartite"), QKeySequence(Qt::CTRL | Qt::Key_R), true);
  commands.recentFirst->setText(QStringLiteral("Ultime partite per prime"));
  commands.reset = add(QStringLiteral("AzzeraPartite"), QKeySequence(), false);
  commands.reset->setText(QStringLiteral("Azzera partite e tempo di gioco"));
  // The star in the filter field switches the favourites view as the key does.
  view->FilterField()->addAction(commands.favouritesOnly, QLineEdit::TrailingPosition);

  connect(commands.favourite, &QAction::triggered, this,
          [this, emulator] { ToggleFavourite(emulator); });
  connect(commands.favouritesOnly, &QAction::triggered, this, [this, emulator, view](bool on) {
    ApplyView(emulator);
    if (on && !view->FilterField()->isVisible()) view->OpenFilter();
  });
  connect(commands.favouritesOnly, &QAction::toggled, this,
          [action = commands.favouritesOnly](bool on) { action->setIcon(StarIcon(on)); });
  connect(commands.recentFirst, &QAction::triggered, this,
          [this, emulator] { ApplyView(emulator); });
  connect(commands.reset, &QAction::triggered, this, [this, emulator] { ResetFigures(emulator); });
  connect(view, &GameListView::filterClosed, this, [this, emulator, commands] {
    if (!commands.favouritesOnly->isChecked()) return;
    commands.favouritesOnly->setChecked(false);
    ApplyView(emulator);
  });
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this, emulator] { UpdateCommands(emulator); });
  UpdateCommands(emulator);
}

std::string PlayMarks::SelectedFile(Emulator emulator) const {
  GameListView* view = List(emulator);
  const auto entry = view->SelectedGame();
  if (!entry) return {};
  return std::string(ModelOf(view)->Entries().File(*entry));
}

void PlayMarks::UpdateCommands(Emulator emulator) {
  const ListCommands& commands = commands_[static_cast<std::size_t>(IndexOf(emulator))];
  const std::string file = SelectedFile(emulator);
  commands.favourite->setText(records_.Favourite(emulator, file)
                                  ? QStringLiteral("Togli dai preferiti")
                                  : QStringLiteral("Aggiungi ai preferiti"));
  commands.favourite->setEnabled(!file.empty());
  const PlayRecord* record = file.empty() ? nullptr : records_.Find(emulator, file);
  commands.reset->setEnabled(record != nullptr && record->lastStart != 0);
}

void PlayMarks::ToggleFavourite(Emulator emulator) {
  const std::string file = SelectedFile(emulator);
  if (file.empty()) return;
  const bool favourite = !records_.Favourite(emulator, file);
  if (!records_.SetFavourite(emulator, file, favourite)) {
    dialogs_.Message(window_, QStringLiteral("Il nome \"%1\" contiene caratteri che il file "
                                             "\"%2\" non pu\u00f2 conservare: il gioco non "
                                             "\u00e8 stato aggiunto ai preferiti.")
                                  .arg(FileText(file), FileText(kPlayRecordsFile)));
    return;
  }
  Save();
  Show(emulator);
}

void PlayMarks::ApplyView(Emulator emulator) {
  const ListCommands& commands = commands_[static_cast<std::size_t>(IndexOf(emulator))];
  GameListView* view = List(emulator);
  ModelOf(view)->SetView(commands.favouritesOnly->isChecked(), commands.recentFirst->isChecked());
  view->Reload();
}

void PlayMarks::ResetFigures(Emulator emulator) {
  const std::string file = SelectedFile(emulator);
  const PlayRecord* record = file.empty() ? nullptr : records_.Find(emulator, file);
  if (record == nullptr || record->lastStart == 0) return;
  if (!dialogs_.AskYesNo(
          window_,
          QStringLiteral("Azzerare partite e tempo di gioco di \"%1\"?").arg(FileText(file)))) {
    return;
  }
  records_.ResetFigures(emulator, file);
  Save();
  Show(emulator);
}

void PlayMarks::Show(Emulator emulator) {
  GameListModel* model = ModelOf(List(emulator));
  if (model->FavouritesOnly() || model->RecentFirst()) {
    List(emulator)->Reload();
  } else {
    List(emulator)->viewport()->update();
  }
  UpdateCommands(emulator);
}

std::function<void()> PlayMarks::Started(Emulator emulator, std::string file) {
  const int run = nextRun_++;
  running_[run] = {
      emulator, std::move(file), {QDateTime::currentSecsSinceEpoch(), AwakeMilliseconds()}};
  return [self = QPointer<PlayMarks>(this), run] {
    if (self) self->RunEnded(run);
  };
}

void PlayMarks::RunEnded(int run) {
  const auto found = running_.find(run);
  if (found == running_.end()) return;
  const Run ended = std::move(found->second);
  running_.erase(found);
  if (!records_.CountRun(ended.emulator, ended.file, ended.start, AwakeMilliseconds())) return;
  Save();
  Show(ended.emulator);
}

void PlayMarks::FinishRuns() {
  bool counted = false;
  for (const auto& [run, going] : running_) {
    counted |= records_.CountRun(going.emulator, going.file, going.start, AwakeMilliseconds());
  }
  running_.clear();
  if (counted) Save();
}

void PlayMarks::Save() {
  if (!writable_) {
    if (!toldUnwritable_) {
      toldUnwritable_ = true;
      dialogs_.Message(window_,
                       QStringLiteral("Il file \"%1\" non si pu\u00f2 leggere: preferiti e "
                                      "partite di questa sessione non verranno salvati, per non "
                                      "scrivere sopra a quelli che contiene.")
                           .arg(FileText(kPlayRecordsFile)));
    }
    return;
  }
  const SaveOutcome saved = SavePlayRecords(records_);
  if (saved.result == SaveResult::Saved) return;
  dialogs_.Message(window_,
                   QStringLiteral("Impossibile scrivere il file \"%1\": %2. Preferiti e "
                                  "partite salvati prima sono rimasti com'erano.")
                       .arg(FileText(kPlayRecordsFile), FileText(DescribeFileError(saved.error))));
}

}  // namespace valmerin
