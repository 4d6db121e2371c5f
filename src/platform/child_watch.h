#pragma once
// A started program watched without waiting for it: whether it has ended, how,
// and the last lines it printed. Polled from the window's timer; never blocks.
#include <cstddef>
#include <optional>
#include <string>

namespace valmerin {

// How much of the end of what a program prints is kept for the failure message;
// with the status it reaches the window in one piece.
inline constexpr std::size_t kOutputTailBytes = 4000;

class ChildWatch {
 public:
#ifdef _WIN32
  explicit ChildWatch(void* process) : process_(process) {}
#else
  // `statusFd` delivers, once the program has ended, its wait status and the end
  // of what it printed.
  explicit ChildWatch(int statusFd) : statusFd_(statusFd) {}
#endif
  ~ChildWatch();
  ChildWatch(const ChildWatch&) = delete;
  ChildWatch& operator=(const ChildWatch&) = delete;

  struct Ended {
    bool failed = false;
    int code = 0;  // exit status, or the signal that ended it
    bool signalled = false;
  };
  // nullopt while it runs.
  std::optional<Ended> Poll();

  // Up to `count` last lines of what it printed, as text for a message.
  std::string LastLines(int count) const;

 private:
#ifdef _WIN32
  void* process_ = nullptr;
#else
  int statusFd_ = -1;
  std::string tail_;
#endif
  std::optional<Ended> ended_;
};

// The message for a program that ended with a failure right after the start.
std::string EndedAtOnceMessage(const std::string& commandLine, const ChildWatch::Ended& ended,
                               const std::string& lastLines);

}  // namespace valmerin
