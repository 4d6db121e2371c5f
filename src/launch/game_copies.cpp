#include "launch/game_copies.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "catalogue/copy_names.h"
#include "launch/game_source.h"
#include "launch/save_handback.h"
#include "platform/file_identity.h"
#include "platform/folder_listing.h"
#include "platform/process_probe.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return a == b || fs::equivalent(a, b, error);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// Temporaries of ours whose writer is gone: in the data folder any, in the
// emulator folders only those of copy names.
void SweepTemporaries(const fs::path& folder, bool onlyCopyNames) {
  std::vector<fs::path> orphans;
  ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
    if (!entry.regularFile || !IsTemporaryName(entry.name)) return;
    if (onlyCopyNames && !IsCopyName(entry.name)) return;
    const std::optional<std::uint64_t> owner = TemporaryOwner(entry.name);
    if (owner && !ValmerinRuns(*owner)) orphans.push_back(folder / PathFromUtf8(entry.name));
  });
  for (const fs::path& orphan : orphans) DeleteRegularFile(orphan);
}

// A data folder we may not write to (a CD, a shared folder, a catalogue unpacked
// read-only) refuses every launch: tell the user why and what to do.
std::string ReadOnlyDataFolderAdvice() {
  std::error_code error;
  return " La cartella dei dati (" + Utf8FromPath(fs::current_path(error)) +
         ") non si può scrivere: Valmerin annota lì ogni copia prima di farla, per poterla "
         "togliere anche dopo un'interruzione. Renderla scrivibile, oppure copiare il catalogo "
         "in una cartella propria e avviare Valmerin da lì.";
}

std::string NoteFailure(const FileResult& noted) {
  std::string text = "Impossibile annotare la copia del gioco nel file \"" +
                     std::string(kCopyJournalFile) +
                     "\": " + std::string(DescribeFileError(noted.error)) + ".";
  if (noted.error == FileError::Permission || noted.error == FileError::ReadOnly) {
    text += ReadOnlyDataFolderAdvice();
  }
  return text + std::string(kNotStarted);
}

std::string CopyFailure(FileError error, const GameCopyRequest& request) {
  const std::string into = "Impossibile copiare il gioco in \"" + request.copyText + "\": ";
  switch (error) {
    case FileError::Cancelled:
      return "Copia del gioco annullata." + std::string(kNotStarted);
    case FileError::Missing:
      return into + "il gioco \"" + request.gameText + "\" o la cartella non esistono più." +
             std::string(kNotStarted);
    case FileError::Permission:
    case FileError::Unreadable:
      // Either side may be the one refused: say which.
      if (ExistsButUnreadable(request.game)) {
        return "Impossibile leggere il gioco \"" + request.gameText + "\": " +
               std::string(DescribeFileError(FileError::Unreadable)) +
               " (permesso negato). Nessuna copia è stata fatta." + std::string(kNotStarted);
      }
      return "Impossibile scrivere la copia del gioco \"" + request.copyText +
             "\": " + std::string(DescribeFileError(error)) + "." + std::string(kNotStarted);
    default:
      return into + std::string(DescribeFileError(error)) + "." + std::string(kNotStarted);
  }
}

// What stands at the copy's name when it is not a file: a launch never replaces it.
std::optional<std::string> Obstacle(const GameCopyRequest& request) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(request.copy, error);
  if (!fs::exists(status) || fs::is_regular_file(status)) return std::nullopt;
  const std::string what = fs::is_symlink(status)     ? "un collegamento"
                           : fs::is_directory(status) ? "una cartella"
                                                      : "un file speciale";
  return "Impossibile copiare il gioco in \"" + request.copyText + "\": al suo posto c'è " + what +
         ", che Valmerin non tocca. Spostarlo o rinominarlo, poi riprovare." +
         std::string(kNotStarted);
}

