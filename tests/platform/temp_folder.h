#pragma once
// A fresh, empty current folder for each test, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace valmerin::testing {

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("valmerin-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
    std::filesystem::current_path(root_);
  }

  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  static void Put(const std::filesystem::path& path, std::string_view bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static std::string Get(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path root_;
};

}  // namespace valmerin::testing
