#include "ui/game_list_view.h"

#include <QKeyEvent>

namespace valmerin {

GameListModel::GameListModel(const std::vector<std::string>& entries, QObject* parent)
    : QAbstractListModel(parent), entries_(entries) {}

int GameListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  return QString::fromStdString(entries_[static_cast<std::size_t>(index.row())]);
}

void GameListModel::Reload() {
  beginResetModel();
  endResetModel();
}

GameListView::GameListView(QWidget* parent) : QListView(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(this, &QListView::doubleClicked, this,
          [this](const QModelIndex&) { emit launchRequested(); });
}

QModelIndex GameListView::SelectedEntry() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? QModelIndex() : selected.first();
}

void GameListView::keyPressEvent(QKeyEvent* event) {
  const bool selected = SelectedEntry().isValid();
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && selected) {
    emit launchRequested();
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
