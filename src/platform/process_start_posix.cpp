#ifndef _WIN32
#include <fcntl.h>
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
#include <memory>
#include <optional>

#include "platform/process.h"
#include "platform/runtime_files.h"

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

// Runs in a forked process that outlives the start: it waits for the program,
// sends its wait status up `statusFd` for the window to see, then removes
// `removeAfter`. It must not act on the parent's signals or keep its files (a
// display connection) open, so both are dropped first.
[[noreturn]] void KeepUntilExit(const Exec& exec, int reportFd, int statusFd,
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
  int keep[] = {reportFd, statusFd, exec.outputFd};
  std::sort(std::begin(keep), std::end(keep));
  CloseAllBut({keep[0], keep[1], keep[2]});
  const pid_t program = fork();
  if (program == 0) ExecOrReport(exec, reportFd);
  if (program < 0) Report(reportFd, EAGAIN);
  close(reportFd);
  if (exec.outputFd >= 0) close(exec.outputFd);
  if (program > 0) {
    int status = 0;
    while (waitpid(program, &status, 0) < 0 && errno == EINTR) {
    }
    Report(statusFd, status);
  }
  close(statusFd);
  if (removeAfter != nullptr) unlink(removeAfter);
  _exit(0);
}

// A file no one else can open, already unlinked, for what the program prints:
// the window reads its last lines, and it disappears with the last descriptor.
int OpenOutputFile() {
  const std::string folder = RuntimeFolder().string();
  int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0 || folder == "/tmp") return fd;
  return open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
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
  const Exec exec{file.c_str(), pointers.data(), folderText.c_str(), OpenOutputFile()};
  const auto closeAll = [&] {
    for (int fd : {reportFds[0], reportFds[1], statusFds[0], statusFds[1], exec.outputFd}) {
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
      KeepUntilExit(exec, reportFds[1], statusFds[1],
                    removeAfter != nullptr ? removeAfter->c_str() : nullptr);
    }
    if (keeper < 0) Report(reportFds[1], EAGAIN);
    _exit(0);
  }
  close(reportFds[1]);
  close(statusFds[1]);
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
    if (exec.outputFd >= 0) close(exec.outputFd);
    return {error, nullptr};
  }
  fcntl(statusFds[0], F_SETFL, O_NONBLOCK);
  return {std::nullopt, std::make_unique<ChildWatch>(statusFds[0], exec.outputFd)};
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
