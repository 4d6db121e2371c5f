#include "platform/child_watch.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"
#include "platform/utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace valmerin {
namespace {

// The last `count` non-empty lines of `tail`, as readable text: a program may
// print in UTF-8 or in the Windows code page, and with CR LF.
std::string LastLinesOf(std::string_view tail, int count) {
  std::vector<std::string_view> lines;
  while (!tail.empty()) {
    const size_t end = tail.find_first_of("\r\n");
    const std::string_view line = tail.substr(0, end);
    if (!line.empty()) lines.push_back(line);
    if (end == std::string_view::npos) break;
    tail.remove_prefix(end + 1);
  }
  const size_t first = lines.size() > static_cast<size_t>(count) ? lines.size() - count : 0;
  std::string text;
  for (size_t i = first; i < lines.size(); ++i) {
    if (!text.empty()) text += '\n';
    text += lines[i];
  }
  std::replace_if(
      text.begin(), text.end(),
      [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t'; }, ' ');
  return IsValidUtf8(text) ? text : DecodeCp1252(text);
}

}  // namespace

#ifdef _WIN32

ChildWatch::~ChildWatch() {
  if (process_ != nullptr) CloseHandle(static_cast<HANDLE>(process_));
}

std::optional<ChildWatch::Ended> ChildWatch::Poll() {
  if (ended_ || process_ == nullptr) return ended_;
  if (WaitForSingleObject(static_cast<HANDLE>(process_), 0) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(static_cast<HANDLE>(process_), &code);
  ended_ = Ended{code != 0, static_cast<int>(code), false};
  return ended_;
}

// Windows programs print to a console of their own, if at all.
std::string ChildWatch::LastLines(int) const { return {}; }

#else

ChildWatch::~ChildWatch() {
  if (statusFd_ >= 0) close(statusFd_);
}

std::optional<ChildWatch::Ended> ChildWatch::Poll() {
  if (ended_ || statusFd_ < 0) return ended_;
  int status = 0;
  ssize_t got = 0;
  do {
    got = read(statusFd_, &status, sizeof status);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return std::nullopt;  // EAGAIN: still running
  if (got == static_cast<ssize_t>(sizeof status)) {
    // The rest came in the same write: the length and the end of the output.
    char rest[sizeof(unsigned) + kOutputTailBytes];
    ssize_t more = 0;
    do {
      more = read(statusFd_, rest, sizeof rest);
    } while (more < 0 && errno == EINTR);
    unsigned length = 0;
    if (more >= static_cast<ssize_t>(sizeof length)) {
      std::memcpy(&length, rest, sizeof length);
      const size_t have = static_cast<size_t>(more) - sizeof length;
      tail_.assign(rest + sizeof length, std::min<size_t>(length, have));
    }
  }
  if (got != static_cast<ssize_t>(sizeof status)) {
    ended_ = Ended{};  // the watcher went away without a word: nothing known
  } else if (WIFSIGNALED(status)) {
    ended_ = Ended{true, WTERMSIG(status), true};
  } else {
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    ended_ = Ended{code != 0, code, false};
  }
  return ended_;
}

std::string ChildWatch::LastLines(int count) const { return LastLinesOf(tail_, count); }

#endif

std::string EndedAtOnceMessage(const std::string& commandLine, const ChildWatch::Ended& ended,
                               const std::string& lastLines) {
  std::string text = "L'emulatore si è chiuso subito dopo l'avvio ";
  text += ended.signalled ? "(interrotto dal segnale " + std::to_string(ended.code) + ")"
                          : "(codice di uscita " + std::to_string(ended.code) + ")";
  text += ":\n" + commandLine;
  if (!lastLines.empty()) text += "\n\nUltime righe scritte:\n" + lastLines;
  return text;
}

}  // namespace valmerin