std::string MovedAsideNotice(const fs::path& folder,
                             const std::vector<std::pair<std::string, std::string>>& moved) {
  std::string text = "Nella cartella \"" + Utf8FromPath(folder) +
                     "\" c'erano file con il nome della copia che Valmerin non ha creato: "
                     "appartengono a un gioco sconosciuto e sono stati rinominati.";
  for (const auto& [from, to] : moved) text += "\n\"" + from + "\" → \"" + to + "\"";
  return text;
}

// The game copy, made under a temporary, synced, noted by its file number and only
// then renamed to its name: after a crash the journal still knows it.
ExtractResult MakeGameCopy(const GameCopyRequest& request, const CopyProgress& progress,
                           const std::function<FileResult(const std::string&)>& note) {
  const fs::path made = TemporaryNameFor(request.copy);
  const ExtractResult copied =
      request.inside.empty()
          ? ExtractResult{CopyFileAtomically(request.game, made, TemporaryNameFor(request.copy),
                                             progress)
                              .error,
                          {}}
          : TakeOutOfArchive(request.game, request.gameText, request.inside, made,
                             TemporaryNameFor(request.copy), progress);
  if (!copied) return copied;
  FileError error = FlushFile(made) ? FileError::None : FileError::Other;
  if (error == FileError::None) {
    const FileResult noted = note(FileNumber(made));
    if (!noted) error = noted.error;
  }
  if (error == FileError::None) error = MoveIntoPlace(made, request.copy);
  if (error != FileError::None) RemoveTemporaryFile(made);
  return {error, {}};
}

}  // namespace

FileResult GameCopies::Note() const {
  std::vector<JournalRun> runs;
  for (const Run& run : runs_) runs.push_back(run.journal);
  return WriteCopyJournal(runs);
}

bool GameCopies::Ours(const fs::path& path) const {
  const std::string text = Utf8FromPath(path);
  return std::ranges::any_of(runs_, [&](const Run& run) {
    return EqualsIgnoringCase(run.journal.copy, text) ||
           std::ranges::any_of(run.journal.lent, [&](const LentFile& lent) {
             return EqualsIgnoringCase(lent.path, text);
           });
  });
}

std::string GameCopies::Recover(const std::vector<fs::path>& emulatorFolders) {
  std::vector<std::string> problems;
  const auto inEmulatorFolder = [&](const fs::path& path) {
    return std::ranges::any_of(emulatorFolders, [&](const fs::path& folder) {
      return SameFolder(path.parent_path(), folder);
    });
  };
  runs_.clear();
  // Our temporaries at copy names appear only after the journal named the copy, so
  // only the folders it names are looked through: listing every emulator folder
  // would cost each start as much as the scan.
  std::vector<fs::path> swept;
  const auto sweep = [&](const fs::path& folder) {
    if (std::ranges::none_of(swept, [&](const fs::path& f) { return SameFolder(f, folder); }))
      swept.push_back(folder);
  };
  for (JournalRun& journalled : ReadCopyJournal()) {
    const fs::path copy = PathFromUtf8(journalled.copy);
    // Only a copy name in one of this run's emulator folders, still the very file
    // we made (or a lent file that still is), can be ours.
    if (journalled.emulator < 0 || journalled.emulator >= kEmulatorCount ||
        !IsCopyName(Utf8FromPath(copy.filename())) || !inEmulatorFolder(copy)) {
      continue;
    }
    sweep(copy.parent_path());  // a copy cut off half-way is ours whatever the line says
    const bool ours = StillTheFile(journalled.identity, copy) ||
                      std::ranges::any_of(journalled.lent, [](const LentFile& lent) {
                        return StillTheFile(lent.identity, PathFromUtf8(lent.path));
                      });
    if (!ours) continue;
    for (const std::string& folder : journalled.folders) sweep(PathFromUtf8(folder));
    runs_.push_back({std::move(journalled), nullptr, false});
  }
  // One whose emulator outlived the killed Valmerin is finished once it ends.
  if (const std::string left = FinishEnded(); !left.empty()) problems.push_back(left);
  Note();
  SweepTemporaries(fs::current_path(), false);
  for (const fs::path& folder : swept) SweepTemporaries(folder, true);
  return Joined(problems);
}

