#pragma once
// A game list shown straight from the core's list of entries: no copy into
// items, uniform rows, so a folder of a hundred thousand games fills at once. A
// filter field over its foot narrows what it shows as one types.
#include <QAbstractListModel>
#include <QListView>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/game_filter.h"
#include "catalogue/game_list.h"
#include "catalogue/play_records.h"

class QLineEdit;

namespace valmerin {

class GameListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  GameListModel(const GameList& entries, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // The entries were filled or replaced behind the model's back; the filter is
  // applied to them again.
  void Reload();

  // Shows only the entries whose text contains `typed`; empty shows them all.
  void SetFilter(const QString& typed);
  const QString& Filter() const { return typed_; }
  // The list entry shown at `row`, and the row showing `entry` (-1 when hidden).
  std::optional<std::size_t> EntryAt(int row) const;
  int RowOf(std::size_t entry) const;
  const GameList& Entries() const { return entries_; }

  // The player's records: the favourite mark and the tooltip, and the views that
  // show only favourites or the latest played first (the designed order when off).
  static constexpr int kFavouriteRole = Qt::UserRole + 1;
  void SetPlays(const PlayRecords* plays, Emulator emulator);
  void SetView(bool favouritesOnly, bool recentFirst);
  bool FavouritesOnly() const { return favouritesOnly_; }
  bool RecentFirst() const { return recentFirst_; }

 private:
  void ApplyFilter(const std::vector<std::uint32_t>* narrowing);

  const GameList& entries_;
  GameFilter filter_;
  QString typed_;
  bool filtered_ = false;
  std::vector<std::uint32_t> rows_;  // the entries shown, when filtered
  const PlayRecords* plays_ = nullptr;
  Emulator emulator_ = Emulator::ZSnes;
  bool favouritesOnly_ = false;
  bool recentFirst_ = false;
  std::vector<std::uint32_t> view_;  // the filter's rows as the player's view orders them
  bool Viewed() const { return plays_ != nullptr && (favouritesOnly_ || recentFirst_); }
  const std::vector<std::uint32_t>& Shown() const { return Viewed() ? view_ : rows_; }
};

// A list that also launches on Enter, as a double-click does.
class GameListView : public QListView {
  Q_OBJECT
 public:
  explicit GameListView(QWidget* parent = nullptr);
  // The selected entry; invalid when none is.
  QModelIndex SelectedEntry() const;
  void setModel(QAbstractItemModel* model) override;
  // The list entry behind the selected row.
  std::optional<std::size_t> SelectedGame() const;

  // Shows the model's entries again after they changed, the selected game kept
  // (found again by its file) and the filter applied.
  void Reload();
  // The filter field: opened with Ctrl+F or "/", closed with Esc.
  void OpenFilter();
  void CloseFilter();
  QLineEdit* FilterField() const { return filterField_; }

 signals:
  void launchRequested();
  // The filter field was closed: the whole list is wanted again.
  void filterClosed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  GameListModel* Games() const;
  void Filter(const QString& typed);
  void SelectEntry(std::optional<std::size_t> entry);
  void PlaceFilterField();
  // The filter and reloads hide and show rows: the game chosen last is kept here,
  // so it comes back selected when its row does.
  void RememberSelection();

  QLineEdit* filterField_ = nullptr;
  std::optional<std::string> chosenFile_;
  std::optional<std::size_t> chosenEntry_;
  bool selecting_ = false;
};

}  // namespace valmerin
