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
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      SelectedEntry().isValid()) {
    emit launchRequested();
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

}  // namespace valmerin
