#pragma once
// Whole files, byte for byte, for setting up and checking what a test's files hold.
//   WriteBytes("Cartelle.cfg", "C:\\ZSnes\\\r\n");  // missing folders on the way are made
//   EXPECT_EQ(ReadBytes("Cartelle.cfg"), ...);       // a missing file reads as ""
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace valmerin::testing {

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  if (path.has_parent_path()) {
    std::error_code ignored;  // a folder that cannot be made shows when the write fails
    std::filesystem::create_directories(path.parent_path(), ignored);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace valmerin::testing