bool GameCopies::HasEnded(Run& run) const {
  if (run.ended) return true;
  if (run.watch) return run.watch->Poll().has_value();
  const fs::path copy = PathFromUtf8(run.journal.copy);
  return !ProgramRunsOn(copy.parent_path(), Utf8FromPath(copy.filename())).value_or(true);
}

std::string GameCopies::FinishEnded() {
  if (preparing_) return {};
  std::vector<std::string> problems;
  for (std::size_t i = runs_.size(); i-- > 0;) {
    if (!HasEnded(runs_[i])) continue;
    if (const std::string left = Finish(i); !left.empty()) problems.push_back(left);
  }
  return Joined(problems);
}

std::optional<std::string> GameCopies::Busy(const GameCopyRequest& request) const {
  const std::string stem(StemOf(Utf8FromPath(request.copy.filename())));
  for (const Run& out : runs_) {
    const JournalRun& run = out.journal;
    if (out.ended) continue;
    const bool sameNames =
        run.emulator == IndexOf(request.emulator) ||
        (EqualsIgnoringCase(StemOf(Utf8FromPath(PathFromUtf8(run.copy).filename())), stem) &&
         std::ranges::any_of(run.folders, [&](const std::string& folder) {
           return std::ranges::any_of(request.folders, [&](const fs::path& wanted) {
             return SameFolder(PathFromUtf8(folder), wanted);
           });
         }));
    if (!sameNames) continue;
    const Emulator running = kTabOrder[static_cast<std::size_t>(run.emulator)];
    return std::string(InfoOf(running).name) + " sta ancora eseguendo il gioco \"" +
           Utf8FromPath(PathFromUtf8(run.game).filename()) +
           "\": chiudere l'emulatore prima di avviare un altro gioco, perché i due giochi "
           "userebbero gli stessi file di salvataggio." +
           std::string(kNotStarted);
  }
  return std::nullopt;
}

