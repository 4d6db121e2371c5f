#include "ui/game_list_view.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace valmerin {

GameListModel::GameListModel(const GameList& entries, QObject* parent)
    : QAbstractListModel(parent), entries_(entries) {}

int GameListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(filtered_ ? Shown().size() : entries_.size());
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto entry = EntryAt(index.row());
  if (!entry) return {};
  if ((role == kFavouriteRole || role == Qt::ToolTipRole) && plays_ != nullptr) {
    const PlayRecord* record = plays_->Find(emulator_, entries_.File(*entry));
    if (role == kFavouriteRole) return record != nullptr && record->favourite;
    if (record == nullptr || record->lastStart == 0) return {};
    const QString when = QDateTime::fromSecsSinceEpoch(record->lastStart)
                             .toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    return QString::fromStdString(PlaySummary(*record, when.toStdString()));
  }
  if (role != Qt::DisplayRole) return {};
  const std::string_view text = entries_.Shown(*entry);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::size_t> GameListModel::EntryAt(int row) const {
  if (row < 0 || row >= rowCount()) return std::nullopt;
  return filtered_ ? Shown()[static_cast<std::size_t>(row)] : static_cast<std::size_t>(row);
}

int GameListModel::RowOf(std::size_t entry) const {
  if (entry >= entries_.size()) return -1;
  if (!filtered_) return static_cast<int>(entry);
  if (Viewed()) {
    const auto at = std::find(view_.begin(), view_.end(), entry);
    return at != view_.end() ? static_cast<int>(at - view_.begin()) : -1;
  }
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), entry);
  return at != rows_.end() && *at == entry ? static_cast<int>(at - rows_.begin()) : -1;
}

void GameListModel::Reload() {
  beginResetModel();
  ApplyFilter(nullptr);
  endResetModel();
}

void GameListModel::SetFilter(const QString& typed) {
  if (typed == typed_) return;
  // A longer text only ever hides more: search what the shorter one left.
  const bool narrows =
      !typed_.isEmpty() && typed.startsWith(typed_) && filter_.PreparedFor(entries_);
  typed_ = typed;
  beginResetModel();
  ApplyFilter(narrows ? &rows_ : nullptr);
  endResetModel();
}

void GameListModel::SetPlays(const PlayRecords* plays, Emulator emulator) {
  plays_ = plays;
  emulator_ = emulator;
}

void GameListModel::SetView(bool favouritesOnly, bool recentFirst) {
  favouritesOnly_ = favouritesOnly;
  recentFirst_ = recentFirst;
}

void GameListModel::ApplyFilter(const std::vector<std::uint32_t>* narrowing) {
  const bool typed = !typed_.isEmpty();
  filtered_ = typed || Viewed();
  if (!typed) {
    rows_ = {};
  } else {
    if (!filter_.PreparedFor(entries_)) filter_.Prepare(entries_);
    const QByteArray bytes = typed_.toUtf8();
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    rows_ = narrowing ? filter_.Narrow(text, *narrowing) : filter_.Match(text);
  }
  view_ = Viewed() ? PlayView(entries_, emulator_, *plays_, typed ? &rows_ : nullptr,
                              favouritesOnly_, recentFirst_)
                   : std::vector<std::uint32_t>{};
}

GameListView::GameListView(QWidget* parent) : QListView(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(this, &QListView::doubleClicked, this,
          [this](const QModelIndex&) { emit launchRequested(); });

  filterField_ = new QLineEdit(this);
  filterField_->setObjectName(QStringLiteral("Filtro"));
  filterField_->setPlaceholderText(QStringLiteral("Filtra: scrivere parte del nome"));
  filterField_->setClearButtonEnabled(true);
  filterField_->setStyleSheet(
      QStringLiteral("QLineEdit { background: rgb(0, 40, 0); color: rgb(0, 255, 0); "
                     "border: 1px solid rgb(0, 160, 0); }"));
  filterField_->hide();
  filterField_->installEventFilter(this);
  connect(filterField_, &QLineEdit::textChanged, this, &GameListView::Filter);
}

void GameListView::setModel(QAbstractItemModel* model) {
  QListView::setModel(model);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &GameListView::RememberSelection);
}

GameListModel* GameListView::Games() const { return qobject_cast<GameListModel*>(model()); }

QModelIndex GameListView::SelectedEntry() const {
  if (selectionModel() == nullptr) return {};
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? QModelIndex() : selected.first();
}

std::optional<std::size_t> GameListView::SelectedGame() const {
  const QModelIndex selected = SelectedEntry();
  GameListModel* games = Games();
  if (!selected.isValid() || games == nullptr) return std::nullopt;
  return games->EntryAt(selected.row());
}

