#pragma once
// Files of ours that are there but cannot be read (a mode 000 after a restore):
// the window runs as if they were missing, and they are never written over.
#include <string>
#include <vector>

namespace valmerin {

std::vector<std::string> FindUnreadableFiles();

// The one notice at start naming them; empty when there are none.
std::string UnreadableFilesNotice(const std::vector<std::string>& files);

}  // namespace valmerin
