#include "ui/form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>
#include <iostream>

#include "catalogue/archive_scan.h"
#include "catalogue/game_list_export.h"
#include "hosting/path_forms.h"
#include "launch/game_launch.h"
#include "launch/list_selection.h"
#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "ui/artwork.h"
#include "ui/button_bar.h"
#include "ui/copy_progress.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/game_list_view.h"
#include "ui/info_page.h"
#include "ui/keyboard_navigation.h"
#include "ui/play_marks.h"
#include "ui/qt_paths.h"
#include "ui/start_watch.h"
#include "ui/twips.h"
#include "ui/window_fit.h"

namespace valmerin {
namespace {

const QColor kGreen(0, 255, 0);

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Black field, green text: the look of the lists and the game-file field.
void PaintGreenOnBlack(QWidget* widget) {
  QPalette palette = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, Qt::black);
    palette.setColor(group, QPalette::Text, kGreen);
    palette.setColor(group, QPalette::Highlight, QColor(0, 120, 0));
    palette.setColor(group, QPalette::HighlightedText, Qt::white);
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, Qt::black);
  widget->setPalette(palette);
  widget->setFont(CatalogueFont());
}

QString UnstorableDescription() {
  return QStringLiteral(
      "La descrizione contiene caratteri che il file delle descrizioni non "
      "pu\u00f2 conservare: non \u00e8 stata salvata.");
}

// The folder itself, or where it is missing the nearest folder above it: the
// watch there sees the folder made again, which a watch on the folder cannot,
// since removing a folder ends every watch on it.
std::filesystem::path NearestFolder(std::filesystem::path folder) {
  std::error_code error;
  folder = std::filesystem::absolute(folder, error);
  while (!std::filesystem::is_directory(folder, error) && folder.has_relative_path()) {
    folder = folder.parent_path();
  }
  return folder;
}

}  // namespace

Form1::Form1(MainWindowState& state, OptionsModel& options, DialogService& dialogs, QWidget* parent)
    : QWidget(parent),
      state_(state),
      options_(options),
      dialogs_(dialogs),
      printer_(std::make_unique<QPrinter>()) {
  BuildWindow();
  // Created hidden before the start-up sequence fills it; a window of its own,
  // owned by this one.
  optionsWindow_ = new Form2(options_, dialogs_, this);
  RunStartupSequence(state_, options_, *this);
  for (GameListModel* model : models_) model->Reload();
  setup_ = ReadRunSetup();
  BuildListCommands();
  WatchFolders();
  plays_ = new PlayMarks(this, dialogs_, lists_);
  // An emulator that outlived a killed Valmerin, or whose end came during a copy,
  // gives its game's files back here once it has ended.
  auto* finisher = new QTimer(this);
  connect(finisher, &QTimer::timeout, this, &Form1::HandBackEnded);
  finisher->start(2000);
}

Form1::~Form1() = default;

Form3* Form1::PrintDialog() const { return printDialog_.data(); }

