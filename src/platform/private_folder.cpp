#include "platform/private_folder.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#endif

namespace valmerin {
namespace fs = std::filesystem;

#ifdef _WIN32

std::optional<fs::path> PrivateRuntimeFolder() { return std::nullopt; }
bool PeerIsSameUser(int) { return true; }

#else

namespace {

// A real folder (not a link to one) that only we may enter.
bool OursAlone(const std::string& folder) {
  struct stat info {};
  return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

}  // namespace

std::optional<fs::path> PrivateRuntimeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
    if (OursAlone(runtime)) return fs::path(runtime);
  }
  const char* temporary = std::getenv("TMPDIR");
  std::string base = temporary != nullptr && *temporary == '/' ? temporary : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string folder = base + "/valmerin-" + std::to_string(geteuid());
  mkdir(folder.c_str(), 0700);  // already there is fine, if it passes the test below
  if (OursAlone(folder)) return fs::path(folder);
  return std::nullopt;
}

bool PeerIsSameUser(int socketFd) {
#ifdef SO_PEERCRED
  struct ucred peer {};
  socklen_t size = sizeof peer;
  if (getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
  return peer.uid == geteuid();
#else
  uid_t uid = 0;
  gid_t gid = 0;
  return getpeereid(socketFd, &uid, &gid) == 0 && uid == geteuid();
#endif
}

#endif

}  // namespace valmerin
