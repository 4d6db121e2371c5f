#pragma once
// Stand-in emulators for launch tests: a script that writes the arguments it got,
// NUL-separated so that an argument holding a line break stays one.
#ifndef _WIN32
#include <chrono>
#include <optional>
#include <thread>

#include "launch/game_copies.h"
#include "support/game_end.h"
#include "reliability_support.h"

namespace valmerin::testing {

inline void MakeStandIn(const fs::path& program) {
  std::ofstream(program, std::ios::binary)
      << "#!/bin/sh\n"
         "for a in \"$@\"; do printf '%s\\000' \"$a\"; done > \"$0.args.part\"\n"
         "mv \"$0.args.part\" \"$0.args\"\n";
  fs::permissions(program, fs::perms::owner_all, fs::perm_options::add);
}

// The arguments the stand-in at `program` received, once it has written them.
inline std::optional<std::vector<std::string>> ArgumentsOf(
    const fs::path& program, std::chrono::milliseconds patience = std::chrono::seconds(5)) {
  fs::path written = program;
  written += ".args";
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!fs::exists(written)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::ifstream in(written, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  std::vector<std::string> arguments;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
    arguments.push_back(bytes.substr(start, end - start));
  }
  return arguments;
}


}  // namespace valmerin::testing
#endif