void Form1::BuildWindow() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Valmerin"));
  setWindowIcon(WindowIcon());
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, kGreen);
  setPalette(palette);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->setFont(CatalogueFont());
  tabs_->setDocumentMode(false);
  QPalette tabPalette = tabs_->palette();
  tabPalette.setColor(QPalette::Window, QColor(24, 24, 24));
  tabPalette.setColor(QPalette::Button, QColor(40, 40, 40));
  tabPalette.setColor(QPalette::ButtonText, QColor(200, 255, 200));
  tabPalette.setColor(QPalette::WindowText, QColor(200, 255, 200));
  tabPalette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(80, 80, 80));
  tabPalette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(80, 80, 80));
  tabs_->setPalette(tabPalette);

  for (const EmulatorInfo& info : EmulatorTable()) {
    const auto i = static_cast<std::size_t>(info.tabIndex);
    auto* view = new GameListView(tabs_);
    view->setObjectName(FromUtf8(info.gameList));
    PaintGreenOnBlack(view);
    models_[i] = new GameListModel(state_.gameLists[i], view);
    view->setModel(models_[i]);
    const Emulator emulator = info.emulator;
    // The selected entry, not the current one: a list that merely takes the focus
    // makes its first row current without selecting it.
    // A refresh selects the chosen game again in lists out of sight too: only the
    // list on show speaks for the field.
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, emulator, view] {
              if (tabs_->currentWidget() == view) UpdateGameFile(emulator);
            });
    // A press on the entry that is already selected changes nothing above, yet
    // another list may have filled the field since.
    connect(view, &QAbstractItemView::pressed, this,
            [this, emulator] { UpdateGameFile(emulator); });
    connect(view, &GameListView::launchRequested, this, [this, emulator] { Launch(emulator); });
    tabs_->addTab(view, FromUtf8(info.tabCaption));
    lists_[i] = view;
  }
  tabs_->addTab(new InfoPage(tabs_), QStringLiteral("Informazioni"));
  tabs_->setCurrentIndex(kInformationTab);

  auto* label = new QLabel(QStringLiteral("Nome reale del gioco:"), this);
  label->setObjectName(QStringLiteral("Label1"));
  label->setFont(CatalogueFont());
  gameFile_ = new QLineEdit(this);
  gameFile_->setObjectName(QStringLiteral("Text1"));
  gameFile_->setReadOnly(true);
  PaintGreenOnBlack(gameFile_);
  // Black on black needs a drawn edge to be seen as a field.
  gameFile_->setStyleSheet(QStringLiteral(
      "QLineEdit { background: black; color: rgb(0, 255, 0); border: 1px solid rgb(0, 110, 0); }"
      "QLineEdit:focus { border: 1px solid rgb(0, 255, 0); }"));

  bar_ = new ButtonBar(this);
  bar_->setObjectName(QStringLiteral("Brisk1"));
  connect(bar_, &ButtonBar::clicked, this, &Form1::Brisk1_Click);

  auto* fieldRow = new QHBoxLayout;
  fieldRow->setSpacing(4);
  fieldRow->addWidget(label);
  fieldRow->addWidget(gameFile_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 4, 1, 2);
  layout->setSpacing(3);
  layout->addWidget(tabs_, 1);
  layout->addLayout(fieldRow);
  layout->addWidget(bar_);
  FitCaptions(
      tabs_, bar_,
      TwipsToPixels(5310) - layout->contentsMargins().left() - layout->contentsMargins().right());

  new KeyboardNavigation(tabs_, std::vector<QWidget*>(lists_.begin(), lists_.end()), gameFile_,
                         bar_);
  // The window opens on the tab bar, so the arrows pick a tab at once.
  tabs_->tabBar()->setFocus();

  resize(QSize(TwipsToPixels(5310), TwipsToPixels(4455)).expandedTo(minimumSizeHint()));
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = rect();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void Form1::ShowMessage(const std::string& text) { Say(QString::fromStdString(text)); }

void Form1::ShowOptionsWindow() { ShowOptions(); }

void Form1::SwitchOffTab(int tabIndex) { tabs_->setTabEnabled(tabIndex, false); }

void Form1::Say(const QString& text) { dialogs_.Message(this, text); }

void Form1::UpdateGameFile(Emulator list) {
  const auto entry = lists_[static_cast<std::size_t>(IndexOf(list))]->SelectedGame();
  if (!entry) return;
  state_.Text1 = GameFileOf(state_, list, *entry);
  gameFile_->setText(QString::fromStdString(state_.Text1));
  const std::string* inside = GameInsideArchive(state_, list, state_.Text1);
  gameFile_->setToolTip(
      inside ? QStringLiteral("Gioco nell'archivio: %1").arg(QString::fromStdString(*inside))
             : QString());
}

void Form1::Launch(Emulator list) {
  const auto i = static_cast<std::size_t>(IndexOf(list));
  const auto entry = lists_[i]->SelectedGame();
  if (!entry) return;
  if (copying_ != nullptr) return;
  UpdateGameFile(list);
  const std::string file(state_.gameLists[i].File(*entry));
  LaunchOutcome outcome;
  {  // the progress dialog goes before any message, or it would show over it
    const std::string* inside = GameInsideArchive(state_, list, state_.Text1);
    CopyProgressDialog progress(
        this, CopyProgressText(QString::fromStdString(state_.Text1),
                               inside ? QString::fromStdString(*inside) : QString()));
    copying_ = &progress;
    outcome = LaunchGame(state_, list, progress.Callback());
    copying_ = nullptr;
  }
  if (closeWanted_) {
    close();
    return;
  }
  if (!outcome.message.empty()) Say(QString::fromStdString(outcome.message));
  // The play is counted and the game's own files go back under its name once the
  // emulator has ended.
  std::function<void()> counted;
  if (outcome.started && outcome.watch) counted = plays_->Started(list, file);
  WatchStart(this, dialogs_, outcome.commandLine, outcome.notice, std::move(outcome.watch),
             [this, counted = std::move(counted)] {
               if (counted) counted();
               HandBackEnded();
             });
}

void Form1::HandBackEnded() {
  if (const std::string left = state_.copies.FinishEnded(); !left.empty()) {
    Say(QString::fromStdString(left));
  }
}

void Form1::Brisk1_Click(int button) {
  switch (button) {
    case 1:
      ShowOptions();
      break;
    case 2:
      RunEmulatorCommand();
      break;
    case 3:
      ChangeDescription();
      break;
    case 4:
      ShowPrintDialog();
      break;
    case 5:
      ExportGameLists();
      break;
    default:
      break;
  }
}

