#pragma once
// Each test that touches files runs in a fresh temporary current folder.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/temp_folder.h"

namespace valmerin::testing {

// The shared fixture, with its helpers named after what they do to bytes.
class InTempFolder : public TempFolderTest {
 protected:
  static void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    Put(path, bytes);
  }
  static std::string ReadBytes(const std::filesystem::path& path) { return Get(path); }
};

}  // namespace valmerin::testing
