#pragma once
// For the tests that start programs or look into a Wine prefix: executable images
// and scripts to start, waiting on what they do, and environment variables set
// for one test only.
//   const testing::ScopedEnv prefix("WINEPREFIX", (Root() / "prefisso").c_str());
//   WriteProgram("corto.sh", "#!/bin/sh\nexit 3\n");
//   const auto ended = testing::WaitForEnd(*outcome.watch);
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/child_watch.h"
#include "support/bytes.h"

namespace valmerin::testing {

// An "MZ" header whose e_lfanew points at `signature`, padded to `size` bytes.
inline std::string MzImage(std::string_view signature, unsigned newHeader = 0x40,
                           std::size_t size = 0x80) {
  std::string bytes(std::max<std::size_t>(size, 0x40), '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<char>((newHeader >> (8 * i)) & 0xFF);
  if (newHeader + signature.size() <= bytes.size()) {
    bytes.replace(newHeader, signature.size(), signature);
  }
  return bytes;
}

// Writes `bytes` and lets its owner run it.
inline void WriteProgram(const std::filesystem::path& path, std::string_view bytes) {
  WriteBytes(path, bytes);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
}

// Asks `done` every 25 ms, up to `tries` times; says whether it came true.
template <typename Done>
bool WaitUntil(Done done, int tries = 200) {
  for (int i = 0; i < tries; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return done();
}

inline std::optional<ChildWatch::Ended> WaitForEnd(ChildWatch& watch, int tries = 400) {
  std::optional<ChildWatch::Ended> ended;
  WaitUntil([&] { return (ended = watch.Poll()).has_value(); }, tries);
  return ended;
}

#ifdef _WIN32
// A program of a test folder's stand_ins, built next to the test program.
inline std::filesystem::path StandIn(const std::string& name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / ("valmerin_stand_in_" + name + ".exe");
}
#else
// Sets an environment variable, or with nullptr unsets it, until the end of the
// scope; with the name alone it is only restored then.
class ScopedEnv {
 public:
  explicit ScopedEnv(const char* name) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
  }
  ScopedEnv(const char* name, const char* value) : ScopedEnv(name) { Set(value); }
  ~ScopedEnv() { Set(saved_ ? saved_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

  void Set(const char* value) const {
    if (value != nullptr) {
      setenv(name_.c_str(), value, 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  // Its value when the scope began.
  std::string Saved() const { return saved_.value_or(""); }

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// A Wine prefix at `prefix` whose C: is its drive_c, as Wine makes it.
inline void MakeWinePrefix(const std::filesystem::path& prefix) {
  std::filesystem::create_directories(prefix / "dosdevices");
  std::filesystem::create_directories(prefix / "drive_c");
  std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
}
#endif

}  // namespace valmerin::testing
