#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/process.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

struct Exec {
  const char* file;
  char* const* argv;
  const char* folder;  // the program's own folder, its current directory
  int outputFd;        // its standard output and error
};

void Report(int fd, int error) {
  ssize_t ignored = write(fd, &error, sizeof error);
  (void)ignored;
}

// Runs in the program's process: signals back as the parent had them before Qt
// touched them, then the program; on failure the errno goes up the pipe.
[[noreturn]] void ExecOrReport(const Exec& exec, int reportFd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  if (exec.outputFd >= 0) {
    dup2(exec.outputFd, STDOUT_FILENO);
    dup2(exec.outputFd, STDERR_FILENO);
  }
  if (chdir(exec.folder) != 0) {
    Report(reportFd, errno);
    _exit(127);
  }
  execv(exec.file, exec.argv);
  Report(reportFd, errno);
  _exit(127);
}

// Closes every descriptor from 3 up except `keep` (sorted, ascending).
void CloseAllBut(std::initializer_list<int> keep) {
  unsigned from = 3;
  for (int fd : keep) {
    if (fd < 0) continue;
    if (static_cast<unsigned>(fd) > from) close_range(from, static_cast<unsigned>(fd) - 1, 0);
    from = static_cast<unsigned>(fd) + 1;
  }
  close_range(from, ~0U, 0);
}

// Keeps only the end of what the program prints: the failure message shows its
// last lines, and the program may print for hours.
class OutputTail {
 public:
  void Add(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      ring_[(start_ + size_) % kOutputTailBytes] = bytes[i];
      if (size_ < kOutputTailBytes) {
        ++size_;
      } else {
        start_ = (start_ + 1) % kOutputTailBytes;
      }
    }
  }
  // The status, the tail's length and the tail, in one write small enough to
  // reach the window whole.
  void SendWith(int fd, int status) const {
    char message[sizeof(int) + sizeof(unsigned) + kOutputTailBytes];
    const unsigned length = static_cast<unsigned>(size_);
    std::memcpy(message, &status, sizeof status);
    std::memcpy(message + sizeof status, &length, sizeof length);
    for (size_t i = 0; i < size_; ++i) {
      message[sizeof status + sizeof length + i] = ring_[(start_ + i) % kOutputTailBytes];
    }
    ssize_t ignored = write(fd, message, sizeof status + sizeof length + size_);
    (void)ignored;
  }

 private:
  char ring_[kOutputTailBytes];
  size_t start_ = 0;
  size_t size_ = 0;
};

// Reads what is there now; false once every writer has closed the pipe.
bool ReadInto(int fd, OutputTail* tail) {
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got > 0) {
      if (tail != nullptr) tail->Add(chunk, static_cast<size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return got < 0;  // EAGAIN: open, nothing more for now
  }
}

// Runs in a forked process that outlives the start: it waits for the program
// while reading what it prints, sends its wait status and the end of its output
// up `statusFd` for the window to see, then removes `removeAfter`. What the
// program's own children print after it is read and dropped. It must not act
// on the parent's signals or keep its files (a display connection) open, so both
// are dropped first.
[[noreturn]] void KeepUntilExit(const Exec& exec, int reportFd, int statusFd, int outputRead,
                                const char* removeAfter) {
  for (int signal = 1; signal < NSIG; ++signal) {
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigaction(signal, &standard, nullptr);
  }
  // The window stops listening after a while; the status is then not wanted.
  signal(SIGPIPE, SIG_IGN);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  int keep[] = {reportFd, statusFd, exec.outputFd, outputRead};
  std::sort(std::begin(keep), std::end(keep));
  CloseAllBut({keep[0], keep[1], keep[2], keep[3]});
  const pid_t program = fork();
  if (program == 0) {
    if (outputRead >= 0) close(outputRead);
    ExecOrReport(exec, reportFd);
  }
  if (program < 0) Report(reportFd, EAGAIN);
  close(reportFd);
  if (exec.outputFd >= 0) close(exec.outputFd);
  OutputTail tail;
  bool open = outputRead >= 0;
  if (open) fcntl(outputRead, F_SETFL, O_NONBLOCK);
  if (program > 0) {
    int status = 0;
    for (;;) {
      if (open) {
        struct pollfd wait = {outputRead, POLLIN, 0};
        poll(&wait, 1, 200);
        open = ReadInto(outputRead, &tail);
      }
      const pid_t ended = waitpid(program, &status, open ? WNOHANG : 0);
      if (ended == program) break;
      if (ended < 0 && errno != EINTR) break;
    }
    if (open) open = ReadInto(outputRead, &tail);
    tail.SendWith(statusFd, status);
  }
  close(statusFd);
  if (removeAfter != nullptr) unlink(removeAfter);
  if (open) {
    fcntl(outputRead, F_SETFL, 0);
    while (ReadInto(outputRead, nullptr)) {
    }
  }
  _exit(0);
}

