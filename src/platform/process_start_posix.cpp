#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/dos_launch.h"
#include "platform/executable_kind.h"
#include "platform/host_path.h"
#include "platform/process.h"
#include "platform/start_messages.h"
#include "platform/wine_paths.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// Looked up before forking: the child may only make async-signal-safe calls.
std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + name;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

// Runs in the grandchild: signals back as the parent had them before Qt touched
// them, then the program; on failure the errno goes up the pipe.
[[noreturn]] void ExecOrReport(const char* file, char* const* argv, int reportFd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  execv(file, argv);
  const int error = errno;
  ssize_t ignored = write(reportFd, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// Runs in a forked process that outlives the start: it waits for the program,
// then removes `removeAfter`. It must not act on the parent's signals or keep
// its files (a display connection) open, so both are dropped first.
[[noreturn]] void KeepUntilExit(const char* file, char* const* argv, int reportFd,
                                const char* removeAfter) {
  for (int signal = 1; signal < NSIG; ++signal) {
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigaction(signal, &standard, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  if (reportFd > 3) close_range(3, static_cast<unsigned>(reportFd) - 1, 0);
  close_range(static_cast<unsigned>(reportFd) + 1, ~0U, 0);
  const pid_t program = fork();
  if (program == 0) ExecOrReport(file, argv, reportFd);
  if (program < 0) {
    const int error = EAGAIN;
    ssize_t ignored = write(reportFd, &error, sizeof error);
    (void)ignored;
  }
  close(reportFd);
  if (program > 0) {
    int status = 0;
    while (waitpid(program, &status, 0) < 0 && errno == EINTR) {
    }
  }
  unlink(removeAfter);
  _exit(0);
}

// Double fork: the program becomes a child of init, so nobody has to reap it,
// and the close-on-exec pipe tells whether exec succeeded without waiting for it.
// With `removeAfter`, a keeper process between the two removes that file once
// the program has ended.
std::optional<int> Spawn(const std::string& file, const std::vector<std::string>& argv,
                         const std::string* removeAfter = nullptr) {
  std::vector<char*> pointers;
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return EAGAIN;
  const pid_t child = fork();
  if (child < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return EAGAIN;
  }
  if (child == 0) {
    close(pipeFds[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0 && removeAfter != nullptr) {
      KeepUntilExit(file.c_str(), pointers.data(), pipeFds[1], removeAfter->c_str());
    }
    if (grandchild == 0) ExecOrReport(file.c_str(), pointers.data(), pipeFds[1]);
    if (grandchild < 0) {
      const int error = EAGAIN;
      ssize_t ignored = write(pipeFds[1], &error, sizeof error);
      (void)ignored;
    }
    _exit(0);
  }
  close(pipeFds[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(pipeFds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(pipeFds[0]);
  if (got == static_cast<ssize_t>(sizeof error)) return error;
  return std::nullopt;
}

std::string_view ReasonOf(int error) {
  return error == ENOENT    ? kNoSuchFile
         : error == EACCES  ? kNotExecutable
         : error == ENOEXEC ? kNotAProgram
                            : kStartFailed;
}

StartOutcome StartInDosBox(const std::string& program, const std::vector<std::string>& arguments) {
  const std::optional<std::string> dosbox = FindOnPath("dosbox");
  if (!dosbox) return {false, NeedsDosBox(program)};
  const DosBoxConfigurationFile prepared = PrepareDosBox(program, arguments);
  if (!prepared.file) return {false, prepared.error};
  const fs::path& configuration = *prepared.file;
  const std::string confText = configuration.string();
  if (std::optional<int> error =
          Spawn(*dosbox, {"dosbox", "-conf", confText, "-exit"}, &confText)) {
    std::error_code ec;
    fs::remove(configuration, ec);
    return {false, CannotStart(program, ReasonOf(*error))};
  }
  return {true, {}};
}

}  // namespace

StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  const fs::path host = ToHostPath(program);
  std::error_code ec;
  const fs::file_status status = fs::status(host, ec);
  if (!fs::exists(status)) return {false, CannotStart(program, kNoSuchFile)};
  if (!fs::is_regular_file(status)) return {false, CannotStart(program, kNotAProgram)};

  std::string file;
  std::vector<std::string> argv;
  switch (KindOfExecutable(host)) {
    case ExecutableKind::kDos:
      return StartInDosBox(program, arguments);
    case ExecutableKind::kWindows: {
      std::optional<std::string> wine = FindOnPath("wine");
      if (!wine) return {false, CannotStart(program, kNoWine)};
      file = *wine;
      argv = {"wine", host.string()};
      for (const std::string& argument : arguments) argv.push_back(WineArgument(argument));
      break;
    }
    case ExecutableKind::kOther:
      if (access(host.c_str(), X_OK) != 0) return {false, CannotStart(program, kNotExecutable)};
      file = host.string();
      argv = {file};
      argv.insert(argv.end(), arguments.begin(), arguments.end());
      break;
  }
  if (std::optional<int> error = Spawn(file, argv)) {
    return {false, CannotStart(program, ReasonOf(*error))};
  }
  return {true, {}};
}

}  // namespace valmerin
#endif
