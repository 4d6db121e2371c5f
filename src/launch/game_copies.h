#pragma once
// The one owner of what a run puts under the copy names: each launch's game copy
// and the game's own files lent beside it, mirrored in the copy journal before any
// of them appears, given back when the emulator ends, and finished by the next
// start when a run was killed.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/emulator_table.h"
#include "launch/copy_journal.h"
#include "platform/child_watch.h"
#include "platform/file_io.h"

namespace valmerin {

// Ends every message of a launch that started nothing.
inline constexpr std::string_view kNotStarted = " L'emulatore non è stato avviato.";

struct GameCopyRequest {
  Emulator emulator = Emulator::ZSnes;
  std::string gameText;  // folder text + game name, for messages
  std::string copyText;  // folder text + copy name, for messages
  std::filesystem::path game;  // host paths
  std::filesystem::path copy;
  std::string inside;  // the game inside the archive `game`; empty for a bare ROM
  std::vector<std::filesystem::path> folders;  // where the game's own files live, its own first
  std::function<bool(std::string_view)> isGame;  // a name of the emulator's list
};

class GameCopies {
 public:
  // At start, before anything looks at those names: each journalled run that is
  // ours (its copy or a lent file still the very file we made, in one of
  // `emulatorFolders`) is finished, or kept while its emulator still runs; our
  // temporaries that no running Valmerin owns go, in the data folder and in the
  // emulator folders the journal names. Anything else in the journal is ignored. Returns what could not be given back, for the user, or "".
  std::string Recover(const std::vector<std::filesystem::path>& emulatorFolders);

  // Every run whose emulator has ended gives its files back and loses its copy
  // (none while a launch is being prepared: the next call does it). Returns what
  // could not be given back, for the user, or "".
  std::string FinishEnded();

  // Why the launch may not go ahead (the emulator still runs a game on those
  // names), or nothing.
  std::optional<std::string> Busy(const GameCopyRequest& request) const;

  // Moves unknown files at the copy names aside (`notice` says which), makes the
  // copy and lends the game's files. Why it failed, or nothing; a failure leaves
  // nothing of ours.
  std::optional<std::string> Prepare(const GameCopyRequest& request, const CopyProgress& progress,
                                     std::string& notice);

  // After Prepare: the started emulator, watched for its end; nothing when it did
  // not start, and then what Prepare made goes.
  void Started(Emulator emulator, std::shared_ptr<ChildWatch> watch);
  void NotStarted(Emulator emulator);

  // The copy of the emulator's game while it is out.
  std::optional<std::filesystem::path> CopyOf(Emulator emulator) const;

 private:
  struct Run {
    JournalRun journal;
    std::shared_ptr<ChildWatch> watch;  // none for one an earlier Valmerin left
    bool ended = false;  // its emulator has gone, but the copy could not be removed yet
  };
  bool HasEnded(Run& run) const;
  std::string Finish(std::size_t index);
  FileResult Note() const;
  bool Ours(const std::filesystem::path& path) const;

  std::vector<Run> runs_;
  // While a launch is being prepared (its copy may show progress and let the
  // window's timers run), no run is finished under it.
  bool preparing_ = false;
};

}  // namespace valmerin