void Form1::ShowOptions() {
  if (!optionsWindow_) return;
  optionsWindow_->show();
  optionsWindow_->raise();
  optionsWindow_->activateWindow();
}

void Form1::RunEmulatorCommand() {
  const int tab = tabs_->currentIndex();
  LaunchOutcome outcome = RunEmulator(state_, tab);
  WatchStart(this, dialogs_, outcome.commandLine, outcome.notice, std::move(outcome.watch));
  if (!outcome.message.empty()) {
    Say(QString::fromStdString(outcome.message));
  } else if (!outcome.started && tab >= 0 && tab < kEmulatorCount) {
    Say(QStringLiteral("Impossibile avviare l'emulatore:\n%1")
            .arg(QString::fromStdString(outcome.commandLine)));
  }
}

void Form1::ChangeDescription() {
  const int tab = tabs_->currentIndex();
  const auto current = tab >= 0 && tab < kEmulatorCount
                           ? lists_[static_cast<std::size_t>(tab)]->SelectedGame()
                           : std::nullopt;
  if (!current) {
    Say(QStringLiteral("Selezionare prima un gioco in una delle liste."));
    return;
  }
  // The key is the text the entry shows, so a second change chains from the first.
  const std::string key(state_.gameLists[static_cast<std::size_t>(tab)].Shown(*current));
  const auto answer =
      dialogs_.AskText(this, QStringLiteral("Digita la nuova descrizione del gioco"),
                       QStringLiteral("Cambia descrizione"), QString());
  if (!answer) return;
  const std::string description = answer->toStdString();
  switch (CheckDescriptionStorable(key, description)) {
    case DescriptionProblem::None:
      break;
    case DescriptionProblem::EmptyKey:
      Say(
          QStringLiteral("Il gioco selezionato non ha un nome: la descrizione non \u00e8 stata "
                         "salvata."));
      return;
    case DescriptionProblem::LineBreak:
      Say(QStringLiteral("La descrizione non pu\u00f2 andare a capo: non \u00e8 stata salvata."));
      return;
    case DescriptionProblem::Quote:
      Say(
          QStringLiteral("Il file delle descrizioni non pu\u00f2 conservare le virgolette (\") "
                         "di questo nome o di questa descrizione: non \u00e8 stata salvata."));
      return;
    case DescriptionProblem::NotInCodePage:
      Say(UnstorableDescription());
      return;
  }
  const SaveOutcome appended = AppendDescription(key, description);
  switch (appended.result) {
    case SaveResult::Saved:
      ApplyNewDescription(key, description);
      break;
    case SaveResult::Unencodable:
      Say(UnstorableDescription());
      break;
    case SaveResult::WriteFailed:
      Say(QStringLiteral("Impossibile scrivere il file \"%1\": %2. La descrizione non \u00e8 "
                         "stata salvata e il file \u00e8 rimasto com'era.")
              .arg(FromUtf8(kDescriptionsFile), FromUtf8(DescribeFileError(appended.error))));
      break;
  }
}

void Form1::ApplyNewDescription(const std::string& key, const std::string& description) {
  // As the next start reads it: the record comes last, so it changes every entry
  // of every list that shows its key now, and nothing else.
  state_.descriptions.Add(key, description);
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (state_.gameLists[i].ReplaceShown(key, description) > 0) lists_[i]->Reload();
  }
}

void Form1::BuildListCommands() {
  auto* refresh = new QAction(QStringLiteral("Aggiorna elenchi"), this);
  refresh->setObjectName(QStringLiteral("AggiornaElenchi"));
  refresh->setShortcut(QKeySequence(Qt::Key_F5));
  refresh->setShortcutContext(Qt::WindowShortcut);
  connect(refresh, &QAction::triggered, this, &Form1::RefreshGameLists);
  addAction(refresh);
  for (GameListView* view : lists_) {
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    view->addAction(refresh);
  }
  auto* filter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
  connect(filter, &QShortcut::activated, this, [this] {
    const int tab = tabs_->currentIndex();
    if (tab >= 0 && tab < kEmulatorCount) lists_[static_cast<std::size_t>(tab)]->OpenFilter();
  });

  refreshTimer_ = new QTimer(this);
  refreshTimer_->setSingleShot(true);
  refreshTimer_->setInterval(400);
  connect(refreshTimer_, &QTimer::timeout, this, [this] {
    // A copy under way is not yet noted as this run's: a scan now would list it.
    if (copying_ != nullptr) {
      refreshTimer_->start();
      return;
    }
    ApplyRefresh(setup_);
  });
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, refreshTimer_,
          qOverload<>(&QTimer::start));
  // The change notices miss a folder renamed away or replaced by a link, and are
  // not to be had at all once the user's watches are used up: a look at each
  // folder every few seconds catches both.
  auto* folderCheck = new QTimer(this);
  folderCheck->setInterval(2000);
  connect(folderCheck, &QTimer::timeout, this, [this] {
    for (const auto& [folder, stamp] : stamps_) {
      if (!(FolderStampOf(folder) == stamp)) {
        refreshTimer_->start();
        return;
      }
    }
  });
  folderCheck->start();
  if (auto* options = qobject_cast<Form2*>(optionsWindow_.data())) {
    connect(options, &Form2::confirmed, this, [this] {
      const RunSetup setup = ReadRunSetup();
      if (!(setup == setup_)) ApplyRefresh(setup);
    });
  }
}

