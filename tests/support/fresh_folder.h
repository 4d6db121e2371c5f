#pragma once
// The fixture of every test that touches files. Derive from it (or name it with
// `using`) and each test runs in a new, empty temporary folder made its current
// folder, where the program reads and writes its data files; the folder and all
// in it are removed afterwards, and the previous current folder is restored.
//
//   using CatalogueTest = testing::FreshFolderTest;
//   TEST_F(CatalogueTest, ...) { WriteBytes("Cartelle.cfg", "..."); ... Root() ... }
//
// A fixture with a SetUp or TearDown of its own calls FreshFolderTest's first or
// last. WriteBytes and ReadBytes are those of support/bytes.h; the window stand-in
// for the start-up and exit sequences is support/recording_hooks.h.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "support/bytes.h"

namespace valmerin::testing {

class FreshFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("valmerin-test-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(root_);
    std::filesystem::current_path(root_);
  }

  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The test's folder, as an absolute path.
  const std::filesystem::path& Root() const { return root_; }

  static void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    testing::WriteBytes(path, bytes);
  }
  static std::string ReadBytes(const std::filesystem::path& path) {
    return testing::ReadBytes(path);
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path root_;
};

}  // namespace valmerin::testing
