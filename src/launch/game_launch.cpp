#include "launch/game_launch.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "launch/copy_journal.h"
#include "launch/launch_parameters.h"
#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/process.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

// How each emulator is started. The literals keep their letter case: the launch
// and the plain run spell some program names differently, and each keeps its own.
struct StartRow {
  Emulator emulator;
  std::string_view program;        // started from the emulator's folder
  std::string_view hostedProgram;  // NESticle runs under the DOS extender
  std::string_view beforeGame;     // NESticle's switch that takes the game
};

constexpr std::array<StartRow, kEmulatorCount> kLaunchTable = {{
    {Emulator::ZSnes, "ZSnes.exe", "", ""},
    {Emulator::KGen, "KGen98.exe", "", ""},
    {Emulator::NESticle, "Dos4GW.exe", "NESticle.exe", "-run"},
    {Emulator::MagicEngine, "PCE.exe", "", ""},
}};

constexpr std::array<StartRow, kEmulatorCount> kRunTable = {{
    {Emulator::ZSnes, "ZSnes.exe", "", ""},
    {Emulator::KGen, "Kgen98.exe", "", ""},
    {Emulator::NESticle, "Dos4gw.exe", "NESticle.exe", ""},
    {Emulator::MagicEngine, "PCE.exe", "", ""},
}};

constexpr std::string_view kCopyStem = "Gioco.";

const StartRow& RowOf(const std::array<StartRow, kEmulatorCount>& table, Emulator emulator) {
  return *std::find_if(table.begin(), table.end(),
                       [emulator](const StartRow& row) { return row.emulator == emulator; });
}

// The last `count` characters of UTF-8 text (the whole text when shorter).
std::string LastCharacters(std::string_view text, int count) {
  std::size_t start = text.size();
  while (count > 0 && start > 0) {
    --start;
    // Continuation bytes belong to the character that starts before them.
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) --count;
  }
  return std::string(text.substr(start));
}

std::string StartFailureMessage(const StartOutcome& outcome, const std::string& program) {
  if (!outcome.error.empty()) return outcome.error;
  return "Impossibile avviare \"" + program + "\".";
}

LaunchOutcome Start(const std::string& program, const std::vector<std::string>& arguments,
                    std::string commandLine, const PathArguments& pathArguments) {
  LaunchOutcome outcome;
  outcome.commandLine = std::move(commandLine);
  StartOutcome started = StartProgram(program, arguments, pathArguments);
  outcome.started = started.started;
  if (!started.started) outcome.message = StartFailureMessage(started, program);
  outcome.notice = std::move(started.notice);
  outcome.watch = std::move(started.watch);
  return outcome;
}

// Whether the game file already is the copy: then it runs in place and is not ours
// to delete.
bool IsSameFile(const std::filesystem::path& source, const std::filesystem::path& copy) {
  if (source == copy) return true;
  std::error_code error;
  return std::filesystem::equivalent(source, copy, error);
}
bool IsSameFile(const std::string& sourceText, const std::string& copyText) {
  return sourceText == copyText || IsSameFile(ToHostPath(sourceText), ToHostPath(copyText));
}

// A listed game is reached by its own name in its own folder, whatever it holds:
// a "\" or ".." in a file name is part of the name, never a way out of the folder.
std::filesystem::path GameFileIn(const std::string& folder, const std::string& name) {
  return ToHostPath(folder) / PathFromUtf8(name);
}

// One copy name in any letter case, or spelt as the host path it maps to, is the
// same copy: the name lookup ignores case too.
bool SameCopy(const std::string& made, const std::string& copy) {
  return EqualsIgnoringCase(made, copy) || IsSameFile(made, copy);
}

void ForgetCopy(MainWindowState& state, Emulator emulator, const std::string& path) {
  std::erase_if(state.copiesMade, [&](const std::string& made) { return SameCopy(made, path); });
  if (SameCopy(state.gameCopy[IndexOf(emulator)], path)) state.gameCopy[IndexOf(emulator)].clear();
}