void GameListView::RememberSelection() {
  if (selecting_) return;
  const auto entry = SelectedGame();
  if (!entry) return;
  chosenEntry_ = entry;
  chosenFile_ = std::string(Games()->Entries().File(*entry));
}

void GameListView::SelectEntry(std::optional<std::size_t> entry) {
  GameListModel* games = Games();
  const int row = entry ? games->RowOf(*entry) : -1;
  selecting_ = true;
  if (row >= 0) {
    const QModelIndex index = games->index(row, 0);
    setCurrentIndex(index);
    scrollTo(index);
  } else {
    clearSelection();
  }
  selecting_ = false;
}

void GameListView::Filter(const QString& typed) {
  GameListModel* games = Games();
  if (games == nullptr) return;
  games->SetFilter(typed);
  SelectEntry(chosenEntry_);
}

void GameListView::Reload() {
  GameListModel* games = Games();
  if (games == nullptr) return;
  games->Reload();
  std::optional<std::size_t> entry;
  if (chosenFile_) {
    const GameList& list = games->Entries();
    if (chosenEntry_ && *chosenEntry_ < list.size() && list.File(*chosenEntry_) == *chosenFile_) {
      entry = chosenEntry_;
    } else {
      entry = list.FindFile(*chosenFile_);
    }
  }
  chosenEntry_ = entry;
  if (!entry) chosenFile_.reset();
  SelectEntry(entry);
}

void GameListView::OpenFilter() {
  filterField_->show();
  filterField_->raise();
  PlaceFilterField();
  filterField_->setFocus(Qt::ShortcutFocusReason);
  filterField_->selectAll();
}

void GameListView::CloseFilter() {
  filterField_->hide();
  filterField_->clear();  // the whole list again, the chosen game selected
  setViewportMargins(0, 0, 0, 0);
  setFocus(Qt::OtherFocusReason);
  emit filterClosed();
}

void GameListView::PlaceFilterField() {
  const int height = filterField_->sizeHint().height();
  if (filterField_->isVisible()) setViewportMargins(0, 0, 0, height);
  const QRect inside = contentsRect();
  filterField_->setGeometry(inside.left(), inside.bottom() + 1 - height, inside.width(), height);
}

void GameListView::resizeEvent(QResizeEvent* event) {
  QListView::resizeEvent(event);
  PlaceFilterField();
}

bool GameListView::eventFilter(QObject* watched, QEvent* event) {
  if (watched != filterField_ || event->type() != QEvent::KeyPress) {
    return QListView::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!SelectedEntry().isValid() && model()->rowCount() > 0) {
        setCurrentIndex(model()->index(0, 0));
      }
      if (SelectedEntry().isValid()) emit launchRequested();
      return true;
    case Qt::Key_Down:
      setFocus(Qt::OtherFocusReason);
      if (!SelectedEntry().isValid() && model()->rowCount() > 0) {
        setCurrentIndex(model()->index(0, 0));
      }
      return true;
    case Qt::Key_Escape:
      CloseFilter();
      return true;
    default:
      return false;
  }
}

void GameListView::keyPressEvent(QKeyEvent* event) {
  const bool selected = SelectedEntry().isValid();
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && selected) {
    emit launchRequested();
    event->accept();
    return;
  }
  if (event->text() == QStringLiteral("/") ||
      (event->key() == Qt::Key_F && event->modifiers() == Qt::ControlModifier)) {
    OpenFilter();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Escape && filterField_->isVisible()) {
    CloseFilter();
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers held =
      event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
  const bool plain = held == Qt::NoModifier;
  const QString text = event->text();
  const bool letter = (held & ~Qt::KeyboardModifiers(Qt::ShiftModifier)) == Qt::NoModifier &&
                      text.size() == 1 && text[0].isPrint() && !text[0].isSpace();
  // Taking the focus makes a row current without selecting it: the first Down or
  // Up selects that row rather than step past it, and the first letter searches
  // from the top, that row included.
  if (!selected && plain && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
      currentIndex().isValid()) {
    setCurrentIndex(currentIndex());
    event->accept();
    return;
  }
  if (!selected && letter)
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  const QModelIndex before = currentIndex();
  QListView::keyPressEvent(event);
  // The same letter again goes on to the next entry beginning with it, as in a
  // list box; the view alone looks for the letter twice over and stays put.
  if (letter && before.isValid() && currentIndex() == before &&
      before.data().toString().startsWith(text, Qt::CaseInsensitive)) {
    const QModelIndex after = model()->index((before.row() + 1) % model()->rowCount(), 0);
    const QModelIndexList next =
        model()->match(after, Qt::DisplayRole, text, 1, Qt::MatchStartsWith | Qt::MatchWrap);
    if (!next.isEmpty()) setCurrentIndex(next.first());
  }
}

}  // namespace valmerin
