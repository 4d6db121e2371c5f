#pragma once
// The player's own lists on the game lists: favourites (marked, and a view of
// them alone), the latest played first, and each game's plays and time, counted
// from the start of its emulator to its end and kept in the play records file.
#include <QObject>
#include <array>
#include <functional>
#include <map>
#include <string>

#include "catalogue/play_records.h"

class QAction;
class QWidget;

namespace valmerin {

class DialogService;
class GameListView;

class PlayMarks : public QObject {
  Q_OBJECT
 public:
  // Reads the records and adds its commands to each list's context menu and keys.
  PlayMarks(QWidget* window, DialogService& dialogs,
            const std::array<GameListView*, kEmulatorCount>& lists);

  // A game just started from its list: what to call when its emulator ends.
  std::function<void()> Started(Emulator emulator, std::string file);
  // At exit: emulators still running count up to now.
  void FinishRuns();

 private:
  struct ListCommands {
    QAction* favourite = nullptr;
    QAction* favouritesOnly = nullptr;
    QAction* recentFirst = nullptr;
    QAction* reset = nullptr;
  };
  struct Run {
    Emulator emulator;
    std::string file;
    PlayStart start;
  };
  void AddCommands(Emulator emulator);
  void UpdateCommands(Emulator emulator);
  void ToggleFavourite(Emulator emulator);
  void ApplyView(Emulator emulator);
  void ResetFigures(Emulator emulator);
  void RunEnded(int run);
  // The lists show the records again; those of `emulator` whose view depends on them
  // are derived again.
  void Show(Emulator emulator);
  void Save();
  GameListView* List(Emulator emulator) const {
    return lists_[static_cast<std::size_t>(IndexOf(emulator))];
  }
  std::string SelectedFile(Emulator emulator) const;

  QWidget* window_;
  DialogService& dialogs_;
  std::array<GameListView*, kEmulatorCount> lists_;
  std::array<ListCommands, kEmulatorCount> commands_;
  PlayRecords records_;
  bool writable_ = true;
  bool toldUnwritable_ = false;
  std::map<int, Run> running_;
  int nextRun_ = 0;
};

}  // namespace valmerin