struct Spawned {
  std::optional<int> error;
  std::unique_ptr<ChildWatch> watch;
};

// Double fork: the program's keeper becomes a child of init, so nobody has to
// reap it, and the close-on-exec pipe tells whether exec succeeded without
// waiting for it. The keeper reports the program's end through the watch.
Spawned Spawn(const std::string& file, const std::vector<std::string>& argv, const fs::path& folder,
              const std::string* removeAfter = nullptr) {
  std::vector<char*> pointers;
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  const std::string folderText = folder.string();

  int reportFds[2];
  int statusFds[2];
  if (pipe2(reportFds, O_CLOEXEC) != 0) return {EAGAIN, nullptr};
  if (pipe2(statusFds, O_CLOEXEC) != 0) {
    close(reportFds[0]);
    close(reportFds[1]);
    return {EAGAIN, nullptr};
  }
  // What the program prints goes to its keeper, which keeps only the end of it.
  int outputFds[2] = {-1, -1};
  if (pipe2(outputFds, O_CLOEXEC) != 0) outputFds[0] = outputFds[1] = -1;
  const Exec exec{file.c_str(), pointers.data(), folderText.c_str(), outputFds[1]};
  const auto closeAll = [&] {
    for (int fd : {reportFds[0], reportFds[1], statusFds[0], statusFds[1], outputFds[0],
                   outputFds[1]}) {
      if (fd >= 0) close(fd);
    }
  };
  const pid_t child = fork();
  if (child < 0) {
    closeAll();
    return {EAGAIN, nullptr};
  }
  if (child == 0) {
    close(reportFds[0]);
    close(statusFds[0]);
    setsid();
    const pid_t keeper = fork();
    if (keeper == 0) {
      KeepUntilExit(exec, reportFds[1], statusFds[1], outputFds[0],
                    removeAfter != nullptr ? removeAfter->c_str() : nullptr);
    }
    if (keeper < 0) Report(reportFds[1], EAGAIN);
    _exit(0);
  }
  close(reportFds[1]);
  close(statusFds[1]);
  for (int fd : outputFds) {
    if (fd >= 0) close(fd);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(reportFds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(reportFds[0]);
  if (got == static_cast<ssize_t>(sizeof error)) {
    close(statusFds[0]);
    return {error, nullptr};
  }
  fcntl(statusFds[0], F_SETFL, O_NONBLOCK);
  return {std::nullopt, std::make_unique<ChildWatch>(statusFds[0])};
}

StartFailure FailureOf(int error) {
  return error == ENOENT    ? StartFailure::kNoSuchFile
         : error == EACCES  ? StartFailure::kNotExecutable
         : error == ENOEXEC ? StartFailure::kNotAProgram
                            : StartFailure::kOther;
}

}  // namespace

// Looked up before forking: the child may only make async-signal-safe calls.
std::optional<fs::path> FindProgramOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + std::string(name);
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return fs::path(candidate);
    }
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

StartedProcess StartProcess(const fs::path& file, const std::vector<std::string>& arguments,
                            const fs::path& folder, const std::optional<fs::path>& removeAfter) {
  std::vector<std::string> argv = {file.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const std::string removeText = removeAfter ? removeAfter->string() : std::string();
  Spawned spawned = Spawn(file.string(), argv, folder, removeAfter ? &removeText : nullptr);
  if (spawned.error) return {FailureOf(*spawned.error), nullptr};
  return {std::nullopt, std::move(spawned.watch)};
}

}  // namespace valmerin
#endif
