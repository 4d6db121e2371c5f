// What a started program prints is kept only as far as the failure message needs
// it, however much it prints and for however long.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include "platform/process.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using ChildOutputTest = testing::FreshFolderTest;

TEST_F(ChildOutputTest, OnlyTheEndOfWhatAProgramPrintsIsKept) {
  struct Case {
    const char* what;
    const char* body;  // leaves in "stampato" how much its output holds when it ends
    int code;
    const char* lastLine;
  };
  const Case cases[] = {
      {"Wine's steady fixme lines",
       "yes 'fixme:d3d:wined3d_guess_card Unrecognized renderer' | head -n 150000\n"
       "echo 'err:module:import_dll Library MSVCRT.dll not found'",
       3, "err:module:import_dll Library MSVCRT.dll not found"},
      {"one line of megabytes", "head -c 3000000 /dev/zero | tr '\\0' x\necho\necho fine", 1,
       "fine"},
      {"a child printing on after it",
       "(while :; do echo dopo; sleep 0.05; done) &\n"
       "echo $! > figlio\necho ultima",
       4, nullptr},
      {"nothing at all", ":", 5, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::WriteProgram("stampa.sh", std::string("#!/bin/sh\n") + c.body +
                                           "\nstat -L -c %s /proc/$$/fd/1 > stampato\nexit " +
                                           std::to_string(c.code) + "\n");
    StartedProcess outcome = StartProcess(fs::absolute("stampa.sh"), {}, fs::current_path());
    ASSERT_TRUE(!outcome.failure && outcome.watch);
    const auto ended = testing::WaitForEnd(*outcome.watch);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->code, c.code);
    const std::string lines = outcome.watch->LastLines(3);
    EXPECT_LE(lines.size(), 8192u);
    if (c.lastLine != nullptr) {
      EXPECT_EQ(lines.substr(lines.rfind('\n') + 1), c.lastLine);  // npos + 1 is 0: one line
    }
    // Nowhere does the output pile up: not in a file, not in memory.
    const std::string held = ReadBytes("stampato");
    EXPECT_LE(std::atoll(held.c_str()), 65536) << held;
    if (fs::exists("figlio")) {
      kill(std::stoi(ReadBytes("figlio")), SIGKILL);
      fs::remove("figlio");
    }
  }
}

}  // namespace
}  // namespace valmerin
#endif
