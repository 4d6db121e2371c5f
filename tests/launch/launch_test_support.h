#pragma once
// The fresh current folder of support/fresh_folder.h, with the stand-in emulators
// of support/stand_in.h named by folder text and program, writing one argument a line.
#include <gtest/gtest.h>

#include <string>

#include "launch/game_copies.h"
#include "support/fresh_folder.h"
#include "support/game_end.h"
#include "support/stand_in.h"

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
    testing::MakeStandIn(folder + program, "\\n");
  }
#endif

  static std::optional<std::vector<std::string>> WaitForArguments(
      const std::string& program, std::chrono::milliseconds patience = std::chrono::seconds(5)) {
    return ArgumentsOf(program, patience, '\n');
  }
};

}  // namespace valmerin::testing