std::optional<std::string> GameCopies::Prepare(const GameCopyRequest& request,
                                               const CopyProgress& progress, std::string& notice) {
  struct Preparing {
    bool& flag;
    ~Preparing() { flag = false; }
  } preparing{preparing_ = true};
  if (std::optional<std::string> obstacle = Obstacle(request)) return obstacle;
  const std::string copyStem(StemOf(Utf8FromPath(request.copy.filename())));
  const std::string gameStem(StemOf(Utf8FromPath(request.game.filename())));
  for (const fs::path& folder : request.folders) {
    // The game itself and its own files may share the copy's stem ("Gioco.fig.smc").
    const auto moved = MoveAsideForeign(folder, copyStem, [&](const fs::path& path) {
      const std::string name = Utf8FromPath(path.filename());
      return Ours(path) || HasStem(name, gameStem) || request.isGame(name);
    });
    if (!moved.empty()) notice += (notice.empty() ? "" : "\n\n") + MovedAsideNotice(folder, moved);
  }
  // An earlier copy of ours that the system will not let go is still in use.
  if (AnythingAt(request.copy) && Ours(request.copy)) {
    return "Impossibile copiare il gioco in \"" + request.copyText +
           "\": la copia del gioco precedente è ancora in uso da un programma (forse "
           "l'emulatore è ancora aperto)." +
           std::string(kNotStarted);
  }
  // Something at the copy's name that could not be moved aside stays the user's.
  if (AnythingAt(request.copy)) {
    return "Nella cartella dell'emulatore c'è già un file \"" + request.copyText +
           "\" che Valmerin non ha creato e che non si è potuto rinominare: spostarlo, poi "
           "riprovare." +
           std::string(kNotStarted);
  }

  Run run;
  run.journal.emulator = IndexOf(request.emulator);
  run.journal.started = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  run.journal.copy = Utf8FromPath(request.copy);
  run.journal.game = Utf8FromPath(request.game);
  for (const fs::path& folder : request.folders) {
    run.journal.folders.push_back(Utf8FromPath(folder));
    for (LentFile& lent : FilesToLend(folder, gameStem, copyStem, request.isGame)) {
      if (!AnythingAt(PathFromUtf8(lent.path))) run.journal.lent.push_back(std::move(lent));
    }
  }
  runs_.push_back(std::move(run));
  const std::size_t index = runs_.size() - 1;
  const auto drop = [this, index] {
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(index));
    Note();
  };
  // Every name is in the journal before anything appears under it.
  if (const FileResult noted = Note(); !noted) {
    drop();
    return NoteFailure(noted);
  }
  const ExtractResult copied = MakeGameCopy(request, progress, [&](const std::string& number) {
    runs_[index].journal.identity = number;
    return Note();
  });
  if (!copied) {
    drop();
    if (!copied.why.empty()) return copied.why + std::string(kNotStarted);
    return CopyFailure(copied.error, request);
  }
  JournalRun& made = runs_[index].journal;
  made.identity = FileIdentity(request.copy);
  for (LentFile& lent : made.lent) {
    const fs::path to = PathFromUtf8(lent.path);
    // A file that cannot be lent is only missing to the emulator; the original stays.
    if (CopyFileAtomically(PathFromUtf8(lent.original), to, TemporaryNameFor(to))) {
      lent.identity = FileIdentity(to);
    }
  }
  if (const FileResult noted = Note(); !noted) {
    NotStarted(request.emulator);
    return NoteFailure(noted);
  }
  return std::nullopt;
}

void GameCopies::Started(Emulator emulator, std::shared_ptr<ChildWatch> watch) {
  for (Run& run : runs_) {
    if (run.journal.emulator == IndexOf(emulator) && !run.ended && !run.watch) {
      run.watch = std::move(watch);
      return;
    }
  }
}

void GameCopies::NotStarted(Emulator emulator) {
  const auto run = std::ranges::find_if(runs_, [&](const Run& r) {
    return r.journal.emulator == IndexOf(emulator) && !r.watch && !r.ended;
  });
  if (run == runs_.end()) return;
  // Nothing ran: what we lent is as we made it, and goes with the copy.
  for (const LentFile& lent : run->journal.lent) {
    if (StillTheFile(lent.identity, PathFromUtf8(lent.path)))
      DeleteRegularFile(PathFromUtf8(lent.path));
  }
  if (StillTheFile(run->journal.identity, PathFromUtf8(run->journal.copy))) {
    DeleteRegularFile(PathFromUtf8(run->journal.copy));
  }
  runs_.erase(run);
  Note();
}

std::string GameCopies::Finish(std::size_t index) {
  const JournalRun& run = runs_[index].journal;
  const std::vector<std::string> problems = HandBack(run);
  const fs::path copy = PathFromUtf8(run.copy);
  std::string text;
  if (!problems.empty()) {
    text = "Alcuni file del gioco \"" + Utf8FromPath(PathFromUtf8(run.game).filename()) +
           "\" non sono tornati al loro posto:\n" + Joined(problems);
  }
  // A copy the system will not let go yet (held on Windows) is tried again later.
  if (!StillTheFile(run.identity, copy) || DeleteRegularFile(copy)) {
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(index));
  } else {
    runs_[index].ended = true;
  }
  Note();
  return text;
}

std::optional<fs::path> GameCopies::CopyOf(Emulator emulator) const {
  for (const Run& run : runs_) {
    if (run.journal.emulator == IndexOf(emulator)) return PathFromUtf8(run.journal.copy);
  }
  return std::nullopt;
}

}  // namespace valmerin
