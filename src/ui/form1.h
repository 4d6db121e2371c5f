#pragma once
// Form1, the main window: the four game lists on their tabs, the information tab,
// the game-file field and the button bar. It shows the core's state and owns no
// copy of it.
#include <QPointer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "catalogue/main_window_state.h"
#include "catalogue/window_hooks.h"
#include "lifecycle/refresh.h"
#include "options/options_model.h"
#include "platform/folder_stamp.h"
#include "ui/dialog_service.h"

class QFileSystemWatcher;
class QLineEdit;
class QPrinter;
class QTabWidget;
class QTimer;

namespace valmerin {

class ButtonBar;
class CopyProgressDialog;
class Form3;
class GameListModel;
class GameListView;
class PlayMarks;

class Form1 : public QWidget, private WindowHooks {
  Q_OBJECT
 public:
  // Builds the window and runs the start-up sequence, so it is ready to show.
  Form1(MainWindowState& state, OptionsModel& options, DialogService& dialogs,
        QWidget* parent = nullptr);
  ~Form1() override;

  // The button bar's one handler: 1 options, 2 run, 3 description, 4 print,
  // 5 export; any other number does nothing.
  void Brisk1_Click(int button);

  QWidget* OptionsWindow() const { return optionsWindow_; }
  Form3* PrintDialog() const;  // nullptr until first shown, and after a close
  QPrinter& Printer() { return *printer_; }

  // F5: the lists made again from the folder files, the descriptions and the
  // folders, as the next start would make them; tab, selected game and filter kept.
  void RefreshGameLists();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // WindowHooks, for the start-up sequence.
  void ShowMessage(const std::string& text) override;
  void ShowOptionsWindow() override;
  void SwitchOffTab(int tabIndex) override;

  void BuildWindow();
  void UpdateGameFile(Emulator list);
  void Launch(Emulator list);
  void ShowOptions();
  void RunEmulatorCommand();
  void ChangeDescription();
  void ShowPrintDialog();
  void ExportGameLists();
  void Say(const QString& text);
  // The games of emulators that have ended get their files back; what could not
  // be given back is said.
  void HandBackEnded();
  void BuildListCommands();
  void ApplyRefresh(const RunSetup& setup);
  void WatchFolders();
  void ApplyNewDescription(const std::string& key, const std::string& description);

  MainWindowState& state_;
  OptionsModel& options_;
  DialogService& dialogs_;
  QTabWidget* tabs_ = nullptr;
  std::array<GameListView*, kEmulatorCount> lists_{};
  std::array<GameListModel*, kEmulatorCount> models_{};
  QLineEdit* gameFile_ = nullptr;
  ButtonBar* bar_ = nullptr;
  QPointer<QWidget> optionsWindow_;
  QPointer<Form3> printDialog_;
  std::unique_ptr<QPrinter> printer_;
  QString lastExportPath_;
  RunSetup setup_;  // what the lists were last made from
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* refreshTimer_ = nullptr;  // a burst of folder changes makes one refresh
  // What each watched folder was at the last refresh, looked at every few seconds.
  std::vector<std::pair<std::filesystem::path, FolderStamp>> stamps_;
  bool exited_ = false;
  CopyProgressDialog* copying_ = nullptr;  // while a launch copies its game
  bool closeWanted_ = false;               // a close that came during the copy
  PlayMarks* plays_ = nullptr;             // favourites, plays and play time
};

}  // namespace valmerin