void RememberCopy(MainWindowState& state, Emulator emulator, const std::string& path) {
  state.gameCopy[IndexOf(emulator)] = path;
  std::erase_if(state.copiesMade, [&](const std::string& made) { return SameCopy(made, path); });
  state.copiesMade.push_back(path);
}

bool MadeThisRun(const MainWindowState& state, const std::string& copy) {
  return std::ranges::any_of(state.copiesMade,
                             [&](const std::string& made) { return SameCopy(made, copy); });
}

LaunchOutcome NotStarted(std::string message) {
  LaunchOutcome outcome;
  outcome.message = std::move(message);
  return outcome;
}

constexpr std::string_view kNotStarted = " L'emulatore non è stato avviato.";

// A data folder we may not write to (a CD, a shared folder, a catalogue unpacked
// read-only) refuses every launch: tell the user why and what to do.
std::string ReadOnlyDataFolderAdvice() {
  std::error_code error;
  return " La cartella dei dati (" + Utf8FromPath(std::filesystem::current_path(error)) +
         ") non si può scrivere: Valmerin annota lì ogni copia prima di farla, per poterla "
         "togliere anche dopo un'interruzione. Renderla scrivibile, oppure copiare il catalogo "
         "in una cartella propria e avviare Valmerin da lì.";
}

// Why a copy could not be made, or nothing when it was. The copy is journalled
// before it is made, so a run killed half-way leaves nothing the next start keeps.
std::optional<std::string> CopyGame(const std::filesystem::path& sourceFile,
                                    const std::string& source, const std::string& copy,
                                    const CopyProgress& progress) {
  const std::string notStarted(kNotStarted);
  const auto notNoted = [&notStarted](const FileResult& noted) {
    std::string text = "Impossibile annotare la copia del gioco nel file \"" +
                       std::string(kCopyJournalFile) +
                       "\": " + std::string(DescribeFileError(noted.error)) + ".";
    if (noted.error == FileError::Permission || noted.error == FileError::ReadOnly) {
      text += ReadOnlyDataFolderAdvice();
    }
    return text + notStarted;
  };
  const std::filesystem::path to = ToHostPath(copy);
  const std::filesystem::path temporary = TemporaryNameFor(to);
  if (const FileResult noted = JournalCopyStarting(temporary, to); !noted) return notNoted(noted);
  const FileResult copied = CopyFileAtomically(sourceFile, to, temporary, progress);
  if (!copied) JournalCopyDropped(temporary);
  switch (copied.error) {
    case FileError::None:
      // A copy the journal does not know would be taken for the user's own file
      // after a killed run: it goes at once instead.
      if (const FileResult noted = JournalCopyMade(temporary, to); !noted) {
        DeleteRegularFile(to);
        return notNoted(noted);
      }
      return std::nullopt;
    case FileError::Cancelled:
      return "Copia del gioco annullata." + notStarted;
    case FileError::NotRegular:
      if (std::error_code error; std::filesystem::is_directory(to, error)) {
        return "Impossibile copiare il gioco in \"" + copy + "\": al suo posto c'è una cartella." +
               notStarted;
      }
      return "Impossibile copiare il gioco in \"" + copy +
             "\": al suo posto c'è un collegamento o un file speciale, che Valmerin non tocca." +
             notStarted;
    case FileError::Missing:
      return "Impossibile copiare il gioco in \"" + copy + "\": il gioco \"" + source +
             "\" o la cartella non esistono più." + notStarted;
    case FileError::Permission:
    case FileError::Unreadable:
      // Either side may be the one refused: say which.
      if (ExistsButUnreadable(sourceFile)) {
        return "Impossibile leggere il gioco \"" + source + "\": " +
               std::string(DescribeFileError(FileError::Unreadable)) +
               " (permesso negato). Nessuna copia è stata fatta." + notStarted;
      }
      return "Impossibile scrivere la copia del gioco \"" + copy +
             "\": " + std::string(DescribeFileError(copied.error)) + "." + notStarted;
    default:
      return "Impossibile copiare il gioco in \"" + copy +
             "\": " + std::string(DescribeFileError(copied.error)) + "." + notStarted;
  }
}

}  // namespace

