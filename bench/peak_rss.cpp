#include "bench/peak_rss.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace valmerin::bench {
namespace {

long ResidentKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(4096, '\n');
  }
  return -1;
}

}  // namespace

std::optional<long> PeakRssOfSettledRun(const std::filesystem::path& folder,
                                        const std::vector<std::string>& command,
                                        double settleSeconds, double giveUpSeconds) {
  if (command.empty()) return std::nullopt;
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }

  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  auto lastChange = start;
  long lastRss = -1;
  bool settled = false;
  int status = 0;
  rusage usage{};
  while (Clock::now() - start < std::chrono::duration<double>(giveUpSeconds)) {
    if (wait4(pid, &status, WNOHANG, &usage) == pid) return std::nullopt;  // died early
    const long rss = ResidentKib(pid);
    const auto now = Clock::now();
    if (rss != lastRss) {
      lastRss = rss;
      lastChange = now;
    } else if (now - lastChange >= std::chrono::duration<double>(settleSeconds)) {
      settled = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  kill(pid, SIGTERM);
  // The program saves its settings on the way out; a hang there is cut short.
  for (int i = 0; i < 400; ++i) {
    if (wait4(pid, &status, WNOHANG, &usage) == pid) break;
    if (i == 399) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  if (!settled) return std::nullopt;
  return usage.ru_maxrss;
}

}  // namespace valmerin::bench
