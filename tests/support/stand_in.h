#pragma once
// Stand-in emulators for launch tests: small programs that write the arguments
// they got, each ended by a separator (NUL unless told, so that an argument holding
// a line break stays one), and the waits for them to start and to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "catalogue/main_window_state.h"
#include "launch/game_launch.h"
#include "platform/process_probe.h"
#include "platform/utf8.h"
#include "support/bytes.h"
#include "support/started_programs.h"

namespace valmerin::testing {

#ifndef _WIN32
// `separator` as printf spells it.
inline void MakeStandIn(const std::filesystem::path& program,
                        const std::string& separator = "\\000") {
  WriteProgram(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s" + separator +
                            "' \"$a\"; done > \"$0.args.part\"\nmv \"$0.args.part\" \"$0.args\"\n");
}

// The stand-in started in `folder` on `copy` has ended (an emulator still running
// keeps its game's files out). False when it still ran after five seconds.
inline bool ProgramEnded(const std::filesystem::path& folder, std::string_view copy) {
  return WaitUntil([&] { return !ProgramRunsOn(folder, copy).value_or(true); });
}
#endif

// The arguments the stand-in at `program` received, once it has written them.
inline std::optional<std::vector<std::string>> ArgumentsOf(
    const std::filesystem::path& program,
    std::chrono::milliseconds patience = std::chrono::seconds(5), char separator = '\0') {
  std::filesystem::path written = program;
  written += ".args";
  if (!WaitUntil([&] { return std::filesystem::exists(written); },
                 static_cast<int>(patience / std::chrono::milliseconds(25)))) {
    return std::nullopt;
  }
  const std::string bytes = ReadBytes(written);
  std::vector<std::string> arguments;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find(separator, start)) != std::string::npos;
       start = end + 1) {
    arguments.push_back(bytes.substr(start, end - start));
    // One a line, as a Windows program may write them.
    if (separator == '\n' && arguments.back().ends_with('\r')) arguments.back().pop_back();
  }
  return arguments;
}

// The names in `folder` that begin with `prefix`, sorted.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder,
                                        std::string_view prefix = "") {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = Utf8FromPath(entry.path().filename());
    if (name.starts_with(prefix)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A launch that started nothing, its message saying each of `says`.
inline void ExpectRefusal(const LaunchOutcome& outcome, const std::vector<std::string_view>& says) {
  EXPECT_FALSE(outcome.started);
  for (std::string_view part : says) {
    EXPECT_NE(outcome.message.find(part), std::string::npos) << outcome.message;
  }
}

// A state whose `emulator` tab lists `game` from `folder` and has it chosen, as a
// scan and a click would leave it.
inline MainWindowState WithGame(Emulator emulator, const std::string& folder,
                                const std::string& game) {
  MainWindowState state;
  state.EmulatorFolder[IndexOf(emulator)] = folder;
  state.gameLists[IndexOf(emulator)].Add(game, game);
  state.Text1 = game;
  return state;
}

}  // namespace valmerin::testing
