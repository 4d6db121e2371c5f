#pragma once
// Where this user's own sockets may live, out of other accounts' reach, and who
// is at the other end of one.
#include <filesystem>
#include <optional>

namespace valmerin {

// The user's private runtime folder ($XDG_RUNTIME_DIR) when it is a folder of
// ours that no one else may enter; else a folder of ours in the temporary folder,
// made owner-only. Nothing when that name is taken by anything another account
// could control (someone else's folder, a link, open permissions).
std::optional<std::filesystem::path> PrivateRuntimeFolder();

// Whether the process at the other end of a connected local socket runs as the
// same user as this one. False when it cannot be told.
bool PeerIsSameUser(int socketFd);

}  // namespace valmerin