LaunchOutcome LaunchGame(MainWindowState& state, Emulator emulator, const CopyProgress& progress) {
  const StartRow& row = RowOf(kLaunchTable, emulator);
  const std::string& folder = state.EmulatorFolder[IndexOf(emulator)];
  const std::string switches = ReadSwitchString(emulator);

  if (state.Text1.empty()) {
    return NotStarted("Nessun gioco selezionato: scegliere prima un gioco dalla lista.");
  }
  // Only a file the scan listed is copied: a name that came from anywhere else
  // (a description key such as "../../x") could reach outside the folder.
  if (!state.gameLists[IndexOf(emulator)].FindFile(state.Text1)) {
    return NotStarted("Il gioco \"" + state.Text1 + "\" non è nella lista di " +
                      std::string(InfoOf(emulator).name) +
                      ": aggiornare gli elenchi (F5) e riprovare." + std::string(kNotStarted));
  }

  const std::string copy = folder + std::string(kCopyStem) + LastCharacters(state.Text1, 3);
  const std::string source = folder + state.Text1;
  const std::filesystem::path sourceFile = GameFileIn(folder, state.Text1);

  if (!IsRegularFile(sourceFile)) {
    return NotStarted("Impossibile copiare il gioco: il file \"" + source + "\" non esiste." +
                      std::string(kNotStarted));
  }
  if (IsSameFile(sourceFile, ToHostPath(copy))) {
    ForgetCopy(state, emulator, copy);
  } else if (IsRegularFile(ToHostPath(copy)) && !MadeThisRun(state, copy)) {
    // A file of that name that this run did not make may be the user's own game:
    // overwriting it, and deleting it at exit, would lose it.
    return NotStarted("Nella cartella dell'emulatore c'è già un file \"" + copy +
                      "\" che Valmerin non ha creato: potrebbe essere un gioco. Rinominarlo o "
                      "spostarlo, poi riprovare." +
                      std::string(kNotStarted));
  } else if (std::optional<std::string> why = CopyGame(sourceFile, source, copy, progress)) {
    return NotStarted(std::move(*why));
  } else {
    RememberCopy(state, emulator, copy);
  }

  // The designed command line, parts joined with nothing in between (every switch
  // piece already ends with a blank).
  std::string commandLine = folder + std::string(row.program) + " ";
  std::vector<std::string> arguments;
  PathArguments pathArguments;
  if (!row.hostedProgram.empty()) {
    commandLine += folder + std::string(row.hostedProgram) + " ";
    pathArguments.push_back(arguments.size());
    arguments.push_back(folder + std::string(row.hostedProgram));
  }
  commandLine += switches;
  for (std::string& argument : SplitSwitchString(switches))
    arguments.push_back(std::move(argument));
  if (!row.beforeGame.empty()) {
    commandLine += std::string(row.beforeGame) + " ";
    arguments.emplace_back(row.beforeGame);
  }
  commandLine += copy;
  pathArguments.push_back(arguments.size());
  arguments.push_back(copy);

  return Start(folder + std::string(row.program), arguments, std::move(commandLine), pathArguments);
}

LaunchOutcome RunEmulator(const MainWindowState& state, int tabIndex) {
  if (tabIndex < 0 || tabIndex >= kEmulatorCount) return {};
  const Emulator emulator = kTabOrder[tabIndex];
  const StartRow& row = RowOf(kRunTable, emulator);
  const std::string& folder = state.EmulatorFolder[IndexOf(emulator)];

  std::string commandLine = folder + std::string(row.program);
  std::vector<std::string> arguments;
  PathArguments pathArguments;
  if (!row.hostedProgram.empty()) {
    pathArguments.push_back(arguments.size());
    arguments.push_back(folder + std::string(row.hostedProgram));
    commandLine += " " + arguments.back();
  }
  return Start(folder + std::string(row.program), arguments, std::move(commandLine), pathArguments);
}

}  // namespace valmerin
