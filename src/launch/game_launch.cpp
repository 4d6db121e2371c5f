#include "launch/game_launch.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "catalogue/copy_names.h"
#include "hosting/path_forms.h"
#include "hosting/program_start.h"
#include "launch/game_source.h"
#include "launch/launch_parameters.h"
#include "platform/file_io.h"
#include "platform/host_path.h"
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

const StartRow& RowOf(const std::array<StartRow, kEmulatorCount>& table, Emulator emulator) {
  return *std::find_if(table.begin(), table.end(),
                       [emulator](const StartRow& row) { return row.emulator == emulator; });
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

// A listed game is reached by its own name in its own folder, whatever it holds:
// a "\" or ".." in a file name is part of the name, never a way out of the folder.
std::filesystem::path GameFileIn(const std::filesystem::path& hostFolder, const std::string& name) {
  return FindInFolder(hostFolder, name).value_or(hostFolder / PathFromUtf8(name));
}

LaunchOutcome NotStarted(std::string message) {
  LaunchOutcome outcome;
  outcome.message = std::move(message);
  return outcome;
}


// A folder as the system names it, the same for every spelling of one folder text.
std::filesystem::path HostFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::path host = std::filesystem::absolute(ToHostPath(folder), error);
  host = host.lexically_normal();
  if (!host.has_filename()) host = host.parent_path();
  return host;
}

// Where the emulator keeps the game's files: its own folder, and for NESticle the
// save and snapshot folders its switches name (relative ones from its folder).
std::vector<std::filesystem::path> GameFileFolders(Emulator emulator,
                                                   const std::filesystem::path& folder,
                                                   const std::vector<std::string>& arguments) {
  std::vector<std::filesystem::path> folders{folder};
  if (emulator != Emulator::NESticle) return folders;
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (!EqualsIgnoringCase(arguments[i], "-savedir") && !EqualsIgnoringCase(arguments[i], "-pcxdir"))
      continue;
    std::filesystem::path named = ToHostPath(arguments[i + 1]);
    if (named.is_relative()) named = folder / named;
    named = HostFolder(Utf8FromPath(named));
    std::error_code error;
    if (!std::filesystem::is_directory(named, error)) continue;
    if (std::ranges::none_of(folders, [&](const std::filesystem::path& known) {
          return std::filesystem::equivalent(known, named, error);
        })) {
      folders.push_back(named);
    }
  }
  return folders;
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

  // A game inside an archive is copied under its own name's ending.
  const GameSource game = GameSourceOf(state, emulator);
  const std::string copy = folder + CopyNameFor(game.NameForCopy());
  const std::string source = folder + state.Text1;

  if (IsCopyName(state.Text1)) {
    return NotStarted("Il gioco \"" + source +
                      "\" ha il nome che Valmerin dà alle copie dei giochi: rinominarlo, poi "
                      "riprovare." +
                      std::string(kNotStarted));
  }
  const std::filesystem::path hostFolder = HostFolder(folder);
  const std::filesystem::path sourceFile = GameFileIn(hostFolder, state.Text1);
  if (!IsRegularFile(sourceFile)) {
    return NotStarted("Impossibile copiare il gioco: il file \"" + source + "\" non esiste." +
                      std::string(kNotStarted));
  }
  const std::vector<std::string> switchArguments = SplitSwitchString(switches);
  const GameList& list = state.gameLists[IndexOf(emulator)];
  GameCopyRequest request;
  request.emulator = emulator;
  request.gameText = source;
  request.copyText = copy;
  request.game = sourceFile;
  request.copy = hostFolder / PathFromUtf8(CopyNameFor(game.NameForCopy()));
  request.inside = game.inside;
  request.folders = GameFileFolders(emulator, hostFolder, switchArguments);
  request.isGame = [&list](std::string_view name) { return list.FindFile(name).has_value(); };
  std::string moved = state.copies.FinishEnded();
  if (std::optional<std::string> busy = state.copies.Busy(request)) {
    LaunchOutcome outcome = NotStarted(std::move(*busy));
    outcome.notice = moved;
    return outcome;
  }
  if (std::optional<std::string> why = state.copies.Prepare(request, progress, moved)) {
    LaunchOutcome outcome = NotStarted(std::move(*why));
    if (!moved.empty()) outcome.message = moved + "\n\n" + outcome.message;
    return outcome;
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
  for (const std::string& argument : switchArguments) arguments.push_back(argument);
  if (!row.beforeGame.empty()) {
    commandLine += std::string(row.beforeGame) + " ";
    arguments.emplace_back(row.beforeGame);
  }
  commandLine += copy;
  pathArguments.push_back(arguments.size());
  arguments.push_back(copy);

  LaunchOutcome outcome =
      Start(folder + std::string(row.program), arguments, std::move(commandLine), pathArguments);
  if (outcome.started) {
    state.copies.Started(emulator, outcome.watch);
  } else {
    state.copies.NotStarted(emulator);
  }
  if (!moved.empty()) outcome.notice = moved + (outcome.notice.empty() ? "" : "\n\n") + outcome.notice;
  return outcome;
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