void Form1::RefreshGameLists() { ApplyRefresh(ReadRunSetup()); }

void Form1::ApplyRefresh(const RunSetup& setup) {
  const RefreshOutcome outcome = RefreshLists(state_, setup);
  for (const EmulatorInfo& info : EmulatorTable()) {
    const auto i = static_cast<std::size_t>(info.tabIndex);
    tabs_->setTabEnabled(info.tabIndex, setup.available[i]);
    if (outcome.listChanged[i]) lists_[i]->Reload();
  }
  setup_ = setup;
  WatchFolders();
}

void Form1::WatchFolders() {
  if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
  stamps_.clear();
  QStringList folders;
  for (int i = 0; i < kEmulatorCount; ++i) {
    if (!setup_.available[static_cast<std::size_t>(i)]) continue;
    const std::filesystem::path host =
        ToHostPath(state_.EmulatorFolder[static_cast<std::size_t>(i)]);
    if (host.empty()) continue;
    stamps_.emplace_back(host, FolderStampOf(host));
    const QString folder = QStringFromPath(NearestFolder(host));
    if (!folders.contains(folder)) folders << folder;
  }
  if (!folders.isEmpty()) watcher_->addPaths(folders);
}

void Form1::ShowPrintDialog() {
  if (!printDialog_) printDialog_ = new Form3(state_, *printer_, dialogs_, this);
  printDialog_->show();
  printDialog_->raise();
  printDialog_->activateWindow();
}

void Form1::ExportGameLists() {
  const auto path = dialogs_.AskSavePath(this, lastExportPath_);
  if (!path) return;
  lastExportPath_ = *path;
  bool unknownAsQuestionMarks = false;
  if (const auto outside = EntriesOutsideCodePage(state_.gameLists); !outside.empty()) {
    constexpr std::size_t kNamed = 10;  // enough to recognise them, not a wall of names
    QString names;
    for (std::size_t i = 0; i < outside.size() && i < kNamed; ++i) {
      names += QStringLiteral("\n  ") + FromUtf8(outside[i]);
    }
    if (outside.size() > kNamed) {
      names += QStringLiteral("\n  ... e altri %1").arg(outside.size() - kNamed);
    }
    if (!dialogs_.AskYesNo(
            this, QStringLiteral("Questi nomi contengono lettere che il file \"%1\" non "
                                 "pu\u00f2 conservare:%2\n\nScrivere la lista con quelle lettere "
                                 "mostrate come \"?\"?")
                      .arg(*path, names))) {
      return;
    }
    unknownAsQuestionMarks = true;
  }
  const SaveOutcome written =
      WriteGameListFile(PathFromQString(*path), state_.gameLists, unknownAsQuestionMarks);
  switch (written.result) {
    case SaveResult::Saved:
      break;
    case SaveResult::Unencodable:
      Say(
          QStringLiteral("Alcuni nomi delle liste contengono caratteri che il file non pu\u00f2 "
                         "conservare: la lista non \u00e8 stata scritta."));
      break;
    case SaveResult::WriteFailed:
      Say(QStringLiteral("Impossibile scrivere il file \"%1\": %2. La lista non \u00e8 stata "
                         "scritta.")
              .arg(*path, FromUtf8(DescribeFileError(written.error))));
      break;
  }
}

void Form1::closeEvent(QCloseEvent* event) {
  // A close during a game copy stops the copy first and then comes back.
  if (copying_ != nullptr) {
    copying_->Stop();
    closeWanted_ = true;
    event->ignore();
    return;
  }
  if (!exited_) {
    exited_ = true;
    plays_->FinishRuns();
    std::string kept;
    for (const std::string& file : RunExitSequence(state_, options_, &kept)) {
      std::cerr << "Valmerin: impossibile scrivere il file \"" << file << "\".\n";
    }
    if (!kept.empty()) Say(QString::fromStdString(kept));
    if (auto* options = qobject_cast<Form2*>(optionsWindow_.data())) options->CloseForExit();
    if (printDialog_) printDialog_->close();
  }
  event->accept();
}

}  // namespace valmerin
