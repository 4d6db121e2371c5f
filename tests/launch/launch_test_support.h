#pragma once
// The fresh current folder of support/fresh_folder.h, with stand-in emulators that
// write the arguments they were started with, one a line, to "<program>.args".
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "launch/game_copies.h"
#include "support/game_end.h"
#include "support/fresh_folder.h"

namespace valmerin::testing {

class LaunchFolderTest : public FreshFolderTest {
 protected:
  // A folder text for a new sub-folder, ending with a separator like the
  // program's own folder texts.
  std::string MakeFolder(const std::string& name) {
    std::filesystem::create_directories(Root() / name);
    return (Root() / name).string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }

#ifndef _WIN32
  static void MakeStandIn(const std::string& folder, const std::string& program) {
    const std::string path = folder + program;
    WriteBytes(path,
               "#!/bin/sh\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args.part\"\n"
               "mv \"$0.args.part\" \"$0.args\"\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
  }
#endif

  // The arguments a stand-in received, once it has written them.
  static std::optional<std::vector<std::string>> WaitForArguments(
      const std::string& program, std::chrono::milliseconds patience = std::chrono::seconds(5)) {
    const auto path = std::filesystem::path(program + ".args");
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!std::filesystem::exists(path)) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<std::string> lines;
    std::istringstream text(ReadBytes(path.string()));
    for (std::string line; std::getline(text, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
};


}  // namespace valmerin::testing
