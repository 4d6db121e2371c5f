#pragma once
// A started program watched without waiting for it: whether it has ended, how,
// and the last lines it printed. Polled from the window's timer; never blocks.
#include <optional>
#include <string>

namespace valmerin {

class ChildWatch {
 public:
#ifdef _WIN32
  explicit ChildWatch(void* process) : process_(process) {}
#else
  // `statusFd` delivers the wait status once the program has ended; `outputFd`
  // is the (unlinked) file its standard output and error go to.
  ChildWatch(int statusFd, int outputFd) : statusFd_(statusFd), outputFd_(outputFd) {}
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
  int outputFd_ = -1;
#endif
  std::optional<Ended> ended_;
};

// The message for a program that ended with a failure right after the start.
std::string EndedAtOnceMessage(const std::string& commandLine, const ChildWatch::Ended& ended,
                               const std::string& lastLines);

}  // namespace valmerin
