#pragma once
// A game list shown straight from the core's vector of entries: no copy into
// items, uniform rows, so a folder of a hundred thousand games fills at once.
#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

namespace valmerin {

class GameListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  GameListModel(const std::vector<std::string>& entries, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // The entries vector was filled or replaced behind the model's back.
  void Reload();

 private:
  const std::vector<std::string>& entries_;
};

// A list that also launches on Enter, as a double-click does.
class GameListView : public QListView {
  Q_OBJECT
 public:
  explicit GameListView(QWidget* parent = nullptr);
  // The selected entry; invalid when none is.
  QModelIndex SelectedEntry() const;

 signals:
  void launchRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace valmerin
